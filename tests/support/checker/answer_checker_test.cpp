// The answer checker on hand-solved models: each right answer is certified the way the model
// allows, and each kind of wrong answer is caught with a failure that says what is wrong.
#include "tests/support/checker/answer_checker.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace qel_check {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ColumnType = vopRec::ColumnType;
constexpr double kInf = vopRec::kInfinity;

vopRec answered(vopRec m, std::vector<double> values, std::optional<double> objective,
                int status = 0) {
  m.results.solved = true;
  m.results.status = status;
  m.results.values = std::move(values);
  m.results.objective = objective;
  return m;
}

// min -x - 2y (or max x + 2y) subject to x + y <= 4 and x - y >= -2, x in [0, 10], y in [0, 10]:
// optimal at (1, 3) with value -7 (7); both rows bind, duals -1.5 and 0.5 (1.5 and -0.5).
vopRec lp(bool maximize) {
  vopRec m;
  m.columns = {{.upper = 10}, {.upper = 10}};
  m.rows = {{.upper = 4, .terms = {{0, 1}, {1, 1}}}, {.lower = -2, .terms = {{0, 1}, {1, -1}}}};
  const double s = maximize ? 1 : -1;
  m.objectives = {{.maximize = maximize, .terms = {{0, s}, {1, 2 * s}}}};
  m = answered(m, {1, 3}, 7 * s);
  m.results.duals = {1.5 * s, -0.5 * s};
  m.results.reducedCosts = {0, 0};
  m.results.activities = {4, -2};
  return m;
}

// min (x - 1)^2 + (y - 2)^2 subject to x + y <= 2, x and y free: optimal at (0.5, 1.5), value
// 0.5, the row's dual -1.
vopRec qp() {
  vopRec m;
  m.columns = {{.lower = -kInf}, {.lower = -kInf}};
  m.rows = {{.upper = 2, .terms = {{0, 1}, {1, 1}}}};
  m.objectives = {
      {.terms = {{0, -2}, {1, -4}}, .constant = 5, .quadratic = {{0, 0, 1}, {1, 1, 1}}}};
  m = answered(m, {0.5, 1.5}, 0.5);
  m.results.duals = {-1};
  m.results.reducedCosts = {0, 0};
  return m;
}

// min -x - y subject to x^2 + y^2 <= 2, x and y free: optimal at (1, 1), value -2; the row's
// multiplier -0.5 is in the reduced costs' making (d = grad f - J'y = 0); without linear rows
// there are no duals.
vopRec qcp() {
  vopRec m;
  m.columns = {{.lower = -kInf}, {.lower = -kInf}};
  m.rows = {{.upper = 2, .quadratic = {{0, 0, 1}, {1, 1, 1}}}};
  m.objectives = {{.terms = {{0, -1}, {1, -1}}}};
  m = answered(m, {1, 1}, -2);
  m.results.reducedCosts = {0, 0};
  return m;
}

// max 3a + 2b + 4c subject to 2a + b + 3c <= 4, binaries: optimal at b = c = 1, value 6.
vopRec knapsack() {
  vopRec m;
  m.columns.assign(3, {.type = ColumnType::kInteger, .upper = 1});
  m.rows = {{.upper = 4, .terms = {{0, 2}, {1, 1}, {2, 3}}}};
  m.objectives = {{.maximize = true, .terms = {{0, 3}, {1, 2}, {2, 4}}}};
  return answered(m, {0, 1, 1}, 6);
}

// Binaries a, b with a + b <= 1: first maximise a + b (priority 2), then b (priority 1).
vopRec twoLevels() {
  vopRec m;
  m.columns.assign(2, {.type = ColumnType::kInteger, .upper = 1});
  m.rows = {{.upper = 1, .terms = {{0, 1}, {1, 1}}}};
  m.objectives = {{.maximize = true, .terms = {{0, 1}, {1, 1}}, .priority = 2},
                  {.maximize = true, .terms = {{1, 1}}, .priority = 1}};
  return answered(m, {0, 1}, std::nullopt);
}

