// Every exported function fails on request with the injected code and text, journals the
// call, and leaves the problem as it was.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/platform/xprs/pool/pool_fixture.hpp"
#include "tests/support/standin_test.hpp"
#include "xprs_testing.hpp"

namespace {

using xprs_test::StandinTest;

struct Call {
  const char* function;
  std::function<int(XPRSprob)> call;
};

void ignoreMessage(XPRSprob, void*, const char*, int, int) {}
int ignoreTime(XPRSprob, void*) { return 0; }
void ignoreSol(XPRSprob, void*) {}
void ignoreNode(XPRSprob, void*, int*) {}

class InjectionTest : public StandinTest, public ::testing::WithParamInterface<Call> {
 protected:
  void SetUp() override {
    StandinTest::SetUp();
    ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_OUTPUTLOG, 0), 0);
    const double obj[] = {1, 1};
    ASSERT_EQ(XPRSaddcols64(prob_, 2, 0, obj, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
    const char types[] = {'G'};
    const double rhs[] = {1};
    const XPRSint64 start[] = {0};
    const int cols[] = {0, 1};
    const double vals[] = {1, 1};
    ASSERT_EQ(XPRSaddrows64(prob_, 1, 2, types, rhs, nullptr, start, cols, vals), 0);
    const int col[] = {1};
    const char integer[] = {'I'};
    ASSERT_EQ(XPRSchgcoltype(prob_, 1, col, integer), 0);
    ASSERT_EQ(XPRSoptimize(prob_, "", nullptr, nullptr), 0);
  }
};

TEST_P(InjectionTest, FailsWithTheInjectedCodeAndText) {
  const Call& c = GetParam();
  const xprs::testing::ProblemRecord before = xprs::testing::inspect(prob_);
  xprs::testing::clearCalls();
  xprs::testing::failNext(c.function, 41, "injected");
  EXPECT_EQ(c.call(prob_), 41);
  const auto calls = xprs::testing::calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].function, c.function);
  EXPECT_EQ(calls[0].handle, prob_);
  EXPECT_EQ(lastError(), "injected");
  int code = 0;
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_ERRORCODE, &code), 0);
  EXPECT_EQ(code, 41);
  const auto& after = xprs::testing::inspect(prob_);
  EXPECT_EQ(after.model.cols(), before.model.cols());
  EXPECT_EQ(after.model.rows(), before.model.rows());
  EXPECT_EQ(after.model.colType, before.model.colType);
  EXPECT_EQ(after.model.sense, before.model.sense);
  EXPECT_EQ(after.intControls, before.intControls);
  EXPECT_EQ(after.callbacks.size(), before.callbacks.size());
  EXPECT_EQ(after.runs, before.runs);
  EXPECT_EQ(after.files.size(), before.files.size());
  EXPECT_EQ(after.interrupts, before.interrupts);
}

const int kCol[] = {0};
const int kCol1[] = {1};
const int kRow[] = {0};
const double kOne[] = {1.0};
const char kL[] = {'L'};
const char kI[] = {'I'};
const char kU[] = {'U'};
const XPRSint64 kStart[] = {0};
const int kStat[] = {1, 1};
int gInt = 0;
double gDbl = 0;
double gArr[4];
int gIArr[4];
char gBuf[1200];

