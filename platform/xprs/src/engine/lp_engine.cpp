#include "engine/lp_engine.hpp"

#include <algorithm>
#include <optional>
#include <vector>

#include "controls.hpp"
#include "engine/basis_map.hpp"
#include "engine/clp_events.hpp"
#include "engine/coin_log.hpp"
#include "engine/lone_columns.hpp"
#include "engine/lp_methods.hpp"
#include "engine/precheck.hpp"

namespace xprs::standin {

namespace {

// The answer Clp left, with what reading it needs.
struct LpAnswer {
  const EngineModel& e;
  const ModelRecord& m;
  const ClpSimplex* clp;  // null when no program holds the answer
  bool negated;           // the program minimised the negated objective
  const LoneColumns& lone;
  [[nodiscard]] const double* x() const { return clp ? clp->primalColumnSolution() : nullptr; }
  // The row activities at the point (clp must hold the answer). They come from the point: Clp
  // leaves its row activities unset when presolve removes every row, as it does when the matrix
  // is empty.
  [[nodiscard]] std::vector<double> activity() const { return activityOf(e, x()); }
};

// The flags 'd', 'p', 'b' and 'n' choose the algorithm for this run.
int algorithmOf(const ProblemRecord& rec, const std::string& flags) {
  int alg = intControl(rec, XPRS_DEFAULTALG);
  if (flags.find('d') != std::string::npos || flags.find('n') != std::string::npos) {
    alg = XPRS_ALG_DUAL;
  }
  if (flags.find('p') != std::string::npos) alg = XPRS_ALG_PRIMAL;
  if (flags.find('b') != std::string::npos) alg = XPRS_ALG_BARRIER;
  return alg;
}

bool basisFits(const std::optional<BasisRecord>& basis, const EngineModel& e) {
  return basis && basis->colStat.size() == static_cast<std::size_t>(e.ncols) &&
         basis->rowStat.size() == static_cast<std::size_t>(e.nrows);
}

void keepSolution(const LpAnswer& a, ResultRecord& r, int primalAvail, int dualAvail) {
  r.primalAvail = primalAvail;
  r.dualAvail = dualAvail;
  r.x.assign(a.x(), a.x() + a.e.ncols);
  r.slack = slacksOf(a.m, a.activity().data());
  if (!dualAvail) return;
  r.dual.assign(a.clp->dualRowSolution(), a.clp->dualRowSolution() + a.e.nrows);
  r.dj.assign(a.clp->dualColumnSolution(), a.clp->dualColumnSolution() + a.e.ncols);
  if (a.negated) {
    for (double& y : r.dual) y = -y;
    for (double& d : r.dj) d = -d;
  }
  // Without matrix entries Clp hands back a maximisation's reduced costs in the minimising
  // sense; no row contributes then, so each is the column's objective coefficient.
  if (a.e.value.empty() && a.m.objQ.empty()) r.dj = a.e.obj;
}

void keepBasis(const LpAnswer& a, ResultRecord& r) {
  if (a.clp == nullptr) return;
  const unsigned char* st = a.clp->statusArray();
  for (int k = 0; k < a.e.ncols + a.e.nrows; ++k) {
    if ((st[k] & 7) > 5) return;  // barrier without crossover leaves no basis
  }
  r.hasBasis = true;
  r.colBasis.resize(static_cast<std::size_t>(a.e.ncols));
  r.rowBasis.resize(static_cast<std::size_t>(a.e.nrows));
  for (int j = 0; j < a.e.ncols; ++j) {
    r.colBasis[static_cast<std::size_t>(j)] = colStatusToXprs(a.clp->getColumnStatus(j));
  }
  for (int i = 0; i < a.e.nrows; ++i) {
    r.rowBasis[static_cast<std::size_t>(i)] =
        rowStatusToXprs(a.clp->getRowStatus(i), a.m.rowType[static_cast<std::size_t>(i)]);
  }
  for (const LoneColumns::Column& c : a.lone.settled) {
    r.colBasis[static_cast<std::size_t>(c.col)] = settledBasis(c, a.x()[c.col]);
  }
}

// A run stopped by a limit or an interrupt keeps a point that satisfies the model.
void keepStopped(RunContext& ctx, RunRecord& run, const LpAnswer& a, const LpOutcome& out,
                 ResultRecord& r) {
  run.lpStatus = XPRS_LP_UNFINISHED;
  run.solveStatus = XPRS_SOLVESTATUS_STOPPED;
  if (out.status == 5) {
    run.stopStatus = ctx.stopReason() ? ctx.stopReason() : XPRS_STOP_USER;
  } else {
    // Clp's quadratic simplex stops on its time limit without saying so.
    run.stopStatus =
        out.secondary == 9 || ctx.pastTimeLimit() ? XPRS_STOP_TIMELIMIT : XPRS_STOP_ITERLIMIT;
  }
  const bool feasible = a.clp && r.primalInfeasCols.empty() && r.primalInfeasRows.empty();
  run.solStatus = feasible ? XPRS_SOLSTATUS_FEASIBLE : XPRS_SOLSTATUS_NOTFOUND;
  if (feasible) {
    keepSolution(a, r, XPRS_SOLAVAILABLE_FEASIBLE, XPRS_SOLAVAILABLE_NOTFOUND);
    run.objVal = run.lpObjVal = objectiveOf(a.m, a.x());
  }
  keepBasis(a, r);
}

void keepOutcome(RunContext& ctx, RunRecord& run, const LpAnswer& a, const LpOutcome& out,
                 ResultRecord& r) {
  run.solveStatus = XPRS_SOLVESTATUS_COMPLETED;
  switch (out.status) {
    case 0:
      run.lpStatus = XPRS_LP_OPTIMAL;
      run.solStatus = XPRS_SOLSTATUS_OPTIMAL;
      keepSolution(a, r, XPRS_SOLAVAILABLE_OPTIMAL, XPRS_SOLAVAILABLE_OPTIMAL);
      keepBasis(a, r);
      run.objVal = run.lpObjVal = objectiveOf(a.m, a.x());
      run.bestBound = run.objVal;
      break;
    case 1:
      run.lpStatus = XPRS_LP_INFEAS;
      run.solStatus = XPRS_SOLSTATUS_INFEASIBLE;
      keepBasis(a, r);
      break;
    case 2:
      run.lpStatus = XPRS_LP_UNBOUNDED;
      run.solStatus = XPRS_SOLSTATUS_UNBOUNDED;
      keepBasis(a, r);
      break;
    case 3:
    case 5:
      keepStopped(ctx, run, a, out, r);
      break;
    default:
      run.lpStatus = XPRS_LP_UNSOLVED;
      run.solveStatus = XPRS_SOLVESTATUS_FAILED;
      run.solStatus = XPRS_SOLSTATUS_NOTFOUND;
      run.stopStatus = XPRS_STOP_NUMERICALERROR;
      break;
  }
}

// Columns whose reduced cost (in the model's own sense) points away from where they stand.
void markDualInfeasible(const ProblemRecord& rec, const EngineModel& e, int sense,
                        ResultRecord& r) {
  if (!r.dualAvail) return;
  const double tol = dblControl(rec, XPRS_OPTIMALITYTOL) * 10;
  for (int j = 0; j < e.ncols; ++j) {
    const auto u = static_cast<std::size_t>(j);
    const double d = r.dj[u] * sense;
    const bool atLower = r.x[u] <= e.colLb[u] + 1e-9;
    const bool atUpper = r.x[u] >= e.colUb[u] - 1e-9;
    if ((d < -tol && !atUpper) || (d > tol && !atLower)) r.dualInfeasCols.push_back(j);
  }
}

void keepResults(RunContext& ctx, RunRecord& run, const LpAnswer& a, const LpOutcome& out,
                 int sense) {
  ProblemRecord& rec = ctx.problem().rec;
  run.algorithm = out.algorithm;
  ResultRecord& r = rec.results;
  r = ResultRecord{};
  run.iterations = out.iterations;
  double sumInf = 0.0;
  if (a.clp) {
    primalInfeasibilities(a.e, a.x(), a.activity().data(), dblControl(rec, XPRS_FEASTOL) * 10, r,
                          &sumInf);
  }
  run.sumPrimalInf = sumInf;
  keepOutcome(ctx, run, a, out, r);
  markDualInfeasible(rec, a.e, sense, r);
}

LpOutcome solveWith(RunContext& ctx, const EngineModel& e, const ModelRecord& m, int alg,
                    const ClpSetup& setup, const FreshModel& fresh, double answerTol) {
  const ProblemRecord& rec = ctx.problem().rec;
  const bool quadratic = !m.objQ.empty();
  const std::optional<BasisRecord>& basis = ctx.problem().pendingBasis;
  if (!quadratic && basisFits(basis, e)) return solveWarm(ctx, e, m, *basis, alg, fresh);
  if (quadratic) return solveQuadratic(ctx, e, setup, fresh, answerTol);
  if (alg == XPRS_ALG_BARRIER) return solveBarrier(ctx, e, fresh, answerTol);
  return solveSimplex(fresh, alg, intControl(rec, XPRS_PRESOLVE) != 0);
}

// Clp's "infeasible" stands only when a feasibility check finds no point either; otherwise out
// takes the answer the primal simplex reached from the point found.
void recheck(RunContext& ctx, LpOutcome& out, double tol) {
  if (out.status != 1 || !out.solved) return;
  recheckInfeasible(*out.solved, tol);
  if (out.solved->status() == 1) return;
  ctx.message(
      "A feasibility check found a point of the model the engine called infeasible: the primal "
      "simplex solved the model from it",
      XPRS_MSG_INFO);
  out.status = out.solved->status();
  out.secondary = out.solved->secondaryStatus();
  out.iterations = out.solved->numberIterations();
  out.algorithm = XPRS_ALG_PRIMAL;
}

// Clp's "optimal" rechecked (see recheckOptimal): when it was solved again, out takes the primal
// simplex's answer.
void recheckOptimal(RunContext& ctx, LpOutcome& out, bool quadratic) {
  if (out.status != 0 || !out.solved || quadratic) return;
  ClpSimplex& clp = *out.solved;
  const int iterations = clp.numberIterations();
  if (!xprs::standin::recheckOptimal(clp)) return;
  ctx.message("The engine's optimum has dual infeasibilities: the primal simplex solved it again",
              XPRS_MSG_INFO);
  clp.setNumberIterations(iterations + clp.numberIterations());
  out.status = clp.status();
  out.secondary = clp.secondaryStatus();
  out.iterations = clp.numberIterations();
  out.algorithm = XPRS_ALG_PRIMAL;
}

}  // namespace

void solveLp(RunContext& ctx, RunRecord& run, const std::string& flags, const ModelRecord& m) {
  ProblemRecord& rec = ctx.problem().rec;
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
  const LoneColumns lone = settleLoneColumns(e, m, /*indicators=*/nullptr);
  // Clp's quadratic engines assert on maximisation: a quadratic model runs as the minimisation of
  // its negation, and its duals are negated back.
  const int sense = e.sense;
  const bool negated = quadratic && sense < 0;
  if (negated) {
    for (double& c : e.obj) c = -c;
    for (double& q : e.qValue) q = -q;
    e.sense = 1;
  }
  CoinLog log(&ctx, CoinLog::Typing::ByNumber);
  ClpEvents events(&ctx);
  const ClpSetup setup = [&](ClpSimplex& clp) {
    clp.passInMessageHandler(&log);
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
  LpOutcome out = solveWith(ctx, e, m, algorithmOf(rec, flags), setup, fresh, answerTol);
  recheck(ctx, out, answerTol);
  recheckOptimal(ctx, out, quadratic);
  if (lone.unbounded >= 0 && out.status == 0) {
    ctx.message(text("Column ", lone.unbounded,
                     " is in no constraint and its objective improves without limit"),
                XPRS_MSG_INFO);
    out.status = 2;
  }
  keepResults(ctx, run, LpAnswer{e, m, out.solved.get(), negated, lone}, out, sense);
}

}  // namespace xprs::standin
