// The solve against the optimizer stand-in, run in a fresh temporary working folder.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <xprs.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "nuv/opt/support_exception.hpp"
#include "qel/solver/solution_container.hpp"
#include "qel/solver/solver.hpp"
#include "tests/qel/solver/solved_model_fixture.hpp"

namespace qel_test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using S = nuv::opt::SolveStatus;
namespace xt = xprs::testing;

struct Log final : nuv::opt::AbstractLog {  // every line, Xpress's own messages included
  void newline() const override { lines.emplace_back(); }
  void print(std::string_view t) const override { lines.emplace_back(t); }
  void info(std::string_view t) const override { lines.emplace_back(t); }
  void warning(std::string_view, std::string_view t) const override { lines.emplace_back(t); }
  mutable std::vector<std::string> lines;
};

std::vector<int> marks(const qel::Data::Values<int>& c) {
  std::vector<int> v(static_cast<std::size_t>(c.itemCount()));
  c.getAll(v, 0);
  return v;
}

class SolveTest : public SolvedModelTest {
 protected:
  void SetUp() override {
    char folder[] = "/tmp/qel-solve-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    std::filesystem::current_path(folder_ = folder);
    SolvedModelTest::SetUp();
    solver_->setLog(log_);
    xt::clearCalls();
  }
  void TearDown() override {
    SolvedModelTest::TearDown();
    std::filesystem::current_path(home_);
    if (!folder_.empty()) std::filesystem::remove_all(folder_);
  }
  void mip() {  // min x0 + 2 x1 + 4 x2 + 8 x3 over binary x, two or more of them 1
    load({1, 1, 1, 1}, {1, 1, 1, 1}, {{1, 1, 1, 1}}, {-2}, {0}, {1, 2, 4, 8}, 0);
  }
  qel::LinkAttribs& opt() { return *data_->linkAttribs; }
  const xt::ProblemRecord& rec() { return xt::inspect(data_->prob->rawProb()); }
  std::filesystem::path home_ = std::filesystem::current_path(), folder_;
  std::shared_ptr<Log> log_ = std::make_shared<Log>();
};

TEST_F(SolveTest, MapsEveryStatusLogsItAndMarksOnlyAfterALinearRun) {
  load({0}, {1}, {{1}}, {0}, {0}, {0}, 0);
  // Types 2 and 3 take the nonlinear stop status; the other attribute then reads 1.
  const std::tuple<int, int, int, S, const char*, const char*> cases[] = {
      {0, 0, 1, S::normal_completion, "normal (0)", "optimal (1)"},
      {1, 5, 2, S::normal_completion, "gap sufficiently small (5)", "feasible (2)"},
      {1, 10, 0, S::no_solution, "completed without fully exploring the tree (10)",
       "not available (0)"},
      {2, 0, 3, S::locally_infeasible, "normal (0)", "infeasible (3)"},
      {3, 0, 3, S::infeasible, "normal (0)", "infeasible (3)"},
      {0, 0, 4, S::unbounded, "normal (0)", "unbounded (4)"},
      {0, 0, 5, S::solver_error, "normal (0)", "unknown (5)"},
      {1, 1, 2, S::time_limit, "time limit (1)", "feasible (2)"},
      {1, 2, 2, S::user_interrupt, "ctrl+c (2)", "feasible (2)"},
      {2, 9, 0, S::user_interrupt, "user interrupt (9)", "not available (0)"},
      {1, 3, 2, S::node_limit, "node limit (3)", "feasible (2)"},
      {0, 4, 0, S::iteration_limit, "iteration limit (4)", "not available (0)"},
      {1, 6, 2, S::solution_limit, "solution limit (6)", "feasible (2)"},
      {3, 13, 0, S::numerical_error, "numerical errors (13)", "not available (0)"},
      {0, 14, 2, S::work_limit, "work limit (14)", "feasible (2)"},
      {0, 7, 0, S::solver_error, "unknown (7)", "not available (0)"},
      {1, 8, 2, S::solver_error, "insufficient memory (8)", "feasible (2)"},
      {0, 11, 1, S::solver_error, "unknown (11)", "optimal (1)"},
      {3, 12, 0, S::solver_error, "unknown (12)", "not available (0)"},
      {0, -1, 1, S::solver_error, "unknown (-1)", "optimal (1)"},
      {0, 15, 1, S::solver_error, "unknown (15)", "optimal (1)"},
  };
  for (const auto& [type, stop, sol, result, stopText, solText] : cases) {
    SCOPED_TRACE(std::string(stopText) + " " + solText);
    xt::RunScript script;  // entities past either end name nothing
    script.run = {3, sol, type >= 2 ? 1 : stop, type >= 2 ? stop : 1, 1, 0, type};
    script.results.primalInfeasCols = {0, 1};
    script.results.primalInfeasRows = {-1, 0};
    xt::script(data_->prob->rawProb(), script);
    log_->lines.clear();
    EXPECT_EQ(solver_->solve(), result);
    EXPECT_THAT(log_->lines, ElementsAre(std::string("XPRESS stop status: ") + stopText,
                                         std::string("XPRESS sol status: ") + solText, ""));
    EXPECT_THAT(marks(*data_->varInfeasible), ElementsAre(type == 0));
    EXPECT_THAT(marks(*data_->constrInfeasible), ElementsAre(type == 0));
  }
}

