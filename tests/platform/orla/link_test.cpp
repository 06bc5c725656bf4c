// The host link's own contract: the definition, construction and its test hook, the handing
// over of the model, options by name, and the containment of every failure.
#include "orla/link.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "orla/testing.hpp"
#include "orla/vop_rec.hpp"
#include "tests/platform/orla/link_test_support.hpp"
#include "tests/support/solver_double.hpp"

namespace orla_test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using P = orla::LinkDef::Plugin;
using A = orla::LinkDef::PluginAttrib;

TEST(LinkDefTest, RecordsEveryCallInOrderAndRefusesNumbersOutOfRange) {
  orla::LinkDef d;
  d.enable(P{2});
  d.setName(A{25}, "last");
  d.setName(A{0}, "first");
  d.setName(A{0}, "again");
  EXPECT_THAT(
      d.calls(),
      ElementsAre(orla::LinkDef::Call{true, 2, ""}, orla::LinkDef::Call{false, 25, "last"},
                  orla::LinkDef::Call{false, 0, "first"}, orla::LinkDef::Call{false, 0, "again"}));
  EXPECT_TRUE(d.enabled(P{2}));
  EXPECT_FALSE(d.enabled(P{1}));
  EXPECT_EQ(d.name(A{0}), "again");
  EXPECT_EQ(d.name(A{3}), "");
  EXPECT_THAT([&] { d.enable(P{16}); },
              testing::ThrowsMessage<std::invalid_argument>("feature 16 is not between 0 and 15"));
  EXPECT_THAT([&] { d.setName(A{-1}, "x"); }, testing::ThrowsMessage<std::invalid_argument>(
                                                  "feature setting -1 is not between 0 and 25"));
  EXPECT_EQ(d.calls().size(), 4u);
}

TEST(LinkConstructionTest, NeedsTheLibraryInitialisedAndASolver) {
  const auto solver = std::make_shared<qel_test::SolverDouble>();
  const int before = orla::testing::liveLinks();
  const auto build = [&](std::shared_ptr<qel_test::SolverDouble> s) {
    orla::Link link(std::move(s), orla::LinkDef());
  };
  EXPECT_THAT([&] { build(solver); },
              testing::ThrowsMessage<std::logic_error>("the host link library is not initialised"));
  orla::Link::initialize();
  orla::Link::initialize();
  orla::Link::finalize();
  EXPECT_THAT([&] { build(nullptr); },
              testing::ThrowsMessage<std::invalid_argument>("the host link needs a solver"));
  {
    orla::Link link(solver, fullDefinition());
    EXPECT_EQ(orla::testing::liveLinks(), before + 1);
    EXPECT_EQ(orla::testing::lastDefinition()->calls(), fullDefinition().calls());
  }
  EXPECT_EQ(orla::testing::liveLinks(), before);
  orla::Link::finalize();
  EXPECT_THAT([&] { build(solver); },
              testing::ThrowsMessage<std::logic_error>("the host link library is not initialised"));
}

TEST_F(LinkTest, HookMakesTheNextConstructorThrowOnce) {
  orla::testing::failNextLink("no room for a link");
  EXPECT_THAT([&] { orla::Link link(solver_, orla::LinkDef()); },
              testing::ThrowsMessage<std::runtime_error>("no room for a link"));
  EXPECT_NO_THROW(orla::Link(solver_, orla::LinkDef()));
  // The solver the failed construction was given is not kept.
  EXPECT_EQ(solver_.use_count(), 1);
}

TEST_F(LinkTest, RefusesToRunWithoutAModel) {
  orla::Link link(solver_, fullDefinition());
  EXPECT_EQ(link.callSolver(), 1);
  EXPECT_EQ(link.readyAPI(nullptr), 1);
  EXPECT_EQ(link.callSolver(), 1);
  EXPECT_TRUE(solver_->journal().empty());
}

