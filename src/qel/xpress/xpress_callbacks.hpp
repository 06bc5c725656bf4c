// The optimizer's callbacks into a solver: the functions Xpress calls while it works, each with
// the solver's qel::Data record as its context.
//
//   prob.addCBMessage(qel::callbackMessage, data.get(), 0);
//   pool.setCBMessage(qel::callbackMessage, data.get());
//   prob.addCBOptNode(qel::callbackOptNode, data.get(), 0);
//
// callbackMessage passes problem, pool and enumerator messages to Data::log. The three others
// bind the running problem into Data::probView, notify Data::callback with their context
// (progress, node, new incumbent) and unbind the view, so that whatever the host asks with that
// context reads the running problem. Bind, notify and unbind run under Data::probViewMutex:
// callbacks of parallel search threads take turns with the single view.
//
// None of them lets an exception out into Xpress. When the host callback raises, or no host
// callback is set, the view is unbound, the failure goes to the log's `error` with the title
// "Callback", and the run is interrupted with the user-interrupt reason.
//
// The record must outlive every registration: the solver destroys problem, pool and enumerator
// before it releases the record.
#ifndef QEL_XPRESS_XPRESS_CALLBACKS_HPP_
#define QEL_XPRESS_XPRESS_CALLBACKS_HPP_

#include <xprs.h>

namespace qel {

// Drops a message of non-positive length or of type 4 (an error), and any message while no log is
// set. Otherwise the text goes to the log's `print` when its last byte is a line feed, else to
// `println`, which ends the line itself. The problem (null for pool and enumerator messages) is
// not looked at.
void XPRS_CC callbackMessage(XPRSprob prob, void* data, const char* text, int length, int type);

// Notifies nuv::opt::context::progress, except while the running problem reports that no
// optimisation kind has been chosen yet (attribute 1268 reads -1). Always answers 0: a stop is
// asked for through an interrupt.
int XPRS_CC callbackCheckTime(XPRSprob prob, void* data);
// Notifies nuv::opt::context::node; the infeasible flag is left as Xpress passed it.
void XPRS_CC callbackOptNode(XPRSprob prob, void* data, int* infeasible);
// Notifies nuv::opt::context::new_incumbent.
void XPRS_CC callbackIntSol(XPRSprob prob, void* data);

}  // namespace qel

#endif  // QEL_XPRESS_XPRESS_CALLBACKS_HPP_