TEST_F(SolveTest, KeepsCutoffsNobodySetWithinTheStoppingGaps) {
  struct Case {
    const char* what;
    bool setByUser;
    double relCutoff, relStop, addCutoff, absStop;
    double relAfter, addAfter;
  };
  const Case cases[] = {
      {"both beyond their stops", false, 0.5, 0.1, -3.0, 2.0, 0.1, -2.0},
      {"a positive additive cutoff", false, 0.5, 0.1, 3.0, 2.0, 0.1, 2.0},
      {"a zero additive cutoff past a negative stop", false, 0.5, 0.1, 0.0, -1.0, 0.1, 1.0},
      {"both within their stops", false, 0.05, 0.1, -1.0, 2.0, 0.05, -1.0},
      {"both set through the plug-in", true, 0.5, 0.1, -3.0, 2.0, 0.5, -3.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    solver_->clear();  // a new problem: no control recorded as set
    mip();
    XPRSprob raw = data_->prob->rawProb();
    ASSERT_EQ(XPRSsetdblcontrol(raw, XPRS_MIPRELSTOP, c.relStop), 0);
    ASSERT_EQ(XPRSsetdblcontrol(raw, XPRS_MIPABSSTOP, c.absStop), 0);
    if (c.setByUser) {
      data_->prob->setDblControl(XPRS_MIPRELCUTOFF, c.relCutoff);
      data_->prob->setDblControl(XPRS_MIPADDCUTOFF, c.addCutoff);
    } else {
      ASSERT_EQ(XPRSsetdblcontrol(raw, XPRS_MIPRELCUTOFF, c.relCutoff), 0);
      ASSERT_EQ(XPRSsetdblcontrol(raw, XPRS_MIPADDCUTOFF, c.addCutoff), 0);
    }
    EXPECT_EQ(solver_->solve(), S::normal_completion);
    EXPECT_EQ(data_->prob->getDblControl(XPRS_MIPRELCUTOFF), c.relAfter);
    EXPECT_EQ(data_->prob->getDblControl(XPRS_MIPADDCUTOFF), c.addAfter);
  }
}

TEST_F(SolveTest, ResolvesAnInfeasibleLpWithoutPresolveAndMarksWhatXpressReports) {
  // x + y <= 1 and x + y >= 3, each reachable alone
  load({0, 0, 0}, {2, 2, 5}, {{1, 1, 0}, {1, 1, 0}, {0, 0, 1}}, {-1, -3, -1}, {1, 0, 1}, {0, 0, 0},
       0);
  opt().rerun()->set(1, 0);
  EXPECT_EQ(solver_->solve(), S::infeasible);
  EXPECT_EQ(xt::countCalls("XPRSoptimize"), 2U);
  EXPECT_THAT(log_->lines, Contains("Re-solving model with presolve turned off."));
  EXPECT_EQ(data_->prob->getIntControl(XPRS_PRESOLVE), 0);
  EXPECT_EQ(data_->prob->getIntControl(XPRS_DEFAULTALG), 3);
  std::vector<int> rowsMarked(3), colsMarked(3);  // as Xpress reports them: row 0 or 1 or both
  for (const int i : rec().results.primalInfeasRows) rowsMarked.at(static_cast<std::size_t>(i)) = 1;
  for (const int j : rec().results.primalInfeasCols) colsMarked.at(static_cast<std::size_t>(j)) = 1;
  EXPECT_TRUE(rowsMarked[0] + rowsMarked[1] > 0 && rowsMarked[2] == 0);
  EXPECT_EQ(marks(*data_->constrInfeasible), rowsMarked);
  EXPECT_EQ(marks(*data_->varInfeasible), colsMarked);
}

TEST_F(SolveTest, LoadsABasisReadBackAsTheSameBasisAndWritesEveryFile) {
  solveLp();  // binding 'L' and 'G' rows, ranged rows at either end
  const auto first = rec().results;
  using Basis = qel::BasisSolutionContainer;
  for (const auto kind : {Basis::Columns, Basis::Rows}) {
    std::vector<int> codes(static_cast<std::size_t>(Basis(data_, kind).itemCount()));
    Basis(data_, kind).getAll(codes, 0);
    (kind == Basis::Rows ? *data_->linConstrBasis : *data_->varBasis).setAll(codes, 0);
  }
  opt().mpsoutputfile()->set("model", 0);
  opt().basisout()->set("start", 0);
  opt().savefile()->set(1, 0);
  opt().writeprtsol()->set(1, 0);
  EXPECT_EQ(solver_->solve(), S::normal_completion);
  ASSERT_EQ(rec().warmStart.bases.size(), 1U);
  EXPECT_EQ(rec().warmStart.bases[0].rowStat, first.rowBasis);
  EXPECT_EQ(rec().warmStart.bases[0].colStat, first.colBasis);
  EXPECT_EQ(data_->prob->getIntAttrib(XPRS_SIMPLEXITER), 0);
  for (const auto& [file, text] : {std::pair{"model.mps", "ROWS"},
                                   {"start.bss", "BASIS problem"},
                                   {"problem.svf", "SAVE problem"},
                                   {"problem.prt", "Objective -13"}}) {
    std::ifstream in(file);
    EXPECT_THAT(std::string(std::istreambuf_iterator<char>(in), {}), ::testing::HasSubstr(text));
  }
}

TEST_F(SolveTest, PassesWarmStartsToTheOptimizerAndRefusesPrioritiesThatAreNotFinite) {
  mip();
  const double levels[] = {1, 1, 0, 0}, priorities[] = {0, 1, 3, 0};
  data_->varLevels->setAll(levels, 0);
  data_->varPriorities->setAll(priorities, 0);
  opt().loadmipsol()->set(1, 0);
  opt().xslp_multistartpreset()->set(2, 0);
  EXPECT_EQ(solver_->solve(), S::normal_completion);
  const auto& warm = rec().warmStart;
  EXPECT_THAT(warm.mipSols.at(0).values, ElementsAre(1, 1, 0, 0));
  EXPECT_THAT(warm.dirs.at(0).priority, ElementsAre(0, 333, 1000, 0));
  EXPECT_EQ(std::pair(warm.presets.at(0).preset, warm.presets[0].maxJobs), std::pair(6, 10));
  const double extremes[] = {-1e308, 0, 1e308, 1e308};  // hi - lo overflows
  data_->varPriorities->setAll(extremes, 0);
  solver_->solve();
  EXPECT_THAT(warm.dirs.at(1).priority, ElementsAre(0, 500, 1000, 1000));
  const auto before = std::pair(warm.mipSols.size(), rec().runs);
  for (const double bad : {std::nan(""), -HUGE_VAL}) {
    data_->varPriorities->set(2, bad, 0);
    EXPECT_THAT([&] { solver_->solve(); },
                ::testing::ThrowsMessage<nuv::opt::SupportException>(
                    "Support Error: Branching priority of column 2 is not a finite number. "
                    "[Trace: Solver::solve]"));
  }
  EXPECT_EQ(std::pair(warm.mipSols.size(), rec().runs), before);
}

TEST_F(SolveTest, EnumeratesIntoThePoolWithCullingAndTunesInstead) {
  mip();
  data_->prob->setIntControl(XPRS_HEUREMPHASIS, 1);
  opt().solnpoolpop()->set(2, 0);
  opt().solnpoolcapacity()->set(3, 0);
  opt().solnpoolverbosity()->set(1, 0);
  EXPECT_EQ(solver_->solve(), S::normal_completion);
  EXPECT_THAT(log_->lines, ::testing::IsSupersetOf(
                               {"MIP soln pool is full: starting cull round 1\n",
                                "Setting 'heuremphasis' to 1 may result in duplicate solutions in "
                                "solution pool."}));
  std::vector<double> kept;
  for (const auto& s : xt::inspect(data_->solPool->handle()).solutions) kept.push_back(s.objective);
  EXPECT_THAT(kept, ::testing::UnorderedElementsAre(3, 5, 6));  // the three best of eleven
  EXPECT_TRUE(xt::inspect(data_->solPool->handle()).attached.empty());
  auto control = [&](int id) { return data_->prob->getIntControl(id); };
  EXPECT_THAT((std::vector{control(XPRS_HEUREMPHASIS), control(XPRS_SYMMETRY),
                           control(XPRS_PRESOLVEOPS), control(XPRS_MIPPRESOLVE)}),
              ElementsAre(1, 0, 471, -17));
  opt().tuner()->set(1, 0);
  EXPECT_EQ(solver_->solve(), S::normal_completion);
  EXPECT_EQ(std::tuple(xt::countCalls("XPRS_mse_opt"), xt::countCalls("XPRStune"),
                       xt::countCalls("XPRSoptimize")),
            std::tuple(1U, 1U, 0U));
}

TEST_F(SolveTest, NonlinearLevelsAreOptional) {
  data_->addNonlinObj(1);
  solver_->solve();  // no columns: initial values of none
  qel::VarAdder(data_).add(variableBatch({{nuv::opt::interval_domain::type, ints({0, 0})}}));
  EXPECT_EQ(solver_->solve(), S::normal_completion);  // no levels: no initial values
  data_->varLevels->setAll(3.0, 0);
  solver_->solve();
  const auto& given = rec().warmStart.initVals;
  ASSERT_EQ(given.size(), 2U);
  EXPECT_TRUE(given[0].cols.empty());
  EXPECT_THAT(given[1].cols, ElementsAre(0, 1));
  EXPECT_THAT(given[1].values, ElementsAre(3, 3));
}

}  // namespace
}  // namespace qel_test
