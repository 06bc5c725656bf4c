// The owned main problem: start, clear, copies and destruction against the optimizer stand-in.
// The fixture's TearDown expects no live problem and no call on a dead handle, so a leak or a
// double destroy fails every test here.
#include "qel/xpress/xpress_prob.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <optional>

#include "nuv/exception.hpp"
#include "qel/xpress/xpress_exception.hpp"
#include "tests/support/standin_test.hpp"
#include "xprs_testing.hpp"

namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;

namespace xt = xprs::testing;

// A problem with one column of upper bound ub, presolve recorded and, with fix, fixed.
void fill(qel::XpressProb& p, double ub, bool fix) {
  p.start();
  const double upper[] = {ub};
  p.addCols(1, 0, nullptr, nullptr, nullptr, nullptr, nullptr, upper);
  p.setIntControl(XPRS_PRESOLVE, 0);
  if (fix) {
    xt::RunScript run;
    run.run.optType = XPRS_OPTIMIZETYPE_MIP;
    run.results.primalAvail = 2;
    run.results.x = {1.0};
    xt::script(p.rawProb(), run);
    ASSERT_EQ(p.optimize("", nullptr, nullptr), 0);
    p.fixMipEntities(1);
  }
}

class XpressProbTest : public xprs_test::StandinTest {
 protected:
  void TearDown() override {
    a_.reset();
    b_.reset();
    StandinTest::TearDown();
  }
  std::optional<qel::XpressProb> a_{std::in_place};
  std::optional<qel::XpressProb> b_{std::in_place};
};

TEST_F(XpressProbTest, StartCreatesAndDestructionDestroys) {
  EXPECT_FALSE(a_->started());
  EXPECT_FALSE(a_->isSolving());
  const int before = xt::liveProblems();
  a_->start();
  EXPECT_TRUE(a_->started());
  EXPECT_EQ(xt::liveProblems(), before + 1);
  a_.reset();
  EXPECT_EQ(xt::liveProblems(), before);
}

TEST_F(XpressProbTest, FailedStartLeavesNoProblem) {
  xt::failNextKeepingHandle("XPRScreateprob", 7, "ignored");
  xt::clearCalls();
  EXPECT_THAT([&] { a_->start(); },
              ThrowsMessage<qel::XpressException>(
                  StrEq("Xpress (7): Cannot create problem. [Trace: XPRScreateprob]")));
  EXPECT_EQ(xt::countCalls("XPRSgetlasterror"), 0u);
  EXPECT_FALSE(a_->started());
}

TEST_F(XpressProbTest, ClearReplacesTheProblemAndForgetsItsState) {
  b_->clear();  // never started: nothing happens
  EXPECT_FALSE(b_->started());
  fill(*a_, 5.0, /*fix=*/true);
  a_->setProbName("old");
  const XPRSprob old = a_->rawProb();
  a_->clear();
  EXPECT_TRUE(a_->started());
  EXPECT_NE(a_->rawProb(), old);
  EXPECT_FALSE(a_->modifiedControl(XPRS_PRESOLVE));
  EXPECT_FALSE(a_->isFixed());
  EXPECT_EQ(xt::inspect(a_->rawProb()).model.cols(), 0);
  EXPECT_EQ(a_->getProbName(), "");
  EXPECT_EQ(a_->getIntControl(XPRS_PRESOLVE), 1);
  EXPECT_THROW((void)xt::inspect(old), std::invalid_argument);
}

TEST_F(XpressProbTest, FailedRecreationLeavesNoStaleHandle) {
  fill(*a_, 5.0, /*fix=*/false);
  xt::failNextKeepingHandle("XPRScreateprob", 12, "ignored");
  EXPECT_THAT([&] { a_->clear(); },
              ThrowsMessage<qel::XpressException>(
                  StrEq("Xpress (12): Cannot create problem. [Trace: XPRScreateprob]")));
  EXPECT_FALSE(a_->started());
  EXPECT_THAT([&] { (void)a_->getIntControl(XPRS_PRESOLVE); },
              ThrowsMessage<nuv::Exception>(StrEq(": Requires model to be started first.")));
  // TearDown: the destructor must not destroy the old problem a second time.
}

TEST_F(XpressProbTest, CopyHoldsANewProblemWithTheSourceState) {
  fill(*a_, 5.0, /*fix=*/true);
  const qel::XpressProb copy(*a_);
  ASSERT_TRUE(copy.started());
  EXPECT_NE(copy.rawProb(), a_->rawProb());
  EXPECT_EQ(xt::inspect(copy.rawProb()).model.colUb.at(0), 5.0);
  EXPECT_TRUE(copy.modifiedControl(XPRS_PRESOLVE));
  EXPECT_TRUE(copy.isFixed());
  const qel::XpressProb none(*b_);
  EXPECT_FALSE(none.started());
}

TEST_F(XpressProbTest, FailedCopyLeaksNothing) {
  fill(*a_, 5.0, /*fix=*/false);
  const int before = xt::liveProblems();
  xt::failNext("XPRScopyprob", 5, "ignored");
  EXPECT_THAT([&] { qel::XpressProb copy(*a_); },
              ThrowsMessage<qel::XpressException>(
                  StrEq("Xpress (5): Cannot copy problem. [Trace: XPRScopyprob]")));
  EXPECT_EQ(xt::liveProblems(), before);
}

TEST_F(XpressProbTest, AssignmentReplacesTheProblemAndKeepsTheTargetState) {
  fill(*a_, 5.0, /*fix=*/true);
  b_->start();
  const XPRSprob old = b_->rawProb();
  *b_ = *a_;
  EXPECT_NE(b_->rawProb(), old);
  EXPECT_NE(b_->rawProb(), a_->rawProb());
  EXPECT_EQ(xt::inspect(b_->rawProb()).model.cols(), 1);
  EXPECT_FALSE(b_->modifiedControl(XPRS_PRESOLVE));
  EXPECT_FALSE(b_->isFixed());
  EXPECT_THROW((void)xt::inspect(old), std::invalid_argument);
  // Self-assignment keeps the problem; a source without one leaves the target alone.
  const XPRSprob held = b_->rawProb();
  *b_ = *b_;
  EXPECT_EQ(b_->rawProb(), held);
  EXPECT_EQ(xt::inspect(held).model.cols(), 1);
  *b_ = qel::XpressProb();
  EXPECT_EQ(b_->rawProb(), held);
}

TEST_F(XpressProbTest, FailedAssignmentLeavesNoStaleHandle) {
  fill(*a_, 5.0, /*fix=*/false);
  b_->start();
  xt::failNextKeepingHandle("XPRScreateprob", 3, "ignored");
  EXPECT_THROW(*b_ = *a_, qel::XpressException);
  EXPECT_FALSE(b_->started());
  const int before = xt::liveProblems();
  b_->start();
  xt::failNext("XPRScopyprob", 5, "ignored");
  EXPECT_THROW(*b_ = *a_, qel::XpressException);
  EXPECT_FALSE(b_->started());
  EXPECT_EQ(xt::liveProblems(), before);
}

}  // namespace
