#include "engine/engine_model.hpp"

#include <algorithm>
#include <cmath>
#include <coin/CoinFinite.hpp>
#include <limits>
#include <utility>

#include "validate.hpp"

namespace xprs::standin {

namespace {

// Coefficients below this magnitude enter the engine as zeros: Clp's barrier aborts the process
// on an objective coefficient of 1e-100, and no model means anything by such a number.
constexpr double kNegligible = 1e-30;

// The matrix entries grouped by column: count[j] .. count[j + 1] holds column j's (row, value)
// pairs in the order the model lists them.
std::vector<std::pair<int, double>> entriesByColumn(const ModelRecord& m, std::vector<int>& count) {
  const std::size_t nc = count.size() - 1;
  const std::size_t nnz = m.elemVal.size();
  for (int c : m.elemCol) ++count[static_cast<std::size_t>(c) + 1];
  for (std::size_t j = 0; j < nc; ++j) count[j + 1] += count[j];
  std::vector<std::pair<int, double>> entries(nnz);
  std::vector<int> next(count.begin(), count.end() - 1);
  for (std::size_t k = 0; k < nnz; ++k) {
    const auto j = static_cast<std::size_t>(m.elemCol[k]);
    entries[static_cast<std::size_t>(next[j]++)] = {m.elemRow[k], m.elemVal[k]};
  }
  return entries;
}

void assembleMatrix(const ModelRecord& m, EngineModel& e) {
  const auto nc = static_cast<std::size_t>(e.ncols);
  const std::size_t nnz = m.elemVal.size();
  if (nnz > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    fail("the matrix has more nonzeros than the engine can hold");
  }
  std::vector<int> count(nc + 1, 0);
  std::vector<std::pair<int, double>> entries = entriesByColumn(m, count);
  e.start.assign(nc + 1, 0);
  e.index.reserve(nnz);
  e.value.reserve(nnz);
  for (std::size_t j = 0; j < nc; ++j) {
    auto first = entries.begin() + count[j];
    auto last = entries.begin() + count[j + 1];
    std::sort(first, last, [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto it = first; it != last;) {
      const int row = it->first;
      double sum = 0.0;
      for (; it != last && it->first == row; ++it) sum += it->second;
      if (isInfinite(sum)) {
        fail("the coefficients of row ", row, " and column ", j, " add up to ", sum,
             ", which is infinite");
      }
      if (std::fabs(sum) >= kNegligible) {
        e.index.push_back(row);
        e.value.push_back(sum);
      }
    }
    e.start[j + 1] = static_cast<int>(e.index.size());
  }
}

void assembleColumns(const ModelRecord& m, bool mip, EngineModel& e) {
  const auto nc = static_cast<std::size_t>(e.ncols);
  e.colLb.resize(nc);
  e.colUb.resize(nc);
  for (std::size_t j = 0; j < nc; ++j) {
    e.colLb[j] = toEngine(m.colLb[j]);
    e.colUb[j] = toEngine(m.colUb[j]);
    const char t = m.colType[j];
    // Semi-continuous columns enter with their zero branch; the lot-size object adds the rest.
    if (mip && (t == 'S' || t == 'R')) e.colLb[j] = std::min(0.0, e.colLb[j]);
  }
  e.obj = m.objectives.front().coef;
  for (double& c : e.obj) {
    if (std::fabs(c) < kNegligible) c = 0.0;
  }
}

void assembleRows(const ModelRecord& m, EngineModel& e) {
  const auto nr = static_cast<std::size_t>(e.nrows);
  e.rowLb.resize(nr);
  e.rowUb.resize(nr);
  for (std::size_t i = 0; i < nr; ++i) {
    const double rhs = m.rowRhs[i];
    switch (m.rowType[i]) {
      case 'L':
        e.rowLb[i] = -COIN_DBL_MAX, e.rowUb[i] = toEngine(rhs);
        break;
      case 'G':
        e.rowLb[i] = toEngine(rhs), e.rowUb[i] = COIN_DBL_MAX;
        break;
      case 'E':
        e.rowLb[i] = toEngine(rhs), e.rowUb[i] = toEngine(rhs);
        break;
      case 'R':
        e.rowLb[i] =
            isInfinite(m.rowRange[i]) ? -COIN_DBL_MAX : toEngine(rhs - std::fabs(m.rowRange[i]));
        e.rowUb[i] = toEngine(rhs);
        break;
      default:
        e.rowLb[i] = -COIN_DBL_MAX, e.rowUb[i] = COIN_DBL_MAX;
    }
  }
}

void assembleHessian(const ModelRecord& m, EngineModel& e) {
  if (m.objQ.empty()) return;
  const auto nc = static_cast<std::size_t>(e.ncols);
  e.qStart.assign(nc + 1, 0);
  for (const auto& [key, v] : m.objQ) {
    if (std::fabs(v) >= kNegligible) ++e.qStart[static_cast<std::size_t>(key.first) + 1];
  }
  for (std::size_t j = 0; j < nc; ++j) e.qStart[j + 1] += e.qStart[j];
  // The map is ordered by (i, j) with i <= j: column i lists rows j >= i (lower triangle).
  for (const auto& [key, v] : m.objQ) {
    if (std::fabs(v) < kNegligible) continue;
    e.qIndex.push_back(key.second);
    e.qValue.push_back(v);
  }
}

}  // namespace

double toEngine(double v) {
  if (v >= XPRS_PLUSINFINITY) return COIN_DBL_MAX;
  if (v <= XPRS_MINUSINFINITY) return -COIN_DBL_MAX;
  return v;
}

EngineModel assemble(const ModelRecord& m, bool mip) {
  EngineModel e;
  e.ncols = m.cols();
  e.nrows = m.rows();
  e.sense = m.sense;
  e.rhs = m.objectives.front().rhs;
  assembleMatrix(m, e);
  assembleColumns(m, mip, e);
  assembleRows(m, e);
  assembleHessian(m, e);
  return e;
}

double objectiveOf(const ModelRecord& m, const double* x) {
  const ObjectiveRecord& obj = m.objectives.front();
  double v = -obj.rhs;
  for (std::size_t j = 0; j < obj.coef.size(); ++j) v += obj.coef[j] * x[j];
  for (const auto& [key, q] : m.objQ) {
    const double xi = x[key.first];
    const double xj = x[key.second];
    v += key.first == key.second ? 0.5 * q * xi * xi : q * xi * xj;
  }
  return v;
}

std::vector<double> slacksOf(const ModelRecord& m, const double* activity) {
  std::vector<double> s(static_cast<std::size_t>(m.rows()));
  for (std::size_t i = 0; i < s.size(); ++i) s[i] = m.rowRhs[i] - activity[i];
  return s;
}

ColumnMatrix withoutFreeRows(const EngineModel& e) {
  ColumnMatrix a;
  a.start.reserve(static_cast<std::size_t>(e.ncols) + 1);
  a.index.reserve(e.index.size());
  a.value.reserve(e.value.size());
  a.start.push_back(0);
  for (std::size_t j = 0; j < static_cast<std::size_t>(e.ncols); ++j) {
    for (auto k = static_cast<std::size_t>(e.start[j]);
         k < static_cast<std::size_t>(e.start[j + 1]); ++k) {
      const auto i = static_cast<std::size_t>(e.index[k]);
      if (e.rowLb[i] <= -COIN_DBL_MAX && e.rowUb[i] >= COIN_DBL_MAX) continue;
      a.index.push_back(e.index[k]);
      a.value.push_back(e.value[k]);
    }
    a.start.push_back(static_cast<int>(a.index.size()));
  }
  return a;
}

std::vector<double> activityOf(const EngineModel& e, const double* x) {
  std::vector<double> act(static_cast<std::size_t>(e.nrows), 0.0);
  for (int j = 0; j < e.ncols; ++j) {
    for (int k = e.start[static_cast<std::size_t>(j)]; k < e.start[static_cast<std::size_t>(j) + 1];
         ++k) {
      act[static_cast<std::size_t>(e.index[static_cast<std::size_t>(k)])] +=
          e.value[static_cast<std::size_t>(k)] * x[j];
    }
  }
  return act;
}

void primalInfeasibilities(const EngineModel& e, const double* x, const double* activity,
                           double tol, ResultRecord& r, double* sum) {
  r.primalInfeasCols.clear();
  r.primalInfeasRows.clear();
  *sum = 0.0;
  for (int j = 0; j < e.ncols; ++j) {
    const auto u = static_cast<std::size_t>(j);
    const double v = std::max(e.colLb[u] - x[j], x[j] - e.colUb[u]);
    if (v > tol) r.primalInfeasCols.push_back(j), *sum += v;
  }
  for (int i = 0; i < e.nrows; ++i) {
    const auto u = static_cast<std::size_t>(i);
    const double v = std::max(e.rowLb[u] - activity[i], activity[i] - e.rowUb[u]);
    if (v > tol) r.primalInfeasRows.push_back(i), *sum += v;
  }
}

}  // namespace xprs::standin
