// `nuv::attr::lib::VectorContainer<T>`: a container that keeps its values in memory, one vector
// per element, for any of the six container value types.
//
// This is plain storage for whoever fills a batch or keeps results: the host side, tests,
// tools. Contracts:
//   - Made from one vector of values it holds one element; made from an item count alone it
//     holds no values (elemCount() 0) until the first single-item write, which first gives every
//     item a value-initialised T (0, 0.0, "", an empty handle, the number 0 as a symbol) in one
//     element.
//   - Item and element numbers are checked: a number outside 0 .. count - 1 raises
//     nuv::CheckException, e.g. "Check Error (5): 'item' (which is 3) must be less than 3.".
//     Span sizes are checked as the interface does ("Check Error (4): 'values.size()' ...").
//     Every check comes before anything is written.
//   - `reset` drops the values and keeps the item count; `itemAdd(count, value)` appends count
//     items holding value in every element held (count must not be negative).
//   - Reads of one value and `view` return copies; the list and all-items forms move blocks
//     without a virtual call per item; `viewAll` lends the stored element (a borrowed view, valid
//     until the container is changed or destroyed), so a reader of many values copies none.
// No locking: a caller that shares one between threads provides the exclusion.
#ifndef NUV_ATTR_LIB_VECTOR_CONTAINER_HPP_
#define NUV_ATTR_LIB_VECTOR_CONTAINER_HPP_

#include <algorithm>
#include <cstddef>
#include <span>
#include <utility>
#include <vector>

#include "nuv/attr/abstract_container.hpp"
#include "nuv/check.hpp"
#include "nuv/idx/abstract_list.hpp"
#include "nuv/idx/list.hpp"
#include "nuv/types.hpp"
#include "nuv/view.hpp"

namespace nuv::attr::lib {

template <class T>
class VectorContainer final : public AbstractContainer<T> {
 public:
  using AbstractContainer<T>::get;
  using AbstractContainer<T>::set;
  using AbstractContainer<T>::setAll;

  // No items, no values.
  VectorContainer() = default;
  // itemCount items, no values yet.
  explicit VectorContainer(Index itemCount) : itemCount_(itemCount) {
    checkGreaterOrEqual("itemCount", itemCount, 0);
  }
  // One element: item i holds values[i].
  explicit VectorContainer(std::vector<T> values) : itemCount_(static_cast<Index>(values.size())) {
    elements_.push_back(std::move(values));
  }
  // Element e holds elements[e]; every element holds one value per item.
  VectorContainer(Index itemCount, std::vector<std::vector<T>> elements)
      : itemCount_(itemCount), elements_(std::move(elements)) {
    checkGreaterOrEqual("itemCount", itemCount, 0);
    for (const std::vector<T>& element : elements_) {
      checkEqual("element.size()", element.size(), itemCount);
    }
  }

  [[nodiscard]] bool supportsSet() const override { return true; }
  [[nodiscard]] bool supportsReset() const override { return true; }
  [[nodiscard]] bool supportsItemAdd(Index count) const override { return count >= 0; }
  [[nodiscard]] Index itemCount() const override { return itemCount_; }
  [[nodiscard]] Index elemCount() const override { return static_cast<Index>(elements_.size()); }
  void reset() override { elements_.clear(); }

  [[nodiscard]] T get(Index item, Index elem) const override {
    return element(elem)[checkedItem(item)];
  }
  void get(const idx::List& list, std::span<T> values, Index elem) const override {
    checkEqual("values.size()", values.size(), list.size());
    if (list.size() == 0) return;
    const std::vector<T>& source = element(elem);
    if (list.type() == idx::ListType::kBlock) {
      const auto first = blockStart(list);
      std::copy_n(source.begin() + first, values.size(), values.begin());
      return;
    }
    for (std::size_t k = 0; k < values.size(); ++k) {
      values[k] = source[checkedItem(list[static_cast<Index>(k)])];
    }
  }
  [[nodiscard]] View<const std::vector<T>> viewAll(Index elem) const override {
    // Without values there is nothing to lend: the interface's copy answers (or refuses) as get.
    if (elements_.empty()) return AbstractContainer<T>::viewAll(elem);
    return View<const std::vector<T>>::borrowed(&element(elem));
  }
  void getAll(std::span<T> values, Index elem) const override {
    checkEqual("values.size()", values.size(), itemCount_);
    if (itemCount_ == 0) return;
    const std::vector<T>& source = element(elem);
    std::copy(source.begin(), source.end(), values.begin());
  }

  void set(Index item, const T& value, Index elem) override {
    const std::size_t at = checkedItem(item);
    writable(elem)[at] = value;
  }
  void set(const idx::List& list, std::span<const T> values, Index elem) override {
    checkEqual("values.size()", values.size(), list.size());
    if (list.size() == 0) return;
    if (list.type() == idx::ListType::kBlock) {
      const auto first = blockStart(list);
      std::vector<T>& target = writable(elem);
      std::copy(values.begin(), values.end(), target.begin() + first);
      return;
    }
    // All entries are checked before the first write.
    std::vector<std::size_t> items(values.size());
    for (std::size_t k = 0; k < items.size(); ++k) {
      items[k] = checkedItem(list[static_cast<Index>(k)]);
    }
    std::vector<T>& target = writable(elem);
    for (std::size_t k = 0; k < items.size(); ++k) target[items[k]] = values[k];
  }
  void setAll(std::span<const T> values, Index elem) override {
    checkEqual("values.size()", values.size(), itemCount_);
    if (itemCount_ == 0) return;
    std::vector<T>& target = writable(elem);
    std::copy(values.begin(), values.end(), target.begin());
  }

  void itemAdd(Index count, const T& value) override {
    checkGreaterOrEqual("count", count, 0);
    for (std::vector<T>& element : elements_) {
      element.insert(element.end(), static_cast<std::size_t>(count), value);
    }
    itemCount_ += count;
  }

 private:
  [[nodiscard]] std::size_t checkedItem(Index item) const {
    checkGreaterOrEqual("item", item, 0);
    checkLess("item", item, itemCount_);
    return static_cast<std::size_t>(item);
  }
  [[nodiscard]] const std::vector<T>& element(Index elem) const {
    checkGreaterOrEqual("elem", elem, 0);
    checkLess("elem", elem, elemCount());
    return elements_[static_cast<std::size_t>(elem)];
  }
  // The element to write into; a container without values first gets one element of
  // value-initialised values, so only element 0 is writable then.
  [[nodiscard]] std::vector<T>& writable(Index elem) {
    checkGreaterOrEqual("elem", elem, 0);
    checkLess("elem", elem, std::max<Index>(elemCount(), 1));
    if (elements_.empty()) elements_.emplace_back(static_cast<std::size_t>(itemCount_));
    return elements_[static_cast<std::size_t>(elem)];
  }
  // The first item of a non-empty block list, checked together with its last.
  [[nodiscard]] std::ptrdiff_t blockStart(const idx::List& list) const {
    static_cast<void>(checkedItem(list.last()));
    return static_cast<std::ptrdiff_t>(checkedItem(list.first()));
  }

  Index itemCount_ = 0;
  std::vector<std::vector<T>> elements_;
};

}  // namespace nuv::attr::lib

#endif  // NUV_ATTR_LIB_VECTOR_CONTAINER_HPP_
