#include "qel/xpress/xpress_sol_pool.hpp"

#include <array>
#include <cstddef>
#include <cstring>

#include "qel/xpress/xpress_exception.hpp"
#include "qel/xpress/xpress_prob_interface.hpp"

namespace qel {

namespace {

constexpr int kErrorBufferSize = 512;

// Forwards one pool message to the pair registered as context. Pool messages belong to no
// problem. Never throws: the stored function must not.
int XPRS_CC solPoolMessage(XPRSobject /*object*/, void* context, void* /*thread*/, const char* text,
                           int messageType, int /*messageCode*/) {
  const auto& target = *static_cast<const XpressSolPool::MessageTarget*>(context);
  if (text == nullptr || target.msgFn == nullptr) return 0;
  target.msgFn(nullptr, target.msgCtx, text, static_cast<int>(std::strlen(text)), messageType);
  return 0;
}

XPRSmipsolpool createPool() {
  XPRSmipsolpool created = nullptr;
  if (const int rc = XPRS_msp_create(&created); rc != 0) {
    throw XpressException("Cannot create solution pool.", rc, "XPRS_msp_create");
  }
  return created;
}

}  // namespace

XpressSolPool::XpressSolPool() : xprsPool_(createPool()) {}

XpressSolPool::~XpressSolPool() {
  // A pool that cannot be destroyed cannot be used either: the return code is dropped.
  if (xprsPool_ != nullptr) XPRS_msp_destroy(xprsPool_);
}

void XpressSolPool::check(int returnCode, std::string_view function,
                          std::source_location location) const {
  if (returnCode == 0) return;
  throw XpressException(getLastError(), returnCode, function, location);
}

std::string XpressSolPool::getLastError() const {
  std::array<char, kErrorBufferSize> buffer{};
  XPRS_msp_getlasterror(xprsPool_, /*iMsgCode=*/nullptr, buffer.data(), kErrorBufferSize,
                        /*iBytesInInternalString=*/nullptr);
  return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
}

int XpressSolPool::getIntAttrib(int id) const {
  int value = 0;
  check(XPRS_msp_getintattrib(xprsPool_, id, &value), "XPRS_msp_getintattrib");
  return value;
}

double XpressSolPool::getDblAttrib(int id) const {
  double value = 0.0;
  check(XPRS_msp_getdblattrib(xprsPool_, id, &value), "XPRS_msp_getdblattrib");
  return value;
}

int XpressSolPool::getIntControl(int id) const {
  int value = 0;
  check(XPRS_msp_getintcontrol(xprsPool_, id, &value), "XPRS_msp_getintcontrol");
  return value;
}

double XpressSolPool::getDblControl(int id) const {
  double value = 0.0;
  check(XPRS_msp_getdblcontrol(xprsPool_, id, &value), "XPRS_msp_getdblcontrol");
  return value;
}

void XpressSolPool::setIntControl(int id, int value) const {
  check(XPRS_msp_setintcontrol(xprsPool_, id, value), "XPRS_msp_setintcontrol");
}

void XpressSolPool::setDblControl(int id, double value) const {
  check(XPRS_msp_setdblcontrol(xprsPool_, id, value), "XPRS_msp_setdblcontrol");
}

void XpressSolPool::probAttach(const XpressProbInterface& problem) const {
  check(XPRS_msp_probattach(xprsPool_, problem.prob()), "XPRS_msp_probattach");
}

void XpressSolPool::probDetach(XpressProbInterface* problem) const {
  if (problem == nullptr) return;
  check(XPRS_msp_probdetach(xprsPool_, problem->prob()), "XPRS_msp_probdetach");
}

void XpressSolPool::setCBMessage(MessageCallback fn, void* ctx) {
  message_ = {fn, ctx};
  check(XPRS_msp_setcbmsghandler(xprsPool_, solPoolMessage, &message_), "XPRS_msp_setcbmsghandler");
}

void XpressSolPool::getSolList(const XpressProbInterface& problem, int rankAttribute, int ascending,
                               int first, int last, int* ids, int* returnedCount,
                               int* totalCount) const {
  check(XPRS_msp_getsollist(xprsPool_, problem.rawProb(), rankAttribute, ascending, first, last,
                            ids, returnedCount, totalCount),
        "XPRS_msp_getsollist");
}

void XpressSolPool::getSol(int solutionId, int* idStatus, double* values, int firstColumn,
                           int lastColumn, int* returnedCount) const {
  check(XPRS_msp_getsol(xprsPool_, solutionId, idStatus, values, firstColumn, lastColumn,
                        returnedCount),
        "XPRS_msp_getsol");
}

void XpressSolPool::clear() {
  if (xprsPool_ != nullptr) XPRS_msp_destroy(xprsPool_);
  // Forgotten before the creation: a failed creation must not leave the destroyed handle behind
  // for the destructor.
  xprsPool_ = nullptr;
  xprsPool_ = createPool();
}

}  // namespace qel
