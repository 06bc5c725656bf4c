// Reading an MPS file, fixed or free form, into the host's model record.
//
// Sections: NAME, OBJSENSE (MAX or MIN, on its line or the next), ROWS, COLUMNS (with the
// 'MARKER' lines 'INTORG' and 'INTEND'), RHS, RANGES, BOUNDS, SOS, and a quadratic objective in
// QUADOBJ or QMATRIX, then ENDATA; each at most once and in this order. The quadratic section
// may also follow ENDATA in a block of its own ("NAME ..., QUADOBJ, ..., ENDATA"). Fields are
// separated by blanks, so names hold none.
//
// Meanings:
//   - The first word after NAME names the model; the rest of that line is a title, not kept.
//   - The first N row is the objective; a right-hand side r on it makes the objective c'x - r.
//     Further N rows are free rows and are left out, with their entries.
//   - A range R makes an L row [rhs - |R|, rhs], a G row [rhs, rhs + |R|], an E row
//     [rhs, rhs + R] for R >= 0 and [rhs + R, rhs] otherwise.
//   - Bounds UP, LO, FX, FR, MI, PL, BV, LI, UI and SC. An UP bound below 0 on a column whose
//     lower bound is 0 also makes the lower bound -infinity. An SC bound makes the column
//     semi-continuous (semi-integer if it is integer) with that upper bound (infinity when
//     it is 0 or absent). A column between integer markers that no BOUNDS line names is binary;
//     one that a BOUNDS line names starts from [0, infinity). A later bound replaces an earlier
//     one of the same side. A value on an FR, MI, PL or BV line is allowed and not used (a
//     third word is that value when it is a number that names no column).
//   - A bound or right-hand side at or beyond 1e20 in magnitude is infinite; a lower bound of
//     +infinity or an upper bound of -infinity is refused.
//   - Sets: a header "S1|S2 [SOS] name [priority]" and lines "column [weight]"; a missing weight
//     is the column's position in the set, from 0. Members are ordered by weight; the
//     priority is not kept.
//   - QUADOBJ and QMATRIX give Q of c'x + 1/2 x'Qx, a line holding a column and one or two
//     pairs of column and value; an entry (i, j) sets Q_ij and Q_ji, so a section may list one
//     triangle or both, but not two values for one pair.
// Refused, with the line: unknown or unsupported sections (QSECTION, QCMATRIX, CSECTION,
// INDICATORS, ...), unknown rows and columns, a name given twice, a second value for the same
// row and column (or right-hand side, range), a second RHS, RANGES or BOUNDS set, numbers that
// are not plain decimals (NaN, Inf), names longer than 255 characters and anything after
// ENDATA.
#ifndef PLATFORM_HOST_SRC_MPS_READER_HPP_
#define PLATFORM_HOST_SRC_MPS_READER_HPP_

#include <string>
#include <string_view>

#include "orla/vop_rec.hpp"

namespace qelhost {

// Raises std::runtime_error naming the file (as given), the line and what is wrong.
[[nodiscard]] vopRec readMps(std::string_view text, const std::string& file);

}  // namespace qelhost

#endif  // PLATFORM_HOST_SRC_MPS_READER_HPP_
