// `nuv::idx::lib::AscList`: an ascending list grown by appending blocks.
//
// While it is one run without gaps it is held as its first entry and count (a block); the first
// block that leaves a gap, or repeats the maximum, turns it into an explicit vector (ascending,
// type kAscending) for good. A block may not start below the current maximum. An empty list
// answers 0 for `first`, `last` and every entry, like the empty block.
#ifndef NUV_IDX_LIB_ASC_LIST_HPP_
#define NUV_IDX_LIB_ASC_LIST_HPP_

#include "nuv/idx/abstract_list.hpp"
#include "nuv/idx/lib/list.hpp"
#include "nuv/idx/lib/range.hpp"

namespace nuv::idx::lib {

class AscList final : public AbstractList {
 public:
  AscList() = default;

  // Appends a block. Raises "Check Error" (8) when it starts below max(), and (6) when the count
  // would pass the largest Index; the list is then unchanged.
  void add(const Range& indices);
  // Writes out every entry of a single run of two or more entries.
  void makeFullList();

  [[nodiscard]] ListType type() const override {
    return isRun() ? ListType::kBlock : ListType::kAscending;
  }
  [[nodiscard]] Index size() const override { return count_; }
  [[nodiscard]] Index first() const override { return vector().empty() ? 0 : vector().front(); }
  [[nodiscard]] Index last() const override;
  [[nodiscard]] Index operator[](Index position) const override;

 private:
  [[nodiscard]] bool isRun() const noexcept { return list_.entries().size() < 2; }
  [[nodiscard]] const std::vector<Index>& vector() const noexcept { return list_.entries(); }

  Index count_ = 0;
  List list_;
};

}  // namespace nuv::idx::lib

#endif  // NUV_IDX_LIB_ASC_LIST_HPP_
