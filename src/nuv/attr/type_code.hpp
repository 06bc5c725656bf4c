// `nuv::attr::TypeCode`: the value-type code that containers, items and option descriptions
// report through `type()`.
#ifndef NUV_ATTR_TYPE_CODE_HPP_
#define NUV_ATTR_TYPE_CODE_HPP_

#include <cstdint>
#include <string>

namespace nuv::attr {

enum class TypeCode : int {
  kNone = 0,
  kDouble = 1,
  kInt = 2,
  kUInt64 = 3,
  kBool = 4,
  kString = 5,
  kVector = 6,
  kMatrix = 7,
  kSymbol = 8,
};

// The code of a plain value type.
template <class T>
inline constexpr TypeCode typeCodeOf = TypeCode::kNone;
template <>
inline constexpr TypeCode typeCodeOf<double> = TypeCode::kDouble;
template <>
inline constexpr TypeCode typeCodeOf<int> = TypeCode::kInt;
template <>
inline constexpr TypeCode typeCodeOf<std::uint64_t> = TypeCode::kUInt64;
template <>
inline constexpr TypeCode typeCodeOf<bool> = TypeCode::kBool;
template <>
inline constexpr TypeCode typeCodeOf<std::string> = TypeCode::kString;

}  // namespace nuv::attr

#endif  // NUV_ATTR_TYPE_CODE_HPP_
