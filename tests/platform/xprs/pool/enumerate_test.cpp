// The solution enumerator: every solution of a small MIP once, best first, against brute force;
// the handler's reject and cutoff; interrupts, limits and a failing handler; refused models;
// cull choices on a hand-made pool and scripted ones.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tests/platform/xprs/pool/pool_fixture.hpp"
#include "xprs_testing.hpp"

namespace {

using xprs_test::bruteForceMip;
using xprs_test::kMipCols;
using xprs_test::loadMip;
using xprs_test::MipPoint;

struct HandlerCall {
  XPRSmipsolenum mse;
  XPRSprob prob;
  XPRSmipsolpool pool;
  int* nMaxSols;
  std::vector<double> x;
  double objective, modifiedIn;
  int rejectIn, updateIn;
};

// The context of recordingHandler: every call, and the answer (accept by default).
struct HandlerLog {
  std::vector<HandlerCall> calls;
  std::function<int(HandlerLog&, int* reject, int* update)> decide;
};

int XPRS_CC recordingHandler(XPRSmipsolenum mse, XPRSprob prob, XPRSmipsolpool pool, void* ctx,
                             int* nMaxSols, const double* x, int nCols, double objective,
                             double* modified, int* reject, int* update) {
  auto& log = *static_cast<HandlerLog*>(ctx);
  log.calls.push_back({mse, prob, pool, nMaxSols, std::vector<double>(x, x + nCols), objective,
                       *modified, *reject, *update});
  return log.decide ? log.decide(log, reject, update) : 0;
}

class EnumerateTest : public xprs_test::PoolTest {
 protected:
  int attrib(int id) {
    int v = -1;
    EXPECT_EQ(XPRSgetintattrib(prob_, id, &v), 0);
    return v;
  }
  int run(HandlerLog& log) {
    return XPRS_mse_opt(mse_, prob_, pool_, recordingHandler, &log, &cap_);
  }
  // A fresh problem holding the MIP, and a fresh pool.
  void renew() {
    ASSERT_EQ(XPRSdestroyprob(prob_), 0);
    ASSERT_EQ(XPRS_msp_destroy(pool_), 0);
    ASSERT_EQ(XPRScreateprob(&prob_), 0);
    ASSERT_EQ(XPRS_msp_create(&pool_), 0);
    ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_OUTPUTLOG, 0), 0);
    loadMip(prob_);
  }
  int cap_ = 7;
};

void countSolution(XPRSprob, void* counter) { ++*static_cast<int*>(counter); }

TEST_F(EnumerateTest, FindsEveryAssignmentOnceBestFirstAsBruteForceDoes) {
  loadMip(prob_);
  int intSols = 0;
  ASSERT_EQ(XPRSaddcbintsol(prob_, countSolution, &intSols, 0), 0);
  HandlerLog log;
  ASSERT_EQ(run(log), 0) << enumError();
  const std::vector<MipPoint> expected = bruteForceMip();
  ASSERT_EQ(expected.size(), 19u);
  ASSERT_EQ(log.calls.size(), expected.size());
  std::set<std::vector<double>> seen;
  for (std::size_t k = 0; k < log.calls.size(); ++k) {
    SCOPED_TRACE(k);
    const HandlerCall& c = log.calls[k];
    EXPECT_TRUE(c.mse == mse_ && c.prob == prob_ && c.pool == pool_ && c.nMaxSols == &cap_);
    EXPECT_TRUE(c.rejectIn == 0 && c.updateIn == 0 && c.modifiedIn == c.objective);
    const std::vector<double> integers(c.x.begin(), c.x.begin() + 5);
    auto match = std::find_if(expected.begin(), expected.end(), [&](const MipPoint& p) {
      return std::equal(integers.begin(), integers.end(), p.x.begin());
    });
    ASSERT_NE(match, expected.end());
    EXPECT_NEAR(c.x[5], match->x[5], 1e-7);
    EXPECT_NEAR(c.objective, match->objective, 1e-7);
    EXPECT_TRUE(seen.insert(integers).second);
    EXPECT_LE(c.objective, log.calls[k > 0 ? k - 1 : 0].objective + 1e-9);
  }
  EXPECT_NEAR(log.calls[10].objective, 4.5, 1e-9);  // the 11 optima come first
  EXPECT_LT(log.calls[11].objective, 4.5 - 1e-3);
  int stored = -1;
  ASSERT_EQ(XPRS_mse_getintattrib(mse_, XPRS_MSE_SOLUTIONS, &stored), 0);
  EXPECT_EQ(stored, 19);
  EXPECT_EQ(poolCount(), 19);
  EXPECT_EQ(intSols, 19);
  EXPECT_EQ(attrib(XPRS_MIPSOLS), 19);
  EXPECT_EQ(attrib(XPRS_SOLSTATUS), XPRS_SOLSTATUS_OPTIMAL);
  EXPECT_EQ(attrib(XPRS_STOPSTATUS), XPRS_STOP_NONE);
  EXPECT_EQ(attrib(XPRS_OPTIMIZETYPEUSED), XPRS_OPTIMIZETYPE_MIP);
  std::vector<double> x(kMipCols);
  ASSERT_EQ(XPRSgetsolution(prob_, nullptr, x.data(), 0, kMipCols - 1), 0);
  EXPECT_EQ(x, log.calls[0].x);
}

