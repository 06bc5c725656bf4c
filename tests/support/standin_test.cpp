#include "tests/support/standin_test.hpp"

#include "xprs_testing.hpp"

namespace xprs_test {

void StandinTest::SetUp() {
  xprs::testing::reset();
  ASSERT_EQ(XPRSinit(nullptr), 0);
  ASSERT_EQ(XPRScreateprob(&prob_), 0);
}

void StandinTest::TearDown() {
  xprs::testing::clearFailures();
  if (prob_ != nullptr) {
    EXPECT_EQ(XPRSdestroyprob(prob_), 0);
  }
  XPRSfree();
  if (!expectMisuse_) {
    EXPECT_EQ(xprs::testing::handleMisuse(), 0);
  }
  EXPECT_EQ(xprs::testing::liveProblems(), 0);
  EXPECT_EQ(xprs::testing::initCount(), 0);
}

std::string StandinTest::lastError() const {
  char buf[512] = {};
  XPRSgetlasterror(prob_, buf);
  return buf;
}

}  // namespace xprs_test
