// `nuv::attr::lib::OptionalItem<T>`: a settable item that starts without a value, so that an
// attribute nobody set stays recognisably unset.
//
//   auto item = nuv::attr::lib::optionalItem<int>();   // elemCount() 0
//   item->set(5, 0);                                   // elemCount() 1, get(0) 5
//   item->reset();                                     // elemCount() 0 again
//
// The element argument is ignored everywhere. Reading an item that holds no value (`get`,
// `view`) raises the standard `std::bad_optional_access`, not a framework exception; callers that
// must not fail ask `elemCount()` first. `view` borrows the held value: it stays valid until the
// value is replaced or dropped or the item is destroyed. There is no default (`getDefault`
// raises "Attribute Error (0)"); every value is accepted as it is. T is int or std::string.
#ifndef NUV_ATTR_LIB_OPTIONAL_ITEM_HPP_
#define NUV_ATTR_LIB_OPTIONAL_ITEM_HPP_

#include <memory>
#include <optional>

#include "nuv/attr/abstract_item.hpp"
#include "nuv/types.hpp"
#include "nuv/view.hpp"

namespace nuv::attr::lib {

template <class T>
class OptionalItem final : public AbstractItem<T> {
 public:
  OptionalItem() = default;

  [[nodiscard]] bool supportsSet() const override { return true; }
  [[nodiscard]] bool supportsReset() const override { return true; }
  // Nothing can always be added; one value only while none is held.
  [[nodiscard]] bool supportsElemAdd(Index count) const override {
    return count == 0 || (count == 1 && !value_.has_value());
  }
  [[nodiscard]] Index elemCount() const override { return value_.has_value() ? 1 : 0; }
  void reset() override { value_.reset(); }

  [[nodiscard]] T get(Index /*elem*/) const override { return value_.value(); }
  [[nodiscard]] View<const T> view(Index /*elem*/) const override {
    return View<const T>::borrowed(&value_.value());
  }
  void set(const T& value, Index /*elem*/) override { value_ = value; }

 private:
  std::optional<T> value_;
};

// A new item holding no value.
template <class T>
[[nodiscard]] std::shared_ptr<OptionalItem<T>> optionalItem() {
  return std::make_shared<OptionalItem<T>>();
}

}  // namespace nuv::attr::lib

#endif  // NUV_ATTR_LIB_OPTIONAL_ITEM_HPP_
