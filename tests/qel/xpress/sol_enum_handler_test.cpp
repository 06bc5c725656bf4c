// The culling handler of the solution enumerator, called directly as Xpress would call it, on a
// stand-in pool holding four solutions (ids 1 to 4), with the stored count and the cull choices
// scripted. What the handler asked Xpress is read back from the call journal.
#include "qel/xpress/sol_enum_handler.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "qel/xpress/xpress_prob_view.hpp"
#include "qel/xpress/xpress_sol_enum.hpp"
#include "qel/xpress/xpress_sol_pool.hpp"
#include "tests/support/standin_test.hpp"
#include "xprs_testing.hpp"

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

namespace xt = xprs::testing;

constexpr int kCapacity = 4;
constexpr int kUntouched = 7;  // the cutoff flag as passed in, to see whether it was written

struct Message {
  bool nullProblem;
  std::string text;
  int type;
  bool operator==(const Message&) const = default;
};

void recordMessage(XPRSprob prob, void* context, const char* text, int length, int type) {
  static_cast<std::vector<Message>*>(context)->push_back(
      {prob == nullptr, std::string(text, static_cast<std::size_t>(length)), type});
}

Message info(std::string text) { return {true, std::move(text), 1}; }

struct Outcome {
  int result;
  int reject;
  int cutoff;
};

class SolEnumHandlerTest : public xprs_test::StandinTest {
 protected:
  void SetUp() override {
    StandinTest::SetUp();
    const double ub[] = {3, 3};
    ASSERT_EQ(XPRSaddcols64(prob_, 2, 0, nullptr, nullptr, nullptr, nullptr, nullptr, ub), 0);
    const int cols[] = {0, 1};
    ASSERT_EQ(XPRSchgcoltype(prob_, 2, cols, "II"), 0);
    renew();
  }
  void TearDown() override {
    enum_.reset();
    pool_.reset();
    EXPECT_EQ(xt::livePools() + xt::liveEnumerators(), 0);
    StandinTest::TearDown();
  }

  // A new pool holding four distinct solutions (ids 1 to 4), a new enumerator that reports them
  // as stored, a new handler block that records its messages, and an empty journal.
  void renew() {
    enum_.reset();
    pool_.emplace();
    enum_.emplace();
    qel::XpressProbView view;
    view.setProb(prob_);
    pool_->probAttach(view);
    xt::RunScript run;
    for (int k = 0; k < kCapacity; ++k) {
      run.events.push_back(xt::ScriptEvent::intSol(k, {double(k), 1.0}));
    }
    xt::script(prob_, run);
    ASSERT_EQ(XPRSoptimize(prob_, "", nullptr, nullptr), 0);
    pool_->probDetach(&view);
    ASSERT_EQ(xt::inspect(pool_->handle()).solutions.size(), std::size_t{kCapacity});
    xt::setIntAttrib(enum_->handle(), XPRS_MSE_SOLUTIONS, kCapacity);
    block_ = {};
    block_.msgFn = recordMessage;
    block_.msgCtx = &messages_;
    messages_.clear();
    xt::clearCalls();
  }

  void setCounts(int byObjective, int byDiversity) {
    enum_->setIntControl(XPRS_MSE_CALLBACKCULLSOLS_MIPOBJECT, byObjective);
    enum_->setIntControl(XPRS_MSE_CALLBACKCULLSOLS_DIVERSITY, byDiversity);
    xt::clearCalls();
  }

  Outcome call(int capacity = kCapacity) {
    Outcome out{-1, 0, kUntouched};
    out.result =
        qel::solEnumHandler(enum_->handle(), prob_, pool_->handle(), &block_, &capacity, solution_,
                            2, /*objective=*/2.5, nullptr, &out.reject, &out.cutoff);
    return out;
  }

  // The cull choices asked for, in order, as the journal shows them.
  static std::vector<std::string> choicesAsked() {
    std::vector<std::string> asked;
    for (const auto& c : xt::calls()) {
      if (c.function == "XPRS_mse_getcullchoice") {
        asked.push_back(c.digest.substr(0, c.digest.find(" reject=")));
      }
    }
    return asked;
  }

  [[nodiscard]] std::vector<int> deleted() const { return xt::inspect(pool_->handle()).deleted; }

  std::optional<qel::XpressSolPool> pool_;
  std::optional<qel::XpressSolEnum> enum_;
  qel::SolEnumHandlerBlock block_;
  std::vector<Message> messages_;
  const double solution_[2] = {3, 3};
};

