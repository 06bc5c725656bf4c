// Indicator rows solved through their big-M form: both complement flags, 'L', 'G' and 'E' rows,
// slacks of relaxed rows, MIP starts that break an indicator, and the models that are refused.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/standin_test.hpp"
#include "xprs_testing.hpp"

namespace {

using testing::DoubleNear;
using testing::Pointwise;

class IndicatorTest : public xprs_test::StandinTest {
 protected:
  void SetUp() override {
    StandinTest::SetUp();
    ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_OUTPUTLOG, 0), 0);
  }
  // Columns with bounds [0, ub] and types; objective coefficients obj.
  void addColumns(const std::vector<double>& obj, const std::vector<double>& ub,
                  const std::vector<char>& types) {
    const int n = static_cast<int>(obj.size());
    ASSERT_EQ(XPRSaddcols64(prob_, n, 0, obj.data(), nullptr, nullptr, nullptr, nullptr, ub.data()),
              0);
    std::vector<int> cols(obj.size());
    for (int j = 0; j < n; ++j) cols[static_cast<std::size_t>(j)] = j;
    ASSERT_EQ(XPRSchgcoltype(prob_, n, cols.data(), types.data()), 0);
  }
  void addRow(char type, double rhs, const std::vector<int>& cols,
              const std::vector<double>& vals) {
    const XPRSint64 start[] = {0};
    ASSERT_EQ(XPRSaddrows64(prob_, 1, static_cast<XPRSint64>(cols.size()), &type, &rhs, nullptr,
                            start, cols.data(), vals.data()),
              0);
  }
  void indicator(int row, int col, int complement) {
    ASSERT_EQ(XPRSsetindicators(prob_, 1, &row, &col, &complement), 0);
  }
  // Optimises, expects an optimal MIP, returns x.
  std::vector<double> solve(int ncols, double expectedObj) {
    int sol = -1;
    EXPECT_EQ(XPRSoptimize(prob_, "", nullptr, &sol), 0) << lastError();
    EXPECT_EQ(sol, XPRS_SOLSTATUS_OPTIMAL);
    double obj = 0;
    EXPECT_EQ(XPRSgetdblattrib(prob_, XPRS_OBJVAL, &obj), 0);
    EXPECT_NEAR(obj, expectedObj, 1e-6);
    std::vector<double> x(static_cast<std::size_t>(ncols));
    int status = -1;
    EXPECT_EQ(XPRSgetsolution(prob_, &status, x.data(), 0, ncols - 1), 0);
    return x;
  }
  void chgObj(int col, double coef) { ASSERT_EQ(XPRSchgobj(prob_, 1, &col, &coef), 0); }
};

// max x + y + c1 b1 + c2 b2, x, y in [0, 10]; x <= 2 while b1 = 1; y <= 3 while b2 = 0.
TEST_F(IndicatorTest, BothComplementFlagsEnforceTheirRowOnlyWhenTheirColumnSaysSo) {
  addColumns({1, 1, 9, -9}, {10, 10, 1, 1}, {'C', 'C', 'B', 'B'});
  addRow('L', 2, {0}, {1});
  addRow('L', 3, {1}, {1});
  indicator(0, 2, 1);
  indicator(1, 3, -1);
  ASSERT_EQ(XPRSchgobjsense(prob_, XPRS_OBJ_MAXIMIZE), 0);
  int optType = -1;
  // b1 = 1 earns 9 and costs 8 of x; b2 = 0 saves 9 and costs 7 of y: both rows enforced.
  EXPECT_THAT(solve(4, 14), Pointwise(DoubleNear(1e-6), {2.0, 3.0, 1.0, 0.0}));
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_OPTIMIZETYPEUSED, &optType), 0);
  EXPECT_EQ(optType, XPRS_OPTIMIZETYPE_MIP);
  // b1 = 1 now earns 7 < 8, b2 = 1 costs only 6 < 7: neither row is enforced.
  chgObj(2, 7);
  chgObj(3, -6);
  EXPECT_THAT(solve(4, 14), Pointwise(DoubleNear(1e-6), {10.0, 10.0, 0.0, 1.0}));
  double slack[2];
  int status = -1;
  ASSERT_EQ(XPRSgetslacks(prob_, &status, slack, 0, 1), 0);
  EXPECT_THAT(slack, Pointwise(DoubleNear(1e-6), {-8.0, -7.0}));
  int infeasible = -1;
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_PRIMALINFEAS, &infeasible), 0);
  EXPECT_EQ(infeasible, 0);
}

