// Attribute containers: typed two-dimensional tables of values, items (model entities such as
// variables or rows) by elements (a further index such as the solutions of a pool).
//
// `AbstractBaseContainer` holds what does not depend on the value type; `AbstractContainer<T>`
// adds the typed reads and writes for T one of double, int, std::string,
// nuv::math::Vector<double>, nuv::math::Matrix<double> and nuv::math::Symbol<double>.
// An implementation provides `itemCount`, `elemCount` and `get(item, elem)` and overrides
// whatever else it supports. The defaults:
//   - supportsDefault, supportsSet, supportsReset answer false; supportsElemAdd(n) and
//     supportsItemAdd(n) answer true for n == 0 only; supportsValue accepts every value as is;
//   - reset, getDefault, set(item, value, elem) and itemAdd raise nuv::attr::Exception, codes 2,
//     0, 1 and 4 ("Attribute Error (1): Attribute does not support to set.");
//   - the list, all-items and one-value forms, the views and the copy from another container
//     are built on virtual calls of the same object, ending in the single-item get and set, so an
//     implementation that overrides a block operation changes every default built on it;
//   - span sizes are checked before anything is read or written: "Check Error (4):
//     'values.size()' (which is 2) must be equal to 3."; bulk writes are not transactional.
// Item and element numbers are not checked here; that is the business of the implementation.
#ifndef NUV_ATTR_ABSTRACT_CONTAINER_HPP_
#define NUV_ATTR_ABSTRACT_CONTAINER_HPP_

#include <algorithm>
#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "nuv/attr/exception.hpp"
#include "nuv/attr/type_code.hpp"
#include "nuv/check.hpp"
#include "nuv/idx/lib/range.hpp"
#include "nuv/idx/list.hpp"
#include "nuv/types.hpp"
#include "nuv/view.hpp"

namespace nuv::attr {

class AbstractBaseContainer {
 public:
  virtual ~AbstractBaseContainer() = default;

  [[nodiscard]] virtual TypeCode type() const = 0;
  [[nodiscard]] virtual bool supportsDefault() const { return false; }
  [[nodiscard]] virtual bool supportsSet() const { return false; }
  [[nodiscard]] virtual bool supportsReset() const { return false; }
  [[nodiscard]] virtual bool supportsElemAdd(Index count) const { return count == 0; }
  [[nodiscard]] virtual bool supportsItemAdd(Index count) const { return count == 0; }
  [[nodiscard]] virtual Index itemCount() const = 0;
  // 0 when the container holds no values.
  [[nodiscard]] virtual Index elemCount() const = 0;
  // Drops the held values.
  virtual void reset() { throw Exception::unsupportedReset({}); }

 protected:
  AbstractBaseContainer() = default;
  AbstractBaseContainer(const AbstractBaseContainer&) = default;
  AbstractBaseContainer& operator=(const AbstractBaseContainer&) = default;
};

template <class T>
class AbstractContainer : public AbstractBaseContainer {
 public:
  using ValueType = T;

  // The code of T; no implementation overrides it.
  [[nodiscard]] TypeCode type() const override { return typeCodeOf<T>; }

  // The value as it would be stored, or nothing when it is not acceptable.
  [[nodiscard]] virtual std::optional<T> supportsValue(const T& value) const { return value; }
  [[nodiscard]] virtual T getDefault() const { throw Exception::unsupportedDefault({}); }
  [[nodiscard]] virtual T get(Index item, Index elem) const = 0;
  // An owning copy of get(item, elem).
  [[nodiscard]] virtual View<const T> view(Index item, Index elem) const {
    return View<const T>::owning(std::make_unique<const T>(get(item, elem)));
  }
  // values[k] receives item list[k]; values.size() must equal list.size().
  virtual void get(const idx::List& list, std::span<T> values, Index elem) const;
  // values[i] receives item i; values.size() must equal itemCount().
  virtual void getAll(std::span<T> values, Index elem) const;
  // An owning vector of every item's value.
  [[nodiscard]] virtual View<const std::vector<T>> viewAll(Index elem) const;
  virtual void set(Index item, const T& value, Index elem) {
    static_cast<void>(item);
    static_cast<void>(value);
    static_cast<void>(elem);
    throw Exception::unsupportedSet({});
  }
  // Item list[k] receives values[k]; values.size() must equal list.size().
  virtual void set(const idx::List& list, std::span<const T> values, Index elem);
  virtual void set(const idx::List& list, const T& value, Index elem);
  // Item i receives values[i]; values.size() must equal itemCount().
  virtual void setAll(std::span<const T> values, Index elem);
  virtual void setAll(const T& value, Index elem);
  // Appends count items holding value.
  virtual void itemAdd(Index count, const T& value) {
    static_cast<void>(count);
    static_cast<void>(value);
    throw Exception::unsupportedItemAdd({});
  }