const Call kCalls[] = {
    {"XPRSdestroyprob", [](XPRSprob p) { return XPRSdestroyprob(p); }},
    {"XPRScopycallbacks", [](XPRSprob p) { return XPRScopycallbacks(p, p); }},
    {"XPRSsetprobname", [](XPRSprob p) { return XPRSsetprobname(p, "n"); }},
    {"XPRSgetprobname", [](XPRSprob p) { return XPRSgetprobname(p, gBuf); }},
    {"XPRSaddcols64",
     [](XPRSprob p) {
       return XPRSaddcols64(p, 1, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
     }},
    {"XPRSaddrows64",
     [](XPRSprob p) {
       return XPRSaddrows64(p, 1, 0, kL, nullptr, nullptr, nullptr, nullptr, nullptr);
     }},
    {"XPRSaddqmatrix64",
     [](XPRSprob p) { return XPRSaddqmatrix64(p, 0, 0, nullptr, nullptr, nullptr); }},
    {"XPRSchgmqobj64", [](XPRSprob p) { return XPRSchgmqobj64(p, 1, kCol, kCol, kOne); }},
    {"XPRSnlpaddformulas",
     [](XPRSprob p) { return XPRSnlpaddformulas(p, 0, nullptr, nullptr, 1, nullptr, nullptr); }},
    {"XPRSaddsets64", [](XPRSprob p) { return XPRSaddsets64(p, 1, 1, "1", kStart, kCol, kOne); }},
    {"XPRSsetindicators",
     [](XPRSprob p) {
       const int c[] = {1};
       return XPRSsetindicators(p, 1, kRow, kCol1, c);
     }},
    {"XPRSaddnames", [](XPRSprob p) { return XPRSaddnames(p, 2, "x", 0, 0); }},
    {"XPRSchgcoltype", [](XPRSprob p) { return XPRSchgcoltype(p, 1, kCol, kI); }},
    {"XPRSchgglblimit", [](XPRSprob p) { return XPRSchgglblimit(p, 0, nullptr, nullptr); }},
    {"XPRSchgobj", [](XPRSprob p) { return XPRSchgobj(p, 1, kCol, kOne); }},
    {"XPRSchgobjn", [](XPRSprob p) { return XPRSchgobjn(p, 1, 1, kCol, kOne); }},
    {"XPRSaddobj", [](XPRSprob p) { return XPRSaddobj(p, 1, kCol, kOne, 1, 1.0); }},
    {"XPRSchgobjsense", [](XPRSprob p) { return XPRSchgobjsense(p, -1); }},
    {"XPRSchgbounds", [](XPRSprob p) { return XPRSchgbounds(p, 1, kCol, kU, kOne); }},
    {"XPRSgetrowtype", [](XPRSprob p) { return XPRSgetrowtype(p, gBuf, 0, 0); }},
    {"XPRSgetintcontrol", [](XPRSprob p) { return XPRSgetintcontrol(p, XPRS_PRESOLVE, &gInt); }},
    {"XPRSsetintcontrol", [](XPRSprob p) { return XPRSsetintcontrol(p, XPRS_PRESOLVE, 0); }},
    {"XPRSgetdblcontrol", [](XPRSprob p) { return XPRSgetdblcontrol(p, XPRS_TIMELIMIT, &gDbl); }},
    {"XPRSsetdblcontrol", [](XPRSprob p) { return XPRSsetdblcontrol(p, XPRS_TIMELIMIT, 1); }},
    {"XPRSgetstringcontrol",
     [](XPRSprob p) { return XPRSgetstringcontrol(p, XPRS_OUTPUTMASK, nullptr, 0, &gInt); }},
    {"XPRSgetstrcontrol", [](XPRSprob p) { return XPRSgetstrcontrol(p, XPRS_OUTPUTMASK, gBuf); }},
    {"XPRSsetstrcontrol", [](XPRSprob p) { return XPRSsetstrcontrol(p, XPRS_OUTPUTMASK, "m"); }},
    {"XPRSsetdefaultcontrol", [](XPRSprob p) { return XPRSsetdefaultcontrol(p, XPRS_OUTPUTLOG); }},
    {"XPRSgetobjintcontrol",
     [](XPRSprob p) { return XPRSgetobjintcontrol(p, 0, XPRS_OBJECTIVE_PRIORITY, &gInt); }},
    {"XPRSsetobjintcontrol",
     [](XPRSprob p) { return XPRSsetobjintcontrol(p, 0, XPRS_OBJECTIVE_PRIORITY, 1); }},
    {"XPRSgetobjdblcontrol",
     [](XPRSprob p) { return XPRSgetobjdblcontrol(p, 0, XPRS_OBJECTIVE_WEIGHT, &gDbl); }},
    {"XPRSsetobjdblcontrol",
     [](XPRSprob p) { return XPRSsetobjdblcontrol(p, 0, XPRS_OBJECTIVE_WEIGHT, 2); }},
    {"XPRSgetintattrib", [](XPRSprob p) { return XPRSgetintattrib(p, XPRS_COLS, &gInt); }},
    {"XPRSgetdblattrib", [](XPRSprob p) { return XPRSgetdblattrib(p, XPRS_OBJVAL, &gDbl); }},
    {"XPRSaddcbmessage", [](XPRSprob p) { return XPRSaddcbmessage(p, ignoreMessage, nullptr, 0); }},
    {"XPRSremovecbmessage", [](XPRSprob p) { return XPRSremovecbmessage(p, nullptr, nullptr); }},
    {"XPRSaddcbchecktime",
     [](XPRSprob p) { return XPRSaddcbchecktime(p, ignoreTime, nullptr, 0); }},
    {"XPRSremovecbchecktime",
     [](XPRSprob p) { return XPRSremovecbchecktime(p, nullptr, nullptr); }},
    {"XPRSaddcbintsol", [](XPRSprob p) { return XPRSaddcbintsol(p, ignoreSol, nullptr, 0); }},
    {"XPRSremovecbintsol", [](XPRSprob p) { return XPRSremovecbintsol(p, nullptr, nullptr); }},
    {"XPRSaddcboptnode", [](XPRSprob p) { return XPRSaddcboptnode(p, ignoreNode, nullptr, 0); }},
    {"XPRSremovecboptnode", [](XPRSprob p) { return XPRSremovecboptnode(p, nullptr, nullptr); }},
    {"XPRSoptimize", [](XPRSprob p) { return XPRSoptimize(p, "", nullptr, nullptr); }},
    {"XPRStune", [](XPRSprob p) { return XPRStune(p, ""); }},
    {"XPRStunerwritemethod", [](XPRSprob p) { return XPRStunerwritemethod(p, "/nonexistent/m"); }},
    {"XPRStunerreadmethod", [](XPRSprob p) { return XPRStunerreadmethod(p, "/nonexistent/m"); }},
    {"XPRSinterrupt", [](XPRSprob p) { return XPRSinterrupt(p, XPRS_STOP_USER); }},
    {"XPRSfixmipentities", [](XPRSprob p) { return XPRSfixmipentities(p, 1); }},
    {"XPRSloadbasis", [](XPRSprob p) { return XPRSloadbasis(p, kStat, kStat); }},
    {"XPRSaddmipsol", [](XPRSprob p) { return XPRSaddmipsol(p, 1, kOne, nullptr, nullptr); }},
    {"XPRSloaddirs",
     [](XPRSprob p) { return XPRSloaddirs(p, 1, kCol, nullptr, nullptr, nullptr, nullptr); }},
    {"XPRSnlpsetinitval", [](XPRSprob p) { return XPRSnlpsetinitval(p, 1, kCol, kOne); }},
    {"XPRSmsaddpreset", [](XPRSprob p) { return XPRSmsaddpreset(p, nullptr, 1, 1, nullptr); }},
    {"XPRSgetsolution", [](XPRSprob p) { return XPRSgetsolution(p, &gInt, gArr, 0, 1); }},
    {"XPRSgetslacks", [](XPRSprob p) { return XPRSgetslacks(p, &gInt, gArr, 0, 0); }},
    {"XPRSgetduals", [](XPRSprob p) { return XPRSgetduals(p, &gInt, gArr, 0, 0); }},
    {"XPRSgetredcosts", [](XPRSprob p) { return XPRSgetredcosts(p, &gInt, gArr, 0, 1); }},
    {"XPRSgetbasis", [](XPRSprob p) { return XPRSgetbasis(p, gIArr, gIArr); }},
    {"XPRSgetbasisval", [](XPRSprob p) { return XPRSgetbasisval(p, 0, 0, &gInt, &gInt); }},
    {"XPRSgetscaledinfeas",
     [](XPRSprob p) {
       return XPRSgetscaledinfeas(p, &gInt, &gInt, &gInt, &gInt, nullptr, nullptr, nullptr,
                                  nullptr);
     }},
    {"XPRSwriteprob", [](XPRSprob p) { return XPRSwriteprob(p, "/nonexistent/p", ""); }},
    {"XPRSwritebasis", [](XPRSprob p) { return XPRSwritebasis(p, "/nonexistent/b", ""); }},
    {"XPRSwriteprtsol", [](XPRSprob p) { return XPRSwriteprtsol(p, "/nonexistent/s", ""); }},
    {"XPRSsave", [](XPRSprob p) { return XPRSsave(p); }},
};

INSTANTIATE_TEST_SUITE_P(EveryProblemFunction, InjectionTest, ::testing::ValuesIn(kCalls),
                         [](const ::testing::TestParamInfo<Call>& info) {
                           return std::string(info.param.function);
                         });

TEST(GlobalInjectionTest, FunctionsWithoutAProblemReportThroughTheGlobalError) {
  xprs::testing::reset();
  struct Case {
    const char* function;
    std::function<int()> call;
  };
  XPRSprob prob = nullptr;
  XPRSmipsolpool pool = nullptr;
  char buf[512];
  const Case cases[] = {
      {"XPRSinit", [] { return XPRSinit(nullptr); }},
      {"XPRScreateprob", [&] { return XPRScreateprob(&prob); }},
      {"XPRSgetlicerrmsg", [&] { return XPRSgetlicerrmsg(buf, 512); }},
      {"XPRS_msp_create", [&] { return XPRS_msp_create(&pool); }},
      {"XPRSfree", [] { return XPRSfree(); }},
  };
  ASSERT_EQ(XPRSinit(nullptr), 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.function);
    xprs::testing::failNext(c.function, 9, std::string("no ") + c.function);
    EXPECT_EQ(c.call(), 9);
    char text[512] = {};
    XPRSgetlasterror(nullptr, text);
    EXPECT_EQ(std::string(text), std::string("no ") + c.function);
  }
  EXPECT_EQ(prob, nullptr);
  EXPECT_EQ(xprs::testing::initCount(), 1);
  EXPECT_EQ(XPRSfree(), 0);
}

