#include "engine/script_replay.hpp"

#include <utility>

#include "engine/run_context.hpp"

namespace xprs::standin {

void replayScript(RunContext& ctx, RunScript script, RunRecord& run) {
  Problem& problem = ctx.problem();
  int stop = 0;
  for (const ScriptEvent& ev : script.events) {
    switch (ev.kind) {
      case ScriptEvent::Kind::Message:
        ctx.message(ev.text, ev.msgType);
        break;
      case ScriptEvent::Kind::CheckTime:
        ctx.view().intAttribs[XPRS_OPTIMIZETYPEUSED] = ev.optType;
        ctx.checkTime();
        break;
      case ScriptEvent::Kind::OptNode:
        ctx.node(ctx.view().intAttribs[XPRS_NODES] + 1, script.run.bestBound);
        break;
      case ScriptEvent::Kind::IntSol:
        ctx.intSol(ev.objective, ev.x);
        break;
      case ScriptEvent::Kind::Interrupt:
        problem.interruptReason.store(ev.reason);
        break;
    }
    stop = ctx.stopReason();
    if (stop != 0) break;
  }
  run = script.run;
  if (stop != 0) {
    run.solveStatus = XPRS_SOLVESTATUS_STOPPED;
    run.stopStatus = stop;
  }
  problem.rec.results = std::move(script.results);
}

}  // namespace xprs::standin
