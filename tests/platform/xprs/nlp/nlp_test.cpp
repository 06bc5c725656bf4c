// Nonlinear models solved for real: quadratic rows and formulas through Ipopt, models with
// integer columns through Bonmin. Values against known optima, duals against the optimality
// conditions, statuses of infeasible, interrupted and refused runs.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <cmath>
#include <csignal>
#include <functional>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/formula_tokens.hpp"
#include "tests/support/qcqp_optimum.hpp"
#include "tests/support/standin_test.hpp"
#include "xprs_testing.hpp"

namespace {

using xprs_test::col;
using xprs_test::con;
using xprs_test::fn;
using xprs_test::mark;
using xprs_test::op;
using xprs_test::StandinTest;

constexpr double kFree = XPRS_MINUSINFINITY;

void countSignal(int) {}

struct Outcome {
  int rc = -1;
  int solve = -1;
  int sol = -1;
  int stop = -1;
  int nlpStop = -1;
  int optType = -2;
  double obj = 0;
};

class NlpTest : public StandinTest {
 protected:
  void SetUp() override {
    StandinTest::SetUp();
    ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_OUTPUTLOG, 0), 0);
  }

 public:
  // Model builders, also used by the cases of table-driven tests.
  using StandinTest::prob_;
  // A new empty problem in place of the current one.
  void fresh() {
    ASSERT_EQ(XPRSdestroyprob(prob_), 0);
    ASSERT_EQ(XPRScreateprob(&prob_), 0);
    ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_OUTPUTLOG, 0), 0);
  }
  void addCols(std::vector<double> lb, std::vector<double> ub, std::vector<double> obj = {}) {
    if (obj.empty()) obj.assign(lb.size(), 0.0);
    ASSERT_EQ(XPRSaddcols64(prob_, static_cast<int>(lb.size()), 0, obj.data(), nullptr, nullptr,
                            nullptr, lb.data(), ub.data()),
              0);
  }
  // One row with linear entries; returns its index.
  int addRow(char type, double rhs, std::vector<int> cols = {}, std::vector<double> vals = {}) {
    int rows = 0;
    XPRSgetintattrib(prob_, XPRS_ROWS, &rows);
    const XPRSint64 start[] = {0};
    EXPECT_EQ(XPRSaddrows64(prob_, 1, static_cast<XPRSint64>(cols.size()), &type, &rhs, nullptr,
                            start, cols.data(), vals.data()),
              0);
    return rows;
  }
  void integers(std::vector<int> cols) {
    const std::vector<char> types(cols.size(), 'I');
    ASSERT_EQ(XPRSchgcoltype(prob_, static_cast<int>(cols.size()), cols.data(), types.data()), 0);
  }
  // Adds the sum of the squares of cols to the objective.
  void squares(std::vector<int> cols) {
    const std::vector<double> two(cols.size(), 2.0);
    ASSERT_EQ(XPRSchgmqobj64(prob_, static_cast<XPRSint64>(cols.size()), cols.data(), cols.data(),
                             two.data()),
              0);
  }
  void formula(int row, std::vector<xprs_test::Token> tokens) {
    ASSERT_EQ(xprs_test::addFormula(prob_, row, std::move(tokens)), 0) << lastError();
  }
  void start(std::vector<int> cols, std::vector<double> values) {
    ASSERT_EQ(XPRSnlpsetinitval(prob_, static_cast<int>(cols.size()), cols.data(), values.data()),
              0);
  }
  Outcome optimize(XPRSprob prob = nullptr) {
    if (prob == nullptr) prob = prob_;
    Outcome o;
    o.rc = XPRSoptimize(prob, "", &o.solve, &o.sol);
    EXPECT_EQ(XPRSgetintattrib(prob, XPRS_STOPSTATUS, &o.stop), 0);
    EXPECT_EQ(XPRSgetintattrib(prob, XPRS_NLPSTOPSTATUS, &o.nlpStop), 0);
    EXPECT_EQ(XPRSgetintattrib(prob, XPRS_OPTIMIZETYPEUSED, &o.optType), 0);
    EXPECT_EQ(XPRSgetdblattrib(prob, XPRS_OBJVAL, &o.obj), 0);
    return o;
  }
  std::vector<double> values(int (*get)(XPRSprob, int*, double*, int, int), int n,
                             int expectStatus) {
    std::vector<double> v(static_cast<std::size_t>(n));
    int status = -1;
    EXPECT_EQ(get(prob_, &status, v.data(), 0, n - 1), 0);
    EXPECT_EQ(status, expectStatus);
    return v;
  }
  void expectLocalOptimum(const Outcome& o) {
    EXPECT_EQ(o.rc, 0) << lastError();
    EXPECT_EQ(o.solve, XPRS_SOLVESTATUS_COMPLETED);
    EXPECT_EQ(o.sol, XPRS_SOLSTATUS_OPTIMAL);
    EXPECT_EQ(o.stop, XPRS_STOP_NONE);
    EXPECT_EQ(o.nlpStop, XPRS_STOP_NONE);
    EXPECT_EQ(o.optType, XPRS_OPTIMIZETYPE_LOCAL);
  }
};

// min or max x + y  s.t.  x^2 + y^2 <= 1 (a quadratic row): the optimum sits on the circle at
// +-(1/sqrt2, 1/sqrt2), and the row's dual is d objective / d rhs = -+1/sqrt2 (the optimum
// value is -+sqrt(2 rhs)). An empty row 0 <= 0 beside it has dual 0 (Ipopt's multiplier there
// is arbitrary).
TEST_F(NlpTest, ConvexQcqpReachesItsOptimumWithDualsInBothSenses) {
  addCols({kFree, kFree}, {XPRS_PLUSINFINITY, XPRS_PLUSINFINITY}, {1, 1});
  addRow('L', 0);
  const int row = addRow('L', 1);
  const int c[] = {0, 1};
  const double q[] = {1, 1};
  ASSERT_EQ(XPRSaddqmatrix64(prob_, row, 2, c, c, q), 0);
  const double h = std::numbers::sqrt2 / 2;
  for (const int sense : {XPRS_OBJ_MINIMIZE, XPRS_OBJ_MAXIMIZE}) {
    SCOPED_TRACE(sense);
    ASSERT_EQ(XPRSchgobjsense(prob_, sense), 0);
    const Outcome o = optimize();
    expectLocalOptimum(o);
    EXPECT_NEAR(o.obj, -sense * std::numbers::sqrt2, 1e-7);
    const auto x = values(XPRSgetsolution, 2, XPRS_SOLAVAILABLE_OPTIMAL);
    EXPECT_NEAR(x[0], -sense * h, 1e-7);
    EXPECT_NEAR(x[1], -sense * h, 1e-7);
    EXPECT_NEAR(values(XPRSgetslacks, 2, XPRS_SOLAVAILABLE_OPTIMAL)[1], 0, 1e-7);
    const auto y = values(XPRSgetduals, 2, XPRS_SOLAVAILABLE_OPTIMAL);
    EXPECT_EQ(y[0], 0);
    EXPECT_NEAR(y[1], -sense * h, 1e-6);
    const auto dj = values(XPRSgetredcosts, 2, XPRS_SOLAVAILABLE_OPTIMAL);
    EXPECT_NEAR(dj[0], 0, 1e-6);
    EXPECT_NEAR(dj[1], 0, 1e-6);
  }
  // An interior-point answer has no basis.
  int rowstat[2];
  int colstat[2];
  EXPECT_NE(XPRSgetbasis(prob_, rowstat, colstat), 0);
}

