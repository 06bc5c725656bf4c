// What the host link hands the solver and what it writes back: the order of the calls, the
// batches, the mapping of results onto the host's numbering, the clean-up and the trace.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "nuv/math/expression.hpp"
#include "nuv/math/fn/abstract.hpp"
#include "nuv/opt/context.hpp"
#include "nuv/opt/solve_status.hpp"
#include "orla/link.hpp"
#include "orla/vop_rec.hpp"
#include "tests/platform/host/temp_files.hpp"
#include "tests/platform/orla/link_test_support.hpp"
#include "tests/support/solver_double.hpp"

namespace orla_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Optional;
using Kind = vopRec::ColumnType;
using Token = vopRec::Token;
constexpr double kInf = vopRec::kInfinity;

TEST_F(LinkTest, CallsTheSolverInASoundOrder) {
  vopRec m;
  m.name = "order";
  m.columns = {column("x", 0, 4), column("b", 0, 1, Kind::kInteger)};
  m.rows = {row("lin", 1, kInf, {{0, 1.0}}), row("quad", -kInf, 9, {})};
  m.rows[1].quadratic = {{0, 0, 1.0}};
  m.objectives = {{.name = "cost", .terms = {{0, 2.0}}}};
  m.sets = {{"s", 1, {0, 1}, {}}};
  m.indicators = {{"ind", 1, true, row("", -kInf, 3, {{0, 1.0}})}};
  m.nonlinearRows = {
      {"nl", {Token::ofColumn(0), Token::ofCall("nuv:function:basic:Abs")}, -kInf, 2}};
  m.options = {{"FeasTol", "0.5"}};
  m.log = [](std::string_view) {};
  ASSERT_EQ(run(m), 0) << testing::PrintToString(m.messages);
  EXPECT_THAT(
      solver_->journal(),
      ElementsAre("start", "setLog", "attribs dbl", "option FeasTol", "attribs nuv:solver",
                  "variableAdder nuv:interval_domain", "add variables 2",
                  "constraintAdder nuv:linear_function nuv:static_bounded_domain", "add rows l 1",
                  "constraintAdder nuv:linear_function nuv:sense_domain", "add objectives l 1",
                  "constraintAdder nuv:quadratic_function nuv:static_bounded_domain",
                  "add rows q 1", "constraintAdder nuv:identity_function nuv:sos_domain",
                  "add sets 1", "linkedConstraintAdder nuv:linear_function", "add indicators 1",
                  "add rows l 1", "constraintAdder nuv:identity_function nuv:static_bounded_domain",
                  "add rows n 1", "solve", "variables 1", "constraints 2", "constraints 3",
                  "attribs nuv:solver"));
  EXPECT_EQ(solver_->modelName(), "order");
}

