// Files written through the library: the problem as MPS or LP, basis, solution print, save.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <coin/CoinLpIO.hpp>
#include <coin/CoinMpsIO.hpp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/mps_loader.hpp"
#include "tests/support/qcqp_optimum.hpp"
#include "tests/support/standin_test.hpp"
#include "xprs_testing.hpp"

namespace {

using xprs_test::StandinTest;

class FileTest : public StandinTest {
 protected:
  void SetUp() override {
    StandinTest::SetUp();
    dir_ = std::filesystem::temp_directory_path() /
           ("xprs_file_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
    ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_OUTPUTLOG, 0), 0);
  }
  void TearDown() override {
    std::filesystem::remove_all(dir_);
    StandinTest::TearDown();
  }
  static std::string read(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::filesystem::path dir_;
};

TEST_F(FileTest, WriteProbMpsRoundTripsTheModel) {
  const auto model = xprs_test::readSample("p0033");
  xprs_test::load(prob_, model);
  const std::string base = (dir_ / "p").string();
  ASSERT_EQ(XPRSwriteprob(prob_, base.c_str(), ""), 0);
  CoinMpsIO reader;
  reader.messageHandler()->setLogLevel(0);
  ASSERT_EQ(reader.readMps((base + ".mps").c_str(), ""), 0);
  EXPECT_EQ(reader.getNumCols(), model.cols);
  EXPECT_EQ(reader.getNumRows(), model.rows);
  EXPECT_EQ(reader.getNumElements(), static_cast<CoinBigIndex>(model.value.size()));
  for (int j = 0; j < model.cols; ++j) {
    EXPECT_EQ(reader.isInteger(j), model.integer[static_cast<std::size_t>(j)]);
    EXPECT_EQ(reader.getObjCoefficients()[j], model.obj[static_cast<std::size_t>(j)]);
  }
  const auto& files = xprs::testing::inspect(prob_).files;
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].function, "XPRSwriteprob");
  EXPECT_EQ(files[0].path, base + ".mps");
}

TEST_F(FileTest, WriteProbLpWritesTheLpFormat) {
  xprs_test::load(prob_, xprs_test::readSample("afiro"));
  const std::string base = (dir_ / "afiro").string();
  ASSERT_EQ(XPRSwriteprob(prob_, base.c_str(), "l"), 0);
  const std::string text = read(base + ".lp");
  EXPECT_THAT(text, testing::HasSubstr("Minimize"));
  EXPECT_THAT(text, testing::HasSubstr("Subject To"));
  EXPECT_EQ(XPRSwriteprob(prob_, base.c_str(), "k"), 32);
  EXPECT_EQ(lastError(), "XPRSwriteprob: invalid flag 'k'");
  EXPECT_EQ(XPRSwriteprob(prob_, (dir_ / "missing" / "x").string().c_str(), ""), 32);
}

TEST_F(FileTest, BasisSolutionPrintAndSaveAreReadableText) {
  xprs_test::load(prob_, xprs_test::readSample("afiro"));
  ASSERT_EQ(XPRSsetprobname(prob_, (dir_ / "afiro").string().c_str()), 0);
  const std::string bss = (dir_ / "b").string();
  EXPECT_EQ(XPRSwritebasis(prob_, bss.c_str(), ""), 32);
  EXPECT_EQ(lastError(), "XPRSwritebasis: no basis is available");
  ASSERT_EQ(XPRSoptimize(prob_, "", nullptr, nullptr), 0);
  ASSERT_EQ(XPRSwritebasis(prob_, bss.c_str(), ""), 0);
  const std::string basis = read(bss + ".bss");
  EXPECT_THAT(basis, testing::HasSubstr("ROWS 27\n"));
  EXPECT_THAT(basis, testing::HasSubstr("COLUMNS 32\n"));
  ASSERT_EQ(XPRSwriteprtsol(prob_, "", ""), 0);
  EXPECT_THAT(read((dir_ / "afiro.prt").string()), testing::HasSubstr("Objective -464.7531428"));
  ASSERT_EQ(XPRSsave(prob_), 0);
  EXPECT_THAT(read((dir_ / "afiro.svf").string()), testing::HasSubstr("COLUMNS 32 ROWS 27"));
  const auto& files = xprs::testing::inspect(prob_).files;
  ASSERT_EQ(files.size(), 3u);
  EXPECT_EQ(files[1].function, "XPRSwriteprtsol");
  EXPECT_EQ(files[1].fileName, "");
  EXPECT_EQ(files[2].function, "XPRSsave");
}

}  // namespace

