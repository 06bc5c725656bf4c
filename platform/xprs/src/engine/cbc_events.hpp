// Cbc's search events as the run's node and incumbent callbacks, and its stop when the run must
// stop.
#ifndef XPRS_CBC_EVENTS_HPP_
#define XPRS_CBC_EVENTS_HPP_

#include <coin/CbcEventHandler.hpp>
#include <limits>

#include "library.hpp"

class CbcModel;

namespace xprs::standin {

class RunContext;

// Cbc hands a copy of the handler to the small searches some heuristics run on reduced models,
// whose columns, nodes and bounds are not the user's: only events of the main search are
// reported. What a small search finds comes back to the main search, which reports it. Every
// copy polls, so that an interrupt also ends a small search.
class CbcEvents final : public CbcEventHandler {
 public:
  CbcEvents(RunContext* ctx, const ModelRecord* model, const CbcModel* main)
      : ctx_(ctx), model_(model), main_(main) {}
  CbcEvents(const CbcEvents&) = default;
  CbcEvents& operator=(const CbcEvents&) = delete;
  CbcEventHandler* clone() const override { return new CbcEvents(*this); }
  CbcAction event(CbcEvent e) override;

  // Cbc raises more than one event per incumbent and may accept the same solution twice:
  // report each strict improvement of the best solution once, from the solution Cbc keeps.
  void reportIncumbent();

 private:
  [[nodiscard]] double bound() const;

  RunContext* ctx_;
  const ModelRecord* model_;
  const CbcModel* main_;
  double lastObjective_ = std::numeric_limits<double>::quiet_NaN();
};

}  // namespace xprs::standin

#endif  // XPRS_CBC_EVENTS_HPP_
