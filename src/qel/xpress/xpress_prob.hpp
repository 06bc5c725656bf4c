// `qel::XpressProb`: the main Xpress problem, owned.
//
// Starts without a problem; start() creates it, clear() replaces it by a new empty one and the
// destructor destroys it. Everything Xpress held for a replaced problem (columns, rows, controls,
// callbacks, name) is gone with it, and so are the record of controls set and the fixed flag.
//
//   auto prob = std::make_shared<qel::XpressProb>();
//   prob->start();                       // XPRScreateprob; the Xpress library must be initialised
//   prob->setIntControl(XPRS_PRESOLVE, 0);
//   prob->clear();                       // a new, empty problem; nothing recorded
//
// A failed creation raises qel::XpressException "Cannot create problem." (trace
// "XPRScreateprob") and leaves the wrapper without a problem, so later calls meet the start guard
// and nothing is destroyed twice.
#ifndef QEL_XPRESS_XPRESS_PROB_HPP_
#define QEL_XPRESS_XPRESS_PROB_HPP_

#include "qel/xpress/xpress_prob_interface.hpp"

namespace qel {

class XpressProb final : public XpressProbInterface {
 public:
  XpressProb() = default;
  // A copy of the source's problem, callbacks included, in a new Xpress problem, with the
  // source's record of controls and fixed flag; a source without a problem gives a copy without
  // one. Raises "Cannot create problem." or "Cannot copy problem." (trace "XPRScopyprob").
  XpressProb(const XpressProb& other);
  // A source without a problem leaves the target unchanged. Otherwise the target's problem is
  // destroyed and replaced by a copy of the source's, as in the copy constructor; the target
  // keeps its own record of controls and fixed flag. After a failure the target has no problem.
  XpressProb& operator=(const XpressProb& other);
  // Destroys the problem, if any (the return code of XPRSdestroyprob is not examined).
  ~XpressProb();

  // Creates the problem. Call once, on a wrapper that has none.
  void start();
  [[nodiscard]] bool started() const noexcept { return rawProb() != nullptr; }
  // Always false: no operation marks the problem as being solved.
  [[nodiscard]] bool isSolving() const noexcept { return false; }
  // On a started problem: forgets the record of controls and the fixed flag, destroys the
  // problem and creates a new one. Does nothing when the problem was never started.
  void clear();
};

}  // namespace qel

#endif  // QEL_XPRESS_XPRESS_PROB_HPP_