// Rows in host order: r0 linear, r1 quadratic, r2 ranged, r3 free, r4 equality. The linear
// parts become solver rows 0 (r0), 1 and 2 (r2), 3 (r4); the quadratic row comes after them.
TEST_F(LinkTest, MapsResultsBackOntoHostRowsAcrossBatchesAndRowKinds) {
  vopRec m;
  m.columns = {column("c0", 1, 5), column("c1", 2, kInf), column("c2", 0, 3),
               column("c3", -kInf, kInf)};
  m.rows = {row("r0", 1, kInf, {{0, 1.0}, {1, 1.0}}), row("r1", -kInf, 4, {}),
            row("r2", 2, 6, {{0, 1.0}, {2, -1.0}}), row("r3", -kInf, kInf, {{1, 1.0}}),
            row("r4", 3, 3, {{1, 1.0}, {3, 2.0}, {1, 0.5}})};
  m.rows[1].quadratic = {{0, 0, 1.0}};
  m.batchSize = 2;
  ASSERT_EQ(run(m), 0) << testing::PrintToString(m.messages);

  const auto& rows = solver_->rows();
  ASSERT_EQ(rows.size(), 5u);
  struct Expected {
    char kind;
    int type;
    double constant;
    std::vector<int> columns;
    std::vector<double> coefs;
    std::string name;
  };
  const Expected expected[] = {
      {'l', 0, -1, {0, 1}, {1, 1}, "r0"},     {'l', 0, -2, {0, 2}, {1, -1}, "r2_lo"},
      {'l', 1, -6, {0, 2}, {1, -1}, "r2_up"}, {'l', 2, -3, {1, 3}, {1.5, 2}, "r4"},
      {'q', 1, -4, {0}, {0}, "r1"},
  };
  for (std::size_t r = 0; r < rows.size(); ++r) {
    SCOPED_TRACE(r);
    EXPECT_EQ(rows[r].kind, expected[r].kind);
    EXPECT_EQ(rows[r].type, expected[r].type);
    EXPECT_EQ(rows[r].function.constant, expected[r].constant);
    EXPECT_EQ(rows[r].function.columns, expected[r].columns);
    EXPECT_EQ(rows[r].function.coefs, expected[r].coefs);
    EXPECT_EQ(rows[r].name, expected[r].name);
  }
  EXPECT_THAT(rows[4].function.quadratic, ElementsAre(std::make_tuple(0, 0, 1.0)));

  const vopRec::Results& res = m.results;
  EXPECT_THAT(res.values, ElementsAre(1, 2, 0, 0));
  EXPECT_THAT(res.reducedCosts, ElementsAre(1000, 1001, 1002, 1003));
  // Duals are 100 + solver row; the two parts of r2 add up; r1 and r3 have none.
  EXPECT_THAT(res.duals, ElementsAre(Optional(100.0), std::nullopt, Optional(101.0 + 102.0),
                                     std::nullopt, Optional(103.0)));
  EXPECT_THAT(res.activities,
              ElementsAre(Optional(3.0), std::nullopt, Optional(1.0), std::nullopt, Optional(3.0)));
  EXPECT_THAT(res.rowBasis,
              ElementsAre(Optional(1), std::nullopt, std::nullopt, std::nullopt, Optional(1)));
  EXPECT_THAT(solver_->journal(),
              testing::IsSupersetOf({"add variables 2", "add rows l 2", "add rows q 1"}));
  EXPECT_EQ(std::count(solver_->journal().begin(), solver_->journal().end(), "add rows l 2"), 2);
}

TEST_F(LinkTest, AuxiliaryEntitiesOfTheSolverDoNotShiftHostResults) {
  vopRec m;
  m.columns = {column("x", 1, 2), column("y", 3, 4)};
  m.rows = {row("a", 1, kInf, {{1, 1.0}}), row("b", -kInf, 5, {{0, 1.0}})};
  m.objectives = {{.name = "f",
                   .expression = {Token::ofColumn(0), Token::ofColumn(1),
                                  Token::ofCall("nuv:function:basic:Multiply")}}};
  solver_->script({{.duals = std::vector<double>{7, 8, 9}, .objective = 3.0, .bound = 2.5}});
  ASSERT_EQ(run(m), 0) << testing::PrintToString(m.messages);
  ASSERT_EQ(solver_->columns().size(), 3u);  // the objective's own column came last
  EXPECT_THAT(m.results.values, ElementsAre(1, 3));
  EXPECT_THAT(m.results.duals, ElementsAre(Optional(7.0), Optional(8.0)));
  EXPECT_EQ(m.results.objective, 3.0);
  EXPECT_EQ(m.results.bound, 2.5);
}

TEST_F(LinkTest, ReportsStatusAndLeavesResultsEmptyWithoutSolution) {
  vopRec m;
  m.columns = {column("x", 0, 1)};
  m.rows = {row("r", 2, kInf, {{0, 1.0}})};
  solver_->script(
      {{.status = nuv::opt::SolveStatus::infeasible, .solution = false, .iterations = 3}});
  ASSERT_EQ(run(m), 0);
  const vopRec::Results& r = m.results;
  EXPECT_TRUE(r.solved);
  EXPECT_EQ(r.status, 1);
  EXPECT_THAT(r.values, IsEmpty());
  EXPECT_THAT(r.reducedCosts, IsEmpty());
  EXPECT_THAT(r.duals, IsEmpty());
  EXPECT_EQ(r.solutionStatus, std::nullopt);
  EXPECT_EQ(r.iterations, 3u);
  EXPECT_EQ(r.objective, std::nullopt);
}

