// `qel::MessageCallback`: the function that receives the optimizer's messages, and
// `qel::MessageTarget`, one with its context.
//
// The problem's message callback has this shape, and the solution pool and enumerator forward
// their messages through one as well (with a null problem). Arguments: the Xpress problem or
// null, the context given at registration, the text, its length in bytes and the message type.
// It must not throw: it is called from C code.
#ifndef QEL_XPRESS_MESSAGE_CALLBACK_HPP_
#define QEL_XPRESS_MESSAGE_CALLBACK_HPP_

#include <xprs.h>

namespace qel {

using MessageCallback = void(XPRS_CC*)(XPRSprob prob, void* context, const char* text, int length,
                                       int type);

// A message function and the context it is handed, as the solution pool keeps them.
struct MessageTarget {
  MessageCallback msgFn = nullptr;
  void* msgCtx = nullptr;  // not owned
};

}  // namespace qel

#endif  // QEL_XPRESS_MESSAGE_CALLBACK_HPP_
