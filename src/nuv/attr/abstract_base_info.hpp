// `nuv::attr::AbstractBaseInfo`: the part of an option description that does not depend on the
// option's value type.
//
// The virtual operations are declared in the order in which closed code calls them through the
// table; do not reorder them and do not add any.
#ifndef NUV_ATTR_ABSTRACT_BASE_INFO_HPP_
#define NUV_ATTR_ABSTRACT_BASE_INFO_HPP_

#include <optional>
#include <string>

#include "nuv/attr/abstract_doc.hpp"
#include "nuv/view.hpp"

namespace nuv::attr {

class AbstractBaseInfo {
 public:
  virtual ~AbstractBaseInfo() = default;

  // The `nuv::attr::TypeCode` of the value type.
  [[nodiscard]] virtual int type() const = 0;
  // A non-owning view of the option's name; null when the option has no name.
  [[nodiscard]] virtual View<const std::string> name() const = 0;
  // The option key, if any.
  [[nodiscard]] virtual std::optional<int> ref() const = 0;
  // The largest number of elements a value may have; 2147483647 means no limit.
  [[nodiscard]] virtual int maxElemCount() const = 0;
  [[nodiscard]] virtual bool supportsDefault() const = 0;
  [[nodiscard]] virtual bool supportsSet() const = 0;
  // A non-owning view of the documentation object; null when there is none.
  [[nodiscard]] virtual View<const AbstractDoc> doc() const = 0;

 protected:
  AbstractBaseInfo() = default;
  AbstractBaseInfo(const AbstractBaseInfo&) = default;
  AbstractBaseInfo& operator=(const AbstractBaseInfo&) = default;
};

}  // namespace nuv::attr

#endif  // NUV_ATTR_ABSTRACT_BASE_INFO_HPP_