// The optimizer's attributes hold numbers whatever the run found: the objective counts only with
// a solution, the bound only where it was proved.
TEST_F(LinkTest, KeepsTheObjectiveOnlyWithASolutionAndTheBoundOnlyWhereProved) {
  using S = nuv::opt::SolveStatus;
  const struct {
    bool discrete;
    S status;
    bool solution;
    double bound;
    bool objectiveKept, boundKept;
  } cases[] = {
      {false, S::normal_completion, true, 4, true, true},
      {true, S::time_limit, true, 3, true, true},           // an incumbent at the limit
      {true, S::node_limit, false, 3, false, true},         // the search proved its bound
      {true, S::no_solution, false, 3, false, true},        // stopped after the relaxation
      {false, S::iteration_limit, false, 3, false, false},  // a continuous run proves none
      {true, S::infeasible, false, 3, false, false},
      {true, S::solver_error, false, 3, false, false},
      {true, S::time_limit, false, -kInf, false, false},  // nothing proved yet
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.status));
    vopRec m;
    m.columns = {column("x", 0, 1, c.discrete ? Kind::kInteger : Kind::kContinuous)};
    m.objectives = {{.terms = {{0, 1.0}}}};
    solver_->script(
        {{.status = c.status, .solution = c.solution, .objective = 5.0, .bound = c.bound}});
    ASSERT_EQ(run(m), 0);
    EXPECT_EQ(m.results.objective, c.objectiveKept ? std::optional(5.0) : std::nullopt);
    EXPECT_EQ(m.results.bound, c.boundKept ? std::optional(c.bound) : std::nullopt);
  }
}

TEST_F(LinkTest, ReadsEverySolutionAndTheSolverAttributes) {
  vopRec m;
  m.columns = {column("x", 0, 1), column("y", 0, 1)};
  m.objectives = {{.terms = {{0, 1.0}}}};
  // Ranked by the objective x, best first, equal ones in the solver's order.
  solver_->script({{.levels = {{1, 0}, {0, 1}, {1, 1}},
                    .objective = 0.0,
                    .solutionStatus = 6,
                    .nodes = 12,
                    .time = 0.5}});
  ASSERT_EQ(run(m), 0);
  EXPECT_THAT(m.results.values, ElementsAre(0, 1));
  EXPECT_THAT(m.results.pool, ElementsAre(ElementsAre(1, 0), ElementsAre(1, 1)));
  EXPECT_EQ(m.results.solutionStatus, 6);
  EXPECT_EQ(m.results.nodes, 12u);
  EXPECT_EQ(m.results.time, 0.5);
  EXPECT_EQ(m.results.objective, 0.0);
}

TEST_F(LinkTest, PassesOptionalColumnValuesOnlyWhenEveryColumnHasOne) {
  vopRec m;
  m.columns = {column("x", 0, 1), column("y", 0, 1)};
  m.columns[0].start = 0.5;
  m.columns[0].priority = 3;
  m.columns[1].priority = 1;
  m.columns[1].name.clear();
  ASSERT_EQ(run(m), 0);
  EXPECT_THAT(m.messages,
              ElementsAre("warning: column start values are not passed on: only 1 of 2 have one"));
  const auto& c = solver_->columns();
  EXPECT_EQ(c[0].start, std::nullopt);
  EXPECT_EQ(c[0].priority, 3.0);
  EXPECT_EQ(c[1].priority, 1.0);
  EXPECT_EQ(c[0].name, "");  // one column without a name: no names at all
}

TEST_F(LinkTest, QuadraticObjectiveGetsOneEntryPerPairOfColumns) {
  vopRec m;
  m.columns = {column("a", 0, 1), column("b", 0, 1), column("c", 0, 1)};
  m.objectives = {{.maximize = true,
                   .terms = {{2, 1.0}},
                   .constant = 4,
                   .quadratic = {{0, 1, 2.0}, {1, 0, 3.0}, {1, 1, 4.0}, {2, 2, 0.5}}}};
  ASSERT_EQ(run(m), 0) << testing::PrintToString(m.messages);
  ASSERT_EQ(solver_->objectives().size(), 1u);
  const auto& o = solver_->objectives()[0];
  EXPECT_EQ(o.kind, 'q');
  EXPECT_EQ(o.sense, 1);
  EXPECT_EQ(o.function.constant, 4);
  EXPECT_EQ(o.function.columns, (std::vector<int>{2, 0, 1}));
  EXPECT_EQ(o.function.coefs, (std::vector<double>{1, 0, 0}));
  EXPECT_THAT(o.function.quadratic,
              ElementsAre(std::make_tuple(2, 2, 0.5), std::make_tuple(0, 1, 5.0),
                          std::make_tuple(1, 1, 4.0)));
}

