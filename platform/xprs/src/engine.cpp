#include "engine.hpp"

#include <algorithm>
#include <cmath>
#include <coin/CbcBranchActual.hpp>
#include <coin/CbcBranchLotsize.hpp>
#include <coin/CbcEventHandler.hpp>
#include <coin/CbcHeuristic.hpp>
#include <coin/CbcHeuristicFPump.hpp>
#include <coin/CbcModel.hpp>
#include <coin/ClpEventHandler.hpp>
#include <coin/ClpSimplex.hpp>
#include <coin/ClpSolve.hpp>
#include <coin/CoinFinite.hpp>
#include <coin/CoinMessageHandler.hpp>
#include <coin/OsiClpSolverInterface.hpp>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <utility>

#include "clp_guard.hpp"
#include "controls.hpp"
#include "cut_generators.hpp"
#include "indicators.hpp"
#include "nlp_engine.hpp"
#include "objectives.hpp"
#include "pool.hpp"
#include "precheck.hpp"
#include "validate.hpp"

namespace xprs::standin {

double toEngine(double v) {
  if (v >= XPRS_PLUSINFINITY) return COIN_DBL_MAX;
  if (v <= XPRS_MINUSINFINITY) return -COIN_DBL_MAX;
  return v;
}

// Coefficients below this magnitude enter the engine as zeros: Clp's barrier aborts the process
// on an objective coefficient of 1e-100, and no model means anything by such a number.
constexpr double kNegligible = 1e-30;

EngineModel assemble(const ModelRecord& m, bool mip) {
  EngineModel e;
  e.ncols = m.cols();
  e.nrows = m.rows();
  e.sense = m.sense;
  e.rhs = m.objectives.front().rhs;
  const auto nc = static_cast<std::size_t>(e.ncols);
  const std::size_t nnz = m.elemVal.size();
  if (nnz > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    fail("the matrix has more nonzeros than the engine can hold");
  }
  std::vector<int> count(nc + 1, 0);
  for (int c : m.elemCol) ++count[static_cast<std::size_t>(c) + 1];
  for (std::size_t j = 0; j < nc; ++j) count[j + 1] += count[j];
  std::vector<std::pair<int, double>> entries(nnz);
  {
    std::vector<int> next(count.begin(), count.end() - 1);
    for (std::size_t k = 0; k < nnz; ++k) {
      const auto j = static_cast<std::size_t>(m.elemCol[k]);
      entries[static_cast<std::size_t>(next[j]++)] = {m.elemRow[k], m.elemVal[k]};
    }
  }
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
  if (!m.objQ.empty()) {
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
  return e;
}

namespace {

using Clock = std::chrono::steady_clock;

// What the engine refuses, before anything runs.
void checkSolvable(Problem& problem) {
  const ModelRecord& m = problem.rec.model;
  if (m.objectives.size() > 1 && !m.objQ.empty()) {
    fail("a quadratic objective with multiple objectives cannot be solved by this library");
  }
  if (std::find(m.colType.begin(), m.colType.end(), 'P') != m.colType.end()) {
    fail("partial integer columns cannot be solved by this library");
  }
}

// A node callback alone does not make a MIP: a linear model is solved as an LP, keeps its duals
// and basis, and its node callbacks never fire.
bool isMip(const Problem& problem) {
  const ModelRecord& m = problem.rec.model;
  if (m.sets() > 0) return true;
  if (std::any_of(m.indicatorComplement.begin(), m.indicatorComplement.end(),
                  [](int c) { return c != 0; })) {
    return true;
  }
  return std::any_of(m.colType.begin(), m.colType.end(), [](char t) { return t != 'C'; });
}

}  // namespace

double timeLimit(const ProblemRecord& rec) {
  const double t = dblControl(rec, XPRS_TIMELIMIT);
  if (t < XPRS_PLUSINFINITY && t > 0) return t;
  const int maxTime = intControl(rec, XPRS_MAXTIME);
  if (maxTime != 0) return std::abs(maxTime);
  return -1.0;
}

RunRecord failedRun() {
  return RunRecord{XPRS_SOLVESTATUS_FAILED, XPRS_SOLSTATUS_NOTFOUND, XPRS_STOP_GENERICERROR};
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

namespace {

// Seconds left of the run's time limit (at least a millisecond), or -1 without a limit. A run
// may solve several models in turn; together they keep to the limit.
double timeLeft(RunContext& ctx) {
  const double t = timeLimit(ctx.problem().rec);
  return t > 0 ? std::max(1e-3, t - ctx.elapsed()) : -1.0;
}

// Slacks rhs - activity, the Xpress convention for every row type.
std::vector<double> slacksOf(const ModelRecord& m, const double* activity) {
  std::vector<double> s(static_cast<std::size_t>(m.rows()));
  for (std::size_t i = 0; i < s.size(); ++i) s[i] = m.rowRhs[i] - activity[i];
  return s;
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

// Primal infeasibilities of a point (columns outside bounds, rows outside their range).
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

class LogHandler final : public CoinMessageHandler {
 public:
  explicit LogHandler(RunContext* ctx) : ctx_(ctx) {}
  LogHandler(const LogHandler&) = default;
  LogHandler& operator=(const LogHandler&) = delete;
  CoinMessageHandler* clone() const override { return new LogHandler(*this); }
  int print() override {
    std::string line = messageBuffer();
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    const int number = currentMessage().externalNumber();
    const int type = number < 3000   ? XPRS_MSG_INFO
                     : number < 6000 ? XPRS_MSG_WARNING
                                     : XPRS_MSG_ERROR;
    ctx_->message(line, type);
    return 0;
  }

 private:
  RunContext* ctx_;
};

class ClpEvents final : public ClpEventHandler {
 public:
  explicit ClpEvents(RunContext* ctx) : ctx_(ctx) {}
  ClpEvents(const ClpEvents&) = default;
  ClpEvents& operator=(const ClpEvents&) = delete;
  ClpEventHandler* clone() const override { return new ClpEvents(*this); }
  int event(Event e) override {
    if (e == endOfIteration && ctx_->poll()) return 0;
    return -1;
  }

 private:
  RunContext* ctx_;
};

// Cbc hands a copy of the handler to the small searches some heuristics run on reduced models,
// whose columns, nodes and bounds are not the user's: only events of the main search are
// reported. What a small search finds comes back to the main search, which reports it. Every
// copy polls, so that an interrupt also ends a small search.
class CbcEvents final : public CbcEventHandler {
 public:
  CbcEvents(RunContext* ctx, const ModelRecord* model, const CbcModel* main)
      : ctx_(ctx), model_(model), main_(main) {}
  CbcEvents(const CbcEvents&) = default;
  CbcEvents& operator=(const CbcEvents&) = delete;
  CbcEventHandler* clone() const override { return new CbcEvents(*this); }
  CbcAction event(CbcEvent e) override {
    if (CbcEventHandler::model_ == main_) {
      reportIncumbent();
      if (e == node) ctx_->node(main_->getNodeCount(), bound());
    }
    return ctx_->poll() ? stop : noAction;
  }

  // Cbc raises more than one event per incumbent and may accept the same solution twice:
  // report each strict improvement of the best solution once, from the solution Cbc keeps.
  void reportIncumbent() {
    const double* best = main_->bestSolution();
    if (best == nullptr) return;
    const double objective = objectiveOf(*model_, best);
    if (!std::isnan(lastObjective_) && model_->sense * (lastObjective_ - objective) <=
                                           1e-9 * std::max(1.0, std::fabs(objective))) {
      return;
    }
    lastObjective_ = objective;
    ctx_->intSol(objective, std::vector<double>(best, best + model_->cols()));
  }

 private:
  double bound() const {
    // Cbc minimises the objective times the sense.
    return model_->sense * main_->getBestPossibleObjValue() - model_->objectives.front().rhs;
  }

  RunContext* ctx_;
  const ModelRecord* model_;
  const CbcModel* main_;
  double lastObjective_ = std::numeric_limits<double>::quiet_NaN();
};

int colStatusToXprs(ClpSimplex::Status s) {
  switch (s) {
    case ClpSimplex::basic:
      return XPRS_BASIC;
    case ClpSimplex::atUpperBound:
      return XPRS_AT_UPPER;
    case ClpSimplex::atLowerBound:
    case ClpSimplex::isFixed:
      return XPRS_AT_LOWER;
    default:
      return XPRS_FREE_SUPER;
  }
}

// Clp describes a row by its activity; Xpress by its slack s = rhs - activity, whose bounds
// follow the row type: 'L' [0, inf), 'G' (-inf, 0], 'E' [0, 0], 'R' [0, |range|], 'N' free. A
// binding 'L' row thus has its slack at the lower bound, a binding 'G' row at the upper bound,
// and a range row at its rhs end at the lower bound, at its rhs - range end at the upper bound.
int rowStatusToXprs(ClpSimplex::Status s, char type) {
  if (s == ClpSimplex::basic) return XPRS_BASIC;
  if (s == ClpSimplex::isFree || s == ClpSimplex::superBasic) return XPRS_FREE_SUPER;
  switch (type) {
    case 'L':
    case 'E':
      return XPRS_AT_LOWER;
    case 'G':
      return XPRS_AT_UPPER;
    case 'R':
      return s == ClpSimplex::atLowerBound ? XPRS_AT_UPPER : XPRS_AT_LOWER;
    default:
      return XPRS_FREE_SUPER;
  }
}

// A status at an infinite bound takes the finite one; with neither, the variable is free.
ClpSimplex::Status colStatusToClp(int s, double lb, double ub) {
  const bool hasLb = lb > -COIN_DBL_MAX;
  const bool hasUb = ub < COIN_DBL_MAX;
  switch (s) {
    case XPRS_BASIC:
      return ClpSimplex::basic;
    case XPRS_AT_LOWER:
      return hasLb   ? ClpSimplex::atLowerBound
             : hasUb ? ClpSimplex::atUpperBound
                     : ClpSimplex::isFree;
    case XPRS_AT_UPPER:
      return hasUb   ? ClpSimplex::atUpperBound
             : hasLb ? ClpSimplex::atLowerBound
                     : ClpSimplex::isFree;
    default:
      return ClpSimplex::superBasic;
  }
}

// The reverse of rowStatusToXprs. A slack status at an infinite bound ('G' at lower, 'L' at
// upper) takes the row's one finite end.
ClpSimplex::Status rowStatusToClp(int s, char type) {
  if (s == XPRS_BASIC) return ClpSimplex::basic;
  if (s == XPRS_FREE_SUPER) return ClpSimplex::superBasic;
  switch (type) {
    case 'L':
      return s == XPRS_AT_UPPER ? ClpSimplex::atLowerBound : ClpSimplex::atUpperBound;
    case 'G':
    case 'E':
      return ClpSimplex::atLowerBound;
    case 'R':
      return s == XPRS_AT_UPPER ? ClpSimplex::atLowerBound : ClpSimplex::atUpperBound;
    default:
      return ClpSimplex::isFree;
  }
}

void finishRun(Problem& problem, RunRecord run, int* solvestatus, int* solstatus) {
  problem.rec.run = run;
  ++problem.rec.runs;
  if (solvestatus) *solvestatus = run.solveStatus;
  if (solstatus) *solstatus = run.solStatus;
}

void reportInfeasible(RunContext& ctx, RunRecord& run, bool mip, const std::string& reason) {
  run.solveStatus = XPRS_SOLVESTATUS_COMPLETED;
  run.solStatus = XPRS_SOLSTATUS_INFEASIBLE;
  run.lpStatus = XPRS_LP_INFEAS;
  if (mip) run.mipStatus = XPRS_MIP_INFEAS;
  ctx.problem().rec.results = ResultRecord{};
  ctx.message(text("The problem is infeasible: ", reason), XPRS_MSG_INFO);
}

// The run of a linear or quadratic model through Clp: the program holding the answer (none when
// the answer came without solving the model itself) and the Clp status it ended with.
struct LpOutcome {
  std::unique_ptr<ClpSimplex> solved;
  int status = 4;
  int secondary = 0;
  int iterations = 0;
  int algorithm = XPRS_ALG_DUAL;
};

using FreshModel = std::function<std::unique_ptr<ClpSimplex>()>;

LpOutcome outcomeOf(std::unique_ptr<ClpSimplex> clp, int algorithm, int iterations = 0) {
  LpOutcome out;
  out.status = clp->status();
  out.secondary = clp->secondaryStatus();
  out.iterations = iterations + clp->numberIterations();
  out.algorithm = algorithm;
  out.solved = std::move(clp);
  return out;
}

LpOutcome solveDual(const FreshModel& fresh, int iterations = 0) {
  std::unique_ptr<ClpSimplex> clp = fresh();
  clp->dual();
  return outcomeOf(std::move(clp), XPRS_ALG_DUAL, iterations);
}

// Runs the barrier on clp. Clp's barrier counts its iterations against the iteration limit when
// that is below 1000 (and stops at 200 otherwise). It prints its factor size to standard output
// unless its log is off.
void runBarrier(const ProblemRecord& rec, ClpSimplex& clp, bool crossover) {
  clp.setMaximumIterations(std::clamp(intControl(rec, XPRS_BARITERLIMIT), 0, 999));
  clp.setLogLevel(0);
  clp.barrier(crossover);
}

// True when one factorization of the barrier would take longer than the time left.
bool barrierTooSlow(RunContext& ctx, ClpSimplex& clp) {
  const double left = timeLeft(ctx);
  return left > 0 && factorSeconds(clp) > left;
}

// The barrier on a linear model, where it is safe: on finite column bounds and rows with
// entries, when a factorization fits the time left, and with its answer checked; otherwise the
// dual simplex.
LpOutcome solveBarrier(RunContext& ctx, const EngineModel& e, const FreshModel& fresh, double tol) {
  if (!barrierShaped(e)) {
    ctx.message(
        "The barrier needs finite bounds on every column and an entry in every row: the dual "
        "simplex solves the model",
        XPRS_MSG_INFO);
    return solveDual(fresh);
  }
  std::unique_ptr<ClpSimplex> clp = fresh();
  if (barrierTooSlow(ctx, *clp)) {
    ctx.message(
        "One barrier factorization would outlast the time left: the dual simplex solves "
        "the model",
        XPRS_MSG_INFO);
    return solveDual(fresh);
  }
  runBarrier(ctx.problem().rec, *clp, intControl(ctx.problem().rec, XPRS_CROSSOVER) != 0);
  if (clp->status() == 3 || clp->status() == 5 || interiorAnswerHolds(*clp, e, tol)) {
    return outcomeOf(std::move(clp), XPRS_ALG_BARRIER);
  }
  ctx.message("The barrier found no answer that holds: the dual simplex solves the model",
              XPRS_MSG_INFO);
  return solveDual(fresh, clp->numberIterations());
}

// A convex quadratic model: feasibility and boundedness first (two linear programs), then the
// model with every infinite column side replaced by a bound far beyond a feasible point, solved
// by the barrier (with crossover unless switched off, then with it), or Clp's quadratic simplex
// when the barrier finds no answer. Clp's scaling leads its quadratic engines to answers that are
// not optimal, so they run unscaled, and an answer is taken only when it meets the optimality
// conditions. A solution at an artificial bound only says the bound was too near: it is moved
// out by 1e3, up to twice.
LpOutcome solveQuadratic(RunContext& ctx, const EngineModel& e, const ClpSetup& setup,
                         const FreshModel& fresh, double tol) {
  const ProblemRecord& rec = ctx.problem().rec;
  LpOutcome out;
  out.algorithm = XPRS_ALG_BARRIER;
  const QpShapeResult shape = shapeOfQuadratic(e, setup, tol);
  out.iterations = shape.iterations;
  switch (shape.shape) {
    case QpShape::Infeasible:
      out.status = 1;
      return out;
    case QpShape::Unbounded:
      out.status = 2;
      return out;
    case QpShape::Stopped:
      out.status = shape.status;
      out.secondary = shape.secondary;
      return out;
    case QpShape::Failed:
      out.status = 4;
      return out;
    case QpShape::Bounded:
      break;
  }
  double reach = 1.0;
  for (double v : shape.point) reach = std::max(reach, std::fabs(v));
  struct Method {
    int algorithm;
    bool crossover;
  };
  std::vector<Method> methods{{XPRS_ALG_BARRIER, intControl(rec, XPRS_CROSSOVER) != 0}};
  if (!methods.front().crossover) methods.push_back({XPRS_ALG_BARRIER, true});
  methods.push_back({XPRS_ALG_PRIMAL, false});
  double box = std::max(1e6, 100 * reach);
  for (int attempt = 0; attempt < 3; ++attempt, box *= 1e3) {
    bool tooNear = false;
    for (const Method& method : methods) {
      std::unique_ptr<ClpSimplex> clp = fresh();
      clp->scaling(0);
      boxFreeSides(*clp, e, box);
      if (method.algorithm == XPRS_ALG_BARRIER) {
        if (barrierTooSlow(ctx, *clp)) continue;
        runBarrier(rec, *clp, method.crossover);
      } else {
        clp->primal();
      }
      const int prior = out.iterations;
      out.iterations += clp->numberIterations();
      if (clp->status() == 3 || clp->status() == 5) {
        return outcomeOf(std::move(clp), method.algorithm, prior);
      }
      if (interiorAnswerHolds(*clp, e, tol) && atArtificialBound(*clp, e, box)) {
        tooNear = true;
        break;
      }
      if (quadraticAnswerHolds(*clp, e, tol)) {
        return outcomeOf(std::move(clp), method.algorithm, prior);
      }
    }
    if (!tooNear) break;
  }
  ctx.message("The quadratic engine found no answer that holds", XPRS_MSG_INFO);
  out.status = 4;
  return out;
}

void solveLp(RunContext& ctx, RunRecord& run, const std::string& flags, const ModelRecord& m) {
  Problem& problem = ctx.problem();
  ProblemRecord& rec = problem.rec;
  EngineModel e = assemble(m, /*mip=*/false);
  const bool quadratic = !m.objQ.empty();
  if (quadratic && !hessianFitsSense(m)) {
    run.lpStatus = XPRS_LP_NONCONVEX;
    fail("the objective Hessian is not ", m.sense == 1 ? "positive" : "negative", " semi-definite");
  }
  const double feasTol = dblControl(rec, XPRS_FEASTOL);
  if (const std::string reason = provenInfeasible(e, m, /*mip=*/false, feasTol, /*intTol=*/0.0);
      !reason.empty()) {
    reportInfeasible(ctx, run, /*mip=*/false, reason);
    return;
  }
  // Clp's quadratic engines assert on maximisation: a quadratic model runs as the minimisation of
  // its negation, and its duals are negated back.
  const int sense = e.sense;
  const bool negated = quadratic && sense < 0;
  if (negated) {
    for (double& c : e.obj) c = -c;
    for (double& q : e.qValue) q = -q;
    e.sense = 1;
  }
  LogHandler handler(&ctx);
  ClpEvents events(&ctx);
  const ClpSetup setup = [&](ClpSimplex& clp) {
    clp.passInMessageHandler(&handler);
    clp.setLogLevel(intControl(rec, XPRS_OUTPUTLOG) == 0 ? 0 : 1);
    clp.setPrimalTolerance(feasTol);
    clp.setDualTolerance(dblControl(rec, XPRS_OPTIMALITYTOL));
    clp.setMaximumIterations(std::max(0, intControl(rec, XPRS_LPITERLIMIT)));
    // Set just before each solve: Clp measures the limit from this call.
    if (const double t = timeLeft(ctx); t > 0) clp.setMaximumWallSeconds(t);
    clp.passInEventHandler(&events);
  };
  const FreshModel fresh = [&] {
    auto clp = std::make_unique<ClpSimplex>();
    loadModel(*clp, e, quadratic);
    setup(*clp);
    return clp;
  };
  const double answerTol = std::max(1e-6, feasTol);

  // The flags 'd', 'p', 'b' and 'n' choose the algorithm for this run.
  int alg = intControl(rec, XPRS_DEFAULTALG);
  if (flags.find('d') != std::string::npos || flags.find('n') != std::string::npos) {
    alg = XPRS_ALG_DUAL;
  }
  if (flags.find('p') != std::string::npos) alg = XPRS_ALG_PRIMAL;
  if (flags.find('b') != std::string::npos) alg = XPRS_ALG_BARRIER;
  const bool presolve = intControl(rec, XPRS_PRESOLVE) != 0;
  const std::optional<BasisRecord>& basis = problem.pendingBasis;
  LpOutcome out;
  if (basis && !quadratic && basis->colStat.size() == static_cast<std::size_t>(e.ncols) &&
      basis->rowStat.size() == static_cast<std::size_t>(e.nrows)) {
    std::unique_ptr<ClpSimplex> clp = fresh();
    for (int j = 0; j < e.ncols; ++j) {
      const auto u = static_cast<std::size_t>(j);
      clp->setColumnStatus(j, colStatusToClp(basis->colStat[u], e.colLb[u], e.colUb[u]));
    }
    for (int i = 0; i < e.nrows; ++i) {
      const auto u = static_cast<std::size_t>(i);
      clp->setRowStatus(i, rowStatusToClp(basis->rowStat[u], m.rowType[u]));
    }
    ctx.message("Warm start from the loaded basis", XPRS_MSG_INFO);
    if (alg == XPRS_ALG_PRIMAL) {
      clp->primal();
    } else {
      clp->dual();
    }
    out = outcomeOf(std::move(clp), alg == XPRS_ALG_PRIMAL ? XPRS_ALG_PRIMAL : XPRS_ALG_DUAL);
  } else if (quadratic) {
    out = solveQuadratic(ctx, e, setup, fresh, answerTol);
  } else if (alg == XPRS_ALG_BARRIER) {
    out = solveBarrier(ctx, e, fresh, answerTol);
  } else {
    std::unique_ptr<ClpSimplex> clp = fresh();
    ClpSolve options;
    options.setSolveType(alg == XPRS_ALG_PRIMAL ? ClpSolve::usePrimal : ClpSolve::useDual);
    options.setPresolveType(presolve ? ClpSolve::presolveOn : ClpSolve::presolveOff);
    clp->initialSolve(options);
    out = outcomeOf(std::move(clp), alg == XPRS_ALG_PRIMAL ? XPRS_ALG_PRIMAL : XPRS_ALG_DUAL);
  }
  run.algorithm = out.algorithm;

  ResultRecord& r = rec.results;
  r = ResultRecord{};
  run.iterations = out.iterations;
  ClpSimplex* clp = out.solved.get();
  const double* x = clp ? clp->primalColumnSolution() : nullptr;
  // The activities come from the point: Clp leaves its row activities unset when presolve
  // removes every row, as it does when the matrix is empty.
  const std::vector<double> activity = clp ? activityOf(e, x) : std::vector<double>();
  const double* act = clp ? activity.data() : nullptr;
  double sumInf = 0.0;
  if (clp) primalInfeasibilities(e, x, act, feasTol * 10, r, &sumInf);
  run.sumPrimalInf = sumInf;
  auto keepSolution = [&](int primalAvail, int dualAvail) {
    r.primalAvail = primalAvail;
    r.dualAvail = dualAvail;
    r.x.assign(x, x + e.ncols);
    r.slack = slacksOf(m, act);
    if (dualAvail) {
      r.dual.assign(clp->dualRowSolution(), clp->dualRowSolution() + e.nrows);
      r.dj.assign(clp->dualColumnSolution(), clp->dualColumnSolution() + e.ncols);
      if (negated) {
        for (double& y : r.dual) y = -y;
        for (double& d : r.dj) d = -d;
      }
      // Without matrix entries Clp hands back a maximisation's reduced costs in the minimising
      // sense; no row contributes then, so each is the column's objective coefficient.
      if (e.value.empty() && !quadratic) r.dj = e.obj;
    }
  };
  auto keepBasis = [&] {
    if (clp == nullptr) return;
    const unsigned char* st = clp->statusArray();
    for (int k = 0; k < e.ncols + e.nrows; ++k) {
      if ((st[k] & 7) > 5) return;  // barrier without crossover leaves no basis
    }
    r.hasBasis = true;
    r.colBasis.resize(static_cast<std::size_t>(e.ncols));
    r.rowBasis.resize(static_cast<std::size_t>(e.nrows));
    for (int j = 0; j < e.ncols; ++j) {
      r.colBasis[static_cast<std::size_t>(j)] = colStatusToXprs(clp->getColumnStatus(j));
    }
    for (int i = 0; i < e.nrows; ++i) {
      r.rowBasis[static_cast<std::size_t>(i)] =
          rowStatusToXprs(clp->getRowStatus(i), m.rowType[static_cast<std::size_t>(i)]);
    }
  };
  run.solveStatus = XPRS_SOLVESTATUS_COMPLETED;
  switch (out.status) {
    case 0:
      run.lpStatus = XPRS_LP_OPTIMAL;
      run.solStatus = XPRS_SOLSTATUS_OPTIMAL;
      keepSolution(XPRS_SOLAVAILABLE_OPTIMAL, XPRS_SOLAVAILABLE_OPTIMAL);
      keepBasis();
      run.objVal = run.lpObjVal = objectiveOf(m, x);
      run.bestBound = run.objVal;
      break;
    case 1:
      run.lpStatus = XPRS_LP_INFEAS;
      run.solStatus = XPRS_SOLSTATUS_INFEASIBLE;
      keepBasis();
      break;
    case 2:
      run.lpStatus = XPRS_LP_UNBOUNDED;
      run.solStatus = XPRS_SOLSTATUS_UNBOUNDED;
      keepBasis();
      break;
    case 3:
    case 5: {
      run.lpStatus = XPRS_LP_UNFINISHED;
      run.solveStatus = XPRS_SOLVESTATUS_STOPPED;
      if (out.status == 5) {
        run.stopStatus = ctx.stopReason() ? ctx.stopReason() : XPRS_STOP_USER;
      } else {
        // Clp's quadratic simplex stops on its time limit without saying so.
        run.stopStatus =
            out.secondary == 9 || ctx.pastTimeLimit() ? XPRS_STOP_TIMELIMIT : XPRS_STOP_ITERLIMIT;
      }
      const bool feasible = clp && r.primalInfeasCols.empty() && r.primalInfeasRows.empty();
      run.solStatus = feasible ? XPRS_SOLSTATUS_FEASIBLE : XPRS_SOLSTATUS_NOTFOUND;
      if (feasible) {
        keepSolution(XPRS_SOLAVAILABLE_FEASIBLE, XPRS_SOLAVAILABLE_NOTFOUND);
        run.objVal = run.lpObjVal = objectiveOf(m, x);
      }
      keepBasis();
      break;
    }
    default:
      run.lpStatus = XPRS_LP_UNSOLVED;
      run.solveStatus = XPRS_SOLVESTATUS_FAILED;
      run.solStatus = XPRS_SOLSTATUS_NOTFOUND;
      run.stopStatus = XPRS_STOP_NUMERICALERROR;
      break;
  }
  if (r.dualAvail) {
    const double tol = dblControl(rec, XPRS_OPTIMALITYTOL) * 10;
    for (int j = 0; j < e.ncols; ++j) {
      const auto u = static_cast<std::size_t>(j);
      const double d = r.dj[u] * sense;
      const bool atLower = r.x[u] <= e.colLb[u] + 1e-9;
      const bool atUpper = r.x[u] >= e.colUb[u] - 1e-9;
      if ((d < -tol && !atUpper) || (d > tol && !atLower)) r.dualInfeasCols.push_back(j);
    }
  }
}

// Keeps a complete MIP start that satisfies bounds, rows, indicators and integrality; others are
// ignored.
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

// Largest upper end of a semi-continuous column the engine can branch on.
constexpr double kSemiContinuousCap = 1e9;

// The lower end of the nonzero range of each semi-continuous and semi-integer column (0 for
// other columns and where the range is empty). Such a column takes 0 or a value between its
// limit and its upper bound; negative bounds have no such meaning and are refused. A limit above
// the upper bound leaves only 0, and the column is fixed there.
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

// Branching priorities and directions of XPRSloaddirs (later calls override earlier ones).
// Both libraries branch first on the smallest priority value.
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

void solveMip(RunContext& ctx, RunRecord& run, const std::string& flags, const ModelRecord& m) {
  Problem& problem = ctx.problem();
  ProblemRecord& rec = problem.rec;
  if (!m.objQ.empty())
    fail("a quadratic objective with MIP entities cannot be solved by this library");
  EngineModel e = assemble(m, /*mip=*/true);
  ResultRecord& r = rec.results;
  r = ResultRecord{};
  const double intTol = std::max(1e-9, dblControl(rec, XPRS_MIPTOL));
  const std::vector<double> lotLimit = semiContinuousLimits(m, e, intTol);
  // The indicator rows are freed in e before the checks: they need not hold.
  const IndicatorForm indicators = reformulateIndicators(m, e);
  if (const std::string reason =
          provenInfeasible(e, m, /*mip=*/true, dblControl(rec, XPRS_FEASTOL), intTol);
      !reason.empty()) {
    reportInfeasible(ctx, run, /*mip=*/true, reason);
    return;
  }

  // Cbc always minimises here: on a maximisation its search turns the cutoff around, and a start
  // then cuts off every better solution. A maximisation enters as the minimisation of its
  // negated objective; Cbc's objective values and bounds are those times the sense.
  if (e.sense < 0) {
    for (double& c : e.obj) c = -c;
  }
  OsiClpSolverInterface si;
  CoinMessageHandler quiet;
  quiet.setLogLevel(0);
  si.passInMessageHandler(&quiet);
  si.loadProblem(e.ncols, e.nrows, e.start.data(), e.index.data(), e.value.data(), e.colLb.data(),
                 e.colUb.data(), e.obj.data(), e.rowLb.data(), e.rowUb.data());
  if (indicators.rows() > 0) {
    si.addRows(indicators.rows(), indicators.start.data(), indicators.index.data(),
               indicators.value.data(), indicators.rowLb.data(), indicators.rowUb.data());
  }
  bool special = m.sets() > 0;
  bool capped = false;
  bool semiContinuous = false;
  for (int j = 0; j < e.ncols; ++j) {
    const char t = m.colType[static_cast<std::size_t>(j)];
    if (t == 'I' || t == 'B' || t == 'R') si.setInteger(j);
    if (t == 'S' || t == 'R') {
      special = true;
      semiContinuous = true;
      // Cbc's lot-size branching asserts (and aborts the process) unless the column's upper
      // bound equals the upper end of its range and that end is small enough for a 1e-7
      // tolerance to be visible.
      if (e.colUb[static_cast<std::size_t>(j)] > kSemiContinuousCap) {
        si.setColUpper(j, kSemiContinuousCap);
        capped = true;
      }
    }
  }
  si.setHintParam(OsiDoReducePrint, true, OsiHintTry);

  CbcModel cbc(si);
  LogHandler handler(&ctx);
  cbc.passInMessageHandler(&handler);
  cbc.solver()->passInMessageHandler(&quiet);
  cbc.setLogLevel(intControl(rec, XPRS_OUTPUTLOG) == 0 ? 0 : 1);

  std::vector<CbcObject*> objects;
  for (int s = 0; s < m.sets(); ++s) {
    const auto b = static_cast<std::size_t>(m.setStart[static_cast<std::size_t>(s)]);
    const auto n = static_cast<int>(m.setStart[static_cast<std::size_t>(s) + 1] -
                                    m.setStart[static_cast<std::size_t>(s)]);
    std::vector<double> w(m.setRef.begin() + static_cast<std::ptrdiff_t>(b),
                          m.setRef.begin() + static_cast<std::ptrdiff_t>(b) + n);
    std::vector<double> sorted = w;
    std::sort(sorted.begin(), sorted.end());
    if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) {
      for (CbcObject* o : objects) delete o;
      fail("set ", s, " has duplicate reference values");
    }
    std::vector<int> members(m.setCol.begin() + static_cast<std::ptrdiff_t>(b),
                             m.setCol.begin() + static_cast<std::ptrdiff_t>(b) + n);
    std::sort(members.begin(), members.end());
    if (auto twice = std::adjacent_find(members.begin(), members.end()); twice != members.end()) {
      for (CbcObject* o : objects) delete o;
      fail("set ", s, " lists column ", *twice, " more than once");
    }
    objects.push_back(new CbcSOS(&cbc, n, m.setCol.data() + b, w.data(), s,
                                 m.setType[static_cast<std::size_t>(s)] == '1' ? 1 : 2));
  }
  for (int j = 0; j < e.ncols; ++j) {
    const auto u = static_cast<std::size_t>(j);
    if (lotLimit[u] > 0.0) {
      const double points[4] = {0.0, 0.0, lotLimit[u], std::min(e.colUb[u], kSemiContinuousCap)};
      objects.push_back(new CbcLotsize(&cbc, j, 2, points, true));
    }
  }
  if (!objects.empty()) {
    cbc.findIntegers(false);
    cbc.addObjects(static_cast<int>(objects.size()), objects.data());
    for (CbcObject* o : objects) delete o;
  }
  applyDirectives(cbc, m, rec.warmStart.dirs);

  CutGenerators cuts;
  cuts.probing.setMaxPass(3);
  cuts.probing.setMaxProbe(100);
  cuts.probing.setMaxLook(50);
  // CUTSTRATEGY 0 asks for no cuts, HEUREMPHASIS 0 for no heuristics. Probing tightens column
  // bounds, which Cbc's lot-size branching cannot follow.
  if (intControl(rec, XPRS_CUTSTRATEGY) != 0) cuts.addTo(cbc, /*withProbing=*/!semiContinuous);
  CbcRounding rounding(cbc);
  CbcHeuristicFPump pump(cbc);
  if (intControl(rec, XPRS_HEUREMPHASIS) != 0) {
    cbc.addHeuristic(&rounding);
    if (!special) cbc.addHeuristic(&pump);
  }

  if (const double t = timeLeft(ctx); t > 0) {
    cbc.setUseElapsedTime(true);
    cbc.setMaximumSeconds(t);
  }
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

  CbcEvents events(&ctx, &m, &cbc);
  cbc.passInEventHandler(&events);

  // The relaxation honours the time limit and interrupts like any linear program. The tree
  // search polls at its nodes instead: a node's relaxation stopped halfway could read as
  // infeasible.
  ClpSimplex* root = dynamic_cast<OsiClpSolverInterface&>(*cbc.solver()).getModelPtr();
  ClpEvents rootEvents(&ctx);
  root->passInEventHandler(&rootEvents);
  if (const double t = timeLeft(ctx); t > 0) root->setMaximumWallSeconds(t);
  cbc.initialSolve();
  const ClpEventHandler silent;
  root->passInEventHandler(&silent);
  root->setMaximumWallSeconds(-1.0);
  run.algorithm = XPRS_ALG_DUAL;
  const double* x = nullptr;
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
  } else if (cbc.isInitialSolveProvenDualInfeasible()) {
    run.lpStatus = XPRS_LP_UNBOUNDED;
    run.mipStatus = XPRS_MIP_UNBOUNDED;
    run.solStatus = XPRS_SOLSTATUS_UNBOUNDED;
    run.solveStatus = XPRS_SOLVESTATUS_COMPLETED;
  } else {
    run.lpStatus = XPRS_LP_OPTIMAL;
    run.lpObjVal = e.sense * cbc.solver()->getObjValue() - e.rhs;
    if (flags.find('l') != std::string::npos) {
      // Stop after the relaxation: its bound is known, no integer solution is.
      run.solveStatus = XPRS_SOLVESTATUS_STOPPED;
      run.mipStatus = XPRS_MIP_LP_OPTIMAL;
      run.solStatus = XPRS_SOLSTATUS_NOTFOUND;
      run.bestBound = run.lpObjVal;
      run.iterations = cbc.solver()->getIterationCount();
      return;
    }
    std::vector<double> start;
    const double tol = dblControl(rec, XPRS_FEASTOL) * 10;
    for (auto it = problem.pendingMipSols.rbegin(); it != problem.pendingMipSols.rend(); ++it) {
      if (!special && usableMipStart(m, e, indicators, *it, tol, &start)) {
        cbc.setBestSolution(start.data(), e.ncols, e.sense * (objectiveOf(m, start.data()) + e.rhs),
                            false);
        ctx.message("MIP start accepted", XPRS_MSG_INFO);
        break;
      }
    }
    cbc.branchAndBound();
    // Cbc works with its own copy of the handler.
    if (auto* installed = dynamic_cast<CbcEvents*>(cbc.getEventHandler())) {
      installed->reportIncumbent();
    }
    x = cbc.bestSolution();
    run.nodes = cbc.getNodeCount();
    run.iterations = cbc.getIterationCount();
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
    run.bestBound = e.sense * cbc.getBestPossibleObjValue() - e.rhs;
  }
  run.mipSols = ctx.incumbents();
  // With a capped semi-continuous column, "infeasible" or a value at the cap proves nothing.
  bool untrusted = capped && run.solStatus == XPRS_SOLSTATUS_INFEASIBLE;
  for (int j = 0; capped && x && j < e.ncols; ++j) {
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
  if (x) {
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
}

void replayScript(RunContext& ctx, RunScript script, RunRecord& run) {
  Problem& problem = ctx.problem();
  int stop = 0;
  for (const ScriptEvent& ev : script.events) {
    switch (ev.kind) {
      case ScriptEvent::Kind::Message:
        ctx.message(ev.text, ev.msgType);
        break;
      case ScriptEvent::Kind::CheckTime:
        ctx.view().intAttribs[XPRS_OPTIMIZETYPEUSED] = ev.optType;
        ctx.checkTime();
        break;
      case ScriptEvent::Kind::OptNode:
        ctx.node(ctx.view().intAttribs[XPRS_NODES] + 1, script.run.bestBound);
        break;
      case ScriptEvent::Kind::IntSol:
        ctx.intSol(ev.objective, ev.x);
        break;
      case ScriptEvent::Kind::Interrupt:
        problem.interruptReason.store(ev.reason);
        break;
    }
    stop = ctx.stopReason();
    if (stop != 0) break;
  }
  run = script.run;
  if (stop != 0) {
    run.solveStatus = XPRS_SOLVESTATUS_STOPPED;
    run.stopStatus = stop;
  }
  problem.rec.results = std::move(script.results);
}

}  // namespace

RunContext::RunContext(Problem& problem)
    : problem_(problem), start_(Clock::now()), lastCheck_(start_) {
  outputLog_ = intControl(problem.rec, XPRS_OUTPUTLOG);
  checkDelayMs_ = intControl(problem.rec, XPRS_CALLBACKCHECKTIMEDELAY);
  timeLimit_ = timeLimit(problem.rec);
  view_.intAttribs[XPRS_OPTIMIZETYPEUSED] = XPRS_OPTIMIZETYPE_NONE;
  view_.intAttribs[XPRS_NODES] = 0;
  cbProblem_ = &Library::instance().createCallbackProblem(problem, view_);
}

RunContext::~RunContext() { Library::instance().destroyCallbackProblem(*cbProblem_); }

double RunContext::elapsed() const {
  return std::chrono::duration<double>(Clock::now() - start_).count();
}

template <class Fn, class... Args>
void RunContext::callAll(CallbackKind kind, Args... args) {
  // A copy: a callback may add or remove registrations.
  std::vector<CallbackRecord> callbacks;
  for (const CallbackRecord& c : problem_.rec.callbacks) {
    if (c.kind == kind) callbacks.push_back(c);
  }
  std::stable_sort(callbacks.begin(), callbacks.end(),
                   [](const auto& a, const auto& b) { return a.priority > b.priority; });
  for (const CallbackRecord& c : callbacks) {
    reinterpret_cast<Fn>(c.function)(cbProblem_->handle, c.data, args...);
  }
}

void RunContext::message(const std::string& text, int type) {
  if (outputLog_ == 0) return;
  if (outputLog_ >= 2 && type == XPRS_MSG_INFO) return;
  if (outputLog_ >= 4 && type == XPRS_MSG_WARNING) return;
  std::lock_guard lock(mutex_);
  std::string line = text.substr(0, XPRS_MAXMESSAGELENGTH - 1);
  callAll<XPRSmessagecb>(CallbackKind::Message, line.c_str(), static_cast<int>(line.size()), type);
}

bool RunContext::pastTimeLimit() const { return timeLimit_ > 0 && elapsed() >= timeLimit_; }

bool RunContext::poll() {
  const auto now = Clock::now();
  if (timeLimit_ > 0 && std::chrono::duration<double>(now - start_).count() >= timeLimit_) {
    int expected = 0;
    problem_.interruptReason.compare_exchange_strong(expected, XPRS_STOP_TIMELIMIT);
  }
  if (now - lastCheck_ >= std::chrono::milliseconds(checkDelayMs_)) {
    lastCheck_ = now;
    checkTime();
  }
  return stopReason() != 0;
}

void RunContext::checkTime() {
  std::lock_guard lock(mutex_);
  std::vector<CallbackRecord> callbacks;
  for (const CallbackRecord& c : problem_.rec.callbacks) {
    if (c.kind == CallbackKind::CheckTime) callbacks.push_back(c);
  }
  std::stable_sort(callbacks.begin(), callbacks.end(),
                   [](const auto& a, const auto& b) { return a.priority > b.priority; });
  for (const CallbackRecord& c : callbacks) {
    if (reinterpret_cast<XPRSchecktimecb>(c.function)(cbProblem_->handle, c.data) != 0) {
      int expected = 0;
      problem_.interruptReason.compare_exchange_strong(expected, XPRS_STOP_USER);
    }
  }
}

void RunContext::node(int nodes, double bound) {
  std::lock_guard lock(mutex_);
  view_.intAttribs[XPRS_NODES] = nodes;
  view_.intAttribs[XPRS_CURRENTNODE] = nodes;
  view_.dblAttribs[XPRS_BESTBOUND] = bound;
  int infeasible = 0;
  callAll<XPRSoptnodecb>(CallbackKind::OptNode, &infeasible);
}

void RunContext::intSol(double objective, const std::vector<double>& x) {
  std::lock_guard lock(mutex_);
  if (reported_ != nullptr) {
    if (incumbents_ > 0 &&
        std::equal(x.begin(), x.end(), view_.x.begin(), view_.x.end(), [](double a, double b) {
          return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(a));
        })) {
      return;
    }
    objective = objectiveOf(*reported_, x.data());
  }
  ++incumbents_;
  offerIncumbent(problem_, objective, x);
  view_.dblAttribs[XPRS_MIPOBJVAL] = objective;
  view_.intAttribs[XPRS_MIPSOLS] = incumbents_;
  view_.x = x;
  callAll<XPRSintsolcb>(CallbackKind::IntSol);
}

int RunContext::stopReason() const { return problem_.interruptReason.load(); }

// The message goes out first: a callback's own failures must not replace the refusal as the
// last error.
int refuseRun(Problem& problem, const char* function, const std::string& reason) {
  const int outputLog = intControl(problem.target().rec, XPRS_OUTPUTLOG);
  if (outputLog != 0 && outputLog < 4) {
    emitMessage(problem, text(function, ": ", reason), XPRS_MSG_WARNING);
  }
  setProblemError(problem, function, reason);
  return kErrorCode;
}

int runOptimize(Problem& problem, const char* function, const char* flags, int* solvestatus,
                int* solstatus) {
  ProblemRecord& rec = problem.rec;
  if (problem.solving)
    return refuseRun(problem, function, "the problem is already being optimised");
  for (const char* f = flags ? flags : ""; *f; ++f) {
    if (*f != 's' && *f != 'x' && *f != 'l' && *f != 'd' && *f != 'p' && *f != 'b' && *f != 'n') {
      return refuseRun(problem, function, text("invalid flag '", *f, "'"));
    }
  }
  problem.interruptReason.store(0);
  problem.solving = true;
  RunRecord run;
  int rc = 0;
  {
    RunContext ctx(problem);
    const std::optional<std::string> failure = runFailure([&] {
      ctx.checkTime();
      if (!rec.scripts.empty()) {
        RunScript script = std::move(rec.scripts.front());
        rec.scripts.erase(rec.scripts.begin());
        rc = script.returnCode;
        replayScript(ctx, std::move(script), run);
        if (rc != 0) setProblemError(problem, function, "scripted failure", rc);
      } else {
        checkSolvable(problem);
        if (needsNonlinearEngine(rec.model)) {
          solveNonlinear(ctx, run);
        } else {
          const bool mip = isMip(problem);
          run.optType = mip ? XPRS_OPTIMIZETYPE_MIP : XPRS_OPTIMIZETYPE_LP;
          ctx.view().intAttribs[XPRS_OPTIMIZETYPEUSED] = run.optType;
          const std::string f = flags ? flags : "";
          auto solve = [&](RunRecord& r, const ModelRecord& model) {
            if (mip) {
              solveMip(ctx, r, f, model);
            } else {
              solveLp(ctx, r, f, model);
            }
          };
          if (rec.model.objectives.size() > 1) {
            solveObjectives(ctx, rec.model, run, solve);
          } else {
            solve(run, rec.model);
            const bool optimal = run.solveStatus == XPRS_SOLVESTATUS_COMPLETED &&
                                 run.solStatus == XPRS_SOLSTATUS_OPTIMAL;
            run.solvedObjs = optimal ? 1 : 0;
          }
        }
        run.time = ctx.elapsed();
        ctx.message(text("Optimisation finished: solve status ", run.solveStatus,
                         ", solution status ", run.solStatus, ", stop status ", run.stopStatus),
                    XPRS_MSG_INFO);
      }
    });
    if (failure) {
      rec.results = ResultRecord{};
      const int lpStatus = run.lpStatus;
      run = failedRun();
      run.lpStatus = lpStatus;
      // The reason goes out as an error and, for hosts that drop errors, as a warning; then it
      // becomes the last error, which a callback's own failures must not replace.
      ctx.message(text(function, ": ", *failure), XPRS_MSG_ERROR);
      ctx.message(text(function, ": ", *failure), XPRS_MSG_WARNING);
      setProblemError(problem, function, *failure);
      rc = kErrorCode;
    }
  }
  problem.solving = false;
  // A loaded basis and MIP starts serve one run.
  problem.pendingBasis.reset();
  problem.pendingMipSols.clear();
  finishRun(problem, run, solvestatus, solstatus);
  return rc;
}

void emitMessage(Problem& problem, const std::string& text, int type) {
  // The callbacks may call back in: while they run, the problem counts as busy, so that they
  // cannot destroy or change it under this call, and the messages of what they call are not
  // delivered (a callback answering a refusal with the refused call would never end).
  static thread_local int depth = 0;
  if (depth > 0) return;
  Problem& owner = problem.target();
  struct Busy {
    Problem& owner;
    bool solving;
    ~Busy() {
      owner.solving = solving;
      --depth;
    }
  } busy{owner, owner.solving};
  owner.solving = true;
  ++depth;
  std::vector<CallbackRecord> callbacks;
  for (const CallbackRecord& c : problem.target().rec.callbacks) {
    if (c.kind == CallbackKind::Message) callbacks.push_back(c);
  }
  std::stable_sort(callbacks.begin(), callbacks.end(),
                   [](const auto& a, const auto& b) { return a.priority > b.priority; });
  for (const CallbackRecord& c : callbacks) {
    reinterpret_cast<XPRSmessagecb>(c.function)(problem.handle, c.data, text.c_str(),
                                                static_cast<int>(text.size()), type);
  }
}

}  // namespace xprs::standin
