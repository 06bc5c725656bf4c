// Nonlinear models with integer columns through Bonmin's branch and bound over Ipopt (B-BB).
#include <coin/BonBonminSetup.hpp>
#include <coin/BonCbc.hpp>
#include <coin/BonTMINLP.hpp>
#include <coin/BonTNLPSolver.hpp>
#include <coin/CbcEventHandler.hpp>
#include <coin/CbcModel.hpp>
#include <coin/CoinError.hpp>
#include <csignal>
#include <cstring>
#include <memory>
#include <string>

#include "engine/coin_log.hpp"
#include "nlp/nlp_engine.hpp"
#include "nlp/nlp_problem.hpp"

namespace xprs::standin {

namespace {

using Ipopt::Index;
using Ipopt::Number;

// Bab installs a SIGINT handler of its own and never restores it: after one signal every later
// run in the process would stop at once. The host's handler comes back as soon as the search
// evaluates anything, and when it ends.
class SigintGuard {
 public:
  SigintGuard() { sigaction(SIGINT, nullptr, &saved_); }
  ~SigintGuard() { restore(); }
  SigintGuard(const SigintGuard&) = delete;
  SigintGuard& operator=(const SigintGuard&) = delete;
  void restore() { sigaction(SIGINT, &saved_, nullptr); }

 private:
  struct sigaction saved_ {};
};

class BonminProblem final : public NlpProblem<Bonmin::TMINLP> {
 public:
  BonminProblem(NlpModel& model, const std::vector<double>& start, SigintGuard& sigint)
      : NlpProblem(model), start_(start), sigint_(sigint) {}

  bool get_variables_types(Index n, VariableType* types) override {
    // BINARY would make Bonmin insist on bounds of exactly 0 and 1.
    for (Index j = 0; j < n; ++j) {
      types[j] = model_.integer()[static_cast<std::size_t>(j)] ? INTEGER : CONTINUOUS;
    }
    return true;
  }
  bool get_variables_linearity(Index n, Ipopt::TNLP::LinearityType* types) override {
    for (Index j = 0; j < n; ++j) {
      types[j] = model_.linearColumn(j) ? Ipopt::TNLP::LINEAR : Ipopt::TNLP::NON_LINEAR;
    }
    return true;
  }
  bool get_constraints_linearity(Index m, Ipopt::TNLP::LinearityType* types) override {
    for (Index c = 0; c < m; ++c) {
      types[c] = model_.linearConstraint(c) ? Ipopt::TNLP::LINEAR : Ipopt::TNLP::NON_LINEAR;
    }
    return true;
  }
  bool get_starting_point(Index, bool initX, Number* x, bool, Number*, Number*, Index, bool,
                          Number*) override {
    if (initX) std::copy(start_.begin(), start_.end(), x);
    return true;
  }
  bool eval_f(Index n, const Number* x, bool newX, Number& value) override {
    sigint_.restore();
    return NlpProblem::eval_f(n, x, newX, value);
  }
  void finalize_solution(TMINLP::SolverReturn status, Index, const Number*, Number) override {
    status_ = status;
  }
  const BranchingInfo* branchingInfo() const override { return nullptr; }
  const SosInfo* sosConstraints() const override { return nullptr; }

  const std::vector<double>& start_;
  SigintGuard& sigint_;
  TMINLP::SolverReturn status_ = MINLP_ERROR;
};

// Cbc's events during Bonmin's search: node and incumbent callbacks, interrupts, time limit.
class SearchEvents final : public CbcEventHandler {
 public:
  SearchEvents(RunContext& ctx, NlpModel& model) : ctx_(&ctx), nlp_(&model) {}
  SearchEvents(const SearchEvents&) = default;
  SearchEvents& operator=(const SearchEvents&) = delete;
  CbcEventHandler* clone() const override { return new SearchEvents(*this); }

  CbcAction event(CbcEvent e) override {
    CbcModel* cbc = CbcEventHandler::model_;
    // Cbc announces each incumbent more than once: report each new one once.
    if ((e == solution || e == heuristicSolution) && cbc->getSolutionCount() > reported_ &&
        cbc->bestSolution() != nullptr) {
      reported_ = cbc->getSolutionCount();
      const double* best = cbc->bestSolution();
      std::vector<double> x(best, best + nlp_->cols());
      nlp_->completePoint(x.data());
      nlp_->at(x.data());
      ctx_->intSol(nlp_->objective(), x);
    }
    if (e == node) {
      ctx_->node(cbc->getNodeCount(), nlp_->sense() * cbc->getBestPossibleObjValue());
    }
    if (const int reason = pollStop(*ctx_); reason != XPRS_STOP_NONE) {
      *stop_ = reason;
      return stop;
    }
    return noAction;
  }

  // Shared by the clones Cbc makes: why the search was stopped from here.
  std::shared_ptr<int> stopReason() const { return stop_; }

