#include "mps_reader.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "orla/vop_rec.hpp"
#include "tests/platform/host/record_matchers.hpp"

namespace qelhost_test {
namespace {

using ::testing::ElementsAre;

// What reading the text throws, without the file\'s name, or "" when it reads.
std::string mpsError(const std::string& text) {
  return readerError(qelhost::readMps, text, "m.mps");
}

// A small model (rows obj, L c, G g; columns x, y) with the given text before ENDATA.
std::string model(const std::string& tail) {
  return "NAME M\nROWS\n N obj\n L c\n G g\nCOLUMNS\n x obj 1 c 1\n y c 2 g 1\n" + tail +
         "ENDATA\n";
}

TEST(MpsReaderTest, RefusesHostileAndCarelessFilesNamingLineAndCause) {
  const std::string longName(256, 'n');
  struct Case {
    const char* what;
    std::string text;
    std::string error;
  };
  const Case cases[] = {
      {"empty", "", "the file ends before ENDATA"},
      {"no ENDATA", model("").substr(0, 60), "the file ends before ENDATA"},
      {"after ENDATA", model("") + "ROWS\n", "line 10: there is more after ENDATA"},
      {"NUL", "NAME M\nROWS\n N o" + std::string(1, '\0') + "bj\nENDATA\n",
       "line 3: the control character 0x00 is not allowed"},
      {"data first", " N obj\nENDATA\n", "line 1: a data line outside a section"},
      {"order", model("BOUNDS\nRHS\n"), "line 10: the section 'RHS' is out of order or repeated"},
      {"unknown section", model("FOO\n"), "line 9: unknown section 'FOO'"},
      {"cones", model("CSECTION c1 0.0 QUAD\n x\n"), "line 9: the section CSECTION is not read"},
      {"QSECTION", model("QSECTION obj\n x x 1\n"), "line 9: the section QSECTION is not read"},
      {"indicators", model("INDICATORS\n"), "line 9: the section INDICATORS is not read"},
      {"sense", "NAME\nOBJSENSE\n UP\n" + model(""),
       "line 3: OBJSENSE must be MAX or MIN, not 'UP'"},
      {"row type", "NAME\nROWS\n X c\nENDATA\n", "line 3: unknown row type 'X'"},
      {"row twice", "NAME\nROWS\n L c\n G c\nENDATA\n", "line 4: the row 'c' is given twice"},
      {"long name", "NAME\nROWS\n L " + longName + "\nENDATA\n",
       "line 3: the name 'nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn...' is longer than 255 "
       "characters"},
      {"unknown row", model(" z nosuch 1\n"), "line 9: unknown row 'nosuch'"},
      {"column split", model(" x g 1\n"),
       "line 9: the column 'x' is given twice (its lines must stand together)"},
      {"coefficient twice", model(" z c 1 c 2\n"),
       "line 9: a second coefficient for row 'c' in column 'z'"},
      {"objective twice", model(" z obj 1\n z obj 0\n"),
       "line 10: a second coefficient for row 'obj' in column 'z'"},
      {"NaN", model(" z c nan\n"), "line 9: 'nan' is not a number, or out of range"},
      {"overflow", model(" z c 1e400\n"), "line 9: '1e400' is not a number, or out of range"},
      {"hex", model(" z c 0x10\n"), "line 9: '0x10' is not a number, or out of range"},
      {"marker", model(" M 'MARKER' 'SOSORG'\n"), "line 9: unknown marker ''SOSORG''"},
      {"INTEND alone", model(" M 'MARKER' 'INTEND'\n"),
       "line 9: an 'INTEND' marker without 'INTORG'"},
      {"rhs row", model("RHS\n RHS nosuch 1\n"), "line 10: unknown row 'nosuch'"},
      {"rhs twice", model("RHS\n RHS c 1\n RHS c 2\n"),
       "line 11: a second right-hand side for row 'c'"},
      {"rhs sets", model("RHS\n A c 1\n B g 2\n"),
       "line 11: a second set 'B' in the section (only one is read)"},
      {"range twice", model("RANGES\n R c 1 c 2\n"), "line 10: a second range for row 'c'"},
      {"range objective", model("RANGES\n R obj 1\n"), "line 10: a range on the N row 'obj'"},
      {"bound column", model("BOUNDS\n UP B z 1\n"), "line 10: unknown column 'z'"},
      {"bound type", model("BOUNDS\n XX B x 1\n"), "line 10: unknown bound type 'XX'"},
      {"bound value", model("BOUNDS\n UP x\n"),
       "line 10: a BOUNDS line is a type, an optional set name, a column and a value for UP"},
      {"bound Inf", model("BOUNDS\n UP B x Inf\n"),
       "line 10: 'Inf' is not a number, or out of range"},
      {"lower +inf", model("BOUNDS\n LO B x 1e20\n"),
       "the column 'x' has a lower bound of +infinity"},
      {"upper -inf", model("BOUNDS\n UP B x -1e30\n"),
       "the column 'x' has an upper bound of -infinity"},
      {"row -inf", model("RHS\n RHS c -1e20\n"), "the row 'c' has an upper bound of -infinity"},
      {"set member first", model("SOS\n x 1\n"),
       "line 10: a set member before the first set header (S1 or S2)"},
      {"set column", model("SOS\n S1 SOS s\n z 1\n"), "line 11: unknown column 'z'"},
      {"set twice", model("SOS\n S2 SOS s\n x 1\n x 2\n"),
       "line 12: the column 'x' is in the set twice"},
      {"empty set", model("SOS\n S1 SOS s\n S2 SOS t\n x\n"),
       "line 11: the set before has no columns"},
      {"quadratic column", model("QUADOBJ\n x z 1\n"), "line 10: unknown column 'z'"},
      {"quadratic NaN", model("QUADOBJ\n x y NaN\n"),
       "line 10: 'NaN' is not a number, or out of range"},
      {"quadratic line", model("QUADOBJ\n x x 1 y\n"),
       "line 10: a quadratic objective line is a column and one or two pairs of column and value"},
      {"quadratic second column", model("QUADOBJ\n x x 1 z 2\n"), "line 10: unknown column 'z'"},
      {"quadratic second pair clash", model("QMATRIX\n x y 1\n y x 1 x 2\n"),
       "line 11: the quadratic objective gives two values for columns 'y' and 'x'"},
      {"free bound value", model("BOUNDS\n FR B x nan\n"),
       "line 10: 'nan' is not a number, or out of range"},
      {"MI two values", model("BOUNDS\n MI B x 1 2\n"),
       "line 10: a BOUNDS line is a type, an optional set name, a column and a value for MI"},
      {"quadratic twice", model("QUADOBJ\n x x 1\nQMATRIX\n"),
       "line 11: the section 'QMATRIX' is out of order or repeated"},
      {"second quadratic block", model("QUADOBJ\n x x 1\n") + "NAME M\nQUADOBJ\nENDATA\n",
       "line 12: there is more after ENDATA"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(mpsError(c.text), c.error);
  }
}

// CoinUtils' meanings, which the host has always given MPS files.
TEST(MpsReaderTest, ReadsRangesBoundsAndMarkersWithTheirMeanings) {
  const vopRec m = qelhost::readMps(R"(NAME          SIGNS     FREE
ROWS
 N  obj
 E  e1
 E  e2
 E  e3
 L  l1
 G  g1
 N  other
 L  big
COLUMNS
    MARKER    'MARKER'  'INTORG'
    i1        obj       1          e1        1
    i2        e1        1
    i3        e1        1
    MARKER    'MARKER'  'INTEND'
    up        e2        1          other     5
    mi        e3        1
    sc        l1        1
    sc0       g1        1
    bv        obj       0          big       0
    fr        big       1
RHS
    RHS       e1        4          e2        4
    RHS       e3        4          l1        10
    RHS       g1        1          obj       2.5
    RHS       big       1e20       other     7
RANGES
    RNG       e1        3          e2        -3
    RNG       e3        0          l1        -2
    RNG       g1        5
BOUNDS
 LO BND       i2        2
 UI BND       i3        -4
 UP BND       up        -3
 MI BND       mi
 UP BND       mi        1e30
 SC BND       sc
 LO BND       sc0       1
 SC BND       sc0       0
 BV BND       bv        1
 FR BND       fr
 UP BND       fr        7
ENDATA
NAME          SIGNS
QUADOBJ
    up        mi        2
ENDATA
)",
                                    "signs.mps");
  EXPECT_EQ(m.name, "SIGNS");
  EXPECT_THAT(m.columns, ElementsAre(IsColumn("i1", Type::kInteger, 0.0, 1.0),
                                     IsColumn("i2", Type::kInteger, 2.0, kInf),
                                     IsColumn("i3", Type::kInteger, 0.0, -4.0),
                                     IsColumn("up", Type::kContinuous, -kInf, -3.0),
                                     IsColumn("mi", Type::kContinuous, -kInf, kInf),
                                     IsColumn("sc", Type::kSemiContinuous, 0.0, kInf),
                                     IsColumn("sc0", Type::kSemiContinuous, 1.0, kInf),
                                     IsColumn("bv", Type::kInteger, 0.0, 1.0),
                                     IsColumn("fr", Type::kContinuous, -kInf, 7.0)));
  // The N row "other" is left out with its entries; E rows take the range's sign.
  EXPECT_THAT(m.rows, ElementsAre(IsRow("e1", 4.0, 7.0), IsRow("e2", 1.0, 4.0),
                                  IsRow("e3", 4.0, 4.0), IsRow("l1", 8.0, 10.0),
                                  IsRow("g1", 1.0, 6.0), IsRow("big", -kInf, kInf)));
  // Zeros are left out: bv has no term.
  EXPECT_TRUE(m.rows[5].terms.size() == 1 && m.rows[5].terms[0].column == 8);
  const vopRec::Objective& o = m.objectives.at(0);
  EXPECT_EQ(o.constant, -2.5);
  ASSERT_EQ(o.terms.size(), 1u);
  EXPECT_EQ(o.terms[0].column, 0);
  ASSERT_EQ(o.quadratic.size(), 1u);
  EXPECT_EQ(o.quadratic[0].first, 3);
  EXPECT_EQ(o.quadratic[0].second, 4);
  EXPECT_EQ(o.quadratic[0].coef, 2.0);
}

// The forms other writers produce: CoinUtils writes a value after FR, MI, PL and BV and two
// entries on a quadratic objective line.
TEST(MpsReaderTest, ReadsTheFormsWritersUse) {
  struct Case {
    const char* what;
    std::string text;
    testing::Matcher<const std::vector<vopRec::Column>&> columns;
    testing::Matcher<const std::vector<vopRec::QuadTerm>&> quadratic = testing::IsEmpty();
  };
  const Case cases[] = {
      {"FR and MI with values", model("BOUNDS\n FR BND x -1e+30\n MI BND y -1e30\n"),
       ElementsAre(IsColumn("x", Type::kContinuous, -kInf, kInf),
                   IsColumn("y", Type::kContinuous, -kInf, kInf))},
      {"PL and MI with values, no set", model("BOUNDS\n PL x 1e30\n UP y 4\n MI y -1e+30\n"),
       ElementsAre(IsColumn("x", Type::kContinuous, 0.0, kInf),
                   IsColumn("y", Type::kContinuous, -kInf, 4.0))},
      {"BV with values", model("BOUNDS\n BV BND x 1\n BV y 0\n"),
       ElementsAre(IsColumn("x", Type::kInteger, 0.0, 1.0),
                   IsColumn("y", Type::kInteger, 0.0, 1.0))},
      {"a column named 1",
       "NAME\nROWS\n N obj\nCOLUMNS\n x obj 1\n 1 obj 1\nBOUNDS\n FR x 1\n BV x 1 1\nENDATA\n",
       ElementsAre(IsColumn("x", Type::kContinuous, 0.0, kInf),
                   IsColumn("1", Type::kInteger, 0.0, 1.0))},
      {"QUADOBJ pairs", model("QUADOBJ\n x x 2 y 1\n y y 4\n"),
       ElementsAre(IsColumn("x", Type::kContinuous, 0.0, kInf),
                   IsColumn("y", Type::kContinuous, 0.0, kInf)),
       ElementsAre(IsProduct(0, 0, 1.0), IsProduct(0, 1, 1.0), IsProduct(1, 1, 2.0))},
      {"QMATRIX pairs", model("QMATRIX\n x x 2 y 1\n y x 1 y 4\n"),
       ElementsAre(IsColumn("x", Type::kContinuous, 0.0, kInf),
                   IsColumn("y", Type::kContinuous, 0.0, kInf)),
       ElementsAre(IsProduct(0, 0, 1.0), IsProduct(0, 1, 1.0), IsProduct(1, 1, 2.0))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const vopRec m = qelhost::readMps(c.text, "forms.mps");
    EXPECT_THAT(m.columns, c.columns);
    EXPECT_THAT(m.objectives.at(0).quadratic, c.quadratic);
  }
}

TEST(MpsReaderTest, ReadsFreeFormSetsInWeightOrderAndTheSense) {
  const vopRec m = qelhost::readMps(
      "NAME\nOBJSENSE MAXIMIZE\nROWS\n N obj\n L c\nCOLUMNS\n x c 1\n y c 1\n z c 1\n"
      "SOS\n S2 SOS s 3\n x 3\n y 1\n z 2\n S1 t\n x\n z\nENDATA\n",
      "free.mps");
  EXPECT_TRUE(m.objectives.at(0).maximize);
  ASSERT_EQ(m.sets.size(), 2u);
  EXPECT_EQ(m.sets[0].type, 2);
  EXPECT_EQ(m.sets[0].columns, (std::vector<int>{1, 2, 0}));
  EXPECT_EQ(m.sets[0].weights, (std::vector<double>{1, 2, 3}));
  // Without weights a member weighs its position.
  EXPECT_EQ(m.sets[1].columns, (std::vector<int>{0, 2}));
  EXPECT_EQ(m.sets[1].weights, (std::vector<double>{0, 1}));
  EXPECT_EQ(m.sets[1].name, "sos2");
}

}  // namespace
}  // namespace qelhost_test
