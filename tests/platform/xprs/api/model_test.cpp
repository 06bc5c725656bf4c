// Model building: what every function stores (raw, in call order) and how it refuses bad
// arguments with a text naming the function and the fault.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "tests/support/standin_test.hpp"
#include "xprs_testing.hpp"

namespace {

using xprs_test::StandinTest;

class ModelTest : public StandinTest {
 protected:
  // Three columns and two rows: x0 + 2 x1 <= 4 (L), x1 - x2 >= 1 (G).
  void SetUp() override {
    StandinTest::SetUp();
    const double obj[] = {1, 2, 3};
    const double ub[] = {10, XPRS_PLUSINFINITY, 5};
    ASSERT_EQ(XPRSaddcols64(prob_, 3, 0, obj, nullptr, nullptr, nullptr, nullptr, ub), 0);
    const char types[] = {'L', 'G'};
    const double rhs[] = {4, 1};
    const XPRSint64 start[] = {0, 2};
    const int cols[] = {0, 1, 1, 2};
    const double vals[] = {1, 2, 1, -1};
    ASSERT_EQ(XPRSaddrows64(prob_, 2, 4, types, rhs, nullptr, start, cols, vals), 0);
  }
  const xprs::testing::ModelRecord& model() const { return xprs::testing::inspect(prob_).model; }
};

TEST_F(ModelTest, StoresColumnsRowsAndEntriesRaw) {
  const auto& m = model();
  EXPECT_EQ(m.colLb, (std::vector<double>{0, 0, 0}));
  EXPECT_EQ(m.colUb, (std::vector<double>{10, XPRS_PLUSINFINITY, 5}));
  EXPECT_EQ(m.colType, (std::vector<char>{'C', 'C', 'C'}));
  EXPECT_EQ(m.objectives[0].coef, (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(m.rowType, (std::vector<char>{'L', 'G'}));
  EXPECT_EQ(m.rowRhs, (std::vector<double>{4, 1}));
  EXPECT_EQ(m.elemRow, (std::vector<int>{0, 0, 1, 1}));
  EXPECT_EQ(m.elemCol, (std::vector<int>{0, 1, 1, 2}));
  EXPECT_EQ(m.elemVal, (std::vector<double>{1, 2, 1, -1}));
  // Column-wise entries with duplicates and zeros are kept as given.
  const XPRSint64 start[] = {0};
  const int rows[] = {1, 1, 0};
  const double vals[] = {3, 4, 0};
  const double lb[] = {-XPRS_PLUSINFINITY};
  ASSERT_EQ(XPRSaddcols64(prob_, 1, 3, nullptr, start, rows, vals, lb, nullptr), 0);
  EXPECT_EQ(m.colLb[3], -1e20);
  EXPECT_EQ(m.colUb[3], 1e20);
  EXPECT_EQ(m.objectives[0].coef[3], 0.0);
  EXPECT_EQ(m.elemVal, (std::vector<double>{1, 2, 1, -1, 3, 4, 0}));
  EXPECT_EQ(m.elemCol, (std::vector<int>{0, 1, 1, 2, 3, 3, 3}));
  int n = 0;
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_ELEMS, &n), 0);
  EXPECT_EQ(n, 7);
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_COLS, &n), 0);
  EXPECT_EQ(n, 4);
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_ROWS, &n), 0);
  EXPECT_EQ(n, 2);
  char types[2];
  ASSERT_EQ(XPRSgetrowtype(prob_, types, 0, 1), 0);
  EXPECT_EQ(std::string(types, 2), "LG");
}

