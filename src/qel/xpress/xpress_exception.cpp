#include "qel/xpress/xpress_exception.hpp"

namespace qel {

XpressException::XpressException(const std::string& message, int code, std::string_view function,
                                 std::source_location location)
    : nuv::Exception("Xpress", message, code, function, location) {}

XpressException::~XpressException() = default;

}  // namespace qel
