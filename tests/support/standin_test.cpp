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

int collectMessages(XPRSprob prob, std::vector<std::string>* lines) {
  return XPRSaddcbmessage(
      prob,
      [](XPRSprob, void* data, const char* msg, int len, int) {
        static_cast<std::vector<std::string>*>(data)->emplace_back(msg,
                                                                   static_cast<std::size_t>(len));
      },
      lines, 0);
}

void loadRangeRowModel(XPRSprob prob) {
  const double obj[] = {1};
  ASSERT_EQ(XPRSaddcols64(prob, 1, 0, obj, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  const char types[] = {'R'};
  const double rhs[] = {10};
  const double rng[] = {8};
  const XPRSint64 start[] = {0};
  const int cols[] = {0};
  const double vals[] = {1};
  ASSERT_EQ(XPRSaddrows64(prob, 1, 1, types, rhs, rng, start, cols, vals), 0);
}

}  // namespace xprs_test
