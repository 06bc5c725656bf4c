// The MIP solution pool and the solution enumerator. This library does not offer them yet:
// every function answers with an error whose text names the function, and the create
// functions return a null handle. The last-error readers report that text.
#include <xprs.h>

#include <algorithm>
#include <cstring>

#include "library.hpp"

using namespace xprs::standin;

namespace {

int unavailable(const char* function, const void* handle, const char* what) {
  Library& lib = Library::instance();
  if (int rc = lib.enterGlobal(function, handle, ""); rc != 0) return rc;
  lib.setGlobalError(kErrorCode,
                     text(function, ": the ", what, " is not available in this library"));
  return kErrorCode;
}

int pool(const char* function, const void* handle) {
  return unavailable(function, handle, "MIP solution pool");
}

int enumerator(const char* function, const void* handle) {
  return unavailable(function, handle, "MIP solution enumerator");
}

int lastError(const char* function, const void* handle, int* code, char* msg, int maxbytes,
              int* nbytes) {
  Library& lib = Library::instance();
  if (int rc = lib.enterGlobal(function, handle, ""); rc != 0) return rc;
  const std::string message = lib.globalError();
  if (code) *code = lib.globalErrorCode();
  if (nbytes) *nbytes = static_cast<int>(message.size()) + 1;
  if (msg && maxbytes > 0) {
    const std::size_t n = std::min(message.size(), static_cast<std::size_t>(maxbytes - 1));
    std::memcpy(msg, message.data(), n);
    msg[n] = '\0';
  }
  return 0;
}

}  // namespace

extern "C" {

int XPRS_CC XPRS_msp_create(XPRSmipsolpool* msp) {
  if (msp) *msp = nullptr;
  return pool("XPRS_msp_create", nullptr);
}
int XPRS_CC XPRS_msp_destroy(XPRSmipsolpool msp) { return pool("XPRS_msp_destroy", msp); }
int XPRS_CC XPRS_msp_probattach(XPRSmipsolpool msp, XPRSprob) {
  return pool("XPRS_msp_probattach", msp);
}
int XPRS_CC XPRS_msp_probdetach(XPRSmipsolpool msp, XPRSprob) {
  return pool("XPRS_msp_probdetach", msp);
}
int XPRS_CC XPRS_msp_getsollist(XPRSmipsolpool msp, XPRSprob, int, int, int, int, int[], int*,
                                int*) {
  return pool("XPRS_msp_getsollist", msp);
}
int XPRS_CC XPRS_msp_getsol(XPRSmipsolpool msp, int, int*, double[], int, int, int*) {
  return pool("XPRS_msp_getsol", msp);
}
int XPRS_CC XPRS_msp_delsol(XPRSmipsolpool msp, int, int*) { return pool("XPRS_msp_delsol", msp); }
int XPRS_CC XPRS_msp_setcbmsghandler(XPRSmipsolpool msp, XPRSobjmsghandler, void*) {
  return pool("XPRS_msp_setcbmsghandler", msp);
}
int XPRS_CC XPRS_msp_getlasterror(XPRSmipsolpool msp, int* iMsgCode, char* msg,
                                  int iStringBufferBytes, int* iBytesInInternalString) {
  return lastError("XPRS_msp_getlasterror", msp, iMsgCode, msg, iStringBufferBytes,
                   iBytesInInternalString);
}
int XPRS_CC XPRS_msp_getintcontrol(XPRSmipsolpool msp, int, int*) {
  return pool("XPRS_msp_getintcontrol", msp);
}
int XPRS_CC XPRS_msp_setintcontrol(XPRSmipsolpool msp, int, int) {
  return pool("XPRS_msp_setintcontrol", msp);
}
int XPRS_CC XPRS_msp_getdblcontrol(XPRSmipsolpool msp, int, double*) {
  return pool("XPRS_msp_getdblcontrol", msp);
}
int XPRS_CC XPRS_msp_setdblcontrol(XPRSmipsolpool msp, int, double) {
  return pool("XPRS_msp_setdblcontrol", msp);
}
int XPRS_CC XPRS_msp_getintattrib(XPRSmipsolpool msp, int, int*) {
  return pool("XPRS_msp_getintattrib", msp);
}
int XPRS_CC XPRS_msp_getdblattrib(XPRSmipsolpool msp, int, double*) {
  return pool("XPRS_msp_getdblattrib", msp);
}

int XPRS_CC XPRS_mse_create(XPRSmipsolenum* mse) {
  if (mse) *mse = nullptr;
  return enumerator("XPRS_mse_create", nullptr);
}
int XPRS_CC XPRS_mse_destroy(XPRSmipsolenum mse) { return enumerator("XPRS_mse_destroy", mse); }
int XPRS_CC XPRS_mse_opt(XPRSmipsolenum mse, XPRSprob, XPRSmipsolpool, XPRSmsesolhandler, void*,
                         int*) {
  return enumerator("XPRS_mse_opt", mse);
}
int XPRS_CC XPRS_mse_getcullchoice(XPRSmipsolenum mse, int, int[], int, int*, double,
                                   const double[], int, int*) {
  return enumerator("XPRS_mse_getcullchoice", mse);
}
int XPRS_CC XPRS_mse_setcbmsghandler(XPRSmipsolenum mse, XPRSobjmsghandler, void*) {
  return enumerator("XPRS_mse_setcbmsghandler", mse);
}
int XPRS_CC XPRS_mse_getlasterror(XPRSmipsolenum mse, int* iMsgCode, char* msg,
                                  int iStringBufferBytes, int* iBytesInInternalString) {
  return lastError("XPRS_mse_getlasterror", mse, iMsgCode, msg, iStringBufferBytes,
                   iBytesInInternalString);
}
int XPRS_CC XPRS_mse_getintcontrol(XPRSmipsolenum mse, int, int*) {
  return enumerator("XPRS_mse_getintcontrol", mse);
}
int XPRS_CC XPRS_mse_setintcontrol(XPRSmipsolenum mse, int, int) {
  return enumerator("XPRS_mse_setintcontrol", mse);
}
int XPRS_CC XPRS_mse_getdblcontrol(XPRSmipsolenum mse, int, double*) {
  return enumerator("XPRS_mse_getdblcontrol", mse);
}
int XPRS_CC XPRS_mse_setdblcontrol(XPRSmipsolenum mse, int, double) {
  return enumerator("XPRS_mse_setdblcontrol", mse);
}
int XPRS_CC XPRS_mse_getintattrib(XPRSmipsolenum mse, int, int*) {
  return enumerator("XPRS_mse_getintattrib", mse);
}
int XPRS_CC XPRS_mse_getdblattrib(XPRSmipsolenum mse, int, double*) {
  return enumerator("XPRS_mse_getdblattrib", mse);
}

}  // extern "C"
