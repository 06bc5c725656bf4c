// Ways of running Clp that keep the process alive and its answers right. Clp's barrier aborts or
// never returns on some infeasible and unbounded models, and its quadratic simplex loops without
// looking at the clock on models with a direction of unbounded descent. So a barrier runs only on
// columns with finite bounds and only when one factorization fits the time left, its answer is
// checked before it is taken, and a quadratic model is first shown feasible and bounded by two
// linear programs, then solved within finite bounds.
#ifndef XPRS_CLP_GUARD_HPP_
#define XPRS_CLP_GUARD_HPP_

#include <coin/ClpSimplex.hpp>
#include <functional>
#include <vector>

#include "engine/engine.hpp"

namespace xprs::standin {

// Sets up a linear or quadratic program before it runs: handlers, tolerances, limits.
using ClpSetup = std::function<void(ClpSimplex&)>;

// Loads e into clp, with its Hessian when quadratic.
void loadModel(ClpSimplex& clp, const EngineModel& e, bool quadratic);

// True when no column has an infinite bound and every row has an entry: Clp's barrier aborts
// on some models with empty rows, feasible ones among them.
[[nodiscard]] bool barrierShaped(const EngineModel& e);

// Estimated seconds of one factorization of the barrier's normal equations of the model loaded
// in clp, from the size of Clp's symbolic factor (dense factors cost about n³/3 operations).
[[nodiscard]] double factorSeconds(ClpSimplex& clp);

// True when an answer of the barrier can be taken: optimal, every column and row activity within
// its bounds of e (tol relative to sizes beyond 1), and an objective below 1e15 in magnitude.
[[nodiscard]] bool interiorAnswerHolds(const ClpSimplex& clp, const EngineModel& e, double tol);

// True when an answer to a convex quadratic model can be taken: interiorAnswerHolds, and the
// optimality conditions hold: every reduced cost c + Qx - A'y has the sign its column's position
// allows, and every row dual that of its row's active side (relative to the largest gradient
// entry beyond 1). Clp's quadratic simplex answers "optimal" on some points that are not.
[[nodiscard]] bool quadraticAnswerHolds(const ClpSimplex& clp, const EngineModel& e, double tol);

// Checks Clp's verdict "infeasible" on the linear program in clp (its status 1) by the primal
// simplex from a slack basis over the same rows and bounds without objective: Clp's dual simplex
// calls some feasible programs with free columns infeasible. When the check finds a point within
// tol (relative to sizes beyond 1) of every bound of clp, the program is solved again by the
// primal simplex from that point's basis, and clp holds that answer; otherwise clp is left as
// it was.
void recheckInfeasible(ClpSimplex& clp, double tol);

// Checks Clp's verdict "optimal" on the linear program in clp (its status 0): its dual simplex
// calls some programs with free columns optimal while their reduced costs point away from where
// the columns stand (unbounded programs among them), and its primal simplex takes that basis as
// it is. Such a program is solved again by the primal simplex from a slack basis, and clp holds
// that answer. True when it was.
bool recheckOptimal(ClpSimplex& clp);

// What Clp finds of the rows and bounds of a model without its objective.
struct LinearPoint {
  enum class Verdict { Found, None, Undecided };
  Verdict verdict = Verdict::Undecided;
  std::vector<double> x;  // the point, when found
};

// Searches the rows and bounds of e for a point within tol: Clp's dual simplex, its verdict
// "infeasible" checked as recheckInfeasible does.
[[nodiscard]] LinearPoint findLinearPoint(const EngineModel& e, double tol);

// What two linear programs tell about a convex quadratic model before it is solved.
enum class QpShape { Bounded, Infeasible, Unbounded, Stopped, Failed };

struct QpShapeResult {
  QpShape shape = QpShape::Failed;
  std::vector<double> point;  // a feasible point, when the model is feasible
  int iterations = 0;
  int status = 0;  // Clp status of the program that decided: 3 and 5 when stopped
  int secondary = 0;
};

// Decides whether the model has a feasible point (a linear program without objective) and, if
// so, whether the objective falls without bound along a direction d of its recession cone with
// Qd = 0 and c'd < 0 (maximising: > 0), which a convex quadratic objective has exactly when it
// is unbounded. tol is the feasibility tolerance.
[[nodiscard]] QpShapeResult shapeOfQuadratic(const EngineModel& e, const ClpSetup& setup,
                                             double tol);

// Bounds every infinite side of a column of e at -box or +box in clp.
void boxFreeSides(ClpSimplex& clp, const EngineModel& e, double box);
// Adds to clp, after the rows of its model, a row holding column 0 alone, within bounds wider
// than the column's (which must be finite), so the row never binds. Clp's quadratic methods
// stall on a model whose matrix holds no entries, and answer a wrong "optimal" when its only
// entries are in a free row.
void addSlackRow(ClpSimplex& clp);
// True when a column in clp's solution lies at such an artificial bound.
[[nodiscard]] bool atArtificialBound(const ClpSimplex& clp, const EngineModel& e, double box);

}  // namespace xprs::standin

#endif  // XPRS_CLP_GUARD_HPP_
