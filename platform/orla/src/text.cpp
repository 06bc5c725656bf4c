#include "text.hpp"

#include <charconv>
#include <cmath>
#include <locale>
#include <sstream>
#include <system_error>

namespace orla::detail {
namespace {

template <class T>
std::optional<T> parseWhole(std::string_view text) {
  T value{};
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

}  // namespace

std::optional<int> parseInt(std::string_view text) { return parseWhole<int>(text); }

std::optional<std::uint64_t> parseUnsigned(std::string_view text) {
  return parseWhole<std::uint64_t>(text);
}

std::optional<double> parseDouble(std::string_view text) {
  // from_chars does not take a leading '+'.
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  const auto value = parseWhole<double>(text);
  if (!value || std::isnan(*value)) return std::nullopt;
  return value;
}

std::optional<bool> parseBool(std::string_view text) {
  const std::string lower = lowerCased(text);
  if (lower == "1" || lower == "true" || lower == "yes" || lower == "on") return true;
  if (lower == "0" || lower == "false" || lower == "no" || lower == "off") return false;
  return std::nullopt;
}

std::string formatDouble(double value) {
  std::ostringstream out;
  out.imbue(std::locale::classic());
  out.precision(15);
  out << value;
  return out.str();
}

std::string lowerCased(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

}  // namespace orla::detail