TEST_F(ModelTest, RefusesBadArgumentsWithExactTextsAndChangesNothing) {
  const XPRSint64 start2[] = {0, 3};
  const XPRSint64 badStart[] = {0, 5};
  const XPRSint64 downStart[] = {1, 0};
  const int cols[] = {0, 1, 7};
  const int rowsBad[] = {0, 2};
  const double vals[] = {1, 1, 1};
  const double nan[] = {std::numeric_limits<double>::quiet_NaN()};
  const char bad[] = {'X'};
  const char lrow[] = {'L', 'L'};
  const char rrow[] = {'R'};
  const int one[] = {1};
  const int minusTwo[] = {-2};
  const char typeQ[] = {'Q'};
  const double lim[] = {2.0};
  const double huge[] = {XPRS_PLUSINFINITY};
  const double minusInf[] = {-std::numeric_limits<double>::infinity()};
  struct Case {
    const char* what;
    std::function<int()> call;
    std::string text;
  };
  const Case cases[] = {
      {"negative ncols",
       [&] {
         return XPRSaddcols64(prob_, -1, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
       },
       "XPRSaddcols64: negative ncols (-1)"},
      {"row index out of range",
       [&] { return XPRSaddcols64(prob_, 1, 2, nullptr, start2, rowsBad, vals, nullptr, nullptr); },
       "XPRSaddcols64: invalid row index 2 in rowind[1] (the problem has 2 rows)"},
      {"start beyond ncoefs",
       [&] {
         return XPRSaddcols64(prob_, 2, 3, nullptr, badStart, rowsBad, vals, nullptr, nullptr);
       },
       "XPRSaddcols64: inconsistent start[1] = 5 (outside 0..3)"},
      {"decreasing start",
       [&] { return XPRSaddrows64(prob_, 2, 3, lrow, nullptr, nullptr, downStart, cols, vals); },
       "XPRSaddrows64: inconsistent start[1] = 0 (less than start[0] = 1)"},
      {"NULL start with entries",
       [&] { return XPRSaddrows64(prob_, 1, 1, lrow, nullptr, nullptr, nullptr, cols, vals); },
       "XPRSaddrows64: start is NULL"},
      {"NaN bound",
       [&] { return XPRSaddcols64(prob_, 1, 0, nullptr, nullptr, nullptr, nullptr, nan, nullptr); },
       "XPRSaddcols64: NaN in lb[0]"},
      {"bad row type",
       [&] { return XPRSaddrows64(prob_, 1, 0, bad, nullptr, nullptr, nullptr, nullptr, nullptr); },
       "XPRSaddrows64: invalid row type 'X' in rowtype[0]"},
      {"range row without ranges",
       [&] {
         return XPRSaddrows64(prob_, 1, 0, rrow, nullptr, nullptr, nullptr, nullptr, nullptr);
       },
       "XPRSaddrows64: rng is NULL but row 0 is a range row"},
      {"column index out of range",
       [&] { return XPRSaddrows64(prob_, 1, 3, lrow, nullptr, nullptr, start2, cols, vals); },
       "XPRSaddrows64: invalid column index 7 in colind[2] (the problem has 3 columns)"},
      {"bad column type", [&] { return XPRSchgcoltype(prob_, 1, one, typeQ); },
       "XPRSchgcoltype: invalid column type 'Q' in coltype[0]"},
      {"negative column", [&] { return XPRSchgcoltype(prob_, 1, minusTwo, bad); },
       "XPRSchgcoltype: invalid column index -2 in colind[0] (the problem has 3 columns)"},
      {"limit on a continuous column", [&] { return XPRSchgglblimit(prob_, 1, one, lim); },
       "XPRSchgglblimit: column 1 of type 'C' is not semi-continuous, semi-integer or partial "
       "integer"},
      {"bad sense", [&] { return XPRSchgobjsense(prob_, 0); },
       "XPRSchgobjsense: invalid objective sense 0 (1 or -1)"},
      {"bad objective index", [&] { return XPRSchgobjn(prob_, -1, 1, one, vals); },
       "XPRSchgobjn: invalid objective index -1"},
      {"objective index beyond objectives plus columns",
       [&] { return XPRSchgobjn(prob_, 5, 1, one, vals); },
       "XPRSchgobjn: objective index 5 is beyond the limit 4 (the number of objectives plus the "
       "number of columns)"},
      {"huge objective index", [&] { return XPRSchgobjn(prob_, 2000000000, 1, one, vals); },
       "XPRSchgobjn: objective index 2000000000 is beyond the limit 4 (the number of objectives "
       "plus the number of columns)"},
      {"infinite objective coefficient", [&] { return XPRSchgobj(prob_, 1, one, huge); },
       "XPRSchgobj: infinite coefficient 1e+20 in objcoef[0]"},
      {"infinite objective constant",
       [&] {
         const int constant[] = {-1};
         return XPRSaddobj(prob_, 1, constant, minusInf, 0, 1.0);
       },
       "XPRSaddobj: infinite coefficient -inf in objcoef[0]"},
      {"infinite objective of a new column",
       [&] {
         return XPRSaddcols64(prob_, 1, 0, minusInf, nullptr, nullptr, nullptr, nullptr, nullptr);
       },
       "XPRSaddcols64: infinite coefficient -inf in objcoef[0]"},
      {"infinite matrix entry of a new row",
       [&] {
         const double entries[] = {1, -1e20};
         return XPRSaddrows64(prob_, 1, 2, lrow, nullptr, nullptr, start2, cols, entries);
       },
       "XPRSaddrows64: infinite coefficient -1e+20 in rowcoef[1]"},
      {"infinite matrix entry of a new column",
       [&] { return XPRSaddcols64(prob_, 1, 1, nullptr, start2, one, huge, nullptr, nullptr); },
       "XPRSaddcols64: infinite coefficient 1e+20 in rowcoef[0]"},
      {"infinite Hessian entry", [&] { return XPRSchgmqobj64(prob_, 1, one, one, minusInf); },
       "XPRSchgmqobj64: infinite coefficient -inf in objqcoef[0]"},
      {"infinite quadratic row entry",
       [&] { return XPRSaddqmatrix64(prob_, 0, 1, one, one, huge); },
       "XPRSaddqmatrix64: infinite coefficient 1e+20 in rowqcoef[0]"},
      {"bad bound type", [&] { return XPRSchgbounds(prob_, 1, one, bad, vals); },
       "XPRSchgbounds: invalid bound type 'X' in bndtype[0]"},
      {"quadratic term on a bad column",
       [&] { return XPRSchgmqobj64(prob_, 1, one, cols + 2, vals); },
       "XPRSchgmqobj64: invalid column index 7 in objqcol2[0] (the problem has 3 columns)"},
      {"quadratic row out of range",
       [&] { return XPRSaddqmatrix64(prob_, 5, 0, nullptr, nullptr, nullptr); },
       "XPRSaddqmatrix64: invalid row index 5 in row[0] (the problem has 2 rows)"},
      {"bad set type", [&] { return XPRSaddsets64(prob_, 1, 1, bad, start2, cols, vals); },
       "XPRSaddsets64: invalid set type 'X' in settype[0]"},
      {"bad complement", [&] { return XPRSsetindicators(prob_, 1, one, one, minusTwo); },
       "XPRSsetindicators: invalid complement flag -2 in complement[0]"},
      {"names beyond the rows", [&] { return XPRSaddnames(prob_, 1, "a\0b", 1, 2); },
       "XPRSaddnames: invalid range first=1 last=2 (the problem has 2 rows)"},
      {"bad name type", [&] { return XPRSaddnames(prob_, 4, "a", 0, 0); },
       "XPRSaddnames: invalid name type 4"},
      {"row types beyond the rows",
       [&] {
         char t[3];
         return XPRSgetrowtype(prob_, t, 0, 2);
       },
       "XPRSgetrowtype: invalid range first=0 last=2 (the problem has 2 rows)"},
  };
  const auto before = xprs::testing::inspect(prob_).model.elemVal.size();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.call(), 32);
    EXPECT_EQ(lastError(), c.text);
  }
  const auto& m = model();
  EXPECT_EQ(m.cols(), 3);
  EXPECT_EQ(m.rows(), 2);
  EXPECT_EQ(m.elemVal.size(), before);
  EXPECT_EQ(m.sense, 1);
  EXPECT_EQ(m.objectives.size(), 1u);
  EXPECT_EQ(m.colType, (std::vector<char>{'C', 'C', 'C'}));
}