// min x - 2z: binary z, x in [0, 5], z = 1 forces x >= 3; optimal at z = 1, x = 3, value 1.
vopRec indicator() {
  vopRec m;
  m.columns = {{.upper = 5}, {.type = ColumnType::kInteger, .upper = 1}};
  m.indicators = {{.column = 1, .row = {.lower = 3, .terms = {{0, 1}}}}};
  m.objectives = {{.terms = {{0, 1}, {1, -2}}}};
  return answered(m, {3, 1}, 1);
}

// Integers x in [0, 3] and semi-continuous s in {0} u [2, 5] under an SOS2 of x, s, t (t in
// [0, 2]); min -x - s - t: optimal at x = 3, s = 5, value -8 (mixed: no certificate).
vopRec setsAndSemi() {
  vopRec m;
  m.columns = {{.type = ColumnType::kInteger, .upper = 3},
               {.type = ColumnType::kSemiContinuous, .lower = 2, .upper = 5},
               {.upper = 2}};
  m.sets = {{.type = 2, .columns = {0, 1, 2}}};
  m.objectives = {{.terms = {{0, -1}, {1, -1}, {2, -1}}}};
  return answered(m, {3, 5, 0}, -8);
}

// x0 free, x0 <= 1 and x0 >= 3: infeasible, the sides 2 apart.
vopRec crossedRows() {
  vopRec m;
  m.columns = {{.lower = -kInf}};
  m.rows = {{.upper = 1, .terms = {{0, 1}}}, {.lower = 3, .terms = {{0, 1}}}};
  m.objectives = {{.terms = {{0, 1}}}};
  return m;
}

// Integers a, b in [0, 100] with 2a + 2b = 3: infeasible, 1 apart, too many to enumerate.
vopRec parity() {
  vopRec m;
  m.columns.assign(2, {.type = ColumnType::kInteger, .upper = 100});
  m.rows = {{.lower = 3, .upper = 3, .terms = {{0, 2}, {1, 2}}}};
  m.objectives = {{.terms = {{0, 1}}}};
  return m;
}

// A resolver that answers every model with x0 at its upper bound (or its lower bound when
// `low`), as an engine would for min -x0 (min x0).
Resolver boxSolver(bool low) {
  return [low](vopRec& m, std::string&) {
    const double x = low ? m.columns[0].lower : m.columns[0].upper;
    m.results = {.solved = true,
                 .status = 0,
                 .objective = low ? x : -x,
                 .values = {x},
                 .reducedCosts = {low ? 1.0 : -1.0}};
    return 0;
  };
}

// Like boxSolver(false), but a model with several objectives is answered as the optimizer does
// when a later level pulls x0 down: as far as the first level's relative tolerance of 0.1 lets.
Resolver levelsBoxSolver() {
  return [](vopRec& m, std::string& log) {
    const int call = boxSolver(false)(m, log);
    if (m.objectives.size() > 1) m.results.values[0] *= 0.9;
    return call;
  };
}

// min x0 over integers with x0 = 3 x1 + 1, both free: unbounded, and within a box x0 stops
// short of it, at the last x1 whose x0 the box holds.
vopRec lattice() {
  vopRec m;
  m.columns.assign(2, {.type = ColumnType::kInteger, .lower = -kInf});
  m.rows = {{.lower = 1, .upper = 1, .terms = {{0, 1}, {1, -3}}}};
  m.objectives = {{.terms = {{0, 1}}}};
  return m;
}

Resolver latticeSolver() {
  return [](vopRec& m, std::string&) {
    const double x1 = std::ceil((m.columns[0].lower - 1) / 3);
    m.results = {.solved = true, .status = 0, .objective = 3 * x1 + 1, .values = {3 * x1 + 1, x1}};
    return 0;
  };
}