// min x + 2y + c b, x, y in [0, 10]; x + y >= 4 while b = 0; x - y = 1 while b = 1.
TEST_F(IndicatorTest, GreaterAndEqualityRowsAreEnforcedOnBothSides) {
  addColumns({1, 2, 2}, {10, 10, 1}, {'C', 'C', 'B'});
  addRow('G', 4, {0, 1}, {1, 1});
  addRow('E', 1, {0, 1}, {1, -1});
  indicator(0, 2, -1);
  indicator(1, 2, 1);
  EXPECT_THAT(solve(3, 3), Pointwise(DoubleNear(1e-6), {1.0, 0.0, 1.0}));
  chgObj(2, 5);
  EXPECT_THAT(solve(3, 4), Pointwise(DoubleNear(1e-6), {4.0, 0.0, 0.0}));
  // The equality row no longer holds: x - y = 4.
  double slack[2];
  int status = -1;
  ASSERT_EQ(XPRSgetslacks(prob_, &status, slack, 0, 1), 0);
  EXPECT_THAT(slack, Pointwise(DoubleNear(1e-6), {0.0, -3.0}));
  // With y fixed at 10, x - y >= 1 needs x = 11, beyond its bound: b stays 0 however much b = 1
  // would earn.
  const int y = 1;
  const char lower = 'L';
  const double ten = 10;
  ASSERT_EQ(XPRSchgbounds(prob_, 1, &y, &lower, &ten), 0);
  chgObj(2, -100);
  EXPECT_THAT(solve(3, 20), Pointwise(DoubleNear(1e-6), {0.0, 10.0, 0.0}));
}

TEST_F(IndicatorTest, MipStartBreakingAnIndicatorIsNotAccepted) {
  addColumns({1, 1, 9, -9}, {10, 10, 1, 1}, {'C', 'C', 'B', 'B'});
  addRow('L', 2, {0}, {1});
  indicator(0, 2, 1);
  ASSERT_EQ(XPRSchgobjsense(prob_, XPRS_OBJ_MAXIMIZE), 0);
  std::vector<std::string> lines;
  ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_OUTPUTLOG, 1), 0);
  ASSERT_EQ(xprs_test::collectMessages(prob_, &lines), 0);
  // x = 10 with b1 = 1 breaks the indicator; taken as an incumbent it would win with 29.
  const double start[] = {10, 10, 1, 0};
  ASSERT_EQ(XPRSaddmipsol(prob_, 4, start, nullptr, nullptr), 0);
  EXPECT_THAT(solve(4, 21), Pointwise(DoubleNear(1e-6), {2.0, 10.0, 1.0, 0.0}));
  EXPECT_THAT(lines, testing::Not(testing::Contains("MIP start accepted")));
  // The same start with b1 = 0 is feasible and taken.
  const double good[] = {10, 10, 0, 0};
  ASSERT_EQ(XPRSaddmipsol(prob_, 4, good, nullptr, nullptr), 0);
  lines.clear();
  solve(4, 21);
  EXPECT_THAT(lines, testing::Contains("MIP start accepted"));
}

TEST_F(IndicatorTest, RowsTheBigMFormCannotBoundAreRefused) {
  struct Case {
    const char* what;
    std::function<void()> build;
    std::string text;
  };
  const Case cases[] = {
      {"upper side with an unbounded column",
       [&] {
         addColumns({1, 1, 0}, {10, XPRS_PLUSINFINITY, 1}, {'C', 'C', 'B'});
         addRow('L', 4, {0, 1}, {1, 1});
         indicator(0, 2, 1);
       },
       "XPRSoptimize: indicator row 0 has no finite implied bound: column 1 is unbounded above"},
      {"lower side needing the upper bound of a negative coefficient's column",
       [&] {
         addColumns({1, 1, 0}, {10, XPRS_PLUSINFINITY, 1}, {'C', 'C', 'B'});
         addRow('E', 4, {0, 1}, {1, 1});
         addRow('G', -4, {0, 1}, {1, -1});
         indicator(1, 2, -1);
       },
       "XPRSoptimize: indicator row 1 has no finite implied bound: column 1 is unbounded above"},
      {"free column below",
       [&] {
         addColumns({1, 0}, {10, 1}, {'C', 'B'});
         const int col = 0;
         const char lower = 'L';
         const double minusInf = XPRS_MINUSINFINITY;
         ASSERT_EQ(XPRSchgbounds(prob_, 1, &col, &lower, &minusInf), 0);
         addRow('G', 1, {0}, {1});
         indicator(0, 1, 1);
       },
       "XPRSoptimize: indicator row 0 has no finite implied bound: column 0 is unbounded below"},
      {"continuous indicator column",
       [&] {
         addColumns({1, 0}, {10, 1}, {'C', 'C'});
         addRow('L', 4, {0}, {1});
         indicator(0, 1, 1);
       },
       "XPRSoptimize: indicator column 1 of row 0 is not binary"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(XPRSdestroyprob(prob_), 0);
    ASSERT_EQ(XPRScreateprob(&prob_), 0);
    ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_OUTPUTLOG, 0), 0);
    c.build();
    int solve = -1;
    EXPECT_EQ(XPRSoptimize(prob_, "", &solve, nullptr), 32);
    EXPECT_EQ(lastError(), c.text);
    EXPECT_EQ(solve, XPRS_SOLVESTATUS_FAILED);
  }
}

}  // namespace
