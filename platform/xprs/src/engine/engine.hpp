// The optimisation behind XPRSoptimize: one run of the problem's model through Clp (LP and
// convex QP objective, lp_engine.hpp), Cbc (MIP, mip_engine.hpp), Ipopt or Bonmin (nonlinear
// models, nlp_engine.hpp), level by level over several objectives (objectives.hpp), or the
// replay of a scripted outcome queued by a test (script_replay.hpp). The run context
// (run_context.hpp) delivers messages and callbacks to the registered functions.
#ifndef XPRS_ENGINE_HPP_
#define XPRS_ENGINE_HPP_

#include <coin/CoinError.hpp>
#include <exception>
#include <optional>
#include <string>

#include "engine/engine_model.hpp"
#include "engine/run_context.hpp"
#include "library.hpp"

namespace xprs::standin {

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

// Runs the model (or the next scripted outcome) and stores statuses, attributes and results
// in problem.rec. Returns 0, or a non-zero code with the last error set when the model holds
// what this engine cannot solve or the run failed.
int runOptimize(Problem& problem, const char* function, const char* flags, int* solvestatus,
                int* solstatus);

// A refusal outside the engine's run: sets the last error and sends the same reason as a
// warning message (unless output is off), so that a host that drops error messages still shows
// why. Returns the error code.
int refuseRun(Problem& problem, const char* function, const std::string& reason);

}  // namespace xprs::standin

#endif  // XPRS_ENGINE_HPP_
