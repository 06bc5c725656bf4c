// Several linear objectives against hand-computed optima: priority order, weights that blend
// and turn senses, level tolerances, a MIP run level by level, and what the attributes report.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <limits>
#include <string>
#include <vector>

#include "tests/support/lexicographic_optima.hpp"
#include "tests/support/standin_test.hpp"
#include "xprs_testing.hpp"

namespace {

using test_support::Point;
using test_support::WeightedObjective;
using testing::DoubleNear;
using testing::ElementsAreArray;
using testing::Pointwise;

class ObjectivesTest : public xprs_test::StandinTest {
 protected:
  void SetUp() override {
    StandinTest::SetUp();
    ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_OUTPUTLOG, 0), 0);
  }
  // Objective objidx with the given coefficients (one per column), priority and weight.
  void objective(int objidx, const std::vector<double>& coef, int priority, double weight = 1) {
    std::vector<int> cols(coef.size());
    for (std::size_t j = 0; j < cols.size(); ++j) cols[j] = static_cast<int>(j);
    ASSERT_EQ(XPRSchgobjn(prob_, objidx, static_cast<int>(coef.size()), cols.data(), coef.data()),
              0);
    ASSERT_EQ(XPRSsetobjintcontrol(prob_, objidx, XPRS_OBJECTIVE_PRIORITY, priority), 0);
    ASSERT_EQ(XPRSsetobjdblcontrol(prob_, objidx, XPRS_OBJECTIVE_WEIGHT, weight), 0);
  }
  void tolerance(int objidx, int control, double value) {
    ASSERT_EQ(XPRSsetobjdblcontrol(prob_, objidx, control, value), 0);
  }
  // Optimises and expects a complete optimal run with objective 0 at obj0; returns x.
  std::vector<double> solve(int ncols, double obj0, int solvedObjs) {
    int solve = -1;
    int sol = -1;
    EXPECT_EQ(XPRSoptimize(prob_, "", &solve, &sol), 0) << lastError();
    EXPECT_EQ(solve, XPRS_SOLVESTATUS_COMPLETED);
    EXPECT_EQ(sol, XPRS_SOLSTATUS_OPTIMAL);
    double obj = 0;
    double bound = 0;
    int solved = -1;
    EXPECT_EQ(XPRSgetdblattrib(prob_, XPRS_OBJVAL, &obj), 0);
    EXPECT_EQ(XPRSgetdblattrib(prob_, XPRS_BESTBOUND, &bound), 0);
    EXPECT_EQ(XPRSgetintattrib(prob_, XPRS_SOLVEDOBJS, &solved), 0);
    EXPECT_NEAR(obj, obj0, 1e-6);
    EXPECT_NEAR(bound, obj0, 1e-6);
    EXPECT_EQ(solved, solvedObjs);
    std::vector<double> x(static_cast<std::size_t>(ncols));
    int status = -1;
    EXPECT_EQ(XPRSgetsolution(prob_, &status, x.data(), 0, ncols - 1), 0);
    return x;
  }
};

