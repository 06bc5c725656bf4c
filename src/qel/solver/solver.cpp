#include "qel/solver/solver.hpp"

#include <memory>

#include "nuv/opt/abstract_callback.hpp"
#include "nuv/opt/abstract_log.hpp"
#include "qel/data.hpp"
#include "qel/xpress/xpress_callbacks.hpp"
#include "qel/xpress/xpress_library.hpp"
#include "qel/xpress/xpress_prob.hpp"
#include "qel/xpress/xpress_sol_enum.hpp"
#include "qel/xpress/xpress_sol_pool.hpp"

namespace qel {

namespace {

constexpr nuv::Tag kContextTag = "nuv:context";
// Milliseconds between two check-time callbacks.
constexpr int kCheckTimeDelayValue = 50;

}  // namespace

Solver::Solver() : data_(std::make_shared<Data>()) { data_->prob = std::make_shared<XpressProb>(); }

Solver::~Solver() {
  Data& data = *data_;
  // Each step on its own: a failure to unregister or detach must not keep the rest from being
  // released, and nothing may leave a destructor.
  if (data.solPool) {
    try {
      data.solPool->setCBMessage(nullptr, nullptr);
    } catch (...) {
    }
    try {
      data.solPool->probDetach(data.prob.get());
    } catch (...) {
    }
  }
  if (data.solEnum) {
    try {
      data.solEnum->setCBMessage(nullptr, nullptr);
    } catch (...) {
    }
  }
  data.solPool.reset();
  data.solEnum.reset();
  if (data.prob->started()) data.prob.reset();
  library_.reset();
}

std::string Solver::name() const { return "Xpress"; }

nuv::opt::Version Solver::version() const { return {0, 6, 1}; }

nuv::Tag Solver::tag() const { return "qel"; }

bool Solver::started() const { return data_->prob->started(); }

void Solver::start(std::span<const std::string> /*arguments*/, std::string_view /*location*/) {
  Data& data = *data_;
  // Only what is missing is created and only what is missing is registered, so a repeated start
  // neither leaks nor registers twice, and a start after a failed one completes it.
  if (!library_) library_ = std::make_unique<XpressLibrary>();
  if (!data.prob->started()) data.prob->start();
  if (!data.solPool) data.solPool = std::make_shared<XpressSolPool>();
  if (!data.solEnum) data.solEnum = std::make_shared<XpressSolEnum>();
  if (messages_ == Messages::none) {
    data.prob->addCBMessage(callbackMessage, &data.callbackState, /*priority=*/0);
    messages_ = Messages::onProblem;
  }
  if (messages_ == Messages::onProblem) {
    data.solPool->setCBMessage(callbackMessage, &data.callbackState);
    data.solEnum->setCBMessage(callbackMessage, &data.callbackState);
    messages_ = Messages::installed;
  }
}

void Solver::clear() {
  data_->clear();
  // A start that failed before the problem existed left only the library initialised.
  if (!data_->prob->started()) library_.reset();
}

bool Solver::setLog(const std::shared_ptr<nuv::opt::AbstractLog>& log) {
  if (!log) return false;
  data_->callbackState.log = log;
  return true;
}

std::shared_ptr<nuv::opt::AbstractLog> Solver::getLog() const { return data_->callbackState.log; }

bool Solver::setCallback(const std::shared_ptr<nuv::opt::AbstractCallback>& callback) {
  if (!callback) return false;
  data_->callbackState.callback = callback;
  return true;
}

std::shared_ptr<nuv::opt::AbstractCallback> Solver::getCallback() const {
  return data_->callbackState.callback;
}

bool Solver::addCallbackContext(const nuv::TagIndex& context) {
  if (context.tag != kContextTag) return false;
  Data& data = *data_;
  switch (context.index) {
    case 0:
      data.prob->setIntControl(XPRS_CALLBACKCHECKTIMEDELAY, kCheckTimeDelayValue);
      data.prob->addCBCheckTime(callbackCheckTime, &data.callbackState, /*priority=*/0);
      return true;
    case 1:
      data.prob->addCBOptNode(callbackOptNode, &data.callbackState, /*priority=*/0);
      return true;
    case 2:
      data.prob->addCBIntSol(callbackIntSol, &data.callbackState, /*priority=*/0);
      return true;
    default:
      return false;
  }
}

void Solver::terminate() { data_->prob->interrupt(XPRS_STOP_USER); }

}  // namespace qel
