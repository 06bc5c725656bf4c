#include "pool/enumerate.hpp"

#include <algorithm>
#include <cmath>
#include <coin/CbcEventHandler.hpp>
#include <coin/CbcHeuristic.hpp>
#include <coin/CbcModel.hpp>
#include <coin/CoinError.hpp>
#include <coin/CoinFinite.hpp>
#include <coin/CoinMessageHandler.hpp>
#include <coin/OsiClpSolverInterface.hpp>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "controls.hpp"
#include "engine/cut_generators.hpp"
#include "engine/engine.hpp"
#include "engine/mip_model.hpp"
#include "engine/precheck.hpp"

namespace xprs::standin {

namespace {

constexpr const char* kFunction = "XPRS_mse_opt";

void checkEnumerable(const ModelRecord& m) {
  const char* what = nullptr;
  if (!m.formulas.empty()) what = "nonlinear formulas";
  if (!m.qRow.empty()) what = "quadratic constraints";
  if (!m.objQ.empty()) what = "a quadratic objective";
  if (std::any_of(m.indicatorComplement.begin(), m.indicatorComplement.end(),
                  [](int c) { return c != 0; })) {
    what = "indicator constraints";
  }
  if (m.objectives.size() > 1) what = "multiple objectives";
  if (m.sets() > 0) what = "special ordered sets";
  if (std::any_of(m.colType.begin(), m.colType.end(),
                  [](char t) { return t == 'S' || t == 'R' || t == 'P'; })) {
    what = "semi-continuous, semi-integer or partial integer columns";
  }
  if (what) fail("the solution enumerator cannot enumerate a model with ", what);
}

// Objectives within this (relative) distance count as equal: ties with the cutoff are kept.
double tolerance(double v) { return 1e-6 * std::max(1.0, std::fabs(v)); }

// Bounds of the integer columns that delimit one region of the search.
struct Region {
  std::vector<double> lb, ub;
};

// The optimum of a region, waiting in the queue.
struct Found {
  double key = 0.0;  // objective in the minimisation sense
  long long seq = 0;
  std::vector<double> x;
  Region region;
};

// Heap order: the smallest key (then the earliest found) on top.
bool later(const Found& a, const Found& b) {
  return a.key > b.key || (a.key == b.key && a.seq > b.seq);
}

enum class Outcome { Optimal, Infeasible, Unbounded, Stopped, Failed };

struct SubResult {
  explicit SubResult(Outcome o, int reason = 0) : outcome(o), stop(reason) {}
  Outcome outcome;
  int stop;  // Stopped: the stop reason
  std::vector<double> x;
};

// Cbc minimises the objective times the sense: its bounds come back in the problem's sense.
class EnumEvents final : public CbcEventHandler {
 public:
  EnumEvents(RunContext* ctx, int nodesBefore, int sense, double rhs)
      : ctx_(ctx), nodesBefore_(nodesBefore), sense_(sense), rhs_(rhs) {}
  EnumEvents(const EnumEvents&) = default;
  EnumEvents& operator=(const EnumEvents&) = delete;
  CbcEventHandler* clone() const override { return new EnumEvents(*this); }
  CbcAction event(CbcEvent e) override {
    if (e == node) {
      ctx_->node(nodesBefore_ + model_->getNodeCount(),
                 sense_ * model_->getBestPossibleObjValue() - rhs_);
    }
    return ctx_->poll() ? stop : noAction;
  }

