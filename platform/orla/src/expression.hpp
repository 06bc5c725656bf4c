// Host expressions on their way into the solver: postfix tokens become one framework
// expression, calls become calls of the functions below, found by their tags.
//
// The functions are the two-argument "nuv:function:basic:Add", "Subtract", "Multiply",
// "Divide" and "nuv:function:exponential:Power", "PowerConst" and "Power0" (each the first
// argument raised to the second); the variadic "nuv:function:basic:Min" and "Max" (one or more
// arguments); and the one-argument "Negate", "Abs", "Sign" (basic), "Sin", "Cos", "Tan",
// "ArcSin", "ArcCos", "ArcTan" (trigonometric), "Square", "Exp", "Errf", "ErrfCompl", "Log",
// "Log10" and "SquareRoot" (exponential). Each evaluates numeric arguments.
#ifndef ORLA_SRC_EXPRESSION_HPP_
#define ORLA_SRC_EXPRESSION_HPP_

#include <cstdint>
#include <span>
#include <string_view>

#include "nuv/math/symbol.hpp"
#include "orla/vop_rec.hpp"

namespace nuv::math::fn {
template <class T>
class Abstract;
}  // namespace nuv::math::fn

namespace orla::detail {

// The function with this tag, a long-lived object, or null.
[[nodiscard]] const nuv::math::fn::Abstract<double>* functionByTag(std::string_view tag);

// The tokens as one Expression symbol. A column token j becomes the variable columns[j] of the
// variable adder `owner`. Raises LinkError, naming `what`, for a column outside columns, an
// unknown function, a Min or Max call without arguments, and tokens that do not leave exactly
// one value.
[[nodiscard]] nuv::math::Symbol<double> expressionSymbol(std::span<const vopRec::Token> tokens,
                                                         std::span<const int> columns,
                                                         std::uint64_t owner,
                                                         std::string_view what);

}  // namespace orla::detail

#endif  // ORLA_SRC_EXPRESSION_HPP_
