// `nuv::yaml::Parser`: a pull parser over libyaml with typed readers.
//
// The parser reads up to ten events ahead into a queue and never past the end of a document;
// `parse` hands out the next event and insists on its type, `tryScalar` takes it only when it is
// a scalar. The readers (`operator>>`) take one scalar and convert it; every failure raises
// `nuv::yaml::ParserException` (title "YAML Parser Error") whose message ends with the input
// position.
//
// Creating a parser: the creator initialises `state()` with `yaml_parser_initialize`, gives it its
// input, and calls `yaml_parser_delete` on it once the parser is no longer used; the parser
// itself never initialises or releases the libyaml state. Queued events are released with the
// parser.
#ifndef NUV_YAML_PARSER_HPP_
#define NUV_YAML_PARSER_HPP_

#include <yaml.h>

#include <deque>
#include <optional>
#include <string>

#include "nuv/attr/abstract_doc.hpp"
#include "nuv/view.hpp"
#include "nuv/yaml/event.hpp"
#include "nuv/yaml/parser_exception.hpp"
#include "nuv/yaml/registry.hpp"

namespace nuv::yaml {

class Parser {
 public:
  // `registry` must outlive the parser.
  Parser(Registry& registry, Position lastPosition) noexcept;
  Parser(const Parser&) = delete;
  Parser& operator=(const Parser&) = delete;
  ~Parser();

  [[nodiscard]] yaml_parser_t& state() noexcept { return state_; }
  [[nodiscard]] Registry& registry() const noexcept { return registry_; }
  // The end of the event most recently taken from the queue.
  [[nodiscard]] const Position& lastPosition() const noexcept { return lastPosition_; }
  [[nodiscard]] std::size_t queuedCount() const noexcept { return events_.size(); }

  // Reads up to ten events into the queue, stopping after a document or stream end.
  void rawParse();
  // Takes the next event; raises code 4 when it is not of the expected type.
  [[nodiscard]] Event parse(EventType expected);
  // Takes the next event only when it is a scalar; otherwise leaves the queue as it is.
  [[nodiscard]] std::optional<Scalar> tryScalar();
  // Returns a scalar taken by `tryScalar` to the front of the queue.
  void putBack(Scalar scalar);

 private:
  yaml_parser_t state_;
  std::deque<Event> events_;
  Registry& registry_;
  Position lastPosition_;
};

// Integer: a base-10 32-bit number without leading white space; double: the standard conversion
// (exponents, hexadecimal forms, inf and nan accepted); bool: true/yes/on/1, false/no/off/0 in any
// case. Other texts raise "Cannot convert '<text>' to 'int'." ('double', 'bool') with code 5; a
// number followed by further characters is stored before the error is raised.
Parser& operator>>(Parser& parser, int& value);
Parser& operator>>(Parser& parser, double& value);
Parser& operator>>(Parser& parser, bool& value);
// The next scalar's text, whatever its style.
Parser& operator>>(Parser& parser, std::string& value);

// A plain (or unspecified-style) scalar that is empty, "~" or "null" in any case empties the
// target; any other scalar, quoted ones among them, is read as a value. A non-scalar raises the
// code-4 error and leaves the target holding a zero value.
Parser& operator>>(Parser& parser, std::optional<int>& value);
Parser& operator>>(Parser& parser, std::optional<bool>& value);
Parser& operator>>(Parser& parser, std::optional<double>& value);
Parser& operator>>(Parser& parser, std::optional<std::string>& value);

// Read by the registry's agent for documentation views; without one raises "Registry agent
// required for 'nuv::View<const nuv::attr::AbstractDoc>'." with code 5 at `lastPosition()`.
Parser& operator>>(Parser& parser, View<const attr::AbstractDoc>& value);

}  // namespace nuv::yaml

#endif  // NUV_YAML_PARSER_HPP_