// The cull choices asked for, by metric and largest count, with the new solution's arguments.
std::string byObjective(int nmax) {
  return "metric=6604 nmax=" + std::to_string(nmax) + " newmetric=2.5 x=NULL ncols=0";
}
std::string byDiversity(int nmax) {
  return "metric=6605 nmax=" + std::to_string(nmax) + " newmetric=0 x=set ncols=2";
}
xt::CullResponse chosen(std::vector<int> ids, bool reject = false,
                        std::optional<int> count = std::nullopt) {
  return {std::move(ids), reject, count};
}

TEST_F(SolEnumHandlerTest, WithoutLimitLetsEverySolutionInAndAsksXpressNothing) {
  block_.maxCullRounds = 0;  // would reject at once if the pool counted as full
  for (const int capacity : {0, -1, INT_MIN}) {
    SCOPED_TRACE(capacity);
    const Outcome out = call(capacity);
    EXPECT_EQ(out.result, 0);
    EXPECT_TRUE(xt::calls().empty());
    EXPECT_EQ(out.reject, 0);
    EXPECT_EQ(out.cutoff, kUntouched);
    EXPECT_EQ(block_.cullRound, 0);
  }
}

TEST_F(SolEnumHandlerTest, CullsOnlyOnceThePoolHoldsTheCapacity) {
  setCounts(-1, -1);
  xt::queueCullResponse(enum_->handle(), chosen({2}));
  for (const int stored : {0, kCapacity - 1, kCapacity}) {
    SCOPED_TRACE(stored);
    xt::setIntAttrib(enum_->handle(), XPRS_MSE_SOLUTIONS, stored);
    xt::clearCalls();
    const Outcome out = call();
    EXPECT_EQ(out.result, 0);
    EXPECT_EQ(out.reject, 0);
    const bool full = stored == kCapacity;
    EXPECT_EQ(xt::calls().size(), full ? 5u : 1u);  // attribute, two controls, choice, delete
    EXPECT_EQ(block_.cullRound, full ? 1 : 0);
    EXPECT_EQ(deleted(), full ? std::vector<int>{2} : std::vector<int>{});
  }
}

TEST_F(SolEnumHandlerTest, ReportsEachRoundAndRejectsAndInterruptsOnceTheRoundsAreUsedUp) {
  for (const int verbosity : {0, 1, 2}) {
    SCOPED_TRACE(verbosity);
    renew();
    block_.maxCullRounds = 2;
    block_.verbosity = verbosity;
    setCounts(-1, -1);
    xt::queueCullResponse(enum_->handle(), chosen({}));
    xt::queueCullResponse(enum_->handle(), chosen({}));
    for (int round = 1; round <= 2; ++round) EXPECT_EQ(call().reject, 0);
    xt::setIntAttrib(enum_->handle(), XPRS_MSE_SOLUTIONS, kCapacity + 1);  // above counts too
    xt::clearCalls();
    const Outcome stop = call();
    EXPECT_EQ(stop.result, 0);
    EXPECT_EQ(stop.reject, 1);
    EXPECT_EQ(stop.cutoff, kUntouched);
    EXPECT_EQ(block_.cullRound, 2);
    const auto calls = xt::calls();  // the stored count, then the interrupt
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].function + " " + calls[1].digest, "XPRSinterrupt reason=9");
    EXPECT_EQ(calls[1].handle, prob_);
    const std::vector<Message> expected = {
        info("MIP soln pool is full: starting cull round 1\n"),
        info("MIP soln pool is full: starting cull round 2\n"),
        info("Terminating MIP solution enumerator: the pool is full (cap = 4)\n"),
        info("and we have reached the limit (2) on culling rounds\n")};
    EXPECT_EQ(messages_, verbosity == 0 ? std::vector<Message>{} : expected);
  }
}

TEST_F(SolEnumHandlerTest, NoRoundAllowedOrNoMessageFunctionStopsAtOnceAndSilently) {
  block_ = {0, 0, 2, nullptr, nullptr};
  const Outcome stop = call();
  EXPECT_EQ(stop.reject, 1);
  EXPECT_EQ(block_.cullRound, 0);
  EXPECT_THAT(xt::inspect(prob_).interrupts, ElementsAre(XPRS_STOP_USER));
  EXPECT_THAT(deleted(), IsEmpty());
}

