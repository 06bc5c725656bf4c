// The search behind XPRS_mse_opt: it finds the distinct MIP solutions of a problem in order of
// objective, best first, and hands each to the caller's solution handler.
//
// Strategy (k-best enumeration by partitioning, on Cbc): solve the MIP; every popped solution
// with integer values v splits its region (the column bounds it was found in) into disjoint
// regions that exclude v: for each integer column k in turn, the earlier integer columns are
// fixed at their values in v and column k is bounded to at most v_k - 1 or at least v_k + 1.
// Each non-empty region is solved to optimality and its optimum queued; the best queued
// solution comes next. Every assignment of the integer columns is thus found exactly once, with
// the best continuous part for it, and no cuts are added to the model. A cutoff (the problem's
// MIPABSCUTOFF when set, tightened to the worst stored objective whenever the handler asks)
// drops regions and queued solutions worse than it; ties with it are kept.
//
// Models with special ordered sets, semi-continuous, semi-integer or partial integer columns,
// quadratic or nonlinear parts, indicators or several objectives are refused.
#ifndef XPRS_ENUMERATE_HPP_
#define XPRS_ENUMERATE_HPP_

#include <xprs.h>

#include "pool/pool.hpp"

namespace xprs::standin {

// Runs one enumeration of prob into msp. Raises ApiError for handles that are not live and for
// models it cannot enumerate (the problem then reads as a failed run); returns a non-zero code
// with the enumerator's last error set when the handler fails.
int runEnumeration(Enumerator& mse, XPRSprob prob, XPRSmipsolpool msp, XPRSmsesolhandler handler,
                   void* context, int* nMaxSols);

}  // namespace xprs::standin

#endif  // XPRS_ENUMERATE_HPP_
