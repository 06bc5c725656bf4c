#include "lp_reader.hpp"

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
std::string lpError(const std::string& text) { return readerError(qelhost::readLp, text, "m.lp"); }

// A small model with the given rows and sections after them.
std::string model(const std::string& rows, const std::string& tail = "") {
  return "Minimize\n obj: x + y\nSubject To\n" + rows + tail + "End\n";
}

TEST(LpReaderTest, RefusesHostileAndCarelessFilesNamingLineAndCause) {
  struct Case {
    const char* what;
    std::string text;
    std::string error;
  };
  const Case cases[] = {
      {"empty", "", "the file must start with Minimize or Maximize"},
      {"backslash", "\\", "the file must start with Minimize or Maximize"},
      {"cut in a row",
       "Minimize\n obj: x\nSubject To\n c: x >=", "expected a number, not the end of the file"},
      {"after End", model(" c: x >= 1\n") + "x\n", "line 6: there is more after End"},
      {"objective relation", "Minimize\n obj: x\n c: x >= 1\nEnd\n",
       "line 3: a relation in the objective 'c' (Subject To missing?)"},
      {"no Subject To", "Minimize\n obj: x\nBounds\nEnd\n",
       "line 3: expected Subject To, not 'Bounds'"},
      {"Subject alone", "Minimize\n obj: x\nSubject\n c: x >= 1\nEnd\n",
       "line 4: expected 'To' after 'Subject'"},
      {"Minimum", "Minimum\n obj: x\nSubject To\nEnd\n",
       "line 1: the file must start with Minimize or Maximize"},
      {"relation =<", model(" c: x =< 1\n"),
       "line 4: unexpected '<' (the relations are <=, >= and =)"},
      {"relation >", model(" c: x > 1\n"),
       "line 4: unexpected '>' (the relations are <=, >= and =)"},
      {"Bounds late", model(" c: x >= 1\n", "Binaries\n x\nBounds\n"),
       "line 7: the section 'Bounds' is out of order or repeated"},
      {"SOS twice", model(" c: x >= 1\n", "SOS\n S1:: x:1\nSOS\n"),
       "line 7: the section 'SOS' is out of order or repeated"},
      {"Integers and Generals", model(" c: x >= 1\n", "Integers\n x\nGenerals\n"),
       "line 7: the section 'Generals' is out of order or repeated"},
      {"control", "Minimize\n obj: x\x01\n", "line 2: the control character 0x01 is not allowed"},
      {"character", model(" c: x ] y >= 1\n"), "line 4: unexpected character ']'"},
      {"quadratic", "Minimize\n obj: [ x ^ 2 ] / 2\nSubject To\nEnd\n",
       "line 2: quadratic terms in LP files are not read; write the model as MPS"},
      {"three objectives", "Maximize\n a: x\n b: y\n c: x + y\nSubject To\nEnd\n",
       "line 4: more than two objectives"},
      {"objective term twice", "Minimize\n obj: x + 2 y - x\nSubject To\nEnd\n",
       "line 2: a second term for column 'x' in the objective 'obj'"},
      {"two constants", "Minimize\n obj: 1 + x + 2\nSubject To\nEnd\n",
       "line 2: a second constant in the objective 'obj'"},
      {"row term twice", model(" c: 2 x + 3 x >= 1\n"),
       "line 4: a second term for column 'x' in the row 'c'"},
      {"row constant", model(" c: x + 2 >= 1\n"),
       "line 4: a constant on the left side of the row 'c' (a ranged row is written as two rows)"},
      {"one-line range", model(" r: -5 <= x + y <= 5\n"),
       "line 4: a constant on the left side of the row 'r' (a ranged row is written as two rows)"},
      {"two relations", model(" r: x + y >= 1 <= 5\n"),
       "line 4: a second relation in the row 'r' (a ranged row is written as two rows)"},
      {"empty row", model(" r: >= 1\n"), "line 4: the row 'r' has no terms"},
      {"no relation", "Minimize\n obj: x\nSubject To\n c: x\nGenerals 5\nEnd\n",
       "line 5: expected <=, >= or =, not 'Generals'"},
      {"no sign", model(" r: x y >= 1\n"), "line 4: expected + or - before 'y' in the row 'r'"},
      {"row twice", model(" c: x >= 1\n c: y >= 1\n"), "line 5: the row 'c' is given twice"},
      {"unnamed clash", model(" cons1: x >= 1\n y >= 1\n"),
       "line 5: the row 'cons1' is given twice"},
      {"keyword name", model(" c: x + free >= 1\n"),
       "line 4: the keyword 'free' cannot name a column"},
      {"NaN", model(" c: x >= nan\n"), "line 4: expected a number, not 'nan'"},
      {"infinity", model(" c: x >= -infinity\n"), "line 4: expected a number, not 'infinity'"},
      {"glued", model(" c: 2x >= 1\n"), "line 4: '2x' is not a number, or out of range"},
      {"overflow", model(" c: 1e999 x >= 1\n"), "line 4: '1e999' is not a number, or out of range"},
      {"row -inf", model(" c: x <= -inf\n"), "line 4: the row 'c' has an upper bound of -infinity"},
      {"long name", model(" c: x + " + std::string(300, 'v') + " >= 1\n"),
       "line 4: the name 'vvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvv...' is longer than 255 "
       "characters"},
      {"lower +inf", model(" c: x >= 1\n", "Bounds\n x >= 1e30\n"),
       "the column 'x' has a lower bound of +infinity"},
      {"upper -inf", model(" c: x >= 1\n", "Bounds\n -inf >= y\n"),
       "the column 'y' has an upper bound of -infinity"},
      {"bound directions", model(" c: x >= 1\n", "Bounds\n 1 <= x >= 0\n"),
       "line 6: the relations of a bound on 'x' do not point the same way"},
      {"bound relation", model(" c: x >= 1\n", "Bounds\n x 3\n"),
       "line 6: expected <=, >= or =, not '3'"},
      {"semi unbounded", model(" c: x >= 1\n", "Semi-continuous\n x\n"),
       "line 6: the semi-continuous column 'x' has no finite upper bound"},
      {"semi-integer", model(" c: x >= 1\n", "Bounds\n x <= 4\nSemis\n y x\nGenerals\n x\n"),
       "line 8: the column 'x' is integer and semi-continuous (semi-integer columns are not read)"},
      {"semi binary", model(" c: x >= 1\n", "Binaries\n x\nsemi\n x\n"),
       "line 8: the column 'x' is integer and semi-continuous (semi-integer columns are not read)"},
      {"semi twice", model(" c: x >= 1\n", "semi\nSEMI-CONTINUOUS\n"),
       "line 6: the section 'SEMI' is out of order or repeated"},
      {"semi after SOS", model(" c: x >= 1\n", "SOS\nsemis\n"),
       "line 6: the section 'semis' is out of order or repeated"},
      {"set column", model(" c: x >= 1\n", "SOS\n s1: S1:: x:1 q:2\n"),
       "line 6: unknown column 'q' in a set"},
      {"set weight", model(" c: x >= 1\n", "SOS\n s1: S1:: x y\n"),
       "line 6: expected ':' and a weight after 'x'"},
      {"set twice", model(" c: x >= 1\n", "SOS\n S2:: x:1 x:2\n"),
       "line 6: the column 'x' is in the set twice"},
      {"empty set", model(" c: x >= 1\n", "SOS\n s1: S1::\n"), "line 7: a set without columns"},
      {"set header", model(" c: x >= 1\n", "SOS\n x:1\n"),
       "line 6: expected a set (name: S1:: or S2::), not 'x'"},
      {"cut off after Generals", "Minimize\n obj: x\nSubject To\n c: x >= 1\nGenerals\n",
       "expected Bounds, Generals, Binaries, Semi-continuous, SOS or End, not the end of the file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(lpError(c.text), c.error);
  }
}

TEST(LpReaderTest, ReadsRelationsBoundsAndSectionsWithTheirMeanings) {
  const vopRec m = qelhost::readLp(R"(MAX / a comment
 a: x + .5 y - 3
 b: 2 x
s.t.
 x + y >= -1e30
 c: x - y <= 4
 x + y >= 1
 d: x <= 2
 e: y >= -Inf
 f: 0 x = 3
Bounds
 -5 <= x <= 5
 w <= 4
 y free
 z = 2
 2 >= v
 y >= -3
Binaries
 x
Integers
 u
SOS
 S2:: z:3 y:1 w:2
END
)",
                                   "meanings.lp");
  EXPECT_THAT(m.columns, ElementsAre(IsColumn("x", Type::kInteger, 0.0, 1.0),
                                     IsColumn("y", Type::kContinuous, -3.0, kInf),
                                     IsColumn("w", Type::kContinuous, 0.0, 4.0),
                                     IsColumn("z", Type::kContinuous, 2.0, 2.0),
                                     IsColumn("v", Type::kContinuous, 0.0, 2.0),
                                     IsColumn("u", Type::kInteger, 0.0, kInf)));
  EXPECT_THAT(m.rows, ElementsAre(IsRow("cons0", -kInf, kInf), IsRow("c", -kInf, 4.0),
                                  IsRow("cons2", 1.0, kInf), IsRow("d", -kInf, 2.0),
                                  IsRow("e", -kInf, kInf), IsRow("f", 3.0, 3.0)));
  // Rows keep an explicit zero.
  EXPECT_THAT(m.rows[5].terms, ElementsAre(IsTerm(0, 0.0)));
  ASSERT_EQ(m.objectives.size(), 2u);
  EXPECT_EQ(m.objectives[0].name, "a");
  EXPECT_THAT(m.objectives[0].terms, ElementsAre(IsTerm(0, 1.0), IsTerm(1, 0.5)));
  EXPECT_EQ(m.objectives[0].constant, -3.0);
  EXPECT_EQ(m.objectives[1].name, "b");
  EXPECT_TRUE(m.objectives[1].maximize);
  EXPECT_EQ(m.objectives[1].constant, 0.0);
  ASSERT_EQ(m.sets.size(), 1u);
  EXPECT_EQ(m.sets[0].columns, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(m.sets[0].weights, (std::vector<double>{1, 2, 3}));
}

TEST(LpReaderTest, ReadsEveryFormOfTheSections) {
  struct Case {
    const char* what;
    std::string text;
    testing::Matcher<const std::vector<vopRec::Column>&> columns;
  };
  const Case cases[] = {
      {"empty semi", model(" c: x + y >= 1\n", "semi\n"),
       ElementsAre(IsColumn("x", Type::kContinuous, 0.0, kInf),
                   IsColumn("y", Type::kContinuous, 0.0, kInf))},
      {"Semi-continuous", model(" c: x >= 1\n", "Bounds\n 2 <= x <= 9\nSemi-Continuous\n x\n"),
       ElementsAre(IsColumn("x", Type::kSemiContinuous, 2.0, 9.0),
                   IsColumn("y", Type::kContinuous, 0.0, kInf))},
      {"a column named continuous",
       model(" c: x >= 1\n", "Bounds\n continuous <= 3\nsemi-continuous\n continuous\n"),
       ElementsAre(IsColumn("x", Type::kContinuous, 0.0, kInf),
                   IsColumn("y", Type::kContinuous, 0.0, kInf),
                   IsColumn("continuous", Type::kSemiContinuous, 0.0, 3.0))},
      {"SEMIS between the integer sections",
       model(" c: x >= 1\n", "Bounds\n y <= 4\nBinaries\n x\nSEMIS y\nGenerals\n z\n"),
       ElementsAre(IsColumn("x", Type::kInteger, 0.0, 1.0),
                   IsColumn("y", Type::kSemiContinuous, 0.0, 4.0),
                   IsColumn("z", Type::kInteger, 0.0, kInf))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_THAT(qelhost::readLp(c.text, "forms.lp").columns, c.columns);
  }
}

// Found by lp_reader_fuzz: a file whose objective line is a comment had no objective.
TEST(LpReaderTest, AFileWithoutObjectiveGetsAnEmptyOne) {
  const vopRec m = qelhost::readLp("min\n/bj: 2 x\ns.t.\nc: x >= 1\nend\n", "none.lp");
  ASSERT_EQ(m.objectives.size(), 1u);
  EXPECT_EQ(m.objectives[0].name, "obj");
  EXPECT_TRUE(m.objectives[0].terms.empty());
  EXPECT_EQ(m.columns.size(), 1u);
}

}  // namespace
}  // namespace qelhost_test