TEST_F(EnumerateTest, HonoursRejectionAndCutoff) {
  const std::vector<MipPoint> points = bruteForceMip();
  auto atLeast = [&](double v) {
    return static_cast<int>(std::count_if(points.begin(), points.end(),
                                          [&](const MipPoint& p) { return p.objective >= v; }));
  };
  struct Case {
    const char* what;
    std::function<int(HandlerLog&, int*, int*)> decide;
    double cutoffControl;  // 0: not set
    int found, stored;
  };
  const Case cases[] = {
      {"rejects below the optimum",
       [](HandlerLog& l, int* reject, int*) { return *reject = l.calls.back().objective < 4.5, 0; },
       0, 19, 11},
      {"cutoff on the worst stored after the first",
       [](HandlerLog& l, int*, int* update) { return *update = l.calls.size() == 1, 0; }, 0,
       atLeast(4.5), atLeast(4.5)},
      {"cutoff while nothing is stored changes nothing",
       [](HandlerLog& l, int* reject, int* update) {
         return *reject = *update = l.calls.size() == 1, 0;
       },
       0, 19, 18},
      {"the problem's own cutoff", nullptr, 3.5, atLeast(3.5), atLeast(3.5)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    renew();
    if (c.cutoffControl != 0) {
      ASSERT_EQ(XPRSsetdblcontrol(prob_, XPRS_MIPABSCUTOFF, c.cutoffControl), 0);
    }
    HandlerLog log;
    log.decide = c.decide;
    ASSERT_EQ(run(log), 0);
    EXPECT_EQ(static_cast<int>(log.calls.size()), c.found);
    EXPECT_EQ(poolCount(), c.stored);
    EXPECT_EQ(xprs::testing::inspect(mse_).solutionsRejected, c.found - c.stored);
  }
}

// Integer x, y in [0, 5] with 2x + 2y <= 7: ten points, y - 2x from -6 to 3 (0 twice). In both
// senses, with an objective constant and MIPABSCUTOFF, against brute force: the solutions within
// the cutoff (ties kept), best first, with their objectives, and the best bound.
TEST_F(EnumerateTest, EnumeratesBestFirstWithinTheCutoffInBothSenses) {
  struct Case {
    const char* what;
    int sense;
    double constant;
    std::optional<double> cutoff;
    int found;  // counted by hand from the values above
  };
  const Case cases[] = {
      {"maximising", XPRS_OBJ_MAXIMIZE, 0, {}, 10},
      {"maximising, cutoff -1", XPRS_OBJ_MAXIMIZE, 0, -1, 6},
      {"maximising with a constant, cutoff on two values", XPRS_OBJ_MAXIMIZE, 10, 10, 5},
      {"maximising, cutoff above the best", XPRS_OBJ_MAXIMIZE, 0, 3.5, 0},
      {"minimising with a constant, cutoff -9", XPRS_OBJ_MINIMIZE, -10, -9, 6},
      {"minimising, cutoff below the best", XPRS_OBJ_MINIMIZE, 0, -3.5, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(XPRSdestroyprob(prob_), 0);
    ASSERT_EQ(XPRScreateprob(&prob_), 0);
    ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_OUTPUTLOG, 0), 0);
    // Minimised, the objective is negated: the same points come in the same order.
    const double s = -c.sense, obj[] = {-2 * s, s}, ub[] = {5, 5};
    ASSERT_EQ(XPRSaddcols64(prob_, 2, 0, obj, nullptr, nullptr, nullptr, nullptr, ub), 0);
    const int cols[] = {0, 1, -1};
    const double negatedConstant[] = {-c.constant};
    ASSERT_EQ(XPRSchgobj(prob_, 1, cols + 2, negatedConstant), 0);
    ASSERT_EQ(XPRSchgcoltype(prob_, 2, cols, "II"), 0);
    const double two[] = {2, 2}, seven[] = {7};
    const XPRSint64 start[] = {0};
    ASSERT_EQ(XPRSaddrows64(prob_, 1, 2, "L", seven, nullptr, start, cols, two), 0);
    ASSERT_EQ(XPRSchgobjsense(prob_, c.sense), 0);
    if (c.cutoff) {
      ASSERT_EQ(XPRSsetdblcontrol(prob_, XPRS_MIPABSCUTOFF, *c.cutoff), 0);
    }
    std::vector<double> objectives;
    std::set<std::vector<double>> points;
    for (double x = 0; x <= 5; ++x) {
      for (double y = 0; 2 * x + 2 * y <= 7; ++y) {
        const double v = s * (y - 2 * x) + c.constant;
        if (!c.cutoff || c.sense * v <= c.sense * *c.cutoff) {
          objectives.push_back(v);
          points.insert({x, y});
        }
      }
    }
    std::sort(objectives.begin(), objectives.end(),
              [&](double a, double b) { return c.sense * a < c.sense * b; });
    ASSERT_EQ(static_cast<int>(objectives.size()), c.found);
    HandlerLog log;
    ASSERT_EQ(run(log), 0) << enumError();
    std::vector<double> delivered;
    std::set<std::vector<double>> deliveredPoints;
    for (const HandlerCall& call : log.calls) {
      delivered.push_back(call.objective);
      deliveredPoints.insert(call.x);
    }
    EXPECT_THAT(delivered, testing::Pointwise(testing::DoubleNear(1e-9), objectives));
    EXPECT_EQ(deliveredPoints, points);
    EXPECT_EQ(attrib(XPRS_SOLSTATUS), c.found ? XPRS_SOLSTATUS_OPTIMAL : XPRS_SOLSTATUS_INFEASIBLE);
    if (c.found == 0) continue;
    double mipObj = 0, bound = 0;
    ASSERT_EQ(XPRSgetdblattrib(prob_, XPRS_MIPOBJVAL, &mipObj), 0);
    ASSERT_EQ(XPRSgetdblattrib(prob_, XPRS_BESTBOUND, &bound), 0);
    EXPECT_NEAR(mipObj, objectives.front(), 1e-9);
    EXPECT_NEAR(bound, objectives.front(), 1e-9);
  }
}

