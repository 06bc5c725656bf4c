// Real solves of COIN-OR sample models and small models with known answers: objective,
// primal values, duals, reduced costs, basis statuses (rows in the slack convention),
// statuses of infeasible, unbounded and limited runs, callbacks and interrupts.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/mps_loader.hpp"
#include "tests/support/standin_test.hpp"
#include "xprs_testing.hpp"

namespace {

using xprs_test::StandinTest;

struct Outcome {
  int solve = -1;
  int sol = -1;
  int stop = -1;
  int optType = -2;
  double obj = 0;
};

class SolveTest : public StandinTest {
 protected:
  Outcome optimize() {
    Outcome o;
    EXPECT_EQ(XPRSoptimize(prob_, "", &o.solve, &o.sol), 0) << lastError();
    EXPECT_EQ(XPRSgetintattrib(prob_, XPRS_STOPSTATUS, &o.stop), 0);
    EXPECT_EQ(XPRSgetintattrib(prob_, XPRS_OPTIMIZETYPEUSED, &o.optType), 0);
    EXPECT_EQ(XPRSgetdblattrib(prob_, XPRS_OBJVAL, &o.obj), 0);
    return o;
  }
  std::vector<double> values(int (*fn)(XPRSprob, int*, double*, int, int), int n,
                             int expectStatus) {
    std::vector<double> v(static_cast<std::size_t>(n));
    int status = -1;
    EXPECT_EQ(fn(prob_, &status, v.data(), 0, n - 1), 0);
    EXPECT_EQ(status, expectStatus);
    return v;
  }
  void quiet() { ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_OUTPUTLOG, 0), 0); }
  // An integer attribute of prob_; -1 when it cannot be read, which fails the test.
  int intAttrib(int id) {
    int value = -1;
    EXPECT_EQ(XPRSgetintattrib(prob_, id, &value), 0) << "attribute " << id;
    return value;
  }
  // Counts the node callbacks of prob_ in *seen.
  void countNodes(int* seen) {
    ASSERT_EQ(XPRSaddcboptnode(
                  prob_, [](XPRSprob, void* data, int*) { ++*static_cast<int*>(data); }, seen, 0),
              0);
  }
};

// max 3x + 2y  s.t.  r0: x + y <= 4,  r1: x + 3y <= 7,  r2: x + y >= 1,  0 <= x <= 3, y >= 0.
// Optimum x = 3, y = 1, objective 11 - 5 (constant 5): r0 binding with dual 2, x at its upper
// bound with reduced cost 1.
TEST_F(SolveTest, SmallMaximisationGivesExactValuesDualsAndSlackBasis) {
  quiet();
  const double obj[] = {3, 2};
  const double ub[] = {3, XPRS_PLUSINFINITY};
  ASSERT_EQ(XPRSaddcols64(prob_, 2, 0, obj, nullptr, nullptr, nullptr, nullptr, ub), 0);
  const char types[] = {'L', 'L', 'G'};
  const double rhs[] = {4, 7, 1};
  const XPRSint64 start[] = {0, 2, 4};
  const int cols[] = {0, 1, 0, 1, 0, 1};
  const double vals[] = {1, 1, 1, 3, 1, 1};
  ASSERT_EQ(XPRSaddrows64(prob_, 3, 6, types, rhs, nullptr, start, cols, vals), 0);
  ASSERT_EQ(XPRSchgobjsense(prob_, XPRS_OBJ_MAXIMIZE), 0);
  const int constant[] = {-1};
  const double five[] = {5};
  ASSERT_EQ(XPRSchgobj(prob_, 1, constant, five), 0);
  const Outcome o = optimize();
  EXPECT_EQ(o.solve, XPRS_SOLVESTATUS_COMPLETED);
  EXPECT_EQ(o.sol, XPRS_SOLSTATUS_OPTIMAL);
  EXPECT_EQ(o.stop, XPRS_STOP_NONE);
  EXPECT_EQ(o.optType, XPRS_OPTIMIZETYPE_LP);
  EXPECT_NEAR(o.obj, 6.0, 1e-9);
  const auto x = values(XPRSgetsolution, 2, XPRS_SOLAVAILABLE_OPTIMAL);
  EXPECT_NEAR(x[0], 3, 1e-9);
  EXPECT_NEAR(x[1], 1, 1e-9);
  const auto slack = values(XPRSgetslacks, 3, XPRS_SOLAVAILABLE_OPTIMAL);
  EXPECT_NEAR(slack[0], 0, 1e-9);
  EXPECT_NEAR(slack[1], 1, 1e-9);
  EXPECT_NEAR(slack[2], -3, 1e-9);
  const auto dual = values(XPRSgetduals, 3, XPRS_SOLAVAILABLE_OPTIMAL);
  EXPECT_NEAR(dual[0], 2, 1e-9);
  EXPECT_NEAR(dual[1], 0, 1e-9);
  EXPECT_NEAR(dual[2], 0, 1e-9);
  const auto dj = values(XPRSgetredcosts, 2, XPRS_SOLAVAILABLE_OPTIMAL);
  EXPECT_NEAR(dj[0], 1, 1e-9);
  EXPECT_NEAR(dj[1], 0, 1e-9);
  int rowstat[3];
  int colstat[2];
  ASSERT_EQ(XPRSgetbasis(prob_, rowstat, colstat), 0);
  EXPECT_THAT(rowstat, testing::ElementsAre(XPRS_AT_LOWER, XPRS_BASIC, XPRS_BASIC));
  EXPECT_THAT(colstat, testing::ElementsAre(XPRS_AT_UPPER, XPRS_BASIC));
  int r = -1;
  int c = -1;
  ASSERT_EQ(XPRSgetbasisval(prob_, 0, 0, &r, &c), 0);
  EXPECT_EQ(r, XPRS_AT_LOWER);
  EXPECT_EQ(c, XPRS_AT_UPPER);
  double bound = 0;
  ASSERT_EQ(XPRSgetdblattrib(prob_, XPRS_LPOBJVAL, &bound), 0);
  EXPECT_NEAR(bound, 6.0, 1e-9);
}

TEST_F(SolveTest, NodeCallbackLeavesAnLpAnLpWithDualsAndBasis) {
  quiet();
  const auto model = xprs_test::readSample("afiro");
  xprs_test::load(prob_, model);
  int nodesSeen = 0;
  countNodes(&nodesSeen);
  const Outcome o = optimize();
  EXPECT_EQ(o.optType, XPRS_OPTIMIZETYPE_LP);
  EXPECT_EQ(o.sol, XPRS_SOLSTATUS_OPTIMAL);
  EXPECT_NEAR(o.obj, -464.753142857, 1e-6);
  EXPECT_EQ(nodesSeen, 0);
  EXPECT_EQ(intAttrib(XPRS_LPSTATUS), XPRS_LP_OPTIMAL);
  const auto y = values(XPRSgetduals, model.rows, XPRS_SOLAVAILABLE_OPTIMAL);
  double by = 0;
  for (std::size_t i = 0; i < y.size(); ++i) by += y[i] * model.rhs[i];
  // afiro's columns all rest at zero lower bounds, so b'y alone is the optimum.
  EXPECT_NEAR(by, o.obj, 1e-6);
  std::vector<int> rowstat(static_cast<std::size_t>(model.rows));
  ASSERT_EQ(XPRSgetbasis(prob_, rowstat.data(), nullptr), 0) << lastError();
}

// min x  s.t.  2 <= x <= 10 as a range row (rhs 10, range 8): the row sits at rhs - range, so
// its slack (8) is at its upper bound.
TEST_F(SolveTest, RangeRowAtItsLowerEndHasSlackAtUpper) {
  quiet();
  xprs_test::loadRangeRowModel(prob_);
  const Outcome o = optimize();
  EXPECT_NEAR(o.obj, 2.0, 1e-9);
  const auto slack = values(XPRSgetslacks, 1, XPRS_SOLAVAILABLE_OPTIMAL);
  EXPECT_NEAR(slack[0], 8, 1e-9);
  const auto dual = values(XPRSgetduals, 1, XPRS_SOLAVAILABLE_OPTIMAL);
  EXPECT_NEAR(dual[0], 1, 1e-9);
  int r = -1;
  ASSERT_EQ(XPRSgetbasisval(prob_, 0, 0, &r, nullptr), 0);
  EXPECT_EQ(r, XPRS_AT_UPPER);
}

// Rows without entries have activity 0, so their slack is their right-hand side, also when
// every row is empty (presolve then removes them all) and with presolve off, for an LP and a
// convex QP: min 2x (+ x^2), x in [-1, 4], rows 'G' >= -0.6, 'L' <= 6, 'R' 1 - 3 .. 1.
TEST_F(SolveTest, EmptyRowsHaveTheirRightHandSideAsSlack) {
  quiet();
  const double obj[] = {2}, lb[] = {-1}, ub[] = {4};
  ASSERT_EQ(XPRSaddcols64(prob_, 1, 0, obj, nullptr, nullptr, nullptr, lb, ub), 0);
  const char types[] = {'G', 'L', 'R'};
  const double rhs[] = {-0.6, 6, 1}, rng[] = {0, 0, 3};
  const XPRSint64 start[] = {0, 0, 0};
  ASSERT_EQ(XPRSaddrows64(prob_, 3, 0, types, rhs, rng, start, nullptr, nullptr), 0);
  for (const bool quadratic : {false, true}) {
    if (quadratic) {
      const int col[] = {0};
      const double two[] = {2};
      ASSERT_EQ(XPRSchgmqobj64(prob_, 1, col, col, two), 0);
    }
    for (const int presolve : {1, 0}) {
      SCOPED_TRACE(testing::Message() << "quadratic " << quadratic << ", presolve " << presolve);
      ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_PRESOLVE, presolve), 0);
      const Outcome o = optimize();
      EXPECT_EQ(o.sol, XPRS_SOLSTATUS_OPTIMAL);
      EXPECT_NEAR(values(XPRSgetsolution, 1, XPRS_SOLAVAILABLE_OPTIMAL)[0], -1, 1e-6);
      EXPECT_THAT(values(XPRSgetslacks, 3, XPRS_SOLAVAILABLE_OPTIMAL),
                  testing::ElementsAre(-0.6, 6, 1));
    }
  }
}

// Without matrix entries no row contributes to a reduced cost: it is the objective coefficient,
// in either sense (max 2x - y, x in [-1, 4], y in [0, 1], an empty row).
TEST_F(SolveTest, ReducedCostsWithAnEmptyMatrixAreTheObjectiveInBothSenses) {
  quiet();
  const double obj[] = {2, -1}, lb[] = {-1, 0}, ub[] = {4, 1};
  ASSERT_EQ(XPRSaddcols64(prob_, 2, 0, obj, nullptr, nullptr, nullptr, lb, ub), 0);
  const char types[] = {'L'};
  const double rhs[] = {6};
  const XPRSint64 start[] = {0};
  ASSERT_EQ(XPRSaddrows64(prob_, 1, 0, types, rhs, nullptr, start, nullptr, nullptr), 0);
  for (const int sense : {XPRS_OBJ_MAXIMIZE, XPRS_OBJ_MINIMIZE}) {
    SCOPED_TRACE(sense);
    ASSERT_EQ(XPRSchgobjsense(prob_, sense), 0);
    EXPECT_EQ(optimize().sol, XPRS_SOLSTATUS_OPTIMAL);
    EXPECT_THAT(values(XPRSgetredcosts, 2, XPRS_SOLAVAILABLE_OPTIMAL), testing::ElementsAre(2, -1));
  }
}

