// Every engine path stops on the time limit and on an interrupt: the primal and dual simplex,
// the barrier, the quadratic engine and the tree search, each on a generated model that runs
// far longer than the limit (measured on the development machine: the LP over a minute with
// either simplex, the barrier LP and QP about 6 s, the tree search beyond a minute).
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/standin_test.hpp"

namespace {

// A deterministic generator (the same models everywhere).
class Lcg {
 public:
  explicit Lcg(std::uint64_t seed) : state_(seed) {}
  std::uint32_t next() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>(state_ >> 33);
  }
  double unit() { return next() / 2147483648.0; }

 private:
  std::uint64_t state_;
};

// Covering rows (activity at least 1) over columns in [0, 10], five random entries per column.
void loadCoveringLp(XPRSprob prob, int cols, int rows) {
  Lcg rng(1);
  std::vector<char> types(static_cast<std::size_t>(rows), 'G');
  std::vector<double> rhs(static_cast<std::size_t>(rows), 1.0);
  ASSERT_EQ(
      XPRSaddrows64(prob, rows, 0, types.data(), rhs.data(), nullptr, nullptr, nullptr, nullptr),
      0);
  std::vector<XPRSint64> start;
  std::vector<int> index;
  std::vector<double> value;
  std::vector<double> obj;
  for (int j = 0; j < cols; ++j) {
    start.push_back(static_cast<XPRSint64>(index.size()));
    for (int k = 0; k < 5; ++k) {
      index.push_back(static_cast<int>(rng.next() % static_cast<std::uint32_t>(rows)));
      value.push_back(0.1 + rng.unit());
    }
    obj.push_back(0.5 + rng.unit());
  }
  const std::vector<double> ub(static_cast<std::size_t>(cols), 10.0);
  ASSERT_EQ(XPRSaddcols64(prob, cols, static_cast<XPRSint64>(index.size()), obj.data(),
                          start.data(), index.data(), value.data(), nullptr, ub.data()),
            0);
}

void loadLongLp(XPRSprob prob) { loadCoveringLp(prob, 20000, 10000); }

void loadBarrierLp(XPRSprob prob) { loadCoveringLp(prob, 4000, 2000); }

void loadBarrierQp(XPRSprob prob) {
  loadCoveringLp(prob, 4000, 2000);
  std::vector<int> cols(4000);
  std::vector<double> q(4000);
  for (int j = 0; j < 4000; ++j) {
    cols[static_cast<std::size_t>(j)] = j;
    q[static_cast<std::size_t>(j)] = 1.0 + j % 7;
  }
  ASSERT_EQ(XPRSchgmqobj64(prob, 4000, cols.data(), cols.data(), q.data()), 0);
}

// An equality knapsack with even coefficients and an odd right-hand side: infeasible, which only
// a search through a tree of about 2^40 nodes finds out.
void loadLongMip(XPRSprob prob) {
  const int n = 40;
  const char eq[] = {'E'};
  const double rhs[] = {2.0 * 300 + 1};
  ASSERT_EQ(XPRSaddrows64(prob, 1, 0, eq, rhs, nullptr, nullptr, nullptr, nullptr), 0);
  std::vector<XPRSint64> start(n);
  std::vector<int> rows(n, 0);
  std::vector<double> coef(n);
  std::vector<double> ub(n, 1.0);
  std::vector<int> cols(n);
  std::vector<char> types(n, 'I');
  for (int j = 0; j < n; ++j) {
    start[static_cast<std::size_t>(j)] = j;
    coef[static_cast<std::size_t>(j)] = 2.0 * (j + 11);
    cols[static_cast<std::size_t>(j)] = j;
  }
  ASSERT_EQ(XPRSaddcols64(prob, n, n, coef.data(), start.data(), rows.data(), coef.data(), nullptr,
                          ub.data()),
            0);
  ASSERT_EQ(XPRSchgcoltype(prob, n, cols.data(), types.data()), 0);
}

// The linear model with integer columns: its relaxation alone runs long.
void loadLongRelaxation(XPRSprob prob) {
  loadLongLp(prob);
  std::vector<int> cols(20000);
  for (int j = 0; j < 20000; ++j) cols[static_cast<std::size_t>(j)] = j;
  const std::vector<char> types(cols.size(), 'I');
  ASSERT_EQ(XPRSchgcoltype(prob, 20000, cols.data(), types.data()), 0);
}

struct EnginePath {
  const char* name;
  std::function<void(XPRSprob)> load;
  const char* flags;
  // XPRS_ALGORITHM of the stopped LP run (0 for a MIP) and the one that may stand in for it: the
  // quadratic engine turns to its simplex when the barrier cannot factorize in the time left.
  int algorithm;
  int standIn;
  int mipStatus;  // XPRS_MIPSTATUS of the stopped MIP run
  int pollsBeforeInterrupt;
};