namespace {

TEST_F(FileTest, ObjectiveConstantAndRangesSurviveTheMpsFile) {
  xprs_test::loadRangeRowModel(prob_);
  const int constant[] = {-1};
  const double five[] = {5};
  ASSERT_EQ(XPRSchgobj(prob_, 1, constant, five), 0);
  const std::string base = (dir_ / "c").string();
  ASSERT_EQ(XPRSwriteprob(prob_, base.c_str(), ""), 0);
  const auto model = xprs_test::readMpsFile(base + ".mps");
  EXPECT_EQ(model.objRhs, 5.0);  // the objective row's right-hand side
  ASSERT_EQ(model.rowType.size(), 1u);
  EXPECT_EQ(model.rowType[0], 'R');
  EXPECT_EQ(model.rhs[0], 10.0);
  EXPECT_EQ(model.rng[0], 8.0);
  // Solving gives c'x - 5 at x = 2.
  ASSERT_EQ(XPRSoptimize(prob_, "", nullptr, nullptr), 0);
  double objective = 0;
  ASSERT_EQ(XPRSgetdblattrib(prob_, XPRS_OBJVAL, &objective), 0);
  EXPECT_NEAR(objective, -3.0, 1e-9);
}

// Each quadratic row becomes a QCMATRIX section listing its symmetric Q in full: a cross
// triplet in either triangle, or split in two, comes back once per triangle with its whole
// value, and the model read back has the optimum of the model written.
TEST_F(FileTest, QuadraticRowsRoundTripThroughQcMatrixSections) {
  const double lb[] = {XPRS_MINUSINFINITY, XPRS_MINUSINFINITY};
  const double obj[] = {-1, -1};
  ASSERT_EQ(XPRSaddcols64(prob_, 2, 0, obj, nullptr, nullptr, nullptr, lb, nullptr), 0);
  const char types[] = {'L', 'L', 'L'};
  const double rhs[] = {10, 3, 100};
  const XPRSint64 start[] = {0, 2, 2};
  const int cols[] = {0, 1};
  const double ones[] = {1, 1};
  ASSERT_EQ(XPRSaddrows64(prob_, 3, 2, types, rhs, nullptr, start, cols, ones), 0);
  const int a1[] = {0, 1, 1};
  const int a2[] = {0, 0, 1};
  const double a[] = {1, 0.5, 1};
  ASSERT_EQ(XPRSaddqmatrix64(prob_, 1, 3, a1, a2, a), 0);
  const int b1[] = {1, 0, 0};
  const int b2[] = {1, 1, 1};
  const double b[] = {2, 0.25, 0.25};
  ASSERT_EQ(XPRSaddqmatrix64(prob_, 2, 3, b1, b2, b), 0);
  const std::string base = (dir_ / "q").string();
  ASSERT_EQ(XPRSwriteprob(prob_, base.c_str(), ""), 0);
  EXPECT_EQ(XPRSwriteprob(prob_, base.c_str(), "l"), 32);
  EXPECT_EQ(lastError(), "XPRSwriteprob: the LP format cannot hold quadratic rows (row 1)");

  const auto model = xprs_test::readMpsFile(base + ".mps");
  using Entry = std::tuple<int, int, int, double>;
  std::vector<Entry> entries;
  for (std::size_t k = 0; k < model.qcVal.size(); ++k) {
    entries.emplace_back(model.qcRow[k], model.qcCol1[k], model.qcCol2[k], model.qcVal[k]);
  }
  EXPECT_THAT(entries,
              testing::ElementsAre(Entry{1, 0, 0, 1}, Entry{1, 0, 1, 0.5}, Entry{1, 1, 0, 0.5},
                                   Entry{1, 1, 1, 1}, Entry{2, 0, 1, 0.5}, Entry{2, 1, 0, 0.5},
                                   Entry{2, 1, 1, 2}));
  XPRSprob copy = nullptr;
  ASSERT_EQ(XPRScreateprob(&copy), 0);
  ASSERT_EQ(XPRSsetintcontrol(copy, XPRS_OUTPUTLOG, 0), 0);
  xprs_test::load(copy, model);
  const auto best = qel_test::qcqpOptimum(1, 0.5, 1, -1, -1, 3);
  for (XPRSprob p : {prob_, copy}) {
    ASSERT_EQ(XPRSoptimize(p, "", nullptr, nullptr), 0);
    double objective = 0;
    ASSERT_EQ(XPRSgetdblattrib(p, XPRS_OBJVAL, &objective), 0);
    EXPECT_NEAR(objective, best.objective, 1e-6);
  }
  EXPECT_EQ(XPRSdestroyprob(copy), 0);
}

// A right-hand side r on the objective row makes the objective c'x - r, here x + 2y - 4.
TEST_F(FileTest, ObjectiveRowRightHandSideIsTheNegatedConstant) {
  const std::string given = (dir_ / "offset.mps").string();
  std::ofstream(given) << "NAME          OFFSET\n"
                          "ROWS\n"
                          " N  COST\n"
                          " G  NEED\n"
                          "COLUMNS\n"
                          "    X         COST         1            NEED         1\n"
                          "    Y         COST         2            NEED         1\n"
                          "RHS\n"
                          "    RHS       COST         4            NEED         3\n"
                          "ENDATA\n";
  const auto model = xprs_test::readMpsFile(given);
  EXPECT_EQ(model.objRhs, 4.0);
  xprs_test::load(prob_, model);
  ASSERT_EQ(XPRSoptimize(prob_, "", nullptr, nullptr), 0);
  double objective = 0;
  ASSERT_EQ(XPRSgetdblattrib(prob_, XPRS_OBJVAL, &objective), 0);
  EXPECT_NEAR(objective, 3.0 - 4.0, 1e-9);
  // Written back, the MPS file holds the same right-hand side, the LP file the constant.
  const std::string base = (dir_ / "written").string();
  ASSERT_EQ(XPRSwriteprob(prob_, base.c_str(), ""), 0);
  EXPECT_EQ(xprs_test::readMpsFile(base + ".mps").objRhs, 4.0);
  ASSERT_EQ(XPRSwriteprob(prob_, base.c_str(), "l"), 0);
  CoinLpIO lp;
  lp.messageHandler()->setLogLevel(0);
  lp.readLp((base + ".lp").c_str());
  EXPECT_EQ(lp.objectiveOffset(), -4.0);
}

}  // namespace
