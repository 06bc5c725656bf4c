// The owned solution pool and enumerator against the optimizer stand-in: creation, clear, the
// checked calls, the message forwarding and enumerations of a small MIP. The fixture's TearDown
// expects no call on a dead handle and nothing left alive, so a double destroy or a leaked
// handle fails every test here.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <bit>
#include <climits>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "nuv/exception.hpp"
#include "qel/xpress/xpress_exception.hpp"
#include "qel/xpress/xpress_prob_view.hpp"
#include "qel/xpress/xpress_sol_enum.hpp"
#include "qel/xpress/xpress_sol_pool.hpp"
#include "tests/support/standin_test.hpp"
#include "xprs_testing.hpp"

namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::IsEmpty;
using ::testing::StartsWith;
using ::testing::StrEq;
using ::testing::ThrowsMessage;

namespace xt = xprs::testing;

struct Message {
  bool nullProblem;
  void* context;
  std::string text;
  int type;
  bool operator==(const Message&) const = default;
};
void PrintTo(const Message& m, std::ostream* os) {
  *os << (m.nullProblem ? "" : "problem, ") << m.context << ", \"" << m.text << "\", " << m.type;
}

std::vector<Message> received;

void recordMessage(XPRSprob prob, void* context, const char* text, int length, int type) {
  received.push_back(
      {prob == nullptr, context, std::string(text, static_cast<std::size_t>(length)), type});
}

class SolWrappersTest : public xprs_test::StandinTest {
 protected:
  void SetUp() override {
    StandinTest::SetUp();
    ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_OUTPUTLOG, 0), 0);
    view_.setProb(prob_);
    pool_.emplace();
    enum_.emplace();
    received.clear();
    xt::clearCalls();
  }
  void TearDown() override {
    enum_.reset();
    pool_.reset();
    EXPECT_EQ(xt::livePools() + xt::liveEnumerators(), 0);
    StandinTest::TearDown();
  }

  // maximise x0 + x1 + x2 + x3 subject to x0 + x1 + x2 + x3 <= 2, x binary.
  void loadMip() {
    const double obj[] = {1, 1, 1, 1};
    const double ub[] = {1, 1, 1, 1};
    ASSERT_EQ(XPRSaddcols64(prob_, 4, 0, obj, nullptr, nullptr, nullptr, nullptr, ub), 0);
    const XPRSint64 start[] = {0};
    const int cols[] = {0, 1, 2, 3};
    const double ones[] = {1, 1, 1, 1};
    const double rhs[] = {2};
    ASSERT_EQ(XPRSaddrows64(prob_, 1, 4, "L", rhs, nullptr, start, cols, ones), 0);
    ASSERT_EQ(XPRSchgcoltype(prob_, 4, cols, "BBBB"), 0);
    ASSERT_EQ(XPRSchgobjsense(prob_, XPRS_OBJ_MAXIMIZE), 0);
  }
  // Feasible points of that MIP with the given objective value, counted by brute force.
  static int pointsWithObjective(int value) {
    int n = 0;
    for (unsigned bits = 0; bits < 16; ++bits) {
      const int ones = std::popcount(bits);
      n += ones <= 2 && ones == value;
    }
    return n;
  }

  [[nodiscard]] const xt::PoolRecord& pool() const { return xt::inspect(pool_->handle()); }
  [[nodiscard]] const xt::EnumeratorRecord& enumerator() const {
    return xt::inspect(enum_->handle());
  }

  qel::XpressProbView view_;
  std::optional<qel::XpressSolPool> pool_;
  std::optional<qel::XpressSolEnum> enum_;
};

TEST_F(SolWrappersTest, EnumeratorStartsUnlimitedAndClampsItsSettings) {
  EXPECT_EQ(enum_->capacity(), INT_MAX);
  EXPECT_EQ(enum_->handlerBlock().maxCullRounds, INT_MAX);
  EXPECT_EQ(enum_->handlerBlock().verbosity, 0);
  EXPECT_EQ(enum_->handlerBlock().cullRound, 0);
  struct Case {
    int in, capacity, rounds, verbosity;
  };
  for (const Case& c : {Case{-3, 0, 0, 0}, Case{0, 0, 0, 0}, Case{1, 1, 1, 1}, Case{5, 5, 5, 2},
                        Case{INT_MIN, 0, 0, 0}}) {
    SCOPED_TRACE(c.in);
    enum_->setCapacity(c.in);
    enum_->setMaxCullRounds(c.in);
    enum_->setVerbosity(c.in);
    EXPECT_EQ(enum_->capacity(), c.capacity);
    EXPECT_EQ(enum_->handlerBlock().maxCullRounds, c.rounds);
    EXPECT_EQ(enum_->handlerBlock().verbosity, c.verbosity);
  }
  EXPECT_TRUE(xt::calls().empty());
}

