#include "qel/xpress/xpress_sol_pool.hpp"

#include "qel/xpress/xpress_prob_interface.hpp"

namespace qel {

void XpressSolPool::probAttach(const XpressProbInterface& problem) const {
  check(XPRS_msp_probattach(handle(), problem.prob()), "XPRS_msp_probattach");
}

void XpressSolPool::probDetach(XpressProbInterface* problem) const {
  if (problem == nullptr) return;
  check(XPRS_msp_probdetach(handle(), problem->prob()), "XPRS_msp_probdetach");
}

void XpressSolPool::getSolList(const XpressProbInterface& problem, int rankAttribute, int ascending,
                               int first, int last, int* ids, int* returnedCount,
                               int* totalCount) const {
  check(XPRS_msp_getsollist(handle(), problem.rawProb(), rankAttribute, ascending, first, last, ids,
                            returnedCount, totalCount),
        "XPRS_msp_getsollist");
}

void XpressSolPool::getSol(int solutionId, int* idStatus, double* values, int firstColumn,
                           int lastColumn, int* returnedCount) const {
  check(XPRS_msp_getsol(handle(), solutionId, idStatus, values, firstColumn, lastColumn,
                        returnedCount),
        "XPRS_msp_getsol");
}

}  // namespace qel
