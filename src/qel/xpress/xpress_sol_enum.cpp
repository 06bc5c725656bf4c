#include "qel/xpress/xpress_sol_enum.hpp"

#include <algorithm>
#include <climits>

#include "qel/xpress/xpress_prob_interface.hpp"
#include "qel/xpress/xpress_sol_pool.hpp"

namespace qel {

namespace {

constexpr int kMaxVerbosity = 2;

}  // namespace

void XpressSolEnum::setVerbosity(int n) noexcept {
  context().verbosity = std::clamp(n, 0, kMaxVerbosity);
}

int XpressSolEnum::opt(const XpressProbInterface& problem, const XpressSolPool& pool) {
  context().cullRound = 0;
  return XPRS_mse_opt(handle(), problem.rawProb(), pool.handle(), solEnumHandler, &context(),
                      &capacity_);
}

void XpressSolEnum::clear() {
  recreate();
  capacity_ = INT_MAX;
}

}  // namespace qel
