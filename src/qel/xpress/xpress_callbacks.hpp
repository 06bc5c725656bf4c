// The optimizer's callbacks into a solver: the functions Xpress calls while it works, each with
// a qel::CallbackState as its context.
//
//   prob.addCBMessage(qel::callbackMessage, &state, 0);
//   pool.setCBMessage(qel::callbackMessage, &state);
//   prob.addCBOptNode(qel::callbackOptNode, &state, 0);
//
// callbackMessage passes problem, pool and enumerator messages to CallbackState::log. The three
// others bind the running problem into CallbackState::probView, notify CallbackState::callback
// with their context (progress, node, new incumbent) and unbind the view, so that whatever the
// host asks with that context reads the running problem. Bind, notify and unbind run under
// CallbackState::probViewMutex: callbacks of parallel search threads take turns with the single
// view.
//
// None of them lets an exception out into Xpress. When the host callback raises, or no host
// callback is set, the view is unbound, the failure goes to the log's `error` with the title
// "Callback", and the run is interrupted with the user-interrupt reason.
//
// The state must outlive every registration: the solver destroys problem, pool and enumerator
// before it releases the record that holds the state.
#ifndef QEL_XPRESS_XPRESS_CALLBACKS_HPP_
#define QEL_XPRESS_XPRESS_CALLBACKS_HPP_

#include <xprs.h>

namespace qel {

// Drops a message of non-positive length or of type 4 (an error), and any message while no log is
// set. Otherwise the text goes to the log's `print` when its last byte is a line feed, else to
// `println`, which ends the line itself. The problem (null for pool and enumerator messages) is
// not looked at.
void XPRS_CC callbackMessage(XPRSprob prob, void* state, const char* text, int length, int type);

// Notifies nuv::opt::context::progress, except while the running problem reports that no
// optimisation kind has been chosen yet (attribute 1268 reads -1). Always answers 0: a stop is
// asked for through an interrupt.
int XPRS_CC callbackCheckTime(XPRSprob prob, void* state);
// Notifies nuv::opt::context::node; the infeasible flag is left as Xpress passed it.
void XPRS_CC callbackOptNode(XPRSprob prob, void* state, int* infeasible);
// Notifies nuv::opt::context::new_incumbent.
void XPRS_CC callbackIntSol(XPRSprob prob, void* state);

}  // namespace qel

#endif  // QEL_XPRESS_XPRESS_CALLBACKS_HPP_