// Columns x, y, z, w, v >= 0; min 2z - 3v subject to
//   r0 L: x + v <= 3.5         binding, dual -1
//   r1 G: y + z >= 3           binding, dual 1
//   r2 E: x - w = 1            dual 1
//   r3 R: 2 <= z + w <= 6      at its lower end, dual 1
//   r4 R: 1 <= y + 2v <= 5     at its upper end, dual -1
//   r5 G: x + y + z + w + v >= 0   slack basic
// The unique optimum x = 2, y = 2, z = 1, w = 1, v = 1.5 (objective -2.5) has every column basic.
void loadEveryRowType(XPRSprob prob) {
  const double obj[] = {0, 0, 2, 0, -3};
  ASSERT_EQ(XPRSaddcols64(prob, 5, 0, obj, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  const char types[] = {'L', 'G', 'E', 'R', 'R', 'G'};
  const double rhs[] = {3.5, 3, 1, 6, 5, 0};
  const double rng[] = {0, 0, 0, 4, 4, 0};
  const XPRSint64 start[] = {0, 2, 4, 6, 8, 10};
  const int cols[] = {0, 4, 1, 2, 0, 3, 2, 3, 1, 4, 0, 1, 2, 3, 4};
  const double vals[] = {1, 1, 1, 1, 1, -1, 1, 1, 1, 2, 1, 1, 1, 1, 1};
  ASSERT_EQ(XPRSaddrows64(prob, 6, 15, types, rhs, rng, start, cols, vals), 0);
}

TEST_F(SolveTest, RowBasisDescribesTheSlackOfEachRowType) {
  quiet();
  loadEveryRowType(prob_);
  const Outcome o = optimize();
  EXPECT_NEAR(o.obj, -2.5, 1e-9);
  EXPECT_THAT(values(XPRSgetsolution, 5, XPRS_SOLAVAILABLE_OPTIMAL),
              testing::Pointwise(testing::DoubleNear(1e-9), {2.0, 2.0, 1.0, 1.0, 1.5}));
  EXPECT_THAT(values(XPRSgetduals, 6, XPRS_SOLAVAILABLE_OPTIMAL),
              testing::Pointwise(testing::DoubleNear(1e-9), {-1.0, 1.0, 1.0, 1.0, -1.0, 0.0}));
  const int expected[] = {XPRS_AT_LOWER, XPRS_AT_UPPER, XPRS_AT_LOWER,
                          XPRS_AT_UPPER, XPRS_AT_LOWER, XPRS_BASIC};
  int rowstat[6];
  int colstat[5];
  ASSERT_EQ(XPRSgetbasis(prob_, rowstat, colstat), 0);
  EXPECT_THAT(rowstat, testing::ElementsAreArray(expected));
  EXPECT_THAT(colstat, testing::Each(XPRS_BASIC));
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    int r = -1;
    ASSERT_EQ(XPRSgetbasisval(prob_, i, 0, &r, nullptr), 0);
    EXPECT_EQ(r, expected[i]);
  }
}

TEST_F(SolveTest, BasisReadAfterASolveRestartsInZeroIterations) {
  quiet();
  loadEveryRowType(prob_);
  optimize();
  int rowstat[6];
  int colstat[5];
  ASSERT_EQ(XPRSgetbasis(prob_, rowstat, colstat), 0);
  // The primal simplex keeps a range row at the end the basis names; the dual one may move it.
  for (const char* flags : {"p", "d"}) {
    SCOPED_TRACE(flags);
    // A fresh problem with the same model starts from the loaded basis only.
    XPRSprob fresh = nullptr;
    ASSERT_EQ(XPRScreateprob(&fresh), 0);
    ASSERT_EQ(XPRSsetintcontrol(fresh, XPRS_OUTPUTLOG, 0), 0);
    loadEveryRowType(fresh);
    int iters = -1;
    ASSERT_EQ(XPRSoptimize(fresh, flags, nullptr, nullptr), 0);
    ASSERT_EQ(XPRSgetintattrib(fresh, XPRS_SIMPLEXITER, &iters), 0);
    EXPECT_GT(iters, 0);
    ASSERT_EQ(XPRSloadbasis(fresh, rowstat, colstat), 0);
    int sol = -1;
    ASSERT_EQ(XPRSoptimize(fresh, flags, nullptr, &sol), 0);
    EXPECT_EQ(sol, XPRS_SOLSTATUS_OPTIMAL);
    ASSERT_EQ(XPRSgetintattrib(fresh, XPRS_SIMPLEXITER, &iters), 0);
    EXPECT_EQ(iters, 0);
    double obj = 0;
    ASSERT_EQ(XPRSgetdblattrib(fresh, XPRS_OBJVAL, &obj), 0);
    EXPECT_NEAR(obj, -2.5, 1e-9);
    int again[6];
    ASSERT_EQ(XPRSgetbasis(fresh, again, nullptr), 0);
    EXPECT_THAT(again, testing::ElementsAreArray(rowstat));
    EXPECT_EQ(XPRSdestroyprob(fresh), 0);
  }
}

TEST_F(SolveTest, AfiroOptimumSatisfiesOptimalityConditions) {
  quiet();
  const auto model = xprs_test::readSample("afiro");
  xprs_test::load(prob_, model);
  const Outcome o = optimize();
  EXPECT_EQ(o.sol, XPRS_SOLSTATUS_OPTIMAL);
  EXPECT_NEAR(o.obj, -464.753142857, 1e-6);
  const auto x = values(XPRSgetsolution, model.cols, XPRS_SOLAVAILABLE_OPTIMAL);
  const auto slack = values(XPRSgetslacks, model.rows, XPRS_SOLAVAILABLE_OPTIMAL);
  const auto y = values(XPRSgetduals, model.rows, XPRS_SOLAVAILABLE_OPTIMAL);
  const auto dj = values(XPRSgetredcosts, model.cols, XPRS_SOLAVAILABLE_OPTIMAL);
  std::vector<int> rowstat(static_cast<std::size_t>(model.rows));
  std::vector<int> colstat(static_cast<std::size_t>(model.cols));
  ASSERT_EQ(XPRSgetbasis(prob_, rowstat.data(), colstat.data()), 0);
  // Activity, objective and reduced costs recomputed from the file's data.
  std::vector<double> act(static_cast<std::size_t>(model.rows), 0.0);
  double cx = 0;
  double by = 0;
  for (int j = 0; j < model.cols; ++j) {
    const auto u = static_cast<std::size_t>(j);
    cx += model.obj[u] * x[u];
    double aty = 0;
    for (XPRSint64 k = model.start[u]; k < model.start[u + 1]; ++k) {
      const auto i = static_cast<std::size_t>(model.index[static_cast<std::size_t>(k)]);
      act[i] += model.value[static_cast<std::size_t>(k)] * x[u];
      aty += model.value[static_cast<std::size_t>(k)] * y[i];
    }
    SCOPED_TRACE(j);
    EXPECT_NEAR(dj[u], model.obj[u] - aty, 1e-7);
    EXPECT_GE(x[u], model.lb[u] - 1e-9);
    if (colstat[u] == XPRS_BASIC) {
      EXPECT_NEAR(dj[u], 0, 1e-7);
    }
    if (colstat[u] == XPRS_AT_LOWER) {
      EXPECT_NEAR(x[u], model.lb[u], 1e-9);
      EXPECT_GE(dj[u], -1e-7);
      by += dj[u] * x[u];
    }
  }
  EXPECT_NEAR(cx, o.obj, 1e-6);
  for (int i = 0; i < model.rows; ++i) {
    const auto u = static_cast<std::size_t>(i);
    SCOPED_TRACE(i);
    EXPECT_NEAR(slack[u], model.rhs[u] - act[u], 1e-7);
    by += y[u] * model.rhs[u];
    if (rowstat[u] == XPRS_BASIC) {
      EXPECT_NEAR(y[u], 0, 1e-7);
    }
    if (rowstat[u] == XPRS_AT_LOWER) {
      EXPECT_NEAR(slack[u], 0, 1e-7);
    }
    if (model.rowType[u] == 'L') {
      EXPECT_GE(slack[u], -1e-7);
      EXPECT_LE(y[u], 1e-7);
    }
    if (model.rowType[u] == 'G') {
      EXPECT_GE(y[u], -1e-7);
    }
  }
  // Strong duality: b'y plus the bound terms equals c'x.
  EXPECT_NEAR(by, cx, 1e-6);
}

TEST_F(SolveTest, Share2qpReachesItsKnownOptimum) {
  quiet();
  const auto model = xprs_test::readSample("share2qp");
  ASSERT_FALSE(model.qVal.empty());
  xprs_test::load(prob_, model);
  const Outcome o = optimize();
  EXPECT_EQ(o.solve, XPRS_SOLVESTATUS_COMPLETED);
  EXPECT_EQ(o.sol, XPRS_SOLSTATUS_OPTIMAL);
  EXPECT_NEAR(o.obj, -400.923577, 1e-4);
  const auto x = values(XPRSgetsolution, model.cols, XPRS_SOLAVAILABLE_OPTIMAL);
  // The objective recomputed from the file: c'x + 1/2 x'Qx with Q as listed (both triangles).
  double f = 0;
  for (std::size_t j = 0; j < x.size(); ++j) f += model.obj[j] * x[j];
  for (std::size_t k = 0; k < model.qVal.size(); ++k) {
    f += 0.5 * model.qVal[k] * x[static_cast<std::size_t>(model.qCol1[k])] *
         x[static_cast<std::size_t>(model.qCol2[k])];
  }
  EXPECT_NEAR(f, o.obj, 1e-6);
}

TEST_F(SolveTest, NonConvexHessianIsRefusedNotSolved) {
  quiet();
  const double ub[] = {1, 1};
  ASSERT_EQ(XPRSaddcols64(prob_, 2, 0, nullptr, nullptr, nullptr, nullptr, nullptr, ub), 0);
  const int c1[] = {0, 1};
  const int c2[] = {0, 1};
  const double q[] = {2, -2};
  ASSERT_EQ(XPRSchgmqobj64(prob_, 2, c1, c2, q), 0);
  int solve = -1;
  int sol = -1;
  EXPECT_EQ(XPRSoptimize(prob_, "", &solve, &sol), 32);
  EXPECT_EQ(lastError(), "XPRSoptimize: the objective Hessian is not positive semi-definite");
  EXPECT_EQ(solve, XPRS_SOLVESTATUS_FAILED);
  EXPECT_EQ(sol, XPRS_SOLSTATUS_NOTFOUND);
  EXPECT_EQ(intAttrib(XPRS_LPSTATUS), XPRS_LP_NONCONVEX);
  // Maximising the same concave-in-y, convex-in-x function is refused too.
  ASSERT_EQ(XPRSchgobjsense(prob_, XPRS_OBJ_MAXIMIZE), 0);
  EXPECT_EQ(XPRSoptimize(prob_, "", nullptr, nullptr), 32);
  EXPECT_EQ(lastError(), "XPRSoptimize: the objective Hessian is not negative semi-definite");
}

TEST_F(SolveTest, QuadraticObjectiveWithoutMatrixEntriesIsSolved) {
  quiet();
  // min 32 x0^2 - 4 x0 on x0 in [lb, 2], with (x1 - x2)^2 + x1 on x1 in [1, 3], x2 free, or
  // without them, and with an empty row x0 <= 1 or none: the optimum x0 = 1/16 or lb (x1 = 1 =
  // x2). Without a row holding entries Clp's quadratic methods stall, with a free one they stop
  // at x0 = 0.
  struct Case {
    double lb;
    int cols;
    bool emptyRow;
    double x0, obj;
  };
  for (const Case& c : {Case{0.5, 1, false, 0.5, 6}, Case{0, 1, false, 1.0 / 16, -0.125},
                        Case{0, 1, true, 1.0 / 16, -0.125}, Case{0, 3, false, 1.0 / 16, 0.875},
                        Case{-1, 3, true, 1.0 / 16, 0.875}}) {
    SCOPED_TRACE(testing::Message() << "lb " << c.lb << ", " << c.cols << " columns"
                                    << (c.emptyRow ? ", an empty row" : ""));
    XPRSprob prob = nullptr;
    ASSERT_EQ(XPRScreateprob(&prob), 0);
    ASSERT_EQ(XPRSsetintcontrol(prob, XPRS_OUTPUTLOG, 0), 0);
    const double lb[] = {c.lb, 1, XPRS_MINUSINFINITY};
    const double ub[] = {2, 3, XPRS_PLUSINFINITY};
    const double cost[] = {-4, 1, 0};
    ASSERT_EQ(XPRSaddcols64(prob, c.cols, 0, cost, nullptr, nullptr, nullptr, lb, ub), 0);
    const int qi[] = {0, 1, 1, 2};
    const int qj[] = {0, 1, 2, 2};
    const double q[] = {64, 2, -2, 2};
    ASSERT_EQ(XPRSchgmqobj64(prob, c.cols == 1 ? 1 : 4, qi, qj, q), 0);
    if (c.emptyRow) {
      const char type[] = {'L'};
      const double rhs[] = {1};
      const XPRSint64 start[] = {0};
      ASSERT_EQ(XPRSaddrows64(prob, 1, 0, type, rhs, nullptr, start, nullptr, nullptr), 0);
    }
    int sol = -1;
    ASSERT_EQ(XPRSoptimize(prob, "", nullptr, &sol), 0);
    EXPECT_EQ(sol, XPRS_SOLSTATUS_OPTIMAL);
    double x[3] = {}, obj = 0;
    ASSERT_EQ(XPRSgetsolution(prob, nullptr, x, 0, c.cols - 1), 0);
    ASSERT_EQ(XPRSgetdblattrib(prob, XPRS_OBJVAL, &obj), 0);
    EXPECT_NEAR(x[0], c.x0, 1e-6);
    if (c.cols == 3) {
      EXPECT_NEAR(x[1], 1, 1e-6);
      EXPECT_NEAR(x[2], 1, 1e-5);
    }
    EXPECT_NEAR(obj, c.obj, 1e-6);
    if (c.emptyRow) {
      double slack = 0;
      ASSERT_EQ(XPRSgetslacks(prob, nullptr, &slack, 0, 0), 0);
      EXPECT_NEAR(slack, 1, 1e-9);
    }
    EXPECT_EQ(XPRSdestroyprob(prob), 0);
  }
}

TEST_F(SolveTest, ModelsTheEngineCannotSolveGiveAClearError) {
  quiet();
  ASSERT_EQ(XPRSaddcols64(prob_, 2, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  const int c[] = {0};
  ASSERT_EQ(XPRSchgcoltype(prob_, 1, c, "P"), 0);
  int solve = -1;
  EXPECT_EQ(XPRSoptimize(prob_, "", &solve, nullptr), 32);
  EXPECT_EQ(solve, XPRS_SOLVESTATUS_FAILED);
  EXPECT_EQ(lastError(), "XPRSoptimize: partial integer columns cannot be solved by this library");
  int status = -1;
  double x[2];
  ASSERT_EQ(XPRSgetsolution(prob_, &status, x, 0, 1), 0);
  EXPECT_EQ(status, XPRS_SOLAVAILABLE_NOTFOUND);
  EXPECT_EQ(XPRSoptimize(prob_, "q", nullptr, nullptr), 32);
  EXPECT_EQ(lastError(), "XPRSoptimize: invalid flag 'q'");
}

TEST_F(SolveTest, RefusalsAlsoArriveAsWarnings) {
  using Line = std::pair<int, std::string>;
  std::vector<Line> lines;
  ASSERT_EQ(XPRSaddcbmessage(
                prob_,
                [](XPRSprob, void* data, const char* msg, int len, int type) {
                  static_cast<std::vector<Line>*>(data)->emplace_back(
                      type, std::string(msg, static_cast<std::size_t>(len)));
                },
                &lines, 0),
            0);
  ASSERT_EQ(XPRSaddcols64(prob_, 1, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  const int col[] = {0};
  const char partial[] = {'P'};
  ASSERT_EQ(XPRSchgcoltype(prob_, 1, col, partial), 0);
  const std::string reason = "partial integer columns cannot be solved by this library";
  struct Case {
    const char* what;
    std::function<int()> call;
    std::vector<Line> expected;
  };
  const Case cases[] = {
      {"engine refusal",
       [&] { return XPRSoptimize(prob_, "", nullptr, nullptr); },
       {{XPRS_MSG_ERROR, "XPRSoptimize: " + reason},
        {XPRS_MSG_WARNING, "XPRSoptimize: " + reason}}},
      {"tuner refusal",
       [&] { return XPRStune(prob_, ""); },
       {{XPRS_MSG_ERROR, "XPRStune: " + reason}, {XPRS_MSG_WARNING, "XPRStune: " + reason}}},
      {"invalid flag",
       [&] { return XPRSoptimize(prob_, "q", nullptr, nullptr); },
       {{XPRS_MSG_WARNING, "XPRSoptimize: invalid flag 'q'"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    lines.clear();
    EXPECT_EQ(c.call(), 32);
    // The run's other lines are information; the refusal comes last.
    std::vector<Line> refusal;
    for (const Line& l : lines) {
      if (l.first != XPRS_MSG_INFO) refusal.push_back(l);
    }
    EXPECT_EQ(refusal, c.expected);
  }
  // No output at all asked for: none sent.
  quiet();
  lines.clear();
  EXPECT_EQ(XPRSoptimize(prob_, "q", nullptr, nullptr), 32);
  EXPECT_EQ(XPRSoptimize(prob_, "", nullptr, nullptr), 32);
  EXPECT_TRUE(lines.empty());
}

TEST_F(SolveTest, InfeasibleAndUnboundedModelsReportTheirStatus) {
  quiet();
  const double obj[] = {-1};
  ASSERT_EQ(XPRSaddcols64(prob_, 1, 0, obj, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  const Outcome unbounded = optimize();
  EXPECT_EQ(unbounded.solve, XPRS_SOLVESTATUS_COMPLETED);
  EXPECT_EQ(unbounded.sol, XPRS_SOLSTATUS_UNBOUNDED);
  int lp = 0;
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_LPSTATUS, &lp), 0);
  EXPECT_EQ(lp, XPRS_LP_UNBOUNDED);
  const char types[] = {'G', 'L'};
  const double rhs[] = {2, 1};
  const XPRSint64 start[] = {0, 1};
  const int cols[] = {0, 0};
  const double vals[] = {1, 1};
  ASSERT_EQ(XPRSaddrows64(prob_, 2, 2, types, rhs, nullptr, start, cols, vals), 0);
  const Outcome infeasible = optimize();
  EXPECT_EQ(infeasible.sol, XPRS_SOLSTATUS_INFEASIBLE);
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_LPSTATUS, &lp), 0);
  EXPECT_EQ(lp, XPRS_LP_INFEAS);
  // The same as a MIP.
  const int col[] = {0};
  const char integer[] = {'I'};
  ASSERT_EQ(XPRSchgcoltype(prob_, 1, col, integer), 0);
  const Outcome mipInfeasible = optimize();
  EXPECT_EQ(mipInfeasible.optType, XPRS_OPTIMIZETYPE_MIP);
  EXPECT_EQ(mipInfeasible.sol, XPRS_SOLSTATUS_INFEASIBLE);
  EXPECT_EQ(intAttrib(XPRS_MIPSTATUS), XPRS_MIP_INFEAS);
}

// min y, y free, with x integer in [0, 5] and 2 x = rhs: the relaxation is unbounded, so the
// model is unbounded when x has an integer value (rhs 2) and infeasible when not (rhs 1).
TEST_F(SolveTest, UnboundedRelaxationIsUnboundedOnlyWithAnIntegerPoint) {
  for (const double rhs : {2.0, 1.0}) {
    SCOPED_TRACE(rhs);
    XPRSprob p = nullptr;
    ASSERT_EQ(XPRScreateprob(&p), 0);
    ASSERT_EQ(XPRSsetintcontrol(p, XPRS_OUTPUTLOG, 0), 0);
    const double obj[] = {0, 1};
    const double lb[] = {0, XPRS_MINUSINFINITY};
    const double ub[] = {5, XPRS_PLUSINFINITY};
    ASSERT_EQ(XPRSaddcols64(p, 2, 0, obj, nullptr, nullptr, nullptr, lb, ub), 0);
    const char type[] = {'E'};
    const XPRSint64 start[] = {0};
    const int cols[] = {0};
    const double two[] = {2};
    ASSERT_EQ(XPRSaddrows64(p, 1, 1, type, &rhs, nullptr, start, cols, two), 0);
    const char integer[] = {'I'};
    ASSERT_EQ(XPRSchgcoltype(p, 1, cols, integer), 0);
    int sol = -1, mip = -1;
    ASSERT_EQ(XPRSoptimize(p, "", nullptr, &sol), 0);
    ASSERT_EQ(XPRSgetintattrib(p, XPRS_MIPSTATUS, &mip), 0);
    EXPECT_EQ(sol, rhs == 2 ? XPRS_SOLSTATUS_UNBOUNDED : XPRS_SOLSTATUS_INFEASIBLE);
    EXPECT_EQ(mip, rhs == 2 ? XPRS_MIP_UNBOUNDED : XPRS_MIP_INFEAS);
    EXPECT_EQ(XPRSdestroyprob(p), 0);
  }
}

TEST_F(SolveTest, IterationLimitStopsTheLp) {
  quiet();
  xprs_test::load(prob_, xprs_test::readSample("afiro"));
  ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_LPITERLIMIT, 2), 0);
  ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_PRESOLVE, 0), 0);
  const Outcome o = optimize();
  EXPECT_EQ(o.solve, XPRS_SOLVESTATUS_STOPPED);
  EXPECT_EQ(o.stop, XPRS_STOP_ITERLIMIT);
  int lp = 0;
  int iters = 0;
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_LPSTATUS, &lp), 0);
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_SIMPLEXITER, &iters), 0);
  EXPECT_EQ(lp, XPRS_LP_UNFINISHED);
  EXPECT_LE(iters, 2);
}