// A constant objective makes every point optimal, with every multiplier 0. Ipopt ends this model
// (4x + 4.5x^2 <= 8, x <= 4, empty and free rows beside it) short of its tolerances, with
// multipliers on the inactive row and bound left over. The cost 3 of y >= -2, in no row, is
// constant once y is settled at its bound.
TEST_F(NlpTest, ConstantObjectiveAnswerIsOptimalWithZeroMultipliers) {
  addCols({kFree, -2}, {4, XPRS_PLUSINFINITY}, {0, 3});
  addRow('L', 0);
  addRow('N', 0, {0}, {-2});
  addRow('N', 0);
  addRow('N', 0);
  const int row = addRow('L', 8, {0}, {4});
  const int c[] = {0};
  const double q[] = {4.5};
  ASSERT_EQ(XPRSaddqmatrix64(prob_, row, 1, c, c, q), 0);
  const Outcome o = optimize();
  expectLocalOptimum(o);
  EXPECT_EQ(o.obj, -6);
  const auto x = values(XPRSgetsolution, 2, XPRS_SOLAVAILABLE_OPTIMAL);
  EXPECT_LE(4 * x[0] + 4.5 * x[0] * x[0], 8 + 1e-6);
  EXPECT_EQ(values(XPRSgetduals, 5, XPRS_SOLAVAILABLE_OPTIMAL), std::vector<double>(5, 0.0));
  EXPECT_EQ(values(XPRSgetredcosts, 2, XPRS_SOLAVAILABLE_OPTIMAL), (std::vector<double>{0, 3}));
}

// Models Ipopt misread, each with its optimum worked out by hand.
TEST_F(NlpTest, QuadraticRowModelsIpoptMisreadReachTheirOptimum) {
  struct Case {
    const char* what;
    std::function<void(NlpTest&)> build;
    double objective;
  };
  const Case cases[] = {
      // The empty equality made Ipopt take the model for a square system (one equality, one
      // column), drop the objective and stop at its start. x = (sqrt(8.25) - 1/2) / 4.
      {"min -4x, x in [0, 3], 0.5x + 2x^2 <= 1 and an empty equality row",
       [](NlpTest& t) {
         t.addCols({0}, {3}, {-4});
         t.addRow('E', 0);
         const int row = t.addRow('L', 1, {0}, {0.5});
         const int c[] = {0};
         const double q[] = {2};
         ASSERT_EQ(XPRSaddqmatrix64(t.prob_, row, 1, c, c, q), 0);
       },
       0.5 - std::sqrt(8.25)},
      // Ipopt stopped short of its tolerances far out along the free x0 + x2 at a point whose
      // rows cannot be evaluated, and the run ended without an answer. The row is
      // (6x0 + x1 + 6x2 - x3)^2 / 2 <= 2 + 3 sum x with sum x <= 4/3: x1 = 2 and sum x = 4/3
      // give 7 x3 <= sqrt(12) - 2.
      {"max 2 x3, x1 >= 2, x2 <= 8, sum x <= 4/3 and a convex quadratic row",
       [](NlpTest& t) {
         t.addCols({kFree, 2, kFree, kFree},
                   {XPRS_PLUSINFINITY, XPRS_PLUSINFINITY, 8, XPRS_PLUSINFINITY}, {0, 0, 0, 2});
         ASSERT_EQ(XPRSchgobjsense(t.prob_, XPRS_OBJ_MAXIMIZE), 0);
         t.addRow('G', -4, {0, 1, 2, 3}, {-3, -3, -3, -3});
         const int row = t.addRow('L', 2, {0, 1, 2, 3}, {-3, -3, -3, -3});
         const int c1[] = {0, 0, 0, 0, 1, 1, 1, 2, 2, 3}, c2[] = {0, 1, 2, 3, 1, 2, 3, 2, 3, 3};
         const double q[] = {18, 3, 18, -3, 0.5, 3, -0.5, 18, -3, 0.5};
         ASSERT_EQ(XPRSaddqmatrix64(t.prob_, row, 10, c1, c2, q), 0);
       },
       2 * (std::sqrt(12.0) - 2) / 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    c.build(*this);
    const Outcome o = optimize();
    expectLocalOptimum(o);
    EXPECT_NEAR(o.obj, c.objective, 1e-6);
  }
}

// max x + y  s.t.  8y^2 - x/2 <= 8, x in [0, 1e6], y >= 1: the optimum holds x at its bound and
// the row active; the answer must keep both, not the row of a point beyond the bound.
TEST_F(NlpTest, ActiveRowAtALargeColumnBoundHoldsAtTheAnswer) {
  addCols({0, 1}, {1e6, XPRS_PLUSINFINITY}, {1, 1});
  ASSERT_EQ(XPRSchgobjsense(prob_, XPRS_OBJ_MAXIMIZE), 0);
  const int row = addRow('L', 8, {0}, {-0.5});
  const int c[] = {1};
  const double q[] = {8};
  ASSERT_EQ(XPRSaddqmatrix64(prob_, row, 1, c, c, q), 0);
  expectLocalOptimum(optimize());
  const auto x = values(XPRSgetsolution, 2, XPRS_SOLAVAILABLE_OPTIMAL);
  EXPECT_LE(x[0], 1e6);
  EXPECT_NEAR(x[0], 1e6, 1e-3);
  EXPECT_LE(8 * x[1] * x[1] - 0.5 * x[0], 8 + 8e-6);
}

// Rosenbrock's function (1 - x)^2 + 100 (y - x^2)^2 + 5 from (-1.2, 1), as the plug-in writes a
// nonlinear objective: a free column z with cost 1 and the row -z + f(x, y) = 0, whose dual is
// -1 (z = f - rhs).
// A triplet (i, j, v) of XPRSaddqmatrix64 with i != j is Q_ij = Q_ji = v of x'Qx, the term
// 2v x_i x_j, in whichever triangle it stands; duplicates add up. min c'x s.t. x'Qx <= r has
// its optimum in closed form, so the point, the value, the dual and the zero slack of the
// active row all show whether the row was read as written.
TEST_F(NlpTest, CrossTripletsStandForBothOffDiagonalEntriesOfTheRowMatrix) {
  struct Case {
    const char* what;
    std::vector<int> col1, col2;
    std::vector<double> coef;
    double q00, q01, q11;  // Q as the triplets give it
    double c0, c1, r;
  };
  const Case cases[] = {
      {"x^2 + xy + y^2 <= 3", {0, 0, 1}, {0, 1, 1}, {1, 0.5, 1}, 1, 0.5, 1, -1, -1, 3},
      {"lower triangle, negative", {0, 1, 1}, {0, 0, 1}, {2, -0.5, 1}, 2, -0.5, 1, 1, -2, 2},
      {"split in two", {0, 0, 1, 1}, {0, 1, 0, 1}, {1, 0.25, 0.5, 3}, 1, 0.75, 3, -3, 1, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    addCols({kFree, kFree}, {XPRS_PLUSINFINITY, XPRS_PLUSINFINITY}, {c.c0, c.c1});
    const int row = addRow('L', c.r);
    ASSERT_EQ(XPRSaddqmatrix64(prob_, row, static_cast<XPRSint64>(c.coef.size()), c.col1.data(),
                               c.col2.data(), c.coef.data()),
              0);
    const auto best = qel_test::qcqpOptimum(c.q00, c.q01, c.q11, c.c0, c.c1, c.r);
    const Outcome o = optimize();
    expectLocalOptimum(o);
    EXPECT_NEAR(o.obj, best.objective, 1e-6);
    const auto x = values(XPRSgetsolution, 2, XPRS_SOLAVAILABLE_OPTIMAL);
    EXPECT_NEAR(x[0], best.x0, 1e-6);
    EXPECT_NEAR(x[1], best.x1, 1e-6);
    EXPECT_NEAR(values(XPRSgetslacks, 1, XPRS_SOLAVAILABLE_OPTIMAL)[0], 0, 1e-6);
    EXPECT_NEAR(values(XPRSgetduals, 1, XPRS_SOLAVAILABLE_OPTIMAL)[0], best.dual, 1e-6);
  }
}

// min -x - y + k b, x, y in [0, 2], b binary, x^2 + xy + y^2 <= 3 (triplet (x, y, 0.5)) while
// b = 1. With b = 1 the row's own optimum x = y = 1 lies inside the box; with b = 0 the corner
// (2, 2) is free, where the activity 12 is the row's largest: its big-M must reach 12 - 3.
TEST_F(NlpTest, IndicatorOverAQuadraticRowWithACrossTermUsesTheWholeTerm) {
  const auto withRow = qel_test::qcqpOptimum(1, 0.5, 1, -1, -1, 3);
  ASSERT_NEAR(withRow.x0, 1, 1e-12);
  ASSERT_NEAR(withRow.x1, 1, 1e-12);
  for (const double k : {-3.0, 3.0}) {
    SCOPED_TRACE(k);
    const bool on = withRow.objective + k < -4;
    fresh();
    addCols({0, 0, 0}, {2, 2, 1}, {-1, -1, k});
    const int b[] = {2};
    ASSERT_EQ(XPRSchgcoltype(prob_, 1, b, "B"), 0);
    const int row = addRow('L', 3);
    const int c1[] = {0, 0, 1};
    const int c2[] = {0, 1, 1};
    const double q[] = {1, 0.5, 1};
    ASSERT_EQ(XPRSaddqmatrix64(prob_, row, 3, c1, c2, q), 0);
    const int rows[] = {row};
    const int flag[] = {1};
    ASSERT_EQ(XPRSsetindicators(prob_, 1, rows, b, flag), 0);
    const Outcome o = optimize();
    EXPECT_EQ(o.rc, 0) << lastError();
    EXPECT_EQ(o.sol, XPRS_SOLSTATUS_OPTIMAL);
    EXPECT_NEAR(o.obj, on ? withRow.objective + k : -4, 1e-6);
    const auto v = values(XPRSgetsolution, 3, XPRS_SOLAVAILABLE_OPTIMAL);
    EXPECT_THAT(v, testing::Pointwise(testing::DoubleNear(1e-6),
                                      on ? std::vector<double>{withRow.x0, withRow.x1, 1}
                                         : std::vector<double>{2, 2, 0}));
    const double activity = v[0] * v[0] + v[0] * v[1] + v[1] * v[1];
    EXPECT_NEAR(values(XPRSgetslacks, 1, XPRS_SOLAVAILABLE_OPTIMAL)[0], 3 - activity, 1e-6);
  }
}

TEST_F(NlpTest, RosenbrockFromTheClassicStartReachesOneOne) {
  addCols({kFree, kFree, kFree}, {XPRS_PLUSINFINITY, XPRS_PLUSINFINITY, XPRS_PLUSINFINITY},
          {0, 0, 1});
  const int row = addRow('E', 0, {2}, {-1});
  formula(row,
          {con(1), col(0), op(XPRS_OP_MINUS), con(2), op(XPRS_OP_EXPONENT), con(100), col(1),
           col(0), con(2), op(XPRS_OP_EXPONENT), op(XPRS_OP_MINUS), con(2), op(XPRS_OP_EXPONENT),
           op(XPRS_OP_MULTIPLY), op(XPRS_OP_PLUS), con(5), op(XPRS_OP_PLUS)});
  start({0, 1}, {-1.2, 1});
  const Outcome o = optimize();
  expectLocalOptimum(o);
  EXPECT_NEAR(o.obj, 5, 1e-10);
  const auto x = values(XPRSgetsolution, 3, XPRS_SOLAVAILABLE_OPTIMAL);
  EXPECT_NEAR(x[0], 1, 1e-6);
  EXPECT_NEAR(x[1], 1, 1e-6);
  EXPECT_NEAR(x[2], 5, 1e-10);
  EXPECT_NEAR(values(XPRSgetslacks, 1, XPRS_SOLAVAILABLE_OPTIMAL)[0], 0, 1e-10);
  EXPECT_NEAR(values(XPRSgetduals, 1, XPRS_SOLAVAILABLE_OPTIMAL)[0], -1, 1e-12);
  EXPECT_THAT(values(XPRSgetredcosts, 3, XPRS_SOLAVAILABLE_OPTIMAL),
              testing::Pointwise(testing::DoubleNear(1e-6), std::vector<double>{0, 0, 0}));
  int iterations = 0;
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_SIMPLEXITER, &iterations), 0);
  EXPECT_GT(iterations, 5);
  EXPECT_GT(xprs::testing::inspect(prob_).run.evaluations, iterations);
}