// Every checked call, failing once with an injected error.
struct CheckedCall {
  const char* function;
  std::function<void(qel::XpressSolPool&, qel::XpressSolEnum&, qel::XpressProbView&)> call;
};
void PrintTo(const CheckedCall& c, std::ostream* os) { *os << c.function; }

const CheckedCall kChecked[] = {
    {"XPRS_msp_getintattrib", [](auto& p, auto&, auto&) { (void)p.getIntAttrib(6208); }},
    {"XPRS_msp_getdblattrib", [](auto& p, auto&, auto&) { (void)p.getDblAttrib(6208); }},
    {"XPRS_msp_getintcontrol", [](auto& p, auto&, auto&) { (void)p.getIntControl(6203); }},
    {"XPRS_msp_getdblcontrol", [](auto& p, auto&, auto&) { (void)p.getDblControl(6209); }},
    {"XPRS_msp_setintcontrol", [](auto& p, auto&, auto&) { p.setIntControl(6203, 0); }},
    {"XPRS_msp_setdblcontrol", [](auto& p, auto&, auto&) { p.setDblControl(6209, 0.5); }},
    {"XPRS_msp_probattach", [](auto& p, auto&, auto& v) { p.probAttach(v); }},
    {"XPRS_msp_probdetach", [](auto& p, auto&, auto& v) { p.probDetach(&v); }},
    {"XPRS_msp_setcbmsghandler", [](auto& p, auto&, auto&) { p.setCBMessage(recordMessage, &p); }},
    {"XPRS_msp_getsollist",
     [](auto& p, auto&, auto& v) { p.getSolList(v, 6500, 1, 1, 1, nullptr, nullptr, nullptr); }},
    {"XPRS_msp_getsol",
     [](auto& p, auto&, auto&) { p.getSol(1, nullptr, nullptr, 0, 0, nullptr); }},
    {"XPRS_mse_getintattrib", [](auto&, auto& e, auto&) { (void)e.getIntAttrib(6600); }},
    {"XPRS_mse_getdblattrib", [](auto&, auto& e, auto&) { (void)e.getDblAttrib(6608); }},
    {"XPRS_mse_getintcontrol", [](auto&, auto& e, auto&) { (void)e.getIntControl(6601); }},
    {"XPRS_mse_getdblcontrol", [](auto&, auto& e, auto&) { (void)e.getDblControl(6609); }},
    {"XPRS_mse_setintcontrol", [](auto&, auto& e, auto&) { e.setIntControl(6601, 1); }},
    {"XPRS_mse_setdblcontrol", [](auto&, auto& e, auto&) { e.setDblControl(6609, 0.5); }},
    {"XPRS_mse_setcbmsghandler", [](auto&, auto& e, auto&) { e.setCBMessage(recordMessage, &e); }},
};

class SolCheckedCallTest : public SolWrappersTest,
                           public ::testing::WithParamInterface<CheckedCall> {};

