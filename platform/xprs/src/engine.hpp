// The optimisation behind XPRSoptimize: one run of the problem's model through Clp (LP and
// convex QP objective) or Cbc (MIP), or the replay of a scripted outcome queued by a test. The
// run context delivers messages and callbacks to the registered functions, always with a
// callback problem handle that is valid for the duration of the run.
#ifndef XPRS_ENGINE_HPP_
#define XPRS_ENGINE_HPP_

#include <chrono>
#include <coin/CoinError.hpp>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "library.hpp"

namespace xprs::standin {

// The model in the engine's column-wise form: duplicates summed, zeros dropped, infinities
// translated to the engine's own, row types turned into row bounds.
struct EngineModel {
  int ncols = 0;
  int nrows = 0;
  std::vector<int> start, index;
  std::vector<double> value;
  std::vector<double> colLb, colUb, obj, rowLb, rowUb;
  std::vector<int> qStart, qIndex;  // lower triangle of the objective Q, column-wise
  std::vector<double> qValue;
  double rhs = 0.0;
  int sense = 1;
};

// Builds the engine form of objective 0 of the model. With mip, semi-continuous columns get
// a zero lower bound (their other branch is the engine's lot-size object).
[[nodiscard]] EngineModel assemble(const ModelRecord& m, bool mip);
[[nodiscard]] double toEngine(double v);
// The objective value of x in the model (objective 0, with its constant and Hessian).
[[nodiscard]] double objectiveOf(const ModelRecord& m, const double* x);
// The run's time limit in seconds from TIMELIMIT, else MAXTIME, or -1 without one.
[[nodiscard]] double timeLimit(const ProblemRecord& rec);
// The attributes of a run that failed.
[[nodiscard]] RunRecord failedRun();

// Runs body, an engine run; what it threw as the text of the failure (the library's own errors
// as they are, COIN-OR's and the standard library's as engine failures), nothing if it returned.
template <class Body>
std::optional<std::string> runFailure(Body&& body) {
  try {
    body();
  } catch (const ApiError& e) {
    return e.what();
  } catch (const CoinError& e) {
    return text("engine failure: ", e.message());
  } catch (const std::exception& e) {
    return text("engine failure: ", e.what());
  }
  return std::nullopt;
}

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
  std::chrono::steady_clock::time_point lastCheck_;
  int outputLog_ = 1;
  int checkDelayMs_ = 0;
  double timeLimit_ = -1.0;  // seconds, -1 without a limit
  int incumbents_ = 0;
  const ModelRecord* reported_ = nullptr;
};

// Runs the model (or the next scripted outcome) and stores statuses, attributes and results
// in problem.rec. Returns 0, or a non-zero code with the last error set when the model holds
// what this engine cannot solve or the run failed.
int runOptimize(Problem& problem, const char* function, const char* flags, int* solvestatus,
                int* solstatus);

// A refusal outside the engine's run: sets the last error and sends the same reason as a
// warning message (unless output is off), so that a host that drops error messages still shows
// why. Returns the error code.
int refuseRun(Problem& problem, const char* function, const std::string& reason);

// Sends one message to the problem's message callbacks outside a run.
void emitMessage(Problem& problem, const std::string& text, int type);

}  // namespace xprs::standin

#endif  // XPRS_ENGINE_HPP_
