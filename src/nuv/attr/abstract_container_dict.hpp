// `nuv::attr::AbstractContainerDict`: a dictionary of containers keyed by integer and by name.
//
// operator[] hands out type-erased container handles by value; a key that is not served gives an
// empty handle. A dictionary keyed by integers only answers the name forms with nothing, false
// and empty handles. The interface gives no defaults.
#ifndef NUV_ATTR_ABSTRACT_CONTAINER_DICT_HPP_
#define NUV_ATTR_ABSTRACT_CONTAINER_DICT_HPP_

#include <optional>
#include <string>
#include <string_view>

#include "nuv/attr/base_container.hpp"
#include "nuv/idx/list.hpp"
#include "nuv/types.hpp"

namespace nuv::attr {

class AbstractContainerDict {
 public:
  virtual ~AbstractContainerDict() = default;

  [[nodiscard]] virtual Index size() const = 0;
  [[nodiscard]] virtual idx::List indexKeys() const = 0;
  [[nodiscard]] virtual std::optional<std::string> stringKey(Index key) const = 0;
  [[nodiscard]] virtual std::optional<Index> indexKey(std::string_view name) const = 0;
  [[nodiscard]] virtual bool contains(Index key) const = 0;
  [[nodiscard]] virtual bool contains(std::string_view name) const = 0;
  [[nodiscard]] virtual BaseContainer operator[](Index key) const = 0;
  [[nodiscard]] virtual BaseContainer operator[](std::string_view name) const = 0;

 protected:
  AbstractContainerDict() = default;
  AbstractContainerDict(const AbstractContainerDict&) = default;
  AbstractContainerDict& operator=(const AbstractContainerDict&) = default;
};

}  // namespace nuv::attr

#endif  // NUV_ATTR_ABSTRACT_CONTAINER_DICT_HPP_
