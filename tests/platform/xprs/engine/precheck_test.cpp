// Models the engines must not see: infinite and crossing bounds, unreachable rows, integer
// columns without an integer value, odd semi-continuous columns, infinite sums of entries and
// Hessians that are not semi-definite beside huge entries. Each gives a status or a clear error.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/standin_test.hpp"
#include "xprs_testing.hpp"

namespace {

using xprs_test::StandinTest;

constexpr double kInf = XPRS_PLUSINFINITY;

// A small model: columns with bounds and types, rows with their entries.
struct Model {
  std::vector<double> lb, ub;
  std::vector<char> colType;  // empty: all continuous
  std::vector<char> rowType;
  std::vector<double> rhs, rng;
  std::vector<std::vector<std::pair<int, double>>> entries;  // per row
  std::vector<double> obj = {};                              // empty: all 0
};

class PrecheckTest : public StandinTest {
 protected:
  void SetUp() override {
    StandinTest::SetUp();
    ASSERT_EQ(xprs_test::collectMessages(prob_, &log_), 0);
  }

  // Empties the model; controls and callbacks stay.
  void clear() {
    XPRSprob empty = nullptr;
    ASSERT_EQ(XPRScreateprob(&empty), 0);
    ASSERT_EQ(XPRScopyprob(prob_, empty, nullptr), 0);
    ASSERT_EQ(XPRSdestroyprob(empty), 0);
    log_.clear();
  }

  void load(const Model& m) {
    const int n = static_cast<int>(m.lb.size());
    std::vector<double> obj = m.obj;
    obj.resize(m.lb.size(), 0.0);
    ASSERT_EQ(
        XPRSaddcols64(prob_, n, 0, obj.data(), nullptr, nullptr, nullptr, m.lb.data(), m.ub.data()),
        0);
    std::vector<XPRSint64> start;
    std::vector<int> cols;
    std::vector<double> vals;
    for (const auto& row : m.entries) {
      start.push_back(static_cast<XPRSint64>(cols.size()));
      for (const auto& [c, v] : row) cols.push_back(c), vals.push_back(v);
    }
    std::vector<double> rng = m.rng;
    rng.resize(m.rowType.size(), 0.0);
    ASSERT_EQ(XPRSaddrows64(prob_, static_cast<int>(m.rowType.size()),
                            static_cast<XPRSint64>(cols.size()), m.rowType.data(), m.rhs.data(),
                            rng.data(), start.data(), cols.data(), vals.data()),
              0);
    std::vector<int> typed;
    for (std::size_t j = 0; j < m.colType.size(); ++j) typed.push_back(static_cast<int>(j));
    ASSERT_EQ(XPRSchgcoltype(prob_, static_cast<int>(typed.size()), typed.data(), m.colType.data()),
              0);
  }

  // Makes the model a MIP with one more integer column that nothing uses.
  void addIntegerColumn() {
    const double ub[] = {1};
    ASSERT_EQ(XPRSaddcols64(prob_, 1, 0, nullptr, nullptr, nullptr, nullptr, nullptr, ub), 0);
    int cols = 0;
    ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_COLS, &cols), 0);
    const int last[] = {cols - 1};
    const char integer[] = {'I'};
    ASSERT_EQ(XPRSchgcoltype(prob_, 1, last, integer), 0);
  }

  // The "infeasible" line of the log, or an empty text.
  std::string infeasibleLine() const {
    for (const std::string& line : log_) {
      if (line.rfind("The problem is infeasible: ", 0) == 0) return line;
    }
    return {};
  }

  void expectInfeasible(bool mip) {
    int solve = -1;
    int sol = -1;
    ASSERT_EQ(XPRSoptimize(prob_, "", &solve, &sol), 0) << lastError();
    EXPECT_EQ(solve, XPRS_SOLVESTATUS_COMPLETED);
    EXPECT_EQ(sol, XPRS_SOLSTATUS_INFEASIBLE);
    int lp = -1;
    int mipStatus = -1;
    int type = -1;
    ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_LPSTATUS, &lp), 0);
    ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_MIPSTATUS, &mipStatus), 0);
    ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_OPTIMIZETYPEUSED, &type), 0);
    EXPECT_EQ(lp, XPRS_LP_INFEAS);
    EXPECT_EQ(type, mip ? XPRS_OPTIMIZETYPE_MIP : XPRS_OPTIMIZETYPE_LP);
    if (mip) {
      EXPECT_EQ(mipStatus, XPRS_MIP_INFEAS);
    }
    int status = -1;
    double x[1];
    ASSERT_EQ(XPRSgetsolution(prob_, &status, x, 0, 0), 0);
    EXPECT_EQ(status, XPRS_SOLAVAILABLE_NOTFOUND);
  }

  std::vector<std::string> log_;
};

