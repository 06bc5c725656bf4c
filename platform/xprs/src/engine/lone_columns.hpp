// Columns that no constraint holds. Such a column's best value depends on its own objective term
// and bounds alone, and Clp misjudges models that hold one whose term improves without limit: its
// simplex methods call them infeasible, or optimal at a point off the column's bounds. So a run
// settles these columns before an engine sees the model, as a presolve would: each is fixed
// where its objective term is best, and a column whose term improves without limit makes a model
// that has a point at all unbounded.
#ifndef XPRS_LONE_COLUMNS_HPP_
#define XPRS_LONE_COLUMNS_HPP_

#include <vector>

#include "engine/engine.hpp"
#include "engine/indicators.hpp"

namespace xprs::standin {

// The columns a run settled, with the bounds they had.
struct LoneColumns {
  struct Column {
    int col = 0;
    double lb = 0.0;
    double ub = 0.0;
  };
  std::vector<Column> settled;
  // A column along which the objective improves without limit, or -1.
  int unbounded = -1;
};

// Fixes every column of e that has no entry in a row with a finite side (of e, or of the big-M
// rows of indicators when given), no quadratic term, and is no set member, indicator column,
// semi-continuous or partial integer column of m, and in no formula. Each is fixed at the bound
// its objective term (e.obj times e.sense, minimised) prefers; where that bound is infinite, at
// its other bound (or 0) and recorded as unbounded; with no objective term, at the value of its
// bounds nearest 0. Integer columns take integral values (their bounds rounded inward).
[[nodiscard]] LoneColumns settleLoneColumns(EngineModel& e, const ModelRecord& m,
                                            const IndicatorForm* indicators);

// The basis code of a settled column at x: at the bound it was fixed at, else free.
[[nodiscard]] int settledBasis(const LoneColumns::Column& c, double x);

}  // namespace xprs::standin

#endif  // XPRS_LONE_COLUMNS_HPP_
