// Reading an LP file (the CPLEX-like text format CoinUtils writes) into the host's model record.
//
//   Minimize | Maximize         (also Min, Max)
//    obj: 3 x + 2 y - 4.5 z + 1 a constant once; a second "name:" starts a second objective
//   Subject To                  (also st, s.t., st.)
//    c1: x + y - z <= 4         relations <=, >= and =; the right side a number
//    x + z >= -inf              or +-inf; an unnamed row k (from 0) is named "cons<k>"
//   Bounds
//    x <= 10                    x >= v, x = v, v <= x, v >= x, v <= x <= w, x free
//    -5 <= y <= 5
//   Generals | Integers         columns, integer
//   Binaries                    columns, integer with bounds within [0, 1]
//   Semi-continuous | Semis     columns, 0 or within their bounds, the upper one finite (the
//                               MPS reader's SC bound); also Semi
//   SOS                         (the sections after Subject To are optional; Generals,
//                               Binaries and Semi-continuous may come in any order)
//    s1: S1:: x:1 z:2           a set of type 1 or 2 with weights (members are ordered by
//                               weight); the name is optional
//   End
//
// Blanks separate words except around + - : and the relations; '\' starts a comment, and so does
// '/' at the start of a line or after a blank; keywords are not case sensitive and cannot be
// names. Meanings, as CoinUtils' reader gives them: a column first named in Bounds or a later
// section is added after the others; a later bound replaces an earlier one of the same side;
// the objective keeps explicit zeros out, rows keep them; a bound or right-hand side at or beyond
// 1e20 in magnitude is infinite, and a lower bound of +infinity or an upper bound of -infinity is
// refused.
// Refused, with the line: a semi-continuous column without a finite upper bound or that is also
// integer (semi-integer), quadratic terms, more than two objectives, a second term for the same
// column in a row or objective, a constant on a row's left side, ranged rows written in one line
// ("a <= expr <= b"), a row name given twice, unknown columns in sets, numbers that are not plain
// decimals (NaN), names longer than 255 characters, a missing End and anything after it.
#ifndef PLATFORM_HOST_SRC_LP_READER_HPP_
#define PLATFORM_HOST_SRC_LP_READER_HPP_

#include <string>
#include <string_view>

#include "orla/vop_rec.hpp"

namespace qelhost {

// Raises std::runtime_error naming the file (as given), the line and what is wrong.
[[nodiscard]] vopRec readLp(std::string_view text, const std::string& file);

}  // namespace qelhost

#endif  // PLATFORM_HOST_SRC_LP_READER_HPP_
