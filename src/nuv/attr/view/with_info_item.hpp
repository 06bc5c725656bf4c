// `nuv::attr::view::WithInfoItem<IT>`: an item whose default, accepted values, settability and
// element limit come from an option description; the values stay in the wrapped item.
//
//   auto option = withInfo(optionalItem<int>(), View<const AbstractInfo<int>>::borrowed(&row));
//
// The description decides first and the wrapped item only where the description allows:
//   - supportsSet: the description's answer, and then the item's;
//   - supportsElemAdd(n): false when max(n, 0) plus the item's elemCount() exceeds the
//     description's maxElemCount() (reaching it is allowed), else the item's answer;
//   - supportsValue(v): the description's answer (it may clamp), then the item's answer for that;
//   - supportsDefault, getDefault: the description's alone.
// set writes through unchecked: callers ask supportsSet and supportsValue first and set what
// supportsValue returned. Everything else goes to the item unchanged, exceptions included.
// Constructing without a description raises "Check Error (3): 'info' must not be null.". The
// view shares the item; the description is deleted with the view only if the View owns it.
#ifndef NUV_ATTR_VIEW_WITH_INFO_ITEM_HPP_
#define NUV_ATTR_VIEW_WITH_INFO_ITEM_HPP_

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

#include "nuv/attr/abstract_info.hpp"
#include "nuv/attr/abstract_item.hpp"
#include "nuv/attr/item.hpp"
#include "nuv/check.hpp"
#include "nuv/types.hpp"
#include "nuv/view.hpp"

namespace nuv::attr::view {

template <class IT>
class WithInfoItem final : public AbstractItem<typename IT::ValueType> {
 public:
  using T = typename IT::ValueType;

  WithInfoItem(IT item, View<const AbstractInfo<T>> info)
      : item_(std::move(item)), info_(std::move(info)) {
    checkNotNull(info_.get(), "info");
  }

  [[nodiscard]] bool supportsDefault() const override { return info_->supportsDefault(); }
  [[nodiscard]] bool supportsSet() const override {
    return info_->supportsSet() && item_.supportsSet();
  }
  [[nodiscard]] bool supportsReset() const override { return item_.supportsReset(); }
  // Counted in 64 bits: maxElemCount() is 2147483647 when there is no limit.
  [[nodiscard]] bool supportsElemAdd(Index count) const override {
    const std::int64_t total =
        std::int64_t{std::max<Index>(count, 0)} + std::int64_t{item_.elemCount()};
    if (total > std::int64_t{info_->maxElemCount()}) return false;
    return item_.supportsElemAdd(count);
  }
  [[nodiscard]] Index elemCount() const override { return item_.elemCount(); }
  void reset() override { item_.reset(); }

  [[nodiscard]] std::optional<T> supportsValue(const T& value) const override {
    const std::optional<T> accepted = info_->supportsValue(value);
    if (!accepted.has_value()) return std::nullopt;
    return item_.supportsValue(*accepted);
  }
  [[nodiscard]] T getDefault() const override { return info_->getDefault(); }
  [[nodiscard]] T get(Index elem) const override { return item_.get(elem); }
  [[nodiscard]] View<const T> view(Index elem) const override { return item_.view(elem); }
  void set(const T& value, Index elem) override { item_.set(value, elem); }

 private:
  IT item_;
  View<const AbstractInfo<T>> info_;
};

// The item guarded by the description; raises "Check Error (3)" for a null description.
template <class P>
[[nodiscard]] std::shared_ptr<WithInfoItem<Item<typename P::ValueType>>> withInfo(
    std::shared_ptr<P> item, View<const AbstractInfo<typename P::ValueType>> info) {
  using T = typename P::ValueType;
  return std::make_shared<WithInfoItem<Item<T>>>(Item<T>(std::move(item)), std::move(info));
}

}  // namespace nuv::attr::view

#endif  // NUV_ATTR_VIEW_WITH_INFO_ITEM_HPP_