// (x^2 - 1)^2 has minima at -1 and 1: the starting value decides which one a local solver finds.
TEST_F(NlpTest, StartingValuesChooseTheLocalOptimum) {
  addCols({-3}, {3});
  formula(-1, {col(0), con(2), op(XPRS_OP_EXPONENT), con(1), op(XPRS_OP_MINUS), con(2),
               op(XPRS_OP_EXPONENT)});
  for (const double from : {0.4, -0.4, -2.5}) {
    SCOPED_TRACE(from);
    start({0}, {from});
    expectLocalOptimum(optimize());
    EXPECT_NEAR(values(XPRSgetsolution, 1, XPRS_SOLAVAILABLE_OPTIMAL)[0], from > 0 ? 1 : -1, 1e-6);
  }
}

// min exp(x) - 2x + y^3 - 3 ln y + sin z  s.t.  exp(x) + y >= 2.5, 0.1 <= y <= 10, 3 <= z <= 6,
// from (0, 2, 4): separable, with minima at x = ln 2, y = 1, z = 3pi/2; the row is inactive.
TEST_F(NlpTest, SmallNlpWithExpLogSinAndPowerFromAGivenStart) {
  addCols({kFree, 0.1, 3}, {XPRS_PLUSINFINITY, 10, 6});
  formula(-1, {mark(),
               col(0),
               fn(XPRS_IFUN_EXP),
               con(2),
               col(0),
               op(XPRS_OP_MULTIPLY),
               op(XPRS_OP_MINUS),
               col(1),
               con(3),
               op(XPRS_OP_EXPONENT),
               op(XPRS_OP_PLUS),
               con(3),
               mark(),
               col(1),
               fn(XPRS_IFUN_LN),
               op(XPRS_OP_MULTIPLY),
               op(XPRS_OP_MINUS),
               mark(),
               col(2),
               fn(XPRS_IFUN_SIN),
               op(XPRS_OP_PLUS)});
  const int row = addRow('G', 2.5, {1}, {1});
  formula(row, {mark(), col(0), fn(XPRS_IFUN_EXP)});
  start({0, 1, 2}, {0, 2, 4});
  const Outcome o = optimize();
  expectLocalOptimum(o);
  EXPECT_NEAR(o.obj, 2 - 2 * std::numbers::ln2, 1e-8);
  const auto x = values(XPRSgetsolution, 3, XPRS_SOLAVAILABLE_OPTIMAL);
  EXPECT_NEAR(x[0], std::numbers::ln2, 1e-6);
  EXPECT_NEAR(x[1], 1, 1e-6);
  EXPECT_NEAR(x[2], 1.5 * std::numbers::pi, 1e-6);
  EXPECT_NEAR(values(XPRSgetslacks, 1, XPRS_SOLAVAILABLE_OPTIMAL)[0], 2.5 - 3, 1e-6);
  EXPECT_NEAR(values(XPRSgetduals, 1, XPRS_SOLAVAILABLE_OPTIMAL)[0], 0, 1e-6);
}