TEST_F(ModelTest, RefusesMalformedFormulas) {
  const int row[] = {0};
  const int start[] = {0, 3};
  struct Case {
    const char* what;
    std::vector<int> type;
    std::vector<double> value;
    int parsed;
    std::string text;
  };
  const Case cases[] = {
      {"no EOF",
       {XPRS_TOK_COL, XPRS_TOK_CON, XPRS_TOK_OP},
       {0, 2, XPRS_OP_PLUS},
       1,
       "XPRSnlpaddformulas: formula 0 does not end with token EOF"},
      {"bad column",
       {XPRS_TOK_COL, XPRS_TOK_COL, XPRS_TOK_EOF},
       {0, 3, 0},
       1,
       "XPRSnlpaddformulas: invalid column 3 in token 1 of formula 0"},
      {"bad operator",
       {XPRS_TOK_COL, XPRS_TOK_OP, XPRS_TOK_EOF},
       {0, 9, 0},
       1,
       "XPRSnlpaddformulas: invalid operator 9 in token 1 of formula 0"},
      {"bad token type",
       {XPRS_TOK_COL, 99, XPRS_TOK_EOF},
       {0, 0, 0},
       1,
       "XPRSnlpaddformulas: invalid token type 99 in token 1 of formula 0"},
      {"bad parsed flag",
       {XPRS_TOK_COL, XPRS_TOK_CON, XPRS_TOK_EOF},
       {0, 1, 0},
       2,
       "XPRSnlpaddformulas: invalid parsed flag 2 (0 or 1)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(XPRSnlpaddformulas(prob_, 1, row, start, c.parsed, c.type.data(), c.value.data()),
              32);
    EXPECT_EQ(lastError(), c.text);
  }
  EXPECT_TRUE(model().formulas.empty());
  // sin(x1) * 2 in reverse Polish: RB, x1, sin, 2, *.
  const int start5[] = {0, 6};
  const int type[] = {XPRS_TOK_RB,  XPRS_TOK_COL, XPRS_TOK_IFUN,
                      XPRS_TOK_CON, XPRS_TOK_OP,  XPRS_TOK_EOF};
  const double value[] = {0, 1, 27, 2, XPRS_OP_MULTIPLY, 0};
  ASSERT_EQ(XPRSnlpaddformulas(prob_, 1, row, start5, 1, type, value), 0);
  ASSERT_EQ(model().formulas.size(), 1u);
  EXPECT_EQ(model().formulas[0].row, 0);
  EXPECT_EQ(model().formulas[0].type, std::vector<int>(type, type + 6));
  EXPECT_EQ(model().formulas[0].value, std::vector<double>(value, value + 6));
}