// x in [0, 10], y in [0, 7], x + y <= 10. Objective 0: min -x - y; objective 1: min x.
TEST_F(ObjectivesTest, HigherPriorityIsOptimisedFirstAndKeptWithinItsTolerance) {
  const double ub[] = {10, 7};
  ASSERT_EQ(XPRSaddcols64(prob_, 2, 0, nullptr, nullptr, nullptr, nullptr, nullptr, ub), 0);
  const char type = 'L';
  const double rhs = 10;
  const XPRSint64 start[] = {0};
  const int cols[] = {0, 1};
  const double vals[] = {1, 1};
  ASSERT_EQ(XPRSaddrows64(prob_, 1, 2, &type, &rhs, nullptr, start, cols, vals), 0);
  struct Case {
    const char* what;
    int priority0;
    int priority1;
    double absTol;
    double relTol;
    std::vector<double> x;
  };
  const Case cases[] = {
      // x + y = 10 first, then the smallest x on that face.
      {"objective 0 first", 2, 1, 0, 0, {3, 7}},
      // x = 0 first, then the largest x + y with x = 0.
      {"objective 1 first", 1, 3, 0, 0, {0, 7}},
      // x + y may fall to 8.
      {"absolute tolerance", 2, 1, 2, 0, {1, 7}},
      // x + y may fall by 30 % of 10.
      {"relative tolerance", 2, 1, 0, 0.3, {0, 7}},
      // The larger of 2 and 10 % of 10.
      {"larger of both", 2, 1, 2, 0.1, {1, 7}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    objective(0, {-1, -1}, c.priority0);
    objective(1, {1, 0}, c.priority1);
    tolerance(0, XPRS_OBJECTIVE_ABSTOL, c.absTol);
    tolerance(0, XPRS_OBJECTIVE_RELTOL, c.relTol);
    const auto x = solve(2, -(c.x[0] + c.x[1]), 2);
    EXPECT_THAT(x, Pointwise(DoubleNear(1e-6), c.x));
  }
  // Two levels solved a model with a row the problem does not have: no duals, no basis.
  int status = -1;
  double dual[1];
  ASSERT_EQ(XPRSgetduals(prob_, &status, dual, 0, 0), 0);
  EXPECT_EQ(status, XPRS_SOLAVAILABLE_NOTFOUND);
  int rowstat[1];
  EXPECT_NE(XPRSgetbasis(prob_, rowstat, nullptr), 0);
  double slack[1];
  ASSERT_EQ(XPRSgetslacks(prob_, &status, slack, 0, 0), 0);
  EXPECT_EQ(status, XPRS_SOLAVAILABLE_OPTIMAL);
  EXPECT_NEAR(slack[0], 2, 1e-6);
}

// max; x, y, z in [0, 10], x + y + z <= 12. Priority 5: objective 0 = x + y (weight 1) and
// objective 1 = z with weight -1 (minimised), blended into x + y - z. Priority 1: objective 2 =
// x - 2y with weight 2.
TEST_F(ObjectivesTest, EqualPrioritiesBlendByWeightInTheProblemSense) {
  const double ub[] = {10, 10, 10};
  ASSERT_EQ(XPRSaddcols64(prob_, 3, 0, nullptr, nullptr, nullptr, nullptr, nullptr, ub), 0);
  const char type = 'L';
  const double rhs = 12;
  const XPRSint64 start[] = {0};
  const int cols[] = {0, 1, 2};
  const double vals[] = {1, 1, 1};
  ASSERT_EQ(XPRSaddrows64(prob_, 1, 3, &type, &rhs, nullptr, start, cols, vals), 0);
  ASSERT_EQ(XPRSchgobjsense(prob_, XPRS_OBJ_MAXIMIZE), 0);
  objective(0, {1, 1, 0}, 5);
  objective(1, {0, 0, 1}, 5, -1);
  // One level: z = 0 and x + y = 12; the row's dual is that of a single LP.
  {
    SCOPED_TRACE("one level");
    const auto x = solve(3, 12, 2);
    EXPECT_NEAR(x[0] + x[1], 12, 1e-6);
    EXPECT_NEAR(x[2], 0, 1e-6);
    int status = -1;
    double dual[1];
    ASSERT_EQ(XPRSgetduals(prob_, &status, dual, 0, 0), 0);
    EXPECT_EQ(status, XPRS_SOLAVAILABLE_OPTIMAL);
    EXPECT_NEAR(dual[0], 1, 1e-6);
  }
  objective(2, {1, -2, 0}, 1, 2);
  {
    // Then the largest x - 2y on x + y = 12, z = 0.
    SCOPED_TRACE("two levels");
    EXPECT_THAT(solve(3, 12, 3), Pointwise(DoubleNear(1e-6), {10.0, 2.0, 0.0}));
  }
  {
    // The level's tolerance is the larger of its objectives': x + y - z may fall to 11.
    SCOPED_TRACE("tolerance of the second objective of the level");
    tolerance(1, XPRS_OBJECTIVE_ABSTOL, 1);
    EXPECT_THAT(solve(3, 11, 3), Pointwise(DoubleNear(1e-6), {10.0, 1.0, 0.0}));
  }
  int objectives = 0;
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_OBJECTIVES, &objectives), 0);
  EXPECT_EQ(objectives, 3);
}

