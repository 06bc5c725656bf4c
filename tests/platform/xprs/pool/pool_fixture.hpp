// Shared by the solution pool and enumerator tests: a small MIP with its brute-force solutions,
// and a fixture with a quiet problem, a pool and an enumerator, released and checked at the end.
#ifndef TESTS_PLATFORM_XPRS_POOL_POOL_FIXTURE_HPP_
#define TESTS_PLATFORM_XPRS_POOL_POOL_FIXTURE_HPP_

#include <xprs.h>

#include <string>
#include <vector>

#include "tests/support/standin_test.hpp"

namespace xprs_test {

// maximise 2(x0 + x1 + x2 + x3) - z + y  s.t.  x0 + x1 + x2 + x3 <= 2,  y - z <= 0.5,
// z - x0 - x1 <= 0,  x binary, z integer in [0, 2], y in [0, 2]. For fixed integers the best y
// is min(2, 0.5 + z): 19 assignments are feasible, 11 of them reach the optimum 4.5.
inline constexpr int kMipCols = 6;  // x0..x3, z, y
void loadMip(XPRSprob prob);

struct MipPoint {
  std::vector<double> x;
  double objective = 0.0;
};
// Every feasible integer assignment of that MIP with its best y.
[[nodiscard]] std::vector<MipPoint> bruteForceMip();

class PoolTest : public StandinTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  [[nodiscard]] std::string poolError() const;
  [[nodiscard]] std::string enumError() const;
  [[nodiscard]] int poolCount() const;
  // Stores the points as incumbents of a scripted run of prob_ (attached for the run only).
  void storeIncumbents(const std::vector<MipPoint>& points);
  // loadMip, then four of its solutions stored with ids 1 to 4 (objectives 4, 0.5, 2.5, 4.5).
  void storeFour();
  XPRSmipsolpool pool_ = nullptr;
  XPRSmipsolenum mse_ = nullptr;
};

}  // namespace xprs_test

#endif  // TESTS_PLATFORM_XPRS_POOL_POOL_FIXTURE_HPP_
