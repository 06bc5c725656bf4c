// Several linear objectives, solved level by level. Objectives of equal priority (objective
// control 20001) form one level whose objective is the sum of theirs multiplied by their weights
// (20002), optimised in the problem's sense; a negative weight thus turns an objective's sense.
// Levels run from the highest priority down. Once a level is optimal, a row keeps its objective
// within the level's tolerance of that optimum while the lower levels are optimised: the largest
// of the absolute tolerance (20003) and the relative one (20004) times the optimum's size, over
// the level's objectives.
//
// The run ends early when a level is not solved to optimality; its statuses become the run's.
// The objective attributes describe objective 0 at the final solution, as the objective reported
// with each MIP incumbent describes it at the incumbent. Each MIP level starts from the optimum
// of the level before, which is reported once. Duals, reduced costs and the basis are kept only
// when a single level ran, since every further level solves a model with rows the problem does
// not have.
#ifndef XPRS_OBJECTIVES_HPP_
#define XPRS_OBJECTIVES_HPP_

#include <functional>

#include "engine/engine.hpp"

namespace xprs::standin {

// Solves one model (LP or MIP) into run and the problem's results.
using ModelSolver = std::function<void(RunRecord& run, const ModelRecord& model)>;

// Runs the levels of m's objectives through solve. run enters with its optimisation type set
// and leaves with the outcome of the whole run (iterations and nodes summed over the levels).
void solveObjectives(RunContext& ctx, const ModelRecord& m, RunRecord& run,
                     const ModelSolver& solve);

}  // namespace xprs::standin

#endif  // XPRS_OBJECTIVES_HPP_
