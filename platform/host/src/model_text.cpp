#include "model_text.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "orla/vop_rec.hpp"

namespace qelhost {

ModelText::ModelText(std::string_view text, std::string file) : file_(std::move(file)) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines_.push_back(line);
    for (const char c : line) {
      const auto u = static_cast<unsigned char>(c);
      if ((u < 0x20 && c != '\t') || u == 0x7f) {
        char code[8];
        std::snprintf(code, sizeof code, "0x%02x", u);
        fail(lines_.size(), std::string("the control character ") + code + " is not allowed");
      }
    }
    start = end + 1;
  }
}

void ModelText::fail(std::size_t line, const std::string& what) const {
  std::string text = "cannot read '" + file_ + "': ";
  if (line != 0) text += "line " + std::to_string(line) + ": ";
  throw std::runtime_error(text + what);
}

double ModelText::number(std::size_t line, std::string_view text) const {
  const std::optional<double> value = parseNumber(text);
  if (!value) fail(line, quoted(text) + " is not a number, or out of range");
  return *value;
}

void ModelText::checkName(std::size_t line, std::string_view name) const {
  if (name.size() > kMaxNameLength) {
    fail(line, "the name " + quoted(name) + " is longer than " + std::to_string(kMaxNameLength) +
                   " characters");
  }
}

std::optional<double> parseNumber(std::string_view text) {
  std::string_view digits = text;
  if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) digits.remove_prefix(1);
  // from_chars would also take "inf" and "nan"; a number starts with a digit or a point.
  if (digits.empty() ||
      !(std::isdigit(static_cast<unsigned char>(digits.front())) || digits.front() == '.')) {
    return std::nullopt;
  }
  double value = 0.0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return text.front() == '-' ? -value : value;
}

double boundValue(double value) {
  if (value >= kInfiniteBound) return vopRec::kInfinity;
  if (value <= -kInfiniteBound) return -vopRec::kInfinity;
  return value;
}

std::string quoted(std::string_view text) {
  constexpr std::size_t kShown = 40;
  if (text.size() > kShown) return "'" + std::string(text.substr(0, kShown)) + "...'";
  return "'" + std::string(text) + "'";
}

std::vector<std::string_view> wordsOf(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t k = 0;
  while (true) {
    k = line.find_first_not_of(" \t", k);
    if (k == std::string_view::npos) break;
    std::size_t end = line.find_first_of(" \t", k);
    if (end == std::string_view::npos) end = line.size();
    words.push_back(line.substr(k, end - k));
    k = end;
  }
  return words;
}

void orderByWeight(vopRec::Set& set) {
  std::vector<std::size_t> order(set.columns.size());
  for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
  std::stable_sort(order.begin(), order.end(), [&set](std::size_t a, std::size_t b) {
    return set.weights[a] < set.weights[b];
  });
  std::vector<int> columns;
  std::vector<double> weights;
  for (const std::size_t k : order) {
    columns.push_back(set.columns[k]);
    weights.push_back(set.weights[k]);
  }
  set.columns = std::move(columns);
  set.weights = std::move(weights);
}

std::string lowerCased(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

}  // namespace qelhost
