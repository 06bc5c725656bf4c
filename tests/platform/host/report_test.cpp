#include "report.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "orla/vop_rec.hpp"

namespace qelhost_test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

vopRec solvedModel() {
  vopRec m;
  m.columns = {{.name = "x"}, {.name = "y"}};
  m.rows = {{.name = "r1"}, {.name = "quad"}};
  vopRec::Results& r = m.results;
  r.solved = true;
  r.status = 0;
  r.objective = 12.5;
  r.solutionStatus = 0;
  r.iterations = 3;
  r.time = 0.01;
  r.values = {2.5, 10};
  r.reducedCosts = {0, 1.5};
  r.activities = {3.0, std::nullopt};
  r.duals = {-0.5, std::nullopt};
  return m;
}

// What the writer (the summary or the CSV file) writes for the model.
template <void (*write)(std::ostream&, const vopRec&)>
std::string written(const vopRec& m) {
  std::ostringstream out;
  write(out, m);
  return out.str();
}
const auto summaryOf = written<qelhost::writeSummary>;
const auto csvOf = written<qelhost::writeSolutionCsv>;

TEST(ReportTest, NamesEverySolveStatus) {
  EXPECT_EQ(qelhost::statusName(0), "normal_completion");
  EXPECT_EQ(qelhost::statusName(1), "infeasible");
  EXPECT_EQ(qelhost::statusName(7), "time_limit");
  EXPECT_EQ(qelhost::statusName(17), "no_solution");
  EXPECT_EQ(qelhost::statusName(-1), "none");
  EXPECT_EQ(qelhost::statusName(18), "none");
}

TEST(ReportTest, ExitStatusSaysSolvedNoSolutionOrError) {
  struct Case {
    int status;
    bool values;
    int exit;
  };
  const Case cases[] = {{0, true, 0},   {0, false, 0},  {1, false, 1},  {2, false, 1},
                        {3, true, 1},   {4, false, 1},  {17, false, 1}, {7, true, 0},
                        {7, false, 1},  {8, true, 0},   {14, false, 1}, {11, true, 2},
                        {13, false, 2}, {12, false, 2}, {15, false, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.status);
    vopRec::Results r;
    r.solved = true;
    r.status = c.status;
    if (c.values) r.values = {1.0};
    EXPECT_EQ(qelhost::exitStatus(r), c.exit);
  }
  EXPECT_EQ(qelhost::exitStatus(vopRec::Results{}), 2);
}

TEST(ReportTest, SummaryShowsStatusObjectiveAndAlignedTables) {
  EXPECT_EQ(summaryOf(solvedModel()),
            "status: normal_completion\n"
            "objective: 12.5\n"
            "solution status: optimal\n"
            "iterations: 3\n"
            "time: 0.01\n"
            "\n"
            "column  value  reduced cost\n"
            "x       2.5    0\n"
            "y       10     1.5\n"
            "\n"
            "row   activity  dual\n"
            "r1    3         -0.5\n"
            "quad\n");
}

TEST(ReportTest, SummaryWithoutSolutionHasNoTables) {
  vopRec m = solvedModel();
  m.results = {};
  m.results.solved = true;
  m.results.status = 1;
  m.results.objective = 1.0 / 3;
  EXPECT_EQ(summaryOf(m), "status: infeasible\nobjective: 0.333333333333333\nno solution\n");
}

TEST(ReportTest, CsvHasOneLinePerColumnAndRowWithNamesQuotedAndZerosUnsigned) {
  vopRec m = solvedModel();
  m.columns[1].name = "y,\"2\"";
  m.results.objective = -0.0;
  m.results.values = {-0.0, 10};
  m.results.reducedCosts = {-0.0, -1.5};
  m.results.activities = {-0.0, std::nullopt};
  m.results.duals = {-0.0, std::nullopt};
  EXPECT_EQ(csvOf(m),
            "kind,name,value,marginal\n"
            "column,x,0,0\n"
            "column,\"y,\"\"2\"\"\",10,-1.5\n"
            "row,r1,0,0\n"
            "row,quad,,\n");
  const std::string summary = summaryOf(m);
  EXPECT_THAT(summary, HasSubstr("objective: 0\n"));
  EXPECT_THAT(summary, HasSubstr("x       0      0\n"));
  EXPECT_THAT(summary, HasSubstr("r1    0         0\n"));
  EXPECT_THAT(summary, Not(HasSubstr("-0")));
}

TEST(ReportTest, SummarySaysWhereTheDualsOfACleanedUpSolveComeFrom) {
  vopRec m = solvedModel();
  m.results.cleanedUp = true;
  EXPECT_THAT(
      summaryOf(m),
      HasSubstr("time: 0.01\n"
                "duals and reduced costs: from the solve with fixed discrete entities\n\n"));
  // A re-solve that is still a MIP gives no duals: the summary says so.
  m.results.reducedCosts.clear();
  m.results.duals = {std::nullopt, std::nullopt};
  EXPECT_THAT(summaryOf(m),
              HasSubstr("time: 0.01\n"
                        "duals and reduced costs: none, the solve with fixed discrete entities "
                        "gave none\n\n"));
  // Either one is enough for the tables to show what the re-solve gave.
  m.results.duals = {-0.5, std::nullopt};
  EXPECT_THAT(summaryOf(m), HasSubstr("from the solve with fixed discrete entities\n"));
}

}  // namespace
}  // namespace qelhost_test