// Pool and enumerator functions: the injected code and text, kept by the object called (by the
// library for the create functions), and the objects unchanged.
using M = XPRSmipsolpool;
using E = XPRSmipsolenum;
using P = XPRSprob;

struct ObjectCall {
  const char* function;
  enum Kind { kPool, kEnumerator, kGlobal } kind;
  std::function<int(M, E, P)> call;
};

int XPRS_CC acceptAll(E, P, M, void*, int*, const double*, int, double, double*, int*, int*) {
  return 0;
}
int XPRS_CC ignoreObjectMessage(XPRSobject, void*, void*, const char*, int, int) { return 0; }

class ObjectInjectionTest : public xprs_test::PoolTest,
                            public ::testing::WithParamInterface<ObjectCall> {};

TEST_P(ObjectInjectionTest, FailsWithTheInjectedCodeAndText) {
  const ObjectCall& c = GetParam();
  xprs_test::loadMip(prob_);
  ASSERT_EQ(XPRS_mse_opt(mse_, prob_, pool_, acceptAll, nullptr, nullptr), 0);
  const xprs::testing::PoolRecord pool = xprs::testing::inspect(pool_);
  const xprs::testing::EnumeratorRecord mse = xprs::testing::inspect(mse_);
  xprs::testing::clearCalls();
  xprs::testing::failNext(c.function, 41, "injected");
  EXPECT_EQ(c.call(pool_, mse_, prob_), 41);
  const auto calls = xprs::testing::calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].function, c.function);
  char text[512] = {};
  int code = 0;
  if (c.kind == ObjectCall::kEnumerator) {
    EXPECT_EQ(calls[0].handle, mse_);
    ASSERT_EQ(XPRS_mse_getlasterror(mse_, &code, text, 512, nullptr), 0);
  } else {
    EXPECT_EQ(calls[0].handle, c.kind == ObjectCall::kPool ? pool_ : nullptr);
    ASSERT_EQ(XPRS_msp_getlasterror(c.kind == ObjectCall::kPool ? pool_ : nullptr, &code, text, 512,
                                    nullptr),
              0);
  }
  EXPECT_STREQ(text, "injected");
  EXPECT_EQ(code, 41);
  const auto& poolAfter = xprs::testing::inspect(pool_);
  const auto& mseAfter = xprs::testing::inspect(mse_);
  EXPECT_EQ(poolAfter.lastId, pool.lastId);
  EXPECT_EQ(poolAfter.solutions.size(), pool.solutions.size());
  EXPECT_EQ(poolAfter.attached, pool.attached);
  EXPECT_EQ(poolAfter.intControls, pool.intControls);
  EXPECT_EQ(poolAfter.msgHandler, pool.msgHandler);
  EXPECT_EQ(mseAfter.runs, mse.runs);
  EXPECT_EQ(mseAfter.intControls, mse.intControls);
  EXPECT_EQ(mseAfter.msgHandler, mse.msgHandler);
  EXPECT_EQ(xprs::testing::livePools() + xprs::testing::liveEnumerators(), 2);
}

