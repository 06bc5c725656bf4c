#include "engine/engine.hpp"

#include <algorithm>

#include "controls.hpp"
#include "engine/lp_engine.hpp"
#include "engine/mip_engine.hpp"
#include "engine/objectives.hpp"
#include "engine/script_replay.hpp"
#include "nlp/nlp_engine.hpp"

namespace xprs::standin {

namespace {

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

void finishRun(Problem& problem, RunRecord run, int* solvestatus, int* solstatus) {
  problem.rec.run = run;
  ++problem.rec.runs;
  if (solvestatus) *solvestatus = run.solveStatus;
  if (solstatus) *solstatus = run.solStatus;
}

// The run of a linear or mixed-integer model, over all its objectives.
void solveLinear(RunContext& ctx, RunRecord& run, const std::string& flags) {
  ProblemRecord& rec = ctx.problem().rec;
  const bool mip = isMip(ctx.problem());
  run.optType = mip ? XPRS_OPTIMIZETYPE_MIP : XPRS_OPTIMIZETYPE_LP;
  ctx.view().intAttribs[XPRS_OPTIMIZETYPEUSED] = run.optType;
  auto solve = [&](RunRecord& r, const ModelRecord& model) {
    if (mip) {
      solveMip(ctx, r, flags, model);
    } else {
      solveLp(ctx, r, flags, model);
    }
  };
  if (rec.model.objectives.size() > 1) {
    solveObjectives(ctx, rec.model, run, solve);
  } else {
    solve(run, rec.model);
    // Clp's quadratic methods find no answer that holds on some convex QPs (rank-deficient
    // Hessians without rows among them); Ipopt solves a convex QP to its optimum.
    if (!mip && !rec.model.objQ.empty() && run.solveStatus == XPRS_SOLVESTATUS_FAILED) {
      ctx.message("Ipopt solves the convex quadratic model", XPRS_MSG_INFO);
      run = RunRecord{};
      solveNonlinear(ctx, run);
      run.optType = XPRS_OPTIMIZETYPE_LP;
      run.lpStatus = run.solStatus == XPRS_SOLSTATUS_OPTIMAL       ? XPRS_LP_OPTIMAL
                     : run.solStatus == XPRS_SOLSTATUS_INFEASIBLE  ? XPRS_LP_INFEAS
                     : run.solStatus == XPRS_SOLSTATUS_UNBOUNDED   ? XPRS_LP_UNBOUNDED
                     : run.solveStatus == XPRS_SOLVESTATUS_STOPPED ? XPRS_LP_UNFINISHED
                                                                   : XPRS_LP_UNSOLVED;
      if (run.solStatus == XPRS_SOLSTATUS_OPTIMAL) run.lpObjVal = run.objVal;
      ctx.view().intAttribs[XPRS_OPTIMIZETYPEUSED] = run.optType;
    }
    const bool optimal =
        run.solveStatus == XPRS_SOLVESTATUS_COMPLETED && run.solStatus == XPRS_SOLSTATUS_OPTIMAL;
    run.solvedObjs = optimal ? 1 : 0;
  }
}

// The run itself: the next scripted outcome, or the model through its engine. Returns the
// scripted return code, else 0.
int runModel(RunContext& ctx, RunRecord& run, const char* function, const std::string& flags) {
  Problem& problem = ctx.problem();
  ProblemRecord& rec = problem.rec;
  ctx.checkTime();
  if (!rec.scripts.empty()) {
    RunScript script = std::move(rec.scripts.front());
    rec.scripts.erase(rec.scripts.begin());
    const int rc = script.returnCode;
    replayScript(ctx, std::move(script), run);
    if (rc != 0) setProblemError(problem, function, "scripted failure", rc);
    return rc;
  }
  checkSolvable(problem);
  if (needsNonlinearEngine(rec.model)) {
    solveNonlinear(ctx, run);
  } else {
    solveLinear(ctx, run, flags);
  }
  run.time = ctx.elapsed();
  ctx.message(text("Optimisation finished: solve status ", run.solveStatus, ", solution status ",
                   run.solStatus, ", stop status ", run.stopStatus),
              XPRS_MSG_INFO);
  return 0;
}

// Runs the model in a run context; a failure becomes the run's outcome and the last error.
int runInContext(Problem& problem, RunRecord& run, const char* function, const char* flags) {
  RunContext ctx(problem);
  int rc = 0;
  const std::optional<std::string> failure =
      runFailure([&] { rc = runModel(ctx, run, function, flags ? flags : ""); });
  if (!failure) return rc;
  problem.rec.results = ResultRecord{};
  const int lpStatus = run.lpStatus;
  run = failedRun();
  run.lpStatus = lpStatus;
  // The reason goes out as an error and, for hosts that drop errors, as a warning; then it
  // becomes the last error, which a callback's own failures must not replace.
  ctx.message(text(function, ": ", *failure), XPRS_MSG_ERROR);
  ctx.message(text(function, ": ", *failure), XPRS_MSG_WARNING);
  setProblemError(problem, function, *failure);
  return kErrorCode;
}

}  // namespace

RunRecord failedRun() {
  return RunRecord{XPRS_SOLVESTATUS_FAILED, XPRS_SOLSTATUS_NOTFOUND, XPRS_STOP_GENERICERROR};
}

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
  const int rc = runInContext(problem, run, function, flags);
  problem.solving = false;
  // A loaded basis and MIP starts serve one run.
  problem.pendingBasis.reset();
  problem.pendingMipSols.clear();
  finishRun(problem, run, solvestatus, solstatus);
  return rc;
}

}  // namespace xprs::standin
