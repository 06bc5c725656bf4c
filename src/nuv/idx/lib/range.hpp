// `nuv::idx::lib::Range`: the contiguous block first, first + 1, ..., first + size - 1.
#ifndef NUV_IDX_LIB_RANGE_HPP_
#define NUV_IDX_LIB_RANGE_HPP_

#include <span>

#include "nuv/idx/abstract_list.hpp"

namespace nuv::idx::lib {

class Range final : public AbstractList {
 public:
  // The empty block at 0.
  Range() noexcept : first_(0), size_(0) {}
  // Raises "Check Error" (8) for a negative size, and (6) for a block whose last index would pass
  // the largest Index.
  Range(Index first, Index size);

  [[nodiscard]] ListType type() const override { return ListType::kBlock; }
  [[nodiscard]] Index size() const override { return size_; }
  [[nodiscard]] Index first() const override { return first_; }
  [[nodiscard]] Index last() const override { return first_ + (size_ - 1); }
  [[nodiscard]] Index operator[](Index position) const override { return first_ + position; }
  void asMap(std::span<Index> positions) const override;

 private:
  Index first_;
  Index size_;
};

}  // namespace nuv::idx::lib

#endif  // NUV_IDX_LIB_RANGE_HPP_