 private:
  RunContext* ctx_;
  int nodesBefore_;
  int sense_;
  double rhs_;
};

class Search {
 public:
  Search(RunContext& ctx, Enumerator& mse, XPRSprob prob, Pool& pool, XPRSmsesolhandler handler,
         void* context, int* nMaxSols)
      : ctx_(ctx),
        problem_(ctx.problem()),
        m_(problem_.rec.model),
        e_(assemble(m_, /*mip=*/true)),
        mse_(mse),
        prob_(prob),
        pool_(pool),
        handler_(handler),
        context_(context),
        nMaxSols_(nMaxSols) {
    const ProblemRecord& rec = problem_.rec;
    // Cbc aborts on some models whose infeasibility shows without solving: they never reach it.
    infeasible_ = provenInfeasible(e_, m_, /*mip=*/true, dblControl(rec, XPRS_FEASTOL),
                                   std::max(1e-9, dblControl(rec, XPRS_MIPTOL)));
    // Cbc reads a maximisation's cutoff in the problem's sense, while the search keeps its cutoff
    // in the minimisation sense: a maximisation enters Cbc as the minimisation of its negated
    // objective, whose values, bounds and cutoffs are the problem's times the sense.
    if (e_.sense < 0) {
      for (double& c : e_.obj) c = -c;
    }
    quiet_.setLogLevel(0);
    base_.passInMessageHandler(&quiet_);
    const ColumnMatrix a = withoutFreeRows(e_);
    base_.loadProblem(e_.ncols, e_.nrows, a.start.data(), a.index.data(), a.value.data(),
                      e_.colLb.data(), e_.colUb.data(), e_.obj.data(), e_.rowLb.data(),
                      e_.rowUb.data());
    for (int j = 0; j < e_.ncols; ++j) {
      if (m_.colType[static_cast<std::size_t>(j)] != 'C') {
        base_.setInteger(j);
        intCols_.push_back(j);
      }
    }
    base_.setHintParam(OsiDoReducePrint, true, OsiHintTry);
    const double t = dblControl(rec, XPRS_TIMELIMIT);
    if (t > 0 && t < XPRS_PLUSINFINITY) {
      timeLimit_ = t;
    } else if (const int maxTime = intControl(rec, XPRS_MAXTIME); maxTime != 0) {
      timeLimit_ = std::abs(maxTime);
    }
    maxNodes_ = intControl(rec, XPRS_MAXNODE);
    maxSols_ = intControl(rec, XPRS_MAXMIPSOL);
    if (rec.dblControls.count(XPRS_MIPABSCUTOFF)) {
      cutoff_ = e_.sense * dblControl(rec, XPRS_MIPABSCUTOFF);
    }
  }

  void run() {
    if (!infeasible_.empty()) {
      ctx_.message(text("The problem is infeasible: ", infeasible_), XPRS_MSG_INFO);
      lpStatus_ = XPRS_LP_INFEAS;
      complete_ = true;
      return;
    }
    Region root;
    for (int j : intCols_) {
      const auto u = static_cast<std::size_t>(j);
      const double lb = e_.colLb[u] > -COIN_DBL_MAX ? std::ceil(e_.colLb[u] - 1e-9) : e_.colLb[u];
      const double ub = e_.colUb[u] < COIN_DBL_MAX ? std::floor(e_.colUb[u] + 1e-9) : e_.colUb[u];
      if (lb > ub) {
        complete_ = true;
        return;
      }
      root.lb.push_back(lb);
      root.ub.push_back(ub);
    }
    SubResult first = solve(root);
    if (first.outcome == Outcome::Unbounded) {
      unbounded_ = true;
      complete_ = true;
      return;
    }
    if (!keep(std::move(first), std::move(root))) return;
    while (!queue_.empty()) {
      if (ctx_.poll()) {
        stop_ = ctx_.stopReason();
        return;
      }
      std::pop_heap(queue_.begin(), queue_.end(), later);
      Found top = std::move(queue_.back());
      queue_.pop_back();
      if (worseThanCutoff(top.key)) continue;
      if (!deliver(top.x)) return;
      Region rest = std::move(top.region);
      for (std::size_t k = 0; k < intCols_.size(); ++k) {
        const double v = top.x[static_cast<std::size_t>(intCols_[k])];
        if (v - 1 >= rest.lb[k]) {
          Region down = rest;
          down.ub[k] = v - 1;
          SubResult r = solve(down);
          if (!keep(std::move(r), std::move(down))) return;
        }
        if (v + 1 <= rest.ub[k]) {
          Region up = rest;
          up.lb[k] = v + 1;
          SubResult r = solve(up);
          if (!keep(std::move(r), std::move(up))) return;
        }
        rest.lb[k] = rest.ub[k] = v;
      }
    }
    complete_ = true;
  }

