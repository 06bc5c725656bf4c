// `nuv::attr::BaseItem`: the type-erased handle of a shared item, as item dictionaries hand
// items out.
//
// A handle is empty (type code 0) or made from a shared typed item, recording the code of the
// pointer's value type, also for a null pointer. The recorded code serves typed access
// (`Item<T>(base)`, see item.hpp); the operations ask the object, so a handle over a null pointer
// answers type() 0 while it carries a non-zero code. Without an object every operation answers
// neutrally: type() 0, false (supportsElemAdd(0) included), elemCount() 0, reset() does nothing.
#ifndef NUV_ATTR_BASE_ITEM_HPP_
#define NUV_ATTR_BASE_ITEM_HPP_

#include <memory>
#include <type_traits>
#include <utility>

#include "nuv/attr/abstract_item.hpp"
#include "nuv/attr/type_code.hpp"
#include "nuv/types.hpp"

namespace nuv::attr {

template <class T>
class Item;

class BaseItem final : public AbstractBaseItem {
 public:
  BaseItem() noexcept = default;
  // Any shared item of value type U::ValueType, null included.
  template <class U>
  requires std::is_convertible_v < U*, AbstractItem<typename U::ValueType>
  * > BaseItem(std::shared_ptr<U> item) noexcept  // NOLINT(google-explicit-constructor)
      : item_(std::move(item)),
  typeCode_(typeCodeOf<typename U::ValueType>) {}

  // The code recorded when the handle was made.
  [[nodiscard]] TypeCode typeCode() const noexcept { return typeCode_; }
  [[nodiscard]] const std::shared_ptr<AbstractBaseItem>& shared() const noexcept { return item_; }
  [[nodiscard]] bool empty() const noexcept { return item_ == nullptr; }

  [[nodiscard]] TypeCode type() const override { return item_ ? item_->type() : TypeCode::kNone; }
  [[nodiscard]] bool supportsDefault() const override { return item_ && item_->supportsDefault(); }
  [[nodiscard]] bool supportsSet() const override { return item_ && item_->supportsSet(); }
  [[nodiscard]] bool supportsReset() const override { return item_ && item_->supportsReset(); }
  [[nodiscard]] bool supportsElemAdd(Index count) const override {
    return item_ && item_->supportsElemAdd(count);
  }
  [[nodiscard]] Index elemCount() const override { return item_ ? item_->elemCount() : 0; }
  void reset() override {
    if (item_) item_->reset();
  }

 private:
  std::shared_ptr<AbstractBaseItem> item_;
  TypeCode typeCode_ = TypeCode::kNone;
};

}  // namespace nuv::attr

#endif  // NUV_ATTR_BASE_ITEM_HPP_
