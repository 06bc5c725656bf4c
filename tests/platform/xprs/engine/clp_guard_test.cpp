// Models on which Clp's barrier and quadratic simplex abort, loop or answer wrongly: the barrier
// runs only where it is safe and falls back to the simplex, its iteration limit applies, and a
// quadratic model is shown feasible and bounded before it is solved. Expected statuses are
// proved inside the tests (a feasible point and a direction of descent, or optimality conditions
// checked on the answer).
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/mps_loader.hpp"
#include "tests/support/standin_test.hpp"
#include "xprs_testing.hpp"

namespace {

constexpr double kInf = XPRS_PLUSINFINITY;

// A small model with rows given by their range and a Hessian Q = B'B (convex by construction).
struct SmallModel {
  std::vector<double> lb, ub, obj;
  struct Row {
    double lo, up;
    std::vector<std::pair<int, double>> entries;
  };
  std::vector<Row> rows;
  std::vector<std::vector<double>> b;  // rows of B

  [[nodiscard]] std::size_t cols() const { return lb.size(); }
  [[nodiscard]] double q(std::size_t i, std::size_t j) const {
    double v = 0;
    for (const auto& row : b) v += row[i] * row[j];
    return v;
  }
  [[nodiscard]] double activity(std::size_t i, const std::vector<double>& x) const {
    double v = 0;
    for (const auto& [c, a] : rows[i].entries) v += a * x[static_cast<std::size_t>(c)];
    return v;
  }
};

class ClpGuardTest : public xprs_test::StandinTest {
 protected:
  void SetUp() override {
    StandinTest::SetUp();
    ASSERT_EQ(xprs_test::collectMessages(prob_, &log_), 0);
  }

  // Loads the model with the Hessian qSign Q.
  void load(const SmallModel& m, double qSign = 1) {
    const int n = static_cast<int>(m.cols());
    ASSERT_EQ(XPRSaddcols64(prob_, n, 0, m.obj.data(), nullptr, nullptr, nullptr, m.lb.data(),
                            m.ub.data()),
              0);
    for (const SmallModel::Row& row : m.rows) addRow(row);
    std::vector<int> c1;
    std::vector<int> c2;
    std::vector<double> q;
    for (std::size_t i = 0; i < m.cols(); ++i) {
      for (std::size_t j = i; j < m.cols() && !m.b.empty(); ++j) {
        c1.push_back(static_cast<int>(i));
        c2.push_back(static_cast<int>(j));
        q.push_back(qSign * m.q(i, j));
      }
    }
    ASSERT_EQ(
        XPRSchgmqobj64(prob_, static_cast<XPRSint64>(q.size()), c1.data(), c2.data(), q.data()), 0);
  }

  // A row with two finite ends becomes a range row, one with none a free row.
  void addRow(const SmallModel::Row& row) {
    const bool hasLo = row.lo > -kInf;
    const bool hasUp = row.up < kInf;
    const char type = hasLo && hasUp ? (row.lo == row.up ? 'E' : 'R')
                      : hasLo        ? 'G'
                      : hasUp        ? 'L'
                                     : 'N';
    const double rhs = hasUp ? row.up : row.lo;
    const double rng = row.up - row.lo;
    std::vector<int> cols;
    std::vector<double> vals;
    for (const auto& [c, v] : row.entries) cols.push_back(c), vals.push_back(v);
    const XPRSint64 start[] = {0};
    ASSERT_EQ(XPRSaddrows64(prob_, 1, static_cast<XPRSint64>(cols.size()), &type, &rhs, &rng, start,
                            cols.data(), vals.data()),
              0);
  }

  // Sets the Hessian to the diagonal q, or bounds of the given type to v, over the first columns.
  void setDiagonal(const std::vector<double>& q) {
    const std::vector<int> cols = first(q.size());
    ASSERT_EQ(
        XPRSchgmqobj64(prob_, static_cast<XPRSint64>(q.size()), cols.data(), cols.data(), q.data()),
        0);
  }
  void setBounds(char type, const std::vector<double>& v) {
    const std::vector<char> types(v.size(), type);
    ASSERT_EQ(XPRSchgbounds(prob_, static_cast<int>(v.size()), first(v.size()).data(), types.data(),
                            v.data()),
              0);
  }
  static std::vector<int> first(std::size_t n) {
    std::vector<int> cols(n);
    for (std::size_t j = 0; j < n; ++j) cols[j] = static_cast<int>(j);
    return cols;
  }

