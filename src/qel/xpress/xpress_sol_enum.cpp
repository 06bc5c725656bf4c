#include "qel/xpress/xpress_sol_enum.hpp"

#include <algorithm>
#include <array>
#include <cstring>

#include "qel/xpress/xpress_exception.hpp"
#include "qel/xpress/xpress_prob_interface.hpp"
#include "qel/xpress/xpress_sol_pool.hpp"

namespace qel {

namespace {

constexpr int kErrorBufferSize = 512;
constexpr int kMaxVerbosity = 2;

// Forwards one enumerator message to the pair in the handler block registered as context.
// Enumerator messages belong to no problem. Never throws: the stored function must not.
int XPRS_CC solEnumMessage(XPRSobject /*object*/, void* context, void* /*thread*/, const char* text,
                           int messageType, int /*messageCode*/) {
  const auto& block = *static_cast<const SolEnumHandlerBlock*>(context);
  if (text == nullptr || block.msgFn == nullptr) return 0;
  block.msgFn(nullptr, block.msgCtx, text, static_cast<int>(std::strlen(text)), messageType);
  return 0;
}

XPRSmipsolenum createEnumerator() {
  XPRSmipsolenum created = nullptr;
  if (const int rc = XPRS_mse_create(&created); rc != 0) {
    throw XpressException("Cannot create solution enumerator.", rc, "XPRS_mse_create");
  }
  return created;
}

}  // namespace

XpressSolEnum::XpressSolEnum() : xprsEnum_(createEnumerator()) {}

XpressSolEnum::~XpressSolEnum() {
  // An enumerator that cannot be destroyed cannot be used either: the return code is dropped.
  if (xprsEnum_ != nullptr) XPRS_mse_destroy(xprsEnum_);
}

void XpressSolEnum::check(int returnCode, std::string_view function,
                          std::source_location location) const {
  if (returnCode == 0) return;
  throw XpressException(getLastError(), returnCode, function, location);
}

std::string XpressSolEnum::getLastError() const {
  std::array<char, kErrorBufferSize> buffer{};
  XPRS_mse_getlasterror(xprsEnum_, /*iMsgCode=*/nullptr, buffer.data(), kErrorBufferSize,
                        /*iBytesInInternalString=*/nullptr);
  return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
}

int XpressSolEnum::getIntAttrib(int id) const {
  int value = 0;
  check(XPRS_mse_getintattrib(xprsEnum_, id, &value), "XPRS_mse_getintattrib");
  return value;
}

double XpressSolEnum::getDblAttrib(int id) const {
  double value = 0.0;
  check(XPRS_mse_getdblattrib(xprsEnum_, id, &value), "XPRS_mse_getdblattrib");
  return value;
}

int XpressSolEnum::getIntControl(int id) const {
  int value = 0;
  check(XPRS_mse_getintcontrol(xprsEnum_, id, &value), "XPRS_mse_getintcontrol");
  return value;
}

double XpressSolEnum::getDblControl(int id) const {
  double value = 0.0;
  check(XPRS_mse_getdblcontrol(xprsEnum_, id, &value), "XPRS_mse_getdblcontrol");
  return value;
}

void XpressSolEnum::setIntControl(int id, int value) const {
  check(XPRS_mse_setintcontrol(xprsEnum_, id, value), "XPRS_mse_setintcontrol");
}

void XpressSolEnum::setDblControl(int id, double value) const {
  check(XPRS_mse_setdblcontrol(xprsEnum_, id, value), "XPRS_mse_setdblcontrol");
}

void XpressSolEnum::setCBMessage(MessageCallback fn, void* ctx) {
  handlerBlock_.msgFn = fn;
  handlerBlock_.msgCtx = ctx;
  check(XPRS_mse_setcbmsghandler(xprsEnum_, solEnumMessage, &handlerBlock_),
        "XPRS_mse_setcbmsghandler");
}

void XpressSolEnum::setVerbosity(int n) noexcept {
  handlerBlock_.verbosity = std::clamp(n, 0, kMaxVerbosity);
}

int XpressSolEnum::opt(const XpressProbInterface& problem, const XpressSolPool& pool) {
  handlerBlock_.cullRound = 0;
  return XPRS_mse_opt(xprsEnum_, problem.rawProb(), pool.handle(), solEnumHandler, &handlerBlock_,
                      &capacity_);
}

void XpressSolEnum::clear() {
  if (xprsEnum_ != nullptr) XPRS_mse_destroy(xprsEnum_);
  // Forgotten before the creation: a failed creation must not leave the destroyed handle behind
  // for the destructor.
  xprsEnum_ = nullptr;
  xprsEnum_ = createEnumerator();
  capacity_ = INT_MAX;
}

}  // namespace qel
