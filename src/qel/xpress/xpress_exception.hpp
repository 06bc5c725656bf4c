// `qel::XpressException`: a failed call to the Xpress optimizer library.
//
// Every wrapper of an Xpress handle turns a non-zero return code into this exception. Its text
// names the return code, the optimizer's own error text and the Xpress function that failed:
//
//   Xpress (32): XPRSaddrows64: column index 7 out of range [Trace: XPRSaddrows64]
//
// The title is "Xpress", the code is always the return code, and the trace holds the function's
// name (no trace part when the name is empty).
#ifndef QEL_XPRESS_XPRESS_EXCEPTION_HPP_
#define QEL_XPRESS_XPRESS_EXCEPTION_HPP_

#include <source_location>
#include <string>
#include <string_view>

#include "nuv/exception.hpp"

namespace qel {

class XpressException : public nuv::Exception {
 public:
  // `message` is the optimizer's error text (or a fixed text when a problem could not be created
  // or copied), `code` the return code and `function` the name of the Xpress function.
  XpressException(const std::string& message, int code, std::string_view function,
                  std::source_location location = std::source_location::current());
  ~XpressException() override;
};

}  // namespace qel

#endif  // QEL_XPRESS_XPRESS_EXCEPTION_HPP_