TEST_F(SolveTest, P0033ReachesItsOptimumAndReportsEachIncumbentOnce) {
  quiet();
  const auto model = xprs_test::readSample("p0033");
  xprs_test::load(prob_, model);
  struct Seen {
    std::vector<double> objectives;
    std::vector<double> recomputed;
    std::vector<int> counts;
    XPRSprob main = nullptr;
    bool otherHandle = true;
    const xprs_test::SampleModel* model = nullptr;
  } seen;
  seen.main = prob_;
  seen.model = &model;
  ASSERT_EQ(XPRSaddcbintsol(
                prob_,
                [](XPRSprob cb, void* data) {
                  auto* s = static_cast<Seen*>(data);
                  s->otherHandle = s->otherHandle && cb != s->main;
                  double obj = 0;
                  int count = 0;
                  XPRSgetdblattrib(cb, XPRS_MIPOBJVAL, &obj);
                  XPRSgetintattrib(cb, XPRS_MIPSOLS, &count);
                  std::vector<double> x(static_cast<std::size_t>(s->model->cols));
                  int status = 0;
                  XPRSgetsolution(cb, &status, x.data(), 0, s->model->cols - 1);
                  double cx = 0;
                  for (std::size_t j = 0; j < x.size(); ++j) cx += s->model->obj[j] * x[j];
                  s->objectives.push_back(obj);
                  s->recomputed.push_back(cx);
                  s->counts.push_back(count);
                },
                &seen, 0),
            0);
  const Outcome o = optimize();
  EXPECT_EQ(o.solve, XPRS_SOLVESTATUS_COMPLETED);
  EXPECT_EQ(o.sol, XPRS_SOLSTATUS_OPTIMAL);
  EXPECT_EQ(o.optType, XPRS_OPTIMIZETYPE_MIP);
  EXPECT_NEAR(o.obj, 3089.0, 1e-6);
  int mip = 0;
  int sols = 0;
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_MIPSTATUS, &mip), 0);
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_MIPSOLS, &sols), 0);
  EXPECT_EQ(mip, XPRS_MIP_OPTIMAL);
  double bound = 0;
  ASSERT_EQ(XPRSgetdblattrib(prob_, XPRS_BESTBOUND, &bound), 0);
  EXPECT_LE(bound, 3089.0 + 1e-6);
  EXPECT_GE(bound, 3089.0 * (1 - 1e-4) - 1e-6);
  ASSERT_FALSE(seen.objectives.empty());
  EXPECT_TRUE(seen.otherHandle);
  EXPECT_EQ(static_cast<int>(seen.objectives.size()), sols);
  for (std::size_t k = 0; k < seen.objectives.size(); ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(seen.counts[k], static_cast<int>(k) + 1);
    EXPECT_NEAR(seen.recomputed[k], seen.objectives[k], 1e-6);
    if (k > 0) {
      EXPECT_LT(seen.objectives[k], seen.objectives[k - 1]);
    }
  }
  EXPECT_NEAR(seen.objectives.back(), 3089.0, 1e-6);
  const auto x = values(XPRSgetsolution, model.cols, XPRS_SOLAVAILABLE_OPTIMAL);
  double cx = 0;
  for (std::size_t j = 0; j < x.size(); ++j) {
    EXPECT_NEAR(x[j], std::round(x[j]), 1e-6);
    cx += model.obj[j] * x[j];
  }
  EXPECT_NEAR(cx, 3089.0, 1e-6);
  int status = -1;
  std::vector<double> duals(static_cast<std::size_t>(model.rows));
  ASSERT_EQ(XPRSgetduals(prob_, &status, duals.data(), 0, model.rows - 1), 0);
  EXPECT_EQ(status, XPRS_SOLAVAILABLE_NOTFOUND);
  int rowstat[1];
  EXPECT_EQ(XPRSgetbasis(prob_, rowstat, nullptr), 32);
  EXPECT_EQ(lastError(), "XPRSgetbasis: no basis is available");
}

