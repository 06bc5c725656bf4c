// `nuv::attr::AbstractItemDict`: a dictionary of items keyed by integer and by name.
//
// operator[] hands out type-erased item handles by value; a key that is not served gives an empty
// handle. A dictionary keyed by integers only answers the name forms with nothing, false and
// empty handles. The interface gives no defaults.
#ifndef NUV_ATTR_ABSTRACT_ITEM_DICT_HPP_
#define NUV_ATTR_ABSTRACT_ITEM_DICT_HPP_

#include <optional>
#include <string>
#include <string_view>

#include "nuv/attr/base_item.hpp"
#include "nuv/idx/list.hpp"
#include "nuv/types.hpp"

namespace nuv::attr {

class AbstractItemDict {
 public:
  virtual ~AbstractItemDict() = default;

  [[nodiscard]] virtual Index size() const = 0;
  [[nodiscard]] virtual idx::List indexKeys() const = 0;
  [[nodiscard]] virtual std::optional<std::string> stringKey(Index key) const = 0;
  [[nodiscard]] virtual std::optional<Index> indexKey(std::string_view name) const = 0;
  [[nodiscard]] virtual bool contains(Index key) const = 0;
  [[nodiscard]] virtual bool contains(std::string_view name) const = 0;
  [[nodiscard]] virtual BaseItem operator[](Index key) const = 0;
  [[nodiscard]] virtual BaseItem operator[](std::string_view name) const = 0;

 protected:
  AbstractItemDict() = default;
  AbstractItemDict(const AbstractItemDict&) = default;
  AbstractItemDict& operator=(const AbstractItemDict&) = default;
};

}  // namespace nuv::attr

#endif  // NUV_ATTR_ABSTRACT_ITEM_DICT_HPP_