// Knapsack, max: values 3, 3, 2, 4; weights 2, 3, 1, 3.5; capacity 5. The largest value 6 comes
// from items {0, 1} (weight 5) or {2, 3} (weight 4.5); the lighter one wins the second level.
TEST_F(ObjectivesTest, MipLevelsKeepTheBestValueAndThenTheLightestLoad) {
  const double ub[] = {1, 1, 1, 1};
  ASSERT_EQ(XPRSaddcols64(prob_, 4, 0, nullptr, nullptr, nullptr, nullptr, nullptr, ub), 0);
  const int cols[] = {0, 1, 2, 3};
  const char binary[] = {'B', 'B', 'B', 'B'};
  ASSERT_EQ(XPRSchgcoltype(prob_, 4, cols, binary), 0);
  const char type = 'L';
  const double rhs = 5;
  const XPRSint64 start[] = {0};
  const double weight[] = {2, 3, 1, 3.5};
  ASSERT_EQ(XPRSaddrows64(prob_, 1, 4, &type, &rhs, nullptr, start, cols, weight), 0);
  ASSERT_EQ(XPRSchgobjsense(prob_, XPRS_OBJ_MAXIMIZE), 0);
  objective(0, {3, 3, 2, 4}, 1);
  objective(1, {2, 3, 1, 3.5}, 0, -1);
  EXPECT_THAT(solve(4, 6, 2), Pointwise(DoubleNear(1e-6), {0.0, 0.0, 1.0, 1.0}));
  int optType = -1;
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_OPTIMIZETYPEUSED, &optType), 0);
  EXPECT_EQ(optType, XPRS_OPTIMIZETYPE_MIP);
}

// Integer x, y, z in [0, 3] with 2x + 3y + 4z <= 10. The value 3x + 4y + 5z is at most 14, at
// (3, 0, 1) and (2, 2, 0) only; 13 adds (3, 1, 0), (1, 0, 2) and (0, 2, 1).
class MipLevelsTest : public ObjectivesTest {
 protected:
  static constexpr int kCols = 3;
  // Replaces prob_ by the model above, in the given sense, with the given objectives.
  void load(int sense, const std::vector<WeightedObjective>& objectives) {
    ASSERT_EQ(XPRSdestroyprob(prob_), 0);
    ASSERT_EQ(XPRScreateprob(&prob_), 0);
    ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_OUTPUTLOG, 0), 0);
    const double ub[] = {3, 3, 3};
    ASSERT_EQ(XPRSaddcols64(prob_, kCols, 0, nullptr, nullptr, nullptr, nullptr, nullptr, ub), 0);
    const int cols[] = {0, 1, 2};
    const char integer[] = {'I', 'I', 'I'};
    ASSERT_EQ(XPRSchgcoltype(prob_, kCols, cols, integer), 0);
    const char type = 'L';
    const double rhs = 10;
    const XPRSint64 start[] = {0};
    const double size[] = {2, 3, 4};
    ASSERT_EQ(XPRSaddrows64(prob_, 1, kCols, &type, &rhs, nullptr, start, cols, size), 0);
    ASSERT_EQ(XPRSchgobjsense(prob_, sense), 0);
    for (std::size_t i = 0; i < objectives.size(); ++i) {
      const WeightedObjective& o = objectives[i];
      const int objidx = static_cast<int>(i);
      objective(objidx, o.coef, o.priority, o.weight);
      tolerance(objidx, XPRS_OBJECTIVE_ABSTOL, o.absTol);
      tolerance(objidx, XPRS_OBJECTIVE_RELTOL, o.relTol);
    }
  }
  // The optima found by enumeration.
  static std::vector<Point> enumerated(int sense,
                                       const std::vector<WeightedObjective>& objectives) {
    return test_support::lexicographicOptima(
        sense, objectives, test_support::integerPoints(kCols, 3, [](const Point& x) {
          return 2 * x[0] + 3 * x[1] + 4 * x[2] <= 10;
        }));
  }
};

