// "Support Error": model input that the solver does not support. Carries no code.
#ifndef NUV_OPT_SUPPORT_EXCEPTION_HPP_
#define NUV_OPT_SUPPORT_EXCEPTION_HPP_

#include <source_location>
#include <string>
#include <string_view>
#include <utility>

#include "nuv/exception.hpp"

namespace nuv::opt {

class SupportException : public nuv::Exception {
 public:
  SupportException(std::string message, std::string_view trace,
                   std::source_location location = std::source_location::current())
      : nuv::Exception("Support Error", std::move(message), std::nullopt, trace, location) {}
};

}  // namespace nuv::opt

#endif  // NUV_OPT_SUPPORT_EXCEPTION_HPP_
