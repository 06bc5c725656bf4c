// `nuv::attr::TypeCode`: the value type of a container, item or option description.
//
//   0 none (an empty type-erased handle), 1 double, 2 int, 3 unsigned 64-bit integer, 4 bool,
//   5 string, 6 nuv::math::Vector<double>, 7 nuv::math::Matrix<double>,
//   8 nuv::math::Symbol<double>
//
// `typeCodeOf<T>` gives the code of a value type; other types do not compile.
#ifndef NUV_ATTR_TYPE_CODE_HPP_
#define NUV_ATTR_TYPE_CODE_HPP_

#include <cstdint>
#include <string>
#include <type_traits>

namespace nuv::math {
template <class T>
class Vector;
template <class T>
class Matrix;
template <class T>
class Symbol;
}  // namespace nuv::math

namespace nuv::attr {

enum class TypeCode : std::uint8_t {
  kNone = 0,
  kDouble = 1,
  kInt = 2,
  kUnsigned64 = 3,
  kBool = 4,
  kString = 5,
  kVector = 6,
  kMatrix = 7,
  kSymbol = 8,
};

namespace detail {

template <class T>
struct TypeCodeOf;

template <TypeCode C>
using TypeCodeConstant = std::integral_constant<TypeCode, C>;

template <>
struct TypeCodeOf<double> : TypeCodeConstant<TypeCode::kDouble> {};
template <>
struct TypeCodeOf<int> : TypeCodeConstant<TypeCode::kInt> {};
template <>
struct TypeCodeOf<unsigned long> : TypeCodeConstant<TypeCode::kUnsigned64> {};
template <>
struct TypeCodeOf<bool> : TypeCodeConstant<TypeCode::kBool> {};
template <>
struct TypeCodeOf<std::string> : TypeCodeConstant<TypeCode::kString> {};
template <>
struct TypeCodeOf<math::Vector<double>> : TypeCodeConstant<TypeCode::kVector> {};
template <>
struct TypeCodeOf<math::Matrix<double>> : TypeCodeConstant<TypeCode::kMatrix> {};
template <>
struct TypeCodeOf<math::Symbol<double>> : TypeCodeConstant<TypeCode::kSymbol> {};

}  // namespace detail

template <class T>
inline constexpr TypeCode typeCodeOf = detail::TypeCodeOf<T>::value;

}  // namespace nuv::attr

#endif  // NUV_ATTR_TYPE_CODE_HPP_
