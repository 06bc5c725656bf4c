// `qel::CallbackState`: what the optimizer's callbacks reach while Xpress works (see
// xpress_callbacks.hpp): the log that takes the optimizer's messages, the host callback, and the
// view into which a callback binds the running problem, with the mutex held while it is bound.
//
//   qel::CallbackState state;
//   prob.addCBOptNode(qel::callbackOptNode, &state, 0);
//
// Its address is the context of every registration, so it must outlive them all; it can be
// neither copied nor moved. Only the callbacks lock: they hold probViewMutex from binding the
// view to unbinding it.
#ifndef QEL_XPRESS_CALLBACK_STATE_HPP_
#define QEL_XPRESS_CALLBACK_STATE_HPP_

#include <memory>
#include <mutex>

#include "nuv/opt/abstract_callback.hpp"
#include "nuv/opt/abstract_log.hpp"
#include "qel/xpress/xpress_prob_view.hpp"

namespace qel {

struct CallbackState {
  // Unbound outside callbacks; the same object for the state's whole life.
  const std::shared_ptr<XpressProbView> probView = std::make_shared<XpressProbView>();
  std::shared_ptr<nuv::opt::AbstractLog> log = std::make_shared<nuv::opt::AbstractLog>();
  // None until the host sets one.
  std::shared_ptr<nuv::opt::AbstractCallback> callback;
  std::mutex probViewMutex;
};

}  // namespace qel

#endif  // QEL_XPRESS_CALLBACK_STATE_HPP_
