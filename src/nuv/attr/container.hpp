// `nuv::attr::Container<T>`: the typed value handle of a shared container. It is itself a
// container, so views can wrap it.
//
// Every operation except type() goes to the held object unchanged, exceptions included; type()
// answers the code of T. An empty handle answers by itself:
//   supportsDefault/Set/Reset false; supportsElemAdd(n), supportsItemAdd(n) true for n == 0
//   only; counts 0; supportsValue() nothing; get(item, elem) T{} (0, 0.0, "", an empty vector or
//   matrix, the number 0 as a symbol); view() and viewAll() empty views; the list reads and
//   getAll() return at once without a size check, leaving the span as it was; every write,
//   reset() and itemAdd() are dropped, the copy from another container included;
//   getDefault() raises "Attribute Error (0): Attribute default not supported", the one
//   request an empty handle refuses.
// Made from a BaseContainer, the handle shares the base handle's object when the recorded type
// code is that of T, and is empty otherwise: a mismatch raises nothing.
#ifndef NUV_ATTR_CONTAINER_HPP_
#define NUV_ATTR_CONTAINER_HPP_

#include <memory>
#include <optional>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

#include "nuv/attr/abstract_container.hpp"
#include "nuv/attr/base_container.hpp"
#include "nuv/attr/exception.hpp"
#include "nuv/attr/type_code.hpp"
#include "nuv/idx/list.hpp"
#include "nuv/types.hpp"
#include "nuv/view.hpp"

namespace nuv::attr {

template <class T>
class Container final : public AbstractContainer<T> {
 public:
  Container() noexcept = default;
  // A null pointer gives the empty handle.
  template <class U>
  requires std::is_convertible_v < U*, AbstractContainer<T>
  * > Container(std::shared_ptr<U> container) noexcept  // NOLINT(google-explicit-constructor)
      : container_(std::move(container)) {}
  // Typed access: shares base's object when base carries the code of T, else empty.
  explicit Container(const BaseContainer& base) noexcept
      : container_(base.typeCode() == typeCodeOf<T>
                       ? std::static_pointer_cast<AbstractContainer<T>>(base.shared())
                       : nullptr) {}

  [[nodiscard]] const std::shared_ptr<AbstractContainer<T>>& shared() const noexcept {
    return container_;
  }
  [[nodiscard]] bool empty() const noexcept { return container_ == nullptr; }

  [[nodiscard]] TypeCode type() const override { return typeCodeOf<T>; }
  [[nodiscard]] bool supportsDefault() const override {
    return container_ && container_->supportsDefault();
  }
  [[nodiscard]] bool supportsSet() const override {
    return container_ && container_->supportsSet();
  }
  [[nodiscard]] bool supportsReset() const override {
    return container_ && container_->supportsReset();
  }
  [[nodiscard]] bool supportsElemAdd(Index count) const override {
    return container_ ? container_->supportsElemAdd(count) : count == 0;
  }
  [[nodiscard]] bool supportsItemAdd(Index count) const override {
    return container_ ? container_->supportsItemAdd(count) : count == 0;
  }
  [[nodiscard]] Index itemCount() const override {
    return container_ ? container_->itemCount() : 0;
  }
  [[nodiscard]] Index elemCount() const override {
    return container_ ? container_->elemCount() : 0;
  }
  void reset() override {
    if (container_) container_->reset();
  }

  [[nodiscard]] std::optional<T> supportsValue(const T& value) const override {
    if (!container_) return std::nullopt;
    return container_->supportsValue(value);
  }
  [[nodiscard]] T getDefault() const override {
    if (!container_) throw Exception::unsupportedDefault({});
    return container_->getDefault();
  }
  [[nodiscard]] T get(Index item, Index elem) const override {
    return container_ ? container_->get(item, elem) : T{};
  }
  [[nodiscard]] View<const T> view(Index item, Index elem) const override {
    return container_ ? container_->view(item, elem) : View<const T>();
  }
  void get(const idx::List& list, std::span<T> values, Index elem) const override {
    if (container_) container_->get(list, values, elem);
  }
  void getAll(std::span<T> values, Index elem) const override {
    if (container_) container_->getAll(values, elem);
  }
  [[nodiscard]] View<const std::vector<T>> viewAll(Index elem) const override {
    return container_ ? container_->viewAll(elem) : View<const std::vector<T>>();
  }
  void set(Index item, const T& value, Index elem) override {
    if (container_) container_->set(item, value, elem);
  }
  void set(const idx::List& list, std::span<const T> values, Index elem) override {
    if (container_) container_->set(list, values, elem);
  }
  void set(const idx::List& list, const T& value, Index elem) override {
    if (container_) container_->set(list, value, elem);
  }
  void setAll(std::span<const T> values, Index elem) override {
    if (container_) container_->setAll(values, elem);
  }
  void setAll(const T& value, Index elem) override {
    if (container_) container_->setAll(value, elem);
  }
  void itemAdd(Index count, const T& value) override {
    if (container_) container_->itemAdd(count, value);
  }
  // The copy from another container, run by the held object; an empty handle copies nothing and
  // checks nothing. (Called through the AbstractContainer<T> interface, the interface's copy runs
  // instead and checks the item count before this handle drops the writes.)
  void set(const idx::List& list, const AbstractContainer<T>& container) {
    if (container_) container_->set(list, container);
  }

 private:
  std::shared_ptr<AbstractContainer<T>> container_;
};

}  // namespace nuv::attr

#endif  // NUV_ATTR_CONTAINER_HPP_
