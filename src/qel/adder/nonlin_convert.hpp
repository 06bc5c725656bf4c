// The conversion of a framework expression into an Xpress formula in parsed (reverse-Polish)
// form, for the nonlinear adders. Internal to the adders.
//
// Each symbol becomes tokens, appended to two parallel arrays (token types and values):
//   Variable of this solver's variable adder  (10, column)
//   Numeric number                            (1, the number)
//   Expression                                its own symbols, converted in place
//   call of a function in qel::supported_functions:
//     addition, multiplication, Min, Max      k - 1 tokens of the function for k arguments
//     subtraction, division                   k - 2 additions (multiplications), then one
//                                             subtraction (division): (u1 - u2) - u3 reads
//                                             u1 u2 u3 + -
//     Square                                  (1, 2.0) (31, 2.0): the power 2
//     any other                               one token of the function
//   x a b linear (VectorOfVariables, numeric vector, number, call of the linear function)
//                                             (10, w) for a new column w, bound to a·x + b by a
//                                             new equality row a·x - w = -b
// A built-in function (token type 12) gets an argument marker (22, 0.0) before the first token of
// its arguments; Min and Max get k - 1 of them, one per token they emit. The formula ends with
// the end token (0, 0.0).
//
//   Sin(x + ArcTan(y)):  (22) (10, x) (22) (10, y) (12, 32) (31, 5) (12, 27) (0)
//
// The column and row of a linear function are added to Xpress and registered in the record like
// the host's own variables and linear rows, in the order the functions appear.
#ifndef QEL_ADDER_NONLIN_CONVERT_HPP_
#define QEL_ADDER_NONLIN_CONVERT_HPP_

#include <span>
#include <vector>

#include "nuv/math/expression.hpp"

namespace qel {
class Data;
}  // namespace qel

namespace qel::detail {

// Appends the formula of expression to *types and *values. The caller holds data->mutex and the
// problem is started. Raises nuv::opt::SupportException with the message
//   "Input expression contains unsupported variable." for a variable, or the variables of a
//       linear function, of another variable adder, and for a linear coefficient whose position
//       lies outside its variables;
//   "Function not supported: " and the tag for a function missing from the table (the linear
//       function outside the shape above included), a call without arguments, and a call whose
//       arguments are not all found in this formula's tokens;
//   "Expression contains unsupported symbol: " and the kind's name (Symbol::name()) for any
//       other kind, with " (only as argument of linear function)" after "VectorOfVariables".
// Nothing is undone on failure: tokens, columns and rows already added stay.
void nonlinConvert(Data* data, std::vector<int>* types, std::vector<double>* values,
                   nuv::math::ExpressionView<double> expression);

// Converts expressions[k] into the formula of row rows[k] (both spans of one length), in order,
// then hands all formulas to Xpress in one XPRSnlpaddformulas call. Raises what nonlinConvert
// raises, before any formula reaches Xpress (the linear functions already converted stay). The
// caller holds data->mutex and the problem is started.
void addFormulas(Data* data, std::span<const int> rows,
                 std::span<const nuv::math::ExpressionView<double>> expressions);

}  // namespace qel::detail

#endif  // QEL_ADDER_NONLIN_CONVERT_HPP_
