// Bases of the integer-keyed result dictionaries: one per domain with a key array
// (nuv/opt/keys.hpp) and one for the standard solver attributes.
//
// A concrete dictionary supplies `contains(Index)` and `operator[](Index)`; the base answers the
// rest from them:
//   - `size` counts the keys of the key array for which `contains` is true;
//   - `indexKeys` lists them, in key-array order, in a new explicit list (idx::lib::List);
//   - names are not served: `stringKey` and `indexKey` answer nothing, `contains` of a name
//     false, `operator[]` of a name an empty handle (type code 0), also for texts such as "5".
// A derived dictionary re-exposes the name forms it hides with `using Base::contains;` and
// `using Base::operator[];`. Nothing is cached: each `size` and `indexKeys` asks `contains` again,
// once per key. Nothing here raises.
#ifndef NUV_OPT_LIB_ABSTRACT_DOMAIN_DICT_HPP_
#define NUV_OPT_LIB_ABSTRACT_DOMAIN_DICT_HPP_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "nuv/attr/abstract_container_dict.hpp"
#include "nuv/attr/abstract_item_dict.hpp"
#include "nuv/attr/base_container.hpp"
#include "nuv/attr/base_item.hpp"
#include "nuv/idx/lib/list.hpp"
#include "nuv/idx/list.hpp"
#include "nuv/opt/keys.hpp"
#include "nuv/types.hpp"

namespace nuv::opt::lib {
namespace detail {

// A dictionary keyed by the integers of a fixed key array, serving no names. `Base` is the
// dictionary interface and `Handle` what its `operator[]` hands out.
template <class Base, class Handle, const auto& Keys>
class KeyArrayDict : public Base {
 public:
  using Base::contains;
  using Base::operator[];

  [[nodiscard]] Index size() const override {
    Index count = 0;
    for (const std::uint8_t key : Keys) {
      if (this->contains(Index{key})) ++count;
    }
    return count;
  }
  [[nodiscard]] idx::List indexKeys() const override {
    auto list = std::make_shared<idx::lib::List>();
    for (const std::uint8_t key : Keys) {
      if (this->contains(Index{key})) list->push_back(key);
    }
    return idx::List(std::move(list));
  }
  [[nodiscard]] std::optional<std::string> stringKey(Index /*key*/) const override {
    return std::nullopt;
  }
  [[nodiscard]] std::optional<Index> indexKey(std::string_view /*name*/) const override {
    return std::nullopt;
  }
  [[nodiscard]] bool contains(std::string_view /*name*/) const override { return false; }
  [[nodiscard]] Handle operator[](std::string_view /*name*/) const override { return {}; }
};

}  // namespace detail

namespace interval_domain {
// Over the keys 0 to 13 of nuv::opt::interval_domain::attributes.
class AbstractContainerDict
    : public detail::KeyArrayDict<attr::AbstractContainerDict, attr::BaseContainer,
                                  opt::interval_domain::attributes> {};
}  // namespace interval_domain

namespace static_bounded_domain {
// Over the keys 0 to 9 of nuv::opt::static_bounded_domain::attributes.
class AbstractContainerDict
    : public detail::KeyArrayDict<attr::AbstractContainerDict, attr::BaseContainer,
                                  opt::static_bounded_domain::attributes> {};
}  // namespace static_bounded_domain

namespace sense_domain {
// Over the keys 0 to 8 of nuv::opt::sense_domain::attributes.
class AbstractContainerDict
    : public detail::KeyArrayDict<attr::AbstractContainerDict, attr::BaseContainer,
                                  opt::sense_domain::attributes> {};
}  // namespace sense_domain

namespace solver {
// Over the keys 0 to 14 of nuv::opt::solver::attributes; hands out items.
class AbstractItemDict
    : public detail::KeyArrayDict<attr::AbstractItemDict, attr::BaseItem, opt::solver::attributes> {
};
}  // namespace solver

}  // namespace nuv::opt::lib

#endif  // NUV_OPT_LIB_ABSTRACT_DOMAIN_DICT_HPP_
