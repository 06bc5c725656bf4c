// Files written through the library: the problem as MPS or LP, basis, solution print, save.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <cmath>
#include <coin/CoinLpIO.hpp>
#include <coin/CoinMpsIO.hpp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <locale>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "model_reader.hpp"
#include "orla/vop_rec.hpp"
#include "tests/support/formula_tokens.hpp"
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

namespace {

struct Col {
  double lb = 0.0;
  double ub = XPRS_PLUSINFINITY;
  double obj = 0.0;
  char type = 'C';
  double limit = 0.0;  // of a semi-continuous or semi-integer column
};

struct Row {
  char type = 'L';
  double rhs = 0.0;
  std::vector<std::pair<int, double>> terms;
  double range = 0.0;
};

void addModel(XPRSprob p, const std::vector<Col>& cols, const std::vector<Row>& rows) {
  for (const Col& c : cols) {
    ASSERT_EQ(XPRSaddcols64(p, 1, 0, &c.obj, nullptr, nullptr, nullptr, &c.lb, &c.ub), 0);
    int count = 0;
    ASSERT_EQ(XPRSgetintattrib(p, XPRS_COLS, &count), 0);
    const int col = count - 1;
    if (c.type != 'C') {
      ASSERT_EQ(XPRSchgcoltype(p, 1, &col, &c.type), 0);
    }
    if (c.type == 'S' || c.type == 'R') {
      ASSERT_EQ(XPRSchgglblimit(p, 1, &col, &c.limit), 0);
    }
  }
  for (const Row& r : rows) {
    std::vector<int> ind;
    std::vector<double> val;
    for (const auto& [j, v] : r.terms) ind.push_back(j), val.push_back(v);
    const XPRSint64 start[] = {0, static_cast<XPRSint64>(ind.size())};
    ASSERT_EQ(
        XPRSaddrows64(p, 1, start[1], &r.type, &r.rhs, &r.range, start, ind.data(), val.data()), 0);
  }
}

// Loads the host's record as the host link and the plug-in do: a semi-continuous column's limit
// is its lower bound; a row's type follows from its finite bounds.
void loadRecord(XPRSprob p, const vopRec& r) {
  const auto given = [](double v) {
    return std::isinf(v) ? (v > 0 ? XPRS_PLUSINFINITY : XPRS_MINUSINFINITY) : v;
  };
  const vopRec::Objective& o = r.objectives.front();
  std::vector<Col> cols;
  for (const vopRec::Column& c : r.columns) {
    const char type = c.type == vopRec::ColumnType::kInteger          ? 'I'
                      : c.type == vopRec::ColumnType::kSemiContinuous ? 'S'
                      : c.type == vopRec::ColumnType::kSemiInteger    ? 'R'
                                                                      : 'C';
    cols.push_back({given(c.lower), given(c.upper), 0.0, type, c.lower});
  }
  for (const vopRec::Term& t : o.terms) cols[static_cast<std::size_t>(t.column)].obj += t.coef;
  std::vector<Row> rows;
  for (const vopRec::Row& row : r.rows) {
    Row& added = rows.emplace_back();
    const bool below = !std::isinf(row.lower);
    const bool above = !std::isinf(row.upper);
    added.type = below && above ? (row.lower == row.upper ? 'E' : 'R')
                 : above        ? 'L'
                 : below        ? 'G'
                                : 'N';
    added.rhs = above ? row.upper : below ? row.lower : 0.0;
    if (added.type == 'R') added.range = row.upper - row.lower;
    for (const vopRec::Term& t : row.terms) added.terms.emplace_back(t.column, t.coef);
  }
  addModel(p, cols, rows);
  for (const vopRec::QuadTerm& q : o.quadratic) {
    const double v = q.first == q.second ? 2 * q.coef : q.coef;
    ASSERT_EQ(XPRSchgmqobj64(p, 1, &q.first, &q.second, &v), 0);
  }
  const int constant = -1;
  const double rhs = -o.constant;
  if (o.constant != 0.0) {
    ASSERT_EQ(XPRSchgobj(p, 1, &constant, &rhs), 0);
  }
  if (o.maximize) {
    ASSERT_EQ(XPRSchgobjsense(p, XPRS_OBJ_MAXIMIZE), 0);
  }
  for (const vopRec::Set& set : r.sets) {
    const char type = set.type == 1 ? '1' : '2';
    const XPRSint64 start[] = {0, static_cast<XPRSint64>(set.columns.size())};
    ASSERT_EQ(XPRSaddsets64(p, 1, start[1], &type, start, set.columns.data(), set.weights.data()),
              0);
  }
}

// The model a problem holds, as text: sense, columns (a semi-continuous one by its limit and
// upper bound, a binary one as an integer), rows as bounds, the merged matrix, objective and
// quadratic parts without zeros, indicators and sets by weight.
std::string heldModel(XPRSprob p) {
  const auto& m = xprs::testing::inspect(p).model;
  std::ostringstream s;
  s.imbue(std::locale::classic());
  s.precision(17);
  const auto bound = [](double v) { return v >= 1e20 ? INFINITY : v <= -1e20 ? -INFINITY : v; };
  s << "sense " << m.sense << " constant " << m.objectives.front().rhs << '\n';
  for (int j = 0; j < m.cols(); ++j) {
    const auto u = static_cast<std::size_t>(j);
    const char t = m.colType[u] == 'B' ? 'I' : m.colType[u];
    const bool semi = t == 'S' || t == 'R';
    s << "col " << j << ' ' << t << ' ' << bound(semi ? m.colLimit[u] : m.colLb[u]) << ' '
      << bound(m.colUb[u]) << " obj " << m.objectives.front().coef[u] << '\n';
  }
  for (int i = 0; i < m.rows(); ++i) {
    const auto u = static_cast<std::size_t>(i);
    const double rhs = m.rowRhs[u];
    const char t = m.rowType[u];
    const double lower = t == 'G' || t == 'E' ? rhs
                         : t == 'R'           ? rhs - std::fabs(m.rowRange[u])
                                              : -1e20;
    const double upper = t == 'L' || t == 'E' || t == 'R' ? rhs : 1e20;
    s << "row " << i << ' ' << bound(lower) << ' ' << bound(upper) << '\n';
  }
  std::map<std::tuple<int, int, int>, double> sums;  // (row or -1 for the objective, i, j)
  for (std::size_t k = 0; k < m.elemVal.size(); ++k)
    sums[{m.elemRow[k], m.elemCol[k], -1}] += m.elemVal[k];
  for (const auto& [key, v] : m.objQ) sums[{-1, key.first, key.second}] += v;
  for (std::size_t k = 0; k < m.qVal.size(); ++k) {
    sums[{m.qRow[k], std::min(m.qCol1[k], m.qCol2[k]), std::max(m.qCol1[k], m.qCol2[k])}] +=
        m.qVal[k];
  }
  for (const auto& [key, v] : sums) {
    if (v != 0.0)
      s << "entry " << std::get<0>(key) << ' ' << std::get<1>(key) << ' ' << std::get<2>(key) << ' '
        << v << '\n';
  }
  for (std::size_t i = 0; i < m.indicatorComplement.size(); ++i) {
    if (m.indicatorComplement[i] != 0)
      s << "indicator " << i << ' ' << m.indicatorCol[i] << ' ' << m.indicatorComplement[i] << '\n';
  }
  for (int k = 0; k < m.sets(); ++k) {
    std::map<double, int> members;
    for (auto e = m.setStart[static_cast<std::size_t>(k)];
         e < m.setStart[static_cast<std::size_t>(k) + 1]; ++e) {
      members[m.setRef[static_cast<std::size_t>(e)]] = m.setCol[static_cast<std::size_t>(e)];
    }
    s << "set " << m.setType[static_cast<std::size_t>(k)];
    for (const auto& [ref, col] : members) s << ' ' << col << ':' << ref;
    s << '\n';
  }
  return s.str();
}

void addSet(XPRSprob p, char type, std::vector<int> cols, std::vector<double> refs) {
  const XPRSint64 start[] = {0, static_cast<XPRSint64>(cols.size())};
  ASSERT_EQ(XPRSaddsets64(p, 1, start[1], &type, start, cols.data(), refs.data()), 0);
}

void addIndicator(XPRSprob p, int row, int col, int complement) {
  ASSERT_EQ(XPRSsetindicators(p, 1, &row, &col, &complement), 0);
}

constexpr double kInf = XPRS_PLUSINFINITY;

// A model of each kind the formats hold (built for a sense), with its optimum when minimised and
// when maximised;
// lp tells whether the LP format holds it, host whether qelhost's reader reads it back (else
// the test loader does).
struct RoundTrip {
  const char* kind;
  void (*build)(XPRSprob, int sense);
  double min, max;
  bool lp, host;
};

const RoundTrip kRoundTrips[] = {
    {"linear, every bound form",
     [](XPRSprob p, int) {
       addModel(p,
                {{0, 10, 1}, {-kInf, kInf, 1}, {-kInf, 5, 1}, {2, 2, 1}, {1, kInf, 1}, {-3, -1, 1}},
                {{'L', 3, {{1, 1}, {0, -1}}},
                 {'G', -4, {{1, 1}, {0, 1}}},
                 {'G', -6, {{2, 1}}},
                 {'E', 4, {{4, 1}, {5, 1}}},
                 {'L', 9, {{4, 1}, {3, 1}}}});
     },
     -4, 34, true, true},
    {"mixed integer",
     [](XPRSprob p, int) {
       addModel(p, {{0, 10, 1, 'I'}, {-3, kInf, 1, 'I'}, {0, 1, 1, 'B'}},
                {{'L', 9, {{0, 2}, {1, 2}}},
                 {'G', 1.5, {{0, 1}, {1, 1}}},
                 {'L', 2.5, {{1, 1}}},
                 {'G', -2.5, {{1, 1}}}});
     },
     2, 5, true, true},
    {"convex quadratic objective",
     [](XPRSprob p, int sense) {
       addModel(p, {{-10, 10, -3.0 * sense}, {-10, 10}}, {{'G', 1, {{0, 1}, {1, 1}}}});
       const int c1[] = {0, 0, 1};
       const int c2[] = {0, 1, 1};
       // Maximised, the objective is negated: a concave one.
       const double q[] = {2.0 * sense, 1.0 * sense, 2.0 * sense};
       ASSERT_EQ(XPRSchgmqobj64(p, 3, c1, c2, q), 0);
     },
     -3, 3, false, true},
    {"semi-continuous",
     [](XPRSprob p, int) {
       addModel(p, {{0, 6, 1, 'S', 2}, {0, 4, -1}}, {{'L', 5, {{0, 1}, {1, 1}}}});
     },
     -4, 5, true, true},
    {"semi-integer",
     [](XPRSprob p, int) {
       addModel(p, {{0, 6, 1, 'R', 2.5}, {0, 4, -1}}, {{'L', 5.5, {{0, 1}, {1, 1}}}});
     },
     -4, 5, false, true},
    {"indicators",
     [](XPRSprob p, int) {
       addModel(p, {{0, 5, 1}, {0, 5, 1}, {0, 1, 3, 'B'}},
                {{'L', 8, {{0, 1}, {1, 1}}}, {'L', 2, {{0, 1}, {1, 1}}}, {'L', 1, {{0, 1}}}});
       addIndicator(p, 1, 2, 1);
       addIndicator(p, 2, 2, -1);
     },
     0, 6, false, false},
    {"SOS1",
     [](XPRSprob p, int) {
       addModel(p, {{0, 4, 3}, {0, 4, 2}, {0, 4, 1}},
                {{'L', 10, {{0, 1}, {1, 1}, {2, 1}}}, {'G', 2, {{0, 1}, {1, 1}, {2, 1}}}});
       addSet(p, '1', {0, 1, 2}, {1, 2, 3});
     },
     2, 12, true, true},
    {"SOS2",
     [](XPRSprob p, int) {
       addModel(p, {{0, 4, 3}, {0, 4, 1}, {0, 4, 3}},
                {{'L', 10, {{0, 1}, {1, 1}, {2, 1}}}, {'G', 2, {{0, 1}, {1, 1}, {2, 1}}}});
       addSet(p, '2', {2, 0, 1}, {3, 1, 2});
     },
     2, 16, true, true},
    {"quadratic row",
     [](XPRSprob p, int) {
       addModel(p, {{-5, 5, 1}, {-5, 5, 1}}, {{'L', 4, {}}});
       const int c[] = {0, 1};
       const double q[] = {1, 1};
       ASSERT_EQ(XPRSaddqmatrix64(p, 0, 2, c, c, q), 0);
     },
     -2 * std::sqrt(2.0), 2 * std::sqrt(2.0), false, false},
    {"objective constant",
     [](XPRSprob p, int) {
       addModel(p, {{0, 4, 2}}, {{'L', 3, {{0, 1}}}});
       const int constant = -1;
       const double rhs = 5;
       ASSERT_EQ(XPRSchgobj(p, 1, &constant, &rhs), 0);
     },
     -5, 1, true, true},
    {"columns in no row and no objective",
     [](XPRSprob p, int) {
       addModel(p, {{0, 3, 1}, {1, 7}, {0, kInf, 0, 'I'}, {-kInf, -2}}, {{'L', 2, {{0, 1}}}});
     },
     0, 2, true, true},
    {"ranged row",
     [](XPRSprob p, int) {
       addModel(p, {{0, 8, 1}, {0, 8, 2}}, {{'R', 10, {{0, 1}, {1, 1}}, 8}});
     },
     2, 18, false, true},
};

XPRSprob quietProblem() {
  XPRSprob p = nullptr;
  EXPECT_EQ(XPRScreateprob(&p), 0);
  EXPECT_EQ(XPRSsetintcontrol(p, XPRS_OUTPUTLOG, 0), 0);
  return p;
}

double optimum(XPRSprob p) {
  int solStatus = 0;
  EXPECT_EQ(XPRSoptimize(p, "", nullptr, &solStatus), 0);
  EXPECT_EQ(solStatus, XPRS_SOLSTATUS_OPTIMAL);
  double objective = NAN;
  EXPECT_EQ(XPRSgetdblattrib(p, XPRS_OBJVAL, &objective), 0);
  return objective;
}

// Each kind in each sense and format: written, read back (by qelhost's reader, else by the test
// loader), it is the model held and has the optimum of the model written.
TEST_F(FileTest, WrittenProblemsReadBackAsTheModelHeldWithItsOptimum) {
  for (const RoundTrip& c : kRoundTrips) {
    for (const int sense : {XPRS_OBJ_MINIMIZE, XPRS_OBJ_MAXIMIZE}) {
      for (const bool lp : {false, true}) {
        if (lp && !c.lp) continue;
        SCOPED_TRACE(std::string(c.kind) + (sense > 0 ? ", minimised" : ", maximised") +
                     (lp ? ", LP" : ", MPS"));
        XPRSprob written = quietProblem();
        c.build(written, sense);
        ASSERT_EQ(XPRSchgobjsense(written, sense), 0);
        const double best = sense > 0 ? c.min : c.max;
        EXPECT_NEAR(optimum(written), best, 1e-6);
        const std::string path = (dir_ / (lp ? "model.lp" : "model.mps")).string();
        ASSERT_EQ(XPRSwriteprob(written, path.c_str(), lp ? "l" : ""), 0);
        XPRSprob read = quietProblem();
        if (c.host) {
          loadRecord(read, qelhost::readModel(path));
        } else {
          xprs_test::load(read, xprs_test::readMpsFile(path));
        }
        EXPECT_EQ(heldModel(read), heldModel(written));
        EXPECT_NEAR(optimum(read), best, 1e-6);
        EXPECT_EQ(XPRSdestroyprob(read), 0);
        EXPECT_EQ(XPRSdestroyprob(written), 0);
      }
    }
  }
}

// What a format cannot hold is refused by name, and no file is left behind.
TEST_F(FileTest, WriteProbRefusesWhatTheFormatCannotHoldByName) {
  struct Refusal {
    const char* what;
    void (*build)(XPRSprob);
    const char* flags;
    std::string error;
  };
  const Refusal refusals[] = {
      {"several objectives, MPS",
       [](XPRSprob p) {
         addModel(p, {{0, 4, 1}}, {});
         const int col = 0;
         const double coef = 2;
         ASSERT_EQ(XPRSaddobj(p, 1, &col, &coef, 0, 1), 0);
       },
       "", "the MPS format cannot hold several objectives (the problem has 2)"},
      {"several objectives, LP",
       [](XPRSprob p) {
         addModel(p, {{0, 4, 1}}, {});
         const int col = 0;
         const double coef = 2;
         ASSERT_EQ(XPRSaddobj(p, 1, &col, &coef, 0, 1), 0);
       },
       "l", "the LP format cannot hold several objectives (the problem has 2)"},
      {"formulas",
       [](XPRSprob p) {
         addModel(p, {{0, 4, 1}}, {{'L', 3, {}}});
         using namespace xprs_test;
         ASSERT_EQ(addFormula(p, 0, {col(0), col(0), op(XPRS_OP_MULTIPLY)}), 0);
       },
       "", "the MPS format cannot hold formulas (in row 0)"},
      {"partial integer columns",
       [](XPRSprob p) {
         addModel(p, {{0, 40, 1, 'P', 5}}, {});
       },
       "", "the MPS format cannot hold partial integer columns (column 0)"},
      {"a blank in a name",
       [](XPRSprob p) {
         addModel(p, {{0, 4, 1}}, {});
         ASSERT_EQ(XPRSaddnames(p, XPRS_NAMES_COLUMN, "x y", 0, 0), 0);
       },
       "", "the MPS format cannot hold the name 'x y' (column 0)"},
      {"two columns of one name",
       [](XPRSprob p) {
         addModel(p, {{0, 4, 1}, {0, 4, 1}}, {});
         ASSERT_EQ(XPRSaddnames(p, XPRS_NAMES_COLUMN, "x\0x", 0, 1), 0);
       },
       "", "columns 0 and 1 are both named 'x'"},
      {"the objective named as a row",
       [](XPRSprob p) {
         addModel(p, {{0, 4, 1}}, {{'L', 3, {{0, 1}}}});
         ASSERT_EQ(XPRSaddnames(p, XPRS_NAMES_ROW, "cost", 0, 0), 0);
         ASSERT_EQ(XPRSaddnames(p, XPRS_NAMES_OBJECTIVE, "cost", 0, 0), 0);
       },
       "", "the objective and row 0 are both named 'cost'"},
      {"a keyword as an LP name",
       [](XPRSprob p) {
         addModel(p, {{0, 4, 1}}, {});
         ASSERT_EQ(XPRSaddnames(p, XPRS_NAMES_COLUMN, "Free", 0, 0), 0);
       },
       "l", "the LP format cannot hold the name 'Free' (column 0)"},
      {"an LP name starting with a digit",
       [](XPRSprob p) {
         addModel(p, {{0, 4, 1}}, {{'L', 3, {{0, 1}}}});
         ASSERT_EQ(XPRSaddnames(p, XPRS_NAMES_ROW, "2nd", 0, 0), 0);
       },
       "l", "the LP format cannot hold the name '2nd' (row 0)"},
      {"a quadratic objective in LP",
       [](XPRSprob p) {
         addModel(p, {{0, 4, 1}}, {});
         const int col = 0;
         const double q = 2;
         ASSERT_EQ(XPRSchgmqobj64(p, 1, &col, &col, &q), 0);
       },
       "l", "the LP format cannot hold a quadratic objective"},
      {"indicator rows in LP",
       [](XPRSprob p) {
         addModel(p, {{0, 4, 1}, {0, 1, 0, 'B'}}, {{'L', 3, {{0, 1}}}});
         addIndicator(p, 0, 1, 1);
       },
       "l", "the LP format cannot hold indicator rows (row 0)"},
      {"ranged rows in LP",
       [](XPRSprob p) {
         addModel(p, {{0, 4, 1}}, {{'R', 3, {{0, 1}}, 2}});
       },
       "l", "the LP format cannot hold ranged rows (row 0)"},
      {"semi-integer columns in LP",
       [](XPRSprob p) {
         addModel(p, {{0, 4, 1, 'R', 2}}, {});
       },
       "l", "the LP format cannot hold semi-integer columns (column 0)"},
      {"an unbounded semi-continuous column in LP",
       [](XPRSprob p) {
         addModel(p, {{0, kInf, 1, 'S', 2}}, {});
       },
       "l",
       "the LP format cannot hold a semi-continuous column without a finite upper bound (column "
       "0)"},
  };
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.what);
    XPRSprob p = quietProblem();
    r.build(p);
    const std::string path = (dir_ / "refused").string();
    EXPECT_EQ(XPRSwriteprob(p, path.c_str(), r.flags), 32);
    char error[512] = {};
    ASSERT_EQ(XPRSgetlasterror(p, error), 0);
    EXPECT_EQ(std::string(error), "XPRSwriteprob: " + r.error);
    EXPECT_FALSE(std::filesystem::exists(path + (r.flags[0] == 'l' ? ".lp" : ".mps")));
    EXPECT_EQ(XPRSdestroyprob(p), 0);
  }
}

}  // namespace