// min x^2 + y^2 + z^2 + w^2  s.t.  x y z = 8, all columns >= 0.1 and w >= 1: x = y = z = 2 with
// the row's dual 1 (d/db of 3 b^(2/3) at 8), w at its bound with reduced cost 2. The duals and
// reduced costs must satisfy grad f - J'y - d = 0 with gradients taken from the formulas.
TEST_F(NlpTest, EqualityConstrainedFormulaHasDualsThatSatisfyTheOptimalityConditions) {
  addCols({0.1, 0.1, 0.1, 1}, {XPRS_PLUSINFINITY, XPRS_PLUSINFINITY, XPRS_PLUSINFINITY, 5});
  std::vector<xprs_test::Token> sum;
  for (int j = 0; j < 4; ++j) {
    sum.push_back(col(j));
    sum.push_back(con(2));
    sum.push_back(op(XPRS_OP_EXPONENT));
    if (j > 0) sum.push_back(op(XPRS_OP_PLUS));
  }
  formula(-1, sum);
  const int row = addRow('E', 8);
  formula(row, {col(0), col(1), op(XPRS_OP_MULTIPLY), col(2), op(XPRS_OP_MULTIPLY)});
  start({0, 1, 2}, {1, 1, 1});
  const Outcome o = optimize();
  expectLocalOptimum(o);
  EXPECT_NEAR(o.obj, 13, 1e-7);
  const auto x = values(XPRSgetsolution, 4, XPRS_SOLAVAILABLE_OPTIMAL);
  EXPECT_THAT(x, testing::Pointwise(testing::DoubleNear(1e-6), std::vector<double>{2, 2, 2, 1}));
  const double y = values(XPRSgetduals, 1, XPRS_SOLAVAILABLE_OPTIMAL)[0];
  EXPECT_NEAR(y, 1, 1e-6);
  const auto dj = values(XPRSgetredcosts, 4, XPRS_SOLAVAILABLE_OPTIMAL);
  EXPECT_NEAR(dj[3], 2, 1e-6);
  const auto f = xprs::testing::evalFormula(prob_, -1, x);
  const auto g = xprs::testing::evalFormula(prob_, row, x);
  for (std::size_t j = 0; j < 4; ++j) {
    SCOPED_TRACE(j);
    EXPECT_NEAR(f.gradient[j] - y * g.gradient[j] - dj[j], 0, 1e-6);
    if (j < 3) {
      EXPECT_NEAR(dj[j], 0, 1e-6);
    }
  }
}

// min x^2 + y^2 - 1.2 x - 4.8 y  s.t.  x + y <= 2.5, x, y integer in [0, 5]: the relaxation's
// optimum (0.35, 2.15) is fractional; the best integer point is (0, 2) with -5.6.
TEST_F(NlpTest, SmallMiqpIsSolvedByBranchAndBoundWithMipCallbacks) {
  addCols({0, 0}, {5, 5}, {-1.2, -4.8});
  const int c[] = {0, 1};
  const double q[] = {2, 2};
  ASSERT_EQ(XPRSchgmqobj64(prob_, 2, c, c, q), 0);
  addRow('L', 2.5, {0, 1}, {1, 1});
  const char types[] = {'I', 'I'};
  ASSERT_EQ(XPRSchgcoltype(prob_, 2, c, types), 0);
  struct Seen {
    int nodes = 0;
    std::vector<double> incumbents;
  } seen;
  struct sigaction host {};
  host.sa_handler = &countSignal;
  struct sigaction before {};
  ASSERT_EQ(sigaction(SIGINT, &host, &before), 0);
  ASSERT_EQ(XPRSaddcbintsol(
                prob_,
                [](XPRSprob cb, void* data) {
                  double obj = 0;
                  XPRSgetdblattrib(cb, XPRS_MIPOBJVAL, &obj);
                  static_cast<Seen*>(data)->incumbents.push_back(obj);
                },
                &seen, 0),
            0);
  ASSERT_EQ(
      XPRSaddcboptnode(
          prob_, [](XPRSprob, void* data, int*) { ++static_cast<Seen*>(data)->nodes; }, &seen, 0),
      0);
  const Outcome o = optimize();
  EXPECT_EQ(o.rc, 0) << lastError();
  EXPECT_EQ(o.solve, XPRS_SOLVESTATUS_COMPLETED);
  EXPECT_EQ(o.sol, XPRS_SOLSTATUS_OPTIMAL);
  EXPECT_EQ(o.optType, XPRS_OPTIMIZETYPE_MIP);
  EXPECT_NEAR(o.obj, -5.6, 1e-7);
  int mip = 0;
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_MIPSTATUS, &mip), 0);
  EXPECT_EQ(mip, XPRS_MIP_OPTIMAL);
  double mipObj = 0;
  double bound = 0;
  ASSERT_EQ(XPRSgetdblattrib(prob_, XPRS_MIPOBJVAL, &mipObj), 0);
  ASSERT_EQ(XPRSgetdblattrib(prob_, XPRS_BESTBOUND, &bound), 0);
  EXPECT_NEAR(mipObj, -5.6, 1e-7);
  // A valid bound of a minimisation, within the default relative gap of the optimum.
  EXPECT_LE(bound, -5.6 + 1e-7);
  EXPECT_GE(bound, -5.6 - 1e-3);
  const auto x = values(XPRSgetsolution, 2, XPRS_SOLAVAILABLE_OPTIMAL);
  EXPECT_NEAR(x[0], 0, 1e-7);
  EXPECT_NEAR(x[1], 2, 1e-7);
  ASSERT_FALSE(seen.incumbents.empty());
  EXPECT_NEAR(seen.incumbents.back(), -5.6, 1e-7);
  EXPECT_GT(seen.nodes, 0);
  int sols = 0;
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_MIPSOLS, &sols), 0);
  EXPECT_EQ(sols, static_cast<int>(seen.incumbents.size()));
  // Bonmin's own SIGINT handler must not outlive the search: the host's stays in place.
  struct sigaction now {};
  ASSERT_EQ(sigaction(SIGINT, nullptr, &now), 0);
  EXPECT_EQ(now.sa_handler, &countSignal);
  // A MIP answer has no duals.
  int status = -1;
  double dual = 0;
  ASSERT_EQ(XPRSgetduals(prob_, &status, &dual, 0, 0), 0);
  EXPECT_EQ(status, XPRS_SOLAVAILABLE_NOTFOUND);
  sigaction(SIGINT, &before, nullptr);
}

// min exp(x) - 3x over the integers 0..5: 1 (e - 3) beats 2 (e^2 - 6); the relaxation has ln 3.
TEST_F(NlpTest, IntegerFormulaModelIsALocalMipAnswer) {
  addCols({0}, {5});
  const int c[] = {0};
  const char types[] = {'I'};
  ASSERT_EQ(XPRSchgcoltype(prob_, 1, c, types), 0);
  formula(-1, {mark(), col(0), fn(XPRS_IFUN_EXP), con(3), col(0), op(XPRS_OP_MULTIPLY),
               op(XPRS_OP_MINUS)});
  const Outcome o = optimize();
  EXPECT_EQ(o.rc, 0) << lastError();
  EXPECT_EQ(o.sol, XPRS_SOLSTATUS_OPTIMAL);
  EXPECT_EQ(o.optType, XPRS_OPTIMIZETYPE_LOCAL);
  EXPECT_NEAR(o.obj, std::numbers::e - 3, 1e-7);
  EXPECT_NEAR(values(XPRSgetsolution, 1, XPRS_SOLAVAILABLE_OPTIMAL)[0], 1, 1e-7);
}

