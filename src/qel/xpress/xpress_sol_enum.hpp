// `qel::XpressSolEnum`: the Xpress MIP solution enumerator, owned, with the state of its
// culling handler.
//
// The enumerator runs a MIP search that keeps looking for further solutions and stores them in a
// solution pool; qel::solEnumHandler keeps that pool within `capacity()`. Checked operations
// call their Xpress function with the enumerator's handle followed by their own arguments,
// unchanged and in order, and raise qel::XpressException (the enumerator's own error text, the
// return code, the function's name as trace) for a non-zero return code. The setters keep no
// record of the controls set.
//
//   auto enumerator = std::make_shared<qel::XpressSolEnum>();   // XPRS_mse_create
//   enumerator->setCBMessage(onMessage, &log);
//   enumerator->setCapacity(10);        // at most 10 solutions kept; 0 means no limit
//   enumerator->setMaxCullRounds(5);    // the sixth full pool stops the enumeration
//   enumerator->setVerbosity(1);        // report cull rounds through onMessage
//   const int rc = enumerator->opt(prob, *pool);   // not checked: the return code comes back
//
// Not copyable: the enumerator has exactly one owner, usually a std::shared_ptr. No operation
// takes a lock.
#ifndef QEL_XPRESS_XPRESS_SOL_ENUM_HPP_
#define QEL_XPRESS_XPRESS_SOL_ENUM_HPP_

#include <xprs.h>

#include <climits>
#include <string_view>

#include "qel/xpress/sol_enum_handler.hpp"
#include "qel/xpress/xpress_object.hpp"

namespace qel {

class XpressProbInterface;
class XpressSolPool;

namespace detail {

// The enumerator's C functions, for qel::XpressObject; its handler block is the context.
struct SolEnumCalls {
  using Handle = XPRSmipsolenum;
  using Context = SolEnumHandlerBlock;
  static constexpr std::string_view kCreateFailure = "Cannot create solution enumerator.";
  static constexpr auto create = QEL_XPRESS_CALL(XPRS_mse_create);
  static constexpr auto destroy = XPRS_mse_destroy;
  static constexpr auto getLastError = XPRS_mse_getlasterror;
  static constexpr auto setCBMessage = QEL_XPRESS_CALL(XPRS_mse_setcbmsghandler);
  static constexpr auto getIntAttrib = QEL_XPRESS_CALL(XPRS_mse_getintattrib);
  static constexpr auto getDblAttrib = QEL_XPRESS_CALL(XPRS_mse_getdblattrib);
  static constexpr auto getIntControl = QEL_XPRESS_CALL(XPRS_mse_getintcontrol);
  static constexpr auto getDblControl = QEL_XPRESS_CALL(XPRS_mse_getdblcontrol);
  static constexpr auto setIntControl = QEL_XPRESS_CALL(XPRS_mse_setintcontrol);
  static constexpr auto setDblControl = QEL_XPRESS_CALL(XPRS_mse_setdblcontrol);
};

}  // namespace detail

class XpressSolEnum final : public XpressObject<detail::SolEnumCalls> {
 public:
  // Creates the enumerator (XPRS_mse_create); the Xpress library must be initialised. Raises
  // qel::XpressException "Cannot create solution enumerator." (trace "XPRS_mse_create") on
  // failure. The destructor destroys the enumerator, if any, without examining the return code.
  XpressSolEnum() = default;

  // The pool's capacity for the culling handler: n, or 0 (no limit) when n is negative.
  void setCapacity(int n) noexcept { capacity_ = n < 0 ? 0 : n; }
  // Cull rounds allowed per enumeration: n, or 0 when n is negative.
  void setMaxCullRounds(int n) noexcept { context().maxCullRounds = n < 0 ? 0 : n; }
  // Message level of the culling handler, clamped into 0 (silent) to 2.
  void setVerbosity(int n) noexcept;

  // Runs the enumeration on problem's handle (taken without the start guard) into pool, with
  // qel::solEnumHandler culling; restarts the cull-round count at 0 first. NOT checked: returns
  // the return code of XPRS_mse_opt, which is also how a failure inside the handler shows.
  [[nodiscard]] int opt(const XpressProbInterface& problem, const XpressSolPool& pool);

  // Destroys the enumerator and creates a new one; the capacity is INT_MAX again, while the
  // cull-round count, round limit, verbosity and message pair are kept. The message forwarding is
  // not registered with the new enumerator: its own messages reach nobody until setCBMessage is
  // called again (the culling handler's still do). A failed creation raises "Cannot create solution
  // enumerator." and leaves the wrapper without an enumerator.
  void clear();

  // The culling state. setCBMessage stores its pair here, so the culling handler reports through
  // the latest registration too.
  [[nodiscard]] const SolEnumHandlerBlock& handlerBlock() const noexcept { return context(); }
  [[nodiscard]] int capacity() const noexcept { return capacity_; }

 private:
  int capacity_ = INT_MAX;
};

}  // namespace qel

#endif  // QEL_XPRESS_XPRESS_SOL_ENUM_HPP_
