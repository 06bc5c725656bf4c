#include "engine/precheck.hpp"

#include <algorithm>
#include <cmath>
#include <coin/CoinFinite.hpp>
#include <cstddef>
#include <utility>
#include <vector>

#include "validate.hpp"

namespace xprs::standin {

namespace {

// An engine value as the user knows it: the engine's infinities read as ±1e20.
double shown(double v) {
  if (v >= COIN_DBL_MAX) return XPRS_PLUSINFINITY;
  if (v <= -COIN_DBL_MAX) return XPRS_MINUSINFINITY;
  return v;
}

bool isIntegerType(char t) { return t == 'I' || t == 'B'; }

// Slack allowed when comparing against a bound: tol, relative to the bound's size.
double allowance(double bound, double tol) { return tol * std::max(1.0, std::fabs(bound)); }

// What the activity of each row can reach within the column bounds; an infinite contribution
// is counted apart, so that the finite part stays exact.
struct Reach {
  double lo = 0.0;
  double hi = 0.0;
  bool loInfinite = false;
  bool hiInfinite = false;
};

std::vector<Reach> reachOf(const EngineModel& e) {
  std::vector<Reach> reach(static_cast<std::size_t>(e.nrows));
  for (std::size_t j = 0; j < static_cast<std::size_t>(e.ncols); ++j) {
    const double lb = e.colLb[j];
    const double ub = e.colUb[j];
    for (auto k = static_cast<std::size_t>(e.start[j]);
         k < static_cast<std::size_t>(e.start[j + 1]); ++k) {
      Reach& r = reach[static_cast<std::size_t>(e.index[k])];
      const double a = e.value[k];
      const double low = a > 0 ? lb : ub;
      const double high = a > 0 ? ub : lb;
      if (std::fabs(low) >= COIN_DBL_MAX) {
        r.loInfinite = true;
      } else {
        r.lo += a * low;
      }
      if (std::fabs(high) >= COIN_DBL_MAX) {
        r.hiInfinite = true;
      } else {
        r.hi += a * high;
      }
    }
  }
  return reach;
}

// Largest block of coupled columns the Hessian test factorizes (densely).
constexpr std::size_t kMaxHessianBlock = 2000;

// True when the symmetric n x n matrix given by its entries (i, j) with i <= j is positive
// semi-definite.
bool blockIsSemiDefinite(
    const std::vector<std::pair<std::pair<std::size_t, std::size_t>, double>>& entries,
    std::size_t n) {
  std::vector<double> a(n * n, 0.0);
  std::vector<double> rowMax(n, 0.0);
  for (const auto& [key, q] : entries) {
    const auto [i, j] = key;
    a[i * n + j] = q;
    a[j * n + i] = q;
    rowMax[i] = std::max(rowMax[i], std::fabs(q));
    rowMax[j] = std::max(rowMax[j], std::fabs(q));
  }
  // D^-1/2 A D^-1/2 with D the largest magnitude of each row: |a_ij| <= sqrt(d_i d_j).
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < n; ++j) a[i * n + j] /= std::sqrt(rowMax[i]) * std::sqrt(rowMax[j]);
  }
  constexpr double kPivotTol = 1e-9;
  constexpr double kColumnTol = 1e-7;
  // LDL' without pivoting; a zero pivot needs a zero remaining column.
  for (std::size_t k = 0; k < n; ++k) {
    const double d = a[k * n + k];
    if (d < -kPivotTol) return false;
    if (d <= kPivotTol) {
      for (std::size_t i = k + 1; i < n; ++i) {
        if (std::fabs(a[i * n + k]) > kColumnTol) return false;
      }
      continue;
    }
    for (std::size_t i = k + 1; i < n; ++i) {
      const double f = a[i * n + k] / d;
      if (f == 0.0) continue;
      for (std::size_t j = k + 1; j <= i; ++j) a[i * n + j] -= f * a[j * n + k];
    }
    for (std::size_t i = k + 1; i < n; ++i) {
      for (std::size_t j = k + 1; j < i; ++j) a[j * n + i] = a[i * n + j];
    }
  }
  return true;
}

}  // namespace