 private:
  RunContext* ctx_;
  NlpModel* nlp_;
  int reported_ = 0;
  std::shared_ptr<int> stop_ = std::make_shared<int>(XPRS_STOP_NONE);
};

std::string optionText(const NlpSettings& s) {
  // Bonmin's feasibility pump runs at the root, where neither time limit nor interrupt reaches
  // it, and can spend minutes there: it is off. Its strong branching can pick a column that is
  // integral or fixed by the time it branches, which Osi asserts against (ending the process):
  // columns are chosen by their fractional parts instead.
  std::string o = text(
      "bonmin.algorithm B-BB\n", "bonmin.bb_log_level ", s.log ? 1 : 0, "\n",
      "bonmin.nlp_log_level 0\nprint_level 0\nsb yes\n",
      "bonmin.heuristic_feasibility_pump no\nbonmin.variable_selection most-fractional\n",
      "nlp_lower_bound_inf -1e20\nnlp_upper_bound_inf 1e20\n", "constr_viol_tol ", s.feasTol, "\n",
      "bonmin.allowable_gap ", s.absGap, "\n", "bonmin.allowable_fraction_gap ", s.relGap, "\n");
  // Both limits count CPU seconds; the events add the wall-clock check between nodes. Ipopt's
  // limit caps each node's solve, which no event interrupts.
  if (s.timeLimit > 0) {
    o += text("bonmin.time_limit ", s.timeLimit, "\n", "max_cpu_time ", s.timeLimit, "\n");
  }
  if (s.maxNodes >= 0) o += text("bonmin.node_limit ", s.maxNodes, "\n");
  if (s.maxSolutions > 0) o += text("bonmin.solution_limit ", s.maxSolutions, "\n");
  return o;
}

}  // namespace

NlpResult runBonmin(RunContext& ctx, NlpModel& model, const std::vector<double>& start,
                    const NlpSettings& settings) {
  SigintGuard sigint;
  Ipopt::SmartPtr<BonminProblem> problem = new BonminProblem(model, start, sigint);
  CoinLog log(&ctx, CoinLog::Typing::AllInformation);
  log.setLogLevel(settings.log ? 1 : 0);
  SearchEvents events(ctx, model);
  const std::shared_ptr<int> stop = events.stopReason();
  NlpResult r;
  r.mip = true;
  Bonmin::Bab bb;
  try {
    Bonmin::BonminSetup setup(&log);
    setup.initializeOptionsAndJournalist();
    // Ipopt's log of every node would flood the messages.
    setup.journalist()->DeleteAllJournals();
    // Reading options from text also keeps Bonmin from reading a bonmin.opt file.
    setup.readOptionsString(optionText(settings));
    setup.initialize(Ipopt::GetRawPtr(problem));
    bb.model().passInEventHandler(&events);
    bb(setup);
  } catch (Bonmin::TNLPSolver::UnsolvedError* e) {
    // Bonmin throws this one by pointer.
    const std::string why = e->errorName();
    delete e;
    fail("Bonmin could not solve a relaxation (", why, ")");
  } catch (const CoinError& e) {
    fail("Bonmin failed: ", e.message());
  }
  sigint.restore();
  // Cbc reads a root relaxation that Ipopt could not solve (its restoration phase failed, say)
  // as an infeasible one; only a relaxation proven infeasible makes the model so.
  if (bb.mipStatus() == Bonmin::Bab::ProvenInfeasible && bb.numNodes() == 0 &&
      !bb.model().solver()->isProvenPrimalInfeasible()) {
    fail("Bonmin could not solve the root relaxation");
  }

  r.evaluations = problem->eval_.evaluations();
  r.evalSeconds = problem->eval_.seconds();
  r.nodes = bb.numNodes();
  r.iterations = bb.iterationCount();
  r.bestBound = model.sense() * bb.bestBound();
  if (bb.bestSolution() != nullptr) {
    r.x.assign(bb.bestSolution(), bb.bestSolution() + model.cols());
  }
  const bool point = !r.x.empty();
  const bool stopped = problem->status_ == Bonmin::TMINLP::LIMIT_EXCEEDED ||
                       problem->status_ == Bonmin::TMINLP::USER_INTERRUPT || *stop != 0;
  int reason = *stop;
  if (reason == XPRS_STOP_NONE && stopped) {
    reason = settings.maxNodes >= 0 && r.nodes >= settings.maxNodes ? XPRS_STOP_NODELIMIT
             : settings.maxSolutions > 0 && ctx.incumbents() >= settings.maxSolutions
                 ? XPRS_STOP_SOLLIMIT
                 : XPRS_STOP_TIMELIMIT;
  }
  r.solveStatus = XPRS_SOLVESTATUS_COMPLETED;
  switch (bb.mipStatus()) {
    case Bonmin::Bab::FeasibleOptimal:
      r.solStatus = point ? XPRS_SOLSTATUS_OPTIMAL : XPRS_SOLSTATUS_NOTFOUND;
      r.mipStatus = point ? XPRS_MIP_OPTIMAL : XPRS_MIP_NO_SOL_FOUND;
      if (!stopped) break;
      [[fallthrough]];
    case Bonmin::Bab::Feasible:
      r.solveStatus = XPRS_SOLVESTATUS_STOPPED;
      r.stopStatus = reason;
      r.candidate = point;
      r.solStatus = XPRS_SOLSTATUS_NOTFOUND;
      r.mipStatus = point ? XPRS_MIP_SOLUTION : XPRS_MIP_NO_SOL_FOUND;
      break;
    case Bonmin::Bab::ProvenInfeasible:
      r.solStatus = XPRS_SOLSTATUS_INFEASIBLE;
      r.mipStatus = XPRS_MIP_INFEAS;
      break;
    case Bonmin::Bab::UnboundedOrInfeasible:
      r.solStatus = XPRS_SOLSTATUS_UNBOUNDED;
      r.mipStatus = XPRS_MIP_UNBOUNDED;
      break;
    default:
      r.solveStatus = stopped ? XPRS_SOLVESTATUS_STOPPED : XPRS_SOLVESTATUS_FAILED;
      r.stopStatus = stopped ? reason : XPRS_STOP_NUMERICALERROR;
      r.mipStatus = XPRS_MIP_NO_SOL_FOUND;
      break;
  }
  return r;
}

}  // namespace xprs::standin
