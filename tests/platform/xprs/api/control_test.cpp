// Controls (integer, double, string, per objective) and attribute access.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <string>
#include <vector>

#include "qel/option_key.hpp"
#include "qel/solver_attribs.hpp"
#include "tests/support/standin_test.hpp"
#include "xprs_testing.hpp"

namespace {

using xprs_test::StandinTest;

TEST_F(StandinTest, IntegerControlsHaveDocumentedDefaultsAndRoundTrip) {
  struct Case {
    int id;
    int def;
  };
  const Case cases[] = {
      {XPRS_PRESOLVE, 1},
      {XPRS_DEFAULTALG, 1},
      {XPRS_OUTPUTLOG, 1},
      {XPRS_MPSNAMELENGTH, 64},
      {XPRS_PRESOLVEOPS, 511},
      {XPRS_MIPPRESOLVE, -1},
      {XPRS_THREADS, -1},
      {XPRS_HEUREMPHASIS, -1},
      {XPRS_CALLBACKCHECKTIMEDELAY, 0},
      {XPRS_LPITERLIMIT, XPRS_MAXINT},
      {XPRS_MAXNODE, XPRS_MAXINT},
      {XPRS_MAXTIME, 0},
      {12364, -1},
      {12417, -1},
      {8999, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    int v = 12345;
    ASSERT_EQ(XPRSgetintcontrol(prob_, c.id, &v), 0);
    EXPECT_EQ(v, c.def);
    ASSERT_EQ(XPRSsetintcontrol(prob_, c.id, c.def - 3), 0);
    ASSERT_EQ(XPRSgetintcontrol(prob_, c.id, &v), 0);
    EXPECT_EQ(v, c.def - 3);
    ASSERT_EQ(XPRSsetdefaultcontrol(prob_, c.id), 0);
    ASSERT_EQ(XPRSgetintcontrol(prob_, c.id, &v), 0);
    EXPECT_EQ(v, c.def);
  }
  EXPECT_TRUE(xprs::testing::inspect(prob_).intControls.empty());
}

TEST_F(StandinTest, DoubleControlsHaveDocumentedDefaultsAndRoundTrip) {
  struct Case {
    int id;
    double def;
  };
  const Case cases[] = {
      {XPRS_TIMELIMIT, 1e20},    {XPRS_MIPRELSTOP, 1e-4},   {XPRS_MIPABSSTOP, 0.0},
      {XPRS_MIPABSCUTOFF, 1e40}, {XPRS_MIPRELCUTOFF, 1e-4}, {XPRS_MIPADDCUTOFF, -1e-5},
      {XPRS_FEASTOL, 1e-6},      {XPRS_MAXCUTTIME, 0.0},    {7999, 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    double v = 12345;
    ASSERT_EQ(XPRSgetdblcontrol(prob_, c.id, &v), 0);
    EXPECT_EQ(v, c.def);
    ASSERT_EQ(XPRSsetdblcontrol(prob_, c.id, 0.25), 0);
    ASSERT_EQ(XPRSgetdblcontrol(prob_, c.id, &v), 0);
    EXPECT_EQ(v, 0.25);
    EXPECT_EQ(xprs::testing::inspect(prob_).dblControls.at(c.id), 0.25);
  }
}

TEST_F(StandinTest, StringControlsReportTheirLengthAndCopyTheText) {
  int len = 0;
  ASSERT_EQ(XPRSgetstringcontrol(prob_, XPRS_TUNEROUTPUTPATH, nullptr, 0, &len), 0);
  EXPECT_EQ(len, 12);
  std::vector<char> buf(static_cast<std::size_t>(len) + 1, 'x');
  ASSERT_EQ(XPRSgetstrcontrol(prob_, XPRS_TUNEROUTPUTPATH, buf.data()), 0);
  EXPECT_STREQ(buf.data(), "tuneroutput");
  ASSERT_EQ(XPRSsetstrcontrol(prob_, XPRS_TUNEROUTPUTPATH, "out/dir"), 0);
  char small[4];
  ASSERT_EQ(XPRSgetstringcontrol(prob_, XPRS_TUNEROUTPUTPATH, small, 4, &len), 0);
  EXPECT_STREQ(small, "out");
  EXPECT_EQ(len, 8);
  ASSERT_EQ(XPRSgetstringcontrol(prob_, XPRS_OUTPUTMASK, nullptr, 0, &len), 0);
  EXPECT_EQ(len, 1);
  ASSERT_EQ(XPRSsetdefaultcontrol(prob_, XPRS_TUNEROUTPUTPATH), 0);
  char back[16];
  ASSERT_EQ(XPRSgetstrcontrol(prob_, XPRS_TUNEROUTPUTPATH, back), 0);
  EXPECT_STREQ(back, "tuneroutput");
}

TEST_F(StandinTest, ControlsOfTheWrongTypeOrUnknownAreRefused) {
  int i = 0;
  double d = 0;
  char s[8];
  struct Case {
    const char* what;
    std::function<int()> call;
    std::string text;
  };
  const Case cases[] = {
      {"double as integer", [&] { return XPRSgetintcontrol(prob_, XPRS_TIMELIMIT, &i); },
       "XPRSgetintcontrol: control 7158 is a double control, not an integer control"},
      {"integer as double", [&] { return XPRSsetdblcontrol(prob_, XPRS_PRESOLVE, 1.0); },
       "XPRSsetdblcontrol: control 8011 is an integer control, not a double control"},
      {"exception in the 8000 range", [&] { return XPRSsetintcontrol(prob_, XPRS_MAXCUTTIME, 1); },
       "XPRSsetintcontrol: control 8149 is a double control, not an integer control"},
      {"integer as string", [&] { return XPRSgetstrcontrol(prob_, XPRS_THREADS, s); },
       "XPRSgetstrcontrol: control 8278 is an integer control, not a string control"},
      {"attribute id", [&] { return XPRSgetintcontrol(prob_, XPRS_ROWS, &i); },
       "XPRSgetintcontrol: unknown control 1001"},
      {"pool id", [&] { return XPRSsetintcontrol(prob_, 6203, 1); },
       "XPRSsetintcontrol: unknown control 6203"},
      {"NaN value", [&] { return XPRSsetdblcontrol(prob_, XPRS_TIMELIMIT, std::nan("")); },
       "XPRSsetdblcontrol: NaN in value[0]"},
      {"NULL out pointer", [&] { return XPRSgetdblcontrol(prob_, XPRS_TIMELIMIT, nullptr); },
       "XPRSgetdblcontrol: p_value is NULL"},
      {"NULL text", [&] { return XPRSsetstrcontrol(prob_, XPRS_OUTPUTMASK, nullptr); },
       "XPRSsetstrcontrol: value is NULL"},
      {"unknown attribute", [&] { return XPRSgetintattrib(prob_, 1002, &i); },
       "XPRSgetintattrib: unknown attribute 1002"},
      {"double attribute as integer", [&] { return XPRSgetintattrib(prob_, XPRS_OBJVAL, &i); },
       "XPRSgetintattrib: attribute 2118 is a double attribute, not an integer attribute"},
      {"integer attribute as double", [&] { return XPRSgetdblattrib(prob_, XPRS_NODES, &d); },
       "XPRSgetdblattrib: attribute 1013 is an integer attribute, not a double attribute"},
      {"missing objective",
       [&] { return XPRSsetobjdblcontrol(prob_, 1, XPRS_OBJECTIVE_WEIGHT, 1); },
       "XPRSsetobjdblcontrol: invalid objective index 1 (the problem has 1 objectives)"},
      {"objective control of the wrong type",
       [&] { return XPRSsetobjintcontrol(prob_, 0, XPRS_OBJECTIVE_RELTOL, 1); },
       "XPRSsetobjintcontrol: objective control 20004 is a double control, not an integer control"},
      {"unknown objective control", [&] { return XPRSgetobjintcontrol(prob_, 0, 20009, &i); },
       "XPRSgetobjintcontrol: unknown objective control 20009"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.call(), 32);
    EXPECT_EQ(lastError(), c.text);
  }
  EXPECT_TRUE(xprs::testing::inspect(prob_).intControls.empty());
  EXPECT_TRUE(xprs::testing::inspect(prob_).dblControls.empty());
}

TEST_F(StandinTest, IdsOutsideTheTypedRangesAreStoredPerType) {
  ASSERT_EQ(XPRSsetintcontrol(prob_, 104001, 4), 0);
  ASSERT_EQ(XPRSsetdblcontrol(prob_, 104002, 0.5), 0);
  int i = 0;
  double d = 0;
  ASSERT_EQ(XPRSgetintcontrol(prob_, 104001, &i), 0);
  ASSERT_EQ(XPRSgetdblcontrol(prob_, 104002, &d), 0);
  EXPECT_EQ(i, 4);
  EXPECT_EQ(d, 0.5);
  ASSERT_EQ(XPRSgetdblcontrol(prob_, 104001, &d), 0);
  EXPECT_EQ(d, 0.0);
}

// Every control of the plug-in's option tables is read and written through the typed call of
// its kind (a bit option through its integer control) and refused through the others: problem
// controls on the problem, pool and enumerator controls (all integer) on those objects. The 13
// link options are no controls.
TEST_F(StandinTest, EveryControlOfTheOptionTablesHasItsDocumentedType) {
  XPRSmipsolpool pool = nullptr;
  XPRSmipsolenum enumerator = nullptr;
  ASSERT_EQ(XPRS_msp_create(&pool), 0);
  ASSERT_EQ(XPRS_mse_create(&enumerator), 0);
  int checked = 0;
  qel::forEachSolverAttrib([&](const auto& row) {
    const int key = row.ref().value();
    const int id = qel::refId(key);
    if (id < 1000) return;
    const qel::RefKind kind = qel::refKind(key);
    SCOPED_TRACE(*row.name() + " " + std::to_string(id));
    ++checked;
    int i = 0;
    double d = 0;
    int len = 0;
    const bool isInt = kind == qel::RefKind::Int || kind == qel::RefKind::Bit;
    const bool isDbl = kind == qel::RefKind::Double;
    const bool isStr = kind == qel::RefKind::String;
    if (id >= 6200 && id < 6700) {
      ASSERT_TRUE(isInt);
      const bool onPool = id < 6600;
      ASSERT_EQ(
          onPool ? XPRS_msp_setintcontrol(pool, id, 1) : XPRS_mse_setintcontrol(enumerator, id, 1),
          0);
      ASSERT_EQ(onPool ? XPRS_msp_getintcontrol(pool, id, &i)
                       : XPRS_mse_getintcontrol(enumerator, id, &i),
                0);
      EXPECT_EQ(i, 1);
      EXPECT_NE(onPool ? XPRS_msp_getdblcontrol(pool, id, &d)
                       : XPRS_mse_getdblcontrol(enumerator, id, &d),
                0);
      return;
    }
    EXPECT_EQ(XPRSgetintcontrol(prob_, id, &i) == 0, isInt);
    EXPECT_EQ(XPRSgetdblcontrol(prob_, id, &d) == 0, isDbl);
    EXPECT_EQ(XPRSgetstringcontrol(prob_, id, nullptr, 0, &len) == 0, isStr);
    if (isInt) {
      ASSERT_EQ(XPRSsetintcontrol(prob_, id, 6), 0);
      ASSERT_EQ(XPRSgetintcontrol(prob_, id, &i), 0);
      EXPECT_EQ(i, 6);
      EXPECT_NE(XPRSsetdblcontrol(prob_, id, 6.0), 0);
    } else if (isDbl) {
      ASSERT_EQ(XPRSsetdblcontrol(prob_, id, 0.75), 0);
      ASSERT_EQ(XPRSgetdblcontrol(prob_, id, &d), 0);
      EXPECT_EQ(d, 0.75);
      EXPECT_NE(XPRSsetintcontrol(prob_, id, 1), 0);
    } else {
      ASSERT_TRUE(isStr);
      ASSERT_EQ(XPRSsetstrcontrol(prob_, id, "seven"), 0);
      char text[8] = {};
      ASSERT_EQ(XPRSgetstringcontrol(prob_, id, text, 8, &len), 0);
      EXPECT_STREQ(text, "seven");
      EXPECT_NE(XPRSsetintcontrol(prob_, id, 1), 0);
    }
  });
  EXPECT_EQ(checked, static_cast<int>(qel::kSolverAttribCount) - 13);
  EXPECT_EQ(XPRS_mse_destroy(enumerator), 0);
  EXPECT_EQ(XPRS_msp_destroy(pool), 0);
}

TEST_F(StandinTest, ObjectiveControlsRoundTripPerObjective) {
  const int col[] = {-1};
  const double v[] = {0};
  ASSERT_EQ(XPRSchgobjn(prob_, 1, 1, col, v), 0);
  struct Case {
    int obj;
    int id;
    double def;
    double set;
  };
  const Case dbl[] = {{0, XPRS_OBJECTIVE_WEIGHT, 1.0, 2.0},
                      {1, XPRS_OBJECTIVE_WEIGHT, 1.0, -1.0},
                      {0, XPRS_OBJECTIVE_ABSTOL, 0.0, 1e-3},
                      {1, XPRS_OBJECTIVE_RELTOL, 0.0, 0.1},
                      {1, XPRS_OBJECTIVE_RHS, 0.0, 8.0}};
  for (const Case& c : dbl) {
    SCOPED_TRACE(c.id);
    double value = -7;
    ASSERT_EQ(XPRSgetobjdblcontrol(prob_, c.obj, c.id, &value), 0);
    EXPECT_EQ(value, c.def);
    ASSERT_EQ(XPRSsetobjdblcontrol(prob_, c.obj, c.id, c.set), 0);
    ASSERT_EQ(XPRSgetobjdblcontrol(prob_, c.obj, c.id, &value), 0);
    EXPECT_EQ(value, c.set);
  }
  ASSERT_EQ(XPRSsetobjintcontrol(prob_, 1, XPRS_OBJECTIVE_PRIORITY, 5), 0);
  int priority = -1;
  ASSERT_EQ(XPRSgetobjintcontrol(prob_, 0, XPRS_OBJECTIVE_PRIORITY, &priority), 0);
  EXPECT_EQ(priority, 0);
  ASSERT_EQ(XPRSgetobjintcontrol(prob_, 1, XPRS_OBJECTIVE_PRIORITY, &priority), 0);
  EXPECT_EQ(priority, 5);
  const auto& objs = xprs::testing::inspect(prob_).model.objectives;
  EXPECT_EQ(objs[1].rhs, 8.0);
  EXPECT_EQ(objs[0].dblControls.at(XPRS_OBJECTIVE_WEIGHT), 2.0);
}

TEST_F(StandinTest, AttributesBeforeAnyRunAndOverrides) {
  struct Case {
    int id;
    int value;
  };
  const Case cases[] = {{XPRS_OPTIMIZETYPEUSED, -1},
                        {XPRS_SOLSTATUS, 0},
                        {XPRS_SOLVESTATUS, 0},
                        {XPRS_STOPSTATUS, 0},
                        {XPRS_LPSTATUS, 0},
                        {XPRS_MIPSTATUS, 0},
                        {XPRS_NODES, 0},
                        {XPRS_OBJECTIVES, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    int v = 99;
    ASSERT_EQ(XPRSgetintattrib(prob_, c.id, &v), 0);
    EXPECT_EQ(v, c.value);
  }
  double sense = 0;
  ASSERT_EQ(XPRSgetdblattrib(prob_, XPRS_OBJSENSE, &sense), 0);
  EXPECT_EQ(sense, 1.0);
  ASSERT_EQ(XPRSchgobjsense(prob_, XPRS_OBJ_MAXIMIZE), 0);
  ASSERT_EQ(XPRSgetdblattrib(prob_, XPRS_OBJSENSE, &sense), 0);
  EXPECT_EQ(sense, -1.0);
  xprs::testing::setIntAttrib(prob_, XPRS_MIPENTS, 4);
  xprs::testing::setDblAttrib(prob_, XPRS_BESTBOUND, 2.5);
  int ents = 0;
  double bound = 0;
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_MIPENTS, &ents), 0);
  ASSERT_EQ(XPRSgetdblattrib(prob_, XPRS_BESTBOUND, &bound), 0);
  EXPECT_EQ(ents, 4);
  EXPECT_EQ(bound, 2.5);
  xprs::testing::clearAttribOverrides(prob_);
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_MIPENTS, &ents), 0);
  EXPECT_EQ(ents, 0);
}

}  // namespace
