// Continuous nonlinear models through Ipopt's TNLP interface.
#include <coin/IpIpoptApplication.hpp>
#include <coin/IpTNLP.hpp>

#include "ipopt_journal.hpp"
#include "nlp_engine.hpp"

namespace xprs::standin {

namespace {

using Ipopt::Index;
using Ipopt::Number;

class IpoptProblem final : public Ipopt::TNLP {
 public:
  IpoptProblem(RunContext& ctx, NlpModel& model, const std::vector<double>& start,
               const NlpSettings& settings)
      : ctx_(ctx), model_(model), start_(start), settings_(settings), eval_(model) {}

  bool get_nlp_info(Index& n, Index& m, Index& nnzJac, Index& nnzHess,
                    IndexStyleEnum& style) override {
    n = model_.cols();
    m = model_.constraints();
    nnzJac = static_cast<Index>(model_.jacRows().size());
    nnzHess = static_cast<Index>(model_.hessRows().size());
    style = C_STYLE;
    return true;
  }
  bool get_bounds_info(Index, Number* xl, Number* xu, Index, Number* gl, Number* gu) override {
    std::copy(model_.colLb().begin(), model_.colLb().end(), xl);
    std::copy(model_.colUb().begin(), model_.colUb().end(), xu);
    std::copy(model_.conLb().begin(), model_.conLb().end(), gl);
    std::copy(model_.conUb().begin(), model_.conUb().end(), gu);
    return true;
  }
  bool get_starting_point(Index, bool initX, Number* x, bool initZ, Number*, Number*, Index,
                          bool initLambda, Number*) override {
    if (initX) std::copy(start_.begin(), start_.end(), x);
    return !initZ && !initLambda;
  }
  bool eval_f(Index, const Number* x, bool, Number& value) override {
    return eval_.objective(x, &value);
  }
  bool eval_grad_f(Index, const Number* x, bool, Number* g) override {
    return eval_.objectiveGradient(x, g);
  }
  bool eval_g(Index, const Number* x, bool, Index, Number* g) override {
    return eval_.constraints(x, g);
  }
  bool eval_jac_g(Index, const Number* x, bool, Index, Index, Index* rows, Index* cols,
                  Number* values) override {
    return eval_.jacobian(x, rows, cols, values);
  }
  bool eval_h(Index, const Number* x, bool, Number objFactor, Index, const Number* lambda, bool,
              Index, Index* rows, Index* cols, Number* values) override {
    return eval_.hessian(x, objFactor, lambda, rows, cols, values);
  }
  bool intermediate_callback(Ipopt::AlgorithmMode, Index iter, Number, Number, Number, Number,
                             Number, Number, Number, Number, Index, const Ipopt::IpoptData*,
                             Ipopt::IpoptCalculatedQuantities*) override {
    iterations_ = iter;
    try {
      if (ctx_.poll()) {
        stop_ = ctx_.stopReason();
        return false;
      }
    } catch (...) {
      // A failing callback of the host stops the run; Ipopt must not see the exception.
      stop_ = XPRS_STOP_GENERICERROR;
      return false;
    }
    if (settings_.timeLimit > 0 && ctx_.elapsed() >= settings_.timeLimit) {
      stop_ = XPRS_STOP_TIMELIMIT;
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
  NlpModel& model_;
  const std::vector<double>& start_;
  const NlpSettings& settings_;
  NlpEvaluator eval_;
  int iterations_ = 0;
  int stop_ = XPRS_STOP_NONE;
  std::vector<double> x_, lambda_;
};

}  // namespace

NlpResult runIpopt(RunContext& ctx, NlpModel& model, const std::vector<double>& start,
                   const NlpSettings& settings) {
  Ipopt::SmartPtr<IpoptProblem> problem = new IpoptProblem(ctx, model, start, settings);
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
      r.solveStatus = XPRS_SOLVESTATUS_STOPPED;
      r.stopStatus = problem->stop_ != XPRS_STOP_NONE ? problem->stop_ : XPRS_STOP_USER;
      r.candidate = point;
      break;
    case Ipopt::Maximum_Iterations_Exceeded:
      r.solveStatus = XPRS_SOLVESTATUS_STOPPED;
      r.stopStatus = XPRS_STOP_ITERLIMIT;
      r.candidate = point;
      break;
    case Ipopt::Maximum_CpuTime_Exceeded:
      r.solveStatus = XPRS_SOLVESTATUS_STOPPED;
      r.stopStatus = XPRS_STOP_TIMELIMIT;
      r.candidate = point;
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