TEST_F(SolveTest, InterruptFromAnIncumbentCallbackStopsTheSearch) {
  quiet();
  xprs_test::load(prob_, xprs_test::readSample("p0033"));
  int calls = 0;
  ASSERT_EQ(XPRSaddcbintsol(
                prob_,
                [](XPRSprob cb, void* data) {
                  ++*static_cast<int*>(data);
                  XPRSinterrupt(cb, XPRS_STOP_USER);
                },
                &calls, 0),
            0);
  const Outcome o = optimize();
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(o.solve, XPRS_SOLVESTATUS_STOPPED);
  EXPECT_EQ(o.stop, XPRS_STOP_USER);
  EXPECT_EQ(o.sol, XPRS_SOLSTATUS_FEASIBLE);
  EXPECT_EQ(xprs::testing::inspect(prob_).interrupts, std::vector<int>{XPRS_STOP_USER});
}

TEST_F(SolveTest, CheckTimeCallbackSeesTheRunTypeAndCanStopTheLp) {
  quiet();
  xprs_test::load(prob_, xprs_test::readSample("afiro"));
  struct Seen {
    std::vector<int> types;
  } seen;
  ASSERT_EQ(XPRSaddcbchecktime(
                prob_,
                [](XPRSprob cb, void* data) {
                  int type = -5;
                  XPRSgetintattrib(cb, XPRS_OPTIMIZETYPEUSED, &type);
                  static_cast<Seen*>(data)->types.push_back(type);
                  if (type == XPRS_OPTIMIZETYPE_LP) XPRSinterrupt(cb, 1000);
                  return 0;
                },
                &seen, 0),
            0);
  const Outcome o = optimize();
  ASSERT_GE(seen.types.size(), 2u);
  EXPECT_EQ(seen.types[0], XPRS_OPTIMIZETYPE_NONE);
  EXPECT_EQ(seen.types[1], XPRS_OPTIMIZETYPE_LP);
  EXPECT_EQ(o.solve, XPRS_SOLVESTATUS_STOPPED);
  EXPECT_EQ(o.stop, 1000);
  // A new run starts without the old interrupt.
  ASSERT_EQ(XPRSremovecbchecktime(prob_, nullptr, nullptr), 0);
  const Outcome again = optimize();
  EXPECT_EQ(again.sol, XPRS_SOLSTATUS_OPTIMAL);
}

TEST_F(SolveTest, NodeLimitStopsTheTreeSearch) {
  quiet();
  // An equality knapsack with even coefficients and an odd right-hand side: infeasible, but
  // only a tree search finds out.
  const int n = 24;
  std::vector<double> ub(n, 1.0);
  std::vector<XPRSint64> start(n);
  std::vector<int> rows(n, 0);
  std::vector<double> coef(n);
  std::vector<int> cols(n);
  std::vector<char> types(n, 'I');
  for (int j = 0; j < n; ++j) {
    start[static_cast<std::size_t>(j)] = j;
    coef[static_cast<std::size_t>(j)] = 2.0 * (j + 7);
    cols[static_cast<std::size_t>(j)] = j;
  }
  const char eq[] = {'E'};
  const double rhs[] = {2.0 * 100 + 1};
  ASSERT_EQ(XPRSaddrows64(prob_, 1, 0, eq, rhs, nullptr, nullptr, nullptr, nullptr), 0);
  ASSERT_EQ(XPRSaddcols64(prob_, n, n, coef.data(), start.data(), rows.data(), coef.data(), nullptr,
                          ub.data()),
            0);
  ASSERT_EQ(XPRSchgcoltype(prob_, n, cols.data(), types.data()), 0);
  ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_MAXNODE, 5), 0);
  int nodesSeen = 0;
  countNodes(&nodesSeen);
  const Outcome o = optimize();
  EXPECT_EQ(o.solve, XPRS_SOLVESTATUS_STOPPED);
  EXPECT_EQ(o.stop, XPRS_STOP_NODELIMIT);
  EXPECT_EQ(o.sol, XPRS_SOLSTATUS_NOTFOUND);
  int nodes = 0;
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_NODES, &nodes), 0);
  EXPECT_GT(nodes, 0);
  EXPECT_LE(nodes, 6);
  EXPECT_GT(nodesSeen, 0);
}

TEST_F(SolveTest, MessagesArriveAsLinesWithTypesAndHonourOutputLog) {
  struct Log {
    std::vector<std::string> lines;
    std::vector<int> types;
    bool newline = false;
  } log;
  ASSERT_EQ(XPRSaddcbmessage(
                prob_,
                [](XPRSprob, void* data, const char* msg, int len, int type) {
                  auto* l = static_cast<Log*>(data);
                  l->lines.emplace_back(msg, static_cast<std::size_t>(len));
                  l->types.push_back(type);
                  l->newline = l->newline || (len > 0 && msg[len - 1] == '\n');
                },
                &log, 0),
            0);
  xprs_test::load(prob_, xprs_test::readSample("afiro"));
  optimize();
  ASSERT_FALSE(log.lines.empty());
  EXPECT_FALSE(log.newline);
  EXPECT_EQ(log.lines.back(),
            "Optimisation finished: solve status 3, solution status 1, stop status 0");
  EXPECT_EQ(log.types.back(), XPRS_MSG_INFO);
  log.lines.clear();
  quiet();
  optimize();
  EXPECT_TRUE(log.lines.empty());
}

// A message callback answering every message with a failing call, an attempt to destroy its
// problem and one to optimise it again: the refusal stays the last error, the problem lives on,
// and the nested refusal sends no message of its own (which would never end).
TEST_F(SolveTest, MessageCallbacksCannotReplaceOrUndoARefusal) {
  struct Seen {
    int messages = 0;
    int destroyed = 0;
    int optimised = 0;
  } seen;
  ASSERT_EQ(XPRSaddcbmessage(
                prob_,
                [](XPRSprob cb, void* data, const char*, int, int) {
                  auto* s = static_cast<Seen*>(data);
                  ++s->messages;
                  XPRSinterrupt(cb, -100);
                  s->destroyed = XPRSdestroyprob(cb);
                  s->optimised = XPRSoptimize(cb, "q", nullptr, nullptr);
                },
                &seen, 0),
            0);
  EXPECT_EQ(XPRSoptimize(prob_, "q", nullptr, nullptr), 32);
  EXPECT_EQ(lastError(), "XPRSoptimize: invalid flag 'q'");
  EXPECT_EQ(seen.messages, 1);
  EXPECT_EQ(seen.destroyed, 32);
  EXPECT_EQ(seen.optimised, 32);
  // A model the engine refuses: the run's messages reach the callback during the run.
  const double ub[] = {4};
  ASSERT_EQ(XPRSaddcols64(prob_, 1, 0, nullptr, nullptr, nullptr, nullptr, nullptr, ub), 0);
  const int col[] = {0};
  const char partial[] = {'P'};
  ASSERT_EQ(XPRSchgcoltype(prob_, 1, col, partial), 0);
  seen = Seen{};
  EXPECT_EQ(XPRSoptimize(prob_, "", nullptr, nullptr), 32);
  EXPECT_EQ(lastError(), "XPRSoptimize: partial integer columns cannot be solved by this library");
  EXPECT_GT(seen.messages, 0);
  EXPECT_EQ(seen.destroyed, 32);
  EXPECT_EQ(seen.optimised, 32);
}

