// `nuv::attr::view::ListOfContainer<CT>`: a container narrowed to a list of its items; item i of
// the view is item list[i] of the wrapped container.
//
//   auto rows = listOf(allRows, linearRowNumbers);   // itemCount() == linearRowNumbers.size()
//
// A request list L becomes the composed list list[L[k]] (nuv::idx::view::listOf, nothing copied),
// so two blocks stay one block for a wrapped container that serves blocks specially; the
// all-items forms pass the view's own list. Item numbers are not checked against the list. The
// view cannot be reset ("Attribute Error (2)") and adds no items ("Attribute Error (4)");
// everything else goes to the wrapped container unchanged, exceptions and span-size checks
// included. The view shares the wrapped container and the list and stores nothing itself.
#ifndef NUV_ATTR_VIEW_LIST_OF_CONTAINER_HPP_
#define NUV_ATTR_VIEW_LIST_OF_CONTAINER_HPP_

#include <memory>
#include <optional>
#include <span>
#include <utility>

#include "nuv/attr/abstract_container.hpp"
#include "nuv/attr/container.hpp"
#include "nuv/idx/list.hpp"
#include "nuv/idx/view/list_of_list.hpp"
#include "nuv/types.hpp"
#include "nuv/view.hpp"

namespace nuv::attr::view {

template <class CT>
class ListOfContainer final : public AbstractContainer<typename CT::ValueType> {
 public:
  using T = typename CT::ValueType;
  using AbstractContainer<T>::set;
  using AbstractContainer<T>::setAll;

  ListOfContainer(CT container, idx::List list)
      : container_(std::move(container)), list_(std::move(list)) {}

  [[nodiscard]] bool supportsDefault() const override { return container_.supportsDefault(); }
  [[nodiscard]] bool supportsSet() const override { return container_.supportsSet(); }
  [[nodiscard]] bool supportsElemAdd(Index count) const override {
    return container_.supportsElemAdd(count);
  }
  [[nodiscard]] Index itemCount() const override { return list_.size(); }
  [[nodiscard]] Index elemCount() const override { return container_.elemCount(); }

  [[nodiscard]] std::optional<T> supportsValue(const T& value) const override {
    return container_.supportsValue(value);
  }
  [[nodiscard]] T getDefault() const override { return container_.getDefault(); }
  [[nodiscard]] T get(Index item, Index elem) const override {
    const Index wrapped = list_[item];
    return container_.get(wrapped, elem);
  }
  [[nodiscard]] View<const T> view(Index item, Index elem) const override {
    const Index wrapped = list_[item];
    return container_.view(wrapped, elem);
  }
  void get(const idx::List& list, std::span<T> values, Index elem) const override {
    container_.get(composed(list), values, elem);
  }
  void getAll(std::span<T> values, Index elem) const override {
    container_.get(list_, values, elem);
  }
  void set(Index item, const T& value, Index elem) override {
    container_.set(list_[item], value, elem);
  }
  void set(const idx::List& list, std::span<const T> values, Index elem) override {
    container_.set(composed(list), values, elem);
  }
  void setAll(std::span<const T> values, Index elem) override {
    container_.set(list_, values, elem);
  }

 private:
  // Entry k is list_[list[k]].
  [[nodiscard]] idx::List composed(const idx::List& list) const {
    return idx::List(::nuv::idx::view::listOf(list_, list));
  }

  CT container_;
  idx::List list_;
};

// The container narrowed to the listed items.
template <class P>
[[nodiscard]] std::shared_ptr<ListOfContainer<Container<typename P::ValueType>>> listOf(
    std::shared_ptr<P> container, idx::List list) {
  using T = typename P::ValueType;
  return std::make_shared<ListOfContainer<Container<T>>>(Container<T>(std::move(container)),
                                                         std::move(list));
}

}  // namespace nuv::attr::view

#endif  // NUV_ATTR_VIEW_LIST_OF_CONTAINER_HPP_
