// Basis statuses between Clp and Xpress. Clp describes a row by its activity; Xpress by its
// slack s = rhs - activity, whose bounds follow the row type: 'L' [0, inf), 'G' (-inf, 0],
// 'E' [0, 0], 'R' [0, |range|], 'N' free. A binding 'L' row thus has its slack at the lower
// bound, a binding 'G' row at the upper bound, and a range row at its rhs end at the lower
// bound, at its rhs - range end at the upper bound.
#ifndef XPRS_BASIS_MAP_HPP_
#define XPRS_BASIS_MAP_HPP_

#include <coin/ClpSimplex.hpp>

namespace xprs::standin {

[[nodiscard]] int colStatusToXprs(ClpSimplex::Status s);
[[nodiscard]] int rowStatusToXprs(ClpSimplex::Status s, char type);
// A status at an infinite bound takes the finite one; with neither, the variable is free.
[[nodiscard]] ClpSimplex::Status colStatusToClp(int s, double lb, double ub);
// The reverse of rowStatusToXprs. A slack status at an infinite bound ('G' at lower, 'L' at
// upper) takes the row's one finite end.
[[nodiscard]] ClpSimplex::Status rowStatusToClp(int s, char type);

}  // namespace xprs::standin

#endif  // XPRS_BASIS_MAP_HPP_