TEST_F(LinkTest, SeveralObjectivesAlwaysCarryWeights) {
  vopRec m;
  m.columns = {column("x", 0, 1)};
  m.objectives = {{.name = "f", .terms = {{0, 1.0}}},
                  {.name = "g",
                   .maximize = true,
                   .terms = {{0, 2.0}},
                   .priority = 2,
                   .absoluteTolerance = 0.5}};
  m.options = {{"objnabstol", "0.1"}};
  ASSERT_EQ(run(m), 0) << testing::PrintToString(m.messages);
  const auto& o = solver_->objectives();
  ASSERT_EQ(o.size(), 2u);
  EXPECT_EQ(o[0].weight, 1.0);
  EXPECT_EQ(o[1].weight, 1.0);
  EXPECT_EQ(o[0].priority, 0);
  EXPECT_EQ(o[1].priority, 2);
  EXPECT_EQ(o[0].absTol, 0.1);
  EXPECT_EQ(o[1].absTol, 0.5);
  EXPECT_EQ(o[1].relTol, std::nullopt);
  EXPECT_EQ(m.results.objective, std::nullopt);  // no single objective value

  solver_ = std::make_shared<qel_test::SolverDouble>();
  m.options = {{"multobj", "0"}};
  ASSERT_EQ(run(m), 0);
  ASSERT_EQ(solver_->objectives().size(), 1u);
  EXPECT_EQ(solver_->objectives()[0].name, "f");
  EXPECT_EQ(solver_->objectives()[0].weight, std::nullopt);
}

TEST_F(LinkTest, SetsAndIndicatorsNameColumnsByTheirSolverNumbers) {
  vopRec m;
  m.columns = {column("x", 0, 1), column("y", 0, 1), column("z", 0, 1, Kind::kInteger)};
  m.sets = {{"s1", 2, {2, 0}, {}}, {"s2", 1, {1}, {5.0}}};
  m.indicators = {{"i", 2, false, row("", 1, 4, {{0, 1.0}})}};
  m.batchSize = 1;
  ASSERT_EQ(run(m), 0) << testing::PrintToString(m.messages);
  ASSERT_EQ(solver_->sets().size(), 2u);
  EXPECT_EQ(solver_->sets()[0].type, 1);
  EXPECT_EQ(solver_->sets()[0].columns, (std::vector<int>{2, 0}));
  EXPECT_EQ(solver_->sets()[0].weights, (std::vector<double>{1, 2}));
  EXPECT_EQ(solver_->sets()[1].weights, (std::vector<double>{5}));
  // A row with two bounds gives two indicator constraints, both active while z is 0.
  ASSERT_EQ(solver_->indicators().size(), 2u);
  for (const auto& ind : solver_->indicators()) {
    EXPECT_EQ(ind.column, 2);
    EXPECT_EQ(ind.type, 2);
  }
  EXPECT_EQ(solver_->rows()[0].type, 0);
  EXPECT_EQ(solver_->rows()[1].type, 1);

  solver_ = std::make_shared<qel_test::SolverDouble>();
  m.sets = {{"bad", 3, {0}, {}}};
  EXPECT_EQ(run(m), 1);
  EXPECT_THAT(m.messages, ElementsAre("error: set 'bad' has type 3; sets have type 1 or 2"));
}