TEST_F(ModelTest, ObjectivesHoldCoefficientsConstantsAndTheirControls) {
  const int cols[] = {2, -1};
  const double vals[] = {7, -4.5};
  ASSERT_EQ(XPRSchgobjn(prob_, 2, 2, cols, vals), 0);
  const auto& m = model();
  ASSERT_EQ(m.objectives.size(), 3u);
  EXPECT_EQ(m.objectives[1].coef, (std::vector<double>{0, 0, 0}));
  EXPECT_EQ(m.objectives[2].coef, (std::vector<double>{0, 0, 7}));
  EXPECT_EQ(m.objectives[2].rhs, -4.5);
  EXPECT_EQ(m.objectives[2].changes, (std::vector<std::pair<int, double>>{{2, 7}, {-1, -4.5}}));
  ASSERT_EQ(XPRSaddobj(prob_, 1, cols, vals, 3, 0.5), 0);
  int priority = 0;
  double weight = 0;
  ASSERT_EQ(XPRSgetobjintcontrol(prob_, 3, XPRS_OBJECTIVE_PRIORITY, &priority), 0);
  ASSERT_EQ(XPRSgetobjdblcontrol(prob_, 3, XPRS_OBJECTIVE_WEIGHT, &weight), 0);
  EXPECT_EQ(priority, 3);
  EXPECT_EQ(weight, 0.5);
  int count = 0;
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_OBJECTIVES, &count), 0);
  EXPECT_EQ(count, 4);
  ASSERT_EQ(XPRSaddnames(prob_, XPRS_NAMES_OBJECTIVE, "cost\0time", 2, 3), 0);
  EXPECT_EQ(m.objNames[2], "cost");
  EXPECT_EQ(m.objNames[3], "time");
  // An index may pass the count by the number of columns.
  ASSERT_EQ(XPRSchgobjn(prob_, 7, 1, cols, vals), 0);
  EXPECT_EQ(m.objectives.size(), 8u);
  EXPECT_EQ(m.objectives[7].coef, (std::vector<double>{0, 0, 7}));
}

