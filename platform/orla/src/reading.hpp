// Reading results through the solver's dictionaries: every read first asks whether a value is
// available (an object of the expected type, elemCount() at least 1), and answers nothing or
// an empty list otherwise.
#ifndef ORLA_SRC_READING_HPP_
#define ORLA_SRC_READING_HPP_

#include <algorithm>
#include <optional>
#include <span>
#include <vector>

#include "nuv/attr/abstract_item_dict.hpp"
#include "nuv/attr/base_container.hpp"
#include "nuv/attr/container.hpp"
#include "nuv/attr/item.hpp"
#include "nuv/opt/constraint_container.hpp"
#include "nuv/types.hpp"

namespace orla::detail {

template <class T>
[[nodiscard]] std::optional<T> itemValue(const nuv::attr::AbstractItemDict* dict, nuv::Index key) {
  if (dict == nullptr) return std::nullopt;
  const nuv::attr::Item<T> item((*dict)[key]);
  if (item.empty() || item.elemCount() < 1) return std::nullopt;
  return item.get(0);
}

// Item 0, element 0 of a one-item result, such as an objective value.
[[nodiscard]] inline std::optional<double> singleValue(const nuv::opt::ConstraintContainer& results,
                                                       nuv::Index key) {
  const nuv::attr::Container<double> c(results.domain[key]);
  if (c.empty() || c.itemCount() < 1 || c.elemCount() < 1) return std::nullopt;
  return c.get(0, 0);
}

// Elements 0 to at most maxElements - 1, each with every item, read a whole element at once.
template <class T>
[[nodiscard]] std::vector<std::vector<T>> elements(const nuv::attr::BaseContainer& base,
                                                   nuv::Index maxElements) {
  const nuv::attr::Container<T> c(base);
  std::vector<std::vector<T>> out;
  if (c.empty()) return out;
  const nuv::Index count = std::min(c.elemCount(), maxElements);
  for (nuv::Index e = 0; e < count; ++e) {
    std::vector<T> values(static_cast<std::size_t>(std::max<nuv::Index>(c.itemCount(), 0)));
    c.getAll(std::span<T>(values), e);
    out.push_back(std::move(values));
  }
  return out;
}

}  // namespace orla::detail

#endif  // ORLA_SRC_READING_HPP_
