// Every engine path stops on the time limit and on an interrupt: the primal and dual simplex,
// the barrier, the quadratic engine and the tree search (on one thread and on four), each on a
// generated model that runs far longer than the limit (measured on the development machine: the
// LP over a minute with either simplex, the barrier LP and QP about 6 s, the tree search beyond a
// minute).
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <cstdint>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "tests/support/standin_test.hpp"

namespace {

// Covering rows (activity at least 1) over columns in [0, 10], five random entries per column.
void loadCoveringLp(XPRSprob prob, int cols, int rows) {
  // A deterministic generator: the same models everywhere.
  std::uint64_t state = 1;
  const auto next = [&state] {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>(state >> 33);
  };
  const auto unit = [&next] { return next() / 2147483648.0; };
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
      index.push_back(static_cast<int>(next() % static_cast<std::uint32_t>(rows)));
      value.push_back(0.1 + unit());
    }
    obj.push_back(0.5 + unit());
  }
  const std::vector<double> ub(static_cast<std::size_t>(cols), 10.0);
  ASSERT_EQ(XPRSaddcols64(prob, cols, static_cast<XPRSint64>(index.size()), obj.data(),
                          start.data(), index.data(), value.data(), nullptr, ub.data()),
            0);
}

void loadLongLp(XPRSprob prob) { loadCoveringLp(prob, 20000, 10000); }

void loadBarrierLp(XPRSprob prob) { loadCoveringLp(prob, 4000, 2000); }

// Makes columns 0 to n-1 integer.
void makeInteger(XPRSprob prob, int n) {
  std::vector<int> cols(static_cast<std::size_t>(n));
  std::iota(cols.begin(), cols.end(), 0);
  const std::vector<char> types(cols.size(), 'I');
  ASSERT_EQ(XPRSchgcoltype(prob, n, cols.data(), types.data()), 0);
}

void loadBarrierQp(XPRSprob prob) {
  loadCoveringLp(prob, 4000, 2000);
  std::vector<int> cols(4000);
  std::iota(cols.begin(), cols.end(), 0);
  std::vector<double> q;
  for (int j : cols) q.push_back(1.0 + j % 7);
  ASSERT_EQ(XPRSchgmqobj64(prob, 4000, cols.data(), cols.data(), q.data()), 0);
}

// An equality knapsack with even coefficients and an odd right-hand side: infeasible, which only
// a search through a tree of about 2^40 nodes finds out.
void loadLongMip(XPRSprob prob) {
  const int n = 40;
  const char eq = 'E';
  const double rhs = 2.0 * 300 + 1;
  ASSERT_EQ(XPRSaddrows64(prob, 1, 0, &eq, &rhs, nullptr, nullptr, nullptr, nullptr), 0);
  std::vector<XPRSint64> start(n);
  std::iota(start.begin(), start.end(), 0);
  std::vector<double> coef;
  for (int j = 0; j < n; ++j) coef.push_back(2.0 * (j + 11));
  const std::vector<int> rows(n, 0);
  const std::vector<double> ub(n, 1.0);
  ASSERT_EQ(XPRSaddcols64(prob, n, n, coef.data(), start.data(), rows.data(), coef.data(), nullptr,
                          ub.data()),
            0);
  makeInteger(prob, n);
}

// The same search on four threads, which poll at once.
void loadThreadedLongMip(XPRSprob prob) {
  loadLongMip(prob);
  ASSERT_EQ(XPRSsetintcontrol(prob, XPRS_MIPTHREADS, 4), 0);
}

// The linear model with integer columns: its relaxation alone runs long.
void loadLongRelaxation(XPRSprob prob) {
  loadLongLp(prob);
  makeInteger(prob, 20000);
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
    {"treeSearch", loadLongMip, "", 0, 0, XPRS_MIP_NO_SOL_FOUND, 200},
    {"threadedTreeSearch", loadThreadedLongMip, "", 0, 0, XPRS_MIP_NO_SOL_FOUND, 200},
    {"rootRelaxation", loadLongRelaxation, "", 0, 0, XPRS_MIP_LP_NOT_OPTIMAL, 3},
};

class StopTest : public xprs_test::StandinTest {
 protected:
  int attrib(int id) const {
    int v = -1;
    EXPECT_EQ(XPRSgetintattrib(prob_, id, &v), 0);
    return v;
  }

  // Runs the loaded model along the path and expects it stopped for the reason, with the LP
  // unfinished under the path's algorithm or the MIP status of the path.
  void expectStopped(const EnginePath& path, int reason) {
    int solve = -1;
    ASSERT_EQ(XPRSoptimize(prob_, path.flags, &solve, nullptr), 0) << lastError();
    EXPECT_EQ(solve, XPRS_SOLVESTATUS_STOPPED);
    EXPECT_EQ(attrib(XPRS_STOPSTATUS), reason);
    if (path.algorithm != 0) {
      EXPECT_EQ(attrib(XPRS_LPSTATUS), XPRS_LP_UNFINISHED);
      EXPECT_THAT(attrib(XPRS_ALGORITHM), testing::AnyOf(path.algorithm, path.standIn));
    } else {
      EXPECT_EQ(attrib(XPRS_MIPSTATUS), path.mipStatus);
    }
  }
};

class TimeLimitTest : public StopTest, public testing::WithParamInterface<EnginePath> {
 protected:
  void SetUp() override {
    StopTest::SetUp();
    ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_OUTPUTLOG, 0), 0);
    GetParam().load(prob_);
  }
};

TEST_P(TimeLimitTest, OneSecondLimitStopsTheRun) {
  ASSERT_EQ(XPRSsetdblcontrol(prob_, XPRS_TIMELIMIT, 1.0), 0);
  expectStopped(GetParam(), XPRS_STOP_TIMELIMIT);
}

TEST_P(TimeLimitTest, InterruptFromTheCheckTimeCallbackStopsTheRun) {
  struct Polls {
    int calls;
    int stopAt;
  } polls{0, GetParam().pollsBeforeInterrupt};
  ASSERT_EQ(XPRSaddcbchecktime(
                prob_,
                [](XPRSprob cb, void* data) {
                  auto* p = static_cast<Polls*>(data);
                  if (++p->calls == p->stopAt) XPRSinterrupt(cb, XPRS_STOP_USER);
                  return 0;
                },
                &polls, 0),
            0);
  expectStopped(GetParam(), XPRS_STOP_USER);
  EXPECT_GE(polls.calls, polls.stopAt);
}

using BarrierTimeTest = StopTest;

TEST_F(BarrierTimeTest, FactorizationOutlastingTheTimeLeftLeavesTheModelToTheDualSimplex) {
  std::vector<std::string> log;
  ASSERT_EQ(xprs_test::collectMessages(prob_, &log), 0);
  // Random rows make the barrier's factor dense: one factorization of its 10000 rows takes
  // most of a minute.
  loadLongLp(prob_);
  ASSERT_EQ(XPRSsetdblcontrol(prob_, XPRS_TIMELIMIT, 1.0), 0);
  expectStopped({"barrier", loadLongLp, "b", XPRS_ALG_DUAL, XPRS_ALG_DUAL, 0, 0},
                XPRS_STOP_TIMELIMIT);
  EXPECT_THAT(log, testing::Contains("One barrier factorization would outlast the time left: the "
                                     "dual simplex solves the model"));
}

INSTANTIATE_TEST_SUITE_P(EnginePaths, TimeLimitTest, testing::ValuesIn(kPaths),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
