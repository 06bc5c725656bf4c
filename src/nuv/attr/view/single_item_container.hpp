// `nuv::attr::view::SingleItemContainer<IT>`: one item shown as a container of exactly one item.
//
//   auto objective = singleItem(objectiveItem);   // itemCount() 1, get(i, e) is the item's get(e)
//
// The item number is ignored: every read and write reaches the one item, elements pass through.
// itemCount() is 1 even while the item holds no value; adding items is refused (supportsItemAdd(n)
// is true for n == 0 only, itemAdd raises "Attribute Error (4)"). The list and all-items forms
// are the container defaults over the single-item get and set, so a span of all items must have
// exactly one entry. Everything else goes to the item unchanged, exceptions included. The view
// shares the item and stores nothing itself.
#ifndef NUV_ATTR_VIEW_SINGLE_ITEM_CONTAINER_HPP_
#define NUV_ATTR_VIEW_SINGLE_ITEM_CONTAINER_HPP_

#include <memory>
#include <optional>
#include <utility>

#include "nuv/attr/abstract_container.hpp"
#include "nuv/attr/item.hpp"
#include "nuv/types.hpp"
#include "nuv/view.hpp"

namespace nuv::attr::view {

template <class IT>
class SingleItemContainer final : public AbstractContainer<typename IT::ValueType> {
 public:
  using T = typename IT::ValueType;
  using AbstractContainer<T>::get;
  using AbstractContainer<T>::set;

  explicit SingleItemContainer(IT item) : item_(std::move(item)) {}

  [[nodiscard]] bool supportsDefault() const override { return item_.supportsDefault(); }
  [[nodiscard]] bool supportsSet() const override { return item_.supportsSet(); }
  [[nodiscard]] bool supportsReset() const override { return item_.supportsReset(); }
  [[nodiscard]] bool supportsElemAdd(Index count) const override {
    return item_.supportsElemAdd(count);
  }
  [[nodiscard]] Index itemCount() const override { return 1; }
  [[nodiscard]] Index elemCount() const override { return item_.elemCount(); }
  void reset() override { item_.reset(); }

  [[nodiscard]] std::optional<T> supportsValue(const T& value) const override {
    return item_.supportsValue(value);
  }
  [[nodiscard]] T getDefault() const override { return item_.getDefault(); }
  [[nodiscard]] T get(Index /*item*/, Index elem) const override { return item_.get(elem); }
  [[nodiscard]] View<const T> view(Index /*item*/, Index elem) const override {
    return item_.view(elem);
  }
  void set(Index /*item*/, const T& value, Index elem) override { item_.set(value, elem); }

 private:
  IT item_;
};

// The item shown as a one-item container.
template <class P>
[[nodiscard]] std::shared_ptr<SingleItemContainer<Item<typename P::ValueType>>> singleItem(
    std::shared_ptr<P> item) {
  using T = typename P::ValueType;
  return std::make_shared<SingleItemContainer<Item<T>>>(Item<T>(std::move(item)));
}

}  // namespace nuv::attr::view

#endif  // NUV_ATTR_VIEW_SINGLE_ITEM_CONTAINER_HPP_
