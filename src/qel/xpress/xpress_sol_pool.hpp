// `qel::XpressSolPool`: the Xpress MIP solution pool, owned.
//
// The pool collects the integer solutions of the problems attached to it and of the solution
// enumerator. One operation per Xpress pool function the plug-in uses; each checked operation
// calls the function with the pool's handle followed by its own arguments, unchanged and in
// order, and raises qel::XpressException (the pool's own error text, the return code, the
// function's name as trace) for a non-zero return code. A failed call leaves the wrapper as it
// was. The setters keep no record of the controls set.
//
//   auto pool = std::make_shared<qel::XpressSolPool>();   // XPRS_msp_create
//   pool->setCBMessage(onMessage, &log);                    // messages arrive with a null problem
//   pool->probAttach(prob);                                 // prob must be started
//   const int stored = pool->getIntAttrib(XPRS_MSP_SOLUTIONS);
//
// Not copyable: the pool has exactly one owner, usually a std::shared_ptr. No operation takes a
// lock.
#ifndef QEL_XPRESS_XPRESS_SOL_POOL_HPP_
#define QEL_XPRESS_XPRESS_SOL_POOL_HPP_

#include <xprs.h>

#include <source_location>
#include <string>
#include <string_view>

#include "qel/xpress/message_callback.hpp"

namespace qel {

class XpressProbInterface;

class XpressSolPool final {
 public:
  // The function that receives the pool's messages and its context, as registered with Xpress.
  struct MessageTarget {
    MessageCallback msgFn = nullptr;
    void* msgCtx = nullptr;  // not owned
  };

  // Creates the pool (XPRS_msp_create); the Xpress library must be initialised. Raises
  // qel::XpressException "Cannot create solution pool." (trace "XPRS_msp_create") on failure.
  XpressSolPool();
  XpressSolPool(const XpressSolPool&) = delete;
  XpressSolPool& operator=(const XpressSolPool&) = delete;
  // Destroys the pool, if any; the return code of XPRS_msp_destroy is not examined.
  ~XpressSolPool();

  // Returns when returnCode is 0; otherwise raises qel::XpressException with the pool's last
  // error text, returnCode and function.
  void check(int returnCode, std::string_view function,
             std::source_location location = std::source_location::current()) const;
  // The pool's last error text (read into a zeroed 512-byte buffer; the return code of the read
  // is not examined).
  [[nodiscard]] std::string getLastError() const;

  // Attributes and controls of the pool (all checked).
  [[nodiscard]] int getIntAttrib(int id) const;
  [[nodiscard]] double getDblAttrib(int id) const;
  [[nodiscard]] int getIntControl(int id) const;
  [[nodiscard]] double getDblControl(int id) const;
  void setIntControl(int id, int value) const;
  void setDblControl(int id, double value) const;

  // Attaches or detaches a started problem (its prob() raises the start guard otherwise). A null
  // problem to probDetach does nothing.
  void probAttach(const XpressProbInterface& problem) const;
  void probDetach(XpressProbInterface* problem) const;

  // Stores fn and ctx, then registers the pool's message forwarding with Xpress (checked). The
  // stored pair is what Xpress holds, so the latest registration always wins; a null fn drops
  // every message. A failed registration keeps the new pair stored.
  void setCBMessage(MessageCallback fn, void* ctx);

  // XPRS_msp_getsollist: the ids of the solutions ranked by rankAttribute against problem's
  // handle (taken without the start guard; null ranks every solution), positions first to last
  // (1-based). Any of the out arguments may be null.
  void getSolList(const XpressProbInterface& problem, int rankAttribute, int ascending, int first,
                  int last, int* ids, int* returnedCount, int* totalCount) const;
  // XPRS_msp_getsol: values of columns firstColumn to lastColumn of a solution.
  void getSol(int solutionId, int* idStatus, double* values, int firstColumn, int lastColumn,
              int* returnedCount) const;

  // Destroys the pool and creates a new, empty one, attached to no problem. The stored message
  // function and context are kept but not registered with the new pool: its messages reach
  // nobody until setCBMessage is called again. A failed creation raises "Cannot create solution
  // pool." and leaves the wrapper without a pool.
  void clear();

  // The Xpress handle (null only after a failed clear).
  [[nodiscard]] XPRSmipsolpool handle() const noexcept { return xprsPool_; }
  [[nodiscard]] const MessageTarget& messageTarget() const noexcept { return message_; }

 private:
  XPRSmipsolpool xprsPool_ = nullptr;
  MessageTarget message_;
};

}  // namespace qel

#endif  // QEL_XPRESS_XPRESS_SOL_POOL_HPP_