TEST_F(LinkTest, SetsOptionsByNameWithoutRegardToCase) {
  vopRec m;
  m.options = {{"feastol", "0.25"},
               {"MAXNODE", "12"},
               {"logfile", "run.log"},
               {"flag", "yes"},
               {"LIMIT", "18446744073709551615"}};
  ASSERT_EQ(run(m), 0) << testing::PrintToString(m.messages);
  EXPECT_EQ(solver_->option("FeasTol"), "0.250000");
  EXPECT_EQ(solver_->option("MaxNode"), "12");
  EXPECT_EQ(solver_->option("LogFile"), "run.log");
  EXPECT_EQ(solver_->option("Flag"), "true");
  EXPECT_EQ(solver_->option("Limit"), "18446744073709551615");
}

TEST_F(LinkTest, RefusesBadOptionsBeforeLoadingAnything) {
  struct Case {
    vopRec::Option option;
    std::string message;
  };
  const Case cases[] = {
      {{"nope", "1"}, "error: unknown option 'nope'"},
      {{"FeasTol", "2"},
       "error: value '2' is out of range for option 'FeasTol' (the nearest accepted value is 1)"},
      {{"MaxNode", "-3"},
       "error: value '-3' is out of range for option 'MaxNode' (the nearest accepted value is 0)"},
      {{"FeasTol", "abc"}, "error: option 'FeasTol' takes a number, not 'abc'"},
      {{"FeasTol", "nan"}, "error: option 'FeasTol' takes a number, not 'nan'"},
      {{"MaxNode", "1.5"}, "error: option 'MaxNode' takes a whole number, not '1.5'"},
      {{"Limit", "-1"}, "error: option 'Limit' takes a whole number of at least 0, not '-1'"},
      {{"Flag", "maybe"}, "error: option 'Flag' takes 0 or 1, not 'maybe'"},
      {{"Fixed", "1"}, "error: option 'Fixed' cannot be set"},
      {{"Ghost", "1"}, "error: option 'Ghost' cannot be set"},
      {{"Quad", "1"}, "error: option 'Quad' has a type this host link cannot set"},
      {{"mipcleanup", "2"}, "error: option 'mipcleanup' takes 0 or 1, not '2'"},
      {{"objnabstol", "-1"}, "error: option 'objnabstol' takes a number of at least 0, not '-1'"},
      {{"miptracenode", "x"},
       "error: option 'miptracenode' takes a whole number of at least 0, not 'x'"},
      {{"MipStopExpr", "nodes > 10"},
       "error: option 'MipStopExpr' is not supported: this host link does not evaluate stop "
       "expressions"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.option.name + "=" + c.option.value);
    solver_ = std::make_shared<qel_test::SolverDouble>();
    vopRec m;
    m.columns = {column("x", 0, 1)};
    m.options = {c.option};
    EXPECT_EQ(run(m), 1);
    EXPECT_THAT(m.messages, ElementsAre(c.message));
    EXPECT_THAT(solver_->journal(), Not(testing::Contains("add variables 1")));
    EXPECT_FALSE(m.results.solved);
  }
}

TEST_F(LinkTest, LinkSettingsAnswerOnlyToFeaturesTheDefinitionEnables) {
  vopRec m;
  m.columns = {column("x", 0, 1)};
  m.options = {{"mipcleanup", "0"}};
  orla::LinkDef named;
  named.setName(A{1}, "mipcleanup");  // named, but feature 1 is not enabled
  EXPECT_EQ(run(m, named), 1);
  EXPECT_THAT(m.messages, ElementsAre("error: unknown option 'mipcleanup'"));
  EXPECT_EQ(run(m), 0);
  EXPECT_THAT(m.messages, ElementsAre());
}

TEST_F(LinkTest, TurnsEveryFailureOfTheSolverIntoAMessage) {
  struct Case {
    const char* op;
    const char* kind;
    std::string message;
  };
  const Case cases[] = {
      {"start", "std", "error: starting the solver: injected"},
      {"add", "nuv", "error: loading the variables: : injected"},
      {"solve", "std", "error: solving: injected"},
      {"solve", "int", "error: the solver failed with an exception of unknown type"},
      {"variables", "std", "error: reading the variable results: injected"},
      {"constraints", "nuv", "error: reading the row results: : injected"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.op) + "/" + c.kind);
    solver_ = std::make_shared<qel_test::SolverDouble>();
    solver_->failOn(c.op, c.kind);
    vopRec m;
    m.columns = {column("x", 0, 1)};
    m.rows = {row("r", 0, 1, {{0, 1.0}})};
    EXPECT_EQ(run(m), 1);
    EXPECT_THAT(m.messages, ElementsAre(c.message));
  }
}

