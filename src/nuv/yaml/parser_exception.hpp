// "YAML Parser Error": a failure while reading YAML.
//
// The message ends with the input position: "Cannot convert 'abc' to 'int' (at: line 3, col 9;
// start at: line 3, col 6)." The code is always present.
#ifndef NUV_YAML_PARSER_EXCEPTION_HPP_
#define NUV_YAML_PARSER_EXCEPTION_HPP_

#include <cstdint>
#include <source_location>
#include <string>
#include <string_view>

#include "nuv/exception.hpp"
#include "nuv/yaml/event.hpp"

namespace nuv::yaml {

class ParserException : public nuv::Exception {
 public:
  enum class Codes : std::uint8_t {
    kOther = 0,       // other libyaml failures (scanner errors among them), unsupported values
    kMemory = 1,      // libyaml ran out of memory
    kReader = 2,      // libyaml could not read or decode the input
    kParser = 3,      // libyaml parser error
    kEventType = 4,   // an event of another type than expected
    kConversion = 5,  // a scalar that cannot be converted; no registry agent for a type
  };

  // The message is passed through `buildMessage`; an empty trace entry adds nothing.
  ParserException(std::string message, Position start, Position at, Codes code,
                  std::string_view traceEntry,
                  std::source_location location = std::source_location::current());

  [[nodiscard]] const Position& start() const noexcept { return start_; }
  [[nodiscard]] const Position& at() const noexcept { return at_; }

  // Trims the message, drops one trailing full stop and appends " (at: <at>", then
  // "; start at: <start>" when the positions differ, then ").".
  static std::string buildMessage(std::string message, const Position& start, const Position& at);
  // "line L, col C".
  static std::string toString(const Position& position);

 private:
  Position start_;
  Position at_;
};

}  // namespace nuv::yaml

#endif  // NUV_YAML_PARSER_EXCEPTION_HPP_