  // The run's statuses and the best solution found become the problem's.
  void finish(RunRecord& run, ResultRecord& results) const {
    run.optType = XPRS_OPTIMIZETYPE_MIP;
    run.algorithm = XPRS_ALG_DUAL;
    run.nodes = nodes_;
    run.iterations = iterations_;
    run.mipSols = ctx_.incumbents();
    run.time = ctx_.elapsed();
    run.lpStatus = lpStatus_;
    const bool found = best_.has_value();
    if (handlerFailed_ || failed_) {
      run.solveStatus = XPRS_SOLVESTATUS_FAILED;
      run.stopStatus = handlerFailed_ ? XPRS_STOP_GENERICERROR : XPRS_STOP_NUMERICALERROR;
      run.mipStatus = found ? XPRS_MIP_SOLUTION : XPRS_MIP_NO_SOL_FOUND;
      run.solStatus = found ? XPRS_SOLSTATUS_FEASIBLE : XPRS_SOLSTATUS_NOTFOUND;
    } else if (!complete_) {
      run.solveStatus = XPRS_SOLVESTATUS_STOPPED;
      run.stopStatus = stop_ ? stop_ : XPRS_STOP_USER;
      run.mipStatus = found ? XPRS_MIP_SOLUTION : XPRS_MIP_NO_SOL_FOUND;
      run.solStatus = found ? XPRS_SOLSTATUS_FEASIBLE : XPRS_SOLSTATUS_NOTFOUND;
    } else if (unbounded_) {
      run.solveStatus = XPRS_SOLVESTATUS_COMPLETED;
      run.mipStatus = XPRS_MIP_UNBOUNDED;
      run.solStatus = XPRS_SOLSTATUS_UNBOUNDED;
    } else {
      run.solveStatus = XPRS_SOLVESTATUS_COMPLETED;
      run.mipStatus = found ? XPRS_MIP_OPTIMAL : XPRS_MIP_INFEAS;
      run.solStatus = found ? XPRS_SOLSTATUS_OPTIMAL : XPRS_SOLSTATUS_INFEASIBLE;
    }
    results = ResultRecord{};
    if (!found) return;
    const std::vector<double>& x = *best_;
    run.objVal = run.mipObjVal = run.bestBound = objectiveOf(m_, x.data());
    results.primalAvail =
        run.mipStatus == XPRS_MIP_OPTIMAL ? XPRS_SOLAVAILABLE_OPTIMAL : XPRS_SOLAVAILABLE_FEASIBLE;
    results.x = x;
    std::vector<double> activity(static_cast<std::size_t>(e_.nrows), 0.0);
    for (int j = 0; j < e_.ncols; ++j) {
      const auto u = static_cast<std::size_t>(j);
      for (int k = e_.start[u]; k < e_.start[u + 1]; ++k) {
        activity[static_cast<std::size_t>(e_.index[static_cast<std::size_t>(k)])] +=
            e_.value[static_cast<std::size_t>(k)] * x[u];
      }
    }
    results.slack.resize(activity.size());
    for (std::size_t i = 0; i < activity.size(); ++i) {
      results.slack[i] = m_.rowRhs[i] - activity[i];
    }
  }

  [[nodiscard]] int handlerResult() const { return handlerResult_; }

 private:
  [[nodiscard]] bool worseThanCutoff(double key) const {
    return cutoff_ && key > *cutoff_ + tolerance(*cutoff_);
  }

  // Queues the optimum of a region; false when the search must end.
  bool keep(SubResult r, Region region) {
    switch (r.outcome) {
      case Outcome::Optimal: {
        const double key = e_.sense * objectiveOf(m_, r.x.data());
        if (!worseThanCutoff(key)) {
          queue_.push_back({key, seq_++, std::move(r.x), std::move(region)});
          std::push_heap(queue_.begin(), queue_.end(), later);
        }
        return true;
      }
      case Outcome::Infeasible:
        return true;
      case Outcome::Stopped:
        stop_ = r.stop;
        return false;
      case Outcome::Unbounded:  // a region of a bounded problem: the engine went wrong
      case Outcome::Failed:
        failed_ = true;
        return false;
    }
    return false;
  }

