// The ways Clp solves a linear or convex quadratic program of a run: a warm start from a loaded
// basis, the simplex with or without presolve, the barrier where it is safe, and the guarded
// path for a convex quadratic objective.
#ifndef XPRS_LP_METHODS_HPP_
#define XPRS_LP_METHODS_HPP_

#include <coin/ClpSimplex.hpp>
#include <functional>
#include <memory>

#include "engine/clp_guard.hpp"
#include "engine/engine_model.hpp"
#include "engine/run_context.hpp"

namespace xprs::standin {

// The run of a linear or quadratic model through Clp: the program holding the answer (none when
// the answer came without solving the model itself) and the Clp status it ended with.
struct LpOutcome {
  std::unique_ptr<ClpSimplex> solved;
  int status = 4;
  int secondary = 0;
  int iterations = 0;
  int algorithm = XPRS_ALG_DUAL;
};

// A new program of the model, loaded and set up, for each attempt at it.
using FreshModel = std::function<std::unique_ptr<ClpSimplex>()>;

// A warm start of the simplex (primal when alg asks for it, else dual) from a basis that fits
// the model.
[[nodiscard]] LpOutcome solveWarm(RunContext& ctx, const EngineModel& e, const ModelRecord& m,
                                  const BasisRecord& basis, int alg, const FreshModel& fresh);
// The primal simplex when alg asks for it, else the dual simplex, through Clp's presolve when
// presolve is on.
[[nodiscard]] LpOutcome solveSimplex(const FreshModel& fresh, int alg, bool presolve);
// The barrier on a linear model, where it is safe: on finite column bounds and rows with
// entries, when a factorization fits the time left, and with its answer checked; otherwise the
// dual simplex.
[[nodiscard]] LpOutcome solveBarrier(RunContext& ctx, const EngineModel& e, const FreshModel& fresh,
                                     double tol);
// A convex quadratic model: feasibility and boundedness first (two linear programs), then the
// model with every infinite column side replaced by a bound far beyond a feasible point, solved
// by the barrier (with crossover unless switched off, then with it), or Clp's quadratic simplex
// when the barrier finds no answer. Clp's scaling leads its quadratic engines to answers that
// are not optimal, so they run unscaled, and an answer is taken only when it meets the
// optimality conditions. A solution at an artificial bound only says the bound was too near: it
// is moved out by 1e3, up to twice.
[[nodiscard]] LpOutcome solveQuadratic(RunContext& ctx, const EngineModel& e, const ClpSetup& setup,
                                       const FreshModel& fresh, double tol);

}  // namespace xprs::standin

#endif  // XPRS_LP_METHODS_HPP_