TEST_F(SolveTest, LoadedBasisWarmStartsTheNextRun) {
  quiet();
  xprs_test::load(prob_, xprs_test::readSample("afiro"));
  optimize();
  int rows = 0;
  int cols = 0;
  XPRSgetintattrib(prob_, XPRS_ROWS, &rows);
  XPRSgetintattrib(prob_, XPRS_COLS, &cols);
  std::vector<int> rowstat(static_cast<std::size_t>(rows));
  std::vector<int> colstat(static_cast<std::size_t>(cols));
  ASSERT_EQ(XPRSgetbasis(prob_, rowstat.data(), colstat.data()), 0);
  ASSERT_EQ(XPRSloadbasis(prob_, rowstat.data(), colstat.data()), 0);
  const Outcome o = optimize();
  EXPECT_NEAR(o.obj, -464.753142857, 1e-6);
  EXPECT_EQ(intAttrib(XPRS_SIMPLEXITER), 0);
  EXPECT_EQ(xprs::testing::inspect(prob_).warmStart.bases.size(), 1u);
}

TEST_F(SolveTest, SosAndSemiContinuousColumnsAreHonoured) {
  quiet();
  // min -x0 - 2 x1 - 3 x2 + x3 with x0 + x1 + x2 <= 10 and SOS1 {x0, x1, x2}: only x2 = 10;
  // x3 semi-continuous in {0} or [2, 8] and x3 >= 1: the lot-size branch gives x3 = 2.
  const double obj[] = {-1, -2, -3, 1};
  const double ub[] = {10, 10, 10, 8};
  ASSERT_EQ(XPRSaddcols64(prob_, 4, 0, obj, nullptr, nullptr, nullptr, nullptr, ub), 0);
  const char types[] = {'L', 'G'};
  const double rhs[] = {10, 1};
  const XPRSint64 start[] = {0, 3};
  const int cols[] = {0, 1, 2, 3};
  const double vals[] = {1, 1, 1, 1};
  ASSERT_EQ(XPRSaddrows64(prob_, 2, 4, types, rhs, nullptr, start, cols, vals), 0);
  const char settype[] = {'1'};
  const XPRSint64 setStart[] = {0};
  const double ref[] = {1, 2, 3};
  ASSERT_EQ(XPRSaddsets64(prob_, 1, 3, settype, setStart, cols, ref), 0);
  const int sc[] = {3};
  const char scType[] = {'S'};
  const double limit[] = {2};
  ASSERT_EQ(XPRSchgcoltype(prob_, 1, sc, scType), 0);
  ASSERT_EQ(XPRSchgglblimit(prob_, 1, sc, limit), 0);
  const Outcome o = optimize();
  EXPECT_EQ(o.sol, XPRS_SOLSTATUS_OPTIMAL);
  const auto x = values(XPRSgetsolution, 4, XPRS_SOLAVAILABLE_OPTIMAL);
  EXPECT_NEAR(x[0], 0, 1e-6);
  EXPECT_NEAR(x[1], 0, 1e-6);
  EXPECT_NEAR(x[2], 10, 1e-6);
  EXPECT_NEAR(x[3], 2, 1e-6);
  EXPECT_NEAR(o.obj, -28, 1e-6);
}

TEST_F(SolveTest, FixMipEntitiesFixesTheSolutionAndTheNextRunIsLinear) {
  quiet();
  xprs_test::load(prob_, xprs_test::readSample("p0033"));
  EXPECT_EQ(XPRSfixmipentities(prob_, 1), 32);
  EXPECT_EQ(lastError(), "XPRSfixmipentities: no MIP solution is available");
  optimize();
  ASSERT_EQ(XPRSfixmipentities(prob_, 1), 0);
  EXPECT_TRUE(xprs::testing::inspect(prob_).fixed);
  const Outcome o = optimize();
  EXPECT_EQ(o.optType, XPRS_OPTIMIZETYPE_LP);
  EXPECT_NEAR(o.obj, 3089.0, 1e-6);
  int status = -1;
  double dual[1];
  ASSERT_EQ(XPRSgetduals(prob_, &status, dual, 0, 0), 0);
  EXPECT_EQ(status, XPRS_SOLAVAILABLE_OPTIMAL);
}

TEST_F(SolveTest, FeasibleMipStartBecomesTheFirstIncumbent) {
  const auto model = xprs_test::readSample("p0033");
  xprs_test::load(prob_, model);
  quiet();
  optimize();
  const auto best = values(XPRSgetsolution, model.cols, XPRS_SOLAVAILABLE_OPTIMAL);
  XPRSprob again = nullptr;
  ASSERT_EQ(XPRScreateprob(&again), 0);
  xprs_test::load(again, model);
  struct Seen {
    std::vector<std::string> lines;
    std::vector<double> objectives;
  } seen;
  ASSERT_EQ(xprs_test::collectMessages(again, &seen.lines), 0);
  ASSERT_EQ(XPRSaddcbintsol(
                again,
                [](XPRSprob cb, void* d) {
                  double obj = 0;
                  XPRSgetdblattrib(cb, XPRS_MIPOBJVAL, &obj);
                  static_cast<Seen*>(d)->objectives.push_back(obj);
                },
                &seen, 0),
            0);
  ASSERT_EQ(XPRSaddmipsol(again, model.cols, best.data(), nullptr, "best"), 0);
  int sol = -1;
  ASSERT_EQ(XPRSoptimize(again, "", nullptr, &sol), 0);
  EXPECT_EQ(sol, XPRS_SOLSTATUS_OPTIMAL);
  EXPECT_THAT(seen.lines, testing::Contains("MIP start accepted"));
  ASSERT_FALSE(seen.objectives.empty());
  EXPECT_NEAR(seen.objectives.front(), 3089.0, 1e-6);
  EXPECT_EQ(seen.objectives.size(), 1u);
  EXPECT_EQ(XPRSdestroyprob(again), 0);
}

TEST_F(SolveTest, MipStartsOfAnOverwrittenModelOrWithInfiniteValuesAreNotUsed) {
  std::vector<std::string> lines;
  ASSERT_EQ(xprs_test::collectMessages(prob_, &lines), 0);
  const auto model = xprs_test::readSample("p0033");
  xprs_test::load(prob_, model);
  const std::vector<double> ones(static_cast<std::size_t>(model.cols), 1.0);
  ASSERT_EQ(XPRSaddmipsol(prob_, model.cols, ones.data(), nullptr, "all ones"), 0);
  // The start is for 33 columns; the model that replaces it has one: max x, x integer <= 4.
  XPRSprob small = nullptr;
  ASSERT_EQ(XPRScreateprob(&small), 0);
  const double obj[] = {1};
  const double ub[] = {4};
  ASSERT_EQ(XPRSaddcols64(small, 1, 0, obj, nullptr, nullptr, nullptr, nullptr, ub), 0);
  const int col[] = {0};
  const char integer[] = {'I'};
  ASSERT_EQ(XPRSchgcoltype(small, 1, col, integer), 0);
  ASSERT_EQ(XPRSchgobjsense(small, XPRS_OBJ_MAXIMIZE), 0);
  ASSERT_EQ(XPRScopyprob(prob_, small, nullptr), 0);
  ASSERT_EQ(XPRSdestroyprob(small), 0);
  Outcome o = optimize();
  EXPECT_EQ(o.sol, XPRS_SOLSTATUS_OPTIMAL);
  EXPECT_EQ(o.obj, 4.0);
  EXPECT_THAT(lines, testing::Not(testing::Contains("MIP start accepted")));
  // A start at infinity is no start, even for a column without an upper bound.
  const char upper[] = {'U'};
  const double inf[] = {XPRS_PLUSINFINITY};
  ASSERT_EQ(XPRSchgbounds(prob_, 1, col, upper, inf), 0);
  ASSERT_EQ(XPRSchgobjsense(prob_, XPRS_OBJ_MINIMIZE), 0);
  ASSERT_EQ(XPRSaddmipsol(prob_, 1, inf, nullptr, nullptr), 0);
  lines.clear();
  o = optimize();
  EXPECT_EQ(o.sol, XPRS_SOLSTATUS_OPTIMAL);
  EXPECT_EQ(o.obj, 0.0);
  EXPECT_THAT(lines, testing::Not(testing::Contains("MIP start accepted")));
  // A finite start is taken.
  const double three[] = {3};
  ASSERT_EQ(XPRSaddmipsol(prob_, 1, three, nullptr, nullptr), 0);
  lines.clear();
  o = optimize();
  EXPECT_THAT(lines, testing::Contains("MIP start accepted"));
}

TEST_F(SolveTest, ThreadedTreeSearchReachesTheSameOptimum) {
  quiet();
  xprs_test::load(prob_, xprs_test::readSample("p0033"));
  ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_THREADS, 2), 0);
  int incumbents = 0;
  ASSERT_EQ(XPRSaddcbintsol(
                prob_, [](XPRSprob, void* d) { ++*static_cast<int*>(d); }, &incumbents, 0),
            0);
  const Outcome o = optimize();
  EXPECT_EQ(o.sol, XPRS_SOLSTATUS_OPTIMAL);
  EXPECT_NEAR(o.obj, 3089.0, 1e-6);
  EXPECT_GT(incumbents, 0);
}

TEST_F(SolveTest, CutoffAndGapControlsShapeTheTreeSearch) {
  quiet();
  xprs_test::load(prob_, xprs_test::readSample("p0033"));
  ASSERT_EQ(XPRSsetdblcontrol(prob_, XPRS_MIPABSCUTOFF, 3000.0), 0);
  const Outcome cut = optimize();
  EXPECT_EQ(cut.sol, XPRS_SOLSTATUS_INFEASIBLE);
  ASSERT_EQ(XPRSsetdefaultcontrol(prob_, XPRS_MIPABSCUTOFF), 0);
  // Any incumbent within 1e9 of the bound ends the search.
  ASSERT_EQ(XPRSsetdblcontrol(prob_, XPRS_MIPABSSTOP, 1e9), 0);
  const Outcome gap = optimize();
  EXPECT_EQ(gap.sol, XPRS_SOLSTATUS_OPTIMAL);
  EXPECT_GE(gap.obj, 3089.0 - 1e-6);
  EXPECT_EQ(intAttrib(XPRS_NODES), 0);
}

