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

#include <optional>
#include <string>
#include <string_view>

#include "nuv/attr/abstract_container_dict.hpp"
#include "nuv/attr/abstract_item_dict.hpp"
#include "nuv/attr/base_container.hpp"
#include "nuv/attr/base_item.hpp"
#include "nuv/idx/list.hpp"
#include "nuv/types.hpp"

namespace nuv::opt::lib {

namespace interval_domain {

// Over the keys 0 to 13 of nuv::opt::interval_domain::attributes.
class AbstractContainerDict : public attr::AbstractContainerDict {
 public:
  using attr::AbstractContainerDict::contains;
  using attr::AbstractContainerDict::operator[];

  [[nodiscard]] Index size() const override;
  [[nodiscard]] idx::List indexKeys() const override;
  [[nodiscard]] std::optional<std::string> stringKey(Index key) const override;
  [[nodiscard]] std::optional<Index> indexKey(std::string_view name) const override;
  [[nodiscard]] bool contains(std::string_view name) const override;
  [[nodiscard]] attr::BaseContainer operator[](std::string_view name) const override;
};

}  // namespace interval_domain

namespace static_bounded_domain {

// Over the keys 0 to 9 of nuv::opt::static_bounded_domain::attributes.
class AbstractContainerDict : public attr::AbstractContainerDict {
 public:
  using attr::AbstractContainerDict::contains;
  using attr::AbstractContainerDict::operator[];

  [[nodiscard]] Index size() const override;
  [[nodiscard]] idx::List indexKeys() const override;
  [[nodiscard]] std::optional<std::string> stringKey(Index key) const override;
  [[nodiscard]] std::optional<Index> indexKey(std::string_view name) const override;
  [[nodiscard]] bool contains(std::string_view name) const override;
  [[nodiscard]] attr::BaseContainer operator[](std::string_view name) const override;
};

}  // namespace static_bounded_domain

namespace sense_domain {

// Over the keys 0 to 8 of nuv::opt::sense_domain::attributes.
class AbstractContainerDict : public attr::AbstractContainerDict {
 public:
  using attr::AbstractContainerDict::contains;
  using attr::AbstractContainerDict::operator[];

  [[nodiscard]] Index size() const override;
  [[nodiscard]] idx::List indexKeys() const override;
  [[nodiscard]] std::optional<std::string> stringKey(Index key) const override;
  [[nodiscard]] std::optional<Index> indexKey(std::string_view name) const override;
  [[nodiscard]] bool contains(std::string_view name) const override;
  [[nodiscard]] attr::BaseContainer operator[](std::string_view name) const override;
};

}  // namespace sense_domain

namespace solver {

// Over the keys 0 to 14 of nuv::opt::solver::attributes; hands out items.
class AbstractItemDict : public attr::AbstractItemDict {
 public:
  using attr::AbstractItemDict::contains;
  using attr::AbstractItemDict::operator[];

  [[nodiscard]] Index size() const override;
  [[nodiscard]] idx::List indexKeys() const override;
  [[nodiscard]] std::optional<std::string> stringKey(Index key) const override;
  [[nodiscard]] std::optional<Index> indexKey(std::string_view name) const override;
  [[nodiscard]] bool contains(std::string_view name) const override;
  [[nodiscard]] attr::BaseItem operator[](std::string_view name) const override;
};

}  // namespace solver

}  // namespace nuv::opt::lib

#endif  // NUV_OPT_LIB_ABSTRACT_DOMAIN_DICT_HPP_
