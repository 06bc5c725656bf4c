// `qel::XpressSolPool`: the Xpress MIP solution pool, owned.
//
// The pool collects the integer solutions of the problems attached to it and of the solution
// enumerator. One operation per Xpress pool function the plug-in uses; the error reading, the
// attributes, controls and message forwarding are qel::XpressObject's, checked as described
// there (the pool's own error text, the return code, the function's name as trace).
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

#include <string_view>

#include "qel/xpress/message_callback.hpp"
#include "qel/xpress/xpress_object.hpp"

namespace qel {

class XpressProbInterface;

namespace detail {

// The pool's C functions, for qel::XpressObject.
struct SolPoolCalls {
  using Handle = XPRSmipsolpool;
  using Context = MessageTarget;
  static constexpr std::string_view kCreateFailure = "Cannot create solution pool.";
  static constexpr auto create = QEL_XPRESS_CALL(XPRS_msp_create);
  static constexpr auto destroy = XPRS_msp_destroy;
  static constexpr auto getLastError = XPRS_msp_getlasterror;
  static constexpr auto setCBMessage = QEL_XPRESS_CALL(XPRS_msp_setcbmsghandler);
  static constexpr auto getIntAttrib = QEL_XPRESS_CALL(XPRS_msp_getintattrib);
  static constexpr auto getDblAttrib = QEL_XPRESS_CALL(XPRS_msp_getdblattrib);
  static constexpr auto getIntControl = QEL_XPRESS_CALL(XPRS_msp_getintcontrol);
  static constexpr auto getDblControl = QEL_XPRESS_CALL(XPRS_msp_getdblcontrol);
  static constexpr auto setIntControl = QEL_XPRESS_CALL(XPRS_msp_setintcontrol);
  static constexpr auto setDblControl = QEL_XPRESS_CALL(XPRS_msp_setdblcontrol);
};

}  // namespace detail

class XpressSolPool final : public XpressObject<detail::SolPoolCalls> {
 public:
  // Creates the pool (XPRS_msp_create); the Xpress library must be initialised. Raises
  // qel::XpressException "Cannot create solution pool." (trace "XPRS_msp_create") on failure.
  // The destructor destroys the pool, if any, without examining the return code.
  XpressSolPool() = default;

  // Attaches or detaches a started problem (its prob() raises the start guard otherwise). A null
  // problem to probDetach does nothing.
  void probAttach(const XpressProbInterface& problem) const;
  void probDetach(XpressProbInterface* problem) const;

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
  void clear() { recreate(); }

  // The message function and context last given to setCBMessage.
  [[nodiscard]] const MessageTarget& messageTarget() const noexcept { return context(); }
};

}  // namespace qel

#endif  // QEL_XPRESS_XPRESS_SOL_POOL_HPP_
