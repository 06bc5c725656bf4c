#include "engine/basis_map.hpp"

#include <xprs.h>

#include <coin/CoinFinite.hpp>

namespace xprs::standin {

int colStatusToXprs(ClpSimplex::Status s) {
  switch (s) {
    case ClpSimplex::basic:
      return XPRS_BASIC;
    case ClpSimplex::atUpperBound:
      return XPRS_AT_UPPER;
    case ClpSimplex::atLowerBound:
    case ClpSimplex::isFixed:
      return XPRS_AT_LOWER;
    default:
      return XPRS_FREE_SUPER;
  }
}

int rowStatusToXprs(ClpSimplex::Status s, char type) {
  if (s == ClpSimplex::basic) return XPRS_BASIC;
  if (s == ClpSimplex::isFree || s == ClpSimplex::superBasic) return XPRS_FREE_SUPER;
  switch (type) {
    case 'L':
    case 'E':
      return XPRS_AT_LOWER;
    case 'G':
      return XPRS_AT_UPPER;
    case 'R':
      return s == ClpSimplex::atLowerBound ? XPRS_AT_UPPER : XPRS_AT_LOWER;
    default:
      return XPRS_FREE_SUPER;
  }
}

ClpSimplex::Status colStatusToClp(int s, double lb, double ub) {
  const bool hasLb = lb > -COIN_DBL_MAX;
  const bool hasUb = ub < COIN_DBL_MAX;
  switch (s) {
    case XPRS_BASIC:
      return ClpSimplex::basic;
    case XPRS_AT_LOWER:
      return hasLb   ? ClpSimplex::atLowerBound
             : hasUb ? ClpSimplex::atUpperBound
                     : ClpSimplex::isFree;
    case XPRS_AT_UPPER:
      return hasUb   ? ClpSimplex::atUpperBound
             : hasLb ? ClpSimplex::atLowerBound
                     : ClpSimplex::isFree;
    default:
      return ClpSimplex::superBasic;
  }
}

ClpSimplex::Status rowStatusToClp(int s, char type) {
  if (s == XPRS_BASIC) return ClpSimplex::basic;
  if (s == XPRS_FREE_SUPER) return ClpSimplex::superBasic;
  switch (type) {
    case 'L':
      return s == XPRS_AT_UPPER ? ClpSimplex::atLowerBound : ClpSimplex::atUpperBound;
    case 'G':
    case 'E':
      return ClpSimplex::atLowerBound;
    case 'R':
      return s == XPRS_AT_UPPER ? ClpSimplex::atLowerBound : ClpSimplex::atUpperBound;
    default:
      return ClpSimplex::isFree;
  }
}

}  // namespace xprs::standin
