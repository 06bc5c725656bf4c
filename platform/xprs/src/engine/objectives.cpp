#include "engine/objectives.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "controls.hpp"

namespace xprs::standin {

namespace {

// Objective numbers by priority, highest first.
std::vector<std::pair<int, std::vector<int>>> levelsOf(const ModelRecord& m) {
  std::map<int, std::vector<int>, std::greater<>> byPriority;
  for (std::size_t i = 0; i < m.objectives.size(); ++i) {
    byPriority[objIntControl(m.objectives[i], XPRS_OBJECTIVE_PRIORITY)].push_back(
        static_cast<int>(i));
  }
  return {byPriority.begin(), byPriority.end()};
}

// Keeps the level's objective coef'x - rhs within tol of best, in the problem's sense.
void addBoundRow(ModelRecord& model, const ObjectiveRecord& level, double best, double tol) {
  const int row = model.rows();
  for (std::size_t j = 0; j < level.coef.size(); ++j) {
    if (level.coef[j] == 0.0) continue;
    model.elemRow.push_back(row);
    model.elemCol.push_back(static_cast<int>(j));
    model.elemVal.push_back(level.coef[j]);
  }
  model.rowType.push_back(model.sense == XPRS_OBJ_MINIMIZE ? 'L' : 'G');
  model.rowRhs.push_back(best + level.rhs + model.sense * tol);
  model.rowRange.push_back(0.0);
  model.indicatorCol.push_back(-1);
  model.indicatorComplement.push_back(0);
}

double valueOf(const ObjectiveRecord& obj, const std::vector<double>& x) {
  double v = -obj.rhs;
  for (std::size_t j = 0; j < x.size(); ++j) v += obj.coef[j] * x[j];
  return v;
}

// The objectives of one priority blended by their weights into the level's objective.
ObjectiveRecord blendLevel(const ModelRecord& m, int priority, const std::vector<int>& objs) {
  ObjectiveRecord level;
  level.coef.assign(static_cast<std::size_t>(m.cols()), 0.0);
  for (int i : objs) {
    const ObjectiveRecord& obj = m.objectives[static_cast<std::size_t>(i)];
    const double w = objDblControl(obj, XPRS_OBJECTIVE_WEIGHT);
    for (std::size_t j = 0; j < level.coef.size(); ++j) level.coef[j] += w * obj.coef[j];
    level.rhs += w * obj.rhs;
  }
  // Weights can make a coefficient or the constant infinite: no engine takes it.
  for (std::size_t j = 0; j < level.coef.size(); ++j) {
    if (!(std::fabs(level.coef[j]) < XPRS_PLUSINFINITY)) {
      fail("the weighted objectives of priority ", priority, " give column ", j,
           " the coefficient ", level.coef[j], ", which is not finite");
    }
  }
  if (!(std::fabs(level.rhs) < XPRS_PLUSINFINITY)) {
    fail("the weighted objectives of priority ", priority, " give the constant ", -level.rhs,
         ", which is not finite");
  }
  return level;
}

// How far later levels may move the level's objective from its optimum: the largest of its
// objectives' absolute and relative tolerances.
double levelTolerance(const ModelRecord& m, const std::vector<int>& objs, double optimum) {
  double tol = 0.0;
  for (int i : objs) {
    const ObjectiveRecord& obj = m.objectives[static_cast<std::size_t>(i)];
    tol = std::max({tol, objDblControl(obj, XPRS_OBJECTIVE_ABSTOL),
                    objDblControl(obj, XPRS_OBJECTIVE_RELTOL) * std::fabs(optimum)});
  }
  return tol;
}

// The results as the problem's own: objective 0's value, and nothing of the rows the levels
// added (no duals or basis, which those rows would have shaped).
void keepObjectiveResults(const ModelRecord& m, const ModelRecord& model, bool complete,
                          RunRecord& run, ResultRecord& r) {
  if (r.primalAvail != 0) {
    const double main = valueOf(m.objectives.front(), r.x);
    run.objVal = main;
    if (run.optType == XPRS_OPTIMIZETYPE_MIP) {
      run.mipObjVal = main;
    } else {
      run.lpObjVal = main;
    }
    // Only a complete run bounds objective 0: by the value it reached.
    run.bestBound = complete ? main : -m.sense * XPRS_PLUSINFINITY;
  }
  const auto rows = static_cast<std::size_t>(m.rows());
  if (static_cast<std::size_t>(model.rows()) > rows) {
    if (!r.slack.empty()) r.slack.resize(rows);
    std::erase_if(r.primalInfeasRows, [&](int i) { return static_cast<std::size_t>(i) >= rows; });
    r.dualAvail = XPRS_SOLAVAILABLE_NOTFOUND;
    r.dual.clear();
    r.dj.clear();
    r.dualInfeasRows.clear();
    r.dualInfeasCols.clear();
    r.hasBasis = false;
    r.rowBasis.clear();
    r.colBasis.clear();
  }
}

}  // namespace

void solveObjectives(RunContext& ctx, const ModelRecord& m, RunRecord& run,
                     const ModelSolver& solve) {
  Problem& problem = ctx.problem();
  ctx.reportObjectiveOf(m);
  const auto levels = levelsOf(m);
  ModelRecord model = m;
  model.objectives.resize(1);
  ObjectiveRecord& level = model.objectives.front();
  int iterations = 0;
  int nodes = 0;
  int solved = 0;
  bool complete = true;
  RunRecord last;
  for (std::size_t k = 0; k < levels.size(); ++k) {
    const auto& [priority, objs] = levels[k];
    level = blendLevel(m, priority, objs);
    last = RunRecord{};
    last.optType = run.optType;
    solve(last, model);
    iterations += last.iterations;
    nodes += last.nodes;
    if (last.solveStatus != XPRS_SOLVESTATUS_COMPLETED ||
        last.solStatus != XPRS_SOLSTATUS_OPTIMAL) {
      complete = false;
      ctx.message(text("Objectives of priority ", priority, " not solved to optimality"),
                  XPRS_MSG_INFO);
      break;
    }
    solved += static_cast<int>(objs.size());
    ctx.message(text("Objectives of priority ", priority, ": optimum ", last.objVal),
                XPRS_MSG_INFO);
    if (k + 1 == levels.size()) break;
    addBoundRow(model, level, last.objVal, levelTolerance(m, objs, last.objVal));
    // The optimum just found is feasible for the next level: offer it as a start.
    if (run.optType == XPRS_OPTIMIZETYPE_MIP && problem.rec.results.primalAvail != 0) {
      problem.pendingMipSols.push_back(MipSolRecord{problem.rec.results.x, {}, std::nullopt});
    }
  }
  run = last;
  run.iterations = iterations;
  run.nodes = nodes;
  run.solvedObjs = solved;
  keepObjectiveResults(m, model, complete, run, problem.rec.results);
}

}  // namespace xprs::standin