TEST_P(SolCheckedCallTest, FailureRaisesTheObjectsOwnErrorText) {
  const CheckedCall& c = GetParam();
  xt::failNext(c.function, 32, "injected");
  EXPECT_THAT([&] { c.call(*pool_, *enum_, view_); },
              ThrowsMessage<qel::XpressException>(
                  StrEq(std::string("Xpress (32): injected [Trace: ") + c.function + "]")));
  const std::string reader = std::string(c.function).substr(0, 9) + "getlasterror";
  ASSERT_EQ(xt::countCalls(reader), 1u);
  for (const auto& call : xt::calls()) {
    if (call.function == reader) {
      EXPECT_EQ(call.digest, "code=NULL msg=set maxbytes=512 nbytes=NULL");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EveryCall, SolCheckedCallTest, ::testing::ValuesIn(kChecked),
                         [](const auto& info) { return std::string(info.param.function); });

TEST_F(SolWrappersTest, AttachAndDetachRefuseAnUnstartedProblemBeforeXpress) {
  qel::XpressProbView unstarted;
  const std::function<void()> calls[] = {[&] { pool_->probAttach(unstarted); },
                                         [&] { pool_->probDetach(&unstarted); }};
  for (const auto& call : calls) {
    EXPECT_THAT(call,
                ThrowsMessage<nuv::Exception>(StrEq(": Requires model to be started first.")));
  }
  pool_->probDetach(nullptr);
  EXPECT_TRUE(xt::calls().empty());
}

TEST_F(SolWrappersTest, CallsReachXpressAndValuesComeBack) {
  pool_->setIntControl(XPRS_MSP_DUPLICATESOLUTIONSPOLICY, 0);
  EXPECT_EQ(pool_->getIntControl(XPRS_MSP_DUPLICATESOLUTIONSPOLICY), 0);
  enum_->setIntControl(XPRS_MSE_CALLBACKCULLSOLS_DIVERSITY, 4);
  EXPECT_EQ(enum_->getIntControl(XPRS_MSE_CALLBACKCULLSOLS_DIVERSITY), 4);
  xt::setIntAttrib(enum_->handle(), XPRS_MSE_SOLUTIONS, 3);
  EXPECT_EQ(enum_->getIntAttrib(XPRS_MSE_SOLUTIONS), 3);

  loadMip();
  pool_->probAttach(view_);
  EXPECT_THAT(pool().attached, ElementsAre(prob_));
  xt::RunScript run;
  run.events.push_back(xt::ScriptEvent::intSol(1, {1, 0, 0, 0}));
  run.events.push_back(xt::ScriptEvent::intSol(2, {0, 1, 1, 0}));
  xt::script(prob_, run);
  ASSERT_EQ(XPRSoptimize(prob_, "", nullptr, nullptr), 0);
  pool_->probDetach(&view_);
  EXPECT_THAT(pool().attached, IsEmpty());
  EXPECT_EQ(pool_->getIntAttrib(XPRS_MSP_SOLUTIONS), 2);

  int ids[2] = {};
  int returned = 0;
  int total = 0;
  // Best objective first in a maximisation: rank by objective, descending.
  pool_->getSolList(view_, XPRS_MSP_SOLPRB_OBJ, 0, 1, 2, ids, &returned, &total);
  EXPECT_THAT(ids, ElementsAre(2, 1));
  EXPECT_EQ(returned, 2);
  EXPECT_EQ(total, 2);
  double x[3] = {};
  int status = -5;
  pool_->getSol(2, &status, x, 1, 3, &returned);
  EXPECT_THAT(x, ElementsAre(1, 1, 0));
  EXPECT_EQ(status, 0);
  EXPECT_EQ(returned, 3);
}

TEST_F(SolWrappersTest, MessagesGoToTheLatestRegistration) {
  struct Case {
    const char* what;
    std::function<void(qel::MessageCallback, void*)> install;
    std::function<void(const char*, int)> emit;
  };
  int first = 0;
  int second = 0;
  const Case cases[] = {
      {"pool", [&](qel::MessageCallback f, void* c) { pool_->setCBMessage(f, c); },
       [&](const char* t, int type) { xt::emitMessage(pool_->handle(), t, type); }},
      {"enumerator", [&](qel::MessageCallback f, void* c) { enum_->setCBMessage(f, c); },
       [&](const char* t, int type) { xt::emitMessage(enum_->handle(), t, type); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    received.clear();
    c.install(recordMessage, &first);
    c.emit("hello", 3);
    c.emit(nullptr, 1);
    c.emit("", 4);
    c.install(recordMessage, &second);
    c.emit("again\n", 1);
    c.install(nullptr, nullptr);
    c.emit("dropped", 1);
    EXPECT_THAT(received,
                ElementsAre(Message{true, &first, "hello", 3}, Message{true, &first, "", 4},
                            Message{true, &second, "again\n", 1}));
  }
}

TEST_F(SolWrappersTest, ClearReplacesTheObjectsAndDropsTheirMessages) {
  int context = 0;
  pool_->setCBMessage(recordMessage, &context);
  enum_->setCBMessage(recordMessage, &context);
  enum_->setCapacity(5);
  enum_->setMaxCullRounds(3);
  enum_->setVerbosity(1);
  const XPRSmipsolpool oldPool = pool_->handle();
  const XPRSmipsolenum oldEnum = enum_->handle();
  pool_->setIntControl(XPRS_MSP_DUPLICATESOLUTIONSPOLICY, 0);
  pool_->clear();
  enum_->clear();
  EXPECT_NE(pool_->handle(), oldPool);
  EXPECT_NE(enum_->handle(), oldEnum);
  EXPECT_EQ(xt::livePools(), 1);
  EXPECT_EQ(xt::liveEnumerators(), 1);
  EXPECT_THAT(pool().intControls, IsEmpty());
  EXPECT_EQ(enum_->capacity(), INT_MAX);
  EXPECT_EQ(enum_->handlerBlock().maxCullRounds, 3);
  EXPECT_EQ(enum_->handlerBlock().verbosity, 1);
  EXPECT_EQ(enum_->handlerBlock().msgCtx, &context);
  EXPECT_EQ(pool_->messageTarget().msgCtx, &context);
  xt::emitMessage(pool_->handle(), "lost", 1);
  xt::emitMessage(enum_->handle(), "lost", 1);
  EXPECT_THAT(received, IsEmpty());
}

TEST_F(SolWrappersTest, FailedCreationRaisesTheFixedTextAndLeavesNoDestroyedHandle) {
  struct Case {
    const char* function;
    std::string text;
    std::function<void()> create, clear;
    std::function<bool()> hasHandle;
  };
  const Case cases[] = {
      {"XPRS_msp_create", "Xpress (7): Cannot create solution pool. [Trace: XPRS_msp_create]",
       [] { qel::XpressSolPool pool; }, [&] { pool_->clear(); },
       [&] { return pool_->handle() != nullptr; }},
      {"XPRS_mse_create", "Xpress (7): Cannot create solution enumerator. [Trace: XPRS_mse_create]",
       [] { qel::XpressSolEnum enumerator; }, [&] { enum_->clear(); },
       [&] { return enum_->handle() != nullptr; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.function);
    for (const auto& create : {c.create, c.clear}) {
      xt::failNextKeepingHandle(c.function, 7, "not this text");
      xt::clearCalls();
      EXPECT_THAT(create, ThrowsMessage<qel::XpressException>(StrEq(c.text)));
      EXPECT_EQ(xt::countCalls("XPRS_msp_getlasterror") + xt::countCalls("XPRS_mse_getlasterror"),
                0u);
    }
    EXPECT_FALSE(c.hasHandle());
    c.clear();  // only creates: there is nothing left to destroy
    EXPECT_TRUE(c.hasHandle());
  }
  // Both wrappers end without their object; TearDown sees no second destroy.
  for (const char* f : {"XPRS_msp_create", "XPRS_mse_create"}) xt::failNextKeepingHandle(f, 7, "");
  EXPECT_THROW(pool_->clear(), qel::XpressException);
  EXPECT_THROW(enum_->clear(), qel::XpressException);
}

TEST_F(SolWrappersTest, EnumerationKeepsTheCapacityAndCutsOffWorseSolutions) {
  loadMip();
  pool_->setCBMessage(recordMessage, nullptr);
  enum_->setCBMessage(recordMessage, nullptr);
  enum_->setCapacity(3);
  const int optimal = pointsWithObjective(2);
  ASSERT_GT(optimal, 3);
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run);
    // The second run starts its round count afresh: with the limit at what the first run used,
    // a carried-over count would stop it at its first full pool.
    if (run == 1) enum_->setMaxCullRounds(optimal - 3);
    ASSERT_EQ(pool_->getIntAttrib(XPRS_MSP_SOLUTIONS), 0);
    EXPECT_EQ(enum_->opt(view_, *pool_), 0);
    // Both cull counts are negative: each full pool falls back to the objective, finds no
    // stored solution worse than the new optimal one, so the new one is rejected and the cutoff
    // is set to the stored set, which stops every worse solution.
    ASSERT_EQ(pool().solutions.size(), 3u);
    for (const auto& s : pool().solutions) EXPECT_EQ(s.objective, 2);
    EXPECT_EQ(enumerator().solutionsFound, optimal);
    EXPECT_EQ(enumerator().solutionsRejected, optimal - 3);
    EXPECT_EQ(enum_->handlerBlock().cullRound, optimal - 3);
    EXPECT_THAT(pool().deleted, IsEmpty());
    EXPECT_THAT(xt::inspect(prob_).interrupts, IsEmpty());
    pool_->clear();
  }
  // At verbosity 0 only the enumerator's own messages arrive, none of the culling handler's.
  EXPECT_THAT(received, Each(Field(&Message::text, StartsWith("Solution enumeration:"))));
  EXPECT_EQ(received.size(), 2u);
}

TEST_F(SolWrappersTest, EnumerationStopsOnceTheCullRoundsAreUsedUp) {
  loadMip();
  enum_->setCBMessage(recordMessage, nullptr);
  enum_->setCapacity(3);
  enum_->setMaxCullRounds(1);
  enum_->setVerbosity(1);
  EXPECT_EQ(enum_->opt(view_, *pool_), 0);
  EXPECT_EQ(pool().solutions.size(), 3u);
  EXPECT_EQ(enumerator().solutionsFound, 5);  // three stored, one culled in vain, one refused
  EXPECT_EQ(enumerator().solutionsRejected, 2);
  EXPECT_THAT(xt::inspect(prob_).interrupts, ElementsAre(XPRS_STOP_USER));
  EXPECT_THAT(
      received,
      ElementsAre(
          Message{true, nullptr, "MIP soln pool is full: starting cull round 1\n", 1},
          Message{true, nullptr,
                  "Terminating MIP solution enumerator: the pool is full (cap = 3)\n", 1},
          Message{true, nullptr, "and we have reached the limit (1) on culling rounds\n", 1},
          Field(&Message::text, StartsWith("Solution enumeration:"))));
}

TEST_F(SolWrappersTest, OptHandsBackTheEnumerationsReturnCode) {
  xt::failNext("XPRS_mse_opt", 32, "injected");
  EXPECT_EQ(enum_->opt(view_, *pool_), 32);
}

}  // namespace