  SubResult solve(const Region& region) {
    if (timeLimit_ > 0 && ctx_.elapsed() >= timeLimit_)
      return SubResult(Outcome::Stopped, XPRS_STOP_TIMELIMIT);
    if (maxNodes_ >= 0 && nodes_ >= maxNodes_)
      return SubResult(Outcome::Stopped, XPRS_STOP_NODELIMIT);
    std::unique_ptr<OsiSolverInterface> si(base_.clone());
    for (std::size_t k = 0; k < intCols_.size(); ++k) {
      si->setColLower(intCols_[k], region.lb[k]);
      si->setColUpper(intCols_[k], region.ub[k]);
    }
    CbcModel cbc(*si);
    cbc.passInMessageHandler(&quiet_);
    cbc.solver()->passInMessageHandler(&quiet_);
    cbc.setLogLevel(0);
    CutGenerators cuts;
    cuts.addTo(cbc);
    CbcRounding rounding(cbc);
    cbc.addHeuristic(&rounding);
    // Each region is solved to optimality: the order of the solutions depends on it.
    cbc.setAllowableFractionGap(0.0);
    cbc.setAllowableGap(0.0);
    cbc.setIntegerTolerance(std::max(1e-9, dblControl(problem_.rec, XPRS_MIPTOL)));
    if (cutoff_) {
      // Cbc works in the minimisation sense, without the objective constant.
      cbc.setCutoff(*cutoff_ + e_.sense * e_.rhs + tolerance(*cutoff_));
    }
    if (timeLimit_ > 0) {
      cbc.setUseElapsedTime(true);
      cbc.setMaximumSeconds(timeLimit_ - ctx_.elapsed());
    }
    if (maxNodes_ >= 0 && maxNodes_ < XPRS_MAXINT) cbc.setMaximumNodes(maxNodes_ - nodes_);
    EnumEvents events(&ctx_, nodes_, e_.sense, e_.rhs);
    cbc.passInEventHandler(&events);
    solveRelaxation(cbc, std::max(1e-6, dblControl(problem_.rec, XPRS_FEASTOL)));
    const bool lpInfeasible = cbc.isInitialSolveProvenPrimalInfeasible();
    const bool lpUnbounded = !lpInfeasible && cbc.isInitialSolveProvenDualInfeasible();
    if (lpStatus_ == XPRS_LP_UNFINISHED) {
      lpStatus_ = lpInfeasible ? XPRS_LP_INFEAS : lpUnbounded ? XPRS_LP_UNBOUNDED : XPRS_LP_OPTIMAL;
    }
    if (lpInfeasible) return SubResult(Outcome::Infeasible);
    if (lpUnbounded) return SubResult(Outcome::Unbounded);
    cbc.branchAndBound();
    nodes_ += cbc.getNodeCount();
    iterations_ += cbc.getIterationCount();
    const double* x = cbc.bestSolution();
    switch (cbc.status()) {
      case 0:
        if (x == nullptr) return SubResult(Outcome::Infeasible);
        break;
      case 1:
        return SubResult(Outcome::Stopped, cbc.secondaryStatus() == 3   ? XPRS_STOP_NODELIMIT
                                           : cbc.secondaryStatus() == 4 ? XPRS_STOP_TIMELIMIT
                                           : ctx_.stopReason()          ? ctx_.stopReason()
                                                                        : XPRS_STOP_USER);
      case 5:
        return SubResult(Outcome::Stopped, ctx_.stopReason() ? ctx_.stopReason() : XPRS_STOP_USER);
      default:
        return SubResult(Outcome::Failed);
    }
    SubResult r(Outcome::Optimal);
    r.x.assign(x, x + e_.ncols);
    for (int j : intCols_)
      r.x[static_cast<std::size_t>(j)] = std::round(r.x[static_cast<std::size_t>(j)]);
    return r;
  }

  // Hands one solution to the handler and stores it unless rejected; false when the search
  // must end.
  bool deliver(const std::vector<double>& x) {
    ++found_;
    ++mse_.rec.solutionsFound;
    const double objective = objectiveOf(m_, x.data());
    if (!best_) best_ = x;
    double modified = objective;
    int reject = 0;
    int updateCutoff = 0;
    if (handler_) {
      handlerResult_ = handler_(mse_.handle, prob_, pool_.handle, context_, nMaxSols_, x.data(),
                                e_.ncols, objective, &modified, &reject, &updateCutoff);
      if (handlerResult_ != 0) {
        handlerFailed_ = true;
        return false;
      }
    }
    if (reject) {
      ++mse_.rec.solutionsRejected;
    } else {
      storeSolution(pool_, problem_, x, objective);
    }
    if (updateCutoff) {
      std::optional<double> worst;
      for (const PoolSolutionRecord* s : solutionsFor(pool_, m_)) {
        const double key = e_.sense * objectiveOf(m_, s->x.data());
        if (!worst || key > *worst) worst = key;
      }
      if (worst && (!cutoff_ || *worst < *cutoff_)) cutoff_ = worst;
    }
    ctx_.intSol(objective, x);
    ctx_.message(text("Enumerated solution ", found_, " with objective ", objective,
                      reject ? ": rejected" : ": accepted"),
                 XPRS_MSG_INFO);
    if (ctx_.stopReason() != 0) {
      stop_ = ctx_.stopReason();
      return false;
    }
    if (maxSols_ > 0 && found_ >= maxSols_) {
      stop_ = XPRS_STOP_SOLLIMIT;
      return false;
    }
    return true;
  }

