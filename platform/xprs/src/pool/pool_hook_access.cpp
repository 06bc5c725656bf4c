// The library's implementation of the pool and enumerator test-hook door (see
// xprs_standin/pool_hook_access.hpp).
#include "xprs_standin/pool_hook_access.hpp"

#include "library.hpp"
#include "pool/pool.hpp"

namespace xprs::standin {

namespace {

class PoolHooks final : public PoolHookAccess {
 public:
  const PoolRecord* pool(XPRSmipsolpool msp) override {
    Pool* p = Library::instance().findPool(msp);
    return p ? &p->rec : nullptr;
  }
  const EnumeratorRecord* enumerator(XPRSmipsolenum mse) override {
    Enumerator* e = Library::instance().findEnumerator(mse);
    return e ? &e->rec : nullptr;
  }
  bool setIntAttrib(XPRSmipsolenum mse, int id, int value) override {
    Enumerator* e = Library::instance().findEnumerator(mse);
    if (e) e->rec.intAttribOverrides[id] = value;
    return e != nullptr;
  }
  bool clearAttribOverrides(XPRSmipsolenum mse) override {
    Enumerator* e = Library::instance().findEnumerator(mse);
    if (e) e->rec.intAttribOverrides.clear();
    return e != nullptr;
  }
  bool queueCullResponse(XPRSmipsolenum mse, const CullResponse& response) override {
    Enumerator* e = Library::instance().findEnumerator(mse);
    if (e) e->rec.cullResponses.push_back(response);
    return e != nullptr;
  }
  bool emitPoolMessage(XPRSmipsolpool msp, const char* text, int type) override {
    Pool* p = Library::instance().findPool(msp);
    if (p) sendObjectMessage(p->rec.msgHandler, p->rec.msgContext, p->handle, text, type);
    return p != nullptr;
  }
  bool emitEnumeratorMessage(XPRSmipsolenum mse, const char* text, int type) override {
    Enumerator* e = Library::instance().findEnumerator(mse);
    if (e) sendObjectMessage(e->rec.msgHandler, e->rec.msgContext, e->handle, text, type);
    return e != nullptr;
  }
  int livePools() override { return Library::instance().livePools(); }
  int liveEnumerators() override { return Library::instance().liveEnumerators(); }
};

}  // namespace

}  // namespace xprs::standin

extern "C" xprs::standin::PoolHookAccess* xprs_standin_pool_hook_access() {
  static xprs::standin::PoolHooks hooks;
  return &hooks;
}