// min -x + 9 (1 - b)  s.t.  x^2 <= 4 while b = 1 (complement 1) or while b = 0 (complement -1),
// x in [0, 10], b binary. Enforced on b = 1: b = 1, x = 2 gives -2 (b = 0 costs 9 - 10 = -1).
// Enforced on b = 0: b = 1 leaves x free to 10, giving -10.
TEST_F(NlpTest, IndicatorOverAQuadraticRowHoldsForEitherComplement) {
  for (const int complement : {1, -1}) {
    SCOPED_TRACE(complement);
    fresh();
    addCols({0, 0}, {10, 1}, {-1, -9});
    const int b[] = {1};
    ASSERT_EQ(XPRSchgcoltype(prob_, 1, b, "B"), 0);
    const int constant[] = {-1};
    const double minusNine[] = {-9};
    ASSERT_EQ(XPRSchgobj(prob_, 1, constant, minusNine), 0);
    const int row = addRow('L', 4);
    const int x[] = {0};
    const double one[] = {1};
    ASSERT_EQ(XPRSaddqmatrix64(prob_, row, 1, x, x, one), 0);
    const int rows[] = {row};
    const int flag[] = {complement};
    ASSERT_EQ(XPRSsetindicators(prob_, 1, rows, b, flag), 0);
    const Outcome o = optimize();
    EXPECT_EQ(o.rc, 0) << lastError();
    EXPECT_EQ(o.sol, XPRS_SOLSTATUS_OPTIMAL);
    EXPECT_NEAR(o.obj, complement == 1 ? -2 : -10, 1e-6);
    const auto v = values(XPRSgetsolution, 2, XPRS_SOLAVAILABLE_OPTIMAL);
    EXPECT_NEAR(v[0], complement == 1 ? 2 : 10, 1e-6);
    EXPECT_NEAR(v[1], 1, 1e-9);
    // The slack measures the row itself, not its big-M form.
    EXPECT_NEAR(values(XPRSgetslacks, 1, XPRS_SOLAVAILABLE_OPTIMAL)[0], 4 - v[0] * v[0], 1e-6);
  }
}

// min (x - 1)^2 + (y - 1)^2 + 6 (1 - b)  s.t.  x + y = 5 while b = 1, x, y in [0, 10]: with b = 1
// x = y = 2.5 costs 4.5, with b = 0 the cost is 6. Both sides of the equality need a big-M row.
TEST_F(NlpTest, IndicatorOverALinearEqualityInANonlinearModel) {
  addCols({0, 0, 0}, {10, 10, 1});
  const int b[] = {2};
  ASSERT_EQ(XPRSchgcoltype(prob_, 1, b, "B"), 0);
  formula(-1, {col(0), con(1), op(XPRS_OP_MINUS), con(2), op(XPRS_OP_EXPONENT), col(1), con(1),
               op(XPRS_OP_MINUS), con(2), op(XPRS_OP_EXPONENT), op(XPRS_OP_PLUS), con(6), con(1),
               col(2), op(XPRS_OP_MINUS), op(XPRS_OP_MULTIPLY), op(XPRS_OP_PLUS)});
  const int row = addRow('E', 5, {0, 1}, {1, 1});
  const int rows[] = {row};
  const int flag[] = {1};
  ASSERT_EQ(XPRSsetindicators(prob_, 1, rows, b, flag), 0);
  const Outcome o = optimize();
  EXPECT_EQ(o.rc, 0) << lastError();
  EXPECT_EQ(o.sol, XPRS_SOLSTATUS_OPTIMAL);
  EXPECT_NEAR(o.obj, 4.5, 1e-6);
  EXPECT_THAT(values(XPRSgetsolution, 3, XPRS_SOLAVAILABLE_OPTIMAL),
              testing::Pointwise(testing::DoubleNear(1e-6), std::vector<double>{2.5, 2.5, 1}));
}

TEST_F(NlpTest, InterruptAndTimeLimitStopTheNlpWithTheirStopStatus) {
  addCols({kFree, kFree}, {XPRS_PLUSINFINITY, XPRS_PLUSINFINITY});
  formula(-1, {con(1), col(0), op(XPRS_OP_MINUS), con(2), op(XPRS_OP_EXPONENT), con(100), col(1),
               col(0), con(2), op(XPRS_OP_EXPONENT), op(XPRS_OP_MINUS), con(2),
               op(XPRS_OP_EXPONENT), op(XPRS_OP_MULTIPLY), op(XPRS_OP_PLUS)});
  start({0, 1}, {-1.2, 1});
  struct Seen {
    int calls = 0;
    int type = -5;
  } seen;
  ASSERT_EQ(XPRSaddcbchecktime(
                prob_,
                [](XPRSprob cb, void* data) {
                  auto* s = static_cast<Seen*>(data);
                  XPRSgetintattrib(cb, XPRS_OPTIMIZETYPEUSED, &s->type);
                  if (++s->calls == 3) XPRSinterrupt(cb, XPRS_STOP_USER);
                  return 0;
                },
                &seen, 0),
            0);
  const Outcome o = optimize();
  EXPECT_EQ(o.rc, 0) << lastError();
  EXPECT_EQ(seen.calls, 3);
  EXPECT_EQ(seen.type, XPRS_OPTIMIZETYPE_LOCAL);
  EXPECT_EQ(o.solve, XPRS_SOLVESTATUS_STOPPED);
  EXPECT_EQ(o.stop, XPRS_STOP_USER);
  EXPECT_EQ(o.nlpStop, XPRS_STOP_USER);
  EXPECT_EQ(o.optType, XPRS_OPTIMIZETYPE_LOCAL);
  // Every point of an unconstrained model is feasible: the last iterate is kept, not optimal.
  EXPECT_EQ(o.sol, XPRS_SOLSTATUS_FEASIBLE);
  EXPECT_GT(std::fabs(values(XPRSgetsolution, 2, XPRS_SOLAVAILABLE_FEASIBLE)[0] - 1), 1e-3);

  ASSERT_EQ(XPRSremovecbchecktime(prob_, nullptr, nullptr), 0);
  ASSERT_EQ(XPRSsetdblcontrol(prob_, XPRS_TIMELIMIT, 1e-9), 0);
  const Outcome limited = optimize();
  EXPECT_EQ(limited.solve, XPRS_SOLVESTATUS_STOPPED);
  EXPECT_EQ(limited.stop, XPRS_STOP_TIMELIMIT);
  EXPECT_EQ(limited.nlpStop, XPRS_STOP_TIMELIMIT);
}

// min 2 x1 + 2 x2 - 4 x3 s.t. -3 (x0 + x1 + x2 + x3) >= -2 and that sum plus the convex
// 0.5 (6 (x0 + x1 + x3) - x2)^2 <= 8, x0 in [0, 8], x1 <= 8: unbounded along a ray on which
// the square is 0. Stopped out there, the iterate's terms near 1e34 cancel, so the row's value
// is rounding noise: the point is no solution, whatever that noise says.
TEST_F(NlpTest, IterateWhoseRowsCannotBeEvaluatedIsNoSolution) {
  addCols({0, kFree, kFree, kFree}, {8, 8, XPRS_PLUSINFINITY, XPRS_PLUSINFINITY}, {0, 2, 2, -4});
  addRow('G', -2, {0, 1, 2, 3}, {-3, -3, -3, -3});
  const int row = addRow('L', 8, {0, 1, 2, 3}, {-3, -3, -3, -3});
  const int a[] = {0, 0, 0, 0, 1, 1, 1, 2, 2, 3};
  const int b[] = {0, 1, 2, 3, 1, 2, 3, 2, 3, 3};
  const double v[] = {18, 18, -3, 18, 18, -3, 18, 0.5, -3, 18};
  ASSERT_EQ(XPRSaddqmatrix64(prob_, row, 10, a, b, v), 0);
  int calls = 0;
  ASSERT_EQ(XPRSaddcbchecktime(
                prob_,
                [](XPRSprob cb, void* data) {
                  if (++*static_cast<int*>(data) == 300) XPRSinterrupt(cb, XPRS_STOP_USER);
                  return 0;
                },
                &calls, 0),
            0);
  const Outcome o = optimize();
  EXPECT_EQ(o.rc, 0) << lastError();
  EXPECT_EQ(o.solve, XPRS_SOLVESTATUS_STOPPED);
  EXPECT_EQ(o.sol, XPRS_SOLSTATUS_NOTFOUND);
  values(XPRSgetsolution, 4, XPRS_SOLAVAILABLE_NOTFOUND);
}

