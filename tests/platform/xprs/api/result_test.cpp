// Result reads, warm-start records and scripted outcomes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <string>
#include <vector>

#include "tests/support/standin_test.hpp"
#include "xprs_testing.hpp"

namespace {

using xprs::testing::ScriptEvent;
using xprs_test::StandinTest;

class ResultTest : public StandinTest {
 protected:
  void SetUp() override {
    StandinTest::SetUp();
    ASSERT_EQ(XPRSaddcols64(prob_, 2, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
    const char types[] = {'L'};
    ASSERT_EQ(XPRSaddrows64(prob_, 1, 0, types, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  }
};

TEST_F(ResultTest, ReadsRefuseRangesOutsideTheModel) {
  double x[3];
  int status = -1;
  struct Case {
    const char* what;
    std::function<int()> call;
    std::string text;
  };
  const Case cases[] = {
      {"last beyond columns", [&] { return XPRSgetsolution(prob_, &status, x, 0, 2); },
       "XPRSgetsolution: invalid range first=0 last=2 (the problem has 2 columns)"},
      {"first after last", [&] { return XPRSgetredcosts(prob_, &status, x, 1, 0); },
       "XPRSgetredcosts: invalid range first=1 last=0 (the problem has 2 columns)"},
      {"negative first", [&] { return XPRSgetduals(prob_, &status, x, -1, 0); },
       "XPRSgetduals: invalid range first=-1 last=0 (the problem has 1 rows)"},
      {"no basis yet",
       [&] {
         int r;
         return XPRSgetbasisval(prob_, 0, 0, &r, nullptr);
       },
       "XPRSgetbasisval: no basis is available"},
      {"basis row out of range",
       [&] {
         int r;
         return XPRSgetbasisval(prob_, 1, 0, &r, nullptr);
       },
       "XPRSgetbasisval: invalid row index 1 in row[0] (the problem has 1 rows)"},
      {"bad basis status",
       [&] {
         const int r[] = {4};
         const int c[] = {0, 0};
         return XPRSloadbasis(prob_, r, c);
       },
       "XPRSloadbasis: invalid basis status 4 in rowstat[0]"},
      {"MIP start too long",
       [&] {
         const double v[] = {1, 2, 3};
         return XPRSaddmipsol(prob_, 3, v, nullptr, nullptr);
       },
       "XPRSaddmipsol: length 3 exceeds the 2 columns"},
      {"bad direction",
       [&] {
         const int c[] = {0};
         const char d[] = {'X'};
         return XPRSloaddirs(prob_, 1, c, nullptr, d, nullptr, nullptr);
       },
       "XPRSloaddirs: invalid direction 'X' in dir[0]"},
      {"bad priority",
       [&] {
         const int c[] = {1};
         const int p[] = {1001};
         return XPRSloaddirs(prob_, 1, c, p, nullptr, nullptr, nullptr);
       },
       "XPRSloaddirs: invalid priority 1001 in priority[0] (0..1000)"},
      {"bad set reference",
       [&] {
         const int c[] = {-1};
         return XPRSloaddirs(prob_, 1, c, nullptr, nullptr, nullptr, nullptr);
       },
       "XPRSloaddirs: invalid set reference -1 in colind[0] (the problem has 0 sets)"},
      {"bad initial value column",
       [&] {
         const int c[] = {2};
         const double v[] = {1};
         return XPRSnlpsetinitval(prob_, 1, c, v);
       },
       "XPRSnlpsetinitval: invalid column index 2 in colind[0] (the problem has 2 columns)"},
      {"bad preset", [&] { return XPRSmsaddpreset(prob_, nullptr, 7, 1, nullptr); },
       "XPRSmsaddpreset: invalid preset 7 (0..6)"},
      {"bad interrupt reason", [&] { return XPRSinterrupt(prob_, 0); },
       "XPRSinterrupt: invalid stop reason 0"},
      {"bad fix options", [&] { return XPRSfixmipentities(prob_, 4); },
       "XPRSfixmipentities: invalid options 4"},
      {"NULL callback", [&] { return XPRSaddcbintsol(prob_, nullptr, nullptr, 0); },
       "XPRSaddcbintsol: the callback function is NULL"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.call(), 32);
    EXPECT_EQ(lastError(), c.text);
  }
  const auto& warm = xprs::testing::inspect(prob_).warmStart;
  EXPECT_TRUE(warm.bases.empty());
  EXPECT_TRUE(warm.mipSols.empty());
  EXPECT_TRUE(warm.dirs.empty());
  EXPECT_TRUE(warm.initVals.empty());
  EXPECT_TRUE(warm.presets.empty());
}

TEST_F(ResultTest, WarmStartCallsAreRecordedAsGiven) {
  const int rowstat[] = {1};
  const int colstat[] = {0, 2};
  ASSERT_EQ(XPRSloadbasis(prob_, rowstat, colstat), 0);
  const double sol[] = {1.5};
  ASSERT_EQ(XPRSaddmipsol(prob_, 1, sol, nullptr, nullptr), 0);
  const int cols[] = {1, 0};
  const double vals[] = {4, 5};
  ASSERT_EQ(XPRSaddmipsol(prob_, 2, vals, cols, "mine"), 0);
  const int prio[] = {3, 0};
  ASSERT_EQ(XPRSloaddirs(prob_, 2, cols, prio, nullptr, nullptr, nullptr), 0);
  ASSERT_EQ(XPRSnlpsetinitval(prob_, 2, cols, vals), 0);
  int ctx = 0;
  ASSERT_EQ(XPRSmsaddpreset(prob_, nullptr, 2, 8, &ctx), 0);
  const auto& warm = xprs::testing::inspect(prob_).warmStart;
  ASSERT_EQ(warm.bases.size(), 1u);
  EXPECT_EQ(warm.bases[0].rowStat, std::vector<int>{1});
  EXPECT_EQ(warm.bases[0].colStat, (std::vector<int>{0, 2}));
  ASSERT_EQ(warm.mipSols.size(), 2u);
  EXPECT_TRUE(warm.mipSols[0].cols.empty());
  EXPECT_FALSE(warm.mipSols[0].name.has_value());
  EXPECT_EQ(warm.mipSols[1].cols, (std::vector<int>{1, 0}));
  EXPECT_EQ(warm.mipSols[1].name, "mine");
  ASSERT_EQ(warm.dirs.size(), 1u);
  EXPECT_EQ(warm.dirs[0].priority, (std::vector<int>{3, 0}));
  EXPECT_TRUE(warm.dirs[0].dir.empty());
  ASSERT_EQ(warm.initVals.size(), 1u);
  EXPECT_EQ(warm.initVals[0].values, (std::vector<double>{4, 5}));
  ASSERT_EQ(warm.presets.size(), 1u);
  EXPECT_EQ(warm.presets[0].preset, 2);
  EXPECT_EQ(warm.presets[0].maxJobs, 8);
  EXPECT_EQ(warm.presets[0].data, &ctx);
  EXPECT_FALSE(warm.presets[0].description.has_value());
}

TEST_F(ResultTest, ScriptedOutcomeDrivesCallbacksStatusesAndResults) {
  struct Trace {
    std::vector<std::string> events;
    XPRSprob main = nullptr;
  } trace;
  trace.main = prob_;
  ASSERT_EQ(XPRSaddcbmessage(
                prob_,
                [](XPRSprob, void* d, const char* msg, int len, int type) {
                  static_cast<Trace*>(d)->events.push_back(
                      "msg " + std::string(msg, static_cast<std::size_t>(len)) + " " +
                      std::to_string(type));
                },
                &trace, 0),
            0);
  ASSERT_EQ(XPRSaddcbchecktime(
                prob_,
                [](XPRSprob cb, void* d) {
                  int t = 0;
                  XPRSgetintattrib(cb, XPRS_OPTIMIZETYPEUSED, &t);
                  static_cast<Trace*>(d)->events.push_back("time " + std::to_string(t));
                  return 0;
                },
                &trace, 0),
            0);
  ASSERT_EQ(XPRSaddcbintsol(
                prob_,
                [](XPRSprob cb, void* d) {
                  double obj = 0;
                  XPRSgetdblattrib(cb, XPRS_MIPOBJVAL, &obj);
                  double x[2] = {};
                  int status = 0;
                  XPRSgetsolution(cb, &status, x, 0, 1);
                  static_cast<Trace*>(d)->events.push_back(
                      "sol " + std::to_string(static_cast<int>(obj)) + " " +
                      std::to_string(static_cast<int>(x[1])));
                },
                &trace, 0),
            0);
  ASSERT_EQ(XPRSaddcboptnode(
                prob_,
                [](XPRSprob cb, void* d, int*) {
                  auto* t = static_cast<Trace*>(d);
                  t->events.push_back("node");
                  if (t->events.size() > 6) XPRSinterrupt(cb, XPRS_STOP_USER);
                },
                &trace, 0),
            0);
  xprs::testing::RunScript script;
  script.run.optType = XPRS_OPTIMIZETYPE_MIP;
  script.run.solStatus = XPRS_SOLSTATUS_FEASIBLE;
  script.run.objVal = 12;
  script.results.primalAvail = XPRS_SOLAVAILABLE_FEASIBLE;
  script.results.x = {1, 2};
  script.results.primalInfeasRows = {0};
  script.events = {
      ScriptEvent::message("hello", 4), ScriptEvent::checkTime(1), ScriptEvent::optNode(),
      ScriptEvent::intSol(12, {1, 2}),  ScriptEvent::optNode(),    ScriptEvent::optNode(),
      ScriptEvent::message("never", 1),
  };
  xprs::testing::script(prob_, script);
  int solve = -1;
  int sol = -1;
  ASSERT_EQ(XPRSoptimize(prob_, "", &solve, &sol), 0);
  EXPECT_THAT(trace.events, testing::ElementsAre("time -1", "msg hello 4", "time 1", "node",
                                                 "sol 12 2", "node", "node"));
  EXPECT_EQ(solve, XPRS_SOLVESTATUS_STOPPED);
  EXPECT_EQ(sol, XPRS_SOLSTATUS_FEASIBLE);
  int stop = 0;
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_STOPSTATUS, &stop), 0);
  EXPECT_EQ(stop, XPRS_STOP_USER);
  double x[2];
  int status = 0;
  ASSERT_EQ(XPRSgetsolution(prob_, &status, x, 0, 1), 0);
  EXPECT_EQ(status, XPRS_SOLAVAILABLE_FEASIBLE);
  EXPECT_EQ(x[1], 2);
  int counts[4] = {-1, -1, -1, -1};
  ASSERT_EQ(XPRSgetscaledinfeas(prob_, &counts[0], &counts[1], &counts[2], &counts[3], nullptr,
                                nullptr, nullptr, nullptr),
            0);
  EXPECT_THAT(counts, testing::ElementsAre(0, 1, 0, 0));
  int rows[1] = {-1};
  ASSERT_EQ(XPRSgetscaledinfeas(prob_, &counts[0], &counts[1], &counts[2], &counts[3], nullptr,
                                rows, nullptr, nullptr),
            0);
  EXPECT_EQ(rows[0], 0);
  // A scripted failure returns its code.
  xprs::testing::RunScript failing;
  failing.returnCode = 7;
  failing.run.solveStatus = XPRS_SOLVESTATUS_FAILED;
  xprs::testing::script(prob_, failing);
  EXPECT_EQ(XPRSoptimize(prob_, "", &solve, nullptr), 7);
  EXPECT_EQ(solve, XPRS_SOLVESTATUS_FAILED);
}

TEST_F(ResultTest, RemovedCallbacksAreNotCalledAndPriorityOrders) {
  std::vector<int> order;
  auto first = [](XPRSprob, void* d, const char*, int, int) {
    static_cast<std::vector<int>*>(d)->push_back(1);
  };
  auto second = [](XPRSprob, void* d, const char*, int, int) {
    static_cast<std::vector<int>*>(d)->push_back(2);
  };
  ASSERT_EQ(XPRSaddcbmessage(prob_, first, &order, 0), 0);
  ASSERT_EQ(XPRSaddcbmessage(prob_, second, &order, 5), 0);
  xprs::testing::emitMessage(prob_, "x", 1);
  EXPECT_EQ(order, (std::vector<int>{2, 1}));
  ASSERT_EQ(XPRSremovecbmessage(prob_, second, nullptr), 0);
  order.clear();
  xprs::testing::emitMessage(prob_, "x", 1);
  EXPECT_EQ(order, std::vector<int>{1});
}

}  // namespace
