#include "tests/platform/xprs/pool/pool_fixture.hpp"

#include <algorithm>

#include "xprs_testing.hpp"

namespace xprs_test {

void loadMip(XPRSprob prob) {
  const double obj[] = {2, 2, 2, 2, -1, 1};
  const double ub[] = {1, 1, 1, 1, 2, 2};
  ASSERT_EQ(XPRSaddcols64(prob, kMipCols, 0, obj, nullptr, nullptr, nullptr, nullptr, ub), 0);
  const XPRSint64 start[] = {0, 4, 6};
  const int cols[] = {0, 1, 2, 3, 5, 4, 4, 0, 1};
  const double vals[] = {1, 1, 1, 1, 1, -1, 1, -1, -1};
  const double rhs[] = {2, 0.5, 0};
  ASSERT_EQ(XPRSaddrows64(prob, 3, 9, "LLL", rhs, nullptr, start, cols, vals), 0);
  const int intCols[] = {0, 1, 2, 3, 4};
  ASSERT_EQ(XPRSchgcoltype(prob, 5, intCols, "BBBBI"), 0);
  ASSERT_EQ(XPRSchgobjsense(prob, XPRS_OBJ_MAXIMIZE), 0);
}

std::vector<MipPoint> bruteForceMip() {
  std::vector<MipPoint> points;
  for (int bits = 0; bits < 16; ++bits) {
    std::vector<double> x(kMipCols, 0.0);
    for (std::size_t j = 0; j < 4; ++j) x[j] = (bits >> j) & 1;
    for (int z = 0; z <= 2 && x[0] + x[1] + x[2] + x[3] <= 2; ++z) {
      if (z > x[0] + x[1]) continue;
      x[4] = z;
      x[5] = std::min(2.0, 0.5 + z);
      points.push_back({x, 2 * (x[0] + x[1] + x[2] + x[3]) - x[4] + x[5]});
    }
  }
  return points;
}

void PoolTest::SetUp() {
  StandinTest::SetUp();
  ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_OUTPUTLOG, 0), 0);
  ASSERT_EQ(XPRS_msp_create(&pool_), 0);
  ASSERT_EQ(XPRS_mse_create(&mse_), 0);
}

void PoolTest::TearDown() {
  xprs::testing::clearFailures();
  EXPECT_EQ(XPRS_mse_destroy(mse_), 0);
  EXPECT_EQ(XPRS_msp_destroy(pool_), 0);
  EXPECT_EQ(xprs::testing::livePools(), 0);
  EXPECT_EQ(xprs::testing::liveEnumerators(), 0);
  StandinTest::TearDown();
}

std::string PoolTest::poolError() const {
  char buf[512] = {};
  XPRS_msp_getlasterror(pool_, nullptr, buf, 512, nullptr);
  return buf;
}

std::string PoolTest::enumError() const {
  char buf[512] = {};
  XPRS_mse_getlasterror(mse_, nullptr, buf, 512, nullptr);
  return buf;
}

int PoolTest::poolCount() const {
  int n = -1;
  EXPECT_EQ(XPRS_msp_getintattrib(pool_, XPRS_MSP_SOLUTIONS, &n), 0);
  return n;
}

void PoolTest::storeIncumbents(const std::vector<MipPoint>& points) {
  ASSERT_EQ(XPRS_msp_probattach(pool_, prob_), 0);
  xprs::testing::RunScript run;
  for (const MipPoint& p : points) {
    run.events.push_back(xprs::testing::ScriptEvent::intSol(p.objective, p.x));
  }
  xprs::testing::script(prob_, run);
  ASSERT_EQ(XPRSoptimize(prob_, "", nullptr, nullptr), 0);
  ASSERT_EQ(XPRS_msp_probdetach(pool_, prob_), 0);
}

void PoolTest::storeFour() {
  loadMip(prob_);
  storeIncumbents({{{1, 1, 0, 0, 2, 2}, 4},
                   {{0, 0, 0, 0, 0, 0.5}, 0.5},
                   {{1, 0, 0, 0, 1, 1.5}, 2.5},
                   {{0, 1, 1, 0, 0, 0.5}, 4.5}});
}

}  // namespace xprs_test
