#include "qel/xpress/xpress_callbacks.hpp"

#include <xprs.h>

#include <cstddef>
#include <exception>
#include <mutex>
#include <string_view>

#include "nuv/opt/context.hpp"
#include "nuv/tag.hpp"
#include "qel/xpress/callback_state.hpp"
#include "qel/xpress/xpress_prob_view.hpp"

namespace qel {

namespace {

// Binds the running problem into the view for one notification and unbinds it on every path.
class ViewBinding {
 public:
  ViewBinding(XpressProbView& view, XPRSprob prob) noexcept : view_(view) { view_.setProb(prob); }
  ViewBinding(const ViewBinding&) = delete;
  ViewBinding& operator=(const ViewBinding&) = delete;
  ~ViewBinding() { view_.setProb(nullptr); }

 private:
  XpressProbView& view_;
};

// Reports a failure inside a callback and stops the run. A log that raises as well is ignored:
// the interrupt still has to happen, and nothing may unwind into Xpress.
void abandonRun(const CallbackState& state, XPRSprob prob, std::string_view reason) noexcept {
  try {
    if (state.log) state.log->error("Callback", reason);
  } catch (...) {
  }
  // The return code is dropped: inside a callback there is no one left to tell.
  XPRSinterrupt(prob, XPRS_STOP_USER);
}

// Binds, notifies the host with context and unbinds. skipBeforeRun: leave the host alone while
// the running problem has not yet chosen the kind of optimisation it performs.
void notifyHost(XPRSprob prob, void* context, const nuv::TagIndex& hostContext,
                bool skipBeforeRun) noexcept {
  CallbackState& state = *static_cast<CallbackState*>(context);
  try {
    const std::scoped_lock lock(state.probViewMutex);
    const ViewBinding bound(*state.probView, prob);
    if (skipBeforeRun &&
        state.probView->getIntAttrib(XPRS_OPTIMIZETYPEUSED) == XPRS_OPTIMIZETYPE_NONE) {
      return;
    }
    if (!state.callback) {
      abandonRun(state, prob, "no host callback is set; the optimisation is interrupted.");
      return;
    }
    state.callback->notify(hostContext);
  } catch (const std::exception& e) {
    abandonRun(state, prob, e.what());
  } catch (...) {
    abandonRun(state, prob, "unknown exception; the optimisation is interrupted.");
  }
}

}  // namespace

void XPRS_CC callbackMessage(XPRSprob /*prob*/, void* state, const char* text, int length,
                             int type) {
  // Error messages are dropped: the failing call raises its own exception with the same text.
  if (length <= 0 || type == XPRS_MSG_ERROR) return;
  const auto& log = static_cast<const CallbackState*>(state)->log;
  if (!log) return;
  const std::string_view message(text, static_cast<std::size_t>(length));
  try {
    if (message.back() == '\n') {
      log->print(message);
    } else {
      log->println(message);
    }
  } catch (...) {
    // A log that cannot write loses the message; it must not unwind into Xpress.
  }
}

int XPRS_CC callbackCheckTime(XPRSprob prob, void* state) {
  notifyHost(prob, state, nuv::opt::context::progress, /*skipBeforeRun=*/true);
  return 0;
}

void XPRS_CC callbackOptNode(XPRSprob prob, void* state, int* /*infeasible*/) {
  notifyHost(prob, state, nuv::opt::context::node, /*skipBeforeRun=*/false);
}

void XPRS_CC callbackIntSol(XPRSprob prob, void* state) {
  notifyHost(prob, state, nuv::opt::context::new_incumbent, /*skipBeforeRun=*/false);
}

}  // namespace qel
