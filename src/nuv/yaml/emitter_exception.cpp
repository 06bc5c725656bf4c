#include "nuv/yaml/emitter_exception.hpp"

#include <utility>

namespace nuv::yaml {

EmitterException::EmitterException(std::string message, Codes code, std::string_view traceEntry,
                                   std::source_location location)
    : nuv::Exception("YAML Emitter Error", std::move(message), static_cast<int>(code), traceEntry,
                     location) {}

}  // namespace nuv::yaml