TEST_F(MipLevelsTest, EveryLevelIsSolvedAsAMipWithTheLevelsAboveHeldWithinTheirTolerances) {
  const std::vector<double> value = {3, 4, 5}, x = {1, 0, 0}, z = {0, 0, 1}, items = {1, 1, 1};
  struct Case {
    const char* what;
    int sense;
    std::vector<WeightedObjective> objectives;
    Point x;  // worked out by hand from the listing above
  };
  const Case cases[] = {
      {"the most value, then the most z", XPRS_OBJ_MAXIMIZE, {{value, 2}, {z, 1}}, {3, 0, 1}},
      {"the most value, then the least z", XPRS_OBJ_MAXIMIZE, {{value, 2}, {z, 1, -1}}, {2, 2, 0}},
      {"the value within 1, then the most z",
       XPRS_OBJ_MAXIMIZE,
       {{value, 2, 1, 1}, {z, 1}},
       {1, 0, 2}},
      {"a tolerance below the value's step",
       XPRS_OBJ_MAXIMIZE,
       {{value, 2, 1, 0.5}, {z, 1}},
       {3, 0, 1}},
      // Every value of 14 has x >= 2: the second level must leave the first one's optimum.
      {"the value within 10 %, then the least x",
       XPRS_OBJ_MAXIMIZE,
       {{value, 2, 1, 0, 0.1}, {x, 1, -1}},
       {0, 2, 1}},
      {"the most z first", XPRS_OBJ_MAXIMIZE, {{value, 1}, {z, 2}}, {1, 0, 2}},
      // 3x + 4y + 5z - 2x alone is largest (13) at (0, 2, 1).
      {"the value blended with the least x, weighted 2",
       XPRS_OBJ_MAXIMIZE,
       {{value, 2}, {x, 2, -2}, {z, 1}},
       {0, 2, 1}},
      // A value of 12 or more leaves seven points; the fewest items, 3, leave (1, 0, 2),
      // (0, 2, 1), (1, 1, 1) and (0, 3, 0); of those, z is largest at (1, 0, 2).
      {"three levels", XPRS_OBJ_MAXIMIZE, {{value, 3, 1, 2}, {items, 2, -1}, {z, 1}}, {1, 0, 2}},
      {"minimising the negated value, then a negative weight maximises z",
       XPRS_OBJ_MINIMIZE,
       {{{-3, -4, -5}, 2}, {z, 1, -1}},
       {3, 0, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_THAT(enumerated(c.sense, c.objectives), ElementsAreArray({c.x}));
    load(c.sense, c.objectives);
    // The objective attributes hold objective 0 at the answer.
    const auto found = solve(kCols, test_support::dot(c.objectives.front().coef, c.x),
                             static_cast<int>(c.objectives.size()));
    EXPECT_THAT(found, Pointwise(DoubleNear(1e-6), c.x));
  }
}

// Each level reports its incumbents, with the value of objective 0 the attributes hold after the
// run; a level's start, the optimum of the level before, comes once, and the last one reported is
// the answer.
TEST_F(MipLevelsTest, IncumbentsCarryObjectiveZeroAndTheLastIsTheAnswer) {
  const std::vector<WeightedObjective> objectives = {
      {{3, 4, 5}, 3, 1, 2}, {{1, 1, 1}, 2, -1}, {{0, 0, 1}, 1}};
  load(XPRS_OBJ_MAXIMIZE, objectives);
  struct Incumbent {
    double objective;
    Point x;
  };
  std::vector<Incumbent> seen;
  ASSERT_EQ(XPRSaddcbintsol(
                prob_,
                [](XPRSprob cb, void* data) {
                  Incumbent i{0, Point(kCols)};
                  int status = -1;
                  XPRSgetdblattrib(cb, XPRS_MIPOBJVAL, &i.objective);
                  XPRSgetsolution(cb, &status, i.x.data(), 0, kCols - 1);
                  static_cast<std::vector<Incumbent>*>(data)->push_back(i);
                },
                &seen, 0),
            0);
  const Point answer = solve(kCols, 13, 3);
  ASSERT_FALSE(seen.empty());
  for (std::size_t k = 0; k < seen.size(); ++k) {
    SCOPED_TRACE(k);
    EXPECT_NEAR(seen[k].objective, test_support::dot(objectives.front().coef, seen[k].x), 1e-6);
    if (k > 0) {
      EXPECT_NE(seen[k].x, seen[k - 1].x);
    }
  }
  EXPECT_THAT(seen.back().x, Pointwise(DoubleNear(1e-6), answer));
  int mipSols = -1;
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_MIPSOLS, &mipSols), 0);
  EXPECT_EQ(mipSols, static_cast<int>(seen.size()));
  double mipObj = 0;
  ASSERT_EQ(XPRSgetdblattrib(prob_, XPRS_MIPOBJVAL, &mipObj), 0);
  EXPECT_NEAR(mipObj, 13, 1e-6);
}

