#include "nuv/attr/lib/map_container_dict.hpp"

#include <memory>
#include <utility>

#include "nuv/check.hpp"
#include "nuv/idx/lib/list.hpp"

namespace nuv::attr::lib {

void MapContainerDict::set(Index key, BaseContainer container, std::optional<std::string> name) {
  if (name) {
    const auto named = keysByName_.find(*name);
    checkTrue(named == keysByName_.end() || named->second == key, "name held by no other key");
  }
  erase(key);
  if (name) keysByName_.emplace(*name, key);
  entries_.insert_or_assign(key, Entry{std::move(container), std::move(name)});
}

void MapContainerDict::erase(Index key) {
  const auto found = entries_.find(key);
  if (found == entries_.end()) return;
  if (found->second.name) keysByName_.erase(*found->second.name);
  entries_.erase(found);
}

Index MapContainerDict::size() const { return static_cast<Index>(entries_.size()); }

idx::List MapContainerDict::indexKeys() const {
  auto keys = std::make_shared<idx::lib::List>();
  keys->entries().reserve(entries_.size());
  for (const auto& [key, entry] : entries_) keys->push_back(key);
  return idx::List(std::move(keys));
}

std::optional<std::string> MapContainerDict::stringKey(Index key) const {
  const auto found = entries_.find(key);
  if (found == entries_.end()) return std::nullopt;
  return found->second.name;
}

std::optional<Index> MapContainerDict::indexKey(std::string_view name) const {
  const auto found = keysByName_.find(name);
  if (found == keysByName_.end()) return std::nullopt;
  return found->second;
}

bool MapContainerDict::contains(Index key) const { return entries_.contains(key); }

bool MapContainerDict::contains(std::string_view name) const {
  return keysByName_.find(name) != keysByName_.end();
}

BaseContainer MapContainerDict::operator[](Index key) const {
  const auto found = entries_.find(key);
  return found == entries_.end() ? BaseContainer() : found->second.container;
}

BaseContainer MapContainerDict::operator[](std::string_view name) const {
  const std::optional<Index> key = indexKey(name);
  return key ? (*this)[*key] : BaseContainer();
}

}  // namespace nuv::attr::lib
