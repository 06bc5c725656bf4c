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
#include <source_location>
#include <string>
#include <string_view>

#include "qel/xpress/message_callback.hpp"
#include "qel/xpress/sol_enum_handler.hpp"

namespace qel {

class XpressProbInterface;
class XpressSolPool;

class XpressSolEnum final {
 public:
  // Creates the enumerator (XPRS_mse_create); the Xpress library must be initialised. Raises
  // qel::XpressException "Cannot create solution enumerator." (trace "XPRS_mse_create") on
  // failure.
  XpressSolEnum();
  XpressSolEnum(const XpressSolEnum&) = delete;
  XpressSolEnum& operator=(const XpressSolEnum&) = delete;
  // Destroys the enumerator, if any; the return code of XPRS_mse_destroy is not examined.
  ~XpressSolEnum();

  // Returns when returnCode is 0; otherwise raises qel::XpressException with the enumerator's
  // last error text, returnCode and function.
  void check(int returnCode, std::string_view function,
             std::source_location location = std::source_location::current()) const;
  // The enumerator's last error text (read into a zeroed 512-byte buffer; the return code of the
  // read is not examined).
  [[nodiscard]] std::string getLastError() const;

  // Attributes and controls of the enumerator (all checked).
  [[nodiscard]] int getIntAttrib(int id) const;
  [[nodiscard]] double getDblAttrib(int id) const;
  [[nodiscard]] int getIntControl(int id) const;
  [[nodiscard]] double getDblControl(int id) const;
  void setIntControl(int id, int value) const;
  void setDblControl(int id, double value) const;

  // Stores fn and ctx in the handler block, then registers the enumerator's message forwarding
  // with Xpress (checked). The culling handler reports through the same pair. The latest
  // registration always wins; a null fn drops every message. A failed registration keeps the
  // new pair stored.
  void setCBMessage(MessageCallback fn, void* ctx);

  // The pool's capacity for the culling handler: n, or 0 (no limit) when n is negative.
  void setCapacity(int n) noexcept { capacity_ = n < 0 ? 0 : n; }
  // Cull rounds allowed per enumeration: n, or 0 when n is negative.
  void setMaxCullRounds(int n) noexcept { handlerBlock_.maxCullRounds = n < 0 ? 0 : n; }
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

  // The Xpress handle (null only after a failed clear).
  [[nodiscard]] XPRSmipsolenum handle() const noexcept { return xprsEnum_; }
  [[nodiscard]] const SolEnumHandlerBlock& handlerBlock() const noexcept { return handlerBlock_; }
  [[nodiscard]] int capacity() const noexcept { return capacity_; }

 private:
  XPRSmipsolenum xprsEnum_ = nullptr;
  SolEnumHandlerBlock handlerBlock_;
  int capacity_ = INT_MAX;
};

}  // namespace qel

#endif  // QEL_XPRESS_XPRESS_SOL_ENUM_HPP_