// Weights can make a level's coefficient infinite (and an infinite weight times 0 no number):
// the engines abort on such coefficients.
TEST_F(ObjectivesTest, WeightsGivingANonFiniteCoefficientAreRefused) {
  const double ub[] = {1, 1};
  ASSERT_EQ(XPRSaddcols64(prob_, 2, 0, nullptr, nullptr, nullptr, nullptr, nullptr, ub), 0);
  struct Case {
    const char* what;
    std::vector<double> coef;
    double constant;
    std::string text;
  };
  const Case cases[] = {
      {"a coefficient", {1e6, 0}, 0, "column 0 the coefficient 1e+21"},
      {"the constant", {1, 0}, 1e6, "the constant -1e+21"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    objective(0, {1, 1}, 1);
    objective(1, c.coef, 0, 1e15);
    tolerance(1, XPRS_OBJECTIVE_RHS, c.constant);
    int solve = -1;
    EXPECT_EQ(XPRSoptimize(prob_, "", &solve, nullptr), 32);
    EXPECT_EQ(solve, XPRS_SOLVESTATUS_FAILED);
    EXPECT_EQ(lastError(), "XPRSoptimize: the weighted objectives of priority 0 give " + c.text +
                               ", which is not finite");
  }
  // An infinite weight or constant is refused where it comes in.
  for (const int control : {XPRS_OBJECTIVE_WEIGHT, XPRS_OBJECTIVE_RHS}) {
    EXPECT_EQ(XPRSsetobjdblcontrol(prob_, 1, control, std::numeric_limits<double>::infinity()), 32);
    EXPECT_EQ(lastError(), "XPRSsetobjdblcontrol: infinite coefficient inf in value[0]");
  }
}

TEST_F(ObjectivesTest, AQuadraticObjectiveBesideOthersIsRefused) {
  ASSERT_EQ(XPRSaddcols64(prob_, 1, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  const int col[] = {0};
  const double q[] = {2};
  ASSERT_EQ(XPRSchgmqobj64(prob_, 1, col, col, q), 0);
  objective(1, {1}, 0);
  EXPECT_EQ(XPRSoptimize(prob_, "", nullptr, nullptr), 32);
  EXPECT_EQ(lastError(),
            "XPRSoptimize: a quadratic objective with multiple objectives cannot be solved by this "
            "library");
}

}  // namespace
