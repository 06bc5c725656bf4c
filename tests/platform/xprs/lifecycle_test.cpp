// Library start and release, the live-handle registry, last errors, the call journal and
// failure injection for functions without a problem.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <cstring>
#include <string>

#include "tests/support/standin_test.hpp"
#include "xprs_testing.hpp"

namespace {

using xprs_test::StandinTest;

std::string globalError() {
  char buf[512] = {};
  XPRSgetlasterror(nullptr, buf);
  return buf;
}

TEST(LibraryTest, CreateNeedsInitAndInitCountsBalance) {
  xprs::testing::reset();
  XPRSprob prob = reinterpret_cast<XPRSprob>(0x1);
  EXPECT_EQ(XPRScreateprob(&prob), 32);
  EXPECT_EQ(prob, nullptr);
  EXPECT_EQ(globalError(), "XPRScreateprob: the library is not initialised");
  EXPECT_EQ(XPRSfree(), 32);
  EXPECT_EQ(globalError(), "XPRSfree: the library is not initialised");
  ASSERT_EQ(XPRSinit(nullptr), 0);
  ASSERT_EQ(XPRSinit(""), 0);
  EXPECT_EQ(xprs::testing::initCount(), 2);
  EXPECT_EQ(XPRSfree(), 0);
  EXPECT_EQ(XPRSfree(), 0);
  EXPECT_EQ(xprs::testing::initCount(), 0);
}

TEST(LibraryTest, InjectedInitAndCreateFailuresReportTheirText) {
  xprs::testing::reset();
  xprs::testing::failNext("XPRSinit", 279, "no licence found");
  EXPECT_EQ(XPRSinit(nullptr), 279);
  EXPECT_EQ(xprs::testing::initCount(), 0);
  char lic[16] = {};
  EXPECT_EQ(XPRSgetlicerrmsg(lic, sizeof lic), 0);
  EXPECT_STREQ(lic, "no licence foun");
  ASSERT_EQ(XPRSinit(nullptr), 0);
  xprs::testing::failNext("XPRScreateprob", 7, "cannot create", /*skip=*/1);
  XPRSprob first = nullptr;
  XPRSprob second = reinterpret_cast<XPRSprob>(0x1);
  EXPECT_EQ(XPRScreateprob(&first), 0);
  EXPECT_EQ(XPRScreateprob(&second), 7);
  EXPECT_EQ(second, nullptr);
  EXPECT_EQ(globalError(), "cannot create");
  EXPECT_EQ(XPRSdestroyprob(first), 0);
  EXPECT_EQ(XPRSfree(), 0);
}

TEST(LibraryTest, CreateFailureKeepingHandleLeavesTheVariableAlone) {
  xprs::testing::reset();
  ASSERT_EQ(XPRSinit(nullptr), 0);
  xprs::testing::failNextKeepingHandle("XPRScreateprob", 9, "kept");
  XPRSprob stale = reinterpret_cast<XPRSprob>(0x5);
  EXPECT_EQ(XPRScreateprob(&stale), 9);
  EXPECT_EQ(stale, reinterpret_cast<XPRSprob>(0x5));
  EXPECT_EQ(globalError(), "kept");
  // Only the injected call keeps the handle: the next failure writes NULL again.
  xprs::testing::failNext("XPRScreateprob", 9, "cleared");
  EXPECT_EQ(XPRScreateprob(&stale), 9);
  EXPECT_EQ(stale, nullptr);
  EXPECT_EQ(xprs::testing::liveProblems(), 0);
  EXPECT_EQ(XPRSfree(), 0);
}

TEST_F(StandinTest, DestroyedAndUnknownHandlesAreRefusedAndCounted) {
  expectMisuse_ = true;
  XPRSprob other = nullptr;
  ASSERT_EQ(XPRScreateprob(&other), 0);
  ASSERT_EQ(XPRSdestroyprob(other), 0);
  int value = 0;
  EXPECT_EQ(XPRSdestroyprob(other), 32);
  EXPECT_EQ(XPRSgetintcontrol(other, XPRS_PRESOLVE, &value), 32);
  EXPECT_EQ(globalError(), "XPRSgetintcontrol: unknown or destroyed problem handle");
  EXPECT_EQ(XPRSaddcols64(reinterpret_cast<XPRSprob>(0x1234), 0, 0, nullptr, nullptr, nullptr,
                          nullptr, nullptr, nullptr),
            32);
  EXPECT_EQ(XPRSsetintcontrol(nullptr, XPRS_PRESOLVE, 0), 32);
  EXPECT_EQ(globalError(), "XPRSsetintcontrol: the problem handle is NULL");
  EXPECT_EQ(xprs::testing::handleMisuse(), 4);
  // A new problem never reuses a destroyed handle.
  XPRSprob fresh = nullptr;
  ASSERT_EQ(XPRScreateprob(&fresh), 0);
  EXPECT_NE(fresh, other);
  EXPECT_EQ(XPRSdestroyprob(fresh), 0);
  EXPECT_EQ(xprs::testing::liveProblems(), 1);
}

TEST_F(StandinTest, LastErrorIsCutAt511Characters) {
  const std::string longText(700, 'x');
  xprs::testing::failNext("XPRSchgobjsense", 5, longText);
  EXPECT_EQ(XPRSchgobjsense(prob_, -1), 5);
  char buf[600];
  std::memset(buf, '#', sizeof buf);
  EXPECT_EQ(XPRSgetlasterror(prob_, buf), 0);
  EXPECT_EQ(std::strlen(buf), 511u);
  EXPECT_EQ(buf[512], '#');
  int code = 0;
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_ERRORCODE, &code), 0);
  EXPECT_EQ(code, 5);
  // The failed call changed nothing.
  double sense = 0;
  ASSERT_EQ(XPRSgetdblattrib(prob_, XPRS_OBJSENSE, &sense), 0);
  EXPECT_EQ(sense, 1.0);
}