// Answers a model's elastic form as an engine would with the model's columns at `x`: each
// slack the least that holds its row (or indicator row, when it applies), the duals `y` of the
// elastic form's rows (0 where not given) and the reduced costs that make them stationary.
Resolver elasticAt(std::vector<double> x, std::vector<double> y = {}) {
  return [x, y](vopRec& e, std::string&) {
    std::vector<double> v(e.columns.size(), 0.0);
    std::copy(x.begin(), x.end(), v.begin());
    const auto fill = [&](const vopRec::Row& row) {
      double a = 0.0;
      for (const auto& t : row.terms) a += t.coef * v[static_cast<std::size_t>(t.column)];
      for (const auto& q : row.quadratic) {
        a += q.coef * v[static_cast<std::size_t>(q.first)] * v[static_cast<std::size_t>(q.second)];
      }
      for (const auto& t : row.terms) {
        if (static_cast<std::size_t>(t.column) < x.size()) continue;
        v[static_cast<std::size_t>(t.column)] =
            std::max(0.0, t.coef > 0 ? row.lower - a : a - row.upper);
      }
    };
    for (const auto& row : e.rows) fill(row);
    for (const auto& ind : e.indicators) {
      if ((v[static_cast<std::size_t>(ind.column)] == 1.0) == ind.whenOne) fill(ind.row);
    }
    std::vector<double> d(v.size(), 0.0);
    double sum = 0.0;
    for (const auto& t : e.objectives.front().terms) {
      d[static_cast<std::size_t>(t.column)] += t.coef;
      sum += t.coef * v[static_cast<std::size_t>(t.column)];
    }
    e.results = {.solved = true, .status = 0, .objective = sum, .values = v};
    for (std::size_t i = 0; i < e.rows.size(); ++i) {
      const double yi = i < y.size() ? y[i] : 0.0;
      e.results.duals.emplace_back(yi);
      for (const auto& t : e.rows[i].terms) d[static_cast<std::size_t>(t.column)] -= t.coef * yi;
    }
    e.results.reducedCosts = d;
    return 0;
  };
}

// Answers every model with the status given, without a point.
Resolver statusOnly(int status) {
  return [status](vopRec& m, std::string&) {
    m.results = {.solved = true, .status = status};
    return 0;
  };
}

vopRec with(vopRec m, const std::function<void(vopRec&)>& change) {
  change(m);
  return m;
}

const Resolver kNoResolve = [](vopRec&, std::string&) -> int {
  throw std::logic_error("no re-solve expected");
};