TEST_F(LinkTest, ExpressionsBecomePostfixSymbolsOverSolverVariables) {
  vopRec m;
  m.columns = {column("x", 0, 1), column("y", 0, 1)};
  m.nonlinearRows = {
      {"n",
       {Token::ofColumn(1), Token::ofCall("nuv:function:trigonometric:Sin"), Token::ofColumn(0),
        Token::ofNumber(2.0), Token::ofCall("nuv:function:basic:Max", 3)},
       -kInf,
       3}};
  ASSERT_EQ(run(m), 0) << testing::PrintToString(m.messages);
  const auto& symbol = *solver_->rows().at(0).function.expression;
  const auto& seq = *symbol.expression().sequence();
  ASSERT_EQ(seq.size(), 7u);
  EXPECT_EQ(seq[0].variable().index, 1);
  EXPECT_EQ(seq[1].function().tag(), "nuv:function:trigonometric:Sin");
  EXPECT_EQ(seq[2].variable().index, 0);
  EXPECT_EQ(seq[3].numeric(), 2.0);
  EXPECT_EQ(seq[4].functionCall().repeatCount, 3u);
  // Compared with 0: the expression minus the bound.
  EXPECT_EQ(seq[5].numeric(), 3.0);
  EXPECT_EQ(seq[6].function().tag(), "nuv:function:basic:Subtract");
  EXPECT_EQ(solver_->rows()[0].type, 1);
  const std::vector<nuv::math::Symbol<double>> args = {nuv::math::Symbol<double>::numeric(4),
                                                       nuv::math::Symbol<double>::numeric(-1)};
  EXPECT_EQ(seq[6].function().evaluate(args).numeric(), 5.0);

  struct Case {
    std::vector<Token> tokens;
    std::string why;
  };
  const Case bad[] = {
      {{Token::ofColumn(0), Token::ofCall("nuv:function:basic:Add")},
       "calls nuv:function:basic:Add with too few arguments"},
      {{Token::ofColumn(0), Token::ofCall("foo")}, "calls the unknown function 'foo'"},
      {{Token::ofColumn(0), Token::ofCall("nuv:function:basic:Min", 0)},
       "calls nuv:function:basic:Min without arguments"},
      {{Token::ofColumn(0), Token::ofColumn(1)}, "does not reduce to one value"},
      {{Token::ofColumn(9)}, "names column 9, which does not exist"},
  };
  for (const Case& c : bad) {
    SCOPED_TRACE(c.why);
    solver_ = std::make_shared<qel_test::SolverDouble>();
    m.nonlinearRows[0].expression = c.tokens;
    EXPECT_EQ(run(m), 1);
    EXPECT_THAT(m.messages, ElementsAre("error: the expression of nonlinear row 'n' " + c.why));
  }
}

class CleanUpTest : public LinkTest {
 protected:
  vopRec mip() {
    vopRec m;
    m.columns = {column("n", 0, 10, Kind::kInteger)};
    m.rows = {row("r", 1.5, kInf, {{0, 1.0}})};
    m.options = {{"mipcleanup", "1"}};
    return m;
  }
  qelhost_test::TempFiles files_;
};

TEST_F(CleanUpTest, FixesTheDiscreteEntitiesAndReadsTheFixedSolve) {
  const std::string file = files_.write("fix.opt", "# for the fixed solve\n MaxNode = 5 \n\n");
  vopRec m = mip();
  m.options.push_back({"fixoptfile", file});
  solver_->script({{.levels = {{2}},
                    .duals = std::vector<double>{8},
                    .reducedCosts = std::vector<double>{7},
                    .objective = 2.0,
                    .nodes = 4},
                   {.levels = {{2}},
                    .duals = std::vector<double>{9},
                    .reducedCosts = std::vector<double>{3},
                    .objective = 2.0}});
  ASSERT_EQ(run(m), 0) << testing::PrintToString(m.messages);
  const auto& j = solver_->journal();
  const auto solve = std::find(j.begin(), j.end(), "solve");
  EXPECT_THAT(std::vector<std::string>(solve, j.end()),
              testing::IsSupersetOf({"command nuv:command:0", "option MaxNode", "fix"}));
  EXPECT_EQ(std::count(j.begin(), j.end(), "solve"), 2);
  EXPECT_EQ(solver_->option("MaxNode"), "5");
  EXPECT_TRUE(m.results.cleanedUp);
  EXPECT_THAT(m.results.duals, ElementsAre(Optional(9.0)));
  EXPECT_THAT(m.results.reducedCosts, ElementsAre(3.0));
  EXPECT_EQ(m.results.nodes, 4u);  // the MIP's, not the fixed solve's
}

TEST_F(CleanUpTest, ReportsTheBestPoolSolutionWhenTheFixedSolveListsThePool) {
  vopRec m = mip();
  m.objectives = {{.terms = {{0, 1.0}}}};
  // An enumeration lists its worst solution first; so does the fixed solve while the pool holds
  // them.
  solver_->script({{.levels = {{3}, {2}}, .objective = 2.0}, {.levels = {{3}, {2}}}});
  ASSERT_EQ(run(m), 0) << testing::PrintToString(m.messages);
  EXPECT_TRUE(m.results.cleanedUp);
  EXPECT_THAT(m.results.values, ElementsAre(2.0));
  EXPECT_THAT(m.results.pool, ElementsAre(ElementsAre(3.0)));
}