TEST_F(NlpTest, InfeasibleAndUnboundedModelsAreReportedNotSolved) {
  struct Case {
    const char* what;
    std::function<void(NlpTest&)> build;
    int optType;
    int sol = XPRS_SOLSTATUS_INFEASIBLE;
  };
  const Case cases[] = {
      {"x^2 + y^2 <= -1",
       [](NlpTest& t) {
         t.addCols({kFree, kFree}, {XPRS_PLUSINFINITY, XPRS_PLUSINFINITY});
         const int row = t.addRow('L', -1);
         t.formula(row, {col(0), con(2), op(XPRS_OP_EXPONENT), col(1), con(2), op(XPRS_OP_EXPONENT),
                         op(XPRS_OP_PLUS)});
       },
       XPRS_OPTIMIZETYPE_LOCAL},
      {"integer column without an integer in [0.2, 0.8]",
       [](NlpTest& t) {
         t.addCols({0.2}, {0.8});
         const int c[] = {0};
         const char types[] = {'I'};
         ASSERT_EQ(XPRSchgcoltype(t.prob_, 1, c, types), 0);
         t.formula(-1, {mark(), col(0), fn(XPRS_IFUN_EXP)});
       },
       XPRS_OPTIMIZETYPE_LOCAL},
      {"MIQP whose relaxation is infeasible: x0 - x1 >= 0.5 and x1 - x0 >= 0.5",
       [](NlpTest& t) {
         t.addCols({0, 0}, {1, 1});
         t.addRow('G', 0.5, {0, 1}, {1, -1});
         t.addRow('G', 0.5, {0, 1}, {-1, 1});
         t.integers({0, 1});
         t.squares({0, 1});
       },
       XPRS_OPTIMIZETYPE_MIP},
      {"MIQP without an integer point: 2 x0 + 2 x1 = 1",
       [](NlpTest& t) {
         t.addCols({0, 0}, {1, 1});
         t.addRow('E', 1, {0, 1}, {2, 2});
         t.integers({0, 1});
         t.squares({0, 1});
       },
       XPRS_OPTIMIZETYPE_MIP},
      // Bonmin's feasibility pump spent seconds on this one at the root (a minute under the fuzz
      // build's sanitizers, where its seed now guards it), beyond any time limit.
      {"MIQCP: 8 x1^2 <= 1, and 3 x0 + 3 x1 = 1 while x1 = 0, x binary",
       [](NlpTest& t) {
         t.addCols({0, 0}, {1, 1});
         t.integers({0, 1});
         const int row = t.addRow('L', 1);
         const int one[] = {1};
         const double eight[] = {8};
         ASSERT_EQ(XPRSaddqmatrix64(t.prob_, row, 1, one, one, eight), 0);
         const int rows[] = {t.addRow('E', 1, {0, 1}, {3, 3})}, on[] = {1}, complement[] = {-1};
         ASSERT_EQ(XPRSsetindicators(t.prob_, 1, rows, on, complement), 0);
       },
       XPRS_OPTIMIZETYPE_LOCAL},
      {"G row with an infinite right-hand side",
       [](NlpTest& t) {
         t.addCols({0}, {1});
         const int row = t.addRow('G', XPRS_PLUSINFINITY);
         t.formula(row, {mark(), col(0), fn(XPRS_IFUN_EXP)});
       },
       XPRS_OPTIMIZETYPE_LOCAL},
      // A MIQP whose relaxation is unbounded along a direction the objective's Hessian does not
      // curve: Bonmin answered "optimal" far out along it.
      {"min (x0 - x1)^2 + x1, x0 integer, both free",
       [](NlpTest& t) {
         t.addCols({kFree, kFree}, {XPRS_PLUSINFINITY, XPRS_PLUSINFINITY}, {0, 1});
         t.integers({0});
         const int c1[] = {0, 0, 1}, c2[] = {0, 1, 1};
         const double q[] = {2, -2, 2};
         ASSERT_EQ(XPRSchgmqobj64(t.prob_, 3, c1, c2, q), 0);
       },
       XPRS_OPTIMIZETYPE_MIP, XPRS_SOLSTATUS_UNBOUNDED},
      // Ipopt called a point at 5e14 along x3 = -x2 optimal, where the rows cannot be evaluated
      // to the tolerance.
      {"min 2 x0 + 3 x3 + 36 (sum x)^2, sum x <= 2/3, 2 x0^2 - 2 x0 x1 + x1^2 / 2 - 3 sum x <= 1",
       [](NlpTest& t) {
         t.addCols({0, 0, kFree, kFree},
                   {8, XPRS_PLUSINFINITY, XPRS_PLUSINFINITY, XPRS_PLUSINFINITY}, {2, 0, 0, 3});
         t.addRow('G', -2, {0, 1, 2, 3}, {-3, -3, -3, -3});
         const int row = t.addRow('L', 1, {0, 1, 2, 3}, {-3, -3, -3, -3});
         const int r1[] = {0, 0, 1}, r2[] = {0, 1, 1};
         const double rq[] = {2, -1, 0.5};
         ASSERT_EQ(XPRSaddqmatrix64(t.prob_, row, 3, r1, r2, rq), 0);
         std::vector<int> o1, o2;
         for (int i = 0; i < 4; ++i) {
           for (int j = i; j < 4; ++j) o1.push_back(i), o2.push_back(j);
         }
         const std::vector<double> oq(o1.size(), 72);
         ASSERT_EQ(XPRSchgmqobj64(t.prob_, 10, o1.data(), o2.data(), oq.data()), 0);
       },
       XPRS_OPTIMIZETYPE_LOCAL, XPRS_SOLSTATUS_UNBOUNDED},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    c.build(*this);
    const Outcome o = optimize();
    EXPECT_EQ(o.rc, 0) << lastError();
    EXPECT_EQ(o.solve, XPRS_SOLVESTATUS_COMPLETED);
    EXPECT_EQ(o.sol, c.sol);
    EXPECT_EQ(o.optType, c.optType);
    int status = -1;
    double x = 0;
    ASSERT_EQ(XPRSgetsolution(prob_, &status, &x, 0, 0), 0);
    EXPECT_EQ(status, XPRS_SOLAVAILABLE_NOTFOUND);
  }
}

