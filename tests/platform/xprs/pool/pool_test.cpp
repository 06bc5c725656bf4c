// The solution pool: incumbents of attached problems, attachment rules, the ranked list,
// reads and deletes by id, the duplicate policy; and, for pools and enumerators alike,
// controls, error texts, message handlers and handle misuse.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/platform/xprs/pool/pool_fixture.hpp"
#include "tests/support/mps_loader.hpp"
#include "xprs_testing.hpp"

namespace {

using xprs_test::kMipCols;
using PoolTest = xprs_test::PoolTest;

TEST_F(PoolTest, CollectsEveryImprovingIncumbentOfAnAttachedProblem) {
  const auto model = xprs_test::readSample("p0033");
  xprs_test::load(prob_, model);
  ASSERT_EQ(XPRS_msp_probattach(pool_, prob_), 0);
  ASSERT_EQ(XPRSoptimize(prob_, "", nullptr, nullptr), 0);
  int incumbents = 0;
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_MIPSOLS, &incumbents), 0);
  ASSERT_GE(incumbents, 2);
  EXPECT_EQ(poolCount(), incumbents);
  const auto& stored = xprs::testing::inspect(pool_).solutions;
  for (std::size_t k = 0; k < stored.size(); ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(stored[k].id, static_cast<int>(k) + 1);
    EXPECT_EQ(stored[k].origin, prob_);
    EXPECT_LT(stored[k].objective, k > 0 ? stored[k - 1].objective : 1e9);
  }
  EXPECT_NEAR(stored.back().objective, 3089, 1e-6);
  std::vector<double> x(static_cast<std::size_t>(model.cols));
  std::vector<double> solution(x.size());
  ASSERT_EQ(XPRS_msp_getsol(pool_, incumbents, nullptr, x.data(), 0, model.cols - 1, nullptr), 0);
  ASSERT_EQ(XPRSgetsolution(prob_, nullptr, solution.data(), 0, model.cols - 1), 0);
  EXPECT_EQ(x, solution);
  ASSERT_EQ(XPRS_msp_probdetach(pool_, prob_), 0);
  ASSERT_EQ(XPRSoptimize(prob_, "", nullptr, nullptr), 0);
  EXPECT_EQ(poolCount(), incumbents);
}

TEST_F(PoolTest, AttachmentRules) {
  XPRSmipsolpool other = nullptr;
  ASSERT_EQ(XPRS_msp_create(&other), 0);
  EXPECT_EQ(XPRS_msp_probdetach(pool_, prob_), 0);  // not attached: no error
  ASSERT_EQ(XPRS_msp_probattach(pool_, prob_), 0);
  ASSERT_EQ(XPRS_msp_probattach(pool_, prob_), 0);  // again: harmless
  EXPECT_EQ(XPRS_msp_probattach(other, prob_), 32);
  char buf[512] = {};
  XPRS_msp_getlasterror(other, nullptr, buf, 512, nullptr);
  EXPECT_STREQ(buf, "XPRS_msp_probattach: the problem is attached to another solution pool");
  XPRSprob second = nullptr;
  ASSERT_EQ(XPRScreateprob(&second), 0);
  ASSERT_EQ(XPRS_msp_probattach(pool_, second), 0);
  ASSERT_EQ(XPRSdestroyprob(second), 0);  // leaves the pool
  EXPECT_EQ(xprs::testing::inspect(pool_).attached, std::vector<const void*>{prob_});
  ASSERT_EQ(XPRS_msp_destroy(pool_), 0);  // frees the problem
  pool_ = other;
  EXPECT_EQ(XPRS_msp_probattach(pool_, prob_), 0);
}