  RunContext& ctx_;
  Problem& problem_;
  const ModelRecord& m_;
  EngineModel e_;
  std::string infeasible_;  // why the model is infeasible without solving, or empty
  Enumerator& mse_;
  XPRSprob prob_;
  Pool& pool_;
  XPRSmsesolhandler handler_;
  void* context_;
  int* nMaxSols_;
  CoinMessageHandler quiet_;
  OsiClpSolverInterface base_;
  std::vector<int> intCols_;
  double timeLimit_ = -1.0;
  int maxNodes_ = -1;
  int maxSols_ = 0;
  std::optional<double> cutoff_;  // minimisation sense, with the objective constant
  std::vector<Found> queue_;
  long long seq_ = 0;
  int nodes_ = 0;
  int iterations_ = 0;
  int found_ = 0;
  std::optional<std::vector<double>> best_;
  int stop_ = 0;
  int handlerResult_ = 0;
  bool handlerFailed_ = false;
  bool failed_ = false;
  bool complete_ = false;
  bool unbounded_ = false;
  int lpStatus_ = XPRS_LP_UNFINISHED;  // of the first relaxation solved
};

// Marks the problem, the enumerator and the pool as busy for the duration of a run.
class RunGuard {
 public:
  RunGuard(Problem& problem, Enumerator& mse, Pool& pool)
      : problem_(problem), mse_(mse), pool_(pool) {
    problem_.solving = problem_.enumerating = true;
    mse_.running = true;
    ++pool_.busy;
  }
  ~RunGuard() {
    problem_.solving = problem_.enumerating = false;
    mse_.running = false;
    --pool_.busy;
  }
  RunGuard(const RunGuard&) = delete;
  RunGuard& operator=(const RunGuard&) = delete;

 private:
  Problem& problem_;
  Enumerator& mse_;
  Pool& pool_;
};

}  // namespace

int runEnumeration(Enumerator& mse, XPRSprob prob, XPRSmipsolpool msp, XPRSmsesolhandler handler,
                   void* context, int* nMaxSols) {
  Problem& problem = resolveProblem(prob);
  if (problem.owner) fail("a callback problem cannot be enumerated");
  Pool* pool = Library::instance().findPool(msp);
  if (pool == nullptr) {
    Library::instance().countMisuse();
    fail(msp ? "unknown or destroyed solution pool handle" : "the solution pool handle is NULL");
  }
  if (mse.running) fail("the enumerator is already running");
  if (problem.solving) fail("the problem is being optimised");
  mse.rec.problem = prob;
  mse.rec.pool = msp;
  mse.rec.solutionsFound = mse.rec.solutionsRejected = 0;
  ProblemRecord& rec = problem.rec;
  try {
    checkEnumerable(rec.model);
  } catch (const ApiError& e) {
    rec.run = failedRun();
    rec.results = ResultRecord{};
    ++rec.runs;
    setProblemError(problem, kFunction, e.what());
    throw;
  }
  problem.interruptReason.store(0);
  RunRecord run;
  int rc = 0;
  {
    RunGuard guard(problem, mse, *pool);
    RunContext ctx(problem);
    ctx.view().intAttribs[XPRS_OPTIMIZETYPEUSED] = XPRS_OPTIMIZETYPE_MIP;
    int handlerResult = 0;
    std::optional<std::string> failure = runFailure([&] {
      ctx.checkTime();
      Search search(ctx, mse, prob, *pool, handler, context, nMaxSols);
      search.run();
      search.finish(run, rec.results);
      handlerResult = search.handlerResult();
      ctx.message(text("Enumeration finished: solve status ", run.solveStatus, ", solution status ",
                       run.solStatus, ", stop status ", run.stopStatus),
                  XPRS_MSG_INFO);
    });
    if (!failure && handlerResult != 0) {
      failure = text("the solution handler returned ", handlerResult);
    }
    if (failure) {
      if (run.solveStatus != XPRS_SOLVESTATUS_FAILED) {
        run = failedRun();
        rec.results = ResultRecord{};
      }
      setObjectError(mse, kFunction, *failure);
      setProblemError(problem, kFunction, *failure);
      rc = kErrorCode;
    }
  }
  problem.pendingBasis.reset();
  problem.pendingMipSols.clear();
  rec.run = run;
  ++rec.runs;
  ++mse.rec.runs;
  sendObjectMessage(mse.rec.msgHandler, mse.rec.msgContext, mse.handle,
                    text("Solution enumeration: ", mse.rec.solutionsFound, " solutions found, ",
                         mse.rec.solutionsRejected, " rejected")
                        .c_str(),
                    XPRS_MSG_INFO);
  return rc;
}

}  // namespace xprs::standin
