// `nuv::opt::SolveStatus`: how one solve ended.
#ifndef NUV_OPT_SOLVE_STATUS_HPP_
#define NUV_OPT_SOLVE_STATUS_HPP_

namespace nuv::opt {

enum class SolveStatus : int {
  normal_completion = 0,  // optimal or feasible solution
  infeasible = 1,
  locally_infeasible = 2,  // a local (nonlinear) solve found no feasible point
  unbounded = 3,
  infeasible_or_unbounded = 4,
  solution_limit = 5,
  iteration_limit = 6,
  time_limit = 7,
  node_limit = 8,
  work_limit = 9,
  memory_limit = 10,
  numerical_error = 11,
  license_error = 12,
  solver_error = 13,  // any other ending
  user_interrupt = 14,
  not_started = 15,
  other_limit = 16,
  no_solution = 17,  // ended normally without a solution
};

}  // namespace nuv::opt

#endif  // NUV_OPT_SOLVE_STATUS_HPP_
