// What an engine run sees of the library: the clock and the time limit, interrupts, and the
// problem's callbacks, always called with a callback problem handle that is valid for the
// duration of the run.
#ifndef XPRS_RUN_CONTEXT_HPP_
#define XPRS_RUN_CONTEXT_HPP_

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include "library.hpp"

namespace xprs::standin {

// The run's time limit in seconds from TIMELIMIT, else MAXTIME, or -1 without one.
[[nodiscard]] double timeLimit(const ProblemRecord& rec);

class RunContext {
 public:
  explicit RunContext(Problem& problem);
  ~RunContext();
  RunContext(const RunContext&) = delete;
  RunContext& operator=(const RunContext&) = delete;

  [[nodiscard]] Problem& problem() { return problem_; }
  [[nodiscard]] CallbackView& view() { return view_; }
  [[nodiscard]] double elapsed() const;

  // A log line (without trailing line feed) with an XPRS message type, filtered by OUTPUTLOG.
  void message(const std::string& text, int type);
  // True when the run must stop: the time limit passed, an XPRSinterrupt arrived, or a
  // check-time callback asked for it (checked no more often than CALLBACKCHECKTIMEDELAY
  // milliseconds). Every engine polls it between its iterations or nodes.
  bool poll();
  // True when the run has a time limit and has used it up.
  [[nodiscard]] bool pastTimeLimit() const;
  void checkTime();
  void node(int nodes, double bound);
  void intSol(double objective, const std::vector<double>& x);
  // A run over several objectives hands the engine other objectives than the problem's: its
  // incumbents are then reported with objective 0 of model, the problem's own, and a level's
  // start (the incumbent reported last) is not reported again.
  void reportObjectiveOf(const ModelRecord& model) { reported_ = &model; }
  [[nodiscard]] int stopReason() const;
  [[nodiscard]] int incumbents() const { return incumbents_; }

 private:
  template <class Fn, class... Args>
  void callAll(CallbackKind kind, Args... args);

  Problem& problem_;
  CallbackView view_;
  Problem* cbProblem_ = nullptr;
  std::recursive_mutex mutex_;  // serialises callbacks when the engine runs threads
  std::chrono::steady_clock::time_point start_;
  // When the check-time callbacks last ran. Cbc's threads poll at once: whichever moves it on
  // runs the callbacks of that round.
  std::atomic<std::chrono::steady_clock::time_point> lastCheck_;
  int outputLog_ = 1;
  int checkDelayMs_ = 0;
  double timeLimit_ = -1.0;  // seconds, -1 without a limit
  int incumbents_ = 0;
  const ModelRecord* reported_ = nullptr;
};

// Seconds left of the run's time limit (at least a millisecond), or -1 without a limit. A run
// may solve several models in turn; together they keep to the limit.
[[nodiscard]] double timeLeft(RunContext& ctx);

// Records a model found infeasible before an engine ran (reason says why) as a completed run.
void reportInfeasible(RunContext& ctx, RunRecord& run, bool mip, const std::string& reason);

// Sends one message to the problem's message callbacks outside a run.
void emitMessage(Problem& problem, const std::string& text, int type);

}  // namespace xprs::standin

#endif  // XPRS_RUN_CONTEXT_HPP_