// A linear row given twice, or twice and scaled, makes the equalities' Jacobian rank deficient:
// on this MIQP Ipopt's restoration phase gave up near the answer at the root, and Bonmin took
// the failed relaxation for an infeasible model. min 0.5 (x0 + x1 + x2) + (x0 + x1)^2 / 8 over
// binaries with 2 x0 + 2 x1 + 2 x2 = 4 and x1 = 0 -> -3 x1 <= -4 (which only x1 = 1 keeps):
// x = (0, 1, 1), objective 1.125. A row that repeats another with other bounds stays a row.
TEST_F(NlpTest, RepeatedRowsDoNotStopTheEngine) {
  struct Case {
    const char* what;
    char type;
    double scale;  // of the second copy
    double rhs;
  };
  const Case cases[] = {
      {"same row twice", 'E', 1, 4},
      {"row scaled by -0.5", 'E', -0.5, -2},
      {"row scaled by 2 with a looser side", 'L', 2, 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    addCols({0, 0, 0}, {1, 1, 1}, {0.5, 0.5, 0.5});
    integers({0, 1, 2});
    addRow('E', 4, {0, 1, 2}, {2, 2, 2});
    addRow(c.type, c.rhs, {0, 1, 2}, {2 * c.scale, 2 * c.scale, 2 * c.scale});
    const int row = addRow('L', -4, {1}, {-3});
    const int col = 1, complement = -1;
    ASSERT_EQ(XPRSsetindicators(prob_, 1, &row, &col, &complement), 0);
    const int qi[] = {0, 0, 1}, qj[] = {0, 1, 1};
    const double q[] = {0.25, 0.25, 0.25};
    ASSERT_EQ(XPRSchgmqobj64(prob_, 3, qi, qj, q), 0);
    const Outcome o = optimize();
    ASSERT_EQ(o.rc, 0) << lastError();
    EXPECT_EQ(o.sol, XPRS_SOLSTATUS_OPTIMAL);
    EXPECT_NEAR(o.obj, 1.125, 1e-6);
    EXPECT_THAT(values(XPRSgetsolution, 3, XPRS_SOLAVAILABLE_OPTIMAL),
                testing::Pointwise(testing::DoubleNear(1e-6), {0.0, 1.0, 1.0}));
    EXPECT_THAT(values(XPRSgetslacks, 3, XPRS_SOLAVAILABLE_OPTIMAL),
                testing::Pointwise(testing::DoubleNear(1e-6), {0.0, c.rhs - 4 * c.scale, -1.0}));
  }
}

// Bonmin's strong branching chose columns that were integral, or fixed, by the time it branched
// on them, and Osi's integer branching asserted, which ended the process. Columns are now chosen
// by their fractional parts. An MIQP over binaries with 2 x0 + 2 x1 + 2 x2 = 4 and objective
// 0.5 (x0 + x1 + x2) + (x0 + x1 - 8 x2)^2 / 8 has its optimum 1.5 at (1, 1, 0); the MIQCP with
// 4.5 x0^2 + 0.5 x1 + 0.5 x2 <= 1 (so x0 = 0) and 3 <= -4 x0 - 2 x2 <= 7, x2 in {-1, 0, 1},
// is infeasible.
TEST_F(NlpTest, BranchingChoicesOsiRejectsAreNotMade) {
  fresh();
  addCols({0, 0, 0}, {1, 1, 1}, {0.5, 0.5, 0.5});
  integers({0, 1, 2});
  addRow('E', 4, {0, 1, 2}, {2, 2, 2});
  const int qi[] = {0, 0, 0, 1, 1, 2}, qj[] = {0, 1, 2, 1, 2, 2};
  const double q[] = {0.25, 0.25, -2, 0.25, -2, 16};
  ASSERT_EQ(XPRSchgmqobj64(prob_, 6, qi, qj, q), 0);
  const Outcome miqp = optimize();
  ASSERT_EQ(miqp.rc, 0) << lastError();
  EXPECT_EQ(miqp.sol, XPRS_SOLSTATUS_OPTIMAL);
  EXPECT_NEAR(miqp.obj, 1.5, 1e-6);

  fresh();
  addCols({kFree, -1, -1}, {8, 2, 1});
  integers({0, 2});
  addRow('G', -1, {0, 2}, {3, -3});
  addRow('L', 7, {0, 2}, {-4, -2});
  addRow('G', 3, {0, 2}, {-4, -2});
  const int row = addRow('L', 1, {1, 2}, {0.5, 0.5});
  const int c[] = {0};
  const double v[] = {4.5};
  ASSERT_EQ(XPRSaddqmatrix64(prob_, row, 1, c, c, v), 0);
  const Outcome miqcp = optimize();
  ASSERT_EQ(miqcp.rc, 0) << lastError();
  EXPECT_EQ(miqcp.sol, XPRS_SOLSTATUS_INFEASIBLE);
}

// A model whose columns are all fixed has one point, which decides without an engine: Ipopt
// crashed on such a model when a formula had no value there.
TEST_F(NlpTest, AllColumnsFixedIsDecidedAtTheOnlyPoint) {
  struct Case {
    const char* what;
    double at;
    double bound;  // x^2 <= bound
    bool integer;
    int sol;
  };
  const Case cases[] = {
      {"feasible", 10, 200, false, XPRS_SOLSTATUS_OPTIMAL},
      {"feasible, integer", 10, 200, true, XPRS_SOLSTATUS_OPTIMAL},
      {"row violated", 10, 50, false, XPRS_SOLSTATUS_INFEASIBLE},
      {"row violated, integer", 10, 50, true, XPRS_SOLSTATUS_INFEASIBLE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    // min log10(x^1.75) with x fixed.
    addCols({c.at}, {c.at});
    formula(-1, {mark(), col(0), con(1.75), op(XPRS_OP_EXPONENT), fn(XPRS_IFUN_LOG10)});
    const int row = addRow('L', c.bound);
    formula(row, {col(0), con(2), op(XPRS_OP_EXPONENT)});
    if (c.integer) {
      const int cols[] = {0};
      const char types[] = {'I'};
      ASSERT_EQ(XPRSchgcoltype(prob_, 1, cols, types), 0);
    }
    const Outcome o = optimize();
    EXPECT_EQ(o.rc, 0) << lastError();
    EXPECT_EQ(o.solve, XPRS_SOLVESTATUS_COMPLETED);
    EXPECT_EQ(o.sol, c.sol);
    if (c.sol == XPRS_SOLSTATUS_OPTIMAL) {
      EXPECT_NEAR(o.obj, 1.75, 1e-12);
      EXPECT_EQ(values(XPRSgetsolution, 1, XPRS_SOLAVAILABLE_OPTIMAL)[0], c.at);
    }
    if (c.integer) {
      int mip = -1;
      ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_MIPSTATUS, &mip), 0);
      EXPECT_EQ(mip, c.sol == XPRS_SOLSTATUS_OPTIMAL ? XPRS_MIP_OPTIMAL : XPRS_MIP_INFEAS);
    }
  }
  // At x = -35 the objective has no value.
  fresh();
  addCols({-35}, {-35});
  formula(-1, {mark(), col(0), con(1.75), op(XPRS_OP_EXPONENT), fn(XPRS_IFUN_LOG10)});
  const Outcome o = optimize();
  EXPECT_EQ(o.rc, 32);
  EXPECT_EQ(o.solve, XPRS_SOLVESTATUS_FAILED);
  EXPECT_EQ(lastError(),
            "XPRSoptimize: the formulas have no finite value at the only point the column bounds "
            "allow");
}

