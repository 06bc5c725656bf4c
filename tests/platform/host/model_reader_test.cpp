#include "model_reader.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "orla/vop_rec.hpp"
#include "tests/platform/host/record_matchers.hpp"
#include "tests/platform/host/temp_files.hpp"

namespace qelhost_test {
namespace {

using ::testing::ElementsAre;

// What reading the file throws, or "" when it reads.
std::string readError(const std::string& path) {
  try {
    static_cast<void>(qelhost::readModel(path));
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "";
}

constexpr const char* kMps = R"(NAME          READER
OBJSENSE
    MAX
ROWS
 N  PROFIT
 L  LIM1
 G  LIM2
 E  MYEQN
 L  RNG
COLUMNS
    MARKER                 'MARKER'                 'INTORG'
    X1        PROFIT       1.0          LIM1         1.0
    X1        LIM2         1.0
    MARKER                 'MARKER'                 'INTEND'
    X2        PROFIT       2.0          LIM1         1.0
    X2        MYEQN        -1.0         RNG          1.0
    X3        PROFIT       -1.0         MYEQN        1.0
    X4        LIM2         1.0
RHS
    RHS       PROFIT       -3.5         LIM1         4.0
    RHS       LIM2         1.0          MYEQN        7.0
    RHS       RNG          5.0
RANGES
    RNG       RNG          2.0
BOUNDS
 UP BND       X1           4.0
 MI BND       X2
 LO BND       X3           1.5
 SC BND       X3           8.0
 FR BND       X4
SOS
 S2 SOS       SET1
    X2        1.0
    X4        2.0
QUADOBJ
    X2        X2           4.0
    X2        X3           1.0
ENDATA
)";

TEST(ModelReaderTest, ReadsEverySectionOfAnMpsFile) {
  const TempFiles files;
  const vopRec m = qelhost::readModel(files.write("model.mps", kMps));
  EXPECT_EQ(m.name, "READER");
  EXPECT_THAT(m.columns, ElementsAre(IsColumn("X1", Type::kInteger, 0.0, 4.0),
                                     IsColumn("X2", Type::kContinuous, -kInf, kInf),
                                     IsColumn("X3", Type::kSemiContinuous, 1.5, 8.0),
                                     IsColumn("X4", Type::kContinuous, -kInf, kInf)));
  ASSERT_THAT(m.rows, ElementsAre(IsRow("LIM1", -kInf, 4.0), IsRow("LIM2", 1.0, kInf),
                                  IsRow("MYEQN", 7.0, 7.0), IsRow("RNG", 3.0, 5.0)));
  EXPECT_THAT(m.rows[0].terms, ElementsAre(IsTerm(0, 1.0), IsTerm(1, 1.0)));
  EXPECT_THAT(m.rows[2].terms, ElementsAre(IsTerm(1, -1.0), IsTerm(2, 1.0)));
  ASSERT_EQ(m.objectives.size(), 1u);
  const vopRec::Objective& o = m.objectives[0];
  EXPECT_EQ(o.name, "PROFIT");
  EXPECT_TRUE(o.maximize);
  EXPECT_THAT(o.terms, ElementsAre(IsTerm(0, 1.0), IsTerm(1, 2.0), IsTerm(2, -1.0)));
  // The right-hand side -3.5 on the objective row makes the objective c'x + 3.5.
  EXPECT_EQ(o.constant, 3.5);
  // c'x + 1/2 x'Qx: Q_22 = 4 gives 2 x2^2, Q_23 = Q_32 = 1 gives x2 x3.
  EXPECT_THAT(o.quadratic, ElementsAre(IsProduct(1, 1, 2.0), IsProduct(1, 2, 1.0)));
  ASSERT_EQ(m.sets.size(), 1u);
  EXPECT_EQ(m.sets[0].type, 2);
  EXPECT_EQ(m.sets[0].columns, (std::vector<int>{1, 3}));
  EXPECT_EQ(m.sets[0].weights, (std::vector<double>{1, 2}));
}

TEST(ModelReaderTest, QuadraticObjectiveMayListBothTrianglesButNotTwoValues) {
  const TempFiles files;
  // The model with one more QUADOBJ entry, for Q_32.
  const auto withQ32 = [&files](const std::string& name, const std::string& value) {
    std::string text = kMps;
    text.insert(text.find("ENDATA"), "    X3        X2           " + value + "\n");
    return files.write(name, text);
  };
  EXPECT_THAT(qelhost::readModel(withQ32("both.mps", "1.0")).objectives[0].quadratic,
              ElementsAre(IsProduct(1, 1, 2.0), IsProduct(1, 2, 1.0)));
  const std::string clash = withQ32("clash.mps", "2.0");
  EXPECT_EQ(readError(clash), "cannot read '" + clash +
                                  "': line 38: the quadratic objective gives two values for "
                                  "columns 'X3' and 'X2'");
}

TEST(ModelReaderTest, ReadsLpFilesUndoingTheReadersNegationOfAMaximisation) {
  const TempFiles files;
  const vopRec m = qelhost::readModel(files.write("model.lp", R"(\ a comment first
/ and another
Maximize
 profit: 3 x + 2 y - z
 second: x + y
Subject To
 c1: x + y + 2 z <= 4
 c2: x + 3 y >= 1
 c3: x - z = 0
Bounds
 x <= 10
 -5 <= y <= 5
 z free
Generals
 y
SOS
 s1: S1:: x:1 z:2
End
)"));
  EXPECT_THAT(m.columns, ElementsAre(IsColumn("x", Type::kContinuous, 0.0, 10.0),
                                     IsColumn("y", Type::kInteger, -5.0, 5.0),
                                     IsColumn("z", Type::kContinuous, -kInf, kInf)));
  EXPECT_THAT(m.rows,
              ElementsAre(IsRow("c1", -kInf, 4.0), IsRow("c2", 1.0, kInf), IsRow("c3", 0.0, 0.0)));
  ASSERT_EQ(m.objectives.size(), 2u);
  EXPECT_TRUE(m.objectives[0].maximize);
  EXPECT_EQ(m.objectives[0].name, "profit");
  EXPECT_THAT(m.objectives[0].terms, ElementsAre(IsTerm(0, 3.0), IsTerm(1, 2.0), IsTerm(2, -1.0)));
  EXPECT_EQ(m.objectives[0].constant, 0.0);
  EXPECT_EQ(m.objectives[1].name, "second");
  EXPECT_THAT(m.objectives[1].terms, ElementsAre(IsTerm(0, 1.0), IsTerm(1, 1.0)));
  ASSERT_EQ(m.sets.size(), 1u);
  EXPECT_EQ(m.sets[0].type, 1);
  EXPECT_EQ(m.sets[0].columns, (std::vector<int>{0, 2}));

  // The constant keeps its sign either way.
  for (const bool maximize : {true, false}) {
    SCOPED_TRACE(maximize);
    const vopRec one = qelhost::readModel(
        files.write("one.lp", maximize ? "Maximize\n obj: x + 5\nSubject To\n c: x <= 2\nEnd\n"
                                       : "Minimize\n obj: x - 5\nSubject To\n c: x >= 2\nEnd\n"));
    EXPECT_EQ(one.objectives[0].maximize, maximize);
    EXPECT_THAT(one.objectives[0].terms, ElementsAre(IsTerm(0, 1.0)));
    EXPECT_EQ(one.objectives[0].constant, maximize ? 5.0 : -5.0);
  }
}

TEST(ModelReaderTest, RefusesWhatItCannotReadWithTheFileNamed) {
  const TempFiles files;
  struct Case {
    std::string name;
    const char* text;  // no file when null
    testing::Matcher<std::string> why;
  };
  const Case cases[] = {
      {"model.txt", "x", "the file name must end in .mps or .lp"},
      {"semi.lp", "Minimize\n obj: x\nSubject To\n c: x >= 2\nSemi-continuous\n x\nEnd\n",
       "line 6: the semi-continuous column 'x' has no finite upper bound"},
      {"absent.mps", nullptr, "the file cannot be opened"},
      {"broken.mps", "NAME X\nROWS\n N obj\nCOLUMNS\n    X  nosuchrow  1.0\nENDATA\n",
       "line 5: unknown row 'nosuchrow'"},
      {"bad.lp", "Minimize\n obj: x\nSubject To\n c: x >=\nEnd\n",
       "line 5: expected a number, not 'End'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = c.text ? files.write(c.name, c.text) : files.path(c.name);
    const std::string prefix = "cannot read '" + path + "': ";
    const std::string what = readError(path);
    ASSERT_THAT(what, testing::StartsWith(prefix));
    EXPECT_THAT(what.substr(prefix.size()), c.why);
  }
  const std::string directory = files.path("directory.mps");
  std::filesystem::create_directory(directory);
  EXPECT_EQ(readError(directory), "cannot read '" + directory + "': the file cannot be read");
}

// The examples stay readable, and read as the models their comments describe.
TEST(ModelReaderTest, ReadsTheExamples) {
  const std::string dir = QEL_EXAMPLES_DIR;
  const vopRec production = qelhost::readModel(dir + "/production.lp");
  EXPECT_EQ(production.columns.size(), 3u);
  EXPECT_THAT(production.rows,
              ElementsAre(IsRow("wood", -kInf, 120.0), IsRow("labour", -kInf, 100.0),
                          IsRow("machine", -kInf, 60.0), IsRow("contract", 2.0, kInf)));
  EXPECT_TRUE(production.objectives.at(0).maximize);
  EXPECT_EQ(production.columns[1].upper, 12.0);

  const vopRec supply = qelhost::readModel(dir + "/supply.mps");
  EXPECT_THAT(supply.columns, ElementsAre(IsColumn("MAKE", Type::kSemiContinuous, 20.0, 40.0),
                                          IsColumn("BUYA", Type::kContinuous, 0.0, 15.0),
                                          IsColumn("BUYB", Type::kContinuous, 0.0, 25.0),
                                          IsColumn("BUYC", Type::kContinuous, 0.0, 50.0),
                                          IsColumn("NTRUCK", Type::kInteger, 0.0, 10.0)));
  ASSERT_EQ(supply.sets.size(), 1u);
  EXPECT_EQ(supply.sets[0].columns, (std::vector<int>{1, 2, 3}));
  EXPECT_FALSE(supply.objectives.at(0).maximize);

  const vopRec portfolio = qelhost::readModel(dir + "/portfolio.mps");
  // Variance x'Cx: the diagonal of C and twice its upper triangle.
  EXPECT_THAT(portfolio.objectives.at(0).quadratic,
              ElementsAre(IsProduct(0, 0, 0.04), IsProduct(0, 1, 0.012), IsProduct(0, 2, 0.004),
                          IsProduct(1, 1, 0.09), IsProduct(1, 2, 0.018), IsProduct(2, 2, 0.16)));
}

}  // namespace
}  // namespace qelhost_test
