// Range-only containers for tests: every block call is recorded (first, size, element, span
// length and where the span points), and the values come from a stored row, item i holding
// 10 * i + 1 until written.
#ifndef TESTS_NUV_ATTR_LIB_RECORDING_RANGE_CONTAINER_HPP_
#define TESTS_NUV_ATTR_LIB_RECORDING_RANGE_CONTAINER_HPP_

#include <algorithm>
#include <cstddef>
#include <span>
#include <vector>

#include "nuv/attr/lib/abstract_range_only_container.hpp"
#include "nuv/idx/lib/range.hpp"
#include "nuv/types.hpp"

namespace nuv::attr::testing {

struct BlockCall {
  Index first;
  Index size;
  Index elem;
  std::size_t spanSize;
  const double* data;

  bool operator==(const BlockCall&) const = default;
};

// Supplies only the block read, so it is read-only through every write form. With `silent` set,
// the block read writes nothing (as when the data behind a result container is gone).
class RecordingRangeContainer : public lib::AbstractRangeOnlyContainer<double> {
 public:
  using lib::AbstractRangeOnlyContainer<double>::get;
  using lib::AbstractRangeOnlyContainer<double>::set;

  explicit RecordingRangeContainer(Index itemCount) : itemCount_(itemCount) {
    for (Index i = 0; i < std::max<Index>(itemCount, 0); ++i) stored_.push_back(10.0 * i + 1.0);
  }

  [[nodiscard]] Index itemCount() const override { return itemCount_; }
  [[nodiscard]] Index elemCount() const override { return 1; }
  void get(const idx::lib::Range& range, std::span<double> values, Index elem) const override {
    reads.push_back({range.first(), range.size(), elem, values.size(), values.data()});
    if (silent) return;
    for (Index k = 0; k < range.size(); ++k) {
      values[static_cast<std::size_t>(k)] = stored_.at(static_cast<std::size_t>(range[k]));
    }
  }

  [[nodiscard]] const std::vector<double>& stored() const { return stored_; }

  bool silent = false;
  mutable std::vector<BlockCall> reads;

 protected:
  Index itemCount_;
  std::vector<double> stored_;
};

// Adds the block write, which records the call and stores the values.
class WritableRangeContainer final : public RecordingRangeContainer {
 public:
  using RecordingRangeContainer::get;
  using RecordingRangeContainer::set;

  explicit WritableRangeContainer(Index itemCount) : RecordingRangeContainer(itemCount) {}

  [[nodiscard]] bool supportsSet() const override { return true; }
  void set(const idx::lib::Range& range, std::span<const double> values, Index elem) override {
    writes.push_back({range.first(), range.size(), elem, values.size(), values.data()});
    for (Index k = 0; k < range.size(); ++k) {
      stored_.at(static_cast<std::size_t>(range[k])) = values[static_cast<std::size_t>(k)];
    }
  }

  std::vector<BlockCall> writes;
};

}  // namespace nuv::attr::testing

#endif  // TESTS_NUV_ATTR_LIB_RECORDING_RANGE_CONTAINER_HPP_
