// Text forms of numbers and booleans used by every message and by the YAML form of options.
//
// Integers are written in decimal, booleans as "1" and "0", doubles as "0" for either zero and
// otherwise in the general notation with the given number of significant digits ("1e+20",
// "0.3"). None of this depends on the process's global locale.
#ifndef NUV_TO_STRING_HPP_
#define NUV_TO_STRING_HPP_

#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>

namespace nuv {

template <class T>
std::string toString(T const& value);

template <>
std::string toString<bool>(bool const& value);
template <>
std::string toString<int>(int const& value);
template <>
std::string toString<long>(long const& value);
template <>
std::string toString<unsigned long>(unsigned long const& value);

// "0" for zero of either sign; otherwise the general notation with at most `precision`
// significant digits. Infinities and NaN come out as "inf", "-inf" and "nan".
std::string toString(double value, int precision);

// Reads "true", "yes", "on", "1" and "false", "no", "off", "0", without regard to case, into
// *out and returns true. Any other text, or a null out, returns false and leaves *out alone.
bool fromString(std::string_view text, bool* out);

template <class T>
bool isNegativeInfinity(T value) {
  return value < 0 && -value > std::numeric_limits<T>::max();
}

template <class T>
bool isPositiveInfinity(T value) {
  return value > 0 && value > std::numeric_limits<T>::max();
}

namespace detail {

// The text of a value inside a message: doubles with 15 significant digits.
template <class T>
std::string valueText(T value) {
  if constexpr (std::is_floating_point_v<T>) {
    return toString(static_cast<double>(value), 15);
  } else {
    return toString<T>(value);
  }
}

}  // namespace detail
}  // namespace nuv

#endif  // NUV_TO_STRING_HPP_
