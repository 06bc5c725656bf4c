#include "engine/clp_guard.hpp"

#include <algorithm>
#include <cmath>
#include <coin/ClpCholeskyBase.hpp>
#include <coin/ClpEventHandler.hpp>
#include <coin/ClpInterior.hpp>
#include <coin/CoinFinite.hpp>
#include <cstddef>
#include <utility>

namespace xprs::standin {

namespace {

// Floating-point operations per second assumed for a dense factorization.
constexpr double kFactorRate = 5e9;

bool within(double v, double lo, double up, double tol) {
  if (std::isnan(v)) return false;
  if (lo > -COIN_DBL_MAX && v < lo - tol * std::max(1.0, std::fabs(lo))) return false;
  if (up < COIN_DBL_MAX && v > up + tol * std::max(1.0, std::fabs(up))) return false;
  return true;
}

// A linear program over the columns of e with its own rows, objective and bounds.
struct LinearProgram {
  std::vector<std::vector<std::pair<int, double>>> columns;
  std::vector<double> colLb, colUb, obj, rowLb, rowUb;

  void load(ClpSimplex& clp) const {
    std::vector<int> start{0};
    std::vector<int> index;
    std::vector<double> value;
    for (const auto& column : columns) {
      for (const auto& [row, v] : column) {
        index.push_back(row);
        value.push_back(v);
      }
      start.push_back(static_cast<int>(index.size()));
    }
    clp.loadProblem(static_cast<int>(columns.size()), static_cast<int>(rowLb.size()), start.data(),
                    index.data(), value.data(), colLb.data(), colUb.data(), obj.data(),
                    rowLb.data(), rowUb.data());
  }
};

LinearProgram linearPart(const EngineModel& e) {
  LinearProgram lp;
  const auto n = static_cast<std::size_t>(e.ncols);
  lp.columns.resize(n);
  for (std::size_t j = 0; j < n; ++j) {
    for (auto k = static_cast<std::size_t>(e.start[j]);
         k < static_cast<std::size_t>(e.start[j + 1]); ++k) {
      lp.columns[j].emplace_back(e.index[k], e.value[k]);
    }
  }
  lp.colLb = e.colLb;
  lp.colUb = e.colUb;
  lp.obj.assign(n, 0.0);
  lp.rowLb = e.rowLb;
  lp.rowUb = e.rowUb;
  return lp;
}

// Directions d in [-1, 1] of the recession cone of e with Qd = 0: one row per column for Q.
LinearProgram recessionProgram(const EngineModel& e) {
  LinearProgram lp = linearPart(e);
  const auto n = static_cast<std::size_t>(e.ncols);
  const auto m = static_cast<std::size_t>(e.nrows);
  for (std::size_t j = 0; j < n; ++j) {
    lp.colLb[j] = e.colLb[j] > -COIN_DBL_MAX ? 0.0 : -1.0;
    lp.colUb[j] = e.colUb[j] < COIN_DBL_MAX ? 0.0 : 1.0;
  }
  for (std::size_t i = 0; i < m; ++i) {
    lp.rowLb[i] = e.rowLb[i] > -COIN_DBL_MAX ? 0.0 : -COIN_DBL_MAX;
    lp.rowUb[i] = e.rowUb[i] < COIN_DBL_MAX ? 0.0 : COIN_DBL_MAX;
  }
  // e holds the lower triangle column-wise: column j lists Q_ij for i >= j.
  for (std::size_t j = 0; j < n && !e.qStart.empty(); ++j) {
    for (auto k = static_cast<std::size_t>(e.qStart[j]);
         k < static_cast<std::size_t>(e.qStart[j + 1]); ++k) {
      const auto i = static_cast<std::size_t>(e.qIndex[k]);
      lp.columns[j].emplace_back(static_cast<int>(m + i), e.qValue[k]);
      if (i != j) lp.columns[i].emplace_back(static_cast<int>(m + j), e.qValue[k]);
    }
  }
  lp.rowLb.resize(m + n, 0.0);
  lp.rowUb.resize(m + n, 0.0);
  lp.obj = e.obj;
  return lp;
}

// True when the point of clp lies within its column bounds and its rows' ranges.
bool pointHolds(const ClpSimplex& clp, double tol) {
  const double* x = clp.getColSolution();
  const double* act = clp.getRowActivity();
  for (int j = 0; j < clp.getNumCols(); ++j) {
    if (!within(x[j], clp.getColLower()[j], clp.getColUpper()[j], tol)) return false;
  }
  for (int i = 0; i < clp.getNumRows(); ++i) {
    if (!within(act[i], clp.getRowLower()[i], clp.getRowUpper()[i], tol)) return false;
  }
  return true;
}

}  // namespace

void loadModel(ClpSimplex& clp, const EngineModel& e, bool quadratic) {
  clp.loadProblem(e.ncols, e.nrows, e.start.data(), e.index.data(), e.value.data(), e.colLb.data(),
                  e.colUb.data(), e.obj.data(), e.rowLb.data(), e.rowUb.data());
  // An empty Hessian would still make Clp treat the model as quadratic.
  if (quadratic && !e.qValue.empty()) {
    clp.loadQuadraticObjective(e.ncols, e.qStart.data(), e.qIndex.data(), e.qValue.data());
  }
  clp.setOptimizationDirection(e.sense);
}

bool barrierShaped(const EngineModel& e) {
  for (std::size_t j = 0; j < static_cast<std::size_t>(e.ncols); ++j) {
    if (e.colLb[j] <= -COIN_DBL_MAX || e.colUb[j] >= COIN_DBL_MAX) return false;
  }
  std::vector<char> used(static_cast<std::size_t>(e.nrows), 0);
  for (int row : e.index) used[static_cast<std::size_t>(row)] = 1;
  return std::find(used.begin(), used.end(), 0) == used.end();
}

double factorSeconds(ClpSimplex& clp) {
  ClpInterior interior;
  interior.borrowModel(clp);
  // The borrowed handler points at a simplex model; the interior model is none.
  interior.eventHandler()->setSimplex(nullptr);
  auto* cholesky = new ClpCholeskyBase();
  interior.setCholesky(cholesky);
  // The symbolic factorization prints its size to standard output unless the log is off.
  const int logLevel = interior.logLevel();
  interior.setLogLevel(0);
  double seconds = 0.0;
  if (cholesky->order(&interior) == 0 && cholesky->symbolic() == 0) {
    const double entries = 2.0 * static_cast<double>(cholesky->size());
    seconds = std::pow(entries, 1.5) / 3.0 / kFactorRate;
  }
  interior.setLogLevel(logLevel);
  interior.returnModel(clp);
  return seconds;
}

bool interiorAnswerHolds(const ClpSimplex& clp, const EngineModel& e, double tol) {
  if (clp.status() != 0 || !(std::fabs(clp.objectiveValue()) < 1e15)) return false;
  const double* x = clp.getColSolution();
  const double* act = clp.getRowActivity();
  for (std::size_t j = 0; j < static_cast<std::size_t>(e.ncols); ++j) {
    if (!within(x[j], e.colLb[j], e.colUb[j], tol)) return false;
  }
  for (std::size_t i = 0; i < static_cast<std::size_t>(e.nrows); ++i) {
    if (!within(act[i], e.rowLb[i], e.rowUb[i], tol)) return false;
  }
  return true;
}

bool quadraticAnswerHolds(const ClpSimplex& clp, const EngineModel& e, double tol) {
  if (!interiorAnswerHolds(clp, e, tol)) return false;
  const auto n = static_cast<std::size_t>(e.ncols);
  const double* x = clp.getColSolution();
  const double* y = clp.getRowPrice();
  const double* act = clp.getRowActivity();
  std::vector<double> gradient = e.obj;
  for (std::size_t j = 0; j < n && !e.qStart.empty(); ++j) {
    for (auto k = static_cast<std::size_t>(e.qStart[j]);
         k < static_cast<std::size_t>(e.qStart[j + 1]); ++k) {
      const auto i = static_cast<std::size_t>(e.qIndex[k]);
      gradient[i] += e.qValue[k] * x[j];
      if (i != j) gradient[j] += e.qValue[k] * x[i];
    }
  }
  double scale = 1.0;
  for (double g : gradient) scale = std::max(scale, std::fabs(g));
  const double optTol = 1e-5 * scale;
  auto near = [&](double v, double bound) {
    return std::fabs(v - bound) <= tol * std::max(1.0, std::fabs(bound));
  };
  // In the minimising sense: a reduced cost may be negative only where the column cannot rise,
  // positive only where it cannot fall; a row dual likewise at the row's ends.
  for (std::size_t j = 0; j < n; ++j) {
    double reduced = gradient[j];
    for (auto k = static_cast<std::size_t>(e.start[j]);
         k < static_cast<std::size_t>(e.start[j + 1]); ++k) {
      reduced -= e.value[k] * y[static_cast<std::size_t>(e.index[k])];
    }
    reduced *= e.sense;
    const bool canRise = e.colUb[j] >= COIN_DBL_MAX || !near(x[j], e.colUb[j]);
    const bool canFall = e.colLb[j] <= -COIN_DBL_MAX || !near(x[j], e.colLb[j]);
    if ((canRise && reduced < -optTol) || (canFall && reduced > optTol)) return false;
  }
  for (std::size_t i = 0; i < static_cast<std::size_t>(e.nrows); ++i) {
    const double dual = e.sense * y[i];
    const bool offLower = e.rowLb[i] <= -COIN_DBL_MAX || !near(act[i], e.rowLb[i]);
    const bool offUpper = e.rowUb[i] >= COIN_DBL_MAX || !near(act[i], e.rowUb[i]);
    if ((offLower && dual > optTol) || (offUpper && dual < -optTol)) return false;
  }
  return true;
}

void recheckInfeasible(ClpSimplex& clp, double tol) {
  ClpSimplex probe(clp);
  const int n = probe.getNumCols();
  const std::vector<double> objective(probe.getObjCoefficients(), probe.getObjCoefficients() + n);
  for (int j = 0; j < n; ++j) probe.setObjectiveCoefficient(j, 0.0);
  probe.allSlackBasis(true);
  probe.primal();
  if (probe.status() != 0 || !pointHolds(probe, tol)) return;
  const int iterations = clp.numberIterations() + probe.numberIterations();
  // The basis of the point found is primal feasible: the primal simplex goes on from it with the
  // objective, in the program the caller holds.
  std::copy(probe.statusArray(), probe.statusArray() + n + probe.getNumRows(), clp.statusArray());
  std::copy(probe.primalColumnSolution(), probe.primalColumnSolution() + n,
            clp.primalColumnSolution());
  clp.primal(0, 0);
  clp.setNumberIterations(iterations + clp.numberIterations());
}

bool recheckOptimal(ClpSimplex& clp) {
  if (clp.status() != 0) return false;
  // Ten times the dual tolerance of each column's cost; Clp itself does not count free columns.
  const double tol = clp.dualTolerance() * 10;
  const double* dj = clp.dualColumnSolution();
  const double* x = clp.primalColumnSolution();
  const double* lo = clp.columnLower();
  const double* up = clp.columnUpper();
  const double* c = clp.objective();
  bool infeasible = false;
  for (int j = 0; j < clp.getNumCols() && !infeasible; ++j) {
    const double d = clp.optimizationDirection() * dj[j];
    const double slack = 1e-9 * std::max(1.0, std::fabs(x[j]));
    const double size = tol * std::max(1.0, std::fabs(c[j]));
    infeasible = (d < -size && x[j] < up[j] - slack) || (d > size && x[j] > lo[j] + slack);
  }
  if (!infeasible) return false;
  clp.allSlackBasis(true);
  clp.primal();
  return true;
}

LinearPoint findLinearPoint(const EngineModel& e, double tol) {
  ClpSimplex clp;
  clp.setLogLevel(0);
  linearPart(e).load(clp);
  clp.dual();
  if (clp.status() == 1) recheckInfeasible(clp, tol);
  LinearPoint found;
  if (clp.status() == 1) {
    found.verdict = LinearPoint::Verdict::None;
  } else if (clp.status() == 0 && pointHolds(clp, tol)) {
    found.verdict = LinearPoint::Verdict::Found;
    found.x.assign(clp.getColSolution(), clp.getColSolution() + e.ncols);
  }
  return found;
}

QpShapeResult shapeOfQuadratic(const EngineModel& e, const ClpSetup& setup, double tol) {
  QpShapeResult result;
  auto decided = [&](const ClpSimplex& clp, QpShape shape) {
    result.iterations += clp.numberIterations();
    result.status = clp.status();
    result.secondary = clp.secondaryStatus();
    result.shape = shape;
  };
  ClpSimplex feasibility;
  linearPart(e).load(feasibility);
  setup(feasibility);
  feasibility.dual();
  if (feasibility.status() == 1) recheckInfeasible(feasibility, tol);
  switch (feasibility.status()) {
    case 0:
      break;
    case 1:
      decided(feasibility, QpShape::Infeasible);
      return result;
    case 3:
    case 5:
      decided(feasibility, QpShape::Stopped);
      return result;
    default:
      decided(feasibility, QpShape::Failed);
      return result;
  }
  if (!interiorAnswerHolds(feasibility, e, tol)) {
    decided(feasibility, QpShape::Failed);
    return result;
  }
  result.iterations += feasibility.numberIterations();
  result.point.assign(feasibility.getColSolution(), feasibility.getColSolution() + e.ncols);

  ClpSimplex recession;
  recessionProgram(e).load(recession);
  recession.setOptimizationDirection(e.sense);
  setup(recession);
  recession.dual();
  if (recession.status() == 3 || recession.status() == 5) {
    decided(recession, QpShape::Stopped);
    return result;
  }
  if (recession.status() != 0) {
    decided(recession, QpShape::Failed);
    return result;
  }
  double scale = 1.0;
  for (double c : e.obj) scale = std::max(scale, std::fabs(c));
  const bool descends = e.sense * recession.objectiveValue() < -tol * scale;
  decided(recession, descends ? QpShape::Unbounded : QpShape::Bounded);
  return result;
}

void boxFreeSides(ClpSimplex& clp, const EngineModel& e, double box) {
  for (int j = 0; j < e.ncols; ++j) {
    const auto u = static_cast<std::size_t>(j);
    if (e.colLb[u] <= -COIN_DBL_MAX) clp.setColumnLower(j, -box);
    if (e.colUb[u] >= COIN_DBL_MAX) clp.setColumnUpper(j, box);
  }
}

void addSlackRow(ClpSimplex& clp) {
  const double lower = clp.getColLower()[0];
  const double upper = clp.getColUpper()[0];
  const int column = 0;
  const double one = 1.0;
  clp.addRow(1, &column, &one, lower - 1.0 - std::fabs(lower), upper + 1.0 + std::fabs(upper));
}

bool atArtificialBound(const ClpSimplex& clp, const EngineModel& e, double box) {
  const double* x = clp.getColSolution();
  const double edge = box * (1 - 1e-6);
  for (std::size_t j = 0; j < static_cast<std::size_t>(e.ncols); ++j) {
    if (e.colLb[j] <= -COIN_DBL_MAX && x[j] <= -edge) return true;
    if (e.colUb[j] >= COIN_DBL_MAX && x[j] >= edge) return true;
  }
  return false;
}

}  // namespace xprs::standin