TEST_F(PoolTest, SolutionListRanksByIdOrObjectiveOverPositionsFromOne) {
  storeFour();
  struct Case {
    XPRSprob prob;
    int attrib, ascending, first, last;
    std::vector<int> ids;
  };
  const Case cases[] = {
      {prob_, 0, 0, 1, 4, {4, 3, 2, 1}},
      {prob_, 0, 1, 2, 3, {2, 3}},
      {prob_, 0, 1, 3, 99, {3, 4}},
      {prob_, 0, 1, 5, 9, {}},
      {prob_, XPRS_MSP_SOLPRB_OBJ, 0, 1, 4, {4, 1, 3, 2}},
      {nullptr, XPRS_MSP_SOLPRB_OBJ, 1, 1, 2, {2, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.attrib << " " << c.ascending << " " << c.first << ".." << c.last);
    std::vector<int> ids(8, 0);
    int returned = -1;
    int total = -1;
    ASSERT_EQ(XPRS_msp_getsollist(pool_, c.prob, c.attrib, c.ascending, c.first, c.last, ids.data(),
                                  &returned, &total),
              0);
    EXPECT_EQ(total, 4);
    ids.resize(static_cast<std::size_t>(returned));
    EXPECT_EQ(ids, c.ids);
  }
  // The count-only form, for a problem whose column count no stored solution has.
  XPRSprob wider = nullptr;
  ASSERT_EQ(XPRScreateprob(&wider), 0);
  ASSERT_EQ(XPRSaddcols64(wider, 7, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  int total = -1;
  ASSERT_EQ(XPRS_msp_getsollist(pool_, wider, 0, 0, 0, 0, nullptr, nullptr, &total), 0);
  EXPECT_EQ(total, 0);
  EXPECT_EQ(XPRSdestroyprob(wider), 0);
  int ids[4];
  EXPECT_EQ(XPRS_msp_getsollist(pool_, prob_, 0, 0, 0, 2, ids, nullptr, nullptr), 32);
  EXPECT_EQ(poolError(),
            "XPRS_msp_getsollist: invalid rank range first=0 last=2 (positions count from 1)");
}

TEST_F(PoolTest, ReadsAndDeletesSolutionsByIdWithTheirStatus) {
  storeFour();
  double x[kMipCols];
  int n = -1;
  int status = -3;
  ASSERT_EQ(XPRS_msp_getsol(pool_, 3, &status, x, 1, 4, &n), 0);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(n, 4);
  EXPECT_THAT(std::vector<double>(x, x + 4), testing::ElementsAre(0, 0, 0, 1));
  ASSERT_EQ(XPRS_msp_getsol(pool_, 3, nullptr, nullptr, 2, 1000, &n), 0);  // count only
  EXPECT_EQ(n, 4);
  EXPECT_EQ(XPRS_msp_getsol(pool_, 3, &status, x, 0, kMipCols, nullptr), 32);
  EXPECT_EQ(poolError(),
            "XPRS_msp_getsol: invalid range first=0 last=6 (solution 3 has 6 columns)");
  ASSERT_EQ(XPRS_msp_delsol(pool_, 2, &status), 0);
  EXPECT_EQ(poolCount(), 3);
  struct Case {
    int id, status;
    std::string text;
  };
  for (const Case& c :
       {Case{2, -1, "solution 2 was deleted"}, Case{5, -2, "solution 5 does not exist"}}) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(XPRS_msp_getsol(pool_, c.id, &status, x, 0, 0, nullptr), 32);
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(poolError(), "XPRS_msp_getsol: " + c.text);
    status = 9;
    EXPECT_EQ(XPRS_msp_delsol(pool_, c.id, &status), 32);
    EXPECT_EQ(status, c.status);
  }
  storeIncumbents({{{0, 0, 1, 0, 0, 0.5}, 2.5}});
  EXPECT_EQ(xprs::testing::inspect(pool_).solutions.back().id, 5);  // ids are never reused
}

TEST_F(PoolTest, DuplicatePolicyKeepsTheBetterOfEqualIntegerParts) {
  xprs_test::loadMip(prob_);
  int policy = -1;
  ASSERT_EQ(XPRS_msp_getintcontrol(pool_, XPRS_MSP_DUPLICATESOLUTIONSPOLICY, &policy), 0);
  EXPECT_EQ(policy, 3);
  const xprs_test::MipPoint first{{0, 0, 1, 0, 1, 1.0}, 2};
  storeIncumbents({first, {{0, 0, 1, 0, 1, 0.5}, 1.5}, {{0, 0, 1, 0, 1, 1.5}, 2.5}});
  const auto& pool = xprs::testing::inspect(pool_);
  ASSERT_EQ(pool.solutions.size(), 1u);
  EXPECT_EQ(pool.solutions[0].id, 2);
  EXPECT_EQ(pool.solutions[0].objective, 2.5);
  ASSERT_EQ(XPRS_msp_setintcontrol(pool_, XPRS_MSP_DUPLICATESOLUTIONSPOLICY, 0), 0);
  storeIncumbents({first, first});
  EXPECT_EQ(poolCount(), 3);
}

TEST_F(PoolTest, ControlsAndAttributesOfPoolsAndEnumerators) {
  int v = 0;
  double d = 0;
  for (int id : {XPRS_MSE_CALLBACKCULLSOLS_MIPOBJECT, XPRS_MSE_CALLBACKCULLSOLS_DIVERSITY,
                 XPRS_MSE_CALLBACKCULLSOLS_MODOBJECT}) {
    SCOPED_TRACE(id);
    ASSERT_EQ(XPRS_mse_getintcontrol(mse_, id, &v), 0);
    EXPECT_EQ(v, -1);
    ASSERT_EQ(XPRS_mse_setintcontrol(mse_, id, 3), 0);
    ASSERT_EQ(XPRS_mse_getintcontrol(mse_, id, &v), 0);
    EXPECT_EQ(v, 3);
  }
  struct Case {
    std::function<int()> call;
    bool onPool;
    const char* text;
  };
  const Case cases[] = {
      {[&] { return XPRS_msp_setintcontrol(pool_, 6203, 4); }, true,
       "XPRS_msp_setintcontrol: invalid value 4 for control 6203 (0..3)"},
      {[&] { return XPRS_msp_getintcontrol(pool_, 6209, &v); }, true,
       "XPRS_msp_getintcontrol: unknown control 6209"},
      {[&] { return XPRS_msp_getdblcontrol(pool_, 6203, &d); }, true,
       "XPRS_msp_getdblcontrol: control 6203 is an integer control, not a double control"},
      {[&] { return XPRS_msp_getintattrib(pool_, 6300, &v); }, true,
       "XPRS_msp_getintattrib: unknown attribute 6300"},
      {[&] { return XPRS_msp_getdblattrib(pool_, 6208, &d); }, true,
       "XPRS_msp_getdblattrib: attribute 6208 is an integer attribute, not a double attribute"},
      {[&] { return XPRS_mse_getintcontrol(mse_, 6604, &v); }, false,
       "XPRS_mse_getintcontrol: unknown control 6604"},
      {[&] { return XPRS_mse_setdblcontrol(mse_, 6601, 1.0); }, false,
       "XPRS_mse_setdblcontrol: control 6601 is an integer control, not a double control"},
      {[&] { return XPRS_mse_getdblattrib(mse_, 6600, &d); }, false,
       "XPRS_mse_getdblattrib: attribute 6600 is an integer attribute, not a double attribute"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.call(), 32);
    EXPECT_EQ(c.onPool ? poolError() : enumError(), c.text);
  }
  int code = 0;
  int nbytes = 0;
  char small[8];
  ASSERT_EQ(XPRS_mse_getlasterror(mse_, &code, small, sizeof small, &nbytes), 0);
  EXPECT_STREQ(small, "XPRS_ms");
  EXPECT_EQ(code, 32);
  EXPECT_EQ(nbytes, static_cast<int>(std::string(cases[7].text).size()) + 1);
}

int XPRS_CC recordMessage(XPRSobject obj, void* ctx, void* thread, const char* text, int type,
                          int code) {
  auto& seen = *static_cast<std::vector<std::string>*>(ctx);
  seen.push_back((text ? std::string(text) : "NULL") + "/" + std::to_string(type));
  EXPECT_TRUE(obj != nullptr && thread == nullptr && code == 0);
  return 1;
}

TEST_F(PoolTest, MessagesGoToTheHandlerRegisteredLast) {
  std::vector<std::string> first;
  std::vector<std::string> pool;
  std::vector<std::string> mse;
  ASSERT_EQ(XPRS_msp_setcbmsghandler(pool_, recordMessage, &first), 0);
  ASSERT_EQ(XPRS_mse_setcbmsghandler(mse_, recordMessage, &first), 0);
  xprs::testing::emitMessage(pool_, "one", 1);
  ASSERT_EQ(XPRS_msp_setcbmsghandler(pool_, recordMessage, &pool), 0);
  ASSERT_EQ(XPRS_mse_setcbmsghandler(mse_, recordMessage, &mse), 0);
  xprs::testing::emitMessage(pool_, "", 4);
  xprs::testing::emitMessage(mse_, nullptr, -1);
  xprs_test::loadMip(prob_);
  ASSERT_EQ(XPRS_mse_opt(mse_, prob_, pool_, nullptr, nullptr, nullptr), 0);  // stores all
  ASSERT_EQ(XPRS_msp_setcbmsghandler(pool_, nullptr, nullptr), 0);
  xprs::testing::emitMessage(pool_, "dropped", 1);
  EXPECT_EQ(first, std::vector<std::string>{"one/1"});
  EXPECT_EQ(pool, std::vector<std::string>{"/4"});
  EXPECT_EQ(mse, (std::vector<std::string>{
                     "NULL/-1", "Solution enumeration: 19 solutions found, 0 rejected/1"}));
  EXPECT_EQ(poolCount(), 19);
}

TEST_F(PoolTest, DeadAndNullHandlesAreRefusedAndCounted) {
  expectMisuse_ = true;
  XPRSmipsolpool deadPool = nullptr;
  XPRSmipsolenum deadEnum = nullptr;
  XPRSprob deadProb = nullptr;
  ASSERT_EQ(XPRS_msp_create(&deadPool), 0);
  ASSERT_EQ(XPRS_mse_create(&deadEnum), 0);
  ASSERT_EQ(XPRScreateprob(&deadProb), 0);
  ASSERT_EQ(XPRS_msp_destroy(deadPool), 0);
  ASSERT_EQ(XPRS_mse_destroy(deadEnum), 0);
  ASSERT_EQ(XPRSdestroyprob(deadProb), 0);
  char buf[512] = {};
  int v = 0;
  struct Case {
    std::function<int()> call;
    std::function<std::string()> error;
    const char* text;
  };
  auto global = [&] {
    XPRS_msp_getlasterror(nullptr, nullptr, buf, 512, nullptr);
    return std::string(buf);
  };
  const Case cases[] = {
      {[&] { return XPRS_msp_destroy(deadPool); }, global,
       "XPRS_msp_destroy: unknown or destroyed solution pool handle"},
      {[&] { return XPRS_mse_getlasterror(deadEnum, nullptr, buf, 512, nullptr); }, global,
       "XPRS_mse_getlasterror: unknown or destroyed solution enumerator handle"},
      {[&] { return XPRS_msp_getintattrib(nullptr, XPRS_MSP_SOLUTIONS, &v); }, global,
       "XPRS_msp_getintattrib: the solution pool handle is NULL"},
      {[&] { return XPRS_msp_probattach(pool_, deadProb); }, [&] { return poolError(); },
       "XPRS_msp_probattach: unknown or destroyed problem handle"},
      {[&] { return XPRS_mse_opt(mse_, deadProb, pool_, nullptr, nullptr, nullptr); },
       [&] { return enumError(); }, "XPRS_mse_opt: unknown or destroyed problem handle"},
      {[&] { return XPRS_mse_opt(mse_, prob_, deadPool, nullptr, nullptr, nullptr); },
       [&] { return enumError(); }, "XPRS_mse_opt: unknown or destroyed solution pool handle"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.call(), 32);
    EXPECT_EQ(c.error(), c.text);
  }
  EXPECT_EQ(xprs::testing::handleMisuse(), 6);
}

}  // namespace