TEST_F(StandinTest, JournalRecordsEveryCallInOrderWithDigests) {
  xprs::testing::clearCalls();
  const double lb[] = {0, 1};
  ASSERT_EQ(XPRSaddcols64(prob_, 2, 0, nullptr, nullptr, nullptr, nullptr, lb, nullptr), 0);
  int v = 0;
  ASSERT_EQ(XPRSgetintcontrol(prob_, XPRS_MPSNAMELENGTH, &v), 0);
  EXPECT_EQ(XPRSsetintcontrol(prob_, 7158, 3), 32);
  char buf[512];
  XPRSgetlasterror(prob_, buf);
  const auto calls = xprs::testing::calls();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0].function, "XPRSaddcols64");
  EXPECT_EQ(calls[0].handle, prob_);
  EXPECT_EQ(calls[0].digest, "ncols=2 ncoefs=0 objcoef=NULL lb=set ub=NULL");
  EXPECT_EQ(calls[1].digest, "control=8071");
  EXPECT_EQ(calls[2].digest, "control=7158 value=3");
  EXPECT_EQ(calls[3].function, "XPRSgetlasterror");
  EXPECT_EQ(xprs::testing::countCalls("XPRSgetintcontrol"), 1u);
  xprs::testing::clearCalls();
  EXPECT_TRUE(xprs::testing::calls().empty());
}

TEST_F(StandinTest, JournalKeepsTheMostRecentCallsWithShortTexts) {
  xprs::testing::clearCalls();
  int n = 0;
  for (int k = 0; k < 70000; ++k) XPRSgetintattrib(prob_, XPRS_COLS, &n);
  XPRSgetintattrib(prob_, XPRS_ROWS, &n);
  const std::string longName(300, 'n');
  EXPECT_EQ(XPRSsetprobname(prob_, longName.c_str()), 0);
  const auto calls = xprs::testing::calls();
  ASSERT_EQ(calls.size(), 65536u);
  EXPECT_EQ(calls.front().digest, "attrib=1018");
  EXPECT_EQ(calls[calls.size() - 2].digest, "attrib=1001");
  EXPECT_EQ(calls.back().digest, "name=\"" + std::string(256, 'n') + "...\"");
}

TEST_F(StandinTest, InjectedFailureServesTheNthCallAndLeavesTheModelUnchanged) {
  xprs::testing::failNext("XPRSaddcols64", 32, "injected", /*skip=*/1);
  ASSERT_EQ(XPRSaddcols64(prob_, 1, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(XPRSaddcols64(prob_, 1, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 32);
  EXPECT_EQ(lastError(), "injected");
  EXPECT_EQ(xprs::testing::inspect(prob_).model.cols(), 1);
  EXPECT_EQ(XPRSaddcols64(prob_, 1, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(xprs::testing::inspect(prob_).model.cols(), 2);
}

TEST_F(StandinTest, ProblemNameRoundTripsAndIsLimited) {
  ASSERT_EQ(XPRSsetprobname(prob_, "diet"), 0);
  char buf[1159] = {};
  ASSERT_EQ(XPRSgetprobname(prob_, buf), 0);
  EXPECT_STREQ(buf, "diet");
  const std::string tooLong(1025, 'n');
  EXPECT_EQ(XPRSsetprobname(prob_, tooLong.c_str()), 32);
  EXPECT_EQ(lastError(), "XPRSsetprobname: problem name longer than 1024 characters");
  EXPECT_EQ(XPRSsetprobname(prob_, nullptr), 32);
  EXPECT_EQ(lastError(), "XPRSsetprobname: name is NULL");
  int maxLen = 0;
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_MAXPROBNAMELENGTH, &maxLen), 0);
  EXPECT_EQ(maxLen, 1024);
}

TEST_F(StandinTest, CopyProbCopiesTheModelButNotControlsOrCallbacks) {
  const double obj[] = {2.0};
  ASSERT_EQ(XPRSaddcols64(prob_, 1, 0, obj, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_PRESOLVE, 0), 0);
  ASSERT_EQ(XPRSaddcbintsol(
                prob_, [](XPRSprob, void*) {}, nullptr, 0),
            0);
  XPRSprob copy = nullptr;
  ASSERT_EQ(XPRScreateprob(&copy), 0);
  ASSERT_EQ(XPRScopyprob(copy, prob_, "copy"), 0);
  const auto& rec = xprs::testing::inspect(copy);
  EXPECT_EQ(rec.model.cols(), 1);
  EXPECT_EQ(rec.model.objectives[0].coef[0], 2.0);
  EXPECT_EQ(rec.model.probName, "copy");
  EXPECT_TRUE(rec.intControls.empty());
  EXPECT_TRUE(rec.callbacks.empty());
  ASSERT_EQ(XPRScopycallbacks(copy, prob_), 0);
  EXPECT_EQ(rec.callbacks.size(), 1u);
  EXPECT_EQ(XPRScopyprob(copy, copy, nullptr), 32);
  char buf[512];
  XPRSgetlasterror(copy, buf);
  EXPECT_STREQ(buf, "XPRScopyprob: source and destination are the same problem");
  EXPECT_EQ(XPRSdestroyprob(copy), 0);
}

}  // namespace
