// The problem as XPRSwriteprob writes it: the model record, exactly as it is held, as a free-form
// MPS file or as an LP file.
//
// MPS: NAME, OBJSENSE (only for a maximisation), ROWS (the objective first, as an N row),
// COLUMNS (integer and semi-integer columns between 'INTORG' and 'INTEND' markers; a column with
// no entry gets an explicit zero on the objective row, so that it exists), RHS (the objective
// constant as the objective row's right-hand side r of c'x - r), RANGES, BOUNDS, SOS, QUADOBJ,
// QCMATRIX, INDICATORS, ENDATA. Bounds take their plain forms: no value after FR, MI and PL, no
// BV; a semi-continuous or semi-integer column is an SC bound carrying the upper bound (1e+30 when
// it is infinite) and a LO bound carrying the limit. QUADOBJ lists one triangle of the Q of
// c'x + 1/2 x'Qx, one entry per line; each QCMATRIX lists its row's x'Qx in both triangles.
//
// LP: Minimize or Maximize; the objective names every column in column order (with a zero where
// it has none, so that every column exists and the order is kept) and ends with the constant;
// Subject To; Bounds; Generals (integer and binary columns); Semi-continuous (limit <= x <= up);
// SOS; End.
//
// Refused, naming what is refused: formulas, several objectives, partial integer columns, and
// names a format cannot hold (blanks, two rows or two columns of one name); in LP files also a
// quadratic objective, quadratic rows, indicator rows, ranged rows, semi-integer columns,
// semi-continuous columns without a finite upper bound, and names that are keywords or are not
// LP names.
#ifndef XPRS_API_MODEL_WRITER_HPP_
#define XPRS_API_MODEL_WRITER_HPP_

#include <string>

#include "xprs_standin/records.hpp"

namespace xprs::standin {

enum class ModelFormat { kMps, kLp };

// The text of m in the format. Raises ApiError naming what the format cannot hold.
[[nodiscard]] std::string modelText(const ModelRecord& m, ModelFormat format);

}  // namespace xprs::standin

#endif  // XPRS_API_MODEL_WRITER_HPP_