TEST_F(CleanUpTest, KeepsTheMipResultsWhenTheFixedSolveFails) {
  vopRec m = mip();
  solver_->script(
      {{.duals = std::vector<double>{8}},
       {.status = nuv::opt::SolveStatus::numerical_error, .duals = std::vector<double>{9}}});
  ASSERT_EQ(run(m), 0);
  EXPECT_FALSE(m.results.cleanedUp);
  EXPECT_THAT(m.results.duals, ElementsAre(Optional(8.0)));
  EXPECT_THAT(m.messages, ElementsAre("warning: mip clean-up: the re-solve with fixed discrete "
                                      "entities ended with status 11; its results are not "
                                      "reported"));
}

TEST_F(CleanUpTest, SkipsModelsWithoutDiscreteEntitiesOrSolutionAndRefusesAMissingFile) {
  vopRec m = mip();
  m.columns[0].type = Kind::kContinuous;
  ASSERT_EQ(run(m), 0);
  EXPECT_THAT(m.messages, ElementsAre("warning: mip clean-up: the model has no discrete entities"));

  solver_ = std::make_shared<qel_test::SolverDouble>();
  m = mip();
  solver_->script({{.status = nuv::opt::SolveStatus::infeasible, .solution = false}});
  ASSERT_EQ(run(m), 0);
  EXPECT_THAT(m.messages, ElementsAre("warning: mip clean-up: there is no solution to fix"));

  solver_ = std::make_shared<qel_test::SolverDouble>();
  m = mip();
  m.options.push_back({"fixoptfile", files_.path("absent.opt")});
  EXPECT_EQ(run(m), 1);
  EXPECT_THAT(m.messages, ElementsAre("error: cannot read the option file '" +
                                      files_.path("absent.opt") + "'"));
  EXPECT_FALSE(solver_->fixed());
}

TEST_F(LinkTest, TraceWritesALinePerChosenCallback) {
  const qelhost_test::TempFiles files;
  vopRec m;
  m.columns = {column("n", 0, 10, Kind::kInteger)};
  m.objectives = {{.terms = {{0, 1.0}}}};
  m.options = {
      {"miptrace", files.path("trace.csv")}, {"miptracenode", "100"}, {"miptracetime", "1"}};
  using nuv::opt::context::new_incumbent;
  using nuv::opt::context::node;
  using nuv::opt::context::progress;
  solver_->script({{.callbacks = {{node, 50, 0.1, 12.0, 8.0},
                                  {node, 150, 0.5, 10.0, 8.0},
                                  {progress, 160, 0.9},
                                  {progress, 160, 1.5},
                                  {new_incumbent, 170, 1.6, 9.0},
                                  {node, 249, 1.7}}}});
  ASSERT_EQ(run(m), 0) << testing::PrintToString(m.messages);
  EXPECT_EQ(files.read("trace.csv"),
            "context,nodes,time,objective,bound\n"
            "node,150,0.5,10,8\n"
            "progress,160,1.5,,\n"
            "incumbent,170,1.6,9,\n");
  const auto& j = solver_->journal();
  const auto set = std::find(j.begin(), j.end(), "setCallback");
  ASSERT_NE(set, j.end());
  EXPECT_THAT(
      std::vector<std::string>(set + 1, set + 4),
      ElementsAre("context nuv:context:0", "context nuv:context:1", "context nuv:context:2"));
  EXPECT_LT(set - j.begin(), std::find(j.begin(), j.end(), "add variables 1") - j.begin());
  // The link asks with its own context objects, not with those the solver passed it.
  EXPECT_THAT(j, testing::Not(testing::Contains("own context handed back")));

  const std::string unwritable = files.path("no/such/dir.csv");
  m.options = {{"miptrace", unwritable}};
  EXPECT_EQ(run(m), 1);
  EXPECT_THAT(m.messages, ElementsAre("error: cannot write the trace file '" + unwritable + "'"));
}

}  // namespace
}  // namespace orla_test
