// Checked numeric casts: the range is tested before converting; a value that does not fit raises
// a plain `nuv::Exception` titled "Cast Error", for example
//   Cast Error: Cannot cast -1 from 'int' to 'long unsigned int'.
#ifndef NUV_NUM_CAST_HPP_
#define NUV_NUM_CAST_HPP_

#include <limits>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "nuv/exception.hpp"
#include "nuv/to_string.hpp"

namespace nuv {
namespace detail {

template <class T>
constexpr std::string_view castTypeName() {
  if constexpr (std::is_same_v<T, int>) {
    return "int";
  } else if constexpr (std::is_same_v<T, unsigned long>) {
    return "long unsigned int";
  } else if constexpr (std::is_same_v<T, long>) {
    return "long int";
  } else {
    static_assert(std::is_same_v<T, void>, "numCast supports int, long and unsigned long");
  }
}

template <class To, class From>
[[noreturn]] void throwCastError(From value) {
  std::string message = "Cannot cast ";
  message.append(toString<From>(value)).append(" from '").append(castTypeName<From>());
  message.append("' to '").append(castTypeName<To>()).append("'.");
  throw Exception("Cast Error", std::move(message), std::nullopt, {});
}

}  // namespace detail

// Converts between integer types, raising "Cast Error" when the value does not fit.
template <class To, class From>
To numCast(From value) {
  static_assert(std::is_integral_v<To> && std::is_integral_v<From>);
  if (!std::in_range<To>(value)) detail::throwCastError<To, From>(value);
  return static_cast<To>(value);
}

}  // namespace nuv

#endif  // NUV_NUM_CAST_HPP_
