// Attribute items: one typed attribute value behind a single interface, whatever stands behind
// it (a solver option, a link option held in memory, a solver attribute, a view of another item).
//
// An item may hold several values, its elements; `elemCount()` 0 means that no value is
// available. Implementations holding at most one value ignore the element argument.
// `AbstractBaseItem` has what does not depend on the value type; `AbstractItem<T>` adds the
// typed operations. An implementation provides `elemCount` and `get` and overrides what it
// supports. The defaults:
//   - type() answers the code of T; supportsDefault, supportsSet, supportsReset answer false;
//     supportsElemAdd(n) answers true for n == 0 only; supportsValue accepts every value as is;
//   - reset, getDefault and set raise nuv::attr::Exception with codes 2, 0 and 1, e.g.
//     "Attribute Error (0): Attribute default not supported";
//   - view(elem) returns an owning copy of get(elem).
#ifndef NUV_ATTR_ABSTRACT_ITEM_HPP_
#define NUV_ATTR_ABSTRACT_ITEM_HPP_

#include <memory>
#include <optional>

#include "nuv/attr/exception.hpp"
#include "nuv/attr/type_code.hpp"
#include "nuv/types.hpp"
#include "nuv/view.hpp"

namespace nuv::attr {

class AbstractBaseItem {
 public:
  virtual ~AbstractBaseItem() = default;

  [[nodiscard]] virtual TypeCode type() const = 0;
  [[nodiscard]] virtual bool supportsDefault() const { return false; }
  [[nodiscard]] virtual bool supportsSet() const { return false; }
  [[nodiscard]] virtual bool supportsReset() const { return false; }
  [[nodiscard]] virtual bool supportsElemAdd(Index count) const { return count == 0; }
  // 0 when no value is available.
  [[nodiscard]] virtual Index elemCount() const = 0;
  virtual void reset() { throw Exception::unsupportedReset({}); }

 protected:
  AbstractBaseItem() = default;
  AbstractBaseItem(const AbstractBaseItem&) = default;
  AbstractBaseItem& operator=(const AbstractBaseItem&) = default;
};

template <class T>
class AbstractItem : public AbstractBaseItem {
 public:
  using ValueType = T;

  [[nodiscard]] TypeCode type() const override { return typeCodeOf<T>; }

  // The value as it would be stored (clamped where the item has a range), or nothing when it is
  // not acceptable.
  [[nodiscard]] virtual std::optional<T> supportsValue(const T& value) const { return value; }
  [[nodiscard]] virtual T getDefault() const { throw Exception::unsupportedDefault({}); }
  [[nodiscard]] virtual T get(Index elem) const = 0;
  // An owning copy of get(elem): later changes of the item do not reach it.
  [[nodiscard]] virtual View<const T> view(Index elem) const {
    return View<const T>::owning(std::make_unique<const T>(get(elem)));
  }
  virtual void set(const T& value, Index elem) {
    static_cast<void>(value);
    static_cast<void>(elem);
    throw Exception::unsupportedSet({});
  }

 protected:
  AbstractItem() = default;
  AbstractItem(const AbstractItem&) = default;
  AbstractItem& operator=(const AbstractItem&) = default;
};

}  // namespace nuv::attr

#endif  // NUV_ATTR_ABSTRACT_ITEM_HPP_
