// The replay of a scripted outcome queued by a test in place of an engine run: its messages,
// callbacks and interrupts in order, then its statuses and results.
#ifndef XPRS_SCRIPT_REPLAY_HPP_
#define XPRS_SCRIPT_REPLAY_HPP_

#include "library.hpp"

namespace xprs::standin {

class RunContext;

// Plays script's events through ctx and stores its outcome in run and the problem's results. A
// stop asked for during the events (an interrupt, a callback) ends them and marks the run
// stopped.
void replayScript(RunContext& ctx, RunScript script, RunRecord& run);

}  // namespace xprs::standin

#endif  // XPRS_SCRIPT_REPLAY_HPP_
