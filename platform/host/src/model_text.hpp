// What the MPS and LP readers share: a model file's text cut into lines, errors that name the
// file and the line, strict numbers and names.
#ifndef PLATFORM_HOST_SRC_MODEL_TEXT_HPP_
#define PLATFORM_HOST_SRC_MODEL_TEXT_HPP_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orla/vop_rec.hpp"

namespace qelhost {

// Longest name a reader accepts (rows, columns, objectives, sets, the model).
inline constexpr std::size_t kMaxNameLength = 255;
// A bound or right-hand side at or beyond this magnitude means infinity.
inline constexpr double kInfiniteBound = 1e20;

class ModelText {
 public:
  // Refuses text holding a control character other than tab, carriage return and line feed
  // (a NUL, say, would end a name early somewhere else).
  ModelText(std::string_view text, std::string file);

  // The lines without their ends ("\n" or "\r\n"); line k is numbered k + 1.
  [[nodiscard]] const std::vector<std::string_view>& lines() const { return lines_; }

  // Raises std::runtime_error "cannot read '<file>': line <line>: <what>" (no line when 0).
  [[noreturn]] void fail(std::size_t line, const std::string& what) const;

  // The text as a number: decimal digits with an optional sign, point and exponent; raises for
  // anything else (words such as "nan" or "inf" included) and for a number out of range.
  [[nodiscard]] double number(std::size_t line, std::string_view text) const;
  // Raises when the name is longer than kMaxNameLength.
  void checkName(std::size_t line, std::string_view name) const;

 private:
  std::string file_;
  std::vector<std::string_view> lines_;
};

// The text as a number (see ModelText::number), or nothing.
[[nodiscard]] std::optional<double> parseNumber(std::string_view text);

// The value as a bound: at or beyond ±kInfiniteBound it is ±infinity.
[[nodiscard]] double boundValue(double value);

// The text in quotes for a message, cut short when long.
[[nodiscard]] std::string quoted(std::string_view text);

// The whitespace-separated words of a line.
[[nodiscard]] std::vector<std::string_view> wordsOf(std::string_view line);

// Orders the set's columns by weight (keeping the order of equal weights), as solvers take them.
void orderByWeight(vopRec::Set& set);

// ASCII lower case.
[[nodiscard]] std::string lowerCased(std::string_view text);

}  // namespace qelhost

#endif  // PLATFORM_HOST_SRC_MODEL_TEXT_HPP_