std::string provenInfeasible(EngineModel& e, const ModelRecord& m, bool mip, double tol,
                             double intTol) {
  for (std::size_t j = 0; j < static_cast<std::size_t>(e.ncols); ++j) {
    double& lb = e.colLb[j];
    double& ub = e.colUb[j];
    const char t = m.colType[j];
    if (mip && (isIntegerType(t) || t == 'R') && ub < COIN_DBL_MAX) {
      ub = std::floor(ub + intTol);
    }
    if (mip && isIntegerType(t)) {
      if (lb > -COIN_DBL_MAX) lb = std::ceil(lb - intTol);
      if (lb > ub) {
        return text("integer column ", j, " has no integer value within its bounds [", m.colLb[j],
                    ", ", m.colUb[j], "]");
      }
    }
    if (lb >= COIN_DBL_MAX || ub <= -COIN_DBL_MAX || lb - ub > allowance(lb, tol)) {
      return text("column ", j, " has no value within its bounds [", m.colLb[j], ", ", m.colUb[j],
                  "]");
    }
    ub = std::max(lb, ub);
  }
  for (std::size_t i = 0; i < static_cast<std::size_t>(e.nrows); ++i) {
    const double lo = e.rowLb[i];
    const double up = e.rowUb[i];
    if (lo >= COIN_DBL_MAX || up <= -COIN_DBL_MAX || lo - up > allowance(lo, tol)) {
      return text("row ", i, " has no value within its range [", shown(lo), ", ", shown(up), "]");
    }
    e.rowUb[i] = std::max(lo, up);
  }
  const std::vector<Reach> reach = reachOf(e);
  for (std::size_t i = 0; i < reach.size(); ++i) {
    const Reach& r = reach[i];
    const double lo = e.rowLb[i];
    const double up = e.rowUb[i];
    const bool belowRange = lo > -COIN_DBL_MAX && !r.hiInfinite && r.hi < lo - allowance(lo, tol);
    const bool aboveRange = up < COIN_DBL_MAX && !r.loInfinite && r.lo > up + allowance(up, tol);
    if (belowRange || aboveRange) {
      return text("row ", i, " cannot reach its range [", shown(lo), ", ", shown(up),
                  "] within the column bounds (its activity lies within [",
                  r.loInfinite ? XPRS_MINUSINFINITY : r.lo, ", ",
                  r.hiInfinite ? XPRS_PLUSINFINITY : r.hi, "])");
    }
  }
  return {};
}

bool hessianFitsSense(const ModelRecord& m) {
  std::vector<int> cols;
  for (const auto& [key, v] : m.objQ) {
    cols.push_back(key.first);
    cols.push_back(key.second);
  }
  std::sort(cols.begin(), cols.end());
  cols.erase(std::unique(cols.begin(), cols.end()), cols.end());
  auto pos = [&](int c) {
    return static_cast<std::size_t>(std::lower_bound(cols.begin(), cols.end(), c) - cols.begin());
  };
  // Columns coupled by an entry form one block; each block is tested on its own.
  std::vector<std::size_t> parent(cols.size());
  for (std::size_t i = 0; i < parent.size(); ++i) parent[i] = i;
  auto root = [&](std::size_t i) {
    while (parent[i] != i) i = parent[i] = parent[parent[i]];
    return i;
  };
  for (const auto& [key, v] : m.objQ) parent[root(pos(key.first))] = root(pos(key.second));
  std::vector<std::size_t> block(cols.size());
  std::vector<std::size_t> local(cols.size());
  std::vector<std::size_t> blockSize;
  std::vector<std::size_t> blockOf(cols.size(), cols.size());
  for (std::size_t i = 0; i < cols.size(); ++i) {
    std::size_t& id = blockOf[root(i)];
    if (id == cols.size()) {
      id = blockSize.size();
      blockSize.push_back(0);
    }
    block[i] = id;
    local[i] = blockSize[id]++;
  }
  std::vector<std::vector<std::pair<std::pair<std::size_t, std::size_t>, double>>> entries(
      blockSize.size());
  for (const auto& [key, v] : m.objQ) {
    const std::size_t i = pos(key.first);
    entries[block[i]].push_back({{local[i], local[pos(key.second)]}, v * m.sense});
  }
  for (std::size_t b = 0; b < blockSize.size(); ++b) {
    if (blockSize[b] > kMaxHessianBlock) {
      fail("the objective Hessian couples more than ", kMaxHessianBlock, " columns");
    }
    if (!blockIsSemiDefinite(entries[b], blockSize[b])) return false;
  }
  return true;
}

}  // namespace xprs::standin
