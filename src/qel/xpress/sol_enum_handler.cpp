#include "qel/xpress/sol_enum_handler.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <string>

namespace qel {

namespace {

constexpr int kInfoMessage = 1;

// Releases the id buffer, which is allocated with malloc.
struct FreeDeleter {
  void operator()(int* ids) const noexcept { std::free(ids); }
};
using IdBuffer = std::unique_ptr<int[], FreeDeleter>;

void sendMessage(const SolEnumHandlerBlock& block, const std::string& text) {
  // Nothing may have been installed yet: the messages are then dropped rather than crashing the
  // enumeration.
  if (block.msgFn == nullptr) return;
  block.msgFn(nullptr, block.msgCtx, text.c_str(), static_cast<int>(text.size()), kInfoMessage);
}

// One choice of solutions to cull, as far as it can be trusted: Xpress was asked for at most
// `wanted` ids, so a larger count is cut to that (the buffer holds no more) and a negative one
// counts as none.
struct CullChoice {
  bool ok = false;
  int count = 0;
};

CullChoice chooseCull(XPRSmipsolenum enumerator, int metric, int* ids, int wanted, double newMetric,
                      const double* solution, int columnCount, int* rejectSolution) {
  int count = 0;
  if (XPRS_mse_getcullchoice(enumerator, metric, ids, wanted, &count, newMetric, solution,
                             columnCount, rejectSolution) != 0) {
    return {};
  }
  return {true, std::clamp(count, 0, std::max(wanted, 0))};
}

// Deletes ids[0] to ids[count - 1] from the pool in that order; false when a deletion fails
// (the ones before it stay deleted).
bool deleteSolutions(XPRSmipsolpool pool, const int* ids, int count) {
  for (int k = 0; k < count; ++k) {
    int status = 0;  // whether the id was known does not matter here
    if (XPRS_msp_delsol(pool, ids[k], &status) != 0) return false;
  }
  return true;
}

}  // namespace

int XPRS_CC solEnumHandler(XPRSmipsolenum enumerator, XPRSprob problem, XPRSmipsolpool pool,
                           void* context, int* maxSolutions, const double* solution,
                           int columnCount, double objective, double* /*modifiedObjective*/,
                           int* rejectSolution, int* updateCutoff) {
  constexpr int kFailed = 1;
  auto& block = *static_cast<SolEnumHandlerBlock*>(context);
  const int capacity = *maxSolutions;
  if (capacity <= 0) return 0;

  int stored = 0;
  if (XPRS_mse_getintattrib(enumerator, XPRS_MSE_SOLUTIONS, &stored) != 0) return kFailed;
  if (stored < capacity) return 0;

  if (block.cullRound >= block.maxCullRounds) {
    if (block.verbosity > 0) {
      sendMessage(block, "Terminating MIP solution enumerator: the pool is full (cap = " +
                             std::to_string(capacity) + ")\n");
      sendMessage(block, "and we have reached the limit (" + std::to_string(block.maxCullRounds) +
                             ") on culling rounds\n");
    }
    *rejectSolution = 1;
    // Nothing better can be done if the interrupt is refused: the solution is rejected anyway.
    XPRSinterrupt(problem, XPRS_STOP_USER);
    return 0;
  }

  ++block.cullRound;
  if (block.verbosity > 0) {
    sendMessage(block, "MIP soln pool is full: starting cull round " +
                           std::to_string(block.cullRound) + "\n");
  }

  int objectiveCount = 0;
  int diversityCount = 0;
  if (XPRS_mse_getintcontrol(enumerator, XPRS_MSE_CALLBACKCULLSOLS_MIPOBJECT, &objectiveCount) !=
          0 ||
      XPRS_mse_getintcontrol(enumerator, XPRS_MSE_CALLBACKCULLSOLS_DIVERSITY, &diversityCount) !=
          0) {
    return kFailed;
  }

  const auto capacityIds = static_cast<std::size_t>(std::max({objectiveCount, diversityCount, 1}));
  IdBuffer ids(static_cast<int*>(std::malloc(capacityIds * sizeof(int))));
  if (!ids) return kFailed;

  int deleted = 0;
  if (objectiveCount >= 0) {
    const CullChoice choice =
        chooseCull(enumerator, XPRS_MSE_METRIC_MIPOBJECT, ids.get(), objectiveCount, objective,
                   /*solution=*/nullptr, /*columnCount=*/0, rejectSolution);
    if (!choice.ok || !deleteSolutions(pool, ids.get(), choice.count)) return kFailed;
    if (choice.count > 0) deleted = choice.count;
  }
  if (diversityCount >= 0) {
    const CullChoice choice =
        chooseCull(enumerator, XPRS_MSE_METRIC_DIVERSITY, ids.get(), diversityCount,
                   /*newMetric=*/0.0, solution, columnCount, rejectSolution);
    if (!choice.ok || !deleteSolutions(pool, ids.get(), choice.count)) return kFailed;
    if (choice.count > 0) deleted += choice.count;
  }
  if (deleted == 0 && *rejectSolution == 0) {
    // Nothing culled and the solution still wanted: make room by dropping the worst solution
    // by objective, if Xpress names one.
    objectiveCount = 1;
    const CullChoice choice =
        chooseCull(enumerator, XPRS_MSE_METRIC_MIPOBJECT, ids.get(), objectiveCount, objective,
                   /*solution=*/nullptr, /*columnCount=*/0, rejectSolution);
    if (!choice.ok) return kFailed;
    if (*rejectSolution == 0 && choice.count != 0) {
      if (!deleteSolutions(pool, ids.get(), 1)) return kFailed;
      deleted = 1;
    } else {
      objectiveCount = 0;
    }
  }

  if (objectiveCount >= 0 &&
      ((deleted == 1 && *rejectSolution == 0) || (deleted != 1 && *rejectSolution != 0))) {
    *updateCutoff = 1;
  }
  return 0;
}

}  // namespace qel
