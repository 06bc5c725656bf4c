#include "engine/cbc_events.hpp"

#include <algorithm>
#include <cmath>
#include <coin/CbcModel.hpp>
#include <vector>

#include "engine/engine_model.hpp"
#include "engine/run_context.hpp"

namespace xprs::standin {

CbcEventHandler::CbcAction CbcEvents::event(CbcEvent e) {
  if (CbcEventHandler::model_ == main_) {
    reportIncumbent();
    if (e == node) ctx_->node(main_->getNodeCount(), bound());
  }
  return ctx_->poll() ? stop : noAction;
}

void CbcEvents::reportIncumbent() {
  const double* best = main_->bestSolution();
  if (best == nullptr) return;
  const double objective = objectiveOf(*model_, best);
  if (!std::isnan(lastObjective_) &&
      model_->sense * (lastObjective_ - objective) <= 1e-9 * std::max(1.0, std::fabs(objective))) {
    return;
  }
  lastObjective_ = objective;
  ctx_->intSol(objective, std::vector<double>(best, best + model_->cols()));
}

double CbcEvents::bound() const {
  // Cbc minimises the objective times the sense.
  return model_->sense * main_->getBestPossibleObjValue() - model_->objectives.front().rhs;
}

}  // namespace xprs::standin