  // Solves under flags and expects the solution and LP statuses.
  void expectStatus(const char* flags, int sol, int lp) {
    SCOPED_TRACE(flags);
    EXPECT_EQ(optimize(flags), sol);
    EXPECT_EQ(intAttrib(XPRS_LPSTATUS), lp);
  }

  // The solution status; the solve status goes to *solve when given.
  int optimize(const char* flags, int* solve = nullptr) {
    int sol = -1;
    EXPECT_EQ(XPRSoptimize(prob_, flags, solve, &sol), 0) << lastError();
    return sol;
  }

  int intAttrib(int id) const {
    int v = -1;
    EXPECT_EQ(XPRSgetintattrib(prob_, id, &v), 0);
    return v;
  }

  double objVal() const {
    double v = NAN;
    EXPECT_EQ(XPRSgetdblattrib(prob_, XPRS_OBJVAL, &v), 0);
    return v;
  }

  std::vector<double> values(int (*fn)(XPRSprob, int*, double*, int, int), std::size_t n) const {
    std::vector<double> v(n);
    int status = -1;
    EXPECT_EQ(fn(prob_, &status, v.data(), 0, static_cast<int>(n) - 1), 0);
    EXPECT_NE(status, XPRS_SOLAVAILABLE_NOTFOUND);
    return v;
  }

  // Checks the optimality conditions at the answer, for the objective c'x + qSign/2 x'Qx in the
  // given sense: feasibility, reduced costs c + qSign Qx - A'y, their signs at the bounds, and
  // row duals that vanish on slack rows and have the sign of the active side.
  void expectOptimal(const SmallModel& m, double tol, int sense = 1, double qSign = 1) {
    const std::vector<double> x = values(XPRSgetsolution, m.cols());
    const std::vector<double> y = values(XPRSgetduals, m.rows.size());
    const std::vector<double> dj = values(XPRSgetredcosts, m.cols());
    // A multiplier may be positive (in the sense) only at a finite lower end, negative only at a
    // finite upper end.
    const auto expectSign = [&](double mult, double v, double lo, double up) {
      const bool atLo = lo > -kInf && v <= lo + tol;
      const bool atUp = up < kInf && v >= up - tol;
      EXPECT_TRUE(atLo || sense * mult <= tol) << mult;
      EXPECT_TRUE(atUp || sense * mult >= -tol) << mult;
    };
    for (std::size_t j = 0; j < m.cols(); ++j) {
      SCOPED_TRACE(testing::Message() << "column " << j);
      EXPECT_GE(x[j], m.lb[j] - tol);
      EXPECT_LE(x[j], m.ub[j] + tol);
      double g = m.obj[j];
      for (std::size_t k = 0; k < m.cols(); ++k) g += qSign * m.q(j, k) * x[k];
      for (std::size_t i = 0; i < m.rows.size(); ++i) {
        for (const auto& [c, a] : m.rows[i].entries) {
          if (static_cast<std::size_t>(c) == j) g -= a * y[i];
        }
      }
      EXPECT_NEAR(dj[j], g, tol);
      expectSign(dj[j], x[j], m.lb[j], m.ub[j]);
    }
    for (std::size_t i = 0; i < m.rows.size(); ++i) {
      SCOPED_TRACE(testing::Message() << "row " << i);
      const double act = m.activity(i, x);
      const SmallModel::Row& row = m.rows[i];
      EXPECT_GE(act, row.lo - tol);
      EXPECT_LE(act, row.up + tol);
      expectSign(y[i], act, row.lo, row.up);
    }
  }

