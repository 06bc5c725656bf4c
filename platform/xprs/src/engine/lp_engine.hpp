// The run of a linear model, or one with a convex quadratic objective, through Clp: the
// algorithm chosen by the run's flags and DEFAULTALG, statuses, solution, duals and basis.
#ifndef XPRS_LP_ENGINE_HPP_
#define XPRS_LP_ENGINE_HPP_

#include <string>

#include "library.hpp"

namespace xprs::standin {

class RunContext;

// Solves objective 0 of m and stores the run's statuses in run and its results in the
// problem's record. Raises ApiError on a non-convex objective.
void solveLp(RunContext& ctx, RunRecord& run, const std::string& flags, const ModelRecord& m);

}  // namespace xprs::standin

#endif  // XPRS_LP_ENGINE_HPP_
