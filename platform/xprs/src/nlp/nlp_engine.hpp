// The nonlinear engines behind XPRSoptimize: models with quadratic rows or formulas, and MIPs
// with a quadratic objective. Continuous models go to Ipopt (a local solution, optimisation
// type 2), models with integer columns to Bonmin's branch and bound over Ipopt.
//
// Ipopt and Bonmin share state inside their libraries and are not thread-safe: one process-wide
// lock serialises every run, and a run started from a callback of another is refused.
#ifndef XPRS_NLP_ENGINE_HPP_
#define XPRS_NLP_ENGINE_HPP_

#include <vector>

#include "engine/engine.hpp"
#include "nlp/nlp_model.hpp"

namespace xprs::standin {

// True when the model needs a nonlinear engine.
[[nodiscard]] bool needsNonlinearEngine(const ModelRecord& m);

// Solves the problem's model and stores statuses, attributes and results as runOptimize
// expects. Throws ApiError for a model the engines cannot take.
void solveNonlinear(RunContext& ctx, RunRecord& run);

// How a run should go, from the problem's controls.
struct NlpSettings {
  double timeLimit = -1.0;  // wall-clock seconds, none when not positive
  double feasTol = 1e-6;
  bool log = true;
  int maxNodes = -1;  // none when negative
  int maxSolutions = 0;
  double relGap = 0.0;
  double absGap = 0.0;
};

// Why a run should stop now (the context's interrupt, callbacks and time limit), XPRS_STOP_NONE
// to go on. Both engines ask between iterations or nodes.
[[nodiscard]] int pollStop(RunContext& ctx);

// The outcome of one engine run.
struct NlpResult {
  int solveStatus = XPRS_SOLVESTATUS_FAILED;
  int solStatus = XPRS_SOLSTATUS_NOTFOUND;
  int stopStatus = XPRS_STOP_NONE;
  // x is a point to keep as a feasible solution if it satisfies the constraints.
  bool candidate = false;
  // lambda holds the multipliers of the minimised problem (Ipopt's sign convention).
  bool duals = false;
  std::vector<double> x, lambda;
  int iterations = 0;
  // Branch and bound only.
  bool mip = false;
  int mipStatus = XPRS_MIP_NOT_LOADED;
  int nodes = 0;
  double bestBound = 0.0;  // in the user's sense
  // Evaluations of the model by the engine and their time.
  long evaluations = 0;
  double evalSeconds = 0.0;
};

// The callbacks both engines make, on a model in the minimisation sense (the objective times
// the model's sense), with a count and the time of every evaluation. Each returns false when
// the result is not finite, so that the engine steps back. No exception leaves them.
class NlpEvaluator {
 public:
  explicit NlpEvaluator(NlpModel& model) : model_(model) {}
  bool objective(const double* x, double* value);
  bool objectiveGradient(const double* x, double* gradient);
  bool constraints(const double* x, double* values);
  // With values null, the pattern goes to rows and cols (0-based).
  bool jacobian(const double* x, int* rows, int* cols, double* values);
  bool hessian(const double* x, double objFactor, const double* lambda, int* rows, int* cols,
               double* values);
  [[nodiscard]] long evaluations() const { return evaluations_; }
  [[nodiscard]] double seconds() const { return seconds_; }

 private:
  template <class Fn>
  bool timed(Fn&& fn);
  NlpModel& model_;
  long evaluations_ = 0;
  double seconds_ = 0.0;
};

NlpResult runIpopt(RunContext& ctx, NlpModel& model, const std::vector<double>& start,
                   const NlpSettings& settings);
NlpResult runBonmin(RunContext& ctx, NlpModel& model, const std::vector<double>& start,
                    const NlpSettings& settings);

}  // namespace xprs::standin

#endif  // XPRS_NLP_ENGINE_HPP_