TEST_F(EnumerateTest, StopsOnInterruptsLimitsAndFailingHandlersKeepingWhatItFound) {
  struct Case {
    const char* what;
    std::function<void()> setup;
    std::function<int(HandlerLog&, int*, int*)> decide;
    int rc, found, solveStatus, stop;
  };
  const Case cases[] = {
      {"interrupt from the handler", [] {},
       [this](HandlerLog& l, int*, int*) {
         return l.calls.size() == 5 ? XPRSinterrupt(prob_, XPRS_STOP_USER) : 0;
       },
       0, 5, XPRS_SOLVESTATUS_STOPPED, XPRS_STOP_USER},
      {"solution limit", [this] { ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_MAXMIPSOL, 4), 0); },
       nullptr, 0, 4, XPRS_SOLVESTATUS_STOPPED, XPRS_STOP_SOLLIMIT},
      {"check-time callback",
       [this] {
         ASSERT_EQ(XPRSaddcbchecktime(
                       prob_, [](XPRSprob, void*) { return 1; }, nullptr, 0),
                   0);
       },
       nullptr, 0, 0, XPRS_SOLVESTATUS_STOPPED, XPRS_STOP_USER},
      {"handler fails", [] {},
       [](HandlerLog& l, int*, int*) { return l.calls.size() == 3 ? 7 : 0; }, 32, 2,
       XPRS_SOLVESTATUS_FAILED, XPRS_STOP_GENERICERROR},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    renew();
    c.setup();
    HandlerLog log;
    log.decide = c.decide;
    ASSERT_EQ(run(log), c.rc);
    EXPECT_EQ(poolCount(), c.found);
    EXPECT_EQ(attrib(XPRS_SOLVESTATUS), c.solveStatus);
    EXPECT_EQ(attrib(XPRS_STOPSTATUS), c.stop);
    EXPECT_EQ(attrib(XPRS_SOLSTATUS), c.found ? XPRS_SOLSTATUS_FEASIBLE : XPRS_SOLSTATUS_NOTFOUND);
  }
  EXPECT_EQ(enumError(), "XPRS_mse_opt: the solution handler returned 7");
}