struct InfeasibleCase {
  const char* what;
  Model model;
  std::string reason;
};

const InfeasibleCase kInfeasible[] = {
    {"upper bound minus infinity",
     {{-kInf}, {-kInf}, {}, {}, {}, {}, {}},
     "column 0 has no value within its bounds [-1e+20, -1e+20]"},
    {"lower bound plus infinity",
     {{kInf}, {kInf}, {}, {}, {}, {}, {}},
     "column 0 has no value within its bounds [1e+20, 1e+20]"},
    {"lower bound beyond infinity",
     {{1e30}, {kInf}, {}, {}, {}, {}, {}},
     "column 0 has no value within its bounds [1e+30, 1e+20]"},
    {"lower above upper",
     {{2}, {1}, {}, {}, {}, {}, {}},
     "column 0 has no value within its bounds [2, 1]"},
    {"G row at plus infinity",
     {{0}, {1}, {}, {'G'}, {kInf}, {}, {{{0, 1}}}},
     "row 0 has no value within its range [1e+20, 1e+20]"},
    {"L row at minus infinity",
     {{0}, {1}, {}, {'L'}, {-kInf}, {}, {{{0, 1}}}},
     "row 0 has no value within its range [-1e+20, -1e+20]"},
    {"E row at plus infinity",
     {{0}, {1}, {}, {'E'}, {1e25}, {}, {{{0, 1}}}},
     "row 0 has no value within its range [1e+20, 1e+20]"},
    {"E row at minus infinity",
     {{0}, {1}, {}, {'E'}, {-kInf}, {}, {{{0, 1}}}},
     "row 0 has no value within its range [-1e+20, -1e+20]"},
    {"range row below minus infinity",
     {{0}, {1}, {}, {'R'}, {-kInf}, {5}, {{{0, 1}}}},
     "row 0 has no value within its range [-1e+20, -1e+20]"},
    {"range row from plus infinity",
     {{0}, {1}, {}, {'R'}, {kInf}, {5}, {{{0, 1}}}},
     "row 0 has no value within its range [1e+20, 1e+20]"},
    {"empty G row",
     {{0}, {1}, {}, {'G'}, {1}, {}, {{}}},
     "row 0 cannot reach its range [1, 1e+20] within the column bounds (its activity lies "
     "within [0, 0])"},
    {"empty E row",
     {{0}, {1}, {}, {'E'}, {-3}, {}, {{}}},
     "row 0 cannot reach its range [-3, -3] within the column bounds (its activity lies within "
     "[0, 0])"},
    {"row above its reach",
     {{2, -kInf}, {3, 4}, {}, {'G', 'L'}, {0, 1}, {}, {{{1, 1}}, {{0, 2}, {1, -0.5}}}},
     "row 1 cannot reach its range [-1e+20, 1] within the column bounds (its activity lies "
     "within [2, 1e+20])"},
    {"row below its reach",
     {{0, 0}, {1, 1}, {}, {'G'}, {2.5}, {}, {{{0, 1}, {1, 1}}}},
     "row 0 cannot reach its range [2.5, 1e+20] within the column bounds (its activity lies "
     "within [0, 2])"},
};

TEST_F(PrecheckTest, ModelsInfeasibleWithoutSolvingSayInfeasibleAsLp) {
  for (const InfeasibleCase& c : kInfeasible) {
    SCOPED_TRACE(c.what);
    clear();
    load(c.model);
    expectInfeasible(/*mip=*/false);
    EXPECT_EQ(infeasibleLine(), "The problem is infeasible: " + c.reason);
  }
}

TEST_F(PrecheckTest, ModelsInfeasibleWithoutSolvingSayInfeasibleAsMip) {
  for (const InfeasibleCase& c : kInfeasible) {
    SCOPED_TRACE(c.what);
    clear();
    load(c.model);
    addIntegerColumn();
    expectInfeasible(/*mip=*/true);
    EXPECT_EQ(infeasibleLine(), "The problem is infeasible: " + c.reason);
  }
}

