// The MIP as Cbc takes it: the solver interface with its integer columns and indicator rows,
// special ordered sets and semi-continuous ranges as Cbc's branching objects, the branching
// directives of XPRSloaddirs, and the MIP starts that may seed the search.
#ifndef XPRS_MIP_MODEL_HPP_
#define XPRS_MIP_MODEL_HPP_

#include <vector>

#include "engine/engine_model.hpp"
#include "engine/indicators.hpp"
#include "library.hpp"

class CbcModel;
class CoinMessageHandler;
class OsiClpSolverInterface;

namespace xprs::standin {

// Largest upper end of a semi-continuous column the engine can branch on.
constexpr double kSemiContinuousCap = 1e9;

// What the loaded model holds beyond integer columns.
struct MipShape {
  bool special = false;         // sets or semi-continuous columns
  bool semiContinuous = false;  // semi-continuous or semi-integer columns
  bool capped = false;          // a semi-continuous upper bound lowered to kSemiContinuousCap
};

// The lower end of the nonzero range of each semi-continuous and semi-integer column (0 for
// other columns and where the range is empty). Such a column takes 0 or a value between its
// limit and its upper bound; negative bounds have no such meaning and are refused. A limit above
// the upper bound leaves only 0, and the column is fixed there.
[[nodiscard]] std::vector<double> semiContinuousLimits(const ModelRecord& m, EngineModel& e,
                                                       double intTol);
// Loads e and the indicators' big-M rows into si, which logs through quiet, and marks the
// integer columns.
[[nodiscard]] MipShape loadSolver(OsiClpSolverInterface& si, CoinMessageHandler& quiet,
                                  const ModelRecord& m, const EngineModel& e,
                                  const IndicatorForm& indicators);
// Solves the relaxation at the root of cbc's search. Clp leaves SIGINT to the host (its own
// handler would take a Ctrl-C and stop as if at an iteration limit), and its verdict
// "infeasible" is rechecked as recheckInfeasible does, within tol, and "optimal" as
// recheckOptimal does.
void solveRelaxation(CbcModel& cbc, double tol);
// Adds the sets of m and the nonzero ranges lotLimit of its semi-continuous columns to cbc.
// Raises ApiError on a set with duplicate reference values or a column listed twice.
void addBranchingObjects(CbcModel& cbc, const ModelRecord& m, const EngineModel& e,
                         const std::vector<double>& lotLimit);
// Branching priorities and directions of XPRSloaddirs (later calls override earlier ones).
// Both libraries branch first on the smallest priority value.
void applyDirectives(CbcModel& cbc, const ModelRecord& m, const std::vector<DirsRecord>& dirs);
// Keeps a complete MIP start that satisfies bounds, rows, indicators and integrality in *x;
// false for others, which are ignored.
[[nodiscard]] bool usableMipStart(const ModelRecord& m, const EngineModel& e,
                                  const IndicatorForm& indicators, const MipSolRecord& start,
                                  double tol, std::vector<double>* x);

}  // namespace xprs::standin

#endif  // XPRS_MIP_MODEL_HPP_