TEST_F(ModelTest, HessianTripletsMergeIntoOneSymmetricEntry) {
  const int c1[] = {0, 1, 0, 2};
  const int c2[] = {0, 0, 1, 2};
  const double v[] = {6, 3, 4, 1};
  ASSERT_EQ(XPRSchgmqobj64(prob_, 4, c1, c2, v), 0);
  const auto& m = model();
  EXPECT_EQ(m.objQVal, (std::vector<double>{6, 3, 4, 1}));
  const std::map<std::pair<int, int>, double> merged{{{0, 0}, 6}, {{0, 1}, 4}, {{2, 2}, 1}};
  EXPECT_EQ(m.objQ, merged);
  const int z1[] = {2};
  const double zero[] = {0};
  ASSERT_EQ(XPRSchgmqobj64(prob_, 1, z1, z1, zero), 0);
  EXPECT_EQ(m.objQ.size(), 2u);
  int n = 0;
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_QELEMS, &n), 0);
  EXPECT_EQ(n, 2);
}

TEST_F(ModelTest, TypesLimitsSetsIndicatorsAndNamesAreStored) {
  const int cols[] = {0, 1, 2};
  const char types[] = {'B', 'S', 'I'};
  ASSERT_EQ(XPRSchgcoltype(prob_, 3, cols, types), 0);
  const double limit[] = {2.5};
  ASSERT_EQ(XPRSchgglblimit(prob_, 1, cols + 1, limit), 0);
  const char settype[] = {'1', '2'};
  const XPRSint64 start[] = {0, 2, 3};
  const int members[] = {0, 1, 2};
  const double ref[] = {1, 2, 1};
  ASSERT_EQ(XPRSaddsets64(prob_, 2, 3, settype, start, members, ref), 0);
  const int rows[] = {1};
  const int comp[] = {-1};
  ASSERT_EQ(XPRSsetindicators(prob_, 1, rows, cols, comp), 0);
  ASSERT_EQ(XPRSaddnames(prob_, XPRS_NAMES_COLUMN, "x\0y\0z", 0, 2), 0);
  ASSERT_EQ(XPRSaddnames(prob_, XPRS_NAMES_ROW, "cap", 1, 1), 0);
  const auto& m = model();
  EXPECT_EQ(m.colType, (std::vector<char>{'B', 'S', 'I'}));
  EXPECT_EQ(m.colLb[0], 0.0);
  EXPECT_EQ(m.colUb[0], 1.0);
  EXPECT_EQ(m.colLimit[1], 2.5);
  EXPECT_EQ(m.setType, (std::vector<char>{'1', '2'}));
  EXPECT_EQ(m.setStart, (std::vector<std::int64_t>{0, 2, 3}));
  EXPECT_EQ(m.setCol, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(m.indicatorComplement, (std::vector<int>{0, -1}));
  EXPECT_EQ(m.indicatorCol, (std::vector<int>{-1, 0}));
  EXPECT_EQ(m.colNames, (std::vector<std::string>{"x", "y", "z"}));
  EXPECT_EQ(m.rowNames, (std::vector<std::string>{"", "cap"}));
  struct Expect {
    int id;
    int value;
  };
  const Expect attribs[] = {{XPRS_MIPENTS, 3},
                            {XPRS_SETS, 2},
                            {XPRS_SETMEMBERS, 3},
                            {XPRS_INDICATORS, 1},
                            {XPRS_NAMELENGTH, 1}};
  for (const Expect& a : attribs) {
    SCOPED_TRACE(a.id);
    int v = -1;
    ASSERT_EQ(XPRSgetintattrib(prob_, a.id, &v), 0);
    EXPECT_EQ(v, a.value);
  }
}

TEST_F(ModelTest, ModelCannotChangeWhileOptimising) {
  struct State {
    int rc = -1;
    std::string error;
  } state;
  ASSERT_EQ(XPRSaddcbchecktime(
                prob_,
                [](XPRSprob cb, void* data) {
                  auto* s = static_cast<State*>(data);
                  s->rc =
                      XPRSaddcols64(cb, 1, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
                  char buf[512];
                  XPRSgetlasterror(cb, buf);
                  s->error = buf;
                  return 0;
                },
                &state, 0),
            0);
  int solve = -1;
  ASSERT_EQ(XPRSoptimize(prob_, "", &solve, nullptr), 0);
  EXPECT_EQ(state.rc, 32);
  EXPECT_EQ(state.error, "XPRSaddcols64: the problem is being optimised");
  EXPECT_EQ(model().cols(), 3);
}

}  // namespace

namespace {

TEST_F(ModelTest, RefusesFurtherFaultsOfTheRemainingFunctions) {
  const int one[] = {1};
  const int bad[] = {9};
  const double vals[] = {1, 1};
  const double nan[] = {std::numeric_limits<double>::quiet_NaN()};
  const char upper[] = {'U'};
  const XPRSint64 downStart[] = {1, 0};
  const int members[] = {0, 1};
  const char sets[] = {'1', '2'};
  const int ind[] = {1};
  int len = 0;
  struct Case {
    const char* what;
    std::function<int()> call;
    std::string text;
  };
  const Case cases[] = {
      {"objective constant NaN",
       [&] {
         const int c[] = {-1};
         return XPRSchgobj(prob_, 1, c, nan);
       },
       "XPRSchgobj: NaN in objcoef[0]"},
      {"objective column out of range", [&] { return XPRSchgobj(prob_, 1, bad, vals); },
       "XPRSchgobj: invalid column index 9 in colind[0] (the problem has 3 columns)"},
      {"objective weight NaN", [&] { return XPRSaddobj(prob_, 1, one, vals, 0, nan[0]); },
       "XPRSaddobj: NaN in weight[0]"},
      {"bound NaN", [&] { return XPRSchgbounds(prob_, 1, one, upper, nan); },
       "XPRSchgbounds: NaN in bndval[0]"},
      {"negative buffer size",
       [&] { return XPRSgetstringcontrol(prob_, XPRS_OUTPUTMASK, nullptr, -1, &len); },
       "XPRSgetstringcontrol: negative maxbytes (-1)"},
      {"decreasing set starts",
       [&] { return XPRSaddsets64(prob_, 2, 2, sets, downStart, members, vals); },
       "XPRSaddsets64: inconsistent start[1] = 0 (less than start[0] = 1)"},
      {"indicator row out of range", [&] { return XPRSsetindicators(prob_, 1, bad, one, ind); },
       "XPRSsetindicators: invalid row index 9 in rowind[0] (the problem has 2 rows)"},
      {"indicator column out of range", [&] { return XPRSsetindicators(prob_, 1, one, bad, ind); },
       "XPRSsetindicators: invalid column index 9 in colind[0] (the problem has 3 columns)"},
      {"formula starts not at 0",
       [&] {
         const int start[] = {1, 2};
         const int type[] = {XPRS_TOK_CON, XPRS_TOK_EOF};
         const double value[] = {1, 0};
         return XPRSnlpaddformulas(prob_, 1, one, start, 1, type, value);
       },
       "XPRSnlpaddformulas: formulastart[0] is 1, not 0"},
      {"negative limit",
       [&] {
         const char s[] = {'S'};
         EXPECT_EQ(XPRSchgcoltype(prob_, 1, one, s), 0);
         const double lim[] = {-1};
         return XPRSchgglblimit(prob_, 1, one, lim);
       },
       "XPRSchgglblimit: negative limit -1 in limit[0]"},
      {"NULL names", [&] { return XPRSaddnames(prob_, XPRS_NAMES_COLUMN, nullptr, 0, 0); },
       "XPRSaddnames: names is NULL"},
      {"directive on the most negative set reference",
       [&] {
         const int most[] = {std::numeric_limits<int>::min()};
         return XPRSloaddirs(prob_, 1, most, nullptr, nullptr, nullptr, nullptr);
       },
       "XPRSloaddirs: invalid set reference -2147483648 in colind[0] (the problem has 0 sets)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.call(), 32);
    EXPECT_EQ(lastError(), c.text);
  }
  const auto& m = model();
  EXPECT_EQ(m.objectives.size(), 1u);
  EXPECT_EQ(m.objectives[0].rhs, 0.0);
  EXPECT_TRUE(m.formulas.empty());
  EXPECT_EQ(m.sets(), 0);
  EXPECT_EQ(m.indicatorComplement, (std::vector<int>{0, 0}));
  EXPECT_EQ(m.colUb[1], XPRS_PLUSINFINITY);
  EXPECT_EQ(m.colLimit[1], 1.0);
  EXPECT_TRUE(xprs::testing::inspect(prob_).warmStart.dirs.empty());
}

TEST_F(ModelTest, QuadraticRowsMustBeInequalities) {
  const char eq[] = {'E'};
  ASSERT_EQ(XPRSaddrows64(prob_, 1, 0, eq, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  const int c[] = {0};
  const double v[] = {1};
  EXPECT_EQ(XPRSaddqmatrix64(prob_, 2, 1, c, c, v), 32);
  EXPECT_EQ(lastError(), "XPRSaddqmatrix64: row 2 of type 'E' cannot hold quadratic terms");
  ASSERT_EQ(XPRSaddqmatrix64(prob_, 0, 1, c, c, v), 0);
  ASSERT_EQ(XPRSaddqmatrix64(prob_, 0, 0, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(model().qRow, std::vector<int>{0});
  int n = 0;
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_QCONSTRAINTS, &n), 0);
  EXPECT_EQ(n, 1);
}

TEST_F(ModelTest, CallbackHandlesLiveOnlyForTheRun) {
  expectMisuse_ = true;
  struct Seen {
    XPRSprob handle = nullptr;
    int optimizeRc = 0;
    int destroyRc = 0;
    std::string error;
  } seen;
  ASSERT_EQ(XPRSaddcbchecktime(
                prob_,
                [](XPRSprob cb, void* data) {
                  auto* s = static_cast<Seen*>(data);
                  if (s->handle) return 0;
                  s->handle = cb;
                  s->optimizeRc = XPRSoptimize(cb, "", nullptr, nullptr);
                  char buf[512];
                  XPRSgetlasterror(cb, buf);
                  s->error = buf;
                  s->destroyRc = XPRSdestroyprob(cb);
                  return 0;
                },
                &seen, 0),
            0);
  ASSERT_EQ(XPRSoptimize(prob_, "", nullptr, nullptr), 0);
  ASSERT_NE(seen.handle, nullptr);
  EXPECT_NE(seen.handle, prob_);
  EXPECT_EQ(seen.optimizeRc, 32);
  EXPECT_EQ(seen.error, "XPRSoptimize: a callback problem cannot be optimised");
  EXPECT_EQ(seen.destroyRc, 32);
  int cols = 0;
  EXPECT_EQ(XPRSgetintattrib(seen.handle, XPRS_COLS, &cols), 32);
  EXPECT_EQ(xprs::testing::handleMisuse(), 1);
}

}  // namespace