M gPool = nullptr;
E gEnum = nullptr;

const ObjectCall kObjectCalls[] = {
    {"XPRS_msp_create", ObjectCall::kGlobal, [](M, E, P) { return XPRS_msp_create(&gPool); }},
    {"XPRS_msp_destroy", ObjectCall::kPool, [](M m, E, P) { return XPRS_msp_destroy(m); }},
    {"XPRS_msp_probattach", ObjectCall::kPool,
     [](M m, E, P p) { return XPRS_msp_probattach(m, p); }},
    {"XPRS_msp_probdetach", ObjectCall::kPool,
     [](M m, E, P p) { return XPRS_msp_probdetach(m, p); }},
    {"XPRS_msp_getsollist", ObjectCall::kPool,
     [](M m, E, P p) { return XPRS_msp_getsollist(m, p, 0, 0, 1, 4, gIArr, nullptr, nullptr); }},
    {"XPRS_msp_getsol", ObjectCall::kPool,
     [](M m, E, P) { return XPRS_msp_getsol(m, 1, &gInt, gArr, 0, 1, nullptr); }},
    {"XPRS_msp_delsol", ObjectCall::kPool, [](M m, E, P) { return XPRS_msp_delsol(m, 1, &gInt); }},
    {"XPRS_msp_setcbmsghandler", ObjectCall::kPool,
     [](M m, E, P) { return XPRS_msp_setcbmsghandler(m, ignoreObjectMessage, nullptr); }},
    {"XPRS_msp_getlasterror", ObjectCall::kPool,
     [](M m, E, P) { return XPRS_msp_getlasterror(m, nullptr, gBuf, 512, nullptr); }},
    {"XPRS_msp_getintcontrol", ObjectCall::kPool,
     [](M m, E, P) { return XPRS_msp_getintcontrol(m, 6203, &gInt); }},
    {"XPRS_msp_setintcontrol", ObjectCall::kPool,
     [](M m, E, P) { return XPRS_msp_setintcontrol(m, 6203, 0); }},
    {"XPRS_msp_getdblcontrol", ObjectCall::kPool,
     [](M m, E, P) { return XPRS_msp_getdblcontrol(m, 6209, &gDbl); }},
    {"XPRS_msp_setdblcontrol", ObjectCall::kPool,
     [](M m, E, P) { return XPRS_msp_setdblcontrol(m, 6209, 1.0); }},
    {"XPRS_msp_getintattrib", ObjectCall::kPool,
     [](M m, E, P) { return XPRS_msp_getintattrib(m, 6208, &gInt); }},
    {"XPRS_msp_getdblattrib", ObjectCall::kPool,
     [](M m, E, P) { return XPRS_msp_getdblattrib(m, 6208, &gDbl); }},
    {"XPRS_mse_create", ObjectCall::kGlobal, [](M, E, P) { return XPRS_mse_create(&gEnum); }},
    {"XPRS_mse_destroy", ObjectCall::kEnumerator, [](M, E e, P) { return XPRS_mse_destroy(e); }},
    {"XPRS_mse_opt", ObjectCall::kEnumerator,
     [](M m, E e, P p) { return XPRS_mse_opt(e, p, m, acceptAll, nullptr, nullptr); }},
    {"XPRS_mse_getcullchoice", ObjectCall::kEnumerator,
     [](M, E e, P) {
       return XPRS_mse_getcullchoice(e, 6604, gIArr, 1, &gInt, 0.0, nullptr, 0, nullptr);
     }},
    {"XPRS_mse_setcbmsghandler", ObjectCall::kEnumerator,
     [](M, E e, P) { return XPRS_mse_setcbmsghandler(e, ignoreObjectMessage, nullptr); }},
    {"XPRS_mse_getlasterror", ObjectCall::kEnumerator,
     [](M, E e, P) { return XPRS_mse_getlasterror(e, nullptr, gBuf, 512, nullptr); }},
    {"XPRS_mse_getintcontrol", ObjectCall::kEnumerator,
     [](M, E e, P) { return XPRS_mse_getintcontrol(e, 6601, &gInt); }},
    {"XPRS_mse_setintcontrol", ObjectCall::kEnumerator,
     [](M, E e, P) { return XPRS_mse_setintcontrol(e, 6601, 2); }},
    {"XPRS_mse_getdblcontrol", ObjectCall::kEnumerator,
     [](M, E e, P) { return XPRS_mse_getdblcontrol(e, 6609, &gDbl); }},
    {"XPRS_mse_setdblcontrol", ObjectCall::kEnumerator,
     [](M, E e, P) { return XPRS_mse_setdblcontrol(e, 6609, 1.0); }},
    {"XPRS_mse_getintattrib", ObjectCall::kEnumerator,
     [](M, E e, P) { return XPRS_mse_getintattrib(e, 6600, &gInt); }},
    {"XPRS_mse_getdblattrib", ObjectCall::kEnumerator,
     [](M, E e, P) { return XPRS_mse_getdblattrib(e, 6600, &gDbl); }},
};

INSTANTIATE_TEST_SUITE_P(EveryPoolAndEnumeratorFunction, ObjectInjectionTest,
                         ::testing::ValuesIn(kObjectCalls),
                         [](const ::testing::TestParamInfo<ObjectCall>& info) {
                           return std::string(info.param.function);
                         });

}  // namespace