// Integer x, y in [0, 5] with 2x + 2y <= 7: the relaxation's best of y - 2x is 3.5, the integer
// best 3 at (0, 3). Maximised as y - 2x or minimised as 2x - y, a start at (3, 0) must not stop
// the search, and the cutoff counts in the problem's sense.
TEST_F(SolveTest, StartsAndCutoffsWorkInTheProblemsSense) {
  quiet();
  const double ub[] = {5, 5};
  ASSERT_EQ(XPRSaddcols64(prob_, 2, 0, nullptr, nullptr, nullptr, nullptr, nullptr, ub), 0);
  const int cols[] = {0, 1};
  const char integer[] = {'I', 'I'};
  ASSERT_EQ(XPRSchgcoltype(prob_, 2, cols, integer), 0);
  const char type = 'L';
  const double rhs = 7;
  const XPRSint64 start[] = {0};
  const double size[] = {2, 2};
  ASSERT_EQ(XPRSaddrows64(prob_, 1, 2, &type, &rhs, nullptr, start, cols, size), 0);
  struct Case {
    const char* what;
    int sense;
    bool withStart;
    std::optional<double> cutoff;
    int sol;
  };
  const Case cases[] = {
      {"maximising from a start", XPRS_OBJ_MAXIMIZE, true, {}, XPRS_SOLSTATUS_OPTIMAL},
      {"maximising, cutoff below the best", XPRS_OBJ_MAXIMIZE, false, -10, XPRS_SOLSTATUS_OPTIMAL},
      {"maximising, cutoff above the best", XPRS_OBJ_MAXIMIZE, false, 3.5,
       XPRS_SOLSTATUS_INFEASIBLE},
      {"minimising from a start", XPRS_OBJ_MINIMIZE, true, {}, XPRS_SOLSTATUS_OPTIMAL},
      {"minimising, cutoff above the best", XPRS_OBJ_MINIMIZE, false, 10, XPRS_SOLSTATUS_OPTIMAL},
      {"minimising, cutoff below the best", XPRS_OBJ_MINIMIZE, false, -3.5,
       XPRS_SOLSTATUS_INFEASIBLE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const double obj[] = {2.0 * c.sense, -1.0 * c.sense};
    ASSERT_EQ(XPRSchgobj(prob_, 2, cols, obj), 0);
    ASSERT_EQ(XPRSchgobjsense(prob_, c.sense), 0);
    ASSERT_EQ(XPRSsetdefaultcontrol(prob_, XPRS_MIPABSCUTOFF), 0);
    if (c.cutoff) {
      ASSERT_EQ(XPRSsetdblcontrol(prob_, XPRS_MIPABSCUTOFF, *c.cutoff), 0);
    }
    const double worse[] = {3, 0};
    if (c.withStart) {
      ASSERT_EQ(XPRSaddmipsol(prob_, 2, worse, nullptr, nullptr), 0);
    }
    const Outcome o = optimize();
    EXPECT_EQ(o.sol, c.sol);
    double lp = 0;
    ASSERT_EQ(XPRSgetdblattrib(prob_, XPRS_LPOBJVAL, &lp), 0);
    EXPECT_NEAR(lp, -3.5 * c.sense, 1e-6);
    if (c.sol != XPRS_SOLSTATUS_OPTIMAL) continue;
    EXPECT_NEAR(o.obj, -3 * c.sense, 1e-6);
    double bound = 0;
    ASSERT_EQ(XPRSgetdblattrib(prob_, XPRS_BESTBOUND, &bound), 0);
    EXPECT_NEAR(bound, o.obj, 1e-6);
    EXPECT_THAT(values(XPRSgetsolution, 2, XPRS_SOLAVAILABLE_OPTIMAL),
                testing::Pointwise(testing::DoubleNear(1e-6), {0.0, 3.0}));
  }
}

TEST_F(SolveTest, CutStrategyAndHeuristicEmphasisZeroSwitchThemOff) {
  xprs_test::load(prob_, xprs_test::readSample("p0033"));
  std::vector<std::string> lines;
  ASSERT_EQ(xprs_test::collectMessages(prob_, &lines), 0);
  struct Case {
    int cuts;
    int heuristics;
  };
  for (const Case c : {Case{-1, -1}, Case{0, -1}, Case{-1, 0}, Case{0, 0}}) {
    SCOPED_TRACE(std::to_string(c.cuts) + " " + std::to_string(c.heuristics));
    ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_CUTSTRATEGY, c.cuts), 0);
    ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_HEUREMPHASIS, c.heuristics), 0);
    lines.clear();
    EXPECT_NEAR(optimize().obj, 3089.0, 1e-6);
    auto logged = [&](const char* what) {
      return std::any_of(lines.begin(), lines.end(),
                         [&](const std::string& l) { return l.find(what) != std::string::npos; });
    };
    EXPECT_EQ(logged("Cut generator"), c.cuts != 0);
    EXPECT_EQ(logged("Feasibility pump"), c.heuristics != 0);
  }
}

TEST_F(SolveTest, FlagsChooseTheAlgorithmOrStopAfterTheRelaxation) {
  quiet();
  xprs_test::load(prob_, xprs_test::readSample("p0033"));
  int solve = -1;
  int sol = -1;
  ASSERT_EQ(XPRSoptimize(prob_, "l", &solve, &sol), 0);
  EXPECT_EQ(solve, XPRS_SOLVESTATUS_STOPPED);
  EXPECT_EQ(sol, XPRS_SOLSTATUS_NOTFOUND);
  EXPECT_EQ(intAttrib(XPRS_MIPSTATUS), XPRS_MIP_LP_OPTIMAL);
  double relaxation = 0;
  ASSERT_EQ(XPRSgetdblattrib(prob_, XPRS_LPOBJVAL, &relaxation), 0);
  EXPECT_LT(relaxation, 3089.0);
  EXPECT_GT(relaxation, 2500.0);
  XPRSprob lp = nullptr;
  ASSERT_EQ(XPRScreateprob(&lp), 0);
  ASSERT_EQ(XPRSsetintcontrol(lp, XPRS_OUTPUTLOG, 0), 0);
  const auto afiro = xprs_test::readSample("afiro");
  xprs_test::load(lp, afiro);
  // Upper bounds far from the optimum let the barrier run.
  std::vector<int> cols(static_cast<std::size_t>(afiro.cols));
  std::vector<char> upper(cols.size(), 'U');
  std::vector<double> far(cols.size(), 1e4);
  for (std::size_t j = 0; j < cols.size(); ++j) cols[j] = static_cast<int>(j);
  ASSERT_EQ(XPRSchgbounds(lp, afiro.cols, cols.data(), upper.data(), far.data()), 0);
  for (const char* flags : {"p", "d", "b"}) {
    SCOPED_TRACE(flags);
    ASSERT_EQ(XPRSoptimize(lp, flags, &solve, &sol), 0);
    EXPECT_EQ(sol, XPRS_SOLSTATUS_OPTIMAL);
    int alg = 0;
    ASSERT_EQ(XPRSgetintattrib(lp, XPRS_ALGORITHM, &alg), 0);
    EXPECT_EQ(alg, flags[0] == 'p'   ? XPRS_ALG_PRIMAL
                   : flags[0] == 'd' ? XPRS_ALG_DUAL
                                     : XPRS_ALG_BARRIER);
    double obj = 0;
    ASSERT_EQ(XPRSgetdblattrib(lp, XPRS_OBJVAL, &obj), 0);
    EXPECT_NEAR(obj, -464.753142857, 1e-5);
  }
  EXPECT_EQ(XPRSdestroyprob(lp), 0);
}

// Loads "min x0 s.t. x0 >= rhs" with x0 of the given semi-continuous type and limit.
void loadSemiColumn(XPRSprob prob, double rhs, char type, double limit,
                    double ub = XPRS_PLUSINFINITY) {
  const double obj[] = {1};
  const double upper[] = {ub};
  ASSERT_EQ(XPRSaddcols64(prob, 1, 0, obj, nullptr, nullptr, nullptr, nullptr, upper), 0);
  const char g[] = {'G'};
  const double rhsv[] = {rhs};
  const XPRSint64 start[] = {0};
  const int cols[] = {0};
  const double vals[] = {1};
  ASSERT_EQ(XPRSaddrows64(prob, 1, 1, g, rhsv, nullptr, start, cols, vals), 0);
  const char types[] = {type};
  const double limits[] = {limit};
  ASSERT_EQ(XPRSchgcoltype(prob, 1, cols, types), 0);
  ASSERT_EQ(XPRSchgglblimit(prob, 1, cols, limits), 0);
}

TEST_F(SolveTest, SemiContinuousColumnWithoutUpperBound) {
  quiet();
  // x0 in {0} or [3, inf) and x0 >= 1.
  loadSemiColumn(prob_, /*rhs=*/1, 'S', /*limit=*/3);
  const Outcome o = optimize();
  EXPECT_EQ(o.sol, XPRS_SOLSTATUS_OPTIMAL);
  EXPECT_NEAR(o.obj, 3.0, 1e-6);
}

TEST_F(SolveTest, SemiContinuousValueBeyondTheEngineLimitIsAnError) {
  quiet();
  // x0 in {0} or [3, inf) and x0 >= 5e8.
  loadSemiColumn(prob_, /*rhs=*/5e8, 'S', /*limit=*/3);
  const Outcome within = optimize();
  EXPECT_EQ(within.sol, XPRS_SOLSTATUS_OPTIMAL);
  EXPECT_NEAR(within.obj, 5e8, 1e-3);
  // Beyond the limit the capped model would look infeasible: that is refused, not reported.
  XPRSprob grown = nullptr;
  ASSERT_EQ(XPRScreateprob(&grown), 0);
  ASSERT_EQ(XPRScopyprob(grown, prob_, nullptr), 0);
  ASSERT_EQ(XPRSsetintcontrol(grown, XPRS_OUTPUTLOG, 0), 0);
  const char g2[] = {'G'};
  const double beyond[] = {2e9};
  const XPRSint64 start[] = {0};
  const int cols[] = {0};
  const double vals[] = {1};
  ASSERT_EQ(XPRSaddrows64(grown, 1, 1, g2, beyond, nullptr, start, cols, vals), 0);
  int solve = -1;
  int sol = -1;
  EXPECT_EQ(XPRSoptimize(grown, "", &solve, &sol), 32);
  char buf[512];
  XPRSgetlasterror(grown, buf);
  EXPECT_STREQ(buf,
               "XPRSoptimize: a semi-continuous column's upper bound exceeds the engine's limit "
               "1e+09");
  EXPECT_EQ(solve, XPRS_SOLVESTATUS_FAILED);
  EXPECT_EQ(sol, XPRS_SOLSTATUS_NOTFOUND);
  EXPECT_EQ(XPRSdestroyprob(grown), 0);
}

TEST_F(SolveTest, SemiIntegerColumnTakesAnIntegerValueAboveItsLimit) {
  quiet();
  // x0 semi-integer in {0} or {3, ..., 10} (limit 2.5) and x0 >= 1.
  loadSemiColumn(prob_, /*rhs=*/1, 'R', /*limit=*/2.5, /*ub=*/10);
  const Outcome o = optimize();
  EXPECT_EQ(o.sol, XPRS_SOLSTATUS_OPTIMAL);
  EXPECT_NEAR(o.obj, 3.0, 1e-6);
}

