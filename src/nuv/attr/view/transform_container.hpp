// `nuv::attr::view::TransformContainer<CT, X>`: a container shown through a value transform X
// (see nuv/attr/transform/negate.hpp for the roles of a transform), for example the negating view
//
//   auto negated = std::make_shared<TransformContainer<Container<double>, transform::Negate>>(
//       Container<double>(stored));
//
// Every read passes through X::out (getDefault and the single, list and all-items reads), every
// write and itemAdd through X::in; supportsValue is X::accept alone; everything else goes to the
// wrapped container unchanged, exceptions included. The bulk reads let the wrapped container fill
// the caller's span and then map it in place: when the wrapped container writes nothing (an
// empty handle), the caller's own entries are mapped all the same. The bulk writes map into one
// temporary array and leave the caller's span unchanged. The view shares the wrapped container
// and stores nothing itself. X must map a type to itself.
#ifndef NUV_ATTR_VIEW_TRANSFORM_CONTAINER_HPP_
#define NUV_ATTR_VIEW_TRANSFORM_CONTAINER_HPP_

#include <algorithm>
#include <optional>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

#include "nuv/attr/abstract_container.hpp"
#include "nuv/idx/list.hpp"
#include "nuv/types.hpp"

namespace nuv::attr::view {

template <class CT, class X>
class TransformContainer final : public AbstractContainer<typename X::Outer> {
  static_assert(std::is_same_v<typename X::Outer, typename X::Inner>,
                "the bulk reads map the caller's span in place");
  static_assert(std::is_same_v<typename CT::ValueType, typename X::Inner>);

 public:
  using T = typename X::Outer;
  using AbstractContainer<T>::set;
  using AbstractContainer<T>::setAll;

  explicit TransformContainer(CT container) : container_(std::move(container)) {}

  [[nodiscard]] bool supportsDefault() const override { return container_.supportsDefault(); }
  [[nodiscard]] bool supportsSet() const override { return container_.supportsSet(); }
  [[nodiscard]] bool supportsReset() const override { return container_.supportsReset(); }
  [[nodiscard]] bool supportsElemAdd(Index count) const override {
    return container_.supportsElemAdd(count);
  }
  [[nodiscard]] bool supportsItemAdd(Index count) const override {
    return container_.supportsItemAdd(count);
  }
  [[nodiscard]] Index itemCount() const override { return container_.itemCount(); }
  [[nodiscard]] Index elemCount() const override { return container_.elemCount(); }
  void reset() override { container_.reset(); }

  [[nodiscard]] std::optional<T> supportsValue(const T& value) const override {
    return X::accept(value);
  }
  [[nodiscard]] T getDefault() const override { return X::out(container_.getDefault()); }
  [[nodiscard]] T get(Index item, Index elem) const override {
    return X::out(container_.get(item, elem));
  }
  void get(const idx::List& list, std::span<T> values, Index elem) const override {
    container_.get(list, values, elem);
    mapOut(values);
  }
  void getAll(std::span<T> values, Index elem) const override {
    container_.getAll(values, elem);
    mapOut(values);
  }
  void set(Index item, const T& value, Index elem) override {
    container_.set(item, X::in(value), elem);
  }
  void set(const idx::List& list, std::span<const T> values, Index elem) override {
    const std::vector<T> mapped = mapIn(values);
    container_.set(list, std::span<const T>(mapped), elem);
  }
  void setAll(std::span<const T> values, Index elem) override {
    const std::vector<T> mapped = mapIn(values);
    container_.setAll(std::span<const T>(mapped), elem);
  }
  void itemAdd(Index count, const T& value) override { container_.itemAdd(count, X::in(value)); }

 private:
  static void mapOut(std::span<T> values) {
    for (T& value : values) value = X::out(value);
  }
  static std::vector<T> mapIn(std::span<const T> values) {
    std::vector<T> mapped(values.size());
    std::transform(values.begin(), values.end(), mapped.begin(),
                   [](const T& value) { return X::in(value); });
    return mapped;
  }

  CT container_;
};

}  // namespace nuv::attr::view

#endif  // NUV_ATTR_VIEW_TRANSFORM_CONTAINER_HPP_