TEST_F(LinkTest, LogGoesToTheHostSinkAndASinkThatThrowsLosesOnlyItsText) {
  solver_->script({{.log = {"first line", "second"}}});
  std::string seen;
  vopRec m;
  m.log = [&](std::string_view text) { seen.append(text); };
  ASSERT_EQ(run(m), 0);
  EXPECT_EQ(seen, "first line\nsecond\n");
  m.log = [](std::string_view) { throw std::runtime_error("sink broken"); };
  EXPECT_EQ(run(m), 0);
  EXPECT_TRUE(m.results.solved);
}

TEST_F(LinkTest, SecondRunClearsTheSolverAndLoadsAgain) {
  vopRec m;
  m.columns = {column("x", 2, 3)};
  orla::Link link(solver_, fullDefinition());
  ASSERT_EQ(link.readyAPI(&m), 0);
  ASSERT_EQ(link.callSolver(), 0);
  ASSERT_EQ(link.callSolver(), 0);
  const auto& j = solver_->journal();
  EXPECT_EQ(std::count(j.begin(), j.end(), "start"), 1);
  EXPECT_EQ(std::count(j.begin(), j.end(), "clear"), 1);
  EXPECT_EQ(solver_->columns().size(), 1u);
  EXPECT_THAT(m.results.values, ElementsAre(2.0));
}