TEST(AnswerCheckerTest, CertifiesRightAnswersTheWayTheModelAllows) {
  vopRec unboundedBelow;
  unboundedBelow.columns = {{}};
  unboundedBelow.objectives = {{.terms = {{0, -1}}}};
  vopRec unboundedFirstLevel;
  unboundedFirstLevel.columns = {{}};
  unboundedFirstLevel.objectives = {{.terms = {{0, -1}}, .priority = 2, .relativeTolerance = 0.1},
                                    {.terms = {{0, 1}}, .priority = 1}};
  vopRec unboundedBlend;  // min -x0 as a blend of x0 at weight -1 and 0 at weight 2
  unboundedBlend.columns = {{}};
  unboundedBlend.objectives = {{.terms = {{0, 1}}, .weight = -1}, {.weight = 2}};
  vopRec refused = knapsack();
  refused.results = {};
  refused.messages = {"error: solving: the model is refused"};
  vopRec infeasible = knapsack();
  infeasible.rows[0].lower = 10;
  vopRec crossedBounds;  // 2 <= x0 <= 1: 1 apart
  crossedBounds.columns = {{.lower = 2, .upper = 1}};
  crossedBounds.objectives = {{.maximize = true, .terms = {{0, 1}}}};
  vopRec nonZeroSet = setsAndSemi();  // x0 and x2 at least 1 under an SOS1 of x0, x2
  nonZeroSet.columns[0].lower = nonZeroSet.columns[2].lower = 1;
  nonZeroSet.sets = {{.type = 1, .columns = {0, 2}}};
  vopRec forcedIndicator = indicator();  // z fixed at 1 forces x >= 3, but x <= 2
  forcedIndicator.columns = {{.upper = 2}, {.type = ColumnType::kInteger, .lower = 1, .upper = 1}};
  vopRec nearlyFeasible = crossedRows();  // x0 <= 1 and x0 >= 1 + 1e-5: too close to tell
  nearlyFeasible.rows[1].lower = 1 + 1e-5;
  const struct {
    const char* name;
    vopRec model;
    int call;
    const char* log;
    Resolver resolve;
    const char* certificate;
  } cases[] = {
      {"LP minimised", lp(false), 0, "", kNoResolve, "duals"},
      {"LP maximised", lp(true), 0, "", kNoResolve, "duals"},
      {"convex QP", qp(), 0, "", kNoResolve, "kkt"},
      {"convex quadratic row", qcp(), 0, "", kNoResolve, "kkt"},
      {"free rows only",
       with(qp(),
            [](vopRec& m) {
              m.rows = {{.terms = {{0, 1}}}, {}};
              m.results.values = {1, 2};
              m.results.objective = 0;
              m.results.duals.clear();
            }),
       0, "", kNoResolve, "kkt"},
      {"degenerate: x <= 0 and the row x >= 0, multipliers 1e7 + 1 and -1e7 at x = -1e-9",
       with(lp(false),
            [](vopRec& m) {
              m.columns = {{.lower = -1, .upper = 0}};
              m.rows = {{.lower = 0, .terms = {{0, 1}}}};
              m.objectives = {{.terms = {{0, 1}}}};
              m.results.values = {-1e-9};
              m.results.objective = -1e-9;
              m.results.duals = {1e7 + 1};
              m.results.reducedCosts = {-1e7};
              m.results.activities = {-1e-9};
            }),
       0, "", kNoResolve, "duals"},
      {"binary knapsack", knapsack(), 0, "", kNoResolve, "enumeration"},
      {"two objective levels", twoLevels(), 0, "", kNoResolve, "enumeration"},
      {"indicator", indicator(), 0, "", kNoResolve, ""},
      {"set and semi-continuous", setsAndSemi(), 0, "", kNoResolve, ""},
      {"infeasible", answered(infeasible, {}, std::nullopt, 1), 0, "", kNoResolve, "enumeration"},
      {"infeasible continuous rows", answered(crossedRows(), {}, std::nullopt, 1), 0, "",
       elasticAt({2}, {-1, 1}), "elastic"},
      {"infeasible or unbounded: infeasible", answered(crossedRows(), {}, std::nullopt, 4), 0, "",
       elasticAt({2}, {-1, 1}), "elastic"},
      {"crossed column bounds", answered(crossedBounds, {}, std::nullopt, 1), 0, "",
       elasticAt({1.5}, {1, -1}), "elastic"},
      {"infeasible integers, too many to enumerate", answered(parity(), {}, std::nullopt, 1), 0, "",
       elasticAt({1, 0}), "elastic"},
      {"a set whose columns cannot be 0", answered(nonZeroSet, {}, std::nullopt, 1), 0, "",
       elasticAt({1, 0, 0}), "elastic"},
      {"an indicator that cannot hold", answered(forcedIndicator, {}, std::nullopt, 1), 0, "",
       elasticAt({2, 1}), "elastic"},
      {"infeasible by less than the tolerances", answered(nearlyFeasible, {}, std::nullopt, 1), 0,
       "", elasticAt({1 + 5e-6}, {-1, 1}), ""},
      {"the elastic form stopped at a limit", answered(crossedRows(), {}, std::nullopt, 1), 0, "",
       statusOnly(7), ""},
      {"unbounded", answered(unboundedBelow, {}, std::nullopt, 3), 0, "", boxSolver(false), "box"},
      {"unbounded, integers a step short of the box", answered(lattice(), {}, std::nullopt, 3), 0,
       "", latticeSolver(), ""},
      {"unbounded, the boxed solve failed numerically",
       answered(unboundedBelow, {}, std::nullopt, 3), 0, "", statusOnly(11), ""},
      {"a point that holds, not claimed optimal",
       with(lp(false),
            [](vopRec& m) {
              m = answered(m, {0, 0}, 0);
              m.results.solutionStatus = 6;
              m.results.duals = {0, 0};
              m.results.activities = {0, 0};
            }),
       0, "", kNoResolve, ""},
      {"unbounded first of two levels", answered(unboundedFirstLevel, {}, std::nullopt, 3), 0, "",
       levelsBoxSolver(), "box"},
      {"unbounded blend of one priority", answered(unboundedBlend, {}, std::nullopt, 3), 0, "",
       boxSolver(false), "box"},
      {"named refusal", refused, 1, "", kNoResolve, "refused"},
      {"refusal in the log", answered(knapsack(), {}, std::nullopt, 13), 0,
       "Cbc0001I Search completed\nXPRSoptimize: the model is refused\n", kNoResolve, "refused"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const CheckResult result = checkAnswer(c.model, c.call, c.log, c.resolve);
    EXPECT_THAT(result.failures, IsEmpty()) << describe(c.model);
    EXPECT_EQ(result.certificate, c.certificate) << result.uncertified;
  }
}

TEST(AnswerCheckerTest, CatchesEachKindOfWrongAnswer) {
  vopRec bounded;
  bounded.columns = {{}};
  bounded.objectives = {{.terms = {{0, 1}}}};
  vopRec emptyColumn = lp(true);  // x2 >= 0 in no row, max ... + 9 x2: unbounded
  emptyColumn.columns.push_back({});
  emptyColumn.objectives[0].terms.push_back({2, 9});
  vopRec freeColumn = lp(false);  // x2 free, x0 + x2 = -3
  freeColumn.columns.push_back({.lower = -kInf});
  freeColumn.rows.push_back({.lower = -3, .upper = -3, .terms = {{0, 1}, {2, 1}}});
  vopRec rangedEquality;  // x0 in [3, 5], 1 <= x0 <= 3.5: an equality row ranged upwards
  rangedEquality.columns = {{.lower = 3, .upper = 5}};
  rangedEquality.rows = {{.lower = 1, .upper = 3.5, .terms = {{0, 1}}}};
  rangedEquality.objectives = {{.terms = {{0, 1}}}};
  // min (x1 - x2 - 14)^2, x0 in [0, 10], x1 and x2 free; 2 <= x1 - 4 x2 <= 5 (ranged equality),
  // x0 + x2 >= 4, x1 + x2 <= 22: (0, 18, 4) holds every row.
  vopRec rankOneQp;
  rankOneQp.columns = {{.upper = 10}, {.lower = -kInf}, {.lower = -kInf}};
  rankOneQp.rows = {{.lower = 2, .upper = 5, .terms = {{1, 1}, {2, -4}}},
                    {.lower = 4, .terms = {{0, 1}, {2, 1}}},
                    {.upper = 22, .terms = {{1, 1}, {2, 1}}}};
  rankOneQp.objectives = {{.terms = {{1, -28}, {2, 28}},
                           .constant = 196,
                           .quadratic = {{1, 1, 1}, {2, 2, 1}, {1, 2, -2}}}};
  vopRec evenParity = parity();
  evenParity.rows[0].lower = evenParity.rows[0].upper = 4;
  vopRec semiAtZero = setsAndSemi();  // the semi-continuous x1 <= 1 holds at 0
  semiAtZero.rows = {{.upper = 1, .terms = {{1, 1}}}};
  const struct {
    const char* name;
    vopRec model;
    int call;
    const char* log;
    Resolver resolve;
    const char* failure;
  } cases[] = {
      {"a point off a row",
       with(lp(false),
            [](vopRec& m) {
              m.results.values = {1.5, 3};
            }),
       0, "", kNoResolve, "row 0 has activity 4.5 outside [-inf, 4]"},
      {"a wrong dual sign", with(lp(false), [](vopRec& m) { m.results.duals[1] = -0.5; }), 0, "",
       kNoResolve, "row 1 has multiplier -0.5"},
      {"the minimising signs on a maximum",
       with(lp(true),
            [](vopRec& m) {
              m.results.duals = {-1.5, 0.5};
            }),
       0, "", kNoResolve, "row 0 has multiplier 1.5"},
      {"a dual on a slack row",
       with(lp(false),
            [](vopRec& m) {
              m.rows.push_back({.upper = 9, .terms = {{0, 1}}});
              m.results.duals = {-1.5, 0.5, -0.25};
              m.results.reducedCosts = {0.25, 0};
            }),
       0, "", kNoResolve, "row 2 has multiplier -0.25"},
      {"a reduced cost off the gradient",
       with(lp(false),
            [](vopRec& m) {
              m.results.reducedCosts = {0, 0.5};
            }),
       0, "", kNoResolve, "column 1: the objective's gradient differs from A'y + d by -0.5"},
      {"a QP point that is not stationary",
       with(qp(),
            [](vopRec& m) {
              m.results.values = {0.4, 1.6};
              m.results.objective = 0.52;
            }),
       0, "", kNoResolve, "column 0: the objective's gradient differs"},
      {"a point inside a quadratic row that binds",
       with(qcp(),
            [](vopRec& m) {
              m.results.values = {1.2, 0.6};
              m.results.objective = -1.8;
            }),
       0, "", kNoResolve, "quadratic row 0 has multiplier -0.5 (minimising sense) at 1.8"},
      {"a better integer assignment",
       with(knapsack(),
            [](vopRec& m) {
              m.results.values = {1, 1, 0};
              m.results.objective = 5;
            }),
       0, "", kNoResolve, "is 5 at the answer, but 6 by enumeration"},
      {"a lower objective level ignored",
       with(twoLevels(),
            [](vopRec& m) {
              m.results.values = {1, 0};
            }),
       0, "", kNoResolve, "level 1 (priority 1) is 0 at the answer, but 1 by enumeration"},
      {"a wrong objective", with(knapsack(), [](vopRec& m) { m.results.objective = 7; }), 0, "",
       kNoResolve, "the objective is reported as 7 but is 6 at the point"},
      {"a wrong activity", with(lp(false), [](vopRec& m) { m.results.activities[0] = 3; }), 0, "",
       kNoResolve, "row 0's activity is reported as 3 but is 4"},
      {"a broken indicator",
       with(indicator(),
            [](vopRec& m) {
              m.results.values = {0, 1};
              m.results.objective = -2;
            }),
       0, "", kNoResolve, "indicator 0's row has activity 0 outside [3, inf]"},
      {"an indicator column between 0 and 1",
       with(indicator(),
            [](vopRec& m) {
              m.results.values = {3, 0.5};
              m.results.objective = 2;
            }),
       0, "", kNoResolve, "indicator 0: its column is 0.5, not 0 or 1"},
      {"a fractional integer",
       with(knapsack(),
            [](vopRec& m) {
              m.results.values = {0.5, 1, 0.5};
              m.results.objective = 5.5;
            }),
       0, "", kNoResolve, "column 0 = 0.5 is not integral"},
      {"a semi-continuous column below its lower bound",
       with(setsAndSemi(),
            [](vopRec& m) {
              m.results.values = {0, 1, 2};
              m.results.objective = -3;
            }),
       0, "", kNoResolve, "column 1 = 1 lies outside [2, 5] and is not 0"},
      {"an SOS2 with gaps",
       with(setsAndSemi(),
            [](vopRec& m) {
              m.results.values = {3, 0, 2};
              m.results.objective = -5;
            }),
       0, "", kNoResolve, "set 0 (type 2) has 2 non-zero columns, not adjacent"},
      {"an SOS1 with two", with(setsAndSemi(), [](vopRec& m) { m.sets[0].type = 1; }), 0, "",
       kNoResolve, "set 0 (type 1) has 2 non-zero columns"},
      {"a feasible model reported infeasible",
       with(knapsack(), [](vopRec& m) { m = answered(m, {}, std::nullopt, 1); }), 0, "", kNoResolve,
       "reported infeasible (status 1), but this assignment is feasible: 0 0 0"},
      {"a column in no row, unbounded, reported infeasible",
       answered(emptyColumn, {}, std::nullopt, 1), 0, "", elasticAt({1, 3, 0}),
       "reported infeasible (status 1), but the elastic form's optimum is this point: 1 3 0"},
      {"a model with a free column reported infeasible", answered(freeColumn, {}, std::nullopt, 1),
       0, "", elasticAt({1, 3, -4}), "the elastic form's optimum is this point: 1 3 -4"},
      {"a ranged equality row reported infeasible", answered(rangedEquality, {}, std::nullopt, 1),
       0, "", elasticAt({3.25}), "the elastic form's optimum is this point: 3.25"},
      {"a feasible convex QP reported infeasible", answered(rankOneQp, {}, std::nullopt, 1), 0, "",
       elasticAt({0, 18, 4}), "the elastic form's optimum is this point: 0 18 4"},
      {"integers too many to enumerate reported infeasible",
       answered(evenParity, {}, std::nullopt, 1), 0, "", elasticAt({2, 0}),
       "the elastic form's optimum is this point: 2 0"},
      {"a semi-continuous column at 0 reported infeasible",
       answered(semiAtZero, {}, std::nullopt, 1), 0, "", elasticAt({3, 0, 0}),
       "the elastic form's optimum is this point: 3 0 0"},
      {"an elastic form reported infeasible", answered(crossedRows(), {}, std::nullopt, 1), 0, "",
       statusOnly(1), "the elastic form, which has points"},
      {"a bounded model reported unbounded", answered(bounded, {}, std::nullopt, 3), 0, "",
       boxSolver(true), "is no better than within +-1000 "},
      {"an objective without a solution",
       with(knapsack(), [](vopRec& m) { m = answered(m, {}, 0.0, 1); }), 0, "", kNoResolve,
       "no solution, but the objective 0"},
      {"optimal without a point", with(knapsack(), [](vopRec& m) { m.results.values.clear(); }), 0,
       "", kNoResolve, "status optimal without a solution"},
      {"too few values", with(knapsack(), [](vopRec& m) { m.results.values.pop_back(); }), 0, "",
       kNoResolve, "2 values for 3 columns"},
      {"a failure that names nothing", knapsack(), 1, "", kNoResolve,
       "the solve failed without saying what was refused"},
      {"an error status", with(knapsack(), [](vopRec& m) { m = answered(m, {}, {}, 13); }), 0,
       "Cbc0001I XPRSoptimize: quoted\n", kNoResolve,
       "the solve ended with status 13, nothing says why"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const CheckResult result = checkAnswer(c.model, c.call, c.log, c.resolve);
    EXPECT_THAT(result.failures, Contains(HasSubstr(c.failure))) << describe(c.model);
    EXPECT_EQ(result.certificate, "");
  }
}

TEST(AnswerCheckerTest, LevelsBlendEqualPrioritiesAndTurnTheWeightsOfTheOtherSense) {
  vopRec m;
  m.columns.assign(2, {.upper = 4});
  m.options = {{"OBJNRELTOL", "0.5"}};
  m.objectives = {{.maximize = true, .terms = {{0, 1}}, .weight = 2, .priority = 1},
                  {.terms = {{1, 1}}, .weight = 3, .priority = 1, .absoluteTolerance = 0.25},
                  {.terms = {{0, 1}, {1, 1}}, .priority = 4}};
  const std::vector<Level> levels = objectiveLevels(m);
  ASSERT_EQ(levels.size(), 2u);
  EXPECT_EQ(levels[0].priority, 4);
  EXPECT_EQ(levels[1].priority, 1);
  EXPECT_DOUBLE_EQ(levelValue(m, levels[0], std::vector<double>{1, 2}), -3);
  EXPECT_DOUBLE_EQ(levelValue(m, levels[1], std::vector<double>{1, 2}), 2 * 1 - 3 * 2);
  EXPECT_DOUBLE_EQ(levels[1].absoluteTolerance, 0.25);
  EXPECT_DOUBLE_EQ(levels[1].relativeTolerance, 0.5);
}

}  // namespace
}  // namespace qel_check
