#include "qel/xpress/xpress_sol_pool.hpp"

#include "qel/xpress/xpress_prob_interface.hpp"

namespace qel {

void XpressSolPool::probAttach(const XpressProbInterface& problem) const {
  call(QEL_XPRESS_CALL(XPRS_msp_probattach), problem.prob());
}

void XpressSolPool::probDetach(XpressProbInterface* problem) const {
  if (problem == nullptr) return;
  call(QEL_XPRESS_CALL(XPRS_msp_probdetach), problem->prob());
}

void XpressSolPool::getSolList(const XpressProbInterface& problem, int rankAttribute, int ascending,
                               int first, int last, int* ids, int* returnedCount,
                               int* totalCount) const {
  call(QEL_XPRESS_CALL(XPRS_msp_getsollist), problem.rawProb(), rankAttribute, ascending, first,
       last, ids, returnedCount, totalCount);
}

void XpressSolPool::getSol(int solutionId, int* idStatus, double* values, int firstColumn,
                           int lastColumn, int* returnedCount) const {
  call(QEL_XPRESS_CALL(XPRS_msp_getsol), solutionId, idStatus, values, firstColumn, lastColumn,
       returnedCount);
}

}  // namespace qel
