#include "engine/mip_model.hpp"

#include <algorithm>
#include <cmath>
#include <coin/CbcBranchActual.hpp>
#include <coin/CbcBranchLotsize.hpp>
#include <coin/CbcModel.hpp>
#include <coin/ClpSolve.hpp>
#include <coin/CoinFinite.hpp>
#include <coin/CoinMessageHandler.hpp>
#include <coin/OsiClpSolverInterface.hpp>
#include <memory>

#include "engine/clp_guard.hpp"
#include "validate.hpp"

namespace xprs::standin {

namespace {

// Set s of m as Cbc's special ordered set.
std::unique_ptr<CbcObject> setObject(CbcModel& cbc, const ModelRecord& m, int s) {
  const auto b = static_cast<std::size_t>(m.setStart[static_cast<std::size_t>(s)]);
  const auto n = static_cast<int>(m.setStart[static_cast<std::size_t>(s) + 1] -
                                  m.setStart[static_cast<std::size_t>(s)]);
  std::vector<double> w(m.setRef.begin() + static_cast<std::ptrdiff_t>(b),
                        m.setRef.begin() + static_cast<std::ptrdiff_t>(b) + n);
  std::vector<double> sorted = w;
  std::sort(sorted.begin(), sorted.end());
  if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) {
    fail("set ", s, " has duplicate reference values");
  }
  std::vector<int> members(m.setCol.begin() + static_cast<std::ptrdiff_t>(b),
                           m.setCol.begin() + static_cast<std::ptrdiff_t>(b) + n);
  std::sort(members.begin(), members.end());
  if (auto twice = std::adjacent_find(members.begin(), members.end()); twice != members.end()) {
    fail("set ", s, " lists column ", *twice, " more than once");
  }
  // Cbc branches on a set by the weighted sums of its members' values, which negative values
  // can cancel: its branching then asserts, which ends the process.
  for (const int j : members) {
    if (const double lower = m.colLb[static_cast<std::size_t>(j)]; lower < 0.0) {
      fail("set ", s, " holds column ", j, " with a negative lower bound (", lower,
           "): the engine's sets take nonnegative columns only");
    }
  }
  return std::make_unique<CbcSOS>(&cbc, n, m.setCol.data() + b, w.data(), s,
                                  m.setType[static_cast<std::size_t>(s)] == '1' ? 1 : 2);
}

// Cbc's lot-size object for a semi-continuous column, with a fixing that cannot abort. Cbc's
// strong branching can offer a solution as integer feasible while the column lies in the gap
// between its ranges; Cbc's own fixing then asserts, which ends the process. This fixing moves
// the column into the nearest of its ranges within the current bounds instead: the candidate's
// re-solve then accepts a point that keeps to them, or rejects it.
class SemiContinuousObject : public CbcLotsize {
 public:
  using CbcLotsize::CbcLotsize;
  CbcObject* clone() const override { return new SemiContinuousObject(*this); }
  using CbcLotsize::feasibleRegion;
  void feasibleRegion() override {
    OsiSolverInterface* solver = model_->solver();
    const int j = columnNumber();
    const double lower = solver->getColLower()[j];
    const double upper = solver->getColUpper()[j];
    const double value = std::clamp(model_->testSolution()[j], lower, upper);
    const double* ends = bound();
    int nearest = -1;
    double distance = COIN_DBL_MAX;
    for (int k = 0; k < numberRanges(); ++k) {
      const double from = ends[2 * k], to = ends[2 * k + 1];
      if (from > upper || to < lower) continue;
      const double d = value < from ? from - value : value > to ? value - to : 0.0;
      if (d < distance) nearest = k, distance = d;
    }
    if (nearest < 0) {
      // No range meets the bounds: an empty interval makes the re-solve infeasible.
      solver->setColLower(j, upper + 1.0);
      return;
    }
    solver->setColLower(j, std::max(ends[2 * nearest], lower));
    solver->setColUpper(j, std::min(ends[2 * nearest + 1], upper));
  }
};

}  // namespace

