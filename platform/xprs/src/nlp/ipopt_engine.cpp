// Continuous nonlinear models through Ipopt's TNLP interface.
#include <coin/IpIpoptApplication.hpp>
#include <coin/IpTNLP.hpp>

#include "nlp/ipopt_journal.hpp"
#include "nlp/nlp_engine.hpp"
#include "nlp/nlp_problem.hpp"

namespace xprs::standin {

namespace {

class IpoptProblem final : public NlpProblem<Ipopt::TNLP> {
 public:
  IpoptProblem(RunContext& ctx, NlpModel& model, const std::vector<double>& start)
      : NlpProblem(model), ctx_(ctx), start_(start) {}

  bool get_starting_point(Index, bool initX, Number* x, bool initZ, Number*, Number*, Index,
                          bool initLambda, Number*) override {
    if (initX) std::copy(start_.begin(), start_.end(), x);
    return !initZ && !initLambda;
  }
  bool intermediate_callback(Ipopt::AlgorithmMode, Index iter, Number, Number, Number, Number,
                             Number, Number, Number, Number, Index, const Ipopt::IpoptData*,
                             Ipopt::IpoptCalculatedQuantities*) override {
    iterations_ = iter;
    try {
      if (const int reason = pollStop(ctx_); reason != XPRS_STOP_NONE) {
        stop_ = reason;
        return false;
      }
    } catch (...) {
      // A failing callback of the host stops the run; Ipopt must not see the exception.
      stop_ = XPRS_STOP_GENERICERROR;
      return false;
    }
    return true;
  }
  void finalize_solution(Ipopt::SolverReturn, Index n, const Number* x, const Number*,
                         const Number*, Index m, const Number*, const Number* lambda, Number,
                         const Ipopt::IpoptData*, Ipopt::IpoptCalculatedQuantities*) override {
    if (x) x_.assign(x, x + n);
    if (lambda) lambda_.assign(lambda, lambda + m);
  }

  RunContext& ctx_;
  const std::vector<double>& start_;
  int iterations_ = 0;
  int stop_ = XPRS_STOP_NONE;
  std::vector<double> x_, lambda_;
};

}  // namespace

NlpResult runIpopt(RunContext& ctx, NlpModel& model, const std::vector<double>& start,
                   const NlpSettings& settings) {
  Ipopt::SmartPtr<IpoptProblem> problem = new IpoptProblem(ctx, model, start);
  Ipopt::SmartPtr<Ipopt::IpoptApplication> app = new Ipopt::IpoptApplication(false);
  if (settings.log) {
    app->Jnlst()->AddJournal(new MessageJournal(ctx, Ipopt::J_ITERSUMMARY));
  }
  Ipopt::OptionsList& options = *app->Options();
  options.SetStringValue("sb", "yes");
  // Magnitudes of 1e20 and more are infinite, as everywhere in the library.
  options.SetNumericValue("nlp_lower_bound_inf", -1e20);
  options.SetNumericValue("nlp_upper_bound_inf", 1e20);
  options.SetNumericValue("constr_viol_tol", settings.feasTol);
  // Ipopt relaxes every bound by 1e-8 of its size and projects its answer back at the end, which
  // moves a column at 1e6 by 0.01 and breaks the rows the relaxed point held.
  options.SetNumericValue("bound_relax_factor", 0.0);
  if (settings.timeLimit > 0) options.SetNumericValue("max_cpu_time", settings.timeLimit);
  // Initialize() would read an ipopt.opt in the working directory; the empty name reads none.
  if (app->Initialize("") != Ipopt::Solve_Succeeded) fail("Ipopt cannot be initialised");
  const Ipopt::ApplicationReturnStatus status = app->OptimizeTNLP(problem);

  NlpResult r;
  r.iterations = problem->iterations_;
  r.evaluations = problem->eval_.evaluations();
  r.evalSeconds = problem->eval_.seconds();
  r.x = std::move(problem->x_);
  r.lambda = std::move(problem->lambda_);
  const bool point = r.x.size() == static_cast<std::size_t>(model.cols());
  const bool multipliers = r.lambda.size() == static_cast<std::size_t>(model.constraints());
  r.solveStatus = XPRS_SOLVESTATUS_COMPLETED;
  // A run stopped by a limit or a request keeps its point as a candidate.
  const auto stopped = [&](int reason) {
    r.solveStatus = XPRS_SOLVESTATUS_STOPPED;
    r.stopStatus = reason;
    r.candidate = point;
  };
  switch (status) {
    case Ipopt::Solve_Succeeded:
      r.solStatus = XPRS_SOLSTATUS_OPTIMAL;
      r.duals = point && multipliers;
      break;
    case Ipopt::Solved_To_Acceptable_Level:
    case Ipopt::Feasible_Point_Found:
      r.candidate = point;
      r.duals = point && multipliers;
      break;
    case Ipopt::Infeasible_Problem_Detected:
      r.solStatus = XPRS_SOLSTATUS_INFEASIBLE;
      break;
    case Ipopt::Diverging_Iterates:
      r.solStatus = XPRS_SOLSTATUS_UNBOUNDED;
      break;
    case Ipopt::User_Requested_Stop:
      stopped(problem->stop_ != XPRS_STOP_NONE ? problem->stop_ : XPRS_STOP_USER);
      break;
    case Ipopt::Maximum_Iterations_Exceeded:
      stopped(XPRS_STOP_ITERLIMIT);
      break;
    case Ipopt::Maximum_CpuTime_Exceeded:
      stopped(XPRS_STOP_TIMELIMIT);
      break;
    case Ipopt::Search_Direction_Becomes_Too_Small:
    case Ipopt::Restoration_Failed:
    case Ipopt::Error_In_Step_Computation:
      r.stopStatus = XPRS_STOP_NUMERICALERROR;
      r.candidate = point;
      break;
    case Ipopt::Invalid_Number_Detected:
      r.solveStatus = XPRS_SOLVESTATUS_FAILED;
      r.stopStatus = XPRS_STOP_NUMERICALERROR;
      ctx.message("Ipopt: a formula has no finite value or derivative at a point it needs",
                  XPRS_MSG_WARNING);
      break;
    case Ipopt::Not_Enough_Degrees_Of_Freedom:
      fail("Ipopt cannot solve a model with more equality rows than free columns");
    case Ipopt::Insufficient_Memory:
      r.solveStatus = XPRS_SOLVESTATUS_FAILED;
      r.stopStatus = XPRS_STOP_MEMORYERROR;
      break;
    default:
      fail("Ipopt failed with status ", static_cast<int>(status));
  }
  return r;
}

}  // namespace xprs::standin
