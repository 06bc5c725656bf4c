// Clp's iteration events: a linear or quadratic program stops when the run must stop.
#ifndef XPRS_CLP_EVENTS_HPP_
#define XPRS_CLP_EVENTS_HPP_

#include <coin/ClpEventHandler.hpp>

#include "engine/run_context.hpp"

namespace xprs::standin {

class ClpEvents final : public ClpEventHandler {
 public:
  explicit ClpEvents(RunContext* ctx) : ctx_(ctx) {}
  ClpEvents(const ClpEvents&) = default;
  ClpEvents& operator=(const ClpEvents&) = delete;
  ClpEventHandler* clone() const override { return new ClpEvents(*this); }
  int event(Event e) override {
    if (e == endOfIteration && ctx_->poll()) return 0;
    return -1;
  }

 private:
  RunContext* ctx_;
};

}  // namespace xprs::standin

#endif  // XPRS_CLP_EVENTS_HPP_