std::vector<double> semiContinuousLimits(const ModelRecord& m, EngineModel& e, double intTol) {
  std::vector<double> limits(static_cast<std::size_t>(e.ncols), 0.0);
  for (std::size_t j = 0; j < limits.size(); ++j) {
    const char t = m.colType[j];
    if (t != 'S' && t != 'R') continue;
    const char* kind = t == 'S' ? "semi-continuous" : "semi-integer";
    if (m.colLb[j] < 0.0)
      fail(kind, " column ", j, " has a negative lower bound (", m.colLb[j], ")");
    if (m.colUb[j] < 0.0)
      fail(kind, " column ", j, " has a negative upper bound (", m.colUb[j], ")");
    const double limit = m.colLimit[j];
    const double low = t == 'R' ? std::ceil(limit - intTol) : limit;
    const double high =
        t == 'R' && e.colUb[j] < COIN_DBL_MAX ? std::floor(e.colUb[j] + intTol) : e.colUb[j];
    if (isInfinite(limit) || low > high) {
      e.colLb[j] = 0.0;
      e.colUb[j] = 0.0;
      continue;
    }
    if (limit > kSemiContinuousCap) {
      fail(kind, " column ", j, " has a limit (", limit, ") above the engine's limit ",
           kSemiContinuousCap);
    }
    limits[j] = limit;
  }
  return limits;
}

MipShape loadSolver(OsiClpSolverInterface& si, CoinMessageHandler& quiet, const ModelRecord& m,
                    const EngineModel& e, const IndicatorForm& indicators) {
  si.passInMessageHandler(&quiet);
  const ColumnMatrix a = withoutFreeRows(e);
  si.loadProblem(e.ncols, e.nrows, a.start.data(), a.index.data(), a.value.data(), e.colLb.data(),
                 e.colUb.data(), e.obj.data(), e.rowLb.data(), e.rowUb.data());
  if (indicators.rows() > 0) {
    si.addRows(indicators.rows(), indicators.start.data(), indicators.index.data(),
               indicators.value.data(), indicators.rowLb.data(), indicators.rowUb.data());
  }
  MipShape shape;
  shape.special = m.sets() > 0;
  for (int j = 0; j < e.ncols; ++j) {
    const char t = m.colType[static_cast<std::size_t>(j)];
    if (t == 'I' || t == 'B' || t == 'R') si.setInteger(j);
    if (t == 'S' || t == 'R') {
      shape.special = true;
      shape.semiContinuous = true;
      // Cbc's lot-size branching asserts (and aborts the process) unless the column's upper
      // bound equals the upper end of its range and that end is small enough for a 1e-7
      // tolerance to be visible.
      if (e.colUb[static_cast<std::size_t>(j)] > kSemiContinuousCap) {
        si.setColUpper(j, kSemiContinuousCap);
        shape.capped = true;
      }
    }
  }
  si.setHintParam(OsiDoReducePrint, true, OsiHintTry);
  return shape;
}

void solveRelaxation(CbcModel& cbc, double tol) {
  auto& osi = dynamic_cast<OsiClpSolverInterface&>(*cbc.solver());
  ClpSolve keepSigint;
  keepSigint.setSpecialOption(2, 1);
  osi.setSolveOptions(keepSigint);
  cbc.initialSolve();
  ClpSimplex* root = osi.getModelPtr();
  if (root->status() == 1) recheckInfeasible(*root, tol);
  recheckOptimal(*root);
}

