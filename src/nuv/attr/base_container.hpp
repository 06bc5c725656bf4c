// `nuv::attr::BaseContainer`: the type-erased handle of a shared container, as container
// dictionaries hand containers out.
//
// A handle is empty (type code 0) or made from a shared typed container, recording the code of
// its value type (also for a null pointer), so that a typed handle can be made from it again
// (`Container<T>(base)`, see container.hpp). The nine root operations go to the object, type()
// included. Without an object: type() 0, every supports question false (supportsElemAdd(0) and
// supportsItemAdd(0) included), counts 0, reset() does nothing.
#ifndef NUV_ATTR_BASE_CONTAINER_HPP_
#define NUV_ATTR_BASE_CONTAINER_HPP_

#include <memory>
#include <type_traits>
#include <utility>

#include "nuv/attr/abstract_container.hpp"
#include "nuv/attr/type_code.hpp"
#include "nuv/types.hpp"

namespace nuv::attr {

template <class T>
class Container;

class BaseContainer final : public AbstractBaseContainer {
 public:
  BaseContainer() noexcept = default;
  // Any shared container of value type U::ValueType, null included.
  template <class U>
  requires std::is_convertible_v < U*, AbstractContainer<typename U::ValueType>
  * > BaseContainer(std::shared_ptr<U> container) noexcept  // NOLINT(google-explicit-constructor)
      : container_(std::move(container)),
  typeCode_(typeCodeOf<typename U::ValueType>) {}
  // Shares the object of a typed handle (an empty one gives no object but the code of T).
  template <class T>
  explicit BaseContainer(const Container<T>& container) noexcept
      : BaseContainer(container.shared()) {}

  // The code recorded when the handle was made.
  [[nodiscard]] TypeCode typeCode() const noexcept { return typeCode_; }
  [[nodiscard]] const std::shared_ptr<AbstractBaseContainer>& shared() const noexcept {
    return container_;
  }
  [[nodiscard]] bool empty() const noexcept { return container_ == nullptr; }

  [[nodiscard]] TypeCode type() const override {
    return container_ ? container_->type() : TypeCode::kNone;
  }
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
    return container_ && container_->supportsElemAdd(count);
  }
  [[nodiscard]] bool supportsItemAdd(Index count) const override {
    return container_ && container_->supportsItemAdd(count);
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

 private:
  std::shared_ptr<AbstractBaseContainer> container_;
  TypeCode typeCode_ = TypeCode::kNone;
};

}  // namespace nuv::attr

#endif  // NUV_ATTR_BASE_CONTAINER_HPP_
