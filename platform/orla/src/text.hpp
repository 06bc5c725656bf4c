// Number parsing and printing for option values and trace lines: whole texts only, independent
// of the locale.
#ifndef ORLA_SRC_TEXT_HPP_
#define ORLA_SRC_TEXT_HPP_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orla::detail {

// The number the whole text spells, or nothing (also for NaN and for values out of range).
[[nodiscard]] std::optional<int> parseInt(std::string_view text);
[[nodiscard]] std::optional<std::uint64_t> parseUnsigned(std::string_view text);
[[nodiscard]] std::optional<double> parseDouble(std::string_view text);
// 0/1, true/false, yes/no, on/off in any case.
[[nodiscard]] std::optional<bool> parseBool(std::string_view text);

// 15 significant digits, shortest form ("1e+20", "-464.753142857143", "inf").
[[nodiscard]] std::string formatDouble(double value);

[[nodiscard]] std::string lowerCased(std::string_view text);

}  // namespace orla::detail

#endif  // ORLA_SRC_TEXT_HPP_
