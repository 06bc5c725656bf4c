// `nuv::attr::lib::MapContainerDict`: a container dictionary kept in memory, keyed by integer,
// each entry with an optional name.
//
// This is plain storage for whoever assembles a batch or a result: the host side, tests, tools.
// Contracts:
//   - `set(key, container, name)` puts a container handle under a key, replacing what the key
//     held (its old name included). A name names one key only: giving a name that another key
//     holds raises nuv::CheckException before anything changes.
//   - `size` and `indexKeys` count and list the keys in ascending order (a new explicit list);
//     `stringKey` answers the key's name, nothing for a key without one or an absent key;
//     `indexKey` answers the key of a name, nothing for an unknown name; names are compared as
//     whole texts, case included.
//   - `operator[]` hands out the stored handle, or an empty BaseContainer (type code 0) for an
//     absent key or name. The dictionary shares the containers it holds.
// No locking: filling and reading from several threads needs the caller's exclusion.
#ifndef NUV_ATTR_LIB_MAP_CONTAINER_DICT_HPP_
#define NUV_ATTR_LIB_MAP_CONTAINER_DICT_HPP_

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "nuv/attr/abstract_container_dict.hpp"
#include "nuv/attr/base_container.hpp"
#include "nuv/idx/list.hpp"
#include "nuv/types.hpp"

namespace nuv::attr::lib {

class MapContainerDict final : public AbstractContainerDict {
 public:
  void set(Index key, BaseContainer container, std::optional<std::string> name = std::nullopt);
  // Drops the entry under key, if any.
  void erase(Index key);

  [[nodiscard]] Index size() const override;
  [[nodiscard]] idx::List indexKeys() const override;
  [[nodiscard]] std::optional<std::string> stringKey(Index key) const override;
  [[nodiscard]] std::optional<Index> indexKey(std::string_view name) const override;
  [[nodiscard]] bool contains(Index key) const override;
  [[nodiscard]] bool contains(std::string_view name) const override;
  [[nodiscard]] BaseContainer operator[](Index key) const override;
  [[nodiscard]] BaseContainer operator[](std::string_view name) const override;

 private:
  struct Entry {
    BaseContainer container;
    std::optional<std::string> name;
  };

  std::map<Index, Entry> entries_;
  std::map<std::string, Index, std::less<>> keysByName_;
};

}  // namespace nuv::attr::lib

#endif  // NUV_ATTR_LIB_MAP_CONTAINER_DICT_HPP_