TEST_F(SolEnumHandlerTest, CullsByObjectiveThenDiversityAndSetsTheCutoffByTheRules) {
  struct Case {
    const char* what;
    int byObjective, byDiversity;
    std::vector<xt::CullResponse> responses;
    std::vector<std::string> asked;
    std::vector<int> deleted;
    int reject, cutoff;
  };
  const Case cases[] = {
      {"one by objective", 2, -1, {chosen({3})}, {byObjective(2)}, {3}, 0, 1},
      {"two by objective, in the order chosen",
       2,
       -1,
       {chosen({4, 1})},
       {byObjective(2)},
       {4, 1},
       0,
       kUntouched},
      {"one by objective, none by diversity",
       1,
       3,
       {chosen({3}), chosen({})},
       {byObjective(1), byDiversity(3)},
       {3},
       0,
       1},
      {"one by each adds up to two",
       1,
       1,
       {chosen({3}), chosen({1})},
       {byObjective(1), byDiversity(1)},
       {3, 1},
       0,
       kUntouched},
      {"one by diversity, objective count negative",
       -1,
       3,
       {chosen({2})},
       {byDiversity(3)},
       {2},
       0,
       kUntouched},
      {"rejected by a choice: no fallback", 0, -1, {chosen({}, true)}, {byObjective(0)}, {}, 1, 1},
      {"rejected, objective count negative",
       -1,
       2,
       {chosen({}, true)},
       {byDiversity(2)},
       {},
       1,
       kUntouched},
      {"both negative: the fallback deletes one",
       -1,
       -1,
       {chosen({4})},
       {byObjective(1)},
       {4},
       0,
       1},
      {"both negative: the fallback finds none",
       -1,
       -1,
       {chosen({})},
       {byObjective(1)},
       {},
       0,
       kUntouched},
      {"both negative: the fallback rejects",
       -1,
       -1,
       {chosen({4}, true)},
       {byObjective(1)},
       {},
       1,
       1},
      {"nothing by the counts, then the fallback",
       0,
       0,
       {chosen({}), chosen({}), chosen({2})},
       {byObjective(0), byDiversity(0), byObjective(1)},
       {2},
       0,
       1},
      {"a count above the one asked for is cut to it",
       1,
       -1,
       {chosen({3, 4}, false, 5)},
       {byObjective(1)},
       {3},
       0,
       1},
      {"a negative count chooses none",
       -1,
       -1,
       {chosen({4}, false, -2)},
       {byObjective(1)},
       {},
       0,
       kUntouched},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    renew();
    setCounts(c.byObjective, c.byDiversity);
    for (const auto& r : c.responses) xt::queueCullResponse(enum_->handle(), r);
    const Outcome out = call();
    EXPECT_EQ(out.result, 0);
    EXPECT_THAT(choicesAsked(), ElementsAreArray(c.asked));
    EXPECT_THAT(deleted(), ElementsAreArray(c.deleted));
    EXPECT_EQ(out.reject, c.reject);
    EXPECT_EQ(out.cutoff, c.cutoff);
    EXPECT_EQ(block_.cullRound, 1);
  }
}

TEST_F(SolEnumHandlerTest, FailingCallEndsTheHandlerWithOneAndKeepsWhatWasDone) {
  struct Case {
    const char* function;
    int skip, round;
    std::vector<int> deleted;
  };
  // Counts 2 and 1: choose [3, 1] by objective and [2] by diversity.
  const Case cases[] = {
      {"XPRS_mse_getintattrib", 0, 0, {}},      {"XPRS_mse_getintcontrol", 0, 1, {}},
      {"XPRS_mse_getintcontrol", 1, 1, {}},     {"XPRS_mse_getcullchoice", 0, 1, {}},
      {"XPRS_mse_getcullchoice", 1, 1, {3, 1}}, {"XPRS_msp_delsol", 0, 1, {}},
      {"XPRS_msp_delsol", 1, 1, {3}},           {"XPRS_msp_delsol", 2, 1, {3, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.function) + " #" + std::to_string(c.skip + 1));
    renew();
    setCounts(2, 1);
    xt::queueCullResponse(enum_->handle(), chosen({3, 1}));
    xt::queueCullResponse(enum_->handle(), chosen({2}));
    xt::failNext(c.function, 32, "injected", c.skip);
    const Outcome out = call();
    EXPECT_EQ(out.result, 1);
    EXPECT_EQ(out.reject, 0);
    EXPECT_EQ(out.cutoff, kUntouched);
    EXPECT_EQ(block_.cullRound, c.round);
    EXPECT_THAT(deleted(), ElementsAreArray(c.deleted));
  }
}

}  // namespace
