#include "nuv/opt/lib/abstract_domain_dict.hpp"

#include <cstdint>
#include <memory>
#include <span>

#include "nuv/idx/lib/list.hpp"
#include "nuv/opt/keys.hpp"

namespace nuv::opt::lib {
namespace {

template <class Dict>
Index countContained(const Dict& dict, std::span<const std::uint8_t> keys) {
  Index count = 0;
  for (const std::uint8_t key : keys) {
    if (dict.contains(Index{key})) ++count;
  }
  return count;
}

template <class Dict>
idx::List listContained(const Dict& dict, std::span<const std::uint8_t> keys) {
  auto list = std::make_shared<idx::lib::List>();
  for (const std::uint8_t key : keys) {
    if (dict.contains(Index{key})) list->push_back(key);
  }
  return idx::List(std::move(list));
}

}  // namespace

// The three domain bases differ only in their key array.
#define NUV_OPT_LIB_DOMAIN_DICT_DEFINITIONS(DOMAIN)                                                \
  Index DOMAIN::AbstractContainerDict::size() const {                                              \
    return countContained(*this, opt::DOMAIN::attributes);                                         \
  }                                                                                                \
  idx::List DOMAIN::AbstractContainerDict::indexKeys() const {                                     \
    return listContained(*this, opt::DOMAIN::attributes);                                          \
  }                                                                                                \
  std::optional<std::string> DOMAIN::AbstractContainerDict::stringKey(Index /*key*/) const {       \
    return std::nullopt;                                                                           \
  }                                                                                                \
  std::optional<Index> DOMAIN::AbstractContainerDict::indexKey(std::string_view /*name*/) const {  \
    return std::nullopt;                                                                           \
  }                                                                                                \
  bool DOMAIN::AbstractContainerDict::contains(std::string_view /*name*/) const { return false; }  \
  attr::BaseContainer DOMAIN::AbstractContainerDict::operator[](std::string_view /*name*/) const { \
    return {};                                                                                     \
  }

NUV_OPT_LIB_DOMAIN_DICT_DEFINITIONS(interval_domain)
NUV_OPT_LIB_DOMAIN_DICT_DEFINITIONS(static_bounded_domain)
NUV_OPT_LIB_DOMAIN_DICT_DEFINITIONS(sense_domain)

#undef NUV_OPT_LIB_DOMAIN_DICT_DEFINITIONS

namespace solver {

Index AbstractItemDict::size() const { return countContained(*this, opt::solver::attributes); }

idx::List AbstractItemDict::indexKeys() const {
  return listContained(*this, opt::solver::attributes);
}

std::optional<std::string> AbstractItemDict::stringKey(Index /*key*/) const { return std::nullopt; }

std::optional<Index> AbstractItemDict::indexKey(std::string_view /*name*/) const {
  return std::nullopt;
}

bool AbstractItemDict::contains(std::string_view /*name*/) const { return false; }

attr::BaseItem AbstractItemDict::operator[](std::string_view /*name*/) const { return {}; }

}  // namespace solver

}  // namespace nuv::opt::lib
