// The plug-in library as a host sees it: loaded with dlopen and used only through its four
// exported functions, directly and through qelhost, on real models solved end to end.
#include <dlfcn.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>
#include <xprs_testing.hpp>

#include "host.hpp"
#include "model_reader.hpp"
#include "nuv/opt/abstract_solver.hpp"
#include "nuv/opt/solve_status.hpp"
#include "orla/testing.hpp"
#include "orla/vop_rec.hpp"
#include "plugin.hpp"
#include "report.hpp"
#include "tests/platform/host/temp_files.hpp"
#include "tests/support/lexicographic_optima.hpp"
#include "tests/support/qcqp_optimum.hpp"

namespace qel_test {
namespace {

using ::testing::DoubleNear;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Optional;
constexpr double kInf = vopRec::kInfinity;

auto near(double v) { return DoubleNear(v, 1e-6); }
auto optNear(double v) { return Optional(DoubleNear(v, 1e-6)); }

// The plug-in, loaded afresh for each test and unloaded after it.
class ExportsTest : public ::testing::Test {
 protected:
  void SetUp() override { plugin_.emplace(QELLINK64_PATH); }
  void TearDown() override { plugin_.reset(); }

  // Creates, hands the model over, solves and frees; the log is dropped.
  int solve(vopRec& model) const {
    model.log = [](std::string_view) {};
    void* handle = nullptr;
    char text[256] = {};
    EXPECT_EQ(plugin_->create(&handle, text, sizeof text), 0) << text;
    const int result = plugin_->readyApi(handle, &model) || plugin_->callSolver(handle);
    plugin_->free(&handle);
    EXPECT_EQ(handle, nullptr);
    return result;
  }