TEST_F(PrecheckTest, IntegerColumnsWithoutAnIntegerValueAreInfeasible) {
  const InfeasibleCase cases[] = {
      {"between two integers",
       {{0.3}, {0.7}, {'I'}, {}, {}, {}, {}},
       "integer column 0 has no integer value within its bounds [0.3, 0.7]"},
      {"fixed at a half",
       {{0.5}, {0.5}, {'I'}, {}, {}, {}, {}},
       "integer column 0 has no integer value within its bounds [0.5, 0.5]"},
      {"negative, between two integers",
       {{-1.9}, {-1.1}, {'I'}, {}, {}, {}, {}},
       "integer column 0 has no integer value within its bounds [-1.9, -1.1]"},
  };
  for (const InfeasibleCase& c : cases) {
    SCOPED_TRACE(c.what);
    clear();
    load(c.model);
    expectInfeasible(/*mip=*/true);
    EXPECT_EQ(infeasibleLine(), "The problem is infeasible: " + c.reason);
  }
  // A binary column whose bounds were narrowed afterwards.
  clear();
  load({{0}, {1}, {'B'}, {}, {}, {}, {}});
  const int col[] = {0};
  const char both[] = {'B'};
  const double half[] = {0.5};
  ASSERT_EQ(XPRSchgbounds(prob_, 1, col, both, half), 0);
  expectInfeasible(/*mip=*/true);
}

TEST_F(PrecheckTest, IntegerBoundsAreRoundedInwardAndTheSolutionStaysWithinThem) {
  ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_OUTPUTLOG, 0), 0);
  // max x0 + x1 with x0 integer in [0.3, 1.7], x1 integer in [-2.5, 2.99999999]: x = (1, 3).
  load({{0.3, -2.5}, {1.7, 2.99999999}, {'I', 'I'}, {}, {}, {}, {}, {1, 1}});
  ASSERT_EQ(XPRSchgobjsense(prob_, XPRS_OBJ_MAXIMIZE), 0);
  int sol = -1;
  ASSERT_EQ(XPRSoptimize(prob_, "", nullptr, &sol), 0) << lastError();
  EXPECT_EQ(sol, XPRS_SOLSTATUS_OPTIMAL);
  double x[2];
  int status = -1;
  ASSERT_EQ(XPRSgetsolution(prob_, &status, x, 0, 1), 0);
  EXPECT_EQ(x[0], 1.0);
  EXPECT_EQ(x[1], 3.0);
  // The same minimised: x = (1, -2).
  ASSERT_EQ(XPRSchgobjsense(prob_, XPRS_OBJ_MINIMIZE), 0);
  ASSERT_EQ(XPRSoptimize(prob_, "", nullptr, &sol), 0) << lastError();
  EXPECT_EQ(sol, XPRS_SOLSTATUS_OPTIMAL);
  ASSERT_EQ(XPRSgetsolution(prob_, &status, x, 0, 1), 0);
  EXPECT_EQ(x[0], 1.0);
  EXPECT_EQ(x[1], -2.0);
}

TEST_F(PrecheckTest, BoundsCrossingWithinTheToleranceAreClosed) {
  ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_OUTPUTLOG, 0), 0);
  // x0 in [1 + 1e-9, 1]: the run solves with x0 = 1 + 1e-9, as a LP and as a MIP.
  load({{1 + 1e-9, 0}, {1, 1}, {}, {}, {}, {}, {}, {1, 1}});
  for (bool mip : {false, true}) {
    SCOPED_TRACE(mip);
    if (mip) addIntegerColumn();
    int sol = -1;
    ASSERT_EQ(XPRSoptimize(prob_, "", nullptr, &sol), 0) << lastError();
    EXPECT_EQ(sol, XPRS_SOLSTATUS_OPTIMAL);
    double x[1];
    int status = -1;
    ASSERT_EQ(XPRSgetsolution(prob_, &status, x, 0, 0), 0);
    EXPECT_NEAR(x[0], 1.0, 1e-8);
  }
}

