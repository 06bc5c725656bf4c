// qel::Solver::solve: one optimisation of the loaded model.
#include "nuv/opt/solve_status.hpp"
#include "nuv/opt/support_exception.hpp"
#include "qel/solver/solver.hpp"

namespace qel {

nuv::opt::SolveStatus Solver::solve() {
  throw nuv::opt::SupportException("Solving is not available yet.", "Solver::solve");
}

}  // namespace qel
