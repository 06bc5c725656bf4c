#include "nuv/to_string.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <locale>
#include <sstream>

namespace nuv {
namespace {

template <class T>
std::string integerText(T value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace

template <>
std::string toString<bool>(bool const& value) {
  return value ? "1" : "0";
}

template <>
std::string toString<int>(int const& value) {
  return integerText(value);
}

template <>
std::string toString<long>(long const& value) {
  return integerText(value);
}

template <>
std::string toString<unsigned long>(unsigned long const& value) {
  return integerText(value);
}

std::string toString(double value, int precision) {
  if (value == 0) return "0";
  // A fresh stream with the classic locale: a host that set its own global locale must still see
  // "0.5", never "0,5".
  std::ostringstream stream;
  stream.imbue(std::locale::classic());
  stream.precision(precision);
  stream << value;
  return std::move(stream).str();
}

bool fromString(std::string_view text, bool* out) {
  if (text.empty() || out == nullptr) return false;
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (lower == "true" || lower == "yes" || lower == "on" || lower == "1") {
    *out = true;
    return true;
  }
  if (lower == "false" || lower == "no" || lower == "off" || lower == "0") {
    *out = false;
    return true;
  }
  return false;
}

}  // namespace nuv
