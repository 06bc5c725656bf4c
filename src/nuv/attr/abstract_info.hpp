// `nuv::attr::AbstractInfo<T>`: an option description with the operations typed by the value
// type T (the default and the acceptance of values); `type()` answers the code of T.
#ifndef NUV_ATTR_ABSTRACT_INFO_HPP_
#define NUV_ATTR_ABSTRACT_INFO_HPP_

#include <optional>

#include "nuv/attr/abstract_base_info.hpp"
#include "nuv/attr/type_code.hpp"

namespace nuv::attr {

template <class T>
class AbstractInfo : public AbstractBaseInfo {
 public:
  [[nodiscard]] int type() const override { return static_cast<int>(typeCodeOf<T>); }

  // The default; raises `nuv::attr::Exception` (unsupported default, code 0) when there is none.
  [[nodiscard]] virtual T getDefault() const = 0;
  // The value the option would take for `value`, or nothing when the value is not acceptable.
  [[nodiscard]] virtual std::optional<T> supportsValue(const T& value) const = 0;
};

}  // namespace nuv::attr

#endif  // NUV_ATTR_ABSTRACT_INFO_HPP_
