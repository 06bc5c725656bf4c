// `qel::XpressObject<Calls>`: an owned Xpress object other than a problem (a MIP solution pool or
// solution enumerator) with the checked calls every such object offers.
//
// Calls names the object's C functions (see detail::SolPoolCalls in xpress_sol_pool.hpp):
//   Handle                the handle type
//   Context               the state whose address is the context of the message forwarding;
//                         it has the members `MessageCallback msgFn` and `void* msgCtx`
//   kCreateFailure        the text raised when creation fails
//   create                XpressCall of int(Handle*)
//   destroy               int(Handle)
//   getLastError          int(Handle, int* code, char* text, int size, int* length)
//   setCBMessage          XpressCall of int(Handle, XPRSobjmsghandler, void*)
//   getIntAttrib, getDblAttrib, getIntControl, getDblControl
//                         XpressCall of int(Handle, int id, int* or double*)
//   setIntControl, setDblControl
//                         XpressCall of int(Handle, int id, int or double)
//
// Each checked operation calls its function with the handle followed by its own arguments,
// unchanged and in order, and raises qel::XpressException (the object's own error text, the
// return code, the function's name as trace) for a non-zero return code. A failed call leaves
// the object as it was. The setters keep no record of the controls set.
//
// Not copyable: the object has exactly one owner. No operation takes a lock. The context lives
// as long as the handle: the destructor destroys the handle before any member.
#ifndef QEL_XPRESS_XPRESS_OBJECT_HPP_
#define QEL_XPRESS_XPRESS_OBJECT_HPP_

#include <xprs.h>

#include <array>
#include <cstring>
#include <source_location>
#include <string>
#include <string_view>

#include "qel/xpress/message_callback.hpp"
#include "qel/xpress/xpress_call.hpp"
#include "qel/xpress/xpress_exception.hpp"

namespace qel {

template <class Calls>
class XpressObject {
 public:
  using Handle = typename Calls::Handle;
  using Context = typename Calls::Context;

  XpressObject(const XpressObject&) = delete;
  XpressObject& operator=(const XpressObject&) = delete;

  // Returns when returnCode is 0; otherwise raises qel::XpressException with the object's last
  // error text, returnCode and function.
  void check(int returnCode, std::string_view function,
             std::source_location location = std::source_location::current()) const {
    if (returnCode == 0) return;
    throw XpressException(getLastError(), returnCode, function, location);
  }
  // The object's last error text (read into a zeroed 512-byte buffer; the return code of the
  // read is not examined).
  [[nodiscard]] std::string getLastError() const {
    std::array<char, kErrorBufferSize> buffer{};
    Calls::getLastError(handle_, /*iMsgCode=*/nullptr, buffer.data(), kErrorBufferSize,
                        /*iBytesInInternalString=*/nullptr);
    return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
  }

  // Attributes and controls of the object (all checked).
  [[nodiscard]] int getIntAttrib(int id) const { return get(Calls::getIntAttrib, id); }
  [[nodiscard]] double getDblAttrib(int id) const { return get(Calls::getDblAttrib, id); }
  [[nodiscard]] int getIntControl(int id) const { return get(Calls::getIntControl, id); }
  [[nodiscard]] double getDblControl(int id) const { return get(Calls::getDblControl, id); }
  void setIntControl(int id, int value) const { call(Calls::setIntControl, id, value); }
  void setDblControl(int id, double value) const { call(Calls::setDblControl, id, value); }

  // Stores fn and ctx in the context, then registers the object's message forwarding with Xpress
  // (checked): each message reaches fn with a null problem, ctx, the text, its length and the
  // message type; a null text or a null fn drops it. The latest registration always wins. A
  // failed registration keeps the new pair stored.
  void setCBMessage(MessageCallback fn, void* ctx) {
    context_.msgFn = fn;
    context_.msgCtx = ctx;
    call(Calls::setCBMessage, forwardMessage, &context_);
  }

  // The Xpress handle (null only after a failed recreate).
  [[nodiscard]] Handle handle() const noexcept { return handle_; }

 protected:
  // Creates the object; the Xpress library must be initialised. Raises qel::XpressException
  // with Calls::kCreateFailure (trace: the create function) on failure.
  XpressObject() : handle_(create()) {}
  // Destroys the object, if any; the return code of the destroy function is not examined.
  ~XpressObject() {
    // An object that cannot be destroyed cannot be used either: the return code is dropped.
    if (handle_ != nullptr) Calls::destroy(handle_);
  }

  // Destroys the object and creates a new one, which has no message forwarding registered; the
  // context is kept. A failed creation raises as the constructor does and leaves no object.
  void recreate() {
    if (handle_ != nullptr) Calls::destroy(handle_);
    // Forgotten before the creation: a failed creation must not leave the destroyed handle behind
    // for the destructor.
    handle_ = nullptr;
    handle_ = create();
  }

  // The checked call: function with the handle and args, its return code passed to check() with
  // the function's name.
  template <class Function, class... Args>
  void call(const XpressCall<Function>& function, Args... args) const {
    check(function.function(handle_, args...), function.name);
  }

  [[nodiscard]] Context& context() noexcept { return context_; }
  [[nodiscard]] const Context& context() const noexcept { return context_; }

 private:
  static constexpr int kErrorBufferSize = 512;

  static Handle create() {
    Handle created = nullptr;
    if (const int rc = Calls::create.function(&created); rc != 0) {
      throw XpressException(std::string(Calls::kCreateFailure), rc, Calls::create.name);
    }
    return created;
  }

  template <class T>
  T get(const XpressCall<int(XPRS_CC*)(Handle, int, T*)>& function, int id) const {
    T value{};
    call(function, id, &value);
    return value;
  }

  // Forwards one message to the pair in the context. Messages of these objects belong to no
  // problem. Never throws: the stored function must not.
  static int XPRS_CC forwardMessage(XPRSobject /*object*/, void* context, void* /*thread*/,
                                    const char* text, int messageType, int /*messageCode*/) {
    const auto& target = *static_cast<const Context*>(context);
    if (text == nullptr || target.msgFn == nullptr) return 0;
    target.msgFn(nullptr, target.msgCtx, text, static_cast<int>(std::strlen(text)), messageType);
    return 0;
  }

  Context context_;
  Handle handle_ = nullptr;
};

}  // namespace qel

#endif  // QEL_XPRESS_XPRESS_OBJECT_HPP_
