#include "engine/indicators.hpp"

#include <algorithm>
#include <cmath>
#include <coin/CoinFinite.hpp>
#include <cstddef>
#include <utility>

namespace xprs::standin {

namespace {

using Entries = std::vector<std::pair<int, double>>;

bool isBinary(const ModelRecord& m, int col) {
  const auto j = static_cast<std::size_t>(col);
  const char t = m.colType[j];
  return t == 'B' || (t == 'I' && m.colLb[j] >= 0.0 && m.colUb[j] <= 1.0);
}

// The largest (upper) or smallest activity of a row over the column bounds of e.
double activityBound(const EngineModel& e, const Entries& row, int rowIndex, bool upper) {
  double sum = 0.0;
  for (const auto& [j, a] : row) {
    const auto u = static_cast<std::size_t>(j);
    const double bound = (a > 0) == upper ? e.colUb[u] : e.colLb[u];
    if (std::fabs(bound) >= COIN_DBL_MAX) {
      fail("indicator row ", rowIndex, " has no finite implied bound: column ", j, " is unbounded ",
           bound > 0 ? "above" : "below");
    }
    sum += a * bound;
  }
  return sum;
}

// Appends the row plus coefficient coef on column col.
void appendRow(IndicatorForm& form, const Entries& row, int col, double coef, double lb,
               double ub) {
  bool merged = false;
  for (const auto& [j, a] : row) {
    form.index.push_back(j);
    form.value.push_back(j == col ? a + coef : a);
    merged = merged || j == col;
  }
  if (!merged) {
    form.index.push_back(col);
    form.value.push_back(coef);
  }
  form.start.push_back(static_cast<int>(form.index.size()));
  form.rowLb.push_back(lb);
  form.rowUb.push_back(ub);
}

}  // namespace

IndicatorForm reformulateIndicators(const ModelRecord& m, EngineModel& e) {
  IndicatorForm form;
  std::vector<int> slot(static_cast<std::size_t>(m.rows()), -1);
  for (int i = 0; i < m.rows(); ++i) {
    const auto u = static_cast<std::size_t>(i);
    const int complement = m.indicatorComplement[u];
    if (complement == 0) continue;
    const int col = m.indicatorCol[u];
    if (!isBinary(m, col)) fail("indicator column ", col, " of row ", i, " is not binary");
    slot[u] = static_cast<int>(form.indicators.size());
    form.indicators.push_back({i, col, complement, e.rowLb[u], e.rowUb[u]});
  }
  if (form.indicators.empty()) return form;

  std::vector<Entries> rows(form.indicators.size());
  for (int j = 0; j < e.ncols; ++j) {
    const auto u = static_cast<std::size_t>(j);
    for (int k = e.start[u]; k < e.start[u + 1]; ++k) {
      const int s = slot[static_cast<std::size_t>(e.index[static_cast<std::size_t>(k)])];
      if (s >= 0)
        rows[static_cast<std::size_t>(s)].emplace_back(j, e.value[static_cast<std::size_t>(k)]);
    }
  }
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const Indicator& ind = form.indicators[k];
    const Entries& row = rows[k];
    const bool onOne = ind.complement == 1;
    if (ind.ub < COIN_DBL_MAX) {
      const double bigM = activityBound(e, row, ind.row, /*upper=*/true) - ind.ub;
      if (bigM > 0) {
        appendRow(form, row, ind.col, onOne ? bigM : -bigM, -COIN_DBL_MAX,
                  onOne ? ind.ub + bigM : ind.ub);
      }
    }
    if (ind.lb > -COIN_DBL_MAX) {
      const double bigM = ind.lb - activityBound(e, row, ind.row, /*upper=*/false);
      if (bigM > 0) {
        appendRow(form, row, ind.col, onOne ? -bigM : bigM, onOne ? ind.lb - bigM : ind.lb,
                  COIN_DBL_MAX);
      }
    }
    const auto u = static_cast<std::size_t>(ind.row);
    e.rowLb[u] = -COIN_DBL_MAX;
    e.rowUb[u] = COIN_DBL_MAX;
  }
  return form;
}

int violatedIndicator(const IndicatorForm& form, const double* x, const double* activity,
                      double tol) {
  for (const Indicator& ind : form.indicators) {
    const double b = x[ind.col];
    const bool enforced = ind.complement == 1 ? b >= 0.5 : b < 0.5;
    if (!enforced) continue;
    const double a = activity[ind.row];
    if (ind.ub < COIN_DBL_MAX && a > ind.ub + tol * std::max(1.0, std::fabs(ind.ub))) {
      return ind.row;
    }
    if (ind.lb > -COIN_DBL_MAX && a < ind.lb - tol * std::max(1.0, std::fabs(ind.lb))) {
      return ind.row;
    }
  }
  return -1;
}

}  // namespace xprs::standin
