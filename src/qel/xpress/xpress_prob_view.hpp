// `qel::XpressProbView`: lends the problem of a running Xpress callback.
//
// Unbound (no problem) outside callbacks, so every checked operation then raises the start
// guard ": Requires model to be started first." without calling Xpress. The callback binds the
// problem Xpress hands it for the duration of one host callback and unbinds it afterwards. The
// view never owns or destroys the problem; its record of controls and fixed flag are its own,
// separate from the main problem's.
#ifndef QEL_XPRESS_XPRESS_PROB_VIEW_HPP_
#define QEL_XPRESS_XPRESS_PROB_VIEW_HPP_

#include <xprs.h>

#include "qel/xpress/xpress_prob_interface.hpp"

namespace qel {

class XpressProbView final : public XpressProbInterface {
 public:
  XpressProbView() = default;

  // Binds problem (null unbinds).
  void setProb(XPRSprob problem) noexcept { rawProb() = problem; }
};

}  // namespace qel

#endif  // QEL_XPRESS_XPRESS_PROB_VIEW_HPP_