TEST_F(NlpTest, ModelsTheNonlinearEnginesCannotTakeAreRefusedWithAClearError) {
  // x, y in [0, 10] with the row x y <= 4.
  auto base = [](NlpTest& t) {
    t.addCols({0, 0}, {10, 10});
    t.formula(t.addRow('L', 4), {col(0), col(1), op(XPRS_OP_MULTIPLY)});
  };
  struct Case {
    const char* what;
    std::function<void(NlpTest&)> build;
    std::string text;
  };
  const Case cases[] = {
      {"special ordered set",
       [&](NlpTest& t) {
         base(t);
         const XPRSint64 start[] = {0};
         const int cols[] = {0, 1};
         const double ref[] = {1, 2};
         ASSERT_EQ(XPRSaddsets64(t.prob_, 1, 2, "1", start, cols, ref), 0);
       },
       "special ordered sets cannot be solved in a nonlinear model"},
      {"semi-continuous column",
       [&](NlpTest& t) {
         base(t);
         const int c[] = {0};
         ASSERT_EQ(XPRSchgcoltype(t.prob_, 1, c, "S"), 0);
       },
       "semi-continuous columns cannot be solved in a nonlinear model"},
      {"indicator on a formula row",
       [&](NlpTest& t) {
         base(t);
         const int c[] = {1};
         ASSERT_EQ(XPRSchgcoltype(t.prob_, 1, c, "B"), 0);
         const int rows[] = {0};
         const int complement[] = {1};
         ASSERT_EQ(XPRSsetindicators(t.prob_, 1, rows, c, complement), 0);
       },
       "indicator rows with formulas cannot be solved by this library"},
      {"quadratic indicator row over an unbounded column",
       [](NlpTest& t) {
         t.addCols({kFree, 0}, {XPRS_PLUSINFINITY, 1});
         const int row = t.addRow('L', 4);
         const int x[] = {0};
         const double one[] = {1};
         ASSERT_EQ(XPRSaddqmatrix64(t.prob_, row, 1, x, x, one), 0);
         const int b[] = {1};
         ASSERT_EQ(XPRSchgcoltype(t.prob_, 1, b, "B"), 0);
         const int rows[] = {row};
         const int complement[] = {-1};
         ASSERT_EQ(XPRSsetindicators(t.prob_, 1, rows, b, complement), 0);
       },
       "indicator row 0 has no finite implied bound: column 0 is unbounded above"},
      {"second objective",
       [&](NlpTest& t) {
         base(t);
         const int c[] = {0};
         const double v[] = {1};
         ASSERT_EQ(XPRSaddobj(t.prob_, 1, c, v, 0, 1.0), 0);
       },
       "several objectives cannot be solved together with quadratic rows or formulas"},
      {"non-convex MIQP",
       [](NlpTest& t) {
         t.addCols({0, 0}, {3, 3});
         const int c[] = {0, 1};
         const double q[] = {2, -2};
         ASSERT_EQ(XPRSchgmqobj64(t.prob_, 2, c, c, q), 0);
         ASSERT_EQ(XPRSchgcoltype(t.prob_, 1, c, "I"), 0);
       },
       "the objective Hessian is not positive semi-definite"},
      // Infeasible: the rows ask for s + x2 <= 4/3 and (6s - x2)^2 / 2 <= 1 + 3 (s + x2) with
      // s = x0 + x1 + x3 and x2 >= 2. Ipopt's iterates diverge, and the boxes decide nothing.
      {"diverging on an infeasible quadratic row",
       [](NlpTest& t) {
         t.addCols({0, kFree, 2, kFree}, {8, 8, XPRS_PLUSINFINITY, XPRS_PLUSINFINITY},
                   {0, 2, 2, -4});
         t.addRow('G', -4, {0, 1, 2, 3}, {-3, -3, -3, -3});
         const int row = t.addRow('L', 1, {0, 1, 2, 3}, {-3, -3, -3, -3});
         const int c1[] = {0, 0, 0, 0, 1, 1, 1, 2, 2, 3}, c2[] = {0, 1, 2, 3, 1, 2, 3, 2, 3, 3};
         const double q[] = {18, 18, -3, 18, 18, -3, 18, 0.5, -3, 18};
         ASSERT_EQ(XPRSaddqmatrix64(t.prob_, row, 10, c1, c2, q), 0);
       },
       "Ipopt's iterates diverged, and within boxes on the infinite column sides nothing was "
       "decided: the nonlinear engine cannot solve the model"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fresh();
    c.build(*this);
    const Outcome o = optimize();
    EXPECT_EQ(o.rc, 32);
    EXPECT_EQ(o.solve, XPRS_SOLVESTATUS_FAILED);
    EXPECT_EQ(lastError(), "XPRSoptimize: " + c.text);
  }
}

// Ipopt cannot run inside itself: a callback that optimises another nonlinear problem gets an
// error instead of corrupting the running solve, which still finishes.
TEST_F(NlpTest, NonlinearRunInsideAnotherOneIsRefused) {
  XPRSprob other = nullptr;
  ASSERT_EQ(XPRScreateprob(&other), 0);
  ASSERT_EQ(XPRSsetintcontrol(other, XPRS_OUTPUTLOG, 0), 0);
  const double lb[] = {-1};
  const double ub[] = {1};
  ASSERT_EQ(XPRSaddcols64(other, 1, 0, nullptr, nullptr, nullptr, nullptr, lb, ub), 0);
  ASSERT_EQ(xprs_test::addFormula(other, -1, {mark(), col(0), fn(XPRS_IFUN_EXP)}), 0);
  addCols({-1}, {1});
  formula(-1, {col(0), con(2), op(XPRS_OP_EXPONENT)});
  struct Seen {
    XPRSprob other;
    int rc = 0;
    std::string error;
  } seen{other, 0, {}};
  ASSERT_EQ(XPRSaddcbchecktime(
                prob_,
                [](XPRSprob, void* data) {
                  auto* s = static_cast<Seen*>(data);
                  // The first check comes before the engine starts: that run may go ahead.
                  if (s->rc != 0) return 0;
                  s->rc = XPRSoptimize(s->other, "", nullptr, nullptr);
                  char text[512];
                  XPRSgetlasterror(s->other, text);
                  s->error = text;
                  return 0;
                },
                &seen, 0),
            0);
  const Outcome o = optimize();
  expectLocalOptimum(o);
  EXPECT_EQ(seen.rc, 32);
  EXPECT_EQ(seen.error, "XPRSoptimize: a nonlinear optimisation cannot start inside another one");
  EXPECT_EQ(XPRSdestroyprob(other), 0);
}

// Ipopt keeps state of its own (in its linear solver) that parallel solves corrupt: problems
// solved from several threads at once all reach their optimum.
TEST_F(NlpTest, ParallelSolvesOfSeparateProblemsAllSucceed) {
  constexpr int kThreads = 4;
  constexpr int kCols = 40;
  std::vector<int> wrong(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &wrong] {
      for (int run = 0; run < 4; ++run) {
        XPRSprob p = nullptr;
        if (XPRScreateprob(&p) != 0) {
          ++wrong[static_cast<std::size_t>(t)];
          continue;
        }
        XPRSsetintcontrol(p, XPRS_OUTPUTLOG, 0);
        const std::vector<double> lb(kCols, kFree);
        XPRSaddcols64(p, kCols, 0, nullptr, nullptr, nullptr, nullptr, lb.data(), nullptr);
        // The sum of (exp(x_j) - exp(x_j+1))^2 + (x_j - c)^2 with c = 1 + t: 0 at x = c.
        for (int j = 0; j + 1 < kCols; ++j) {
          xprs_test::addFormula(
              p, -1,
              {mark(), col(j), fn(XPRS_IFUN_EXP), mark(), col(j + 1), fn(XPRS_IFUN_EXP),
               op(XPRS_OP_MINUS), con(2), op(XPRS_OP_EXPONENT), col(j), con(1 + t),
               op(XPRS_OP_MINUS), con(2), op(XPRS_OP_EXPONENT), op(XPRS_OP_PLUS)});
        }
        int sol = -1;
        double obj = 1;
        if (XPRSoptimize(p, "", nullptr, &sol) != 0 || sol != XPRS_SOLSTATUS_OPTIMAL ||
            XPRSgetdblattrib(p, XPRS_OBJVAL, &obj) != 0 || std::fabs(obj) > 1e-8) {
          ++wrong[static_cast<std::size_t>(t)];
        }
        XPRSdestroyprob(p);
      }
    });
  }
  for (std::thread& th : threads) th.join();
  EXPECT_THAT(wrong, testing::Each(0));
}

}  // namespace
