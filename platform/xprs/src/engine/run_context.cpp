#include "engine/run_context.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "controls.hpp"
#include "engine/engine_model.hpp"
#include "pool/pool.hpp"

namespace xprs::standin {

namespace {

using Clock = std::chrono::steady_clock;

// The problem's callbacks of one kind, highest priority first. A copy: a callback may add or
// remove registrations.
std::vector<CallbackRecord> callbacksOf(const ProblemRecord& rec, CallbackKind kind) {
  std::vector<CallbackRecord> callbacks;
  for (const CallbackRecord& c : rec.callbacks) {
    if (c.kind == kind) callbacks.push_back(c);
  }
  std::stable_sort(callbacks.begin(), callbacks.end(),
                   [](const auto& a, const auto& b) { return a.priority > b.priority; });
  return callbacks;
}

}  // namespace

double timeLimit(const ProblemRecord& rec) {
  const double t = dblControl(rec, XPRS_TIMELIMIT);
  if (t < XPRS_PLUSINFINITY && t > 0) return t;
  const int maxTime = intControl(rec, XPRS_MAXTIME);
  if (maxTime != 0) return std::abs(maxTime);
  return -1.0;
}

double timeLeft(RunContext& ctx) {
  const double t = timeLimit(ctx.problem().rec);
  return t > 0 ? std::max(1e-3, t - ctx.elapsed()) : -1.0;
}

void reportInfeasible(RunContext& ctx, RunRecord& run, bool mip, const std::string& reason) {
  run.solveStatus = XPRS_SOLVESTATUS_COMPLETED;
  run.solStatus = XPRS_SOLSTATUS_INFEASIBLE;
  run.lpStatus = XPRS_LP_INFEAS;
  if (mip) run.mipStatus = XPRS_MIP_INFEAS;
  ctx.problem().rec.results = ResultRecord{};
  ctx.message(text("The problem is infeasible: ", reason), XPRS_MSG_INFO);
}

RunContext::RunContext(Problem& problem)
    : problem_(problem), start_(Clock::now()), lastCheck_(start_) {
  outputLog_ = intControl(problem.rec, XPRS_OUTPUTLOG);
  checkDelayMs_ = intControl(problem.rec, XPRS_CALLBACKCHECKTIMEDELAY);
  timeLimit_ = timeLimit(problem.rec);
  view_.intAttribs[XPRS_OPTIMIZETYPEUSED] = XPRS_OPTIMIZETYPE_NONE;
  view_.intAttribs[XPRS_NODES] = 0;
  cbProblem_ = &Library::instance().createCallbackProblem(problem, view_);
}

RunContext::~RunContext() { Library::instance().destroyCallbackProblem(*cbProblem_); }

double RunContext::elapsed() const {
  return std::chrono::duration<double>(Clock::now() - start_).count();
}

template <class Fn, class... Args>
void RunContext::callAll(CallbackKind kind, Args... args) {
  for (const CallbackRecord& c : callbacksOf(problem_.rec, kind)) {
    reinterpret_cast<Fn>(c.function)(cbProblem_->handle, c.data, args...);
  }
}

void RunContext::message(const std::string& text, int type) {
  if (outputLog_ == 0) return;
  if (outputLog_ >= 2 && type == XPRS_MSG_INFO) return;
  if (outputLog_ >= 4 && type == XPRS_MSG_WARNING) return;
  std::lock_guard lock(mutex_);
  std::string line = text.substr(0, XPRS_MAXMESSAGELENGTH - 1);
  callAll<XPRSmessagecb>(CallbackKind::Message, line.c_str(), static_cast<int>(line.size()), type);
}

bool RunContext::pastTimeLimit() const { return timeLimit_ > 0 && elapsed() >= timeLimit_; }

bool RunContext::poll() {
  const auto now = Clock::now();
  if (timeLimit_ > 0 && std::chrono::duration<double>(now - start_).count() >= timeLimit_) {
    int expected = 0;
    problem_.interruptReason.compare_exchange_strong(expected, XPRS_STOP_TIMELIMIT);
  }
  auto last = lastCheck_.load();
  if (now - last >= std::chrono::milliseconds(checkDelayMs_) &&
      lastCheck_.compare_exchange_strong(last, now)) {
    checkTime();
  }
  return stopReason() != 0;
}

void RunContext::checkTime() {
  std::lock_guard lock(mutex_);
  for (const CallbackRecord& c : callbacksOf(problem_.rec, CallbackKind::CheckTime)) {
    if (reinterpret_cast<XPRSchecktimecb>(c.function)(cbProblem_->handle, c.data) != 0) {
      int expected = 0;
      problem_.interruptReason.compare_exchange_strong(expected, XPRS_STOP_USER);
    }
  }
}

void RunContext::node(int nodes, double bound) {
  std::lock_guard lock(mutex_);
  view_.intAttribs[XPRS_NODES] = nodes;
  view_.intAttribs[XPRS_CURRENTNODE] = nodes;
  view_.dblAttribs[XPRS_BESTBOUND] = bound;
  int infeasible = 0;
  callAll<XPRSoptnodecb>(CallbackKind::OptNode, &infeasible);
}

void RunContext::intSol(double objective, const std::vector<double>& x) {
  std::lock_guard lock(mutex_);
  if (reported_ != nullptr) {
    if (incumbents_ > 0 &&
        std::equal(x.begin(), x.end(), view_.x.begin(), view_.x.end(), [](double a, double b) {
          return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(a));
        })) {
      return;
    }
    objective = objectiveOf(*reported_, x.data());
  }
  ++incumbents_;
  offerIncumbent(problem_, objective, x);
  view_.dblAttribs[XPRS_MIPOBJVAL] = objective;
  view_.intAttribs[XPRS_MIPSOLS] = incumbents_;
  view_.x = x;
  callAll<XPRSintsolcb>(CallbackKind::IntSol);
}

int RunContext::stopReason() const { return problem_.interruptReason.load(); }

void emitMessage(Problem& problem, const std::string& text, int type) {
  // The callbacks may call back in: while they run, the problem counts as busy, so that they
  // cannot destroy or change it under this call, and the messages of what they call are not
  // delivered (a callback answering a refusal with the refused call would never end).
  static thread_local int depth = 0;
  if (depth > 0) return;
  Problem& owner = problem.target();
  struct Busy {
    Problem& owner;
    bool solving;
    ~Busy() {
      owner.solving = solving;
      --depth;
    }
  } busy{owner, owner.solving};
  owner.solving = true;
  ++depth;
  for (const CallbackRecord& c : callbacksOf(problem.target().rec, CallbackKind::Message)) {
    reinterpret_cast<XPRSmessagecb>(c.function)(problem.handle, c.data, text.c_str(),
                                                static_cast<int>(text.size()), type);
  }
}

}  // namespace xprs::standin
