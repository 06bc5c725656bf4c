// What qelhost prints after a solve, and the exit status it ends with.
//
//   status: normal_completion
//   objective: -464.753142857143
//   solution status: optimal
//   ...
//   column  value  reduced cost
//   x1      80     0
//   row     activity  dual
//   r09     80        -0.628571428571429
//
// Numbers carry 15 significant digits; a value the solver did not give is left blank.
#ifndef PLATFORM_HOST_SRC_REPORT_HPP_
#define PLATFORM_HOST_SRC_REPORT_HPP_

#include <ostream>
#include <string>
#include <string_view>

#include "orla/vop_rec.hpp"

namespace qelhost {

// The name of a solve status ("normal_completion", "infeasible", ...); "none" for -1.
[[nodiscard]] std::string_view statusName(int status);

// 0 solved (completed, or stopped at a limit with a solution), 1 no solution (infeasible,
// unbounded, or a limit reached without one), 2 a failure of the solver.
[[nodiscard]] int exitStatus(const vopRec::Results& results);

// The summary, then the column and row table when there is a solution.
void writeSummary(std::ostream& out, const vopRec& model);

// One line per column, then one per row: kind,name,value,marginal (level and reduced cost of a
// column, activity and dual of a row).
void writeSolutionCsv(std::ostream& out, const vopRec& model);

}  // namespace qelhost

#endif  // PLATFORM_HOST_SRC_REPORT_HPP_
