// `nuv::idx::view::ListOfList`: the composed list whose entry i is first[second[i]].
//
// The second list picks positions, the first maps positions to indices; nothing is copied.
#ifndef NUV_IDX_VIEW_LIST_OF_LIST_HPP_
#define NUV_IDX_VIEW_LIST_OF_LIST_HPP_

#include <memory>
#include <span>
#include <utility>

#include "nuv/idx/abstract_list.hpp"
#include "nuv/idx/list.hpp"

namespace nuv::idx::view {

template <class First, class Second>
class ListOfList final : public AbstractList {
 public:
  ListOfList(First first, Second second) : first_(std::move(first)), second_(std::move(second)) {}

  [[nodiscard]] ListType type() const override {
    const ListType a = first_.type();
    const ListType b = second_.type();
    if (a == ListType::kBlock) {
      if (b == ListType::kBlock) return ListType::kBlock;
      if (b == ListType::kAscending) return ListType::kAscending;
      return ListType::kExplicit;
    }
    if (a == ListType::kAscending && (b == ListType::kBlock || b == ListType::kAscending)) {
      return ListType::kAscending;
    }
    return ListType::kExplicit;
  }
  [[nodiscard]] Index size() const override { return second_.size(); }
  [[nodiscard]] Index operator[](Index position) const override {
    return first_[second_[position]];
  }
  [[nodiscard]] bool contains(Index value) const override {
    if (size() < 1) return false;
    return AbstractList::contains(value);
  }
  void toVector(std::span<Index> out) const override {
    second_.toVector(out);
    first_.asMap(out.first(static_cast<std::size_t>(size())));
  }
  void asMap(std::span<Index> positions) const override {
    second_.asMap(positions);
    first_.asMap(positions);
  }

 private:
  First first_;
  Second second_;
};

// The composed list first[second[i]] as one shared object.
template <class First = List, class Second = List>
std::shared_ptr<ListOfList<First, Second>> listOf(First first, Second second) {
  return std::make_shared<ListOfList<First, Second>>(std::move(first), std::move(second));
}

}  // namespace nuv::idx::view

#endif  // NUV_IDX_VIEW_LIST_OF_LIST_HPP_
