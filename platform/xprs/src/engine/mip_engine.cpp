#include "engine/mip_engine.hpp"

#include <algorithm>
#include <cmath>
#include <coin/CbcHeuristic.hpp>
#include <coin/CbcHeuristicFPump.hpp>
#include <coin/CbcModel.hpp>
#include <coin/CoinFinite.hpp>
#include <coin/OsiClpSolverInterface.hpp>
#include <optional>

#include "controls.hpp"
#include "engine/cbc_events.hpp"
#include "engine/clp_events.hpp"
#include "engine/coin_log.hpp"
#include "engine/cut_generators.hpp"
#include "engine/lone_columns.hpp"
#include "engine/mip_model.hpp"
#include "engine/precheck.hpp"
#include "engine/run_context.hpp"
#include "validate.hpp"

namespace xprs::standin {

namespace {

// The tolerance within which a point of a relaxation counts as one.
double feasibilityTolerance(RunContext& ctx) {
  return std::max(1e-6, dblControl(ctx.problem().rec, XPRS_FEASTOL));
}

// The search stops at the wall-clock time left of the run.
void limitSearchTime(RunContext& ctx, CbcModel& cbc) {
  if (const double t = timeLeft(ctx); t > 0) {
    cbc.setUseElapsedTime(true);
    cbc.setMaximumSeconds(t);
  }
}

// The limits, tolerances, cutoff and threads of the search from the problem's controls.
void setSearchLimits(RunContext& ctx, CbcModel& cbc, const EngineModel& e) {
  const ProblemRecord& rec = ctx.problem().rec;
  limitSearchTime(ctx, cbc);
  if (const int n = intControl(rec, XPRS_MAXNODE); n >= 0 && n < XPRS_MAXINT) {
    cbc.setMaximumNodes(n);
  }
  if (const int n = intControl(rec, XPRS_MAXMIPSOL); n > 0) cbc.setMaximumSolutions(n);
  cbc.setAllowableFractionGap(std::max(0.0, dblControl(rec, XPRS_MIPRELSTOP)));
  cbc.setAllowableGap(std::max(0.0, dblControl(rec, XPRS_MIPABSSTOP)));
  cbc.setIntegerTolerance(std::max(1e-9, dblControl(rec, XPRS_MIPTOL)));
  cbc.setCutoffIncrement(std::max(0.0, -dblControl(rec, XPRS_MIPADDCUTOFF)));
  if (rec.dblControls.count(XPRS_MIPABSCUTOFF)) {
    // Cbc works in the minimisation sense.
    cbc.setCutoff(e.sense * (dblControl(rec, XPRS_MIPABSCUTOFF) + e.rhs));
  }
  int threads = intControl(rec, XPRS_MIPTHREADS);
  if (threads <= 0) threads = intControl(rec, XPRS_THREADS);
  if (threads > 1) cbc.setNumberThreads(threads);
}

void markUnbounded(RunRecord& run) {
  run.lpStatus = XPRS_LP_UNBOUNDED;
  run.mipStatus = XPRS_MIP_UNBOUNDED;
  run.solStatus = XPRS_SOLSTATUS_UNBOUNDED;
  run.solveStatus = XPRS_SOLVESTATUS_COMPLETED;
}

// Solves the relaxation at the root; true when it was solved, else run holds why not. The
// relaxation honours the time limit and interrupts like any linear program. The tree search
// polls at its nodes instead: a node's relaxation stopped halfway could read as infeasible.
bool solveRoot(RunContext& ctx, CbcModel& cbc, RunRecord& run, const EngineModel& e) {
  ClpSimplex* root = dynamic_cast<OsiClpSolverInterface&>(*cbc.solver()).getModelPtr();
  ClpEvents rootEvents(&ctx);
  root->passInEventHandler(&rootEvents);
  if (const double t = timeLeft(ctx); t > 0) root->setMaximumWallSeconds(t);
  solveRelaxation(cbc, feasibilityTolerance(ctx));
  const ClpEventHandler silent;
  root->passInEventHandler(&silent);
  root->setMaximumWallSeconds(-1.0);
  run.algorithm = XPRS_ALG_DUAL;
  if (const int status = root->status(); status == 3 || status == 5) {
    run.lpStatus = XPRS_LP_UNFINISHED;
    run.mipStatus = XPRS_MIP_LP_NOT_OPTIMAL;
    run.solStatus = XPRS_SOLSTATUS_NOTFOUND;
    run.solveStatus = XPRS_SOLVESTATUS_STOPPED;
    run.stopStatus = ctx.stopReason() ? ctx.stopReason() : XPRS_STOP_TIMELIMIT;
    run.iterations = root->numberIterations();
    run.bestBound = -e.sense * XPRS_PLUSINFINITY;  // stopped before the root: nothing proved
  } else if (cbc.isInitialSolveProvenPrimalInfeasible()) {
    run.lpStatus = XPRS_LP_INFEAS;
    run.mipStatus = XPRS_MIP_INFEAS;
    run.solStatus = XPRS_SOLSTATUS_INFEASIBLE;
    run.solveStatus = XPRS_SOLVESTATUS_COMPLETED;
  } else if (cbc.isInitialSolveProvenDualInfeasible() || root->status() == 2) {
    markUnbounded(run);
  } else {
    run.lpStatus = XPRS_LP_OPTIMAL;
    run.lpObjVal = e.sense * cbc.solver()->getObjValue() - e.rhs;
    return true;
  }
  return false;
}

// Searches the model without its objective for a point that keeps its integrality, sets and
// indicators: true when one is found, false when the search proves there is none, nothing when
// it stopped first.
std::optional<bool> searchPoint(RunContext& ctx, const ModelRecord& m, const EngineModel& e,
                                const IndicatorForm& indicators,
                                const std::vector<double>& lotLimit) {
  OsiClpSolverInterface si;
  CoinMessageHandler quiet;
  quiet.setLogLevel(0);
  static_cast<void>(loadSolver(si, quiet, m, e, indicators));
  const std::vector<double> noObjective(static_cast<std::size_t>(e.ncols), 0.0);
  si.setObjective(noObjective.data());
  CbcModel cbc(si);
  cbc.passInMessageHandler(&quiet);
  cbc.solver()->passInMessageHandler(&quiet);
  cbc.setLogLevel(0);
  addBranchingObjects(cbc, m, e, lotLimit);
  limitSearchTime(ctx, cbc);
  cbc.setMaximumSolutions(1);
  solveRelaxation(cbc, feasibilityTolerance(ctx));
  if (cbc.isInitialSolveProvenPrimalInfeasible()) return false;
  cbc.branchAndBound();
  if (cbc.bestSolution() != nullptr) return true;
  // Cbc's search ends without a point some models have when an integer column has an infinite
  // bound: its "none" then proves nothing, and the search runs again with such bounds at 1e6.
  EngineModel boxed = e;
  bool unboundedInteger = false;
  for (int j = 0; j < e.ncols; ++j) {
    const auto u = static_cast<std::size_t>(j);
    if (!si.isInteger(j)) continue;
    if (si.getColLower()[j] <= -COIN_DBL_MAX) boxed.colLb[u] = -1e6, unboundedInteger = true;
    if (si.getColUpper()[j] >= COIN_DBL_MAX) boxed.colUb[u] = 1e6, unboundedInteger = true;
  }
  if (cbc.status() != 0) return std::nullopt;
  if (!unboundedInteger) return false;
  return searchPoint(ctx, m, boxed, indicators, lotLimit);
}

// An unbounded relaxation makes the model unbounded only if the model has a point at all. False
// when a search for one proves there is none.
bool mayHavePoint(RunContext& ctx, const ModelRecord& m, const EngineModel& e,
                  const IndicatorForm& indicators, const std::vector<double>& lotLimit) {
  return searchPoint(ctx, m, e, indicators, lotLimit).value_or(true);
}

// Stop after the relaxation: its bound is known, no integer solution is.
void stopAfterRelaxation(CbcModel& cbc, RunRecord& run) {
  run.solveStatus = XPRS_SOLVESTATUS_STOPPED;
  run.mipStatus = XPRS_MIP_LP_OPTIMAL;
  run.solStatus = XPRS_SOLSTATUS_NOTFOUND;
  run.bestBound = run.lpObjVal;
  run.iterations = cbc.solver()->getIterationCount();
}

// The start with each settled column moved to where the run fixed it, when the start kept it
// within its bounds: no constraint holds it, so the move keeps the start a point of the model and
// makes it no worse.
MipSolRecord withSettledColumns(MipSolRecord start, const EngineModel& e, const LoneColumns& lone,
                                double tol) {
  for (std::size_t k = 0; k < start.values.size(); ++k) {
    const int j = start.cols.empty() ? static_cast<int>(k) : start.cols[k];
    const auto settled = std::find_if(lone.settled.begin(), lone.settled.end(),
                                      [j](const LoneColumns::Column& c) { return c.col == j; });
    if (settled == lone.settled.end()) continue;
    double& v = start.values[k];
    if (!isInfinite(v) && v >= settled->lb - tol && v <= settled->ub + tol) {
      v = e.colLb[static_cast<std::size_t>(j)];
    }
  }
  return start;
}

// Hands Cbc the latest usable MIP start, if any.
void offerMipStart(RunContext& ctx, CbcModel& cbc, const ModelRecord& m, const EngineModel& e,
                   const IndicatorForm& indicators, const LoneColumns& lone) {
  const Problem& problem = ctx.problem();
  std::vector<double> start;
  const double tol = dblControl(problem.rec, XPRS_FEASTOL) * 10;
  for (auto it = problem.pendingMipSols.rbegin(); it != problem.pendingMipSols.rend(); ++it) {
    if (usableMipStart(m, e, indicators, withSettledColumns(*it, e, lone, tol), tol, &start)) {
      cbc.setBestSolution(start.data(), e.ncols, e.sense * (objectiveOf(m, start.data()) + e.rhs),
                          false);
      ctx.message("MIP start accepted", XPRS_MSG_INFO);
      return;
    }
  }
}

// The statuses of a finished search; x is its best solution or null.
void setSearchStatus(RunContext& ctx, const CbcModel& cbc, RunRecord& run, const double* x) {
  const int status = cbc.status();
  const int secondary = cbc.secondaryStatus();
  if (status == 0) {
    run.solveStatus = XPRS_SOLVESTATUS_COMPLETED;
    run.mipStatus = x ? XPRS_MIP_OPTIMAL : XPRS_MIP_INFEAS;
    run.solStatus = x ? XPRS_SOLSTATUS_OPTIMAL : XPRS_SOLSTATUS_INFEASIBLE;
  } else if (status == 1 || status == 5) {
    run.solveStatus = XPRS_SOLVESTATUS_STOPPED;
    if (status == 5) {
      run.stopStatus = ctx.stopReason() ? ctx.stopReason() : XPRS_STOP_USER;
    } else {
      run.stopStatus = secondary == 3     ? XPRS_STOP_NODELIMIT
                       : secondary == 4   ? XPRS_STOP_TIMELIMIT
                       : secondary == 6   ? XPRS_STOP_SOLLIMIT
                       : ctx.stopReason() ? ctx.stopReason()
                                          : XPRS_STOP_USER;
    }
    run.mipStatus = x ? XPRS_MIP_SOLUTION : XPRS_MIP_NO_SOL_FOUND;
    run.solStatus = x ? XPRS_SOLSTATUS_FEASIBLE : XPRS_SOLSTATUS_NOTFOUND;
  } else {
    run.solveStatus = XPRS_SOLVESTATUS_FAILED;
    run.mipStatus = x ? XPRS_MIP_SOLUTION : XPRS_MIP_NO_SOL_FOUND;
    run.solStatus = x ? XPRS_SOLSTATUS_FEASIBLE : XPRS_SOLSTATUS_NOTFOUND;
    run.stopStatus = XPRS_STOP_NUMERICALERROR;
  }
}

// The tree search; returns its best solution, or null.
const double* searchTree(RunContext& ctx, CbcModel& cbc, RunRecord& run, const EngineModel& e) {
  cbc.branchAndBound();
  // Cbc works with its own copy of the handler.
  if (auto* installed = dynamic_cast<CbcEvents*>(cbc.getEventHandler())) {
    installed->reportIncumbent();
  }
  const double* x = cbc.bestSolution();
  run.nodes = cbc.getNodeCount();
  run.iterations = cbc.getIterationCount();
  setSearchStatus(ctx, cbc, run, x);
  run.bestBound = e.sense * cbc.getBestPossibleObjValue() - e.rhs;
  return x;
}

// With a capped semi-continuous column, "infeasible" or a value at the cap proves nothing.
void refuseCappedAnswer(const ModelRecord& m, const EngineModel& e, const RunRecord& run,
                        const double* x) {
  bool untrusted = run.solStatus == XPRS_SOLSTATUS_INFEASIBLE;
  for (int j = 0; x && j < e.ncols; ++j) {
    const auto u = static_cast<std::size_t>(j);
    const char t = m.colType[u];
    if ((t == 'S' || t == 'R') && e.colUb[u] > kSemiContinuousCap &&
        x[j] >= kSemiContinuousCap * (1 - 1e-9)) {
      untrusted = true;
    }
  }
  if (untrusted) {
    fail("a semi-continuous column's upper bound exceeds the engine's limit ", kSemiContinuousCap);
  }
}

void keepMipSolution(RunContext& ctx, RunRecord& run, const ModelRecord& m, const EngineModel& e,
                     const IndicatorForm& indicators, const double* x) {
  ProblemRecord& rec = ctx.problem().rec;
  ResultRecord& r = rec.results;
  r.primalAvail =
      run.mipStatus == XPRS_MIP_OPTIMAL ? XPRS_SOLAVAILABLE_OPTIMAL : XPRS_SOLAVAILABLE_FEASIBLE;
  r.x.assign(x, x + e.ncols);
  const std::vector<double> act = activityOf(e, x);
  const double tol = dblControl(rec, XPRS_FEASTOL) * 10;
  // Cbc accepts an indicator column within its integer tolerance of the enforcing value, where
  // a large big-M can leave the row violated by much more than the feasibility tolerance.
  if (const int row = violatedIndicator(indicators, x, act.data(), tol); row >= 0) {
    fail("indicator row ", row,
         " is violated by the engine's solution: its big-M form is numerically unreliable");
  }
  r.slack = slacksOf(m, act.data());
  double sumInf = 0.0;
  primalInfeasibilities(e, x, act.data(), tol, r, &sumInf);
  run.sumPrimalInf = sumInf;
  run.objVal = run.mipObjVal = objectiveOf(m, x);
  if (run.mipStatus == XPRS_MIP_OPTIMAL) {
    run.bestBound =
        e.sense > 0 ? std::min(run.bestBound, run.objVal) : std::max(run.bestBound, run.objVal);
  }
}

// Cuts and heuristics as CUTSTRATEGY and HEUREMPHASIS ask: 0 means none.
struct SearchAids {
  explicit SearchAids(CbcModel& cbc) : rounding(cbc), pump(cbc) {
    cuts.probing.setMaxPass(3);
    cuts.probing.setMaxProbe(100);
    cuts.probing.setMaxLook(50);
  }
  void addTo(CbcModel& cbc, const ProblemRecord& rec, const MipShape& shape) {
    // Probing tightens column bounds, which Cbc's lot-size branching cannot follow.
    if (intControl(rec, XPRS_CUTSTRATEGY) != 0) {
      cuts.addTo(cbc, /*withProbing=*/!shape.semiContinuous);
    }
    if (intControl(rec, XPRS_HEUREMPHASIS) != 0) {
      cbc.addHeuristic(&rounding);
      if (!shape.special) cbc.addHeuristic(&pump);
    }
  }
  CutGenerators cuts;
  CbcRounding rounding;
  CbcHeuristicFPump pump;
};

// The engine form of a MIP, checked for what makes it infeasible without a search (then
// reported, and nothing returned).
std::optional<EngineModel> prepareMip(RunContext& ctx, RunRecord& run, const ModelRecord& m,
                                      std::vector<double>& lotLimit, IndicatorForm& indicators,
                                      LoneColumns& lone) {
  ProblemRecord& rec = ctx.problem().rec;
  if (!m.objQ.empty())
    fail("a quadratic objective with MIP entities cannot be solved by this library");
  EngineModel e = assemble(m, /*mip=*/true);
  rec.results = ResultRecord{};
  const double intTol = std::max(1e-9, dblControl(rec, XPRS_MIPTOL));
  lotLimit = semiContinuousLimits(m, e, intTol);
  // The indicator rows are freed in e before the checks: they need not hold.
  indicators = reformulateIndicators(m, e);
  if (const std::string reason =
          provenInfeasible(e, m, /*mip=*/true, dblControl(rec, XPRS_FEASTOL), intTol);
      !reason.empty()) {
    reportInfeasible(ctx, run, /*mip=*/true, reason);
    return std::nullopt;
  }
  lone = settleLoneColumns(e, m, &indicators);
  // Cbc always minimises here: on a maximisation its search turns the cutoff around, and a start
  // then cuts off every better solution. A maximisation enters as the minimisation of its
  // negated objective; Cbc's objective values and bounds are those times the sense.
  if (e.sense < 0) {
    for (double& c : e.obj) c = -c;
  }
  return e;
}

// With sets, semi-continuous columns or indicators an unbounded relaxation proves nothing: they
// may keep every point of the model off the relaxation's ray. The model is then solved within
// boxes of 1e6 and 1e8 on its infinite column sides: an optimum off the sides of a box is its
// answer; optima on the sides of both, the larger box's better, make it unbounded; no point in
// either box makes it infeasible. False when neither decided.
bool decideInBoxes(RunContext& ctx, RunRecord& run, const std::string& flags,
                   const ModelRecord& m) {
  std::optional<double> previous;
  int infeasible = 0;
  for (const double box : {1e6, 1e8}) {
    ModelRecord boxed = m;
    for (std::size_t j = 0; j < boxed.colLb.size(); ++j) {
      boxed.colLb[j] = std::max(boxed.colLb[j], -box);
      boxed.colUb[j] = std::min(boxed.colUb[j], box);
    }
    RunRecord r = run;
    solveMip(ctx, r, flags, boxed);
    if (r.solStatus == XPRS_SOLSTATUS_INFEASIBLE && ++infeasible == 2) {
      run = r;
      return true;
    }
    if (r.solStatus == XPRS_SOLSTATUS_INFEASIBLE) continue;
    if (r.solStatus != XPRS_SOLSTATUS_OPTIMAL) return false;
    const std::vector<double>& x = ctx.problem().rec.results.x;
    bool atBox = false;
    for (std::size_t j = 0; j < x.size(); ++j) {
      atBox = atBox || (m.colLb[j] < -box && x[j] <= -box * (1 - 1e-6)) ||
              (m.colUb[j] > box && x[j] >= box * (1 - 1e-6));
    }
    if (!atBox) {
      run = r;
      return true;
    }
    if (previous &&
        m.sense * (r.objVal - *previous) < -1e-6 * std::max(1.0, std::fabs(*previous))) {
      ctx.problem().rec.results = ResultRecord{};
      markUnbounded(run);
      return true;
    }
    previous = r.objVal;
  }
  return false;
}

}  // namespace

std::optional<bool> mipHasPoint(RunContext& ctx, const ModelRecord& m) {
  const ProblemRecord& rec = ctx.problem().rec;
  EngineModel e = assemble(m, /*mip=*/true);
  const double intTol = std::max(1e-9, dblControl(rec, XPRS_MIPTOL));
  const std::vector<double> lotLimit = semiContinuousLimits(m, e, intTol);
  const IndicatorForm indicators = reformulateIndicators(m, e);
  if (!provenInfeasible(e, m, /*mip=*/true, dblControl(rec, XPRS_FEASTOL), intTol).empty()) {
    return false;
  }
  return searchPoint(ctx, m, e, indicators, lotLimit);
}

void solveMip(RunContext& ctx, RunRecord& run, const std::string& flags, const ModelRecord& m) {
  const ProblemRecord& rec = ctx.problem().rec;
  std::vector<double> lotLimit;
  IndicatorForm indicators;
  LoneColumns lone;
  const std::optional<EngineModel> prepared = prepareMip(ctx, run, m, lotLimit, indicators, lone);
  if (!prepared) return;
  const EngineModel& e = *prepared;
  OsiClpSolverInterface si;
  CoinMessageHandler quiet;
  quiet.setLogLevel(0);
  const MipShape shape = loadSolver(si, quiet, m, e, indicators);
  CbcModel cbc(si);
  CoinLog log(&ctx, CoinLog::Typing::ByNumber);
  cbc.passInMessageHandler(&log);
  cbc.solver()->passInMessageHandler(&quiet);
  cbc.setLogLevel(intControl(rec, XPRS_OUTPUTLOG) == 0 ? 0 : 1);
  addBranchingObjects(cbc, m, e, lotLimit);
  applyDirectives(cbc, m, rec.warmStart.dirs);
  SearchAids aids(cbc);
  aids.addTo(cbc, rec, shape);
  setSearchLimits(ctx, cbc, e);
  CbcEvents events(&ctx, &m, &cbc);
  cbc.passInEventHandler(&events);
  const double* x = nullptr;
  if (lone.unbounded >= 0) {
    // The objective improves without limit along a column no constraint holds: the model is
    // unbounded when it has a point at all.
    ctx.message(text("Column ", lone.unbounded,
                     " is in no constraint and its objective improves without limit"),
                XPRS_MSG_INFO);
    if (!mayHavePoint(ctx, m, e, indicators, lotLimit)) {
      reportInfeasible(ctx, run, /*mip=*/true,
                       "no point keeps the rows, bounds, integrality, sets and indicators");
      return;
    }
    markUnbounded(run);
  } else if (solveRoot(ctx, cbc, run, e)) {
    if (flags.find('l') != std::string::npos) {
      stopAfterRelaxation(cbc, run);
      return;
    }
    if (!shape.special) offerMipStart(ctx, cbc, m, e, indicators, lone);
    x = searchTree(ctx, cbc, run, e);
  } else if (run.solStatus == XPRS_SOLSTATUS_UNBOUNDED &&
             (shape.special || indicators.rows() > 0) && decideInBoxes(ctx, run, flags, m)) {
    return;
  } else if (run.solStatus == XPRS_SOLSTATUS_UNBOUNDED &&
             !mayHavePoint(ctx, m, e, indicators, lotLimit)) {
    reportInfeasible(ctx, run, /*mip=*/true,
                     "the relaxation is unbounded, but no point keeps "
                     "the integrality, sets and indicators");
    return;
  }
  run.mipSols = ctx.incumbents();
  if (shape.capped) refuseCappedAnswer(m, e, run, x);
  if (x) keepMipSolution(ctx, run, m, e, indicators, x);
}

}  // namespace xprs::standin