void addBranchingObjects(CbcModel& cbc, const ModelRecord& m, const EngineModel& e,
                         const std::vector<double>& lotLimit) {
  std::vector<std::unique_ptr<CbcObject>> objects;
  for (int s = 0; s < m.sets(); ++s) objects.push_back(setObject(cbc, m, s));
  for (int j = 0; j < e.ncols; ++j) {
    const auto u = static_cast<std::size_t>(j);
    if (lotLimit[u] > 0.0) {
      const double points[4] = {0.0, 0.0, lotLimit[u], std::min(e.colUb[u], kSemiContinuousCap)};
      objects.push_back(std::make_unique<SemiContinuousObject>(&cbc, j, 2, points, true));
    }
  }
  if (objects.empty()) return;
  // Cbc's pseudo-cost branching compares the branches of objects other than its own integer ones
  // by a decision that reads the model's current node, which is not always set there: the null
  // pointer crashes the process. With no trust in pseudo costs Cbc chooses its branch by its
  // default decision, which compares the branches of any object. That chooser's strong branching
  // can hand OsiClp a hot start it asserts on (with sets or lot sizes among the objects), so it
  // chooses without.
  cbc.setNumberBeforeTrust(0);
  cbc.setNumberStrong(0);
  // Cbc keeps copies of the objects it is given.
  std::vector<CbcObject*> given;
  for (const auto& o : objects) given.push_back(o.get());
  cbc.findIntegers(false);
  cbc.addObjects(static_cast<int>(given.size()), given.data());
}

void applyDirectives(CbcModel& cbc, const ModelRecord& m, const std::vector<DirsRecord>& dirs) {
  if (dirs.empty()) return;
  const auto nc = static_cast<std::size_t>(m.cols());
  const auto ns = static_cast<std::size_t>(m.sets());
  std::vector<int> colPriority(nc, -1), setPriority(ns, -1);
  std::vector<char> colDir(nc, 'N');
  for (const DirsRecord& d : dirs) {
    for (std::size_t k = 0; k < d.cols.size(); ++k) {
      const int c = d.cols[k];
      if (c < 0) {
        if (!d.priority.empty()) setPriority[static_cast<std::size_t>(-c - 1)] = d.priority[k];
        continue;
      }
      if (!d.priority.empty()) colPriority[static_cast<std::size_t>(c)] = d.priority[k];
      if (!d.dir.empty()) colDir[static_cast<std::size_t>(c)] = d.dir[k];
    }
  }
  if (cbc.numberObjects() == 0) cbc.findIntegers(false);
  for (int i = 0; i < cbc.numberObjects(); ++i) {
    OsiObject* object = cbc.modifiableObject(i);
    if (auto* integer = dynamic_cast<CbcSimpleInteger*>(object)) {
      const auto c = static_cast<std::size_t>(integer->columnNumber());
      if (colPriority[c] >= 0) integer->setPriority(colPriority[c]);
      if (colDir[c] == 'U') integer->setPreferredWay(1);
      if (colDir[c] == 'D') integer->setPreferredWay(-1);
    } else if (auto* sos = dynamic_cast<CbcSOS*>(object)) {
      const auto s = static_cast<std::size_t>(sos->id());
      if (s < ns && setPriority[s] >= 0) sos->setPriority(setPriority[s]);
    }
  }
}

bool usableMipStart(const ModelRecord& m, const EngineModel& e, const IndicatorForm& indicators,
                    const MipSolRecord& start, double tol, std::vector<double>* x) {
  const auto nc = static_cast<std::size_t>(e.ncols);
  x->assign(nc, 0.0);
  std::vector<char> seen(nc, 0);
  for (std::size_t k = 0; k < start.values.size(); ++k) {
    const std::size_t j = start.cols.empty() ? k : static_cast<std::size_t>(start.cols[k]);
    // A start given for another model, or with values no column can take, is no start.
    if (j >= nc || isInfinite(start.values[k])) return false;
    (*x)[j] = start.values[k];
    seen[j] = 1;
  }
  if (std::find(seen.begin(), seen.end(), 0) != seen.end()) return false;
  for (std::size_t j = 0; j < nc; ++j) {
    if ((*x)[j] < e.colLb[j] - tol || (*x)[j] > e.colUb[j] + tol) return false;
    const char t = m.colType[j];
    if (t != 'C' && std::fabs((*x)[j] - std::round((*x)[j])) > tol) return false;
  }
  const std::vector<double> act = activityOf(e, x->data());
  for (std::size_t i = 0; i < act.size(); ++i) {
    if (act[i] < e.rowLb[i] - tol || act[i] > e.rowUb[i] + tol) return false;
  }
  return violatedIndicator(indicators, x->data(), act.data(), tol) < 0;
}

}  // namespace xprs::standin
