// The door through which xprs_testing reaches the solution pools and enumerators inside
// libxprs (the counterpart of hook_access.hpp for problems). libxprs exports one C function,
// xprs_standin_pool_hook_access, returning the library's single PoolHookAccess object.
#ifndef XPRS_STANDIN_POOL_HOOK_ACCESS_HPP_
#define XPRS_STANDIN_POOL_HOOK_ACCESS_HPP_

#include <xprs.h>

#include "xprs_standin/pool_records.hpp"

namespace xprs::standin {

class PoolHookAccess {
 public:
  virtual ~PoolHookAccess() = default;

  // Null when the handle is not a live pool or enumerator.
  [[nodiscard]] virtual const PoolRecord* pool(XPRSmipsolpool msp) = 0;
  [[nodiscard]] virtual const EnumeratorRecord* enumerator(XPRSmipsolenum mse) = 0;
  // False when the handle is not a live enumerator or pool.
  virtual bool setIntAttrib(XPRSmipsolenum mse, int id, int value) = 0;
  virtual bool clearAttribOverrides(XPRSmipsolenum mse) = 0;
  virtual bool queueCullResponse(XPRSmipsolenum mse, const CullResponse& response) = 0;
  virtual bool emitPoolMessage(XPRSmipsolpool msp, const char* text, int type) = 0;
  virtual bool emitEnumeratorMessage(XPRSmipsolenum mse, const char* text, int type) = 0;
  [[nodiscard]] virtual int livePools() = 0;
  [[nodiscard]] virtual int liveEnumerators() = 0;
};

}  // namespace xprs::standin

extern "C" XPRS_EXPORT xprs::standin::PoolHookAccess* xprs_standin_pool_hook_access();

#endif  // XPRS_STANDIN_POOL_HOOK_ACCESS_HPP_
