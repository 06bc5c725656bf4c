// `nuv::attr::view::TransformItem<IT, X>`: the item behind the handle IT shown through a value
// transform X (see nuv/attr/transform/negate.hpp for the roles of a transform); its value type is
// X::Outer, so type() answers that type's code (3 for the unsigned long cast view).
//
//   auto shown = transform(Item<double>(stored), MyTransform{});
//   auto asUnsigned = numCast<unsigned long>(intItem);   // NumCast<int, unsigned long>
//
// get and getDefault pass through X::out, set through X::in before the wrapped item sees the
// value (a failing X::in leaves the wrapped item untouched); supportsValue is X::accept alone;
// everything else goes to the wrapped item unchanged, exceptions included. The view shares the
// wrapped item and stores nothing itself.
#ifndef NUV_ATTR_VIEW_TRANSFORM_ITEM_HPP_
#define NUV_ATTR_VIEW_TRANSFORM_ITEM_HPP_

#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

#include "nuv/attr/abstract_item.hpp"
#include "nuv/attr/item.hpp"
#include "nuv/attr/transform/num_cast.hpp"
#include "nuv/types.hpp"

namespace nuv::attr::view {

template <class IT, class X>
class TransformItem final : public AbstractItem<typename X::Outer> {
  static_assert(std::is_same_v<typename IT::ValueType, typename X::Inner>);

 public:
  using T = typename X::Outer;

  explicit TransformItem(IT item) : item_(std::move(item)) {}

  [[nodiscard]] bool supportsDefault() const override { return item_.supportsDefault(); }
  [[nodiscard]] bool supportsSet() const override { return item_.supportsSet(); }
  [[nodiscard]] bool supportsReset() const override { return item_.supportsReset(); }
  [[nodiscard]] bool supportsElemAdd(Index count) const override {
    return item_.supportsElemAdd(count);
  }
  [[nodiscard]] Index elemCount() const override { return item_.elemCount(); }
  void reset() override { item_.reset(); }

  [[nodiscard]] std::optional<T> supportsValue(const T& value) const override {
    return X::accept(value);
  }
  [[nodiscard]] T getDefault() const override { return X::out(item_.getDefault()); }
  [[nodiscard]] T get(Index elem) const override { return X::out(item_.get(elem)); }
  void set(const T& value, Index elem) override { item_.set(X::in(value), elem); }

 private:
  IT item_;
};

// The item handle shown through the transform; the transform only selects the type.
template <class IT, class X>
[[nodiscard]] std::shared_ptr<TransformItem<IT, X>> transform(IT item, X /*transform*/) {
  return std::make_shared<TransformItem<IT, X>>(std::move(item));
}

// The item shown as one of type U through checked casts.
template <class U, class P>
[[nodiscard]] std::shared_ptr<TransformItem<
    Item<typename P::ValueType>, ::nuv::attr::transform::NumCast<typename P::ValueType, U>>>
numCast(std::shared_ptr<P> item) {
  using V = typename P::ValueType;
  return std::make_shared<TransformItem<Item<V>, ::nuv::attr::transform::NumCast<V, U>>>(
      Item<V>(std::move(item)));
}

}  // namespace nuv::attr::view

#endif  // NUV_ATTR_VIEW_TRANSFORM_ITEM_HPP_
