// `nuv::attr::lib::AbstractRangeOnlyContainer<T>`: the base of containers that are served only by
// contiguous blocks of items (result containers reading a solver one block per call).
//
// An implementation supplies `itemCount`, `elemCount` and the block read
// `get(Range range, values, elem)`, which fills values[0 .. range.size() - 1] with the values of
// items range.first() onwards; it may supply the block write `set(Range, values, elem)`, whose
// default raises "Attribute Error (1): Attribute does not support to set.", so that a read-only
// implementation refuses every write form. The base turns every other read and write into block
// calls:
//   - one item: one block of size 1 (a read into a local 0, so a block read that writes nothing
//     gives 0);
//   - all items, and a list of type kBlock (even an empty one): one block call with the
//     caller's whole span;
//   - any other list: one block of size 1 per entry, over values[k]; no call for an empty list.
// The caller's span must have exactly as many entries as the list or all items: a span of
// another length raises "Check Error (4): 'values.size()' (which is 2) must be equal to 3."
// before any block call, so a block call never gets a span shorter than its block. A negative
// item count makes the all-items forms raise the Range's "Check Error (8)" first.
// Implementations bring the other overloads back into scope with `using
// AbstractRangeOnlyContainer<T>::get;` (and `set`) when they override the block calls.
#ifndef NUV_ATTR_LIB_ABSTRACT_RANGE_ONLY_CONTAINER_HPP_
#define NUV_ATTR_LIB_ABSTRACT_RANGE_ONLY_CONTAINER_HPP_

#include <cstddef>
#include <span>

#include "nuv/attr/abstract_container.hpp"
#include "nuv/attr/exception.hpp"
#include "nuv/check.hpp"
#include "nuv/idx/abstract_list.hpp"
#include "nuv/idx/lib/range.hpp"
#include "nuv/idx/list.hpp"
#include "nuv/types.hpp"

namespace nuv::attr::lib {

template <class T>
class AbstractRangeOnlyContainer : public AbstractContainer<T> {
 public:
  using AbstractContainer<T>::set;
  using AbstractContainer<T>::setAll;

  [[nodiscard]] T get(Index item, Index elem) const override {
    T value{};
    get(idx::lib::Range(item, 1), std::span<T>(&value, 1), elem);
    return value;
  }
  void get(const idx::List& list, std::span<T> values, Index elem) const override {
    checkEqual("values.size()", values.size(), list.size());
    if (list.type() == idx::ListType::kBlock) {
      get(idx::lib::Range(list.first(), list.size()), values, elem);
      return;
    }
    for (Index k = 0; k < list.size(); ++k) {
      get(idx::lib::Range(list[k], 1), values.subspan(static_cast<std::size_t>(k), 1), elem);
    }
  }
  void getAll(std::span<T> values, Index elem) const override {
    const idx::lib::Range all(0, this->itemCount());
    checkEqual("values.size()", values.size(), all.size());
    get(all, values, elem);
  }
  void set(Index item, const T& value, Index elem) override {
    set(idx::lib::Range(item, 1), std::span<const T>(&value, 1), elem);
  }
  void set(const idx::List& list, std::span<const T> values, Index elem) override {
    checkEqual("values.size()", values.size(), list.size());
    if (list.type() == idx::ListType::kBlock) {
      set(idx::lib::Range(list.first(), list.size()), values, elem);
      return;
    }
    for (Index k = 0; k < list.size(); ++k) {
      set(idx::lib::Range(list[k], 1), values.subspan(static_cast<std::size_t>(k), 1), elem);
    }
  }
  void setAll(std::span<const T> values, Index elem) override {
    const idx::lib::Range all(0, this->itemCount());
    checkEqual("values.size()", values.size(), all.size());
    set(all, values, elem);
  }

  // Fills values[0 .. range.size() - 1] with the values of the range's items; values holds
  // exactly range.size() entries.
  virtual void get(const idx::lib::Range& range, std::span<T> values, Index elem) const = 0;
  // Writes values[0 .. range.size() - 1] to the range's items; values holds exactly
  // range.size() entries. Unless overridden, raises "Attribute Error (1)".
  virtual void set(const idx::lib::Range& range, std::span<const T> values, Index elem) {
    static_cast<void>(range);
    static_cast<void>(values);
    static_cast<void>(elem);
    throw Exception::unsupportedSet({});
  }

 protected:
  AbstractRangeOnlyContainer() = default;
  AbstractRangeOnlyContainer(const AbstractRangeOnlyContainer&) = default;
  AbstractRangeOnlyContainer& operator=(const AbstractRangeOnlyContainer&) = default;
};

}  // namespace nuv::attr::lib

#endif  // NUV_ATTR_LIB_ABSTRACT_RANGE_ONLY_CONTAINER_HPP_
