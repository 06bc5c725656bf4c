// Indicator rows for the MIP engine, which has no indicator constraints of its own. A row that
// must hold only when its binary column takes a given value becomes one big-M row per finite
// side: with the row's activity bounded by its column bounds, the side is relaxed by exactly as
// much as the activity could ever pass it whenever the column takes the other value.
//
//   a'x <= u  while b = 1   becomes   a'x + M b <= u + M,   M = max a'x - u
//   a'x >= l  while b = 0   becomes   a'x + M b >= l,       M = l - min a'x
//
// A side the activity can never pass needs no row. The original row stays in the engine's model
// as a free row, so that its activity (and the slack derived from it) is still measured.
#ifndef XPRS_INDICATORS_HPP_
#define XPRS_INDICATORS_HPP_

#include <vector>

#include "engine/engine.hpp"

namespace xprs::standin {

// One indicator as the engine checks it.
struct Indicator {
  int row = 0;
  int col = 0;
  int complement = 1;  // 1: enforced when col = 1; -1: enforced when col = 0
  double lb = 0.0;     // the row's bounds in the engine's form
  double ub = 0.0;
};

// The big-M rows, row-wise, to be placed after the model's rows.
struct IndicatorForm {
  std::vector<Indicator> indicators;
  std::vector<int> start{0};
  std::vector<int> index;
  std::vector<double> value;
  std::vector<double> rowLb, rowUb;

  [[nodiscard]] int rows() const { return static_cast<int>(rowLb.size()); }
};

// Builds the big-M rows of the model's indicators and frees their rows in e. Raises ApiError
// when an indicator column is not binary or a side of a row has no finite implied bound from the
// column bounds of e.
[[nodiscard]] IndicatorForm reformulateIndicators(const ModelRecord& m, EngineModel& e);

// The first indicator row that is enforced at x (its column within 0.5 of the enforcing value)
// while its activity lies outside its bounds by more than tol (relative to the bound's size
// beyond 1), or -1 when every enforced row holds.
[[nodiscard]] int violatedIndicator(const IndicatorForm& form, const double* x,
                                    const double* activity, double tol);

}  // namespace xprs::standin

#endif  // XPRS_INDICATORS_HPP_