TEST_F(EnumerateTest, InfeasibleModelsEndWithoutSolutions) {
  const int z[] = {4, 4};
  const double bounds[] = {1.2, 1.8};
  const int all[] = {0, 1, 2, 3};
  const double ones[] = {1, 1, 1, 1};
  const double three[] = {3};
  const XPRSint64 start[] = {0};
  const std::function<int()> makeInfeasible[] = {
      [&] { return XPRSchgbounds(prob_, 2, z, "LU", bounds); },  // z holds no integer
      [&] { return XPRSaddrows64(prob_, 1, 4, "G", three, nullptr, start, all, ones); },
  };
  for (const auto& add : makeInfeasible) {
    renew();
    ASSERT_EQ(add(), 0);
    HandlerLog log;
    ASSERT_EQ(run(log), 0);
    EXPECT_TRUE(log.calls.empty());
    EXPECT_EQ(attrib(XPRS_SOLVESTATUS), XPRS_SOLVESTATUS_COMPLETED);
    EXPECT_EQ(attrib(XPRS_SOLSTATUS), XPRS_SOLSTATUS_INFEASIBLE);
    EXPECT_EQ(attrib(XPRS_MIPSTATUS), XPRS_MIP_INFEAS);
  }
}

TEST_F(EnumerateTest, RefusesModelsItCannotEnumerate) {
  const int col[] = {0};
  const double one[] = {1};
  const XPRSint64 start[] = {0};
  const int members[] = {0, 1};
  const double refs[] = {1, 2};
  struct Case {
    std::function<int()> add;
    std::string what;
  };
  const Case cases[] = {
      {[&] { return XPRSaddsets64(prob_, 1, 2, "1", start, members, refs); },
       "special ordered sets"},
      {[&] { return XPRSchgcoltype(prob_, 1, col, "S"); },
       "semi-continuous, semi-integer or partial integer columns"},
      {[&] { return XPRSchgmqobj64(prob_, 1, col, col, one); }, "a quadratic objective"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    renew();
    ASSERT_EQ(c.add(), 0);
    HandlerLog log;
    EXPECT_EQ(run(log), 32);
    EXPECT_EQ(enumError(),
              "XPRS_mse_opt: the solution enumerator cannot enumerate a model with " + c.what);
    EXPECT_TRUE(log.calls.empty());
    EXPECT_EQ(attrib(XPRS_SOLSTATUS), XPRS_SOLSTATUS_NOTFOUND);
    EXPECT_EQ(attrib(XPRS_STOPSTATUS), XPRS_STOP_GENERICERROR);
  }
}

// The enumerator chooses among the four hand-made solutions: its run rejects its first
// solution and stops.
TEST_F(EnumerateTest, CullChoicesByObjectiveAndByDiversity) {
  storeFour();
  HandlerLog log;
  log.decide = [this](HandlerLog&, int* reject, int*) {
    *reject = 1;
    return XPRSinterrupt(prob_, XPRS_STOP_USER);
  };
  ASSERT_EQ(run(log), 0);
  ASSERT_EQ(poolCount(), 4);
  const double likeFirst[] = {1, 1, 0, 0, 2, 2};  // L1 distances 0, 5.5, 2.5, 5.5
  struct Case {
    int metric, nmax;
    double newObj;
    bool ignoreNew;
    std::vector<int> ids;
    int reject;
  };
  const Case cases[] = {
      {XPRS_MSE_METRIC_MIPOBJECT, 9, 4.5, false, {2, 3, 1}, 0},
      {XPRS_MSE_METRIC_MIPOBJECT, 2, 4.5, false, {2, 3}, 0},
      {XPRS_MSE_METRIC_MIPOBJECT, 9, 4.0, false, {2, 3}, 0},  // ties are not worse
      {XPRS_MSE_METRIC_MIPOBJECT, 3, 0.5, false, {}, 1},
      {XPRS_MSE_METRIC_MIPOBJECT, 0, 0.5, false, {}, 0},
      {XPRS_MSE_METRIC_MIPOBJECT, 4, 9.0, true, {2, 3, 1, 4}, 0},
      {XPRS_MSE_METRIC_DIVERSITY, 4, 0.0, false, {1, 3, 2, 4}, 0},
      {XPRS_MSE_METRIC_DIVERSITY, 2, 0.0, false, {1, 3}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.metric << " max " << c.nmax << " obj " << c.newObj);
    std::vector<int> ids(static_cast<std::size_t>(c.nmax) + 1, -7);
    int n = -1;
    int reject = 0;
    const bool diverse = c.metric == XPRS_MSE_METRIC_DIVERSITY;
    ASSERT_EQ(XPRS_mse_getcullchoice(mse_, c.metric, ids.data(), c.nmax, &n, c.newObj,
                                     diverse ? likeFirst : nullptr, diverse ? kMipCols : 0,
                                     c.ignoreNew ? nullptr : &reject),
              0);
    EXPECT_EQ(ids[static_cast<std::size_t>(c.nmax)], -7);  // nothing past nmax
    ids.resize(static_cast<std::size_t>(n));
    EXPECT_EQ(ids, c.ids);
    EXPECT_EQ(reject, c.reject);
  }
  int ids[4];
  int n = 0;
  EXPECT_EQ(
      XPRS_mse_getcullchoice(mse_, XPRS_MSE_METRIC_DIVERSITY, ids, 4, &n, 0, likeFirst, 5, nullptr),
      32);
  EXPECT_EQ(enumError(),
            "XPRS_mse_getcullchoice: nCols 5 differs from the 6 columns of the problem");
  EXPECT_EQ(XPRS_mse_getcullchoice(mse_, 6606, ids, 4, &n, 0, nullptr, 0, nullptr), 32);
  EXPECT_EQ(enumError(), "XPRS_mse_getcullchoice: unsupported metric 6606");
}

TEST_F(EnumerateTest, ScriptedCullChoicesAndSolutionCountOverride) {
  xprs::testing::queueCullResponse(mse_, {{7, 8, 9}, true, {}});
  int ids[2] = {0, 0};
  int n = -1;
  int reject = 0;
  ASSERT_EQ(
      XPRS_mse_getcullchoice(mse_, XPRS_MSE_METRIC_DIVERSITY, ids, 2, &n, 0, nullptr, 0, &reject),
      0);
  EXPECT_EQ(n, 2);
  EXPECT_THAT(ids, testing::ElementsAre(7, 8));
  EXPECT_EQ(reject, 1);
  // A scripted count is reported as it is, while no more ids are written than asked for.
  xprs::testing::queueCullResponse(mse_, {{4, 5}, false, 9});
  ids[1] = 0;
  ASSERT_EQ(
      XPRS_mse_getcullchoice(mse_, XPRS_MSE_METRIC_DIVERSITY, ids, 1, &n, 0, nullptr, 0, &reject),
      0);
  EXPECT_EQ(n, 9);
  EXPECT_THAT(ids, testing::ElementsAre(4, 0));
  // Unscripted, before any run, there is nothing to choose from.
  EXPECT_EQ(
      XPRS_mse_getcullchoice(mse_, XPRS_MSE_METRIC_MIPOBJECT, ids, 2, &n, 0, nullptr, 0, &reject),
      32);
  EXPECT_EQ(enumError(),
            "XPRS_mse_getcullchoice: the enumerator has not run: it has no problem and solution "
            "pool to choose from");
  int stored = -1;
  xprs::testing::setIntAttrib(mse_, XPRS_MSE_SOLUTIONS, 5);
  ASSERT_EQ(XPRS_mse_getintattrib(mse_, XPRS_MSE_SOLUTIONS, &stored), 0);
  EXPECT_EQ(stored, 5);
  xprs::testing::clearAttribOverrides(mse_);
  ASSERT_EQ(XPRS_mse_getintattrib(mse_, XPRS_MSE_SOLUTIONS, &stored), 0);
  EXPECT_EQ(stored, 0);
}

}  // namespace
