#include "nuv/yaml/parser_exception.hpp"

#include <cctype>
#include <utility>

namespace nuv::yaml {

ParserException::ParserException(std::string message, Position start, Position at, Codes code,
                                 std::string_view traceEntry, std::source_location location)
    : nuv::Exception("YAML Parser Error", buildMessage(std::move(message), start, at),
                     static_cast<int>(code), traceEntry, location),
      start_(start),
      at_(at) {}

std::string ParserException::buildMessage(std::string message, const Position& start,
                                          const Position& at) {
  const auto isBlank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  std::size_t first = 0;
  while (first < message.size() && isBlank(message[first])) ++first;
  std::size_t last = message.size();
  while (last > first && isBlank(message[last - 1])) --last;
  message = message.substr(first, last - first);
  if (!message.empty() && message.back() == '.') message.pop_back();
  message.append(" (at: ").append(toString(at));
  if (start != at) message.append("; start at: ").append(toString(start));
  message.append(").");
  return message;
}

std::string ParserException::toString(const Position& position) {
  std::string text("line ");
  text.append(nuv::toString<unsigned long>(position.line));
  text.append(", col ").append(nuv::toString<unsigned long>(position.column));
  return text;
}

}  // namespace nuv::yaml
