// The solver against the optimizer stand-in: life cycle, messages, callback contexts, adder
// factories and the fix command.
#include "qel/solver/solver.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <numeric>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "nuv/opt/abstract_callback.hpp"
#include "nuv/opt/abstract_constraint_adder.hpp"
#include "nuv/opt/abstract_linked_constraint_adder.hpp"
#include "nuv/opt/abstract_log.hpp"
#include "nuv/opt/abstract_variable_adder.hpp"
#include "nuv/opt/context.hpp"
#include "nuv/opt/keys.hpp"
#include "qel/data.hpp"
#include "qel/solver/fix_command.hpp"
#include "qel/xpress/xpress_exception.hpp"
#include "xprs_testing.hpp"

namespace qel_test {
namespace {

using ::testing::ElementsAre;
using ::testing::ThrowsMessage;
namespace opt = nuv::opt;
namespace xt = xprs::testing;
using Event = xt::ScriptEvent;

const char kNotStarted[] = ": Requires model to be started first.";

struct RecordingLog final : opt::AbstractLog {
  void print(std::string_view t) const override { lines.push_back("print " + std::string(t)); }
  void println(std::string_view t) const override { lines.push_back("line " + std::string(t)); }
  void error(std::string_view title, std::string_view t) const override {
    lines.push_back("error " + std::string(title) + ": " + std::string(t));
  }
  mutable std::vector<std::string> lines;
};

struct HostCallback final : opt::AbstractCallback {
  explicit HostCallback(std::function<void(const nuv::TagIndex&)> f) : onNotify(std::move(f)) {}
  void notify(const nuv::TagIndex& context) override { onNotify(context); }
  std::function<void(const nuv::TagIndex&)> onNotify;
};

// Whether another thread finds the mutex taken.
bool heldElsewhere(std::mutex& mutex) {
  return !std::async(std::launch::async, [&] {
            const bool got = mutex.try_lock();
            if (got) mutex.unlock();
            return got;
          }).get();
}

class SolverTest : public ::testing::Test {
 protected:
  void SetUp() override { xt::reset(); }
  void TearDown() override {
    solver_.reset();
    xt::clearFailures();
    EXPECT_EQ(xt::initCount(), 0);
    EXPECT_EQ(xt::liveProblems() + xt::livePools() + xt::liveEnumerators(), 0);
    EXPECT_EQ(xt::handleMisuse(), 0);
  }
  static std::vector<std::string> journal() {
    std::vector<std::string> names;
    for (const auto& call : xt::calls()) names.push_back(call.function);
    xt::clearCalls();
    return names;
  }
  [[nodiscard]] qel::Data& data() const { return *solver_->data(); }
  [[nodiscard]] XPRSprob prob() const { return data().prob->rawProb(); }
  // Columns of the given types in [0, upper], the row a·x (type) rhs and the objective c·x to
  // minimise.
  void load(const std::vector<char>& types, const std::vector<double>& upper,
            const std::vector<double>& a, char type, double rhs, const std::vector<double>& c) {
    const int n = static_cast<int>(types.size());
    std::vector<XPRSint64> starts(types.size());
    std::vector<int> rows(types.size(), 0), columns(types.size());
    std::iota(starts.begin(), starts.end(), 0);
    std::iota(columns.begin(), columns.end(), 0);
    data().prob->addRows(1, 0, &type, &rhs, nullptr, starts.data(), nullptr, nullptr);
    data().prob->addCols(n, n, c.data(), starts.data(), rows.data(), a.data(), nullptr,
                         upper.data());
    data().prob->chgColType(n, columns.data(), types.data());
  }
  // A strongly correlated knapsack, solved without cuts and heuristics: the search takes
  // hundreds of nodes and improves its incumbent several times.
  void loadKnapsack() {
    solver_->start({}, "");
    std::vector<double> weights, profits;
    for (int j = 0; j < 24; ++j) {
      weights.push_back(20 + (j * 37) % 61);
      profits.push_back(-(weights.back() + 10));
    }
    load(std::vector(24, 'I'), std::vector(24, 1.0), weights, 'L', 601.0, profits);
    data().prob->setIntControl(XPRS_CUTSTRATEGY, 0);
    data().prob->setIntControl(XPRS_HEUREMPHASIS, 0);
  }
  int optimize() {
    data().prob->setIntControl(XPRS_OUTPUTLOG, 0);
    EXPECT_EQ(data().prob->optimize("", nullptr, nullptr), 0) << data().prob->getLastError();
    return data().prob->getIntAttrib(XPRS_STOPSTATUS);
  }
  // A run of events with the progress and node contexts added and log_ as the log; the view
  // must be unbound and its lock free afterwards.
  int play(std::vector<Event> events) {
    solver_->start({}, "");
    solver_->setLog(log_);
    solver_->addCallbackContext(opt::context::progress);
    solver_->addCallbackContext(opt::context::node);
    xt::RunScript run;
    run.events = std::move(events);
    xt::script(prob(), run);
    const int stop = optimize();
    EXPECT_EQ(data().callbackState.probView->rawProb(), nullptr);
    EXPECT_FALSE(heldElsewhere(data().callbackState.probViewMutex));
    return stop;
  }
  static std::shared_ptr<HostCallback> host(std::function<void(const nuv::TagIndex&)> f) {
    return std::make_shared<HostCallback>(std::move(f));
  }
  std::shared_ptr<qel::Solver> solver_ = std::make_shared<qel::Solver>();
  std::shared_ptr<RecordingLog> log_ = std::make_shared<RecordingLog>();
};

TEST_F(SolverTest, StartsOnceAndReleasesInOrderAndUnstartedMakesNoCall) {
  // Made after the fixture emptied the journal, so that construction itself is checked too.
  solver_ = std::make_shared<qel::Solver>();
  EXPECT_FALSE(solver_->setLog(nullptr) || solver_->setCallback(nullptr));
  EXPECT_EQ(solver_->getCallback(), nullptr);
  EXPECT_THAT([&] { solver_->terminate(); }, ThrowsMessage<nuv::Exception>(kNotStarted));
  solver_->clear();
  solver_ = std::make_shared<qel::Solver>();
  EXPECT_THAT(journal(), ::testing::IsEmpty());
  solver_->start({}, "");
  solver_->start({}, "");
  EXPECT_THAT(journal(), ElementsAre("XPRSinit", "XPRScreateprob", "XPRS_msp_create",
                                     "XPRS_mse_create", "XPRSaddcbmessage",
                                     "XPRS_msp_setcbmsghandler", "XPRS_mse_setcbmsghandler"));
  solver_->clear();
  EXPECT_TRUE(solver_->started());
  journal();
  solver_.reset();
  EXPECT_THAT(journal(), ElementsAre("XPRS_msp_setcbmsghandler", "XPRS_msp_probdetach",
                                     "XPRS_mse_setcbmsghandler", "XPRS_msp_destroy",
                                     "XPRS_mse_destroy", "XPRSdestroyprob", "XPRSfree"));
}

TEST_F(SolverTest, FailedStartIsCompletedByTheNextAndReleasedWithTheSolverOrByClear) {
  // The failing function, its text, and what follows: 's' a start that completes the failed
  // one, 'c' a clear that releases the library, '-' nothing.
  const std::tuple<const char*, std::string, char> cases[] = {
      {"XPRSinit", "no licence", '-'},
      {"XPRScreateprob", "Cannot create problem.", 'c'},
      {"XPRS_msp_create", "Cannot create solution pool.", 's'},
      {"XPRS_mse_create", "Cannot create solution enumerator.", '-'},
  };
  for (const auto& [function, text, then] : cases) {
    SCOPED_TRACE(function);
    solver_ = std::make_shared<qel::Solver>();
    xt::failNext(function, 32, "no licence");
    EXPECT_THAT(
        [&] { solver_->start({}, ""); },
        ThrowsMessage<qel::XpressException>("Xpress (32): " + text + " [Trace: " + function + "]"));
    if (then == 's') solver_->start({}, "");
    EXPECT_EQ(xt::countCalls("XPRSaddcbmessage") + xt::countCalls("XPRS_mse_setcbmsghandler"),
              then == 's' ? 2U : 0U);
    if (then == 'c') {
      solver_->clear();
      EXPECT_EQ(xt::initCount(), 0);
    }
    solver_.reset();
    EXPECT_EQ(xt::initCount(), 0);
    xt::reset();
  }
}

TEST_F(SolverTest, MessagesGoToTheLogByTypeAndLineEnding) {
  solver_->start({}, "");
  solver_->setLog(log_);
  xt::emitMessage(prob(), "abc\n", XPRS_MSG_INFO);
  xt::emitMessage(prob(), "abc", XPRS_MSG_WARNING);
  xt::emitMessage(prob(), "", XPRS_MSG_INFO);
  xt::emitMessage(prob(), "failed", XPRS_MSG_ERROR);
  xt::emitMessage(data().solPool->handle(), "pool", XPRS_MSG_INFO);
  xt::emitMessage(data().solEnum->handle(), "enumerator\n", XPRS_MSG_WARNING);
  EXPECT_THAT(log_->lines,
              ElementsAre("print abc\n", "line abc", "line pool", "print enumerator\n"));
  solver_->clear();
  EXPECT_NE(solver_->getLog(), log_);
  solver_->setLog(log_);
  xt::emitMessage(prob(), "after clear", XPRS_MSG_INFO);
  EXPECT_EQ(log_->lines.size(), 4U);
}

TEST_F(SolverTest, EachContextRegistersItsCallback) {
  EXPECT_THAT([&] { solver_->addCallbackContext(opt::context::node); },
              ThrowsMessage<nuv::Exception>(kNotStarted));
  solver_->start({}, "");
  for (const nuv::TagIndex context :
       {nuv::TagIndex{"nuv:context", 3}, opt::command::fix, nuv::TagIndex{"NUV:context", 1}}) {
    EXPECT_FALSE(solver_->addCallbackContext(context));
  }
  for (const auto& c : {opt::context::progress, opt::context::node, opt::context::new_incumbent}) {
    EXPECT_TRUE(solver_->addCallbackContext(c));
  }
  std::vector<xt::CallbackKind> kinds;
  for (const auto& callback : xt::inspect(prob()).callbacks) {
    kinds.push_back(callback.kind);
    EXPECT_TRUE(callback.data == &data().callbackState && callback.priority == 0);
  }
  EXPECT_THAT(kinds, ElementsAre(xt::CallbackKind::Message, xt::CallbackKind::CheckTime,
                                 xt::CallbackKind::OptNode, xt::CallbackKind::IntSol));
  EXPECT_EQ(xt::inspect(prob()).intControls.at(XPRS_CALLBACKCHECKTIMEDELAY), 50);
  EXPECT_TRUE(data().prob->modifiedControl(XPRS_CALLBACKCHECKTIMEDELAY));
}

TEST_F(SolverTest, HostCallbackReadsTheRunningProblemThroughTheView) {
  loadKnapsack();
  std::vector<int> nodes;
  std::vector<double> incumbents;
  solver_->setCallback(host([&](const nuv::TagIndex& context) {
    EXPECT_NE(data().callbackState.probView->rawProb(), prob());
    EXPECT_TRUE(heldElsewhere(data().callbackState.probViewMutex));
    if (context == opt::context::node)
      nodes.push_back(data().callbackState.probView->getIntAttrib(XPRS_NODES));
    if (context == opt::context::new_incumbent) {
      incumbents.push_back(data().callbackState.probView->getDblAttrib(XPRS_MIPOBJVAL));
    }
  }));
  for (const auto& c : {opt::context::progress, opt::context::node, opt::context::new_incumbent}) {
    solver_->addCallbackContext(c);
  }
  EXPECT_EQ(optimize(), XPRS_STOP_NONE);
  EXPECT_GT(nodes.size(), 10U);
  EXPECT_TRUE(std::is_sorted(nodes.begin(), nodes.end()) && nodes.front() < nodes.back());
  ASSERT_FALSE(incumbents.empty());
  EXPECT_TRUE(std::is_sorted(incumbents.rbegin(), incumbents.rend()));
  EXPECT_EQ(incumbents.back(), data().prob->getDblAttrib(XPRS_MIPOBJVAL));
  EXPECT_EQ(data().callbackState.probView->rawProb(), nullptr);
}

TEST_F(SolverTest, TerminateFromTheHostCallbackStopsTheRun) {
  loadKnapsack();
  int calls = 0;
  solver_->setCallback(host([&](const nuv::TagIndex&) {
    if (++calls == 5) solver_->terminate();
  }));
  solver_->addCallbackContext(opt::context::node);
  EXPECT_EQ(optimize(), XPRS_STOP_USER);
  EXPECT_EQ(calls, 5);
}

TEST_F(SolverTest, HostSeesNoCheckTimeBeforeTheRunKindAndAFailingOrMissingHostStopsTheRun) {
  std::vector<nuv::TagIndex> seen;
  solver_->setCallback(host([&](const nuv::TagIndex& c) { seen.push_back(c); }));
  EXPECT_EQ(play({Event::checkTime(-1), Event::checkTime(1), Event::optNode()}), XPRS_STOP_NONE);
  EXPECT_THAT(seen, ElementsAre(opt::context::progress, opt::context::node));
  solver_->clear();
  solver_->setCallback(host([&](const nuv::TagIndex& c) {
    seen.push_back(c);
    throw std::runtime_error("boom");
  }));
  EXPECT_EQ(play({Event::optNode(), Event::optNode()}), XPRS_STOP_USER);
  EXPECT_EQ(seen.size(), 3U);
  solver_->clear();
  EXPECT_EQ(play({Event::optNode()}), XPRS_STOP_USER);
  EXPECT_THAT(log_->lines,
              ElementsAre("error Callback: boom",
                          "error Callback: no host callback is set; the optimisation is "
                          "interrupted."));
}

TEST_F(SolverTest, FactoriesServeTheirTagPairsOnly) {
  const nuv::Tag domains[] = {
      opt::static_bounded_domain::tag, opt::sense_domain::tag, opt::sos_domain::tag,
      opt::interval_domain::tag,       "NUV:sense_domain",     "nuv:sense_domain "};
  const nuv::Tag functions[] = {opt::linear_function::tag, opt::quadratic_function::tag,
                                opt::identity_function::tag, "nuv:linear"};
  const qel::Data& d = data();
  const std::uint64_t served[6][4] = {{d.linConAdderId, d.quadConAdderId, d.nonlinConAdderId, 0},
                                      {d.linObjAdderId, d.quadObjAdderId, d.nonlinObjAdderId, 0},
                                      {0, 0, d.sosConAdderId, 0}};
  const auto idOf = [](const auto& adder) { return adder ? adder->id() : 0; };
  for (std::size_t i = 0; i < std::size(domains); ++i) {
    for (std::size_t k = 0; k < std::size(functions); ++k) {
      SCOPED_TRACE(std::string(domains[i]) + " " + std::string(functions[k]));
      const auto adder = solver_->constraintAdder(functions[k], domains[i], nullptr);
      EXPECT_EQ(idOf(adder), served[i][k]);
      EXPECT_EQ(solver_->constraintAdder(functions[k], domains[i], &opt::context::node), nullptr);
      if (adder) {
        EXPECT_NE(solver_->constraintAdder(functions[k], domains[i], nullptr), adder);
      }
    }
    EXPECT_EQ(idOf(solver_->variableAdder(domains[i], nullptr)), i == 3 ? d.varAdderId : 0);
  }
  EXPECT_EQ(solver_->variableAdder(opt::interval_domain::tag, &opt::context::node), nullptr);

  const nuv::Tag sb = opt::static_bounded_domain::tag, id = opt::identity_function::tag,
                 lin = opt::linear_function::tag;
  const auto link = opt::constraint_link::indicator;
  const auto linked = [&](nuv::TagIndex l, nuv::Tag f1, nuv::Tag d2, nuv::Tag f2,
                          const nuv::TagIndex* context = nullptr) {
    return idOf(solver_->linkedConstraintAdder(l, f1, sb, f2, d2, context));
  };
  EXPECT_EQ(linked(link, id, sb, lin), d.indicConAdderId);
  EXPECT_EQ(linked(link, id, sb, opt::quadratic_function::tag), d.indicConAdderId);
  EXPECT_EQ(linked({"nuv:constr_link", 1}, id, sb, lin) + linked(link, lin, sb, lin) +
                linked(link, id, opt::sense_domain::tag, lin) + linked(link, id, sb, id) +
                linked(link, id, sb, lin, &opt::context::node),
            0U);
}

// min -3x - y with 2x + y <= 7.5, x integer in [0, 10], y in [0, 5]: the MIP optimum is x = 3,
// y = 1.5; with x fixed at 3 the row binds y, so its dual is -1.
TEST_F(SolverTest, FixCommandTurnsTheMipIntoAnLpWithDuals) {
  qel::FixNonContinuousCommand fix(solver_->data());
  EXPECT_TRUE(fix.active());
  EXPECT_THAT([&] { fix.call(); }, ThrowsMessage<nuv::Exception>(kNotStarted));
  solver_->start({}, "");
  load({'I', 'C'}, {10.0, 5.0}, {2.0, 1.0}, 'L', 7.5, {-3.0, -1.0});
  optimize();
  xt::failNext("XPRSfixmipentities", 32, "refused");
  EXPECT_THROW(fix.call(), qel::XpressException);
  EXPECT_TRUE(fix.active());
  fix.call();
  fix.call();
  EXPECT_FALSE(fix.active());
  EXPECT_THAT(xt::inspect(prob()).fixRequests, ElementsAre(1));
  optimize();
  EXPECT_EQ(data().prob->getIntAttrib(XPRS_OPTIMIZETYPEUSED), XPRS_OPTIMIZETYPE_LP);
  double dual = 0.0;
  EXPECT_EQ(data().prob->getDuals(&dual, 0, 0), XPRS_SOLAVAILABLE_OPTIMAL);
  EXPECT_NEAR(dual, -1.0, 1e-9);
  solver_->clear();
  EXPECT_TRUE(fix.active());
  solver_.reset();
  EXPECT_FALSE(fix.active());
  EXPECT_NO_THROW(fix.call());
}

}  // namespace
}  // namespace qel_test
