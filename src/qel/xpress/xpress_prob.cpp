#include "qel/xpress/xpress_prob.hpp"

#include <xprs.h>

#include "qel/xpress/xpress_call.hpp"
#include "qel/xpress/xpress_exception.hpp"

namespace qel {

namespace {

// A new Xpress problem. A failed creation reads no error text: Xpress keeps none without a
// problem.
XPRSprob createProblem() {
  constexpr auto create = QEL_XPRESS_CALL(XPRScreateprob);
  XPRSprob created = nullptr;
  if (const int rc = create.function(&created); rc != 0) {
    throw XpressException("Cannot create problem.", rc, create.name);
  }
  return created;
}

// The return code is dropped: a problem that cannot be destroyed cannot be used either.
void destroyProblem(XPRSprob problem) noexcept { XPRSdestroyprob(problem); }

// A new Xpress problem holding a copy of source and its callbacks. The new problem is destroyed
// again when the copy fails, so nothing leaks.
XPRSprob copyProblem(XPRSprob source) {
  constexpr auto copyInto = QEL_XPRESS_CALL(XPRScopyprob);
  XPRSprob copy = createProblem();
  if (const int rc = copyInto.function(copy, source, nullptr); rc != 0) {
    destroyProblem(copy);
    throw XpressException("Cannot copy problem.", rc, copyInto.name);
  }
  // Callbacks are copied on a best-effort basis: the model itself was copied.
  XPRScopycallbacks(copy, source);
  return copy;
}

}  // namespace

XpressProb::XpressProb(const XpressProb& other) : XpressProbInterface(other) {
  rawProb() = nullptr;
  if (other.rawProb() != nullptr) rawProb() = copyProblem(other.rawProb());
}

XpressProb& XpressProb::operator=(const XpressProb& other) {
  if (this == &other || other.rawProb() == nullptr) return *this;
  if (rawProb() != nullptr) {
    destroyProblem(rawProb());
    // Cleared before the copy: a failed copy must not leave the destroyed handle behind.
    rawProb() = nullptr;
  }
  rawProb() = copyProblem(other.rawProb());
  return *this;
}

XpressProb::~XpressProb() {
  if (rawProb() != nullptr) destroyProblem(rawProb());
}

void XpressProb::start() { rawProb() = createProblem(); }

void XpressProb::clear() {
  if (rawProb() == nullptr) return;
  forgetState();
  destroyProblem(rawProb());
  // Cleared before the creation: a failed creation must not leave the destroyed handle behind.
  rawProb() = nullptr;
  rawProb() = createProblem();
}

}  // namespace qel
