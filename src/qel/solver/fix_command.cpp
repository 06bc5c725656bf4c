#include "qel/solver/fix_command.hpp"

#include <memory>
#include <utility>

#include "qel/data.hpp"
#include "qel/xpress/xpress_prob.hpp"

namespace qel {

namespace {

// Round the entities' solution values to the nearest discrete value before fixing them.
constexpr int kRoundBeforeFixing = 1;

bool fixable(const Data* data) {
  return data != nullptr && data->prob && !data->prob->isFixed() && !data->prob->isSolving();
}

}  // namespace

FixNonContinuousCommand::FixNonContinuousCommand(std::weak_ptr<Data> data)
    : data_(std::move(data)) {}

bool FixNonContinuousCommand::active() const { return fixable(data_.lock().get()); }

void FixNonContinuousCommand::call() {
  const std::shared_ptr<Data> data = data_.lock();
  if (fixable(data.get())) data->prob->fixMipEntities(kRoundBeforeFixing);
}

}  // namespace qel