  // Copies every element of container into the listed items, under the same element numbers.
  // A container without values (elemCount() <= 0) copies nothing; otherwise its item count must
  // equal list.size(): "Check Error (4): 'container.itemCount()' (which is m) must be equal to
  // n.".
  void set(const idx::List& list, const AbstractContainer<T>& container);

 protected:
  AbstractContainer() = default;
  AbstractContainer(const AbstractContainer&) = default;
  AbstractContainer& operator=(const AbstractContainer&) = default;
};

namespace detail {

// The list 0, 1, ..., count - 1; a negative count raises the Range's "Check Error" (8).
inline idx::List allItems(Index count) {
  return idx::List(std::make_shared<const idx::lib::Range>(0, count));
}

}  // namespace detail

template <class T>
void AbstractContainer<T>::get(const idx::List& list, std::span<T> values, Index elem) const {
  checkEqual("values.size()", values.size(), list.size());
  for (Index k = 0; k < list.size(); ++k) {
    values[static_cast<std::size_t>(k)] = get(list[k], elem);
  }
}

template <class T>
void AbstractContainer<T>::getAll(std::span<T> values, Index elem) const {
  get(detail::allItems(itemCount()), values, elem);
}

template <class T>
View<const std::vector<T>> AbstractContainer<T>::viewAll(Index elem) const {
  // A negative count leaves the vector empty; getAll then refuses it with the Range's error.
  auto values =
      std::make_unique<std::vector<T>>(static_cast<std::size_t>(std::max<Index>(itemCount(), 0)));
  getAll(*values, elem);
  return View<const std::vector<T>>::owning(std::move(values));
}

template <class T>
void AbstractContainer<T>::set(const idx::List& list, std::span<const T> values, Index elem) {
  checkEqual("values.size()", values.size(), list.size());
  for (Index k = 0; k < list.size(); ++k) {
    set(list[k], values[static_cast<std::size_t>(k)], elem);
  }
}

template <class T>
void AbstractContainer<T>::set(const idx::List& list, const T& value, Index elem) {
  const std::vector<T> values(static_cast<std::size_t>(list.size()), value);
  set(list, std::span<const T>(values), elem);
}

template <class T>
void AbstractContainer<T>::setAll(std::span<const T> values, Index elem) {
  set(detail::allItems(itemCount()), values, elem);
}

template <class T>
void AbstractContainer<T>::setAll(const T& value, Index elem) {
  const std::vector<T> values(static_cast<std::size_t>(std::max<Index>(itemCount(), 0)), value);
  setAll(std::span<const T>(values), elem);
}

template <class T>
void AbstractContainer<T>::set(const idx::List& list, const AbstractContainer<T>& container) {
  if (container.elemCount() <= 0) return;
  const Index listSize = list.size();
  checkEqual("container.itemCount()", container.itemCount(), listSize);
  for (Index elem = 0; elem < container.elemCount(); ++elem) {
    std::vector<T> values(static_cast<std::size_t>(std::max<Index>(container.itemCount(), 0)));
    container.getAll(values, elem);
    set(list, std::span<const T>(values), elem);
  }
}

}  // namespace nuv::attr

#endif  // NUV_ATTR_ABSTRACT_CONTAINER_HPP_