TEST_F(SolveTest, SolutionOfferedInASemiContinuousGapIsRepairedNotFatal) {
  quiet();
  // No objective; 3 x0 + 4 x1 >= 4 and 4 x3 >= 4, with x0 in {0} or [1, 5], x1 integer in
  // [0, 3], x2 in [0, 5] (limit 0), x3 in {0} or [2, inf), x4 binary. Cbc's strong branching
  // offers x3 = 1 as a solution; fixing it used to abort the process.
  const double ub[] = {5, 3, 5, XPRS_PLUSINFINITY, 1};
  ASSERT_EQ(XPRSaddcols64(prob_, 5, 0, nullptr, nullptr, nullptr, nullptr, nullptr, ub), 0);
  const char rowType[] = {'L', 'L', 'L'};
  const double rhs[] = {-4, -4, 6};
  const XPRSint64 start[] = {0, 2, 3};
  const int rowCols[] = {0, 1, 3};
  const double rowVals[] = {-3, -4, -4};
  ASSERT_EQ(XPRSaddrows64(prob_, 3, 3, rowType, rhs, nullptr, start, rowCols, rowVals), 0);
  const int cols[] = {0, 1, 2, 3, 4};
  const char types[] = {'S', 'R', 'S', 'S', 'B'};
  const double limits[] = {1, 0, 0, 2};
  ASSERT_EQ(XPRSchgcoltype(prob_, 5, cols, types), 0);
  ASSERT_EQ(XPRSchgglblimit(prob_, 4, cols, limits), 0);
  const Outcome o = optimize();
  ASSERT_EQ(o.sol, XPRS_SOLSTATUS_OPTIMAL);
  const auto x = values(XPRSgetsolution, 5, XPRS_SOLAVAILABLE_OPTIMAL);
  EXPECT_TRUE(x[0] <= 1e-6 || (x[0] >= 1 - 1e-6 && x[0] <= 5 + 1e-6)) << x[0];
  EXPECT_NEAR(x[1], std::round(x[1]), 1e-5);
  EXPECT_GE(3 * x[0] + 4 * x[1], 4 - 1e-6);
  EXPECT_GE(x[3], 2 - 1e-6);
}

// A maximisation over 17 columns and 9 rows with x1 in {0} or [5, 6] and x4 in {0} or [5, 9]
// beside binary, integer and continuous columns, with the cutoff increment the plug-in sets
// (0). Cbc's pseudo-cost branching compared the lot-size branches through a node it had not set
// and crashed the process. The optimum, 101 with x1 on and x4 off, is confirmed by the LP of
// every pattern of the integer values and semi-continuous ranges, and by the model with each
// semi-continuous column as a continuous column and a binary in two rows.
TEST_F(SolveTest, SemiContinuousBranchingAmongIntegerColumnsDoesNotCrash) {
  quiet();
  const double obj[] = {0, 9, 0, 0, 0, 6, 0, -6, -5, 0, 0, 0, -7, 8, 6, -7, 0};
  const double lb[] = {1.5, 5, 0, 0, 5, 1.5, 0, 0, 0, 1.5, 1, 0, 1.5, 0, 0, 1.5, 0};
  const double ub[] = {11.5, 6, 21, 10, 9, 21.5, 20, 1, 7.5, 9, 2, 1, 6.5, 7, 20, 9, 1};
  ASSERT_EQ(XPRSaddcols64(prob_, 17, 0, obj, nullptr, nullptr, nullptr, lb, ub), 0);
  const char rowType[] = {'E', 'L', 'E', 'L', 'L', 'G', 'G', 'L', 'G'};
  const double rhs[] = {-24, -24, 81, 56, 19, 52, -48, -126, 12};
  const XPRSint64 start[] = {0, 2, 4, 11, 15, 19, 22, 26, 31};
  const int rowCols[] = {6, 13, 7, 12, 0,  1,  4,  7, 10, 13, 15, 1,  2, 4, 14, 4,  6,  8, 9,
                         3, 5,  7, 0,  13, 15, 16, 6, 8,  13, 14, 15, 2, 5, 11, 12, 13, 15};
  const double rowVals[] = {-3, -9, 5, -7, 5,  -2, 7,  7,  9,  -6, 9,  9,  -5, -5, 4, 8, 1, -5, 4,
                            9,  -8, 7, -8, -8, 8,  -3, -6, -8, 3,  -4, -4, -6, 1,  4, 4, 4, -9};
  ASSERT_EQ(XPRSaddrows64(prob_, 9, 37, rowType, rhs, nullptr, start, rowCols, rowVals), 0);
  ASSERT_EQ(XPRSchgobjsense(prob_, XPRS_OBJ_MAXIMIZE), 0);
  const int cols[] = {1, 4, 7, 10, 13, 16};
  const char types[] = {'S', 'S', 'B', 'I', 'I', 'B'};
  const double limits[] = {5, 5};
  ASSERT_EQ(XPRSchgcoltype(prob_, 6, cols, types), 0);
  ASSERT_EQ(XPRSchgglblimit(prob_, 2, cols, limits), 0);
  ASSERT_EQ(XPRSsetdblcontrol(prob_, XPRS_MIPADDCUTOFF, 0), 0);
  const Outcome o = optimize();
  ASSERT_EQ(o.sol, XPRS_SOLSTATUS_OPTIMAL);
  EXPECT_NEAR(o.obj, 101, 1e-6);
  const auto x = values(XPRSgetsolution, 17, XPRS_SOLAVAILABLE_OPTIMAL);
  for (const int j : {1, 4}) {
    EXPECT_TRUE(x[j] <= 1e-6 || (x[j] >= 5 - 1e-6 && x[j] <= ub[j] + 1e-6)) << j << ": " << x[j];
  }
}

// max x0 / 2 + x1 / 2 with x0 in [0, 2], x1 binary, SOS1 {x0, x1} and 3 x0 >= 2 while x1 = 1:
// x1 = 1 leaves no x0, so the optimum is x = (2, 0). Strong branching among the set's branches
// handed OsiClp a hot start it asserts on, which aborted the process.
TEST_F(SolveTest, SetBranchingBesideAnIndicatorDoesNotAbort) {
  quiet();
  const double obj[] = {0.5, 0.5};
  const double ub[] = {2, 1};
  ASSERT_EQ(XPRSaddcols64(prob_, 2, 0, obj, nullptr, nullptr, nullptr, nullptr, ub), 0);
  ASSERT_EQ(XPRSchgobjsense(prob_, XPRS_OBJ_MAXIMIZE), 0);
  const int cols[] = {0, 1};
  const char integer[] = {'I'};
  ASSERT_EQ(XPRSchgcoltype(prob_, 1, &cols[1], integer), 0);
  const char settype[] = {'1'};
  const XPRSint64 setStart[] = {0};
  const double ref[] = {3, 1.5};
  ASSERT_EQ(XPRSaddsets64(prob_, 1, 2, settype, setStart, cols, ref), 0);
  const char type[] = {'G'};
  const double rhs[] = {2}, three[] = {3};
  const XPRSint64 start[] = {0};
  ASSERT_EQ(XPRSaddrows64(prob_, 1, 1, type, rhs, nullptr, start, cols, three), 0);
  const int row[] = {0}, complement[] = {1};
  ASSERT_EQ(XPRSsetindicators(prob_, 1, row, &cols[1], complement), 0);
  const Outcome o = optimize();
  ASSERT_EQ(o.sol, XPRS_SOLSTATUS_OPTIMAL);
  EXPECT_NEAR(o.obj, 1, 1e-6);
}

// min -4 x1 + 4 x4 with x0, x2, x4 binary, x1 in {0} or [2, 2], x3 semi-integer (limit 1, up to
// 3), SOS2 over all five, 2 <= 2 x0 + 3 x1 - 4 x4 <= 6, 2 x0 + 3 x2 = 2 and the rows
// r3: 0.5 x0 + 4 x1 + 4 x2 - 3 x4 <= -4 while x4 = 1, r4: 6 <= 0.5 x2 + 0.5 x3 <= 8 while x0 = 0:
// the optimum is x = (1, 0, 0, 0, 0) with objective 0. Cbc's mixed-integer rounding cuts took
// free rows (a neutral row, or the rows an indicator's big-M form stands for) as constraints
// and cut it off: "infeasible". The second form states the big-M rows itself, beside r3 and r4
// as neutral rows.
TEST_F(SolveTest, FreeRowsDoNotCutOffTheOptimum) {
  for (const bool indicators : {true, false}) {
    SCOPED_TRACE(indicators ? "indicator rows" : "big-M rows and neutral rows");
    XPRSprob p = nullptr;
    ASSERT_EQ(XPRScreateprob(&p), 0);
    ASSERT_EQ(XPRSsetintcontrol(p, XPRS_OUTPUTLOG, 0), 0);
    const double obj[] = {0, -4, 0, 0, 4};
    const double ub[] = {1, 2, 1, 3, 1};
    ASSERT_EQ(XPRSaddcols64(p, 5, 0, obj, nullptr, nullptr, nullptr, nullptr, ub), 0);
    const char types[] = {'R', 'E', 'N', 'L', 'R', 'L', 'G'};
    const char neutral[] = {'R', 'E', 'N', 'N', 'N', 'L', 'G'};
    const double rhs[] = {6, 2, 0, -4, 8, 12.5, 6};
    const double range[] = {4, 0, 0, 0, 2, 0, 0};
    const XPRSint64 start[] = {0, 3, 5, 6, 10, 12, 16};
    const int cols[] = {0, 1, 4, 0, 2, 2, 0, 1, 2, 4, 2, 3, 0, 1, 2, 4, 0, 2, 3};
    const double vals[] = {2,   3,   -4,  2, 3, 0.5,  0.5, 4,   4,  -3,
                           0.5, 0.5, 0.5, 4, 4, 13.5, 6,   0.5, 0.5};
    ASSERT_EQ(XPRSaddrows64(p, indicators ? 5 : 7, indicators ? 12 : 19,
                            indicators ? types : neutral, rhs, range, start, cols, vals),
              0);
    const int all[] = {0, 1, 2, 3, 4};
    const char colTypes[] = {'B', 'S', 'B', 'R', 'B'};
    ASSERT_EQ(XPRSchgcoltype(p, 5, all, colTypes), 0);
    const int semi[] = {1, 3};
    const double limits[] = {2, 1};
    ASSERT_EQ(XPRSchgglblimit(p, 2, semi, limits), 0);
    const char setType[] = {'2'};
    const XPRSint64 setStart[] = {0};
    const double weights[] = {7.5, 6, 4.5, 3, 1.5};
    ASSERT_EQ(XPRSaddsets64(p, 1, 5, setType, setStart, all, weights), 0);
    if (indicators) {
      const int rows[] = {3, 4}, on[] = {4, 0}, complement[] = {1, -1};
      ASSERT_EQ(XPRSsetindicators(p, 2, rows, on, complement), 0);
    }
    int sol = -1;
    ASSERT_EQ(XPRSoptimize(p, "", nullptr, &sol), 0);
    EXPECT_EQ(sol, XPRS_SOLSTATUS_OPTIMAL);
    double x[5] = {}, objective = 1;
    ASSERT_EQ(XPRSgetsolution(p, nullptr, x, 0, 4), 0);
    ASSERT_EQ(XPRSgetdblattrib(p, XPRS_OBJVAL, &objective), 0);
    EXPECT_THAT(x, testing::Pointwise(testing::DoubleNear(1e-6), {1.0, 0.0, 0.0, 0.0, 0.0}));
    EXPECT_NEAR(objective, 0, 1e-9);
    EXPECT_EQ(XPRSdestroyprob(p), 0);
  }
}

