#include "nuv/yaml/parser.hpp"

#include <cctype>
#include <cstring>
#include <exception>
#include <utility>

#include "nuv/to_string.hpp"

namespace nuv::yaml {
namespace {

constexpr int kReadAhead = 10;

ParserException::Codes parserCode(yaml_error_type_t error) {
  // libyaml numbers its errors differently (a scanner error comes between reader and parser).
  switch (error) {
    case YAML_MEMORY_ERROR:
      return ParserException::Codes::kMemory;
    case YAML_READER_ERROR:
      return ParserException::Codes::kReader;
    case YAML_PARSER_ERROR:
      return ParserException::Codes::kParser;
    default:
      return ParserException::Codes::kOther;
  }
}

[[noreturn]] void throwConversion(const Event& event, std::string_view text,
                                  std::string_view typeName) {
  std::string message("Cannot convert '");
  message.append(text).append("' to '").append(typeName).append("'.");
  throw ParserException(std::move(message), event.start(), event.end(),
                        ParserException::Codes::kConversion, {});
}

// Accepts a number only when the whole text is consumed; a number followed by other characters
// is stored before the error is raised. `convert` is std::stoi or std::stod.
template <class T, class Convert>
void readNumber(Parser& parser, T& value, std::string_view typeName, Convert convert) {
  const Scalar scalar(parser.parse(EventType::Scalar));
  const std::string text(scalar.text());
  bool whole = false;
  // The standard conversions skip leading white space; the text must not start with it.
  if (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())) == 0) {
    try {
      std::size_t used = 0;
      value = convert(text, &used);
      whole = used == text.size();
    } catch (const std::exception&) {
      whole = false;
    }
  }
  if (!whole) throwConversion(scalar, text, typeName);
}

template <class T>
Parser& readOptional(Parser& parser, std::optional<T>& value) {
  std::optional<Scalar> scalar = parser.tryScalar();
  if (scalar && scalar->isNull()) {
    value.reset();
    return parser;
  }
  if (scalar) parser.putBack(std::move(*scalar));
  value.emplace();
  return parser >> *value;
}

template <class T>
Parser& readWithAgent(Parser& parser, T& value) {
  const std::shared_ptr<Registry::AbstractAgent<T>> agent = parser.registry().template find<T>();
  if (!agent) {
    std::string message("Registry agent required for '");
    message.append(impl::wrappedTypeName<T>()).append("'.");
    throw ParserException(std::move(message), parser.lastPosition(), parser.lastPosition(),
                          ParserException::Codes::kConversion, {});
  }
  agent->read(parser, value);
  return parser;
}

}  // namespace

Parser::Parser(Registry& registry, Position lastPosition) noexcept
    : events_(), registry_(registry), lastPosition_(lastPosition) {
  // The creator initialises the libyaml state; until then it holds nothing to release.
  std::memset(&state_, 0, sizeof state_);
}

Parser::~Parser() = default;

void Parser::rawParse() {
  for (int i = 0; i < kReadAhead; ++i) {
    Event event;
    if (yaml_parser_parse(&state_, event.raw()) == 0) {
      throw ParserException(state_.problem != nullptr ? state_.problem : "Unknown libyaml error",
                            Position::fromMark(state_.context_mark),
                            Position::fromMark(state_.problem_mark), parserCode(state_.error), {});
    }
    const EventType type = event.type();
    events_.push_back(std::move(event));
    if (type == EventType::StreamEnd || type == EventType::DocumentEnd) return;
  }
}

Event Parser::parse(EventType expected) {
  if (events_.empty()) rawParse();
  Event event = std::move(events_.front());
  events_.pop_front();
  lastPosition_ = event.end();
  if (event.type() != expected) {
    std::string message("Expected event '");
    message.append(nuv::toString(expected)).append("', but is '");
    message.append(nuv::toString(event.type())).append("'");
    throw ParserException(std::move(message), event.start(), event.end(),
                          ParserException::Codes::kEventType, {});
  }
  return event;
}

std::optional<Scalar> Parser::tryScalar() {
  if (events_.empty()) rawParse();
  if (events_.front().type() != EventType::Scalar) return std::nullopt;
  Scalar scalar(std::move(events_.front()));
  events_.pop_front();
  lastPosition_ = scalar.end();
  return scalar;
}

void Parser::putBack(Scalar scalar) { events_.push_front(std::move(scalar)); }

Parser& operator>>(Parser& parser, int& value) {
  readNumber(parser, value, "int",
             [](const std::string& text, std::size_t* used) { return std::stoi(text, used, 10); });
  return parser;
}

Parser& operator>>(Parser& parser, double& value) {
  readNumber(parser, value, "double",
             [](const std::string& text, std::size_t* used) { return std::stod(text, used); });
  return parser;
}

Parser& operator>>(Parser& parser, bool& value) {
  const Scalar scalar(parser.parse(EventType::Scalar));
  if (!nuv::fromString(scalar.text(), &value)) throwConversion(scalar, scalar.text(), "bool");
  return parser;
}

Parser& operator>>(Parser& parser, std::string& value) {
  const Scalar scalar(parser.parse(EventType::Scalar));
  value.assign(scalar.text());
  return parser;
}

Parser& operator>>(Parser& parser, std::optional<int>& value) {
  return readOptional(parser, value);
}

Parser& operator>>(Parser& parser, std::optional<bool>& value) {
  return readOptional(parser, value);
}

Parser& operator>>(Parser& parser, std::optional<double>& value) {
  return readOptional(parser, value);
}

Parser& operator>>(Parser& parser, std::optional<std::string>& value) {
  return readOptional(parser, value);
}

Parser& operator>>(Parser& parser, View<const attr::AbstractDoc>& value) {
  return readWithAgent(parser, value);
}

}  // namespace nuv::yaml
