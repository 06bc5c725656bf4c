#include "nuv/attr/exception.hpp"

#include <utility>

namespace nuv::attr {

Exception::Exception(std::string message, int code, std::string_view trace,
                     std::source_location location)
    : nuv::Exception("Attribute Error", std::move(message), code, trace, location) {}

Exception Exception::unsupportedDefault(std::string_view trace, std::source_location location) {
  return {"Attribute default not supported", 0, trace, location};
}

Exception Exception::unsupportedSet(std::string_view trace, std::source_location location) {
  return {"Attribute does not support to set.", 1, trace, location};
}

Exception Exception::unsupportedReset(std::string_view trace, std::source_location location) {
  return {"Attribute does not support to reset.", 2, trace, location};
}

Exception Exception::unsupportedItemAdd(std::string_view trace, std::source_location location) {
  return {"Attribute does not support to add items.", 4, trace, location};
}

}  // namespace nuv::attr
