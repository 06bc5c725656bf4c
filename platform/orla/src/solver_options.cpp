#include "solver_options.hpp"

#include <fstream>
#include <optional>
#include <string_view>

#include "link_error.hpp"
#include "nuv/attr/abstract_item_dict.hpp"
#include "nuv/attr/base_item.hpp"
#include "nuv/attr/item.hpp"
#include "nuv/attr/type_code.hpp"
#include "text.hpp"

namespace orla::detail {
namespace {

std::string quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

std::string shown(int value) { return std::to_string(value); }
std::string shown(unsigned long value) { return std::to_string(value); }
std::string shown(double value) { return formatDouble(value); }
std::string shown(bool value) { return value ? "1" : "0"; }
std::string shown(const std::string& value) { return quoted(value); }

template <class T, class Parse>
void setTyped(const nuv::attr::BaseItem& base, const vopRec::Option& option, Parse parse,
              std::string_view expected) {
  const std::optional<T> value = parse(option.value);
  if (!value) {
    throw LinkError("option " + quoted(option.name) + " takes " + std::string(expected) + ", not " +
                    quoted(option.value));
  }
  nuv::attr::Item<T> item(base);
  const std::optional<T> accepted = item.supportsValue(*value);
  if (!accepted) {
    throw LinkError("value " + quoted(option.value) + " is not accepted for option " +
                    quoted(option.name));
  }
  if (*accepted != *value) {
    throw LinkError("value " + quoted(option.value) + " is out of range for option " +
                    quoted(option.name) + " (the nearest accepted value is " + shown(*accepted) +
                    ")");
  }
  item.set(*accepted, 0);
}

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

}  // namespace

void setOption(const nuv::attr::AbstractItemDict& dictionary, const vopRec::Option& option) {
  const std::string_view name = option.name;
  if (!dictionary.contains(name)) throw LinkError("unknown option " + quoted(name));
  const nuv::attr::BaseItem item = dictionary[name];
  if (item.empty() || !item.supportsSet()) {
    throw LinkError("option " + quoted(name) + " cannot be set");
  }
  using nuv::attr::TypeCode;
  switch (item.typeCode()) {
    case TypeCode::kInt:
      setTyped<int>(item, option, parseInt, "a whole number");
      return;
    case TypeCode::kDouble:
      setTyped<double>(item, option, parseDouble, "a number");
      return;
    case TypeCode::kUnsigned64:
      setTyped<unsigned long>(item, option, parseUnsigned, "a whole number of at least 0");
      return;
    case TypeCode::kBool:
      setTyped<bool>(item, option, parseBool, "0 or 1");
      return;
    case TypeCode::kString:
      setTyped<std::string>(
          item, option, [](const std::string& text) { return std::optional<std::string>(text); },
          "a text");
      return;
    default:
      throw LinkError("option " + quoted(name) + " has a type this host link cannot set");
  }
}

std::vector<vopRec::Option> readOptionFile(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw LinkError("cannot read the option file " + quoted(path));
  std::vector<vopRec::Option> options;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    const std::string_view text = trimmed(line);
    if (text.empty() || text.front() == '#') continue;
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) {
      throw LinkError("option file " + quoted(path) + ", line " + std::to_string(number) +
                      ": expected name=value");
    }
    options.push_back({std::string(trimmed(text.substr(0, equals))),
                       std::string(trimmed(text.substr(equals + 1)))});
  }
  return options;
}

}  // namespace orla::detail
