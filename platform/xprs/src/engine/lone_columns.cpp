#include "engine/lone_columns.hpp"

#include <algorithm>
#include <cmath>
#include <coin/CoinFinite.hpp>
#include <cstddef>

namespace xprs::standin {

namespace {

// Marks the columns some constraint, quadratic term or entity of m holds.
std::vector<char> heldColumns(const EngineModel& e, const ModelRecord& m,
                              const IndicatorForm* indicators) {
  std::vector<char> held(static_cast<std::size_t>(e.ncols), 0);
  for (std::size_t j = 0; j < held.size(); ++j) {
    for (auto k = static_cast<std::size_t>(e.start[j]);
         k < static_cast<std::size_t>(e.start[j + 1]); ++k) {
      const auto i = static_cast<std::size_t>(e.index[k]);
      if (e.rowLb[i] > -COIN_DBL_MAX || e.rowUb[i] < COIN_DBL_MAX) held[j] = 1;
    }
    const char t = m.colType[j];
    if (t == 'S' || t == 'R' || t == 'P') held[j] = 1;
  }
  if (indicators) {
    for (int col : indicators->index) held[static_cast<std::size_t>(col)] = 1;
  }
  for (std::size_t i = 0; i < m.indicatorCol.size(); ++i) {
    if (m.indicatorComplement[i] != 0) held[static_cast<std::size_t>(m.indicatorCol[i])] = 1;
  }
  for (int col : m.setCol) held[static_cast<std::size_t>(col)] = 1;
  for (int col : m.objQCol1) held[static_cast<std::size_t>(col)] = 1;
  for (int col : m.objQCol2) held[static_cast<std::size_t>(col)] = 1;
  for (int col : m.qCol1) held[static_cast<std::size_t>(col)] = 1;
  for (int col : m.qCol2) held[static_cast<std::size_t>(col)] = 1;
  for (const FormulaRecord& f : m.formulas) {
    for (std::size_t k = 0; k < f.type.size(); ++k) {
      if (f.type[k] == XPRS_TOK_COL) held[static_cast<std::size_t>(f.value[k])] = 1;
    }
  }
  return held;
}

}  // namespace

LoneColumns settleLoneColumns(EngineModel& e, const ModelRecord& m,
                              const IndicatorForm* indicators) {
  LoneColumns lone;
  const std::vector<char> held = heldColumns(e, m, indicators);
  for (std::size_t j = 0; j < held.size(); ++j) {
    if (held[j]) continue;
    double lb = e.colLb[j];
    double ub = e.colUb[j];
    if (m.colType[j] == 'I' || m.colType[j] == 'B') {
      lb = std::ceil(lb);
      ub = std::floor(ub);
      if (lb > ub) continue;  // no integer value: the run says so
    }
    const double cost = e.sense * e.obj[j];
    double value = std::clamp(0.0, lb, ub);
    if (cost != 0.0) {
      const double best = cost > 0 ? lb : ub;
      const double other = cost > 0 ? ub : lb;
      if (std::fabs(best) < COIN_DBL_MAX) {
        value = best;
      } else {
        if (lone.unbounded < 0) lone.unbounded = static_cast<int>(j);
        if (std::fabs(other) < COIN_DBL_MAX) value = other;
      }
    }
    lone.settled.push_back({static_cast<int>(j), e.colLb[j], e.colUb[j]});
    e.colLb[j] = value;
    e.colUb[j] = value;
  }
  return lone;
}

int settledBasis(const LoneColumns::Column& c, double x) {
  if (c.ub < COIN_DBL_MAX && x >= c.ub) return c.lb == c.ub ? XPRS_AT_LOWER : XPRS_AT_UPPER;
  if (c.lb > -COIN_DBL_MAX && x <= c.lb) return XPRS_AT_LOWER;
  return XPRS_FREE_SUPER;
}

}  // namespace xprs::standin
