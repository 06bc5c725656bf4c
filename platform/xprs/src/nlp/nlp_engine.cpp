#include "nlp/nlp_engine.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <coin/CoinFinite.hpp>
#include <mutex>
#include <numeric>

#include "controls.hpp"
#include "engine/clp_guard.hpp"
#include "engine/engine_model.hpp"
#include "engine/lone_columns.hpp"
#include "engine/mip_engine.hpp"
#include "engine/precheck.hpp"

namespace xprs::standin {

namespace {

// Ipopt and Bonmin are not thread-safe (MUMPS keeps global state): one run at a time.
std::mutex& engineLock() {
  static std::mutex lock;
  return lock;
}
thread_local bool insideEngine = false;

bool hasIntegers(const ModelRecord& m) {
  return std::any_of(m.colType.begin(), m.colType.end(), [](char t) { return t != 'C'; });
}

// What the nonlinear engines refuse, before anything runs.
void checkNonlinearSolvable(const ModelRecord& m) {
  if (m.sets() > 0) fail("special ordered sets cannot be solved in a nonlinear model");
  for (char t : m.colType) {
    if (t == 'S' || t == 'R') fail("semi-continuous columns cannot be solved in a nonlinear model");
  }
  // Without quadratic rows or formulas the model is a MIQP: its objective must be convex for
  // the branch and bound to prove anything, as for a QP.
  if (m.formulas.empty() && m.qRow.empty() && !hessianFitsSense(m)) {
    fail("the objective Hessian is not ", m.sense == 1 ? "positive" : "negative", " semi-definite");
  }
}

NlpSettings settingsOf(const ProblemRecord& rec) {
  NlpSettings s;
  s.timeLimit = timeLimit(rec);
  s.feasTol = dblControl(rec, XPRS_FEASTOL);
  s.log = intControl(rec, XPRS_OUTPUTLOG) != 0;
  if (const int n = intControl(rec, XPRS_MAXNODE); n >= 0 && n < XPRS_MAXINT) s.maxNodes = n;
  s.maxSolutions = std::max(0, intControl(rec, XPRS_MAXMIPSOL));
  s.relGap = std::max(0.0, dblControl(rec, XPRS_MIPRELSTOP));
  s.absGap = std::max(0.0, dblControl(rec, XPRS_MIPABSSTOP));
  return s;
}

// Values from XPRSnlpsetinitval (later calls win), 0 for the other columns, inside the bounds.
std::vector<double> startingPoint(const ProblemRecord& rec, const NlpModel& model) {
  std::vector<double> x(static_cast<std::size_t>(model.cols()), 0.0);
  for (const InitValRecord& init : rec.warmStart.initVals) {
    for (std::size_t k = 0; k < init.cols.size(); ++k) {
      const double v = init.values[k];
      if (std::isfinite(v) && std::fabs(v) < XPRS_PLUSINFINITY) {
        x[static_cast<std::size_t>(init.cols[k])] = v;
      }
    }
  }
  for (std::size_t j = 0; j < x.size(); ++j) {
    x[j] = std::clamp(x[j], model.colLb()[j], model.colUb()[j]);
  }
  return x;
}

// Keeps the engine's point, with duals and reduced costs when it has multipliers.
void keepResults(const ProblemRecord& rec, NlpModel& model, const NlpResult& r, int avail,
                 ResultRecord& out, RunRecord& run) {
  const ModelRecord& m = rec.model;
  model.at(r.x.data());
  const auto nr = static_cast<std::size_t>(m.rows());
  std::vector<double> act(nr);
  model.rowActivities(act.data());
  out.primalAvail = avail;
  out.x = r.x;
  out.slack.resize(nr);
  for (std::size_t i = 0; i < nr; ++i) out.slack[i] = m.rowRhs[i] - act[i];
  run.objVal = model.objective();
  // Branch and bound keeps no relaxation value to report.
  if (!r.mip) run.lpObjVal = run.objVal;
  if (!r.duals) return;
  // The engine minimises sense * objective with the Lagrangian f + lambda'g: the dual of a row
  // is the objective's change per unit of its right-hand side, -sense * lambda.
  out.dualAvail = avail;
  out.dual.assign(nr, 0.0);
  if (model.objectiveRow() >= 0) {
    out.dual[static_cast<std::size_t>(model.objectiveRow())] = model.objectiveRowDual();
  }
  for (int c = 0; c < model.constraints(); ++c) {
    out.dual[static_cast<std::size_t>(model.conRow(c))] +=
        -model.sense() * r.lambda[static_cast<std::size_t>(c)];
  }
  // Reduced costs from the gradients at the point, d = grad f - J'y, which also covers fixed
  // columns (Ipopt leaves their bound multipliers at 0).
  out.dj.assign(static_cast<std::size_t>(model.cols()), 0.0);
  model.objectiveGradient(out.dj.data());
  std::vector<double> jac(model.jacRows().size());
  model.jacobian(jac.data());
  for (std::size_t k = 0; k < jac.size(); ++k) {
    const int row = model.conRow(model.jacRows()[k]);
    out.dj[static_cast<std::size_t>(model.jacCols()[k])] -=
        jac[k] * out.dual[static_cast<std::size_t>(row)];
  }
}

// Columns and constraints of the point outside their bounds by more than tol; *measured, when
// given, tells whether a violation passes what the rounding of large terms explains.
bool feasible(NlpModel& model, const std::vector<double>& x, double tol, ResultRecord& out,
              double* sum, bool* measured = nullptr) {
  out.primalInfeasCols.clear();
  out.primalInfeasRows.clear();
  *sum = 0.0;
  bool beyond = false;
  if (!model.at(x.data())) return false;
  for (int j = 0; j < model.cols(); ++j) {
    // The substituted objective column is free.
    if (j == model.objectiveColumn()) continue;
    const auto u = static_cast<std::size_t>(j);
    const double v = std::max(model.colLb()[u] - x[u], x[u] - model.colUb()[u]);
    if (v > tol) out.primalInfeasCols.push_back(j), *sum += v, beyond = true;
  }
  std::vector<double> g(static_cast<std::size_t>(model.constraints()));
  std::vector<double> size(g.size());
  model.constraintValues(g.data());
  model.constraintValues(size.data(), /*sizes=*/true);
  for (int c = 0; c < model.constraints(); ++c) {
    const auto u = static_cast<std::size_t>(c);
    const double scale = std::max(1.0, std::fabs(g[u]));
    const double v = std::max(model.conLb()[u] - g[u], g[u] - model.conUb()[u]);
    // A value is known to about 1e-14 of its terms' magnitudes: where huge terms cancel (an
    // iterate far out along a ray of a quadratic row) that exceeds the tolerance, and the point
    // is not shown to keep the row.
    const bool unknown = 1e-14 * size[u] > tol * scale;
    if (v > tol * scale || std::isnan(g[u]) || unknown) {
      out.primalInfeasRows.push_back(model.conRow(c));
      *sum += std::isnan(v) ? 0.0 : std::max(v, 0.0);
      beyond = beyond || std::isnan(g[u]) || v > tol * scale + 1e-14 * size[u];
    }
  }
  if (measured) *measured = beyond;
  return out.primalInfeasCols.empty() && out.primalInfeasRows.empty();
}

// True when the engine's point x keeps the model to tol; *measured as feasible() sets it.
bool pointHolds(NlpModel& model, std::vector<double> x, double tol, bool* measured = nullptr) {
  if (x.size() != static_cast<std::size_t>(model.cols())) return false;
  model.completePoint(x.data());
  ResultRecord scratch;
  double sum = 0.0;
  return feasible(model, x, tol, scratch, &sum, measured);
}

// The boxes on the infinite column sides in which a model is solved where Ipopt's answer does
// not stand (see solveInBoxes).
constexpr double kBoxes[] = {1e4, 1e6, 1e8};

// True when r is an optimum whose point violates the model by more than tol, beyond what the
// rounding of large terms explains, or, beyond the largest box, is not shown to keep it: Ipopt
// can call a point far out along an unbounded ray optimal, where the rows' huge terms leave
// their values unknown.
bool optimumViolates(NlpModel& model, const NlpResult& r, double tol) {
  if (r.solStatus != XPRS_SOLSTATUS_OPTIMAL ||
      r.x.size() != static_cast<std::size_t>(model.cols())) {
    return false;
  }
  bool measured = false;
  if (pointHolds(model, r.x, tol, &measured)) return false;
  const std::vector<double>& x = r.x;
  const auto& lb = model.colLb();
  const auto& ub = model.colUb();
  bool far = false;
  for (std::size_t j = 0; j < x.size(); ++j) {
    if (static_cast<int>(j) == model.objectiveColumn()) continue;
    far = far || (lb[j] <= -XPRS_PLUSINFINITY && x[j] < -kBoxes[2]) ||
          (ub[j] >= XPRS_PLUSINFINITY && x[j] > kBoxes[2]);
  }
  return measured || far;
}

// A model whose columns are all fixed has one point: it decides without an engine. Ipopt crashes
// on such a model when a formula has no value there.
bool allFixed(const NlpModel& model) {
  for (std::size_t j = 0; j < static_cast<std::size_t>(model.cols()); ++j) {
    if (model.colLb()[j] != model.colUb()[j]) return false;
  }
  return true;
}

NlpResult onlyPoint(NlpModel& model, bool integers, double tol) {
  NlpResult r;
  r.x = model.colLb();
  if (!model.at(r.x.data())) {
    fail("the formulas have no finite value at the only point the column bounds allow");
  }
  ResultRecord check;
  double sum = 0.0;
  const bool ok = feasible(model, r.x, tol, check, &sum);
  r.solveStatus = XPRS_SOLVESTATUS_COMPLETED;
  r.solStatus = ok ? XPRS_SOLSTATUS_OPTIMAL : XPRS_SOLSTATUS_INFEASIBLE;
  // No column can move: every multiplier of a row may be 0, and the reduced costs are the
  // objective's gradient.
  r.duals = ok && !integers;
  if (r.duals) r.lambda.assign(static_cast<std::size_t>(model.constraints()), 0.0);
  if (integers) {
    r.mip = true;
    r.mipStatus = ok ? XPRS_MIP_OPTIMAL : XPRS_MIP_INFEAS;
    // Infeasible: no solution can be better than infinity in the problem's sense.
    r.bestBound = ok ? model.objective() : model.sense() * XPRS_PLUSINFINITY;
  }
  return r;
}

// True when the objective is constant: every term is 0 or on fixed columns (a settled column in
// no row is one). Every point is then optimal, with every multiplier 0.
bool constantObjective(const ModelRecord& m) {
  const auto fixed = [&](int j) {
    return m.colLb[static_cast<std::size_t>(j)] == m.colUb[static_cast<std::size_t>(j)];
  };
  if (m.objectives.size() != 1) return false;
  const std::vector<double>& c = m.objectives.front().coef;
  for (std::size_t j = 0; j < c.size(); ++j) {
    if (c[j] != 0.0 && !fixed(static_cast<int>(j))) return false;
  }
  return std::all_of(m.objQ.begin(), m.objQ.end(),
                     [&](const auto& q) {
                       return q.second == 0.0 || (fixed(q.first.first) && fixed(q.first.second));
                     }) &&
         std::none_of(m.formulas.begin(), m.formulas.end(),
                      [](const FormulaRecord& f) { return f.row < 0; });
}

// A completed run's point that keeps the model is an optimum when the objective is constant.
// Ipopt can end such a run short of its tolerances ("acceptable level") with multipliers of
// inactive constraints still nonzero; those are barrier noise, and the exact ones are all 0.
void constantObjectiveOptimum(NlpModel& model, bool integers, NlpResult& r) {
  r.solStatus = XPRS_SOLSTATUS_OPTIMAL;
  r.stopStatus = XPRS_STOP_NONE;
  r.candidate = false;
  r.duals = !integers;
  if (r.duals) r.lambda.assign(static_cast<std::size_t>(model.constraints()), 0.0);
  if (integers) {
    r.mip = true;
    r.mipStatus = XPRS_MIP_OPTIMAL;
    r.bestBound = model.objective();
  }
}

// The linear rows and bounds of m: rows with quadratic terms or formulas, and indicator rows,
// are freed.
EngineModel linearPartOf(const ModelRecord& m) {
  EngineModel e = assemble(m, /*mip=*/false);
  const auto freeRow = [&](int row) {
    if (row < 0) return;
    e.rowLb[static_cast<std::size_t>(row)] = -COIN_DBL_MAX;
    e.rowUb[static_cast<std::size_t>(row)] = COIN_DBL_MAX;
  };
  for (const int row : m.qRow) freeRow(row);
  for (const FormulaRecord& f : m.formulas) freeRow(f.row);
  for (std::size_t i = 0; i < m.indicatorComplement.size(); ++i) {
    if (m.indicatorComplement[i] != 0) freeRow(static_cast<int>(i));
  }
  return e;
}

// Ipopt's and Bonmin's "infeasible" is where their search ended, not a proof. It stands proven
// when the linear rows and bounds alone have no point (the LP engine decides). Where they have
// one, a continuous model is solved again from that point, and a model whose rows are all linear
// must have no point for the MIP engine either.
void checkInfeasible(RunContext& ctx, const ModelRecord& m, NlpModel& model,
                     const NlpSettings& settings, bool integers, NlpResult& r) {
  const LinearPoint linear = findLinearPoint(linearPartOf(m), std::max(1e-6, settings.feasTol));
  if (linear.verdict != LinearPoint::Verdict::Found) return;
  if (!integers) {
    std::vector<double> start = linear.x;
    for (std::size_t j = 0; j < start.size(); ++j) {
      start[j] = std::clamp(start[j], model.colLb()[j], model.colUb()[j]);
    }
    NlpResult again = runIpopt(ctx, model, start, settings);
    if (again.solStatus == XPRS_SOLSTATUS_INFEASIBLE) return;
    ctx.message("Ipopt found no point from its start; it ran again from a point of the linear rows",
                XPRS_MSG_INFO);
    again.iterations += r.iterations;
    again.evaluations += r.evaluations;
    again.evalSeconds += r.evalSeconds;
    r = std::move(again);
    return;
  }
  if (!m.qRow.empty() || !m.formulas.empty()) return;
  if (mipHasPoint(ctx, m).value_or(false)) {
    fail(
        "Bonmin found no point of the model, but the MIP engine found one without the "
        "objective: the engine cannot solve it");
  }
}

// Ipopt stalls on some unbounded models, stops at its iteration limit, or lets its iterates
// diverge (on bounded models too), without a point that holds. The model is then solved within
// boxes of 1e4, 1e6 and 1e8 on every infinite column side: an optimum inside a box is the
// model's answer; optima on the sides of two boxes in turn, the larger box's better, make the
// model unbounded; no point in any box makes it (locally) infeasible; a limit or interrupt in a
// box's run ends the run. Nothing is decided otherwise.
std::optional<NlpResult> solveInBoxes(RunContext& ctx, const ModelRecord& m,
                                      const std::vector<double>& start,
                                      const NlpSettings& settings) {
  std::optional<double> previous;  // the minimised objective at the last box's side
  int infeasible = 0;
  for (const double box : kBoxes) {
    ModelRecord boxed = m;
    bool boxedSide = false;
    for (std::size_t j = 0; j < boxed.colLb.size(); ++j) {
      boxedSide = boxedSide || boxed.colLb[j] < -box || boxed.colUb[j] > box;
      boxed.colLb[j] = std::max(boxed.colLb[j], -box);
      boxed.colUb[j] = std::min(boxed.colUb[j], box);
    }
    if (!boxedSide) return std::nullopt;
    NlpModel model(boxed, /*integers=*/false);
    std::vector<double> from = start;
    for (std::size_t j = 0; j < from.size(); ++j) {
      from[j] = std::clamp(from[j], model.colLb()[j], model.colUb()[j]);
    }
    NlpResult r = runIpopt(ctx, model, from, settings);
    // A limit or an interrupt ends the run.
    if (r.solveStatus == XPRS_SOLVESTATUS_STOPPED) {
      r.candidate = false;
      return r;
    }
    if (r.solStatus == XPRS_SOLSTATUS_INFEASIBLE && ++infeasible == 3) return r;
    if (r.solStatus == XPRS_SOLSTATUS_INFEASIBLE) continue;
    // An answer short of Ipopt's tolerances whose point holds decides only inside the box.
    const bool acceptable = r.solStatus != XPRS_SOLSTATUS_OPTIMAL && r.candidate &&
                            r.stopStatus == XPRS_STOP_NONE &&
                            pointHolds(model, r.x, settings.feasTol * 10);
    if (r.solStatus != XPRS_SOLSTATUS_OPTIMAL && !acceptable) return std::nullopt;
    model.completePoint(r.x.data());
    bool atBox = false;
    for (std::size_t j = 0; j < r.x.size(); ++j) {
      atBox = atBox || (m.colLb[j] < -box && r.x[j] <= -box * (1 - 1e-6)) ||
              (m.colUb[j] > box && r.x[j] >= box * (1 - 1e-6));
    }
    if (!atBox) return r;
    if (acceptable || !model.at(r.x.data())) return std::nullopt;
    const double objective = model.sense() * model.objective();
    if (previous && objective < *previous - 1e-6 * std::max(1.0, std::fabs(*previous))) {
      NlpResult unbounded;
      unbounded.solveStatus = XPRS_SOLVESTATUS_COMPLETED;
      unbounded.solStatus = XPRS_SOLSTATUS_UNBOUNDED;
      return unbounded;
    }
    previous = objective;
  }
  return std::nullopt;
}

// The model with its settled columns fixed where the settling put them.
ModelRecord withSettledColumns(const ModelRecord& m, const EngineModel& e,
                               const LoneColumns& lone) {
  ModelRecord settled = m;
  for (const LoneColumns::Column& c : lone.settled) {
    const auto j = static_cast<std::size_t>(c.col);
    settled.colLb[j] = settled.colUb[j] = e.colLb[j];
  }
  return settled;
}

// What the linear programs of a MIQP's relaxation show before the branch and bound: nothing
// when its relaxation is bounded (or the programs decided nothing), else the model's status. An
// unbounded relaxation makes the MIQP unbounded when it has an integer point: Bonmin answers
// such a model "optimal" far out along the unbounded direction.
std::optional<int> miqpShape(RunContext& ctx, const ModelRecord& m, EngineModel relaxation,
                             const EngineModel& settled, const LoneColumns& lone, double tol) {
  for (const LoneColumns::Column& c : lone.settled) {
    const auto j = static_cast<std::size_t>(c.col);
    relaxation.colLb[j] = relaxation.colUb[j] = settled.colLb[j];
  }
  const ClpSetup setup = [&](ClpSimplex& clp) {
    clp.setLogLevel(0);
    if (const double t = timeLeft(ctx); t > 0) clp.setMaximumWallSeconds(t);
  };
  switch (shapeOfQuadratic(relaxation, setup, tol).shape) {
    case QpShape::Infeasible:
      return XPRS_SOLSTATUS_INFEASIBLE;
    case QpShape::Unbounded:
      return mipHasPoint(ctx, m).value_or(true) ? XPRS_SOLSTATUS_UNBOUNDED
                                                : XPRS_SOLSTATUS_INFEASIBLE;
    default:
      return std::nullopt;
  }
}

}  // namespace

int pollStop(RunContext& ctx) { return ctx.poll() ? ctx.stopReason() : XPRS_STOP_NONE; }

bool needsNonlinearEngine(const ModelRecord& m) {
  if (!m.formulas.empty() || !m.qRow.empty()) return true;
  return !m.objQ.empty() && hasIntegers(m);
}

void solveNonlinear(RunContext& ctx, RunRecord& run) {
  Problem& problem = ctx.problem();
  ProblemRecord& rec = problem.rec;
  const ModelRecord& m = rec.model;
  checkNonlinearSolvable(m);
  const bool integers = hasIntegers(m);
  // Convex MIQPs are MIPs; anything with quadratic rows or formulas is a local answer.
  run.optType = integers && m.formulas.empty() && m.qRow.empty() ? XPRS_OPTIMIZETYPE_MIP
                                                                 : XPRS_OPTIMIZETYPE_LOCAL;
  ctx.view().intAttribs[XPRS_OPTIMIZETYPEUSED] = run.optType;
  ResultRecord& out = rec.results;
  out = ResultRecord{};
  run.bestBound = m.sense > 0 ? XPRS_MINUSINFINITY : XPRS_PLUSINFINITY;
  run.solveStatus = XPRS_SOLVESTATUS_COMPLETED;
  const auto decided = [&](int solStatus, const std::string& why) {
    ctx.message(why, XPRS_MSG_INFO);
    run.solStatus = solStatus;
    if (integers) {
      run.mipStatus = solStatus == XPRS_SOLSTATUS_INFEASIBLE ? XPRS_MIP_INFEAS : XPRS_MIP_UNBOUNDED;
    }
  };
  const double feasTol = dblControl(rec, XPRS_FEASTOL);
  EngineModel linear = linearPartOf(m);
  if (const std::string reason = provenInfeasible(linear, m, integers, feasTol,
                                                  std::max(1e-9, dblControl(rec, XPRS_MIPTOL)));
      !reason.empty()) {
    decided(XPRS_SOLSTATUS_INFEASIBLE, text("The model is infeasible: ", reason));
    return;
  }
  // Columns no constraint, quadratic term or formula holds are settled as for a linear model:
  // Ipopt runs off to infinity along one whose objective improves without limit, whether or not
  // the model has a point.
  EngineModel whole = assemble(m, /*mip=*/false);
  const LoneColumns lone = settleLoneColumns(whole, m, /*indicators=*/nullptr);
  ModelRecord settledModel;
  if (!lone.settled.empty()) settledModel = withSettledColumns(m, whole, lone);
  NlpModel model(lone.settled.empty() ? m : settledModel, integers);
  if (!model.boundConflict().empty()) {
    decided(XPRS_SOLSTATUS_INFEASIBLE, text("The model is infeasible: ", model.boundConflict()));
    return;
  }
  if (integers && m.formulas.empty() && m.qRow.empty()) {
    if (const std::optional<int> status =
            miqpShape(ctx, m, std::move(linear), whole, lone, std::max(1e-6, feasTol))) {
      decided(*status, *status == XPRS_SOLSTATUS_INFEASIBLE
                           ? "The model is infeasible: its relaxation has no point"
                           : "The model is unbounded: its relaxation is, and it has a point");
      return;
    }
  }
  const NlpSettings settings = settingsOf(rec);
  const std::vector<double> start = startingPoint(rec, model);

  if (insideEngine) fail("a nonlinear optimisation cannot start inside another one");
  NlpResult r;
  if (allFixed(model)) {
    r = onlyPoint(model, integers, settings.feasTol * 10);
  } else {
    std::lock_guard lock(engineLock());
    insideEngine = true;
    try {
      r = integers ? runBonmin(ctx, model, start, settings) : runIpopt(ctx, model, start, settings);
      // A second run from a point of the linear rows answers in the first's place, and is read
      // as the first would be.
      if (r.solStatus == XPRS_SOLSTATUS_INFEASIBLE) {
        checkInfeasible(ctx, m, model, settings, integers, r);
      }
      // An answer short of Ipopt's tolerances ("acceptable") whose point does not hold is a
      // stall like any other.
      if (r.solStatus != XPRS_SOLSTATUS_OPTIMAL && r.candidate && r.stopStatus == XPRS_STOP_NONE &&
          !pointHolds(model, r.x, settings.feasTol * 10)) {
        r.stopStatus = XPRS_STOP_NUMERICALERROR;
      }
      const bool violates = optimumViolates(model, r, settings.feasTol * 10);
      if (violates) {
        // Ipopt measures its constraint violation on its own scaling of the model.
        ctx.message(
            "The engine's optimum is not shown to keep the model to the feasibility tolerance",
            XPRS_MSG_INFO);
        r.solveStatus = XPRS_SOLVESTATUS_FAILED;
        r.solStatus = XPRS_SOLSTATUS_NOTFOUND;
        r.stopStatus = XPRS_STOP_NUMERICALERROR;
        r.candidate = false;
      }
      if (r.solStatus == XPRS_SOLSTATUS_UNBOUNDED ||
          (r.solStatus != XPRS_SOLSTATUS_OPTIMAL && r.solStatus != XPRS_SOLSTATUS_INFEASIBLE &&
           (r.stopStatus == XPRS_STOP_NUMERICALERROR || r.stopStatus == XPRS_STOP_ITERLIMIT))) {
        if (findLinearPoint(linearPartOf(m), std::max(1e-6, feasTol)).verdict ==
            LinearPoint::Verdict::None) {
          // Ipopt's iterates diverge or stall on some infeasible models too.
          ctx.message("The linear rows have no point: the model is infeasible", XPRS_MSG_INFO);
          r = NlpResult{};
          r.solveStatus = XPRS_SOLVESTATUS_COMPLETED;
          r.solStatus = XPRS_SOLSTATUS_INFEASIBLE;
          r.mip = integers;
          r.mipStatus = XPRS_MIP_INFEAS;
        } else if (!integers) {
          // Ipopt's "diverging" only says that the iterates grew beyond 1e20, which they also
          // do on bounded models with free columns.
          if (std::optional<NlpResult> boxed =
                  solveInBoxes(ctx, lone.settled.empty() ? m : settledModel, start, settings)) {
            ctx.message("Ipopt stalled; within boxes on the infinite column sides it decided",
                        XPRS_MSG_INFO);
            boxed->iterations += r.iterations;
            r = std::move(*boxed);
          } else if (r.solStatus == XPRS_SOLSTATUS_UNBOUNDED) {
            // Diverging iterates alone show no ray: infeasible models have them too.
            fail(
                "Ipopt's iterates diverged, and within boxes on the infinite column sides "
                "nothing was decided: the nonlinear engine cannot solve the model");
          }
        }
      }
      if (violates && r.solveStatus == XPRS_SOLVESTATUS_FAILED) {
        fail(
            "the nonlinear engine's optimum is not shown to keep the model to the feasibility "
            "tolerance");
      }
      if (r.stopStatus == XPRS_STOP_NUMERICALERROR && r.solStatus != XPRS_SOLSTATUS_OPTIMAL &&
          !integers && !(r.candidate && pointHolds(model, r.x, settings.feasTol * 10))) {
        fail(
            "Ipopt stopped on numerical trouble without a point that holds, and within boxes on "
            "the infinite column sides nothing was decided: the nonlinear engine cannot solve the "
            "model");
      }
    } catch (...) {
      insideEngine = false;
      throw;
    }
    insideEngine = false;
  }

  run.solveStatus = r.solveStatus;
  run.solStatus = r.solStatus;
  run.stopStatus = run.nlpStopStatus = r.stopStatus;
  run.iterations = r.iterations;
  run.nodes = r.nodes;
  run.evaluations = r.evaluations;
  run.evalTime = r.evalSeconds;
  if (r.mip) {
    run.mipStatus = r.mipStatus;
    run.bestBound = r.bestBound;
    run.mipSols = ctx.incumbents();
  }
  const bool point = r.x.size() == static_cast<std::size_t>(model.cols());
  if (point) model.completePoint(r.x.data());
  double sum = 0.0;
  // A point whose objective is infinite (an iterate far out along a ray, kept at a stop) is no
  // solution.
  const bool ok = point && feasible(model, r.x, settings.feasTol * 10, out, &sum) &&
                  std::fabs(model.objective()) < XPRS_PLUSINFINITY;
  const bool hasPoint = (point && r.solStatus == XPRS_SOLSTATUS_OPTIMAL) || (r.candidate && ok);
  if (hasPoint && ok && r.solveStatus == XPRS_SOLVESTATUS_COMPLETED &&
      constantObjective(lone.settled.empty() ? m : settledModel)) {
    constantObjectiveOptimum(model, integers, r);
    run.solStatus = r.solStatus;
    run.stopStatus = run.nlpStopStatus = r.stopStatus;
    if (r.mip) run.mipStatus = r.mipStatus, run.bestBound = r.bestBound;
  }
  if (lone.unbounded >= 0 && hasPoint) {
    out = ResultRecord{};
    run.solveStatus = XPRS_SOLVESTATUS_COMPLETED;
    run.stopStatus = run.nlpStopStatus = XPRS_STOP_NONE;
    decided(XPRS_SOLSTATUS_UNBOUNDED,
            text("The model is unbounded: column ", lone.unbounded,
                 " is in no constraint and its objective improves without limit"));
    return;
  }
  run.sumPrimalInf = sum;
  if (point && r.solStatus == XPRS_SOLSTATUS_OPTIMAL) {
    keepResults(rec, model, r, XPRS_SOLAVAILABLE_OPTIMAL, out, run);
  } else if (r.candidate && ok) {
    run.solStatus = XPRS_SOLSTATUS_FEASIBLE;
    keepResults(rec, model, r, XPRS_SOLAVAILABLE_FEASIBLE, out, run);
  }
  if (r.mip && out.primalAvail != 0) run.mipObjVal = run.objVal;
  run.solvedObjs = run.solStatus == XPRS_SOLSTATUS_OPTIMAL ? 1 : 0;
}

bool NlpEvaluator::objective(const double* x, double* value) {
  return timed([&] {
    if (!model_.at(x)) return false;
    *value = model_.sense() * model_.objective();
    return std::isfinite(*value);
  });
}

bool NlpEvaluator::objectiveGradient(const double* x, double* gradient) {
  return timed([&] {
    if (!model_.at(x)) return false;
    model_.objectiveGradient(gradient);
    const auto n = static_cast<std::size_t>(model_.cols());
    bool finite = true;
    for (std::size_t j = 0; j < n; ++j) {
      gradient[j] *= model_.sense();
      finite = finite && std::isfinite(gradient[j]);
    }
    return finite;
  });
}

bool NlpEvaluator::constraints(const double* x, double* values) {
  return timed([&] {
    if (!model_.at(x)) return false;
    model_.constraintValues(values);
    return std::all_of(values, values + model_.constraints(),
                       [](double v) { return std::isfinite(v); });
  });
}

bool NlpEvaluator::jacobian(const double* x, int* rows, int* cols, double* values) {
  if (values == nullptr) {
    std::copy(model_.jacRows().begin(), model_.jacRows().end(), rows);
    std::copy(model_.jacCols().begin(), model_.jacCols().end(), cols);
    return true;
  }
  return timed([&] { return model_.at(x) && model_.jacobian(values); });
}

bool NlpEvaluator::hessian(const double* x, double objFactor, const double* lambda, int* rows,
                           int* cols, double* values) {
  if (values == nullptr) {
    std::copy(model_.hessRows().begin(), model_.hessRows().end(), rows);
    std::copy(model_.hessCols().begin(), model_.hessCols().end(), cols);
    return true;
  }
  return timed(
      [&] { return model_.at(x) && model_.hessian(model_.sense() * objFactor, lambda, values); });
}

template <class Fn>
bool NlpEvaluator::timed(Fn&& fn) {
  const auto begin = std::chrono::steady_clock::now();
  bool ok = false;
  try {
    ok = fn();
  } catch (...) {
    // Out of memory while evaluating: the engine sees a failed evaluation.
    ok = false;
  }
  seconds_ += std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  ++evaluations_;
  return ok;
}

}  // namespace xprs::standin
