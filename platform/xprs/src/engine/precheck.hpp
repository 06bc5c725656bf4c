// Answers about a model that need no engine, found before an engine runs: COIN-OR's Clp and Cbc
// abort the process (assertions) on some of these models and give wrong statuses on others.
#ifndef XPRS_PRECHECK_HPP_
#define XPRS_PRECHECK_HPP_

#include <string>

#include "engine/engine.hpp"

namespace xprs::standin {

// Looks for infeasibility visible without solving: a column or row whose bounds hold no value
// (a lower bound of +infinity, an upper bound of -infinity, or lower above upper by more than
// tol), an integer column whose bounds hold no integer, and a row whose range its activity cannot
// reach within the column bounds (an empty row among them). With mip the bounds of integer
// columns are first rounded inward (within the integer tolerance intTol); bounds crossing by
// less than tol are closed. Returns what makes the model infeasible, or an empty text.
[[nodiscard]] std::string provenInfeasible(EngineModel& e, const ModelRecord& m, bool mip,
                                           double tol, double intTol);

// True when ½x'Qx is convex (sense 1) or concave (sense -1). The test runs on each block of
// columns coupled by entries, scaled symmetrically to entries of at most 1 in magnitude, which
// keeps its inertia, so that a tolerance cannot hide a negative curvature beside huge entries.
// Raises ApiError when a block couples more than 2000 columns.
[[nodiscard]] bool hessianFitsSense(const ModelRecord& m);

}  // namespace xprs::standin

#endif  // XPRS_PRECHECK_HPP_