const EnginePath kPaths[] = {
    {"dual", loadLongLp, "d", XPRS_ALG_DUAL, XPRS_ALG_DUAL, 0, 3},
    {"primal", loadLongLp, "p", XPRS_ALG_PRIMAL, XPRS_ALG_PRIMAL, 0, 3},
    {"barrier", loadBarrierLp, "b", XPRS_ALG_BARRIER, XPRS_ALG_BARRIER, 0, 3},
    {"quadratic", loadBarrierQp, "", XPRS_ALG_BARRIER, XPRS_ALG_PRIMAL, 0, 3},
    // Past the few polls of the relaxation of one row.
    {"tree search", loadLongMip, "", 0, 0, XPRS_MIP_NO_SOL_FOUND, 200},
    {"root relaxation", loadLongRelaxation, "", 0, 0, XPRS_MIP_LP_NOT_OPTIMAL, 3},
};

class TimeLimitTest : public xprs_test::StandinTest,
                      public testing::WithParamInterface<EnginePath> {
 protected:
  void SetUp() override {
    StandinTest::SetUp();
    ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_OUTPUTLOG, 0), 0);
    GetParam().load(prob_);
  }

  void expectStopped(int reason) {
    int solve = -1;
    ASSERT_EQ(XPRSoptimize(prob_, GetParam().flags, &solve, nullptr), 0) << lastError();
    EXPECT_EQ(solve, XPRS_SOLVESTATUS_STOPPED);
    int stop = -1;
    ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_STOPSTATUS, &stop), 0);
    EXPECT_EQ(stop, reason);
    if (GetParam().algorithm != 0) {
      int lp = -1;
      int alg = -1;
      ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_LPSTATUS, &lp), 0);
      ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_ALGORITHM, &alg), 0);
      EXPECT_EQ(lp, XPRS_LP_UNFINISHED);
      EXPECT_THAT(alg, testing::AnyOf(GetParam().algorithm, GetParam().standIn));
    } else {
      int mip = -1;
      ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_MIPSTATUS, &mip), 0);
      EXPECT_EQ(mip, GetParam().mipStatus);
    }
  }
};

TEST_P(TimeLimitTest, OneSecondLimitStopsTheRun) {
  ASSERT_EQ(XPRSsetdblcontrol(prob_, XPRS_TIMELIMIT, 1.0), 0);
  expectStopped(XPRS_STOP_TIMELIMIT);
}

TEST_P(TimeLimitTest, InterruptFromTheCheckTimeCallbackStopsTheRun) {
  struct Polls {
    int calls = 0;
    int stopAt = 0;
  } polls;
  polls.stopAt = GetParam().pollsBeforeInterrupt;
  ASSERT_EQ(XPRSaddcbchecktime(
                prob_,
                [](XPRSprob cb, void* data) {
                  auto* p = static_cast<Polls*>(data);
                  if (++p->calls == p->stopAt) XPRSinterrupt(cb, XPRS_STOP_USER);
                  return 0;
                },
                &polls, 0),
            0);
  expectStopped(XPRS_STOP_USER);
  EXPECT_GE(polls.calls, polls.stopAt);
}

using BarrierTimeTest = xprs_test::StandinTest;

TEST_F(BarrierTimeTest, FactorizationOutlastingTheTimeLeftLeavesTheModelToTheDualSimplex) {
  std::vector<std::string> log;
  ASSERT_EQ(xprs_test::collectMessages(prob_, &log), 0);
  // Random rows make the barrier's factor dense: one factorization of its 10000 rows takes
  // most of a minute.
  loadLongLp(prob_);
  ASSERT_EQ(XPRSsetdblcontrol(prob_, XPRS_TIMELIMIT, 1.0), 0);
  int solve = -1;
  ASSERT_EQ(XPRSoptimize(prob_, "b", &solve, nullptr), 0) << lastError();
  EXPECT_EQ(solve, XPRS_SOLVESTATUS_STOPPED);
  int stop = -1;
  int alg = -1;
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_STOPSTATUS, &stop), 0);
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_ALGORITHM, &alg), 0);
  EXPECT_EQ(stop, XPRS_STOP_TIMELIMIT);
  EXPECT_EQ(alg, XPRS_ALG_DUAL);
  EXPECT_THAT(log, testing::Contains("One barrier factorization would outlast the time left: the "
                                     "dual simplex solves the model"));
}

INSTANTIATE_TEST_SUITE_P(EnginePaths, TimeLimitTest, testing::ValuesIn(kPaths),
                         [](const testing::TestParamInfo<EnginePath>& info) {
                           std::string name = info.param.name;
                           std::erase(name, ' ');
                           return name;
                         });

}  // namespace
