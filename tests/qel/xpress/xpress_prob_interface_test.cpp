// The call layer over an Xpress problem, run against the optimizer stand-in through a view bound
// to the fixture's problem.
#include "qel/xpress/xpress_prob_interface.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "nuv/exception.hpp"
#include "qel/xpress/xpress_exception.hpp"
#include "qel/xpress/xpress_prob_view.hpp"
#include "tests/support/standin_test.hpp"
#include "xprs_testing.hpp"

namespace {

using ::testing::ElementsAre;
using ::testing::StrEq;
using ::testing::ThrowsMessage;

namespace xt = xprs::testing;

// The controls the setters below write, one per setter.
constexpr int kIntControl = XPRS_PRESOLVE;
constexpr int kDblControl = XPRS_FEASTOL;
constexpr int kStrControl = XPRS_TUNERMETHODFILE;
constexpr int kObjIntControl = XPRS_OBJECTIVE_PRIORITY;
constexpr int kObjDblControl = XPRS_OBJECTIVE_WEIGHT;

void onMessage(XPRSprob, void*, const char*, int, int) {}
int onCheckTime(XPRSprob, void*) { return 0; }
void onIntSol(XPRSprob, void*) {}
void onOptNode(XPRSprob, void*, int*) {}

// The functions the journal shows, in order, from the current position.
std::vector<std::string> journal() {
  std::vector<std::string> names;
  for (const auto& call : xt::calls()) names.push_back(call.function);
  return names;
}

class ProbInterfaceTest : public xprs_test::StandinTest {
 protected:
  void SetUp() override {
    StandinTest::SetUp();
    view_.setProb(prob_);
  }
  qel::XpressProbView view_;
};

TEST(XpressExceptionTest, TextNamesCodeMessageAndFunction) {
  struct Case {
    std::string message;
    int code;
    std::string function;
    std::string text;
  };
  const Case cases[] = {
      {"bad", -5, "XPRSaddrows64", "Xpress (-5): bad [Trace: XPRSaddrows64]"},
      {"", 3, "XPRSaddrows64", "Xpress (3):  [Trace: XPRSaddrows64]"},
      {"msg", 1, "", "Xpress (1): msg"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const qel::XpressException e(c.message, c.code, c.function);
    EXPECT_EQ(e.what(), c.text);
    EXPECT_EQ(e.code(), c.code);
    EXPECT_EQ(e.message(), c.message);
  }
}

// One checked operation: the Xpress function it must call and a call with harmless arguments.
struct Checked {
  const char* function;
  std::function<void(qel::XpressProbInterface&)> call;
};

void PrintTo(const Checked& c, std::ostream* os) { *os << c.function; }

const Checked kChecked[] = {
    {"XPRSaddcols64", [](auto& p) { p.addCols(0, 0, {}, {}, {}, {}, {}, {}); }},
    {"XPRSaddrows64", [](auto& p) { p.addRows(0, 0, {}, {}, {}, {}, {}, {}); }},
    {"XPRSaddqmatrix64", [](auto& p) { p.addQMatrix(0, 0, {}, {}, {}); }},
    {"XPRSnlpaddformulas", [](auto& p) { p.nlpAddFormulas(0, {}, {}, 1, {}, {}); }},
    {"XPRSaddsets64", [](auto& p) { p.addSets(0, 0, {}, {}, {}, {}); }},
    {"XPRSsetindicators", [](auto& p) { p.setIndicators(0, {}, {}, {}); }},
    {"XPRSaddnames", [](auto& p) { p.addNames(2, "x", 0, 0); }},
    {"XPRSchgobjn", [](auto& p) { p.chgObjN(0, 0, {}, {}); }},
    {"XPRSchgobjsense", [](auto& p) { p.chgObjSense(-1); }},
    {"XPRSchgcoltype", [](auto& p) { p.chgColType(0, {}, {}); }},
    {"XPRSchgglblimit", [](auto& p) { p.chgGlbLimit(0, {}, {}); }},
    {"XPRSchgmqobj64", [](auto& p) { p.chgMQObj(0, {}, {}, {}); }},
    {"XPRSaddobj", [](auto& p) { p.addObj(0, {}, {}, 0, 1.0); }},
    {"XPRSchgobj", [](auto& p) { p.chgObj(0, {}, {}); }},
    {"XPRSchgbounds", [](auto& p) { p.chgBounds(0, {}, {}, {}); }},
    {"XPRSaddcbmessage", [](auto& p) { p.addCBMessage(onMessage, nullptr, 0); }},
    {"XPRSaddcbchecktime", [](auto& p) { p.addCBCheckTime(onCheckTime, nullptr, 0); }},
    {"XPRSaddcbintsol", [](auto& p) { p.addCBIntSol(onIntSol, nullptr, 0); }},
    {"XPRSaddcboptnode", [](auto& p) { p.addCBOptNode(onOptNode, nullptr, 0); }},
    {"XPRSremovecbmessage", [](auto& p) { p.removeCBMessage(onMessage, nullptr); }},
    {"XPRSremovecbchecktime", [](auto& p) { p.removeCBCheckTime(onCheckTime, nullptr); }},
    {"XPRSremovecbintsol", [](auto& p) { p.removeCBIntSol(onIntSol, nullptr); }},
    {"XPRSremovecboptnode", [](auto& p) { p.removeCBOptNode(onOptNode, nullptr); }},
    {"XPRSinterrupt", [](auto& p) { p.interrupt(XPRS_STOP_USER); }},
    {"XPRSfixmipentities", [](auto& p) { p.fixMipEntities(1); }},
    {"XPRSloadbasis", [](auto& p) { p.loadBasis({}, {}); }},
    {"XPRSloaddirs", [](auto& p) { p.loadDirs(0, {}, {}, {}, {}, {}); }},
    {"XPRSaddmipsol", [](auto& p) { p.addMIPSol(0, {}, {}, {}); }},
    {"XPRSmsaddpreset", [](auto& p) { p.msAddPreset({}, 0, 1, {}); }},
    {"XPRSnlpsetinitval", [](auto& p) { p.nlpSetInitVal(0, {}, {}); }},
    {"XPRSwriteprob", [](auto& p) { p.writeProb("f", ""); }},
    {"XPRSwriteprtsol", [](auto& p) { p.writePrtSol("f", ""); }},
    {"XPRSwritebasis", [](auto& p) { p.writeBasis("f", ""); }},
    {"XPRSsave", [](auto& p) { p.save(); }},
    {"XPRStunerreadmethod", [](auto& p) { p.tunerReadMethod("f"); }},
    {"XPRStunerwritemethod", [](auto& p) { p.tunerWriteMethod("f"); }},
    {"XPRSgetsolution", [](auto& p) { (void)p.getSolution({}, 0, -1); }},
    {"XPRSgetredcosts", [](auto& p) { (void)p.getRedCosts({}, 0, -1); }},
    {"XPRSgetslacks", [](auto& p) { (void)p.getSlacks({}, 0, -1); }},
    {"XPRSgetduals", [](auto& p) { (void)p.getDuals({}, 0, -1); }},
    {"XPRSgetrowtype", [](auto& p) { p.getRowType({}, 0, -1); }},
    {"XPRSgetbasisval", [](auto& p) { p.getBasis(0, 0, {}, {}); }},
    {"XPRSgetbasis", [](auto& p) { p.getBasis({}, {}); }},
    {"XPRSgetscaledinfeas", [](auto& p) { p.getScaledInfeas({}, {}, {}, {}, {}, {}, {}, {}); }},
    {"XPRSgetintattrib", [](auto& p) { (void)p.getIntAttrib(XPRS_MIPENTS); }},
    {"XPRSgetdblattrib", [](auto& p) { (void)p.getDblAttrib(XPRS_LPOBJVAL); }},
    {"XPRSgetintcontrol", [](auto& p) { (void)p.getIntControl(kIntControl); }},
    {"XPRSgetdblcontrol", [](auto& p) { (void)p.getDblControl(kDblControl); }},
    {"XPRSgetstringcontrol", [](auto& p) { (void)p.getStrControl(kStrControl); }},
    {"XPRSgetobjintcontrol", [](auto& p) { (void)p.getObjIntControl(0, kObjIntControl); }},
    {"XPRSgetobjdblcontrol", [](auto& p) { (void)p.getObjDblControl(0, kObjDblControl); }},
    {"XPRSsetintcontrol", [](auto& p) { p.setIntControl(kIntControl, 0); }},
    {"XPRSsetdblcontrol", [](auto& p) { p.setDblControl(kDblControl, 1e-7); }},
    {"XPRSsetstrcontrol", [](auto& p) { p.setStrControl(kStrControl, "m"); }},
    {"XPRSsetobjintcontrol", [](auto& p) { p.setObjIntControl(0, kObjIntControl, 2); }},
    {"XPRSsetobjdblcontrol", [](auto& p) { p.setObjDblControl(0, kObjDblControl, 2.0); }},
    {"XPRSsetdefaultcontrol", [](auto& p) { p.setDefaultControl(kIntControl); }},
    {"XPRSgetprobname", [](auto& p) { (void)p.getProbName(); }},
    {"XPRSsetprobname", [](auto& p) { p.setProbName("n"); }},
};

class CheckedCallTest : public ProbInterfaceTest, public ::testing::WithParamInterface<Checked> {};

TEST_P(CheckedCallTest, FailureRaisesTheXpressTextAndChangesNothing) {
  const Checked& c = GetParam();
  xt::failNext(c.function, 32, "injected");
  xt::clearCalls();
  EXPECT_THAT([&] { c.call(view_); },
              ThrowsMessage<qel::XpressException>(
                  StrEq(std::string("Xpress (32): injected [Trace: ") + c.function + "]")));
  EXPECT_THAT(journal(), ElementsAre(c.function, "XPRSgetlasterror"));
  for (int id : {kIntControl, kDblControl, kStrControl, kObjIntControl, kObjDblControl}) {
    EXPECT_FALSE(view_.modifiedControl(id)) << id;
  }
  EXPECT_FALSE(view_.isFixed());
}

TEST_P(CheckedCallTest, WithoutProblemRaisesTheStartGuardBeforeXpress) {
  qel::XpressProbView unbound;
  xt::clearCalls();
  try {
    GetParam().call(unbound);
    ADD_FAILURE() << "no exception";
  } catch (const qel::XpressException&) {
    ADD_FAILURE() << "an Xpress exception";
  } catch (const nuv::Exception& e) {
    EXPECT_STREQ(e.what(), ": Requires model to be started first.");
    EXPECT_FALSE(e.code().has_value());
  }
  EXPECT_TRUE(xt::calls().empty());
}

INSTANTIATE_TEST_SUITE_P(EveryCall, CheckedCallTest, ::testing::ValuesIn(kChecked),
                         [](const auto& info) { return std::string(info.param.function); });

TEST_F(ProbInterfaceTest, OptimizeAndTuneHandBackTheCodeUnchecked) {
  xt::failNext("XPRSoptimize", 17, "opt");
  xt::failNext("XPRStune", -3, "tune");
  xt::clearCalls();
  EXPECT_EQ(view_.optimize("", nullptr, nullptr), 17);
  EXPECT_EQ(view_.tune(""), -3);
  EXPECT_EQ(xt::countCalls("XPRSgetlasterror"), 0u);
  qel::XpressProbView unbound;
  EXPECT_THROW((void)unbound.optimize("", nullptr, nullptr), nuv::Exception);
  EXPECT_THROW((void)unbound.tune(""), nuv::Exception);
}

TEST_F(ProbInterfaceTest, ArgumentsReachXpressInOrder) {
  const double obj[] = {1.5, -2.0};
  const double lb[] = {-1.0, 0.0};
  const double ub[] = {4.0, 9.0};
  view_.addCols(2, 0, obj, nullptr, nullptr, nullptr, lb, ub);
  const char type[] = {'L'};
  const double rhs[] = {7.0};
  const XPRSint64 start[] = {0};
  const int cols[] = {1, 0};
  const double coef[] = {3.0, 5.0};
  view_.addRows(1, 2, type, rhs, nullptr, start, cols, coef);
  const int col[] = {1};
  const char colType[] = {'I'};
  view_.chgColType(1, col, colType);
  view_.addNames(2, "first\0second", 0, 1);
  view_.chgObjSense(-1);
  const auto& model = xt::inspect(prob_).model;
  EXPECT_THAT(model.colLb, ElementsAre(-1.0, 0.0));
  EXPECT_THAT(model.colUb, ElementsAre(4.0, 9.0));
  EXPECT_THAT(model.objectives[0].coef, ElementsAre(1.5, -2.0));
  EXPECT_THAT(model.elemCol, ElementsAre(1, 0));
  EXPECT_THAT(model.elemVal, ElementsAre(3.0, 5.0));
  EXPECT_THAT(model.rowRhs, ElementsAre(7.0));
  EXPECT_THAT(model.colType, ElementsAre('C', 'I'));
  EXPECT_THAT(model.colNames, ElementsAre("first", "second"));
  EXPECT_EQ(model.sense, -1);
  EXPECT_EQ(view_.getDblAttrib(XPRS_OBJSENSE), -1.0);
  EXPECT_EQ(xt::countCalls("XPRSgetlasterror"), 0u);
}

TEST_F(ProbInterfaceTest, OnlyTheFiveSettersRecordTheirControl) {
  view_.addCols(1, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  const int col[] = {0};
  const double coef[] = {1.0};
  view_.chgObjN(2, 1, col, coef);  // objectives 0 to 2 exist
  struct Case {
    const char* what;
    std::function<void()> call;
    int id;
    bool recorded;
  };
  const Case cases[] = {
      {"int", [&] { view_.setIntControl(kIntControl, 0); }, kIntControl, true},
      {"double", [&] { view_.setDblControl(kDblControl, 1e-7); }, kDblControl, true},
      {"string", [&] { view_.setStrControl(kStrControl, "m"); }, kStrControl, true},
      {"objective int", [&] { view_.setObjIntControl(2, kObjIntControl, 3); }, kObjIntControl,
       true},
      {"objective double", [&] { view_.setObjDblControl(1, kObjDblControl, 0.5); }, kObjDblControl,
       true},
      {"default", [&] { view_.setDefaultControl(XPRS_MAXNODE); }, XPRS_MAXNODE, false},
      {"read", [&] { (void)view_.getIntControl(XPRS_THREADS); }, XPRS_THREADS, false},
      {"probname", [&] { view_.setProbName("p"); }, XPRS_OUTPUTMASK, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.call();
    EXPECT_EQ(view_.modifiedControl(c.id), c.recorded);
  }
  EXPECT_EQ(xt::inspect(prob_).model.objectives[2].intControls.at(kObjIntControl), 3);
  view_.setDefaultControl(kIntControl);
  EXPECT_TRUE(view_.modifiedControl(kIntControl));
  EXPECT_EQ(view_.getIntControl(kIntControl), 1);  // the stand-in's default
}

TEST_F(ProbInterfaceTest, IsMipReadsAttributesInOrderUpToTheFirstNonZero) {
  struct Case {
    int mipEnts, sets, indicators;
    bool mip;
    std::vector<std::string> asked;
  };
  const Case cases[] = {
      {0, 0, 0, false, {"attrib=1032", "attrib=1004", "attrib=1254"}},
      {2, 1, 1, true, {"attrib=1032"}},
      {0, 1, 1, true, {"attrib=1032", "attrib=1004"}},
      {0, 0, 3, true, {"attrib=1032", "attrib=1004", "attrib=1254"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.mipEnts << c.sets << c.indicators);
    xt::setIntAttrib(prob_, XPRS_MIPENTS, c.mipEnts);
    xt::setIntAttrib(prob_, XPRS_SETS, c.sets);
    xt::setIntAttrib(prob_, XPRS_INDICATORS, c.indicators);
    xt::clearCalls();
    EXPECT_EQ(view_.isMIP(), c.mip);
    std::vector<std::string> asked;
    for (const auto& call : xt::calls()) asked.push_back(call.digest);
    EXPECT_EQ(asked, c.asked);
  }
}

TEST_F(ProbInterfaceTest, StringControlIsSizedThenRead) {
  ASSERT_EQ(XPRSsetstrcontrol(prob_, kStrControl, "methods.txt"), 0);
  xt::clearCalls();
  EXPECT_EQ(view_.getStrControl(kStrControl), "methods.txt");
  EXPECT_THAT(journal(), ElementsAre("XPRSgetstringcontrol", "XPRSgetstrcontrol"));
  EXPECT_EQ(xt::calls()[0].digest, "control=6017 value=NULL maxbytes=0");
  ASSERT_EQ(XPRSsetstrcontrol(prob_, kStrControl, ""), 0);
  EXPECT_EQ(view_.getStrControl(kStrControl), "");
  xt::failNext("XPRSgetstrcontrol", 4, "read");
  EXPECT_THAT(
      [&] { (void)view_.getStrControl(kStrControl); },
      ThrowsMessage<qel::XpressException>(StrEq("Xpress (4): read [Trace: XPRSgetstrcontrol]")));
}

TEST_F(ProbInterfaceTest, ScaledInfeasibilitiesListColumnsAndRows) {
  xt::RunScript run;
  run.results.primalInfeasCols = {4, 1};
  run.results.primalInfeasRows = {2};
  run.results.dualInfeasRows = {0, 3, 5};
  xt::script(prob_, run);
  ASSERT_EQ(view_.optimize("", nullptr, nullptr), 0);
  EXPECT_THAT(view_.getScaledInfeasColPrimal(), ElementsAre(4, 1));
  EXPECT_THAT(view_.getScaledInfeasRowPrimal(), ElementsAre(2));
  // A failing count query gives an empty list; a failing index query raises.
  xt::failNext("XPRSgetscaledinfeas", 6, "counts");
  EXPECT_TRUE(view_.getScaledInfeasRowPrimal().empty());
  xt::failNext("XPRSgetscaledinfeas", 6, "indices", /*skip=*/1);
  EXPECT_THAT([&] { (void)view_.getScaledInfeasColPrimal(); },
              ThrowsMessage<qel::XpressException>(
                  StrEq("Xpress (6): indices [Trace: XPRSgetscaledinfeas]")));
}

TEST_F(ProbInterfaceTest, ValuesComeBackFromOutArguments) {
  ASSERT_EQ(XPRSsetprobname(prob_, std::string(1024, 'n').c_str()), 0);
  EXPECT_EQ(view_.getProbName(), std::string(1024, 'n'));
  const double lb[] = {0.0};
  view_.addCols(1, 0, nullptr, nullptr, nullptr, nullptr, lb, nullptr);
  xt::RunScript run;
  run.run.optType = XPRS_OPTIMIZETYPE_MIP;
  run.results.primalAvail = 2;
  run.results.x = {3.0};
  xt::script(prob_, run);
  ASSERT_EQ(view_.optimize("", nullptr, nullptr), 0);
  double x = 0.0;
  EXPECT_EQ(view_.getSolution(&x, 0, 0), 2);
  EXPECT_EQ(x, 3.0);
  EXPECT_FALSE(view_.isFixed());
  view_.fixMipEntities(1);
  EXPECT_TRUE(view_.isFixed());
}

TEST(StatusTextTest, EveryCodeHasItsText) {
  std::string stop, sol;
  for (int code = -1; code <= 15; ++code) {
    stop += qel::XpressProbInterface::getStopStatusString(code) + "|";
  }
  for (int code = -1; code <= 5; ++code) {
    sol += qel::XpressProbInterface::getSolStatusString(code) + "|";
  }
  EXPECT_EQ(stop,
            "unknown|normal|time limit|ctrl+c|node limit|iteration limit|gap sufficiently small|"
            "solution limit|unknown|insufficient memory|user interrupt|"
            "completed without fully exploring the tree|unknown|unknown|numerical errors|"
            "work limit|unknown|");
  EXPECT_EQ(sol, "unknown|not available|optimal|feasible|infeasible|unbounded|unknown|");
}

}  // namespace
