// `nuv::attr::lib::OptionalContainer<T>`: a settable per-item table whose values do not exist
// until the first write. Used for per-entity inputs and marks that grow with the model.
//
//   auto c = nuv::attr::lib::optionalContainer<double>();
//   c->itemAdd(3, 7.0);     // 3 items, still no values: 7.0 is not kept
//   c->set(1, 2.5, 0);      // values 0, 2.5, 0: the first write creates zeros for every item
//   c->itemAdd(2, 9.0);     // values 0, 2.5, 0, 9, 9
//   c->reset();             // no values, still 5 items
//   c->clear();             // no values, no items: as new, and still the same object
//
// One element at most; the element argument is ignored. The default is 0 and every value is
// accepted as it is. While values exist there is exactly one per item.
//
// Failures:
//   - reading while no values exist (`get`, `view`, `viewAll`, the list reads and `getAll` with
//     at least one item) raises the standard `std::bad_optional_access`; callers that must not
//     fail ask `elemCount()` first;
//   - an item number outside 0 to itemCount() - 1 raises "Check Error" (8 for a negative item,
//     5 for one too large: "'item' (which is 3) must be less than 'itemCount()' (which is 3).")
//     before anything is read or written;
//   - `itemAdd` beyond what `supportsItemAdd` allows raises "Attribute Error (4)" and changes
//     nothing.
// `view` and `viewAll` borrow the stored values: they are valid only until the next `itemAdd`,
// `reset`, `clear` or the container's destruction. T is int or double.
#ifndef NUV_ATTR_LIB_OPTIONAL_CONTAINER_HPP_
#define NUV_ATTR_LIB_OPTIONAL_CONTAINER_HPP_

#include <algorithm>
#include <cstddef>
#include <limits>
#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

#include "nuv/attr/abstract_container.hpp"
#include "nuv/attr/exception.hpp"
#include "nuv/check.hpp"
#include "nuv/types.hpp"
#include "nuv/view.hpp"

namespace nuv::attr::lib {

template <class T, class Values = std::vector<T>>
class OptionalContainer final : public AbstractContainer<T> {
  static_assert(std::is_same_v<Values, std::vector<T>>,
                "OptionalContainer stores its values in a std::vector<T>");

 public:
  using AbstractContainer<T>::get;
  using AbstractContainer<T>::set;

  OptionalContainer() = default;

  [[nodiscard]] bool supportsDefault() const override { return true; }
  [[nodiscard]] bool supportsSet() const override { return true; }
  [[nodiscard]] bool supportsReset() const override { return true; }
  // Nothing can always be added; one element only while no values exist.
  [[nodiscard]] bool supportsElemAdd(Index count) const override {
    return count == 0 || (count == 1 && !values_.has_value());
  }
  // Whether the item count stays a valid Index; a negative count adds nothing.
  [[nodiscard]] bool supportsItemAdd(Index count) const override {
    return itemCount_ <= std::numeric_limits<Index>::max() - std::max<Index>(count, 0);
  }
  [[nodiscard]] Index itemCount() const override { return itemCount_; }
  [[nodiscard]] Index elemCount() const override { return values_.has_value() ? 1 : 0; }
  // Frees the values; the item count stays.
  void reset() override { values_.reset(); }
  // Frees the values and drops every item. Holders of the container keep the same object, so a
  // model that is emptied and loaded again is seen through views made before.
  void clear() noexcept {
    values_.reset();
    itemCount_ = 0;
  }

  [[nodiscard]] T getDefault() const override { return T{}; }
  [[nodiscard]] T get(Index item, Index /*elem*/) const override {
    const std::size_t at = position(item);
    return values_.value()[at];
  }
  [[nodiscard]] View<const T> view(Index item, Index /*elem*/) const override {
    const std::size_t at = position(item);
    return View<const T>::borrowed(&values_.value()[at]);
  }
  [[nodiscard]] View<const std::vector<T>> viewAll(Index /*elem*/) const override {
    return View<const std::vector<T>>::borrowed(&values_.value());
  }
  // The first write creates a zero for every item.
  void set(Index item, const T& value, Index /*elem*/) override {
    const std::size_t at = position(item);
    if (!values_.has_value()) values_.emplace(static_cast<std::size_t>(itemCount_), T{});
    (*values_)[at] = value;
  }
  // Adds max(count, 0) items; they hold the value only if values exist already.
  void itemAdd(Index count, const T& value) override {
    if (!supportsItemAdd(count)) throw Exception::unsupportedItemAdd({});
    const Index added = std::max<Index>(count, 0);
    if (values_.has_value())
      values_->resize(values_->size() + static_cast<std::size_t>(added), value);
    itemCount_ += added;
  }

 private:
  // The storage position of a valid item number; raises "Check Error" for any other.
  [[nodiscard]] std::size_t position(Index item) const {
    checkGreaterOrEqual("item", item, 0);
    checkLess("item", item, itemCount_, "itemCount()");
    return static_cast<std::size_t>(item);
  }

  std::optional<Values> values_;
  Index itemCount_ = 0;
};

// A new container with no items and no values.
template <class T>
[[nodiscard]] std::shared_ptr<OptionalContainer<T, std::vector<T>>> optionalContainer() {
  return std::make_shared<OptionalContainer<T, std::vector<T>>>();
}

}  // namespace nuv::attr::lib

#endif  // NUV_ATTR_LIB_OPTIONAL_CONTAINER_HPP_
