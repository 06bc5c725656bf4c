// Controls of the Xpress nonlinear solver that <xprs.h> does not name, by their ids: the solver
// options xslp_nlpSolver and xslp_multistart_maxSolves set the same controls by name.
#ifndef QEL_XPRESS_NLP_CONTROLS_HPP_
#define QEL_XPRESS_NLP_CONTROLS_HPP_

namespace qel {

// The nonlinear solver chosen.
inline constexpr int kXslpNlpSolver = 12417;
// The most jobs a multistart run performs.
inline constexpr int kXslpMultistartMaxSolves = 12364;

}  // namespace qel

#endif  // QEL_XPRESS_NLP_CONTROLS_HPP_