  std::optional<qelhost::Plugin> plugin_;
};

// The objective at the values x: constant, linear and product terms.
double objectiveAt(const vopRec& m, const std::vector<double>& x) {
  const vopRec::Objective& o = m.objectives.at(0);
  double value = o.constant;
  for (const auto& t : o.terms) value += t.coef * x.at(t.column);
  for (const auto& q : o.quadratic) value += q.coef * x.at(q.first) * x.at(q.second);
  return value;
}

TEST_F(ExportsTest, CreateHandsTheLinkItsDefinitionTheLinksResultsPassAndFreeReleasesIt) {
  const int live = orla::testing::liveLinks();
  void* handle = nullptr;
  char text[40] = {};
  ASSERT_EQ(plugin_->create(&handle, text, sizeof text), 0);
  EXPECT_EQ(orla::testing::liveLinks(), live + 1);
  const auto e = [](int n) { return orla::LinkDef::Call{true, n, ""}; };
  const auto s = [](int n, const char* name) { return orla::LinkDef::Call{false, n, name}; };
  EXPECT_THAT(
      orla::testing::lastDefinition()->calls(),
      ElementsAre(e(1), s(1, "mipcleanup"), s(2, "fixoptfile"), e(3), s(4, "multobj"),
                  s(5, "objnabstol"), s(6, "objnreltol"), e(4), e(8), e(9), s(17, "miptrace"),
                  s(18, "miptracenode"), s(19, "miptracetime"), s(20, "miptraceincumbent"), e(10),
                  s(21, "mipstopexpr"), s(22, "mipstopexprnodestep"), s(23, "mipstopexprtimestep"),
                  s(24, "mipstopexprsolutiontol"), s(25, "mipstopexprverbosity"), e(2)));
  // The link answers 1 for no model and for a failed run.
  EXPECT_EQ(plugin_->readyApi(handle, nullptr), 1);
  EXPECT_EQ(plugin_->callSolver(handle), 1);
  vopRec model;
  model.options = {{"nosuchoption", "1"}};
  EXPECT_EQ(plugin_->readyApi(handle, &model), 0);
  EXPECT_EQ(plugin_->callSolver(handle), 1);
  EXPECT_THAT(model.messages, ElementsAre("error: unknown option 'nosuchoption'"));
  for (int twice = 0; twice < 2; ++twice) {
    plugin_->free(&handle);
    EXPECT_EQ(handle, nullptr);
    EXPECT_EQ(orla::testing::liveLinks(), live);
  }
  // Null pointers are refused, not followed.
  EXPECT_EQ(plugin_->create(nullptr, text, sizeof text), 1);
  EXPECT_STREQ(text, "qelCreate needs a handle variable");
  EXPECT_EQ(plugin_->readyApi(nullptr, &model), 1);
  EXPECT_EQ(plugin_->callSolver(nullptr), 1);
  plugin_->free(nullptr);
}

TEST_F(ExportsTest, FailedCreateCopiesTheTextLikeStrncpyAndLeavesTheHandle) {
  // What the buffer holds afterwards, '#' where nothing was written.
  const std::pair<int, std::string> cases[] = {{8, std::string("boom\0\0\0\0##", 10)},
                                               {4, "boom######"},
                                               {2, "bo########"},
                                               {0, "##########"},
                                               {-1, "##########"}};
  const int live = orla::testing::liveLinks();
  for (const auto& [length, expected] : cases) {
    SCOPED_TRACE(length);
    std::string buffer(10, '#');
    void* handle = &buffer;
    orla::testing::failNextLink("boom");
    EXPECT_EQ(plugin_->create(&handle, buffer.data(), length), 1);
    EXPECT_EQ(buffer, expected);
    EXPECT_EQ(handle, &buffer);
    EXPECT_EQ(orla::testing::liveLinks(), live);
  }
  void* handle = nullptr;
  orla::testing::failNextLink("boom");
  EXPECT_EQ(plugin_->create(&handle, nullptr, 8), 1);
  EXPECT_EQ(handle, nullptr);
  EXPECT_EQ(orla::testing::liveLinks(), live);
}

TEST_F(ExportsTest, EachCreateGivesALinkWithItsOwnNewSolverWhichFreeDestroysWithIt) {
  const int live = orla::testing::liveLinks();
  void* handles[2] = {};
  std::weak_ptr<nuv::opt::AbstractSolver> solvers[2];
  char text[8] = {};
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(plugin_->create(&handles[i], text, sizeof text), 0);
    solvers[i] = orla::testing::solverOf(handles[i]);
    EXPECT_EQ(solvers[i].use_count(), 1);  // the link's own: qelCreate kept no share
    const auto solver = solvers[i].lock();
    ASSERT_NE(solver, nullptr);
    EXPECT_EQ(solver->name(), "Xpress");
    EXPECT_FALSE(solver->started());
  }
  EXPECT_NE(handles[0], handles[1]);
  EXPECT_NE(solvers[0].lock(), solvers[1].lock());
  EXPECT_EQ(orla::testing::liveLinks(), live + 2);
  for (int i = 0; i < 2; ++i) {
    void* const link = handles[i];
    plugin_->free(&handles[i]);
    EXPECT_EQ(handles[i], nullptr);
    EXPECT_TRUE(solvers[i].expired());
    EXPECT_TRUE(orla::testing::solverOf(link).expired());
    EXPECT_EQ(solvers[1].expired(), i == 1);
    EXPECT_EQ(orla::testing::liveLinks(), live + 1 - i);
  }
}

// An exception that is no std::exception leaves qelCreate as thrown, after what was built is
// released; the buffer and the handle stay untouched.
TEST_F(ExportsTest, CreateLetsOtherExceptionsLeaveAndReleasesWhatItBuilt) {
  struct Unusual {
    int code;
  };
  const int live = orla::testing::liveLinks();
  for (const bool plain : {true, false}) {
    std::weak_ptr<nuv::opt::AbstractSolver> built;
    orla::testing::failNextLink([&](const auto& solver) {
      built = solver;
      if (plain) throw 42;
      throw Unusual{7};
    });
    std::string buffer(8, '#');
    void* handle = &buffer;
    int caught = 0;
    try {
      plugin_->create(&handle, buffer.data(), 8);
    } catch (int value) {
      caught = value;
    } catch (const Unusual& e) {
      caught = e.code;
    }
    EXPECT_EQ(caught, plain ? 42 : 7);
    EXPECT_TRUE(built.expired());
    EXPECT_EQ(buffer, "########");
    EXPECT_EQ(handle, &buffer);
    EXPECT_EQ(orla::testing::liveLinks(), live);
  }
}

TEST_F(ExportsTest, ReadyApiAndCallSolverPassTheModelAndTheLinksResultsUnchanged) {
  void* handle = nullptr;
  char text[8] = {};
  ASSERT_EQ(plugin_->create(&handle, text, sizeof text), 0);
  vopRec model, other;
  model.columns = {{.name = "x", .lower = 1}};
  model.log = [](std::string_view) {};
  for (vopRec* given : {&model, &other, static_cast<vopRec*>(nullptr)}) {
    EXPECT_EQ(plugin_->readyApi(handle, given), given == nullptr ? 1 : 0);
    EXPECT_EQ(orla::testing::lastModel(), given);
  }
  for (const int result : {1, 2, -1, 0x7fffffff, -0x7fffffff - 1}) {
    SCOPED_TRACE(result);
    orla::testing::nextReadyApiResult(result);
    EXPECT_EQ(plugin_->readyApi(handle, &model), result);
    EXPECT_EQ(orla::testing::lastModel(), &model);
    orla::testing::nextCallSolverResult(result);
    EXPECT_EQ(plugin_->callSolver(handle), result);
    EXPECT_TRUE(model.results.solved);
    // Each scripted result answers one call; the next is the link's own.
    EXPECT_EQ(plugin_->readyApi(handle, &model), 0);
    EXPECT_EQ(plugin_->callSolver(handle), 0);
  }
  orla::testing::nextCallSolverResult(5);
  EXPECT_EQ(plugin_->callSolver(nullptr), 1);  // a null handle reaches no link
  EXPECT_EQ(plugin_->callSolver(handle), 5);
  plugin_->free(&handle);
}

TEST_F(ExportsTest, CreatesSolvesAndFreesAThousandTimes) {
  for (int i = 0; i < 1000; ++i) {
    vopRec model;
    model.columns = {{.name = "x", .lower = 1.0 + i}};
    model.objectives = {{.name = "cost", .terms = {{0, 2.0}}}};
    ASSERT_EQ(solve(model), 0);
    ASSERT_DOUBLE_EQ(model.results.objective.value_or(-1), 2.0 + 2 * i);
  }
}

TEST(ExportsLoadTest, LoadingInitialisesAndUnloadingFinalisesTheLinkLibraryOnce) {
  ASSERT_EQ(dlopen(QELLINK64_PATH, RTLD_NOW | RTLD_NOLOAD), nullptr) << "already loaded";
  const int initialized = orla::testing::initializeCount();
  const int finalized = orla::testing::finalizeCount();
  void* library = dlopen(QELLINK64_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  EXPECT_EQ(orla::testing::initializeCount(), initialized + 1);
  EXPECT_EQ(orla::testing::finalizeCount(), finalized);
  dlclose(library);
  EXPECT_EQ(orla::testing::initializeCount(), initialized + 1);
  EXPECT_EQ(orla::testing::finalizeCount(), finalized + 1);
}

TEST_F(ExportsTest, SolvesSampleAndExampleModelsToTheirOptimaWithTheirDuals) {
  const std::string sample = COIN_SAMPLE_DIR, examples = QEL_EXAMPLES_DIR;
  const std::pair<std::string, double> cases[] = {
      {sample + "/afiro.mps", -406659.0 / 875}, {sample + "/p0033.mps", 3089},
      {sample + "/share2qp.mps", -400.923577},  {examples + "/production.lp", 2420},
      {examples + "/supply.mps", 226},          {examples + "/portfolio.mps", 403.0 / 11200},
  };
  std::map<std::string, vopRec> solved;
  for (const auto& [path, optimum] : cases) {
    SCOPED_TRACE(path);
    vopRec& model = solved[path] = qelhost::readModel(path);
    ASSERT_EQ(solve(model), 0) << testing::PrintToString(model.messages);
    EXPECT_EQ(model.results.status, 0);
    const double objective = model.results.objective.value_or(NAN);
    EXPECT_NEAR(objective, optimum, 1e-6 * std::max(1.0, std::abs(optimum)));
    // The values belong to the columns they are reported for.
    EXPECT_NEAR(objectiveAt(model, model.results.values), objective, 1e-6);
  }
  EXPECT_THAT(solved[examples + "/production.lp"].results.duals,
              ElementsAre(optNear(0), optNear(5), optNear(30), optNear(0)));

  const vopRec& afiro = solved[sample + "/afiro.mps"];
  ASSERT_EQ(afiro.results.duals.size(), afiro.rows.size());
  std::map<std::string, double> dual;
  double rhsTimesDual = 0;
  for (std::size_t i = 0; i < afiro.rows.size(); ++i) {
    const vopRec::Row& row = afiro.rows[i];
    const double y = dual[row.name] = afiro.results.duals[i].value();
    EXPECT_TRUE((row.lower == -kInf ? y <= 1e-9 : true) && (row.upper == kInf ? y >= -1e-9 : true))
        << row.name << " has a dual of the wrong sign: " << y;
    rhsTimesDual += y * (row.lower == -kInf ? row.upper : row.lower);
  }
  // Every column rests at its zero lower bound or is basic, so b'y alone is the optimum.
  EXPECT_NEAR(rhsTimesDual, -406659.0 / 875, 1e-7);
  const std::pair<const char*, double> known[] = {
      {"R09", -22.0 / 35}, {"X05", -12067.0 / 35000}, {"X21", -8.0 / 35},
      {"R19", -33.0 / 35}, {"X27", -15301.0 / 17500}, {"X44", -12.0 / 35},
      {"X46", -22.0 / 35}, {"X48", -33.0 / 35}};
  for (const auto& [name, value] : known) EXPECT_NEAR(dual.at(name), value, 1e-9) << name;
  for (const char* name :
       {"R10", "R12", "R13", "X17", "R20", "R22", "R23", "X40", "X47", "X49", "X50", "X51"}) {
    EXPECT_NEAR(dual.at(name), 0, 1e-9) << name;
  }
}

// Linear rows keep their results when quadratic rows stand between them in the host's order, and
// when sets and indicators are loaded after them.
TEST_F(ExportsTest, RowResultsReachTheirRowsWithQuadraticRowsSetsAndIndicators) {
  vopRec qp;
  qp.columns = {{.name = "x", .upper = 10}, {.name = "y", .upper = 10}};
  qp.rows = {{.name = "A", .upper = 3, .terms = {{0, 1}}},
             {.name = "Q", .upper = 25, .quadratic = {{0, 0, 1}, {1, 1, 1}}},
             {.name = "B", .upper = 2, .terms = {{1, 1}}},
             {.name = "C", .lower = 1, .upper = 8, .terms = {{0, 1}, {1, 1}}}};
  qp.objectives = {{.name = "o", .terms = {{0, -1}, {1, -2}}}};
  ASSERT_EQ(solve(qp), 0) << testing::PrintToString(qp.messages);
  EXPECT_THAT(qp.results.activities, ElementsAre(optNear(3), std::nullopt, optNear(2), optNear(5)));
  EXPECT_THAT(qp.results.duals, ElementsAre(optNear(-1), std::nullopt, optNear(-2), optNear(0)));
  vopRec mip;
  mip.columns = {{.name = "y", .upper = 10},
                 {.name = "z", .upper = 10},
                 {.name = "b", .type = vopRec::ColumnType::kInteger, .upper = 1}};
  mip.rows = {{.name = "A", .lower = 4, .terms = {{0, 1}, {1, 1}}},
              {.name = "B", .upper = 1, .terms = {{0, 1}, {1, -1}}}};
  mip.sets = {{.name = "s", .columns = {0, 1}}};
  mip.indicators = {{.name = "i", .column = 2, .row = {.upper = 3, .terms = {{1, 1}}}}};
  mip.objectives = {{.name = "o", .terms = {{0, 1}, {1, 2}, {2, -5}}}};
  ASSERT_EQ(solve(mip), 0) << testing::PrintToString(mip.messages);
  EXPECT_THAT(mip.results.objective, optNear(8));
  EXPECT_THAT(mip.results.activities, ElementsAre(optNear(4), optNear(-4)));
}

// The host's products c x_p x_q, evaluated at x.
double productsAt(const std::vector<vopRec::QuadTerm>& terms, const std::vector<double>& x) {
  double value = 0.0;
  for (const auto& q : terms) value += q.coef * x.at(q.first) * x.at(q.second);
  return value;
}

// min c'x s.t. a quadratic row of products <= r over two free columns: the returned point is
// the closed-form optimum and, in the host's own terms, makes the row active. The row's matrix
// Q has Q_01 = half the sum of the cross products, in either order.
TEST_F(ExportsTest, QuadraticRowsWithCrossProductsHoldAtTheOptimumInTheHostsTerms) {
  struct Case {
    std::vector<vopRec::QuadTerm> products;
    double q00, q01, q11, c0, c1, r;
  };
  const Case cases[] = {
      {{{0, 0, 1}, {0, 1, 1}, {1, 1, 1}}, 1, 0.5, 1, -1, -1, 1},
      {{{0, 0, 2}, {1, 0, -1}, {1, 1, 1}}, 2, -0.5, 1, 1, -2, 2},
      {{{0, 0, 1}, {0, 1, 0.5}, {1, 0, 1}, {1, 1, 3}}, 1, 0.75, 3, -3, 1, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.q01));
    vopRec m;
    m.columns = {{.name = "x", .lower = -kInf}, {.name = "y", .lower = -kInf}};
    m.rows = {{.name = "q", .upper = c.r, .quadratic = c.products}};
    m.objectives = {{.name = "o", .terms = {{0, c.c0}, {1, c.c1}}}};
    ASSERT_EQ(solve(m), 0) << testing::PrintToString(m.messages);
    const auto best = qcqpOptimum(c.q00, c.q01, c.q11, c.c0, c.c1, c.r);
    EXPECT_THAT(m.results.values, ElementsAre(near(best.x0), near(best.x1)));
    EXPECT_THAT(m.results.objective, optNear(best.objective));
    EXPECT_NEAR(productsAt(c.products, m.results.values), c.r, 1e-6);
  }
}

// min -x - y + k b, x, y in [0, 2], b binary, x^2 + xy + y^2 <= 3 while b = 1: the row's own
// optimum (1, 1) lies inside the box and gives -2 + k, b = 0 leaves the corner (2, 2) at -4.
TEST_F(ExportsTest, QuadraticIndicatorRowWithACrossProductHoldsInTheHostsTerms) {
  const auto withRow = qcqpOptimum(1, 0.5, 1, -1, -1, 3);
  ASSERT_NEAR(withRow.x0, 1, 1e-12);
  ASSERT_NEAR(withRow.x1, 1, 1e-12);
  const std::vector<vopRec::QuadTerm> products = {{0, 0, 1}, {0, 1, 1}, {1, 1, 1}};
  for (const double k : {-3.0, 3.0}) {
    SCOPED_TRACE(k);
    const bool on = withRow.objective + k < -4;
    vopRec m;
    m.columns = {{.name = "x", .upper = 2},
                 {.name = "y", .upper = 2},
                 {.name = "b", .type = vopRec::ColumnType::kInteger, .upper = 1}};
    m.indicators = {{.name = "i", .column = 2, .row = {.upper = 3, .quadratic = products}}};
    m.objectives = {{.name = "o", .terms = {{0, -1}, {1, -1}, {2, k}}}};
    ASSERT_EQ(solve(m), 0) << testing::PrintToString(m.messages);
    EXPECT_THAT(m.results.objective, optNear(on ? withRow.objective + k : -4));
    EXPECT_THAT(m.results.values, on ? ElementsAre(near(withRow.x0), near(withRow.x1), near(1))
                                     : ElementsAre(near(2), near(2), near(0)));
    if (on) {
      EXPECT_NEAR(productsAt(products, m.results.values), 3, 1e-6);
    }
  }
}

TEST_F(ExportsTest, OptionsByNameChangeTheRun) {
  vopRec plain = qelhost::readModel(COIN_SAMPLE_DIR "/p0033.mps"), cleaned = plain;
  cleaned.options = {{"MIPCLEANUP", "1"}};
  ASSERT_EQ(solve(plain), 0);
  ASSERT_EQ(solve(cleaned), 0);
  EXPECT_TRUE(plain.results.duals.empty());
  EXPECT_TRUE(cleaned.results.cleanedUp);
  EXPECT_EQ(cleaned.results.duals.size(), cleaned.rows.size());
  // Enumerating the three best of seven solutions: the best is the solution, the pool the rest.
  vopRec three;
  three.columns.assign(3, {.type = vopRec::ColumnType::kInteger, .upper = 1});
  three.rows = {{.lower = 1, .terms = {{0, 1}, {1, 1}, {2, 1}}}};
  three.objectives = {{.terms = {{0, 1}, {1, 2}, {2, 4}}}};
  three.options = {{"solnpoolcapacity", "3"}, {"solnpoolpop", "2"}};
  ASSERT_EQ(solve(three), 0);
  EXPECT_THAT(three.results.objective, optNear(1));
  std::vector<double> objectives{objectiveAt(three, three.results.values)};
  for (const auto& other : three.results.pool) objectives.push_back(objectiveAt(three, other));
  EXPECT_THAT(objectives, ElementsAre(near(1), near(2), near(3)));
}

// Integer x, y, z in [0, 3] with 2x + 3y + 4z <= 10; the value 3x + 4y + 5z is at most 14, at
// (3, 0, 1) and (2, 2, 0) only, and 13 at (3, 1, 0), (1, 0, 2) and (0, 2, 1). Each objective
// keeps its own sense: one against the first one's is optimised with its weight negated.
TEST_F(ExportsTest, IntegerModelsSolveEveryObjectiveLevel) {
  using Objective = vopRec::Objective;
  const std::vector<vopRec::Term> value = {{0, 3}, {1, 4}, {2, 5}}, x = {{0, 1}}, z = {{2, 1}};
  const std::vector<vopRec::Term> negated = {{0, -3}, {1, -4}, {2, -5}};
  struct Case {
    const char* what;
    std::vector<Objective> objectives;
    test_support::Point x;  // worked out by hand from the listing above
  };
  const Case cases[] = {
      {"the most value, then the most z",
       {{.maximize = true, .terms = value, .priority = 2}, {.maximize = true, .terms = z}},
       {3, 0, 1}},
      {"the most value, then the least z",
       {{.maximize = true, .terms = value, .priority = 2}, {.terms = z}},
       {2, 2, 0}},
      {"the value within 1, then the most z",
       {{.maximize = true, .terms = value, .priority = 2, .absoluteTolerance = 1},
        {.maximize = true, .terms = z, .absoluteTolerance = 0}},
       {1, 0, 2}},
      // A tolerance given on one objective only holds as well.
      {"the value within 1, then the most z without a tolerance",
       {{.maximize = true, .terms = value, .priority = 2, .absoluteTolerance = 1},
        {.maximize = true, .terms = z}},
       {1, 0, 2}},
      // Every value of 14 has x >= 2: the second level must leave the first one's optimum.
      {"the value within 10 %, then the least x",
       {{.maximize = true, .terms = value, .priority = 2, .relativeTolerance = 0.1},
        {.terms = x, .relativeTolerance = 0}},
       {0, 2, 1}},
      {"the value within 10 %, then the least x without a tolerance",
       {{.maximize = true, .terms = value, .priority = 2, .relativeTolerance = 0.1}, {.terms = x}},
       {0, 2, 1}},
      // 3x + 4y + 5z - 2x alone is largest (13) at (0, 2, 1).
      {"the value blended with the least x, weighted 2, then the most z",
       {{.maximize = true, .terms = value, .priority = 2},
        {.terms = x, .weight = 2, .priority = 2},
        {.maximize = true, .terms = z}},
       {0, 2, 1}},
      {"the least negated value, then the most z",
       {{.terms = negated, .priority = 2}, {.maximize = true, .terms = z}},
       {3, 0, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const int sense = c.objectives.front().maximize ? -1 : 1;
    std::vector<test_support::WeightedObjective> reference;
    for (const Objective& o : c.objectives) {
      test_support::WeightedObjective w{.coef = std::vector<double>(3),
                                        .priority = o.priority.value_or(0),
                                        .weight = o.weight.value_or(1),
                                        .absTol = o.absoluteTolerance.value_or(0),
                                        .relTol = o.relativeTolerance.value_or(0)};
      for (const vopRec::Term& t : o.terms) w.coef.at(t.column) += t.coef;
      if (o.maximize != c.objectives.front().maximize) w.weight = -w.weight;
      reference.push_back(w);
    }
    const auto feasible = [](const test_support::Point& p) {
      return 2 * p[0] + 3 * p[1] + 4 * p[2] <= 10;
    };
    ASSERT_THAT(test_support::lexicographicOptima(sense, reference,
                                                  test_support::integerPoints(3, 3, feasible)),
                ElementsAre(c.x));
    vopRec model;
    model.columns.assign(3, {.type = vopRec::ColumnType::kInteger, .upper = 3});
    model.rows = {{.upper = 10, .terms = {{0, 2}, {1, 3}, {2, 4}}}};
    model.objectives = c.objectives;
    ASSERT_EQ(solve(model), 0) << testing::PrintToString(model.messages);
    EXPECT_EQ(model.results.status, 0);
    EXPECT_THAT(model.results.values, testing::Pointwise(DoubleNear(1e-6), c.x));
    EXPECT_EQ(model.results.objective, std::nullopt);
  }
}

// Each power of the host's expressions raises its first argument to its second: with a constant
// exponent or a constant base, in the objective and in a row, to the optimum worked out by hand.
TEST_F(ExportsTest, ExpressionPowersRaiseTheFirstArgumentToTheSecond) {
  using Token = vopRec::Token;
  const Token x = Token::ofColumn(0), y = Token::ofColumn(1);
  const auto n = [](double v) { return Token::ofNumber(v); };
  const auto call = [](const char* name) { return Token::ofCall(name); };
  const Token multiply = call("nuv:function:basic:Multiply");
  const Token subtract = call("nuv:function:basic:Subtract");
  const Token power = call("");  // where the power under test goes
  const double ln2 = std::log(2.0);
  struct Case {
    const char* what;
    std::vector<vopRec::Column> columns;
    std::vector<Token> objective;  // empty: minimise -x - y
    std::vector<Token> row;        // at most 0, when not empty
    std::vector<double> x;
    double optimum;
  };
  const Case cases[] = {
      {"x^3 - 12 x", {{.upper = 10}}, {x, n(3), power, n(12), x, multiply, subtract}, {}, {2}, -16},
      {"2^x - 4 ln2 x",
       {{.lower = -5, .upper = 5}},
       {n(2), x, power, n(4 * ln2), x, multiply, subtract},
       {},
       {2},
       4 - 8 * ln2},
      {"x^2 + y^2 <= 2",
       {{.upper = 5}, {.upper = 5}},
       {},
       {x, n(2), power, y, n(2), power, call("nuv:function:basic:Add"), n(2), subtract},
       {1, 1},
       -2},
      {"2^x <= 8", {{.upper = 10}, {.upper = 0}}, {}, {n(2), x, power, n(8), subtract}, {3, 0}, -3},
  };
  for (const char* tag : {"nuv:function:exponential:Power", "nuv:function:exponential:PowerConst",
                          "nuv:function:exponential:Power0"}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(tag) + ": " + c.what);
      const auto withPower = [&](std::vector<Token> tokens) {
        for (Token& t : tokens) {
          if (t.kind == Token::Kind::kCall && t.function.empty()) t = call(tag);
        }
        return tokens;
      };
      vopRec m;
      m.columns = c.columns;
      m.objectives = {{.name = "f", .expression = withPower(c.objective)}};
      if (c.objective.empty()) m.objectives[0] = {.name = "f", .terms = {{0, -1}, {1, -1}}};
      if (!c.row.empty()) m.nonlinearRows = {{"r", withPower(c.row), -kInf, 0}};
      ASSERT_EQ(solve(m), 0) << testing::PrintToString(m.messages);
      EXPECT_EQ(m.results.status, 0);
      EXPECT_THAT(m.results.values, testing::Pointwise(DoubleNear(1e-5), c.x));
      EXPECT_THAT(m.results.objective, optNear(c.optimum));
    }
  }
}

// Covering rows (activity at least 1) over columns in [0, 10], five random entries per column,
// from a fixed generator. With 20000 columns either simplex runs beyond a minute.
vopRec coveringModel(int cols, int rows) {
  std::uint64_t state = 1;
  const auto next = [&state] {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>(state >> 33);
  };
  vopRec m;
  m.rows.assign(static_cast<std::size_t>(rows), {.lower = 1});
  m.objectives = {{.name = "cost"}};
  for (int j = 0; j < cols; ++j) {
    m.columns.push_back({.upper = 10});
    for (int k = 0; k < 5; ++k) {
      m.rows[next() % static_cast<std::uint32_t>(rows)].terms.push_back(
          {j, 0.1 + next() / 2147483648.0});
    }
    m.objectives[0].terms.push_back({j, 0.5 + next() / 2147483648.0});
  }
  return m;
}

// An equality knapsack of 40 binaries with even coefficients and an odd right-hand side: no
// point, which only a search of about 2^40 nodes finds out.
vopRec knapsackModel() {
  vopRec m;
  m.rows = {{.lower = 601, .upper = 601}};
  m.objectives = {{.name = "cost"}};
  for (int j = 0; j < 40; ++j) {
    m.columns.push_back({.type = vopRec::ColumnType::kInteger, .upper = 1});
    m.rows[0].terms.push_back({j, 2.0 * (j + 11)});
    m.objectives[0].terms.push_back({j, 2.0 * (j + 11)});
  }
  return m;
}

// Ctrl-C while the optimizer runs, on every engine path. The SIGINT comes once the path's engine
// has written the trigger to the log, and the log waits there until the link has passed it on as
// XPRSinterrupt, so that the engine meets it at its next poll; on a path whose engine writes
// nothing while it runs, it comes half a second into the run. The time limit only ends a run
// whose interrupt is lost.
TEST_F(ExportsTest, CtrlCEndsEveryEnginePathAsAUserInterrupt) {
  using Token = vopRec::Token;
  const auto call = [](const char* name) { return Token::ofCall(name); };
  vopRec warm = coveringModel(20000, 10000);
  for (auto& c : warm.columns) c.basis = 1;  // at the lower bound: the slack basis
  for (auto& r : warm.rows) r.basis = 3;
  vopRec qp = coveringModel(4000, 2000);
  for (int j = 0; j < 4000; ++j) qp.objectives[0].quadratic.push_back({j, j, 0.5 + j % 7 * 0.5});
  vopRec relaxation = coveringModel(20000, 10000);
  for (auto& c : relaxation.columns) c.type = vopRec::ColumnType::kInteger;
  // Rosenbrock's function from (-1.2, 1), some 20 iterations of the NLP engine.
  vopRec nlp;
  nlp.columns = {{.lower = -kInf, .start = -1.2}, {.lower = -kInf, .start = 1}};
  nlp.objectives = {
      {.expression = {Token::ofNumber(1), Token::ofColumn(0), call("nuv:function:basic:Subtract"),
                      call("nuv:function:exponential:Square"), Token::ofNumber(100),
                      Token::ofColumn(1), Token::ofColumn(0),
                      call("nuv:function:exponential:Square"), call("nuv:function:basic:Subtract"),
                      call("nuv:function:exponential:Square"), call("nuv:function:basic:Multiply"),
                      call("nuv:function:basic:Add")}}};
  // The knapsack with a nonlinear objective: each node of its search is a run of the NLP engine.
  vopRec minlp = knapsackModel();
  minlp.objectives[0] = {.expression = {Token::ofColumn(0)}};
  for (int j = 1; j < 40; ++j) {
    minlp.objectives[0].expression.push_back(Token::ofColumn(j));
    minlp.objectives[0].expression.push_back(call("nuv:function:exponential:Square"));
    minlp.objectives[0].expression.push_back(call("nuv:function:basic:Add"));
  }
  const struct {
    const char* path;
    vopRec model;
    std::vector<vopRec::Option> options;
    const char* trigger;  // null: half a second into the run
  } cases[] = {
      {"dual simplex after presolve", coveringModel(20000, 10000), {}, "Clp0006I"},
      {"dual simplex", coveringModel(20000, 10000), {{"presolve", "0"}}, "Clp0006I"},
      {"primal simplex", coveringModel(20000, 10000), {{"defaultAlg", "3"}}, "Clp0006I"},
      {"warm start", warm, {}, "Warm start"},
      {"barrier", coveringModel(4000, 2000), {{"defaultAlg", "4"}}, nullptr},
      {"quadratic", qp, {}, "Clp0006I"},
      {"root relaxation", relaxation, {}, nullptr},
      {"tree search", knapsackModel(), {}, "Cbc0010I"},
      {"threaded tree search", knapsackModel(), {{"mipThreads", "4"}}, "Cbc0010I"},
      {"NLP", nlp, {}, "iter"},
      {"MINLP", minlp, {}, "Cbc0010I"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    vopRec model = c.model;
    model.options = c.options;
    model.options.push_back({"timeLimit", "30"});
    std::atomic<bool> signalled{false};
    const std::size_t optimized = xprs::testing::countCalls("XPRSoptimize");
    std::vector<std::string> log;
    model.log = [&](std::string_view text) {
      log.emplace_back(text);
      if (c.trigger == nullptr || text.find(c.trigger) == std::string_view::npos ||
          signalled.exchange(true)) {
        return;
      }
      const std::size_t before = xprs::testing::countCalls("XPRSinterrupt");
      std::raise(SIGINT);
      const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
      while (xprs::testing::countCalls("XPRSinterrupt") == before &&
             std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    };
    std::thread late;
    if (c.trigger == nullptr) {
      late = std::thread([&] {
        while (xprs::testing::countCalls("XPRSoptimize") == optimized) {
          std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        signalled = true;
        std::raise(SIGINT);
      });
    }
    void* handle = nullptr;
    char text[256] = {};
    ASSERT_EQ(plugin_->create(&handle, text, sizeof text), 0) << text;
    const int result = plugin_->readyApi(handle, &model) || plugin_->callSolver(handle);
    plugin_->free(&handle);
    if (late.joinable()) late.join();
    EXPECT_EQ(result, 0) << testing::PrintToString(model.messages);
    EXPECT_TRUE(signalled) << testing::PrintToString(log);
    EXPECT_EQ(model.results.status, static_cast<int>(nuv::opt::SolveStatus::user_interrupt))
        << testing::PrintToString(log);
  }
}

TEST_F(ExportsTest, HostExits0Solved1WithoutASolutionAnd2OnErrors) {
  qelhost_test::TempFiles files;
  const std::string bad = files.write("bad.mps", "NAME x\nROWS\n N obj\nCOLUMNS\n garbage\n");
  const std::string infeasible =
      files.write("no.lp", "Minimize\n c: x\nSubject To\n a: x >= 5\n b: x <= 3\nEnd\n");
  const std::string production = QEL_EXAMPLES_DIR "/production.lp";
  // Arguments, exit status, and the start of standard output or of standard error.
  const std::tuple<std::vector<std::string>, int, std::string> cases[] = {
      {{production}, 0, "status: normal_completion\nobjective: 2420\n"},
      {{infeasible}, 1, "status: infeasible\n"},
      {{production, "lpIterLimit=1"}, 1, "status: iteration_limit\n"},
      {{production, "nosuchoption=1"}, 2, "qelhost: error: unknown option 'nosuchoption'\n"},
      {{bad},
       2,
       "qelhost: cannot read '" + bad +
           "': line 5: a COLUMNS line is a column and one or two pairs of row and value\n"},
  };
  for (const auto& [arguments, exit, text] : cases) {
    SCOPED_TRACE(arguments.back());
    std::ostringstream out, err;
    EXPECT_EQ(qelhost::run(arguments, {QELLINK64_PATH, ""}, out, err), exit);
    const std::string output = out.str();
    EXPECT_THAT(exit == 2 ? err.str() : output.substr(output.find("\nstatus: ") + 1),
                testing::StartsWith(text));
  }
}

// Solves that end without a solution leave the objective unset, and the bound too unless a
// search proved it; the host then prints "objective: none".
TEST_F(ExportsTest, RunsWithoutASolutionGiveNoObjectiveAndOnlyAProvedBound) {
  qelhost_test::TempFiles files;
  const std::string infeasible =
      files.write("no.lp", "Minimize\n c: x\nSubject To\n a: x >= 5\n b: x <= 3\nEnd\n");
  const std::string unbounded =
      files.write("unb.lp", "Minimize\n c: - x\nSubject To\n a: x - y >= 1\nEnd\n");
  // Binary, without an integer solution, which the root relaxation does not reveal.
  const std::string split =
      files.write("split.lp",
                  "Minimize\n c: x1 + x2 + x3 + x4 + x5 + x6 + x7 + x8\nSubject To\n"
                  " r: 12 x1 + 23 x2 + 34 x3 + 45 x4 + 56 x5 + 67 x6 + 78 x7 + 89 x8 = 200\n"
                  " s: 89 x1 + 78 x2 + 67 x3 + 56 x4 + 45 x5 + 34 x6 + 23 x7 + 12 x8 = 201\n"
                  "Binary\n x1 x2 x3 x4 x5 x6 x7 x8\nEnd\n");
  // A semi-continuous limit beyond what the optimizer takes: the run fails.
  const std::string failing =
      files.write("sc.mps",
                  "NAME SC\nROWS\n N obj\n G r\nCOLUMNS\n x obj 1 r 1\nRHS\n rhs r 1\n"
                  "BOUNDS\n LO bnd x 2000000000\n SC bnd x 3000000000\nENDATA\n");
  const std::string production = QEL_EXAMPLES_DIR "/production.lp";
  const struct {
    std::string path;
    std::optional<vopRec::Option> option;
    const char* status;
    int exit;
    bool bound;
  } cases[] = {
      {infeasible, {}, "infeasible", 1, false},
      {unbounded, {}, "unbounded", 1, false},
      {split, {}, "infeasible", 1, false},
      {split, vopRec::Option{"maxNode", "0"}, "node_limit", 1, true},
      {production, vopRec::Option{"lpIterLimit", "1"}, "iteration_limit", 1, false},
      {failing, {}, "solver_error", 2, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path + " " + c.status);
    vopRec model = qelhost::readModel(c.path);
    if (c.option) model.options = {*c.option};
    solve(model);
    EXPECT_EQ(qelhost::statusName(model.results.status), c.status);
    EXPECT_TRUE(model.results.values.empty());
    EXPECT_EQ(model.results.objective, std::nullopt);
    EXPECT_EQ(model.results.bound.has_value(), c.bound);
    if (c.bound) {
      // A bound the search proved is at least the optimum of the continuous relaxation.
      vopRec relaxed = qelhost::readModel(c.path);
      for (auto& column : relaxed.columns) column.type = vopRec::ColumnType::kContinuous;
      ASSERT_EQ(solve(relaxed), 0);
      EXPECT_GE(*model.results.bound, relaxed.results.objective.value() - 1e-6);
    }
    std::vector<std::string> arguments{c.path};
    if (c.option) arguments.push_back(c.option->name + "=" + c.option->value);
    std::ostringstream out, err;
    EXPECT_EQ(qelhost::run(arguments, {QELLINK64_PATH, ""}, out, err), c.exit);
    const std::string output = out.str();
    EXPECT_THAT(output, HasSubstr("status: " + std::string(c.status) + "\nobjective: none\n"));
    EXPECT_EQ(output.find("\nbound: ") != std::string::npos, c.bound);
  }
}

}  // namespace
}  // namespace qel_test
