#include "engine/lp_methods.hpp"

#include <algorithm>
#include <cmath>
#include <coin/ClpSolve.hpp>
#include <optional>
#include <utility>
#include <vector>

#include "controls.hpp"
#include "engine/basis_map.hpp"

namespace xprs::standin {

namespace {

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

// The answer of the two linear programs that check a quadratic model, when they decided it;
// nothing when the model is feasible and bounded.
std::optional<LpOutcome> decidedByShape(const QpShapeResult& shape) {
  LpOutcome out;
  out.algorithm = XPRS_ALG_BARRIER;
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
  return std::nullopt;
}

struct QpMethod {
  int algorithm;
  bool crossover;
};

// One attempt at a quadratic model with its free sides boxed at box: each method in turn until
// one gives an answer that holds. Sets tooNear when an answer lay at the box instead.
std::optional<LpOutcome> solveInBox(RunContext& ctx, const EngineModel& e, const FreshModel& fresh,
                                    const std::vector<QpMethod>& methods, double box, double tol,
                                    int& iterations, bool& tooNear) {
  for (const QpMethod& method : methods) {
    std::unique_ptr<ClpSimplex> clp = fresh();
    clp->scaling(0);
    boxFreeSides(*clp, e, box);
    if (e.value.empty()) addSlackRow(*clp);
    if (method.algorithm == XPRS_ALG_BARRIER) {
      if (barrierTooSlow(ctx, *clp)) continue;
      runBarrier(ctx.problem().rec, *clp, method.crossover);
    } else {
      clp->primal();
    }
    const int prior = iterations;
    iterations += clp->numberIterations();
    if (clp->status() == 3 || clp->status() == 5) {
      return outcomeOf(std::move(clp), method.algorithm, prior);
    }
    if (interiorAnswerHolds(*clp, e, tol) && atArtificialBound(*clp, e, box)) {
      tooNear = true;
      return std::nullopt;
    }
    if (quadraticAnswerHolds(*clp, e, tol)) {
      return outcomeOf(std::move(clp), method.algorithm, prior);
    }
  }
  return std::nullopt;
}

}  // namespace

LpOutcome solveWarm(RunContext& ctx, const EngineModel& e, const ModelRecord& m,
                    const BasisRecord& basis, int alg, const FreshModel& fresh) {
  std::unique_ptr<ClpSimplex> clp = fresh();
  for (int j = 0; j < e.ncols; ++j) {
    const auto u = static_cast<std::size_t>(j);
    clp->setColumnStatus(j, colStatusToClp(basis.colStat[u], e.colLb[u], e.colUb[u]));
  }
  for (int i = 0; i < e.nrows; ++i) {
    const auto u = static_cast<std::size_t>(i);
    clp->setRowStatus(i, rowStatusToClp(basis.rowStat[u], m.rowType[u]));
  }
  ctx.message("Warm start from the loaded basis", XPRS_MSG_INFO);
  if (alg == XPRS_ALG_PRIMAL) {
    clp->primal();
  } else {
    clp->dual();
  }
  return outcomeOf(std::move(clp), alg == XPRS_ALG_PRIMAL ? XPRS_ALG_PRIMAL : XPRS_ALG_DUAL);
}

LpOutcome solveSimplex(const FreshModel& fresh, int alg, bool presolve) {
  std::unique_ptr<ClpSimplex> clp = fresh();
  ClpSolve options;
  options.setSolveType(alg == XPRS_ALG_PRIMAL ? ClpSolve::usePrimal : ClpSolve::useDual);
  options.setPresolveType(presolve ? ClpSolve::presolveOn : ClpSolve::presolveOff);
  // Clp would take SIGINT for the run and end it as an iteration limit; the host's handler
  // stays, and its interrupt reaches the run through the events.
  options.setSpecialOption(2, 1);
  clp->initialSolve(options);
  return outcomeOf(std::move(clp), alg == XPRS_ALG_PRIMAL ? XPRS_ALG_PRIMAL : XPRS_ALG_DUAL);
}

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

LpOutcome solveQuadratic(RunContext& ctx, const EngineModel& e, const ClpSetup& setup,
                         const FreshModel& fresh, double tol) {
  const QpShapeResult shape = shapeOfQuadratic(e, setup, tol);
  if (std::optional<LpOutcome> decided = decidedByShape(shape)) return std::move(*decided);
  double reach = 1.0;
  for (double v : shape.point) reach = std::max(reach, std::fabs(v));
  std::vector<QpMethod> methods{
      {XPRS_ALG_BARRIER, intControl(ctx.problem().rec, XPRS_CROSSOVER) != 0}};
  if (!methods.front().crossover) methods.push_back({XPRS_ALG_BARRIER, true});
  methods.push_back({XPRS_ALG_PRIMAL, false});
  int iterations = shape.iterations;
  double box = std::max(1e6, 100 * reach);
  for (int attempt = 0; attempt < 3; ++attempt, box *= 1e3) {
    bool tooNear = false;
    if (std::optional<LpOutcome> taken =
            solveInBox(ctx, e, fresh, methods, box, tol, iterations, tooNear)) {
      return std::move(*taken);
    }
    if (!tooNear) break;
  }
  ctx.message("The quadratic engine found no answer that holds", XPRS_MSG_INFO);
  LpOutcome out;
  out.algorithm = XPRS_ALG_BARRIER;
  out.iterations = iterations;
  out.status = 4;
  return out;
}

}  // namespace xprs::standin