TEST_F(LinkTest, ErrorsTheSolverLogsBecomeMessagesNotLogText) {
  solver_->script({{.status = nuv::opt::SolveStatus::solver_error,
                    .log = {"line"},
                    .errors = {"no licence", "gave up"}}});
  std::string seen;
  vopRec m;
  m.columns = {column("x", 0, 1)};
  m.columns[0].start = 0.5;
  m.columns.push_back(column("y", 0, 1));  // no start: a warning comes first
  m.log = [&](std::string_view text) { seen.append(text); };
  ASSERT_EQ(run(m), 0);
  EXPECT_EQ(seen, "line\n");
  EXPECT_THAT(m.messages,
              ElementsAre("warning: column start values are not passed on: only 1 of 2 have one",
                          "error: Double: no licence", "error: Double: gave up"));
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST_F(LinkTest, RefusesANaNAnywhereInTheRecordBeforeTouchingTheSolver) {
  using Token = vopRec::Token;
  const auto objective = [](vopRec::Objective o) {
    return [o](vopRec& m) { m.objectives.push_back(o); };
  };
  struct Case {
    std::function<void(vopRec&)> spoil;
    std::string message;
  };
  const Case cases[] = {
      {[](vopRec& m) { m.rows[0].lower = kNaN; }, "row 'r' has a NaN lower bound"},
      {[](vopRec& m) { m.rows[0].upper = kNaN; }, "row 'r' has a NaN upper bound"},
      {[](vopRec& m) { m.rows[0].terms[1].coef = kNaN; },
       "row 'r' has a NaN coefficient on column 'y'"},
      {[](vopRec& m) {
         m.rows.push_back({.quadratic = {{0, 2, kNaN}}});
       },
       "row 1 has a NaN coefficient on column 'x' times column 2"},
      {[](vopRec& m) { m.columns[0].upper = kNaN; }, "column 'x' has a NaN upper bound"},
      {[](vopRec& m) { m.columns[2].lower = kNaN; }, "column 2 has a NaN lower bound"},
      {[](vopRec& m) { m.columns[1].start = kNaN; }, "column 'y' has a NaN start value"},
      {[](vopRec& m) { m.columns[1].priority = kNaN; }, "column 'y' has a NaN priority"},
      {objective({.name = "cost", .terms = {{0, 1.0}, {1, kNaN}}}),
       "objective 'cost' has a NaN coefficient on column 'y'"},
      {objective({.constant = kNaN}), "objective 0 has a NaN constant"},
      {objective({.quadratic = {{1, 1, kNaN}}}),
       "objective 0 has a NaN coefficient on column 'y' times column 'y'"},
      {objective({.expression = {Token::ofColumn(0), Token::ofNumber(kNaN),
                                 Token::ofCall("nuv:function:basic:Add")}}),
       "objective 0 has a NaN number in its expression (token 1)"},
      {objective({.weight = kNaN}), "objective 0 has a NaN weight"},
      {objective({.absoluteTolerance = kNaN}), "objective 0 has a NaN absolute tolerance"},
      {objective({.relativeTolerance = kNaN}), "objective 0 has a NaN relative tolerance"},
      {[](vopRec& m) {
         m.sets = {{"s", 1, {0, 1}, {1, kNaN}}};
       },
       "set 's' has a NaN weight for column 'y'"},
      {[](vopRec& m) {
         m.indicators = {{"ind", 2, true, row("", 0, kNaN, {{1, 1.0}})}};
       },
       "indicator 'ind' has a NaN upper bound"},
      {[](vopRec& m) {
         m.indicators = {{"", 2, true, row("", 0, 1, {{1, kNaN}})}};
       },
       "indicator 0 has a NaN coefficient on column 'y'"},
      {[](vopRec& m) {
         m.nonlinearRows = {{"g", {Token::ofColumn(0)}, kNaN, 1}};
       },
       "nonlinear row 'g' has a NaN lower bound"},
      {[](vopRec& m) {
         m.nonlinearRows = {{"", {Token::ofNumber(kNaN)}, 0, 1}};
       },
       "nonlinear row 0 has a NaN number in its expression (token 0)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    solver_ = std::make_shared<qel_test::SolverDouble>();
    vopRec m;
    m.columns = {column("x", 0, 1), column("y", 0, 1), column("", 0, 1)};
    m.rows = {row("r", 1, 2, {{0, 1.0}, {1, 1.0}})};
    c.spoil(m);
    EXPECT_EQ(run(m), 1);
    EXPECT_THAT(m.messages, ElementsAre("error: " + c.message));
    EXPECT_THAT(solver_->journal(), ElementsAre());
  }
}

void hostSigint(int) {}

// Raises SIGINT while the solve runs, then waits for the link to ask the solver to stop.
TEST_F(LinkTest, SigintDuringTheSolveAsksTheSolverToStopAndTheHostsHandlerComesBack) {
  struct sigaction host {};
  host.sa_handler = hostSigint;
  struct sigaction saved {};
  ASSERT_EQ(sigaction(SIGINT, &host, &saved), 0);
  struct sigaction during {};
  solver_->script({{.status = nuv::opt::SolveStatus::user_interrupt, .log = {"running"}}});
  vopRec m;
  m.columns = {column("x", 1, 2)};
  // The sink sees each line in two parts, text and line feed: only the first raises.
  bool raised = false;
  m.log = [&](std::string_view) {
    if (std::exchange(raised, true)) return;
    sigaction(SIGINT, nullptr, &during);
    raise(SIGINT);
    // Bounded, so that a link that never asks fails instead of hanging.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (solver_->terminations() == 0 && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::yield();
    }
  };
  const int result = run(m);
  struct sigaction after {};
  sigaction(SIGINT, &saved, &after);
  EXPECT_EQ(result, 0);
  EXPECT_GE(solver_->terminations(), 1);
  EXPECT_NE(during.sa_handler, hostSigint);
  EXPECT_EQ(after.sa_handler, hostSigint);
  EXPECT_EQ(m.results.status, static_cast<int>(nuv::opt::SolveStatus::user_interrupt));
  EXPECT_THAT(m.results.values, ElementsAre(1.0));
}

TEST_F(LinkTest, SecondSigintDuringTheSolveEndsTheProcessAtOnce) {
  solver_->script({{.log = {"running"}}});
  vopRec m;
  m.columns = {column("x", 0, 1)};
  m.log = [](std::string_view) {
    raise(SIGINT);
    raise(SIGINT);
  };
  EXPECT_EXIT(run(m), testing::KilledBySignal(SIGINT), "");
}

}  // namespace
}  // namespace orla_test
