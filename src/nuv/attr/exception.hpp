// "Attribute Error": an operation that a container or item does not support.
#ifndef NUV_ATTR_EXCEPTION_HPP_
#define NUV_ATTR_EXCEPTION_HPP_

#include <source_location>
#include <string>
#include <string_view>

#include "nuv/exception.hpp"

namespace nuv::attr {

class Exception : public nuv::Exception {
 public:
  // Codes: 0 default, 1 set, 2 reset, 4 item add.
  Exception(std::string message, int code, std::string_view trace,
            std::source_location location = std::source_location::current());

  // "Attribute default not supported" (no full stop: the text is fixed that way).
  static Exception unsupportedDefault(
      std::string_view trace, std::source_location location = std::source_location::current());
  // "Attribute does not support to set."
  static Exception unsupportedSet(std::string_view trace,
                                  std::source_location location = std::source_location::current());
  // "Attribute does not support to reset."
  static Exception unsupportedReset(
      std::string_view trace, std::source_location location = std::source_location::current());
  // "Attribute does not support to add items."
  static Exception unsupportedItemAdd(
      std::string_view trace, std::source_location location = std::source_location::current());
};

}  // namespace nuv::attr

#endif  // NUV_ATTR_EXCEPTION_HPP_