  std::vector<std::string> log_;
};

// From a campaign of random convex QPs: Clp's barrier with crossover never returned on it (its
// quadratic simplex loops without a time check), and its primal answered "optimal" at 0.
const SmallModel kUnboundedQp{
    {-kInf, 0, -kInf, -2, -2, -1, 0},
    {2, kInf, kInf, 1, kInf, kInf, 2},
    {2.1782609840992464, 2.5289352625094557, -0.53163068099997302, 1.5034898807488832,
     -1.8179502879383291, 1.7696325005996498, -0.28353775027467565},
    {{-kInf,
      -1.6560571797973724,
      {{2, -1.5436232160216881}, {3, 0.68355552256287444}, {4, 0.36633604807012654}}}},
    {{-0.38374566183629533, -0.95464151197811253, -0.12130042089658377, -0.51321592702549923,
      0.51278990810961833, -0.31612849279498068, 0.34554858459074911}}};

// From the same campaign: bounded, but Clp's primal on it never returned.
const SmallModel kLoopingQp{
    {0, -kInf, -kInf, -1, -kInf},
    {3, kInf, 0, kInf, 0},
    {1.3416108240379108, -2.796214987637363, 2.7416959881072738, 1.0559854953789547,
     2.1164132414593317},
    {{1.3987558649074732, kInf, {{0, -1.2404946349540174}, {3, -1.4591593055042762}}},
     {-2.0137918432672195,
      kInf,
      {{0, 0.20815053409708106}, {3, -1.1065628676523707}, {4, -0.11508086929102879}}},
     {-kInf, -0.99211481045993044, {{0, 0.73730024740600708}, {4, 0.51745827478931128}}}},
    {{0, 0, 0.97312229295474584, 0, -0.75679240107188206},
     {-0.18671938937834298, 0.21651611032491003, 0.99027630863218863, -0.46284844997452379,
      -0.16149946101743984},
     {0.8578329935781901, 0, 0.87230359640611477, -0.92966346555820167, -0.47219458823824645}}};

TEST_F(ClpGuardTest, ConvexQuadraticWithADirectionOfDescentIsUnbounded) {
  const SmallModel& m = kUnboundedQp;
  // x = (0, 0, 10, 0, 0, 0, 0) is feasible; d = (0, 0, t, 0, 1, 0, 0) with Bd = 0 stays in the
  // recession cone and the objective falls along it.
  std::vector<double> point(m.cols(), 0.0);
  point[2] = 10;
  EXPECT_LE(m.activity(0, point), m.rows[0].up);
  std::vector<double> d(m.cols(), 0.0);
  d[4] = 1;
  d[2] = -m.b[0][4] / m.b[0][2];
  EXPECT_GT(d[2], 0);
  EXPECT_LE(m.activity(0, d), 0);
  EXPECT_NEAR(m.b[0][2] * d[2] + m.b[0][4] * d[4], 0, 1e-12);
  EXPECT_LT(m.obj[2] * d[2] + m.obj[4] * d[4], 0);
  load(m);
  for (const char* flags : {"", "b", "p"})
    expectStatus(flags, XPRS_SOLSTATUS_UNBOUNDED, XPRS_LP_UNBOUNDED);
}

TEST_F(ClpGuardTest, ConvexQuadraticWithFreeColumnsReachesItsOptimum) {
  load(kLoopingQp);
  double minimum = 0;
  for (const char* flags : {"", "b", "p"}) {
    SCOPED_TRACE(flags);
    EXPECT_EQ(optimize(flags), XPRS_SOLSTATUS_OPTIMAL);
    expectOptimal(kLoopingQp, 1e-6);
    minimum = objVal();
  }
  // Maximising the negated objective (-c, -Q) is the same model; copying a new problem over
  // prob_ empties it first.
  SmallModel negated = kLoopingQp;
  for (double& c : negated.obj) c = -c;
  XPRSprob empty = nullptr;
  ASSERT_EQ(XPRScreateprob(&empty), 0);
  ASSERT_EQ(XPRScopyprob(prob_, empty, nullptr), 0);
  ASSERT_EQ(XPRSdestroyprob(empty), 0);
  load(negated, -1);
  ASSERT_EQ(XPRSchgobjsense(prob_, XPRS_OBJ_MAXIMIZE), 0);
  EXPECT_EQ(optimize(""), XPRS_SOLSTATUS_OPTIMAL);
  expectOptimal(negated, 1e-6, /*sense=*/-1, /*qSign=*/-1);
  EXPECT_NEAR(objVal(), -minimum, 1e-6);
}

TEST_F(ClpGuardTest, ConvexQuadraticFarFromTheOriginIsSolvedBeyondTheFirstBox) {
  // min (x0 - 3e7)^2 + (x1 + 2)^2 - 9e14 - 4 with both columns free: (3e7, -2), objective 0.
  load({{-kInf, -kInf}, {kInf, kInf}, {-6e7, 4}, {}, {}});
  setDiagonal({2, 2});
  EXPECT_EQ(optimize(""), XPRS_SOLSTATUS_OPTIMAL);
  const std::vector<double> x = values(XPRSgetsolution, 2);
  EXPECT_NEAR(x[0], 3e7, 1e-3);
  EXPECT_NEAR(x[1], -2, 1e-6);
}

TEST_F(ClpGuardTest, InfeasibleModelsGiveInfeasibleUnderTheBarrier) {
  // Boxed, with range rows that can each be met but not together: x0 + x1 in [1, 1.5] and
  // x0 + x1 in [-1.5, 0.5].
  load({{0, 0}, {1, 1}, {1, 1}, {{1, 1.5, {{0, 1}, {1, 1}}}, {-1.5, 0.5, {{0, 1}, {1, 1}}}}, {}});
  expectStatus("b", XPRS_SOLSTATUS_INFEASIBLE, XPRS_LP_INFEAS);
  // The same rows under a convex objective.
  setDiagonal({1, 1});
  for (const char* flags : {"b", "p", ""})
    expectStatus(flags, XPRS_SOLSTATUS_INFEASIBLE, XPRS_LP_INFEAS);
}

TEST_F(ClpGuardTest, TruncatedShare2qpUnderTheBarrierGivesTheStatusOfItsRows) {
  // The solution status of the model solved under flags in a problem of its own.
  const auto solve = [](const xprs_test::SampleModel& model, const char* flags) {
    XPRSprob prob = nullptr;
    int sol = -1;
    EXPECT_EQ(XPRScreateprob(&prob), 0);
    EXPECT_EQ(XPRSsetintcontrol(prob, XPRS_OUTPUTLOG, 0), 0);
    xprs_test::load(prob, model);
    EXPECT_EQ(XPRSoptimize(prob, flags, nullptr, &sol), 0);
    EXPECT_EQ(XPRSdestroyprob(prob), 0);
    return sol;
  };
  const xprs_test::SampleModel model = xprs_test::readSample("share2qp");
  // Only the rows listed first: columns lose their couplings.
  for (int rows : {3, 6, 12}) {
    SCOPED_TRACE(rows);
    xprs_test::SampleModel cut = model;
    cut.rows = rows;
    cut.rhs.resize(static_cast<std::size_t>(rows));
    cut.rng.resize(static_cast<std::size_t>(rows));
    cut.rowType.resize(static_cast<std::size_t>(rows));
    cut.start = {0};
    cut.index.clear();
    cut.value.clear();
    for (std::size_t j = 0; j < static_cast<std::size_t>(model.cols); ++j) {
      for (auto k = static_cast<std::size_t>(model.start[j]);
           k < static_cast<std::size_t>(model.start[j + 1]); ++k) {
        if (model.index[k] < rows)
          cut.index.push_back(model.index[k]), cut.value.push_back(model.value[k]);
      }
      cut.start.push_back(static_cast<XPRSint64>(cut.index.size()));
    }
    // The rows and bounds alone, without the Hessian, decide feasibility.
    xprs_test::SampleModel linear = cut;
    linear.qVal.clear();
    linear.qCol1.clear();
    linear.qCol2.clear();
    if (solve(linear, "d") == XPRS_SOLSTATUS_INFEASIBLE) {
      EXPECT_EQ(solve(cut, "b"), XPRS_SOLSTATUS_INFEASIBLE);
    } else {
      EXPECT_THAT(solve(cut, "b"),
                  testing::AnyOf(XPRS_SOLSTATUS_OPTIMAL, XPRS_SOLSTATUS_UNBOUNDED));
    }
  }
}

TEST_F(ClpGuardTest, BarrierNeedsFiniteColumnBoundsAndFallsBackToTheDualSimplex) {
  // min 0.5 x0 + 1.5 x1 + x2, x0 free, x1 and x2 at most 1 without lower bound, -x0 = 0: the
  // barrier aborted the process on it. It is unbounded along x1.
  load({{-kInf, -kInf, -kInf}, {kInf, 1, 1}, {0.5, 1.5, 1}, {{0, 0, {{0, -1}}}}, {}});
  EXPECT_EQ(optimize("b"), XPRS_SOLSTATUS_UNBOUNDED);
  EXPECT_EQ(intAttrib(XPRS_ALGORITHM), XPRS_ALG_DUAL);
  EXPECT_THAT(log_, testing::Contains("The barrier needs finite bounds on every column and an "
                                      "entry in every row: the dual simplex solves the model"));
  // With finite bounds the barrier runs and its answer is taken.
  setBounds('L', {-10, -10, -10});
  setBounds('U', {10});
  EXPECT_EQ(optimize("b"), XPRS_SOLSTATUS_OPTIMAL);
  EXPECT_EQ(intAttrib(XPRS_ALGORITHM), XPRS_ALG_BARRIER);
  EXPECT_NEAR(objVal(), -25, 1e-6);
}

TEST_F(ClpGuardTest, BarrierSkipsModelsWithEmptyRows) {
  // x in [6.75, 7]; two free rows and three ranges [0, 0.75], all empty; -1.25 x <= -8.4375.
  // The barrier aborted the process on it (without an objective as with one).
  const SmallModel::Row empty{-kInf, kInf, {}};
  const SmallModel::Row emptyRange{0, 0.75, {}};
  load({{6.75},
        {7},
        {0},
        {empty, empty, emptyRange, emptyRange, emptyRange, {-kInf, -8.4375, {{0, -1.25}}}},
        {}});
  EXPECT_EQ(optimize("b"), XPRS_SOLSTATUS_OPTIMAL);
  EXPECT_EQ(intAttrib(XPRS_ALGORITHM), XPRS_ALG_DUAL);
  const int cols[] = {0};
  const double one[] = {1};
  ASSERT_EQ(XPRSchgobj(prob_, 1, cols, one), 0);
  EXPECT_EQ(optimize("b"), XPRS_SOLSTATUS_OPTIMAL);
  EXPECT_NEAR(objVal(), 6.75, 1e-9);
}

TEST_F(ClpGuardTest, NegligibleCoefficientsEnterTheEnginesAsZeros) {
  // min 3.375 x^2 + 1e-100 x, x >= 1: the barrier aborted the process on the tiny coefficient.
  load({{1}, {kInf}, {1e-100}, {}, {}});
  setDiagonal({6.75});
  EXPECT_EQ(optimize(""), XPRS_SOLSTATUS_OPTIMAL);
  EXPECT_NEAR(values(XPRSgetsolution, 1)[0], 1, 1e-6);
  // Without the Hessian, under the barrier, and as a matrix entry too.
  setDiagonal({0});
  setBounds('U', {10});
  addRow({-1, kInf, {{0, 1e-100}}});
  EXPECT_EQ(optimize("b"), XPRS_SOLSTATUS_OPTIMAL);
}

TEST_F(ClpGuardTest, BarrierIterationLimitStopsTheBarrierWithoutCrossover) {
  ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_OUTPUTLOG, 0), 0);
  const auto afiro = xprs_test::readSample("afiro");
  xprs_test::load(prob_, afiro);
  setBounds('U', std::vector<double>(static_cast<std::size_t>(afiro.cols), 1e4));
  ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_BARITERLIMIT, 2), 0);
  ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_CROSSOVER, 0), 0);
  int solve = -1;
  optimize("b", &solve);
  EXPECT_EQ(solve, XPRS_SOLVESTATUS_STOPPED);
  EXPECT_EQ(intAttrib(XPRS_STOPSTATUS), XPRS_STOP_ITERLIMIT);
  EXPECT_EQ(intAttrib(XPRS_LPSTATUS), XPRS_LP_UNFINISHED);
  EXPECT_EQ(intAttrib(XPRS_SIMPLEXITER), 2);
  // Crossover finishes what the barrier started.
  ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_CROSSOVER, 1), 0);
  EXPECT_EQ(optimize("b"), XPRS_SOLSTATUS_OPTIMAL);
  EXPECT_NEAR(objVal(), -464.753142857, 1e-5);
}

}  // namespace
