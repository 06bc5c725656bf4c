// The tuner behind XPRStune: it optimises the problem under a small fixed set of control
// settings and keeps the best.
//
//   LP:  the problem's own settings; DEFAULTALG 2 (dual simplex); DEFAULTALG 3 (primal simplex);
//        PRESOLVE 0.
//   MIP: the problem's own settings; CUTSTRATEGY 0 (no cuts); HEUREMPHASIS 0 (no heuristics);
//        both.
//
// Each trial changes the listed controls on top of the problem's own. The trials share one time
// budget: TUNERMAXTIME when positive, else the problem's time limit, else none; each trial runs
// with what is left as its time limit, and no trial after the first starts once it is spent
// (the first always runs, so that the problem has results). A trial stopped by
// an interrupt ends the tuning. The best trial has the best outcome (a completed run, then a
// stopped run with a solution, then one without, then a failed one), then the better objective,
// then the shorter time. Its settings stay on the problem, and its results and attributes are
// the problem's afterwards.
//
// Every trial is logged as an information message. Unless TUNEROUTPUT is 0, the trials and the
// choice are written as text to <TUNEROUTPUTPATH>/<name>/tuneresult.txt, where the name is
// TUNERSESSIONNAME, else the problem name, else "problem".
#ifndef XPRS_TUNE_HPP_
#define XPRS_TUNE_HPP_

#include "library.hpp"

namespace xprs::standin {

// Runs the tuner on problem for XPRStune. A scripted outcome, when one is queued, replaces the
// tuner as it replaces any run. Returns 0, or the code of a refusal with the last error set.
int runTune(Problem& problem, const char* flags);

}  // namespace xprs::standin

#endif  // XPRS_TUNE_HPP_