TEST_F(SolveTest, SetsTheEngineCannotBranchOnAreRefused) {
  struct Case {
    std::vector<int> members;
    std::vector<double> ref;
    double lower;  // of column 1
    const char* error;
  };
  const Case cases[] = {
      {{0, 1, 0}, {1, 2, 3}, 0, "XPRSoptimize: set 0 lists column 0 more than once"},
      {{0, 1}, {1, 1}, 0, "XPRSoptimize: set 0 has duplicate reference values"},
      {{0, 1},
       {1, 2},
       -2,
       "XPRSoptimize: set 0 holds column 1 with a negative lower bound (-2): the engine's sets "
       "take nonnegative columns only"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error);
    XPRSprob p = nullptr;
    ASSERT_EQ(XPRScreateprob(&p), 0);
    const double lb[] = {0, c.lower};
    ASSERT_EQ(XPRSaddcols64(p, 2, 0, nullptr, nullptr, nullptr, nullptr, lb, nullptr), 0);
    const char type[] = {'2'};
    const XPRSint64 start[] = {0};
    ASSERT_EQ(XPRSaddsets64(p, 1, static_cast<XPRSint64>(c.members.size()), type, start,
                            c.members.data(), c.ref.data()),
              0);
    EXPECT_EQ(XPRSoptimize(p, "", nullptr, nullptr), 32);
    char buf[512];
    XPRSgetlasterror(p, buf);
    EXPECT_STREQ(buf, c.error);
    EXPECT_EQ(XPRSdestroyprob(p), 0);
  }
}

TEST_F(SolveTest, EmptyProblemIsOptimalWithItsConstant) {
  quiet();
  const int constant[] = {-1};
  const double value[] = {-2.5};
  ASSERT_EQ(XPRSchgobj(prob_, 1, constant, value), 0);
  const Outcome o = optimize();
  EXPECT_EQ(o.sol, XPRS_SOLSTATUS_OPTIMAL);
  EXPECT_EQ(o.optType, XPRS_OPTIMIZETYPE_LP);
  EXPECT_EQ(o.obj, 2.5);
  double rhs = 0;
  ASSERT_EQ(XPRSgetdblattrib(prob_, XPRS_OBJRHS, &rhs), 0);
  EXPECT_EQ(rhs, -2.5);
}

// A small model in dense form: rows of types L, G, E or R (rhs the upper end, rng its width).
struct DenseModel {
  std::vector<double> obj, lb, ub;
  std::vector<char> type;
  std::vector<double> rhs, rng;
  std::vector<std::vector<double>> a;
  std::vector<std::pair<int, int>> q;  // the objective's x'Qx / 2 by its upper-triangle entries
  std::vector<double> qv;
  void load(XPRSprob p) const {
    const auto n = static_cast<int>(obj.size());
    ASSERT_EQ(XPRSaddcols64(p, n, 0, obj.data(), nullptr, nullptr, nullptr, lb.data(), ub.data()),
              0);
    std::vector<XPRSint64> start;
    std::vector<int> cols;
    std::vector<double> vals;
    for (const std::vector<double>& row : a) {
      start.push_back(static_cast<XPRSint64>(cols.size()));
      for (int j = 0; j < n; ++j) {
        if (row[static_cast<std::size_t>(j)] != 0) {
          cols.push_back(j);
          vals.push_back(row[static_cast<std::size_t>(j)]);
        }
      }
    }
    ASSERT_EQ(
        XPRSaddrows64(p, static_cast<int>(a.size()), static_cast<XPRSint64>(cols.size()),
                      type.data(), rhs.data(), rng.data(), start.data(), cols.data(), vals.data()),
        0);
    std::vector<int> q1, q2;
    for (const auto& [i, j] : q) q1.push_back(i), q2.push_back(j);
    if (!q.empty()) {
      ASSERT_EQ(
          XPRSchgmqobj64(p, static_cast<XPRSint64>(q.size()), q1.data(), q2.data(), qv.data()), 0);
    }
  }
};

// Verdicts the engines gave wrongly: Clp's simplex methods call models with a column in no row
// whose objective improves without limit infeasible (or optimal off the column's bounds), and its
// dual simplex calls a feasible program with free columns infeasible. Every algorithm, with and
// without presolve, must give the verdict of the model. An optimum must be no worse than the
// objective at a point the model is known to have.
TEST_F(SolveTest, VerdictsHoldForColumnsInNoRowAndFreeColumns) {
  constexpr double kInf = XPRS_PLUSINFINITY;
  // 9 x + y + 2 z: x >= 0 in no row, y free, y + z <= 5, y - z >= -3, z >= 0; the minimum is -3.
  const DenseModel lone{{9, 1, 2}, {0, -kInf, 0}, {kInf, kInf, kInf},      {'L', 'G'},
                        {5, -3},   {0, 0},        {{0, 1, 1}, {0, 1, -1}}, {},
                        {}};
  // The same with y + z <= -10: no point.
  DenseModel loneInfeasible = lone;
  loneInfeasible.rhs[0] = -10;
  // x3 free in no row among free and one-sided columns; (0, 1, 9, 0, 3) is a point.
  const DenseModel freeLone{{2, 9, -3, 7, -5},
                            {-kInf, -1, 4, -kInf, -kInf},
                            {kInf, kInf, kInf, kInf, 3},
                            {'E', 'G', 'G', 'E'},
                            {27, -8, -1, 6},
                            {0, 0, 0, 0},
                            {{-4, 0, 3, 0, 0}, {0, -4, 0, 0, 0}, {1, 5, 0, 0, 0}, {0, 3, 0, 0, 1}},
                            {},
                            {}};
  // A convex QP with three equality rows, a ranged row and three free columns; it holds the
  // point (18, 13, 13, 9, 2), where its objective is -42.5.
  const DenseModel qp{
      {6, -9, -2, -4, 2},
      {-kInf, -kInf, -kInf, 0, -kInf},
      {kInf, kInf, kInf, kInf, 2},
      {'E', 'E', 'E', 'R'},
      {31, -101, 17, -29},
      {0, 0, 0, 4},
      {{2, -2, 0, 3, -3}, {0, -4, -3, -2, 4}, {4, -3, -2, 0, 5}, {-5, 3, 3, -2, 0}},
      {{0, 0}, {0, 1}, {0, 2}, {0, 4}, {1, 1}, {1, 2}, {1, 4}, {2, 2}, {2, 4}, {4, 4}},
      {4, -4, -2, -4, 4, 2, 4, 1, 2, 4}};
  // min 2 (x0 + 2 x3)^2 + x2^2 / 2 - x3 / 2 without rows (x1 in nothing): Clp's quadratic
  // methods find no answer; the optimum is -1/128 at x3 = 1/32.
  const DenseModel qpWithoutRows{{0, 0, 0, -0.5},
                                 {0, 0, 0, 0},
                                 {kInf, 4, 4, 4},
                                 {},
                                 {},
                                 {},
                                 {},
                                 {{0, 0}, {0, 3}, {3, 3}, {2, 2}},
                                 {4, 8, 16, 1}};
  struct Case {
    const char* name;
    const DenseModel& model;
    int sense;
    bool mip;  // column 0 integer
    int sol;
    double atPoint;  // the objective at a known point
  };
  const Case cases[] = {
      {"lone max", lone, XPRS_OBJ_MAXIMIZE, false, XPRS_SOLSTATUS_UNBOUNDED, 0},
      {"lone max MIP", lone, XPRS_OBJ_MAXIMIZE, true, XPRS_SOLSTATUS_UNBOUNDED, 0},
      {"lone min", lone, XPRS_OBJ_MINIMIZE, false, XPRS_SOLSTATUS_OPTIMAL, -3},
      {"lone min MIP", lone, XPRS_OBJ_MINIMIZE, true, XPRS_SOLSTATUS_OPTIMAL, -3},
      {"lone infeasible", loneInfeasible, XPRS_OBJ_MAXIMIZE, false, XPRS_SOLSTATUS_INFEASIBLE, 0},
      {"lone infeasible MIP", loneInfeasible, XPRS_OBJ_MAXIMIZE, true, XPRS_SOLSTATUS_INFEASIBLE,
       0},
      {"free lone", freeLone, XPRS_OBJ_MINIMIZE, false, XPRS_SOLSTATUS_UNBOUNDED, 0},
      {"free lone MIP", freeLone, XPRS_OBJ_MAXIMIZE, true, XPRS_SOLSTATUS_UNBOUNDED, 0},
      {"qp", qp, XPRS_OBJ_MINIMIZE, false, XPRS_SOLSTATUS_OPTIMAL, -42.5},
      {"qp without rows", qpWithoutRows, XPRS_OBJ_MINIMIZE, false, XPRS_SOLSTATUS_OPTIMAL,
       -1.0 / 128},
  };
  for (const Case& c : cases) {
    for (const char* flags : {"d", "p", "b"}) {
      for (const int presolve : {0, 1}) {
        SCOPED_TRACE(std::string(c.name) + " flags " + flags + " presolve " +
                     std::to_string(presolve));
        XPRSprob p = nullptr;
        ASSERT_EQ(XPRScreateprob(&p), 0);
        ASSERT_EQ(XPRSsetintcontrol(p, XPRS_OUTPUTLOG, 0), 0);
        ASSERT_EQ(XPRSsetintcontrol(p, XPRS_PRESOLVE, presolve), 0);
        c.model.load(p);
        ASSERT_EQ(XPRSchgobjsense(p, c.sense), 0);
        if (c.mip) {
          const int col[] = {0};
          const char integer[] = {'I'};
          ASSERT_EQ(XPRSchgcoltype(p, 1, col, integer), 0);
        }
        int sol = -1;
        ASSERT_EQ(XPRSoptimize(p, flags, nullptr, &sol), 0);
        EXPECT_EQ(sol, c.sol);
        if (sol == XPRS_SOLSTATUS_OPTIMAL) {
          double obj = 0;
          ASSERT_EQ(XPRSgetdblattrib(p, XPRS_OBJVAL, &obj), 0);
          EXPECT_LE(c.sense * obj, c.sense * c.atPoint + 1e-6);
          // The point keeps the user's model: bounds, rows and integrality.
          const std::size_t n = c.model.obj.size();
          std::vector<double> x(n);
          ASSERT_EQ(XPRSgetsolution(p, nullptr, x.data(), 0, static_cast<int>(n) - 1), 0);
          for (std::size_t j = 0; j < n; ++j) {
            EXPECT_GE(x[j], c.model.lb[j] - 1e-6);
            EXPECT_LE(x[j], c.model.ub[j] + 1e-6);
          }
          if (c.mip) {
            EXPECT_NEAR(x[0], std::round(x[0]), 1e-6);
          }
          for (std::size_t i = 0; i < c.model.a.size(); ++i) {
            double act = 0;
            for (std::size_t j = 0; j < n; ++j) act += c.model.a[i][j] * x[j];
            const char t = c.model.type[i];
            const double rhs = c.model.rhs[i];
            const double lower = t == 'L' ? -1e30 : t == 'R' ? rhs - c.model.rng[i] : rhs;
            const double upper = t == 'G' ? 1e30 : rhs;
            EXPECT_GE(act, lower - 1e-6) << "row " << i;
            EXPECT_LE(act, upper + 1e-6) << "row " << i;
          }
        }
        EXPECT_EQ(XPRSdestroyprob(p), 0);
      }
    }
  }
}

}  // namespace
