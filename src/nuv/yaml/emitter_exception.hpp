// "YAML Emitter Error": a failure while writing YAML. The code is always present; the message is
// stored as given.
#ifndef NUV_YAML_EMITTER_EXCEPTION_HPP_
#define NUV_YAML_EMITTER_EXCEPTION_HPP_

#include <cstdint>
#include <source_location>
#include <string>
#include <string_view>

#include "nuv/exception.hpp"

namespace nuv::yaml {

class EmitterException : public nuv::Exception {
 public:
  enum class Codes : std::uint8_t {
    kOther = 0,    // other libyaml failures
    kMemory = 1,   // libyaml ran out of memory
    kWriter = 2,   // libyaml writer error; a failed flush
    kEmitter = 3,  // libyaml emitter error
    kNoAgent = 4,  // no registry agent for a type to be written
  };

  EmitterException(std::string message, Codes code, std::string_view traceEntry,
                   std::source_location location = std::source_location::current());
};

}  // namespace nuv::yaml

#endif  // NUV_YAML_EMITTER_EXCEPTION_HPP_
