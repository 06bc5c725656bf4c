// `nuv::attr::Item<T>`: the typed value handle of a shared item. It is itself an item, so other
// items can wrap it.
//
// Every operation except type() goes to the held object unchanged, exceptions included. An empty
// handle answers by itself:
//   type() the code of T; supportsDefault/Set/Reset false; supportsElemAdd(n) true for n == 0
//   only; elemCount() 0; reset() and set() do nothing; supportsValue() nothing; get() T{};
//   view() an empty view; getDefault() raises "Attribute Error (0): Attribute default not
//   supported", the one request an empty handle refuses.
// Made from a BaseItem, the handle shares the base handle's object when the recorded type code is
// that of T, and is empty otherwise: a mismatch raises nothing.
#ifndef NUV_ATTR_ITEM_HPP_
#define NUV_ATTR_ITEM_HPP_

#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

#include "nuv/attr/abstract_item.hpp"
#include "nuv/attr/base_item.hpp"
#include "nuv/attr/exception.hpp"
#include "nuv/attr/type_code.hpp"
#include "nuv/types.hpp"
#include "nuv/view.hpp"

namespace nuv::attr {

template <class T>
class Item final : public AbstractItem<T> {
 public:
  Item() noexcept = default;
  // A null pointer gives the empty handle.
  template <class U>
  requires std::is_convertible_v < U*, AbstractItem<T>
  * > Item(std::shared_ptr<U> item) noexcept  // NOLINT(google-explicit-constructor)
      : item_(std::move(item)) {}
  // Typed access: shares base's object when base carries the code of T, else empty.
  explicit Item(const BaseItem& base) noexcept
      : item_(base.typeCode() == typeCodeOf<T>
                  ? std::static_pointer_cast<AbstractItem<T>>(base.shared())
                  : nullptr) {}

  [[nodiscard]] const std::shared_ptr<AbstractItem<T>>& shared() const noexcept { return item_; }
  [[nodiscard]] bool empty() const noexcept { return item_ == nullptr; }

  [[nodiscard]] TypeCode type() const override { return typeCodeOf<T>; }
  [[nodiscard]] bool supportsDefault() const override { return item_ && item_->supportsDefault(); }
  [[nodiscard]] bool supportsSet() const override { return item_ && item_->supportsSet(); }
  [[nodiscard]] bool supportsReset() const override { return item_ && item_->supportsReset(); }
  [[nodiscard]] bool supportsElemAdd(Index count) const override {
    return item_ ? item_->supportsElemAdd(count) : count == 0;
  }
  [[nodiscard]] Index elemCount() const override { return item_ ? item_->elemCount() : 0; }
  void reset() override {
    if (item_) item_->reset();
  }
  [[nodiscard]] std::optional<T> supportsValue(const T& value) const override {
    if (!item_) return std::nullopt;
    return item_->supportsValue(value);
  }
  [[nodiscard]] T getDefault() const override {
    if (!item_) throw Exception::unsupportedDefault({});
    return item_->getDefault();
  }
  [[nodiscard]] T get(Index elem) const override { return item_ ? item_->get(elem) : T{}; }
  [[nodiscard]] View<const T> view(Index elem) const override {
    return item_ ? item_->view(elem) : View<const T>();
  }
  void set(const T& value, Index elem) override {
    if (item_) item_->set(value, elem);
  }

 private:
  std::shared_ptr<AbstractItem<T>> item_;
};

}  // namespace nuv::attr

#endif  // NUV_ATTR_ITEM_HPP_
