// Precondition checks that raise `nuv::CheckException` with the framework's message forms.
//
// Nothing is formatted while a check holds; the message is composed only after it failed. Each
// comparison takes the subject's name, its value, the other side and, optionally, the other
// side's name (an empty name shows the other side as a plain value):
//
//   checkGreaterOrEqual("size", size, 0);          // 'size' (which is -1) must be greater or equal
//   to 0. checkGreaterOrEqual("indices.first()", f, mx, "max()");
#ifndef NUV_CHECK_HPP_
#define NUV_CHECK_HPP_

#include <source_location>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "nuv/exception.hpp"

namespace nuv {
namespace detail {

// Integers of mixed signedness compare by value; everything else with the built-in operators
// (so a NaN fails every comparison).
template <class T, class U>
constexpr bool comparesByValue = std::is_integral_v<T>&& std::is_integral_v<U> &&
                                 !std::is_same_v<T, bool> && !std::is_same_v<U, bool>;

template <class T, class U>
constexpr bool isEqual(T a, U b) {
  if constexpr (comparesByValue<T, U>)
    return std::cmp_equal(a, b);
  else
    return a == b;
}
template <class T, class U>
constexpr bool isLess(T a, U b) {
  if constexpr (comparesByValue<T, U>)
    return std::cmp_less(a, b);
  else
    return a < b;
}
template <class T, class U>
constexpr bool isLessOrEqual(T a, U b) {
  if constexpr (comparesByValue<T, U>)
    return std::cmp_less_equal(a, b);
  else
    return a <= b;
}
template <class T, class U>
constexpr bool isGreater(T a, U b) {
  if constexpr (comparesByValue<T, U>)
    return std::cmp_greater(a, b);
  else
    return a > b;
}
template <class T, class U>
constexpr bool isGreaterOrEqual(T a, U b) {
  if constexpr (comparesByValue<T, U>)
    return std::cmp_greater_equal(a, b);
  else
    return a >= b;
}

}  // namespace detail

// "'condition' must be true."
inline void checkTrue(bool condition, std::string_view conditionText,
                      std::source_location location = std::source_location::current()) {
  if (condition) return;
  std::string message;
  message.append("'").append(conditionText).append("' must be true.");
  throw CheckException::failedTrue(std::move(message), {}, location);
}

template <class P>
void checkNotNull(const P& pointer, std::string_view name,
                  std::source_location location = std::source_location::current()) {
  if (pointer != nullptr) return;
  throw CheckException::failedNotNull(detail::checkNotNullMessage(name), {}, location);
}

template <class T, class U>
void checkEqual(std::string_view name, T value, U other, std::string_view otherName = {},
                std::source_location location = std::source_location::current()) {
  if (detail::isEqual(value, other)) return;
  throw CheckException::failedEqualTo(
      detail::checkCompareMessage(name, value, "equal to", other, otherName), {}, location);
}

template <class T, class U>
void checkLess(std::string_view name, T value, U other, std::string_view otherName = {},
               std::source_location location = std::source_location::current()) {
  if (detail::isLess(value, other)) return;
  throw CheckException(detail::checkCompareMessage(name, value, "less than", other, otherName),
                       CheckException::Codes::kLessThan, {}, location);
}

template <class T, class U>
void checkLessOrEqual(std::string_view name, T value, U other, std::string_view otherName = {},
                      std::source_location location = std::source_location::current()) {
  if (detail::isLessOrEqual(value, other)) return;
  throw CheckException::failedLessOrEqualTo(
      detail::checkCompareMessage(name, value, "less or equal to", other, otherName), {}, location);
}

template <class T, class U>
void checkGreater(std::string_view name, T value, U other, std::string_view otherName = {},
                  std::source_location location = std::source_location::current()) {
  if (detail::isGreater(value, other)) return;
  throw CheckException(detail::checkCompareMessage(name, value, "greater than", other, otherName),
                       CheckException::Codes::kGreaterThan, {}, location);
}

template <class T, class U>
void checkGreaterOrEqual(std::string_view name, T value, U other, std::string_view otherName = {},
                         std::source_location location = std::source_location::current()) {
  if (detail::isGreaterOrEqual(value, other)) return;
  throw CheckException::failedGreaterOrEqualTo(
      detail::checkCompareMessage(name, value, "greater or equal to", other, otherName), {},
      location);
}

}  // namespace nuv

#endif  // NUV_CHECK_HPP_