TEST_F(PrecheckTest, SemiContinuousColumnsWithNegativeBoundsAreRefused) {
  struct Case {
    const char* what;
    Model model;
    std::string text;
  };
  const Case cases[] = {
      {"negative lower bound",
       {{-1}, {5}, {'S'}, {}, {}, {}, {}},
       "XPRSoptimize: semi-continuous column 0 has a negative lower bound (-1)"},
      {"lower bound minus infinity",
       {{-kInf}, {5}, {'R'}, {}, {}, {}, {}},
       "XPRSoptimize: semi-integer column 0 has a negative lower bound (-1e+20)"},
      {"negative upper bound",
       {{0}, {-2}, {'S'}, {}, {}, {}, {}},
       "XPRSoptimize: semi-continuous column 0 has a negative upper bound (-2)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    clear();
    load(c.model);
    int solve = -1;
    EXPECT_EQ(XPRSoptimize(prob_, "", &solve, nullptr), 32);
    EXPECT_EQ(solve, XPRS_SOLVESTATUS_FAILED);
    EXPECT_EQ(lastError(), c.text);
  }
}

TEST_F(PrecheckTest, SemiContinuousLimitAboveTheUpperBoundLeavesOnlyZero) {
  ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_OUTPUTLOG, 0), 0);
  struct Case {
    const char* what;
    char type;
    double limit;
    double ub;
  };
  const Case cases[] = {
      {"semi-continuous", 'S', 5, 3},
      {"semi-continuous with an infinite limit", 'S', kInf, kInf},
      {"semi-integer with no integer between limit and bound", 'R', 2.5, 2.7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    clear();
    // max x0: without the nonzero range the best is 0.
    load({{0}, {c.ub}, {c.type}, {}, {}, {}, {}, {1}});
    ASSERT_EQ(XPRSchgobjsense(prob_, XPRS_OBJ_MAXIMIZE), 0);
    const int col[] = {0};
    const double limit[] = {c.limit};
    ASSERT_EQ(XPRSchgglblimit(prob_, 1, col, limit), 0);
    int sol = -1;
    ASSERT_EQ(XPRSoptimize(prob_, "", nullptr, &sol), 0) << lastError();
    EXPECT_EQ(sol, XPRS_SOLSTATUS_OPTIMAL);
    double x[1] = {-1};
    int status = -1;
    ASSERT_EQ(XPRSgetsolution(prob_, &status, x, 0, 0), 0);
    EXPECT_EQ(x[0], 0.0);
    // And x0 >= 1 makes it infeasible.
    const char g[] = {'G'};
    const double one[] = {1};
    const XPRSint64 start[] = {0};
    ASSERT_EQ(XPRSaddrows64(prob_, 1, 1, g, one, nullptr, start, col, one), 0);
    ASSERT_EQ(XPRSoptimize(prob_, "", nullptr, &sol), 0) << lastError();
    EXPECT_EQ(sol, XPRS_SOLSTATUS_INFEASIBLE);
  }
  // A limit the engine cannot branch at is refused.
  clear();
  load({{0}, {kInf}, {'S'}, {}, {}, {}, {}, {1}});
  const int col[] = {0};
  const double limit[] = {2e9};
  ASSERT_EQ(XPRSchgglblimit(prob_, 1, col, limit), 0);
  EXPECT_EQ(XPRSoptimize(prob_, "", nullptr, nullptr), 32);
  EXPECT_EQ(lastError(),
            "XPRSoptimize: semi-continuous column 0 has a limit (2e+09) above the engine's "
            "limit 1e+09");
}

TEST_F(PrecheckTest, EntriesAddingUpToInfinityAreRefused) {
  // Two entries of row 0, column 0, each finite, summing to 1.2e20.
  load({{0}, {1}, {}, {'L'}, {1}, {}, {{{0, 6e19}, {0, 6e19}}}});
  int solve = -1;
  EXPECT_EQ(XPRSoptimize(prob_, "", &solve, nullptr), 32);
  EXPECT_EQ(solve, XPRS_SOLVESTATUS_FAILED);
  EXPECT_EQ(lastError(),
            "XPRSoptimize: the coefficients of row 0 and column 0 add up to 1.2e+20, which is "
            "infinite");
}

TEST_F(PrecheckTest, HessianNotSemiDefiniteBesideHugeEntriesIsRefused) {
  ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_OUTPUTLOG, 0), 0);
  load({{-1, -1}, {1, 1}, {}, {}, {}, {}, {}});
  const int c[] = {0, 1};
  // diag(1e19, -1): the negative curvature is small beside the other entry, not absent.
  const double indefinite[] = {1e19, -1};
  ASSERT_EQ(XPRSchgmqobj64(prob_, 2, c, c, indefinite), 0);
  EXPECT_EQ(XPRSoptimize(prob_, "", nullptr, nullptr), 32);
  EXPECT_EQ(lastError(), "XPRSoptimize: the objective Hessian is not positive semi-definite");
  // diag(1e19, 1e-3) is convex and solves: the minimum is at 0.
  const double convex[] = {1e19, 1e-3};
  ASSERT_EQ(XPRSchgmqobj64(prob_, 2, c, c, convex), 0);
  int sol = -1;
  ASSERT_EQ(XPRSoptimize(prob_, "", nullptr, &sol), 0) << lastError();
  EXPECT_EQ(sol, XPRS_SOLSTATUS_OPTIMAL);
  // [[1, 1], [1, 1 - 1e-6]] scaled stays indefinite.
  const int r[] = {0, 0, 1};
  const int s[] = {0, 1, 1};
  const double nearlySingular[] = {1, 1, 1 - 1e-6};
  ASSERT_EQ(XPRSchgmqobj64(prob_, 3, r, s, nearlySingular), 0);
  EXPECT_EQ(XPRSoptimize(prob_, "", nullptr, nullptr), 32);
}

}  // namespace
