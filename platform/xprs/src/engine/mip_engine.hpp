// The run of a MIP through Cbc: the relaxation at the root, then the tree search with Cbc's cuts
// and heuristics, branching objects for sets and semi-continuous columns, big-M rows for
// indicators, and a MIP start when one is usable.
#ifndef XPRS_MIP_ENGINE_HPP_
#define XPRS_MIP_ENGINE_HPP_

#include <optional>
#include <string>

#include "library.hpp"

namespace xprs::standin {

class RunContext;

// Solves objective 0 of m and stores the run's statuses in run and its results in the
// problem's record; with the flag 'l' the run stops after the relaxation. Raises ApiError on
// what Cbc cannot be trusted with.
void solveMip(RunContext& ctx, RunRecord& run, const std::string& flags, const ModelRecord& m);

// Searches the rows, bounds, integrality, sets and indicators of m, whose rows must be linear,
// for a point (its objective left out): true when one is found, false when there is none,
// nothing when the search stopped first.
[[nodiscard]] std::optional<bool> mipHasPoint(RunContext& ctx, const ModelRecord& m);

}  // namespace xprs::standin

#endif  // XPRS_MIP_ENGINE_HPP_
