#include "qel/solver_attribs.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstddef>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "nuv/attr/exception.hpp"
#include "qel/option_key.hpp"

namespace qel {
namespace {

using nuv::attr::AbstractBaseInfo;
using nuv::attr::lib::Info;
using nuv::attr::lib::RangeInfo;

constexpr std::nullopt_t kAbsent = std::nullopt;

std::string nameOf(const AbstractBaseInfo& row) {
  const auto name = row.name();
  return name ? std::string(*name) : std::string();
}

std::string lowerCased(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

RefKind kindOf(const RangeInfo<int>&) { return RefKind::Int; }
RefKind kindOf(const RangeInfo<double>&) { return RefKind::Double; }
RefKind kindOf(const Info<std::string>&) { return RefKind::String; }
RefKind kindOf(const Info<bool>&) { return RefKind::Bit; }

// The value type code each table's rows report: 2 integer, 1 double, 5 string, 4 boolean.
int typeCodeOf(RefKind kind) {
  switch (kind) {
    case RefKind::Int:
      return 2;
    case RefKind::Double:
      return 1;
    case RefKind::String:
      return 5;
    case RefKind::Bit:
      return 4;
  }
  return 0;
}

// The bounds of a range row as its clamping reveals them; a bound at the type's extreme is absent.
template <class T>
T lowestOf() {
  return std::numeric_limits<T>::has_infinity ? -std::numeric_limits<T>::infinity()
                                              : std::numeric_limits<T>::lowest();
}
template <class T>
T highestOf() {
  return std::numeric_limits<T>::has_infinity ? std::numeric_limits<T>::infinity()
                                              : std::numeric_limits<T>::max();
}
template <class T>
std::optional<T> lowerOf(const RangeInfo<T>& row) {
  const T clamped = row.supportsValue(lowestOf<T>()).value();
  if (clamped == lowestOf<T>()) return std::nullopt;
  return clamped;
}
template <class T>
std::optional<T> upperOf(const RangeInfo<T>& row) {
  const T clamped = row.supportsValue(highestOf<T>()).value();
  if (clamped == highestOf<T>()) return std::nullopt;
  return clamped;
}

const RangeInfo<int>& intRow(std::string_view name) {
  for (const auto& row : int_solver_attribs) {
    if (nameOf(row) == name) return row;
  }
  ADD_FAILURE() << "no integer row " << name;
  return int_solver_attribs.front();
}

const RangeInfo<double>& dblRow(std::string_view name) {
  for (const auto& row : dbl_solver_attribs) {
    if (nameOf(row) == name) return row;
  }
  ADD_FAILURE() << "no double row " << name;
  return dbl_solver_attribs.front();
}

TEST(SolverAttribsTest, TablesHoldTheirRowCounts) {
  EXPECT_EQ(int_solver_attribs.size(), 352u);
  EXPECT_EQ(dbl_solver_attribs.size(), 180u);
  EXPECT_EQ(str_solver_attribs.size(), 6u);
  EXPECT_EQ(bool_solver_attribs.size(), 223u);
  std::size_t visited = 0;
  forEachSolverAttrib([&](const AbstractBaseInfo&) { ++visited; });
  EXPECT_EQ(visited, 761u);
  EXPECT_EQ(kSolverAttribCount, 761u);
}

TEST(SolverAttribsTest, KeysAndLowerCasedNamesAreUnique) {
  std::set<int> keys;
  std::set<std::string> names;
  forEachSolverAttrib([&](const AbstractBaseInfo& row) {
    SCOPED_TRACE(nameOf(row));
    ASSERT_TRUE(row.ref().has_value());
    ASSERT_FALSE(nameOf(row).empty());
    keys.insert(*row.ref());
    names.insert(lowerCased(nameOf(row)));
  });
  EXPECT_EQ(keys.size(), 761u);
  EXPECT_EQ(names.size(), 761u);
}

TEST(SolverAttribsTest, EveryRowIsSettableWithOneElementAndNoDocumentation) {
  forEachSolverAttrib([](const auto& row) {
    SCOPED_TRACE(nameOf(row));
    EXPECT_EQ(row.type(), typeCodeOf(kindOf(row)));
    EXPECT_EQ(row.maxElemCount(), 1);
    EXPECT_TRUE(row.supportsSet());
    EXPECT_FALSE(row.doc());
    EXPECT_FALSE(row.propsIsDefault());  // every row has at least a name and a key
    const std::string name = nameOf(row);
    EXPECT_EQ(row.supportsDefault(), name != "basisout" && name != "mpsoutputfile");
  });
}

// What a refId may stand for, and the ids the tables use within each range.
bool isUsedRefId(int id) {
  return (id >= 101 && id <= 113)            // link options
         || (id >= 6017 && id <= 6019)       // tuner strings
         || id == 6203                       // solution pool
         || id == 6601 || id == 6602         // solution enumerator
         || (id >= 7001 && id <= 8510)       // optimizer
         || (id >= 12103 && id <= 12474)     // nonlinear layer
         || (id >= 101002 && id <= 103001);  // Knitro
}

TEST(SolverAttribsTest, KeysFollowTheKeyFormat) {
  int largest = 0;
  forEachSolverAttrib([&](const auto& row) {
    SCOPED_TRACE(nameOf(row));
    const int key = row.ref().value();
    largest = std::max(largest, key);
    EXPECT_GE(key, 0);
    EXPECT_EQ(refKind(key), kindOf(row));
    EXPECT_EQ(key / 1000 % 10, 0) << "thousands digit";
    if (kindOf(row) == RefKind::Bit) {
      EXPECT_GE(refBit(key), 1);
      EXPECT_LE(refBit(key), 21);
    } else {
      EXPECT_EQ(refBit(key), 0);
    }
    EXPECT_TRUE(isUsedRefId(refId(key))) << refId(key);
  });
  EXPECT_EQ(largest, 1030010100);
  EXPECT_EQ(int_solver_attribs[348].ref(), 1030010100);
}

TEST(SolverAttribsTest, NamesShowTheirFamily) {
  forEachSolverAttrib([](const auto& row) {
    const std::string name = nameOf(row);
    SCOPED_TRACE(name);
    const int id = refId(row.ref().value());
    if (kindOf(row) == RefKind::Bit) return;
    const bool link = id >= 101 && id <= 113;
    // Link options are lower-case words; a single-word control name can be lower-case too.
    if (link) {
      EXPECT_EQ(name, lowerCased(name));
    }
    EXPECT_EQ(id >= 101002 && id <= 103001, name.starts_with("knitro_"));
    EXPECT_EQ(id >= 12103 && id <= 12474, name.starts_with("xslp_") && !link);
  });
  EXPECT_EQ(refId(intRow("xslp_multistartpreset").ref().value()), 111);
}

TEST(SolverAttribsTest, KnitroRowsHaveNoBounds) {
  int rows = 0;
  auto check = [&](const auto& row) {
    if (!nameOf(row).starts_with("knitro_")) return;
    SCOPED_TRACE(nameOf(row));
    ++rows;
    EXPECT_EQ(lowerOf(row), std::nullopt);
    EXPECT_EQ(upperOf(row), std::nullopt);
  };
  for (const auto& row : int_solver_attribs) check(row);
  for (const auto& row : dbl_solver_attribs) check(row);
  EXPECT_EQ(rows, 55);
}

TEST(SolverAttribsTest, DoubleBoundsAreAbsentAsOftenAsStated) {
  int noLower = 0;
  int noUpper = 0;
  for (const auto& row : dbl_solver_attribs) {
    noLower += !lowerOf(row).has_value();
    noUpper += !upperOf(row).has_value();
  }
  EXPECT_EQ(noLower, 54);
  EXPECT_EQ(noUpper, 169);
  int intNoLower = 0;
  for (const auto& row : int_solver_attribs) intNoLower += !lowerOf(row).has_value();
  EXPECT_EQ(intNoLower, 73);
}

TEST(SolverAttribsTest, LinkOptionsStandFirstWithTheirValues) {
  struct Case {
    std::string_view name;
    int def;
    std::optional<int> lower;
    std::optional<int> upper;
    int key;
  };
  const Case cases[] = {
      {"advbasis", 1, 0, 2, 1010100},
      {"loadmipsol", 0, 0, 1, 1020100},
      {"rerun", 0, 0, 1, 1030100},
      {"savefile", 0, 0, 1, 1040100},
      {"solnpoolcapacity", 1, 1, kAbsent, 1050100},
      {"solnpoolcullrounds", 999999999, kAbsent, kAbsent, 1060100},
      {"solnpoolpop", 1, 1, 2, 1070100},
      {"solnpoolverbosity", 0, -1, 2, 1080100},
      {"tuner", 0, 0, 1, 1090100},
      {"writeprtsol", 0, 0, 1, 1100100},
      {"xslp_multistartpreset", 0, 0, 4, 1110100},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    const RangeInfo<int>& row = int_solver_attribs[i];
    SCOPED_TRACE(c.name);
    EXPECT_EQ(nameOf(row), c.name);
    EXPECT_EQ(row.getDefault(), c.def);
    EXPECT_EQ(lowerOf(row), c.lower);
    EXPECT_EQ(upperOf(row), c.upper);
    EXPECT_EQ(row.ref(), c.key);
    EXPECT_EQ(row.propIsDefault("lo"), !c.lower.has_value());
    EXPECT_EQ(row.propIsDefault("up"), !c.upper.has_value());
  }
}

TEST(SolverAttribsTest, StringRowsMatchFieldByField) {
  struct Case {
    std::string_view name;
    std::optional<std::string> def;
    int key;
  };
  const Case cases[] = {
      {"basisout", kAbsent, 1120300},
      {"mpsoutputfile", kAbsent, 1130300},
      {"xslp_iterFallbackOps", "", 124740300},
      {"tunerMethodFile", "", 60170300},
      {"tunerOutputPath", "tuneroutput", 60180300},
      {"tunerSessionName", "", 60190300},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    const Info<std::string>& row = str_solver_attribs[i];
    SCOPED_TRACE(c.name);
    EXPECT_EQ(nameOf(row), c.name);
    EXPECT_EQ(row.ref(), c.key);
    EXPECT_EQ(row.supportsDefault(), c.def.has_value());
    if (c.def) {
      EXPECT_EQ(row.getDefault(), *c.def);
    } else {
      EXPECT_THAT([&] { (void)row.getDefault(); },
                  testing::ThrowsMessage<nuv::attr::Exception>(
                      testing::StrEq("Attribute Error (0): Attribute default not supported")));
    }
  }
}

TEST(SolverAttribsTest, EnumeratorAndPoolControlsFollowTheLinkOptions) {
  struct Case {
    std::size_t row;
    std::string_view name;
    int def;
    std::optional<int> lower;
    int key;
  };
  const Case cases[] = {
      {11, "solnpoolCullDiversity", -1, -1, 66020100},
      {12, "solnpoolCullObj", -1, -1, 66010100},
  };
  for (const Case& c : cases) {
    const RangeInfo<int>& row = int_solver_attribs[c.row];
    SCOPED_TRACE(c.name);
    EXPECT_EQ(nameOf(row), c.name);
    EXPECT_EQ(row.getDefault(), c.def);
    EXPECT_EQ(lowerOf(row), c.lower);
    EXPECT_EQ(upperOf(row), std::nullopt);
    EXPECT_EQ(row.ref(), c.key);
  }
  EXPECT_EQ(nameOf(int_solver_attribs[13]), "solnpoolDupPolicy");
  EXPECT_EQ(int_solver_attribs[13].ref(), 62030100);
}

template <class T>
struct TellingRow {
  std::size_t row;
  std::string_view name;
  T def;
  std::optional<T> lower;
  std::optional<T> upper;
  int key;
};

template <class T, std::size_t N>
void expectTellingRows(const auto& table, const TellingRow<T> (&cases)[N]) {
  for (const TellingRow<T>& c : cases) {
    SCOPED_TRACE(c.name);
    const RangeInfo<T>& row = table.at(c.row);
    EXPECT_EQ(nameOf(row), c.name);
    EXPECT_EQ(row.getDefault(), c.def);
    EXPECT_EQ(lowerOf(row), c.lower);
    EXPECT_EQ(upperOf(row), c.upper);
    EXPECT_EQ(row.ref(), c.key);
  }
}

TEST(SolverAttribsTest, TellingIntegerRowsHoldTheirValues) {
  const TellingRow<int> cases[] = {
      {5, "solnpoolcullrounds", 999999999, kAbsent, kAbsent, 1060100},
      {28, "crossoverIterLimit", 2147483647, 0, kAbsent, 81040100},
      {58, "lpIterLimit", 2147483647, 0, kAbsent, 80070100},
      {153, "maxNode", 2147483647, 0, kAbsent, 80180100},
      {99, "threads", -1, kAbsent, kAbsent, 82780100},
      {24, "barRegularize", -1, kAbsent, kAbsent, 81630100},
      {132, "primalOps", -1, kAbsent, kAbsent, 82310100},
      {19, "barIterative", -2, -2, kAbsent, 84920100},
      {88, "cpuPlatform", -2, -2, 3, 83120100},
      {105, "heurDiveSpeedUp", -1, -2, 4, 81970100},
      {173, "sbSelect", -2, -2, kAbsent, 81640100},
      {161, "mipLog", -100, kAbsent, kAbsent, 80280100},
      {276, "preConfiguration", -1, -1, 0, 84700100},
      {61, "maxScaleFactor", 64, 0, 64, 82750100},
      {239, "xslp_convergenceOps", 39935, kAbsent, kAbsent, 123770100},
      {220, "xslp_presolveOps", 2104, kAbsent, kAbsent, 123930100},
      {336, "knitro_mip_maxnodes", 100000, kAbsent, kAbsent, 1020210100},
      {348, "knitro_par_numthreads", 1, kAbsent, kAbsent, 1030010100},
  };
  expectTellingRows(int_solver_attribs, cases);
}

TEST(SolverAttribsTest, TellingDoubleRowsHoldTheirValues) {
  const TellingRow<double> cases[] = {
      {19, "timeLimit", 1e20, 0.0, kAbsent, 71580200},
      {18, "solTimeLimit", 1e20, 0.0, kAbsent, 71590200},
      {20, "workLimit", 1e20, 0.0, kAbsent, 71670200},
      {81, "xslp_deltaMaxCost", 1e20, 0.0, kAbsent, 121100200},
      {86, "xslp_errorMaxCost", 1e20, 0.0, kAbsent, 121140200},
      {111, "xslp_primalIntegralRef", 1e20, kAbsent, kAbsent, 121750200},
      {175, "knitro_objrange", 1e20, kAbsent, kAbsent, 1010260200},
      {68, "xslp_delta_infinity", 1e15, 0.0, kAbsent, 121740200},
      {109, "xslp_objThreshold", 1e15, kAbsent, kAbsent, 122130200},
      {83, "xslp_enforceMaxCost", 1e11, 0.0, kAbsent, 122020200},
      {107, "xslp_infinity", 1e10, 0.0, kAbsent, 121190200},
      {98, "xslp_boundThreshold", 1e10, 0.0, kAbsent, 122140200},
      {159, "maxImpliedBound", 1e8, 0.0, kAbsent, 71200200},
      {15, "globalBoundingBox", 1e6, kAbsent, kAbsent, 71540200},
      {9, "barStepStop", 1e-16, 0.0, kAbsent, 70360200},
      {49, "mipAddCutoff", -1e-5, kAbsent, kAbsent, 70120200},
      {21, "globalSpatialBranchCuttingEffort", -1.0, -1.0, 1.0, 71530200},
      {28, "preRootEffort", -1.0, -2.0, kAbsent, 71730200},
      {12, "cutFactor", -1.0, -1.0, kAbsent, 70910200},
      {80, "xslp_deltaCostFactor", 1.3, 1.0, kAbsent, 121390200},
      {33, "feasTol", 1e-6, 0.0, kAbsent, 70030200},
  };
  expectTellingRows(dbl_solver_attribs, cases);
}

TEST(SolverAttribsTest, NamedDoubleRowsFollowTheirPatterns) {
  const std::string_view unitRange[] = {"heurDiveRandomize",
                                        "mipRestartGapThreshold",
                                        "xslp_enforceCostShrink",
                                        "xslp_clampShrink",
                                        "xslp_shrink",
                                        "xslp_damp",
                                        "xslp_dampExpand",
                                        "xslp_dampMax",
                                        "xslp_dampMin",
                                        "xslp_dampShrink"};
  for (std::string_view name : unitRange) {
    SCOPED_TRACE(name);
    EXPECT_EQ(lowerOf(dblRow(name)), 0.0);
    EXPECT_EQ(upperOf(dblRow(name)), 1.0);
  }
  const std::string_view minusOneUnbounded[] = {
      "heurDiveIterLimit", "dualPerturb", "primalPerturb", "xslp_delta_zero", "xslp_evTol_a",
      "xslp_evTol_r",      "xslp_aTol_a", "xslp_aTol_r",   "xslp_cTol",       "xslp_ecfTol_a",
      "xslp_ecfTol_r",     "xslp_iTol_a", "xslp_iTol_r",   "xslp_mTol_a",     "xslp_mTol_r",
      "xslp_mvTol",        "xslp_oTol_a", "xslp_oTol_r",   "xslp_sTol_a",     "xslp_sTol_r",
      "xslp_vTol_a",       "xslp_vTol_r", "xslp_wTol_a",   "xslp_wTol_r",     "xslp_xTol_a",
      "xslp_xTol_r"};
  for (std::string_view name : minusOneUnbounded) {
    SCOPED_TRACE(name);
    EXPECT_EQ(dblRow(name).getDefault(), -1.0);
    EXPECT_EQ(lowerOf(dblRow(name)), std::nullopt);
    EXPECT_EQ(upperOf(dblRow(name)), std::nullopt);
  }
  struct LowerOne {
    std::string_view name;
    double def;
  };
  const LowerOne lowerOne[] = {{"xslp_deltaCostFactor", 1.3}, {"xslp_errorCostFactor", 1.3},
                               {"xslp_escalation", 1.25},     {"xslp_granularity", 4.0},
                               {"xslp_memoryFactor", 1.6},    {"xslp_expand", 2.0}};
  for (const LowerOne& c : lowerOne) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(dblRow(c.name).getDefault(), c.def);
    EXPECT_EQ(lowerOf(dblRow(c.name)), 1.0);
    EXPECT_EQ(upperOf(dblRow(c.name)), std::nullopt);
  }
}

struct BitmapControl {
  std::string_view name;
  std::size_t intRow;
  int key;
  int def;
  std::size_t firstBitRow;
  std::vector<int> bits;  // in bit-table order
};

const std::vector<BitmapControl>& bitmapControls() {
  static const std::vector<BitmapControl> controls = {
      {"refineOps", 71, 80930100, 19, 0, {1, 2, 4, 5, 6, 7, 8, 9, 10, 11}},
      {"clamping", 49, 83010100, 0, 10, {1, 2, 3, 4}},
      {"multiObjOps", 66, 84570100, 7, 14, {1, 2, 3}},
      {"lpFlags", 127, 83850100, 0, 17, {1, 2, 3, 4}},
      {"cutSelect", 36, 81420100, -1, 21, {6, 7, 8, 9, 12, 13, 14, 15, 16, 17, 18, 19, 21}},
      {"treeCutSelect", 46, 81430100, -1, 34, {6, 7, 8, 9, 12, 13, 14, 15, 16, 17, 18, 19, 21}},
      {"mipPresolve", 267, 80780100, -1, 47, {1, 2, 4, 5, 6, 7, 8, 9}},
      {"treeDiagnostics", 177, 82440100, 7, 55, {1, 2, 3}},
      {"barPresolveOps", 262, 82860100, 0, 58, {1, 2, 3}},
      {"presolveOps",
       291,
       80770100,
       511,
       61,
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 15, 13, 16, 14, 17, 18, 19}},
      {"preSort", 293, 81070100, 0, 80, {1, 2, 3}},
      {"prePermute", 287, 81080100, 0, 83, {1, 2, 3}},
      {"scaling", 302, 80100100, 163, 86, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
      {"barHGOps", 260, 84830100, 24, 102, {1, 2, 3, 4, 5, 6, 7}},
      {"xslp_augmentation", 180, 123020100, 12, 109, {4, 10, 6, 3, 2, 1, 11, 5, 8, 7, 9, 13}},
      {"xslp_zeroCriterion", 182, 123780100, 0, 121, {5, 4, 2, 1, 6, 3}},
      {"xslp_barStartOps", 189, 124110100, -1, 127, {3, 2, 1}},
      {"xslp_analyze", 194, 123320100, 0, 130, {4, 5, 9, 8, 7}},
      {"xslp_mipAlgorithm", 201, 123360100, 17, 135, {9, 8, 4, 3, 1, 6, 7, 5, 11, 10}},
      {"xslp_mipFixStepBounds", 205, 123380100, 0, 145, {4, 3, 2, 1}},
      {"xslp_mipRelaxStepBounds", 209, 123370100, 15, 149, {4, 3, 2, 1}},
      {"xslp_presolveOps", 220, 123930100, 2104, 153, {6, 12, 3, 2, 1, 5, 9, 10, 11, 4, 13, 14}},
      {"xslp_reformulate", 222, 123920100, 511, 165, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
      {"xslp_convergenceOps",
       239,
       123770100,
       39935,
       176,
       {2, 1, 11, 4, 3, 9, 5, 12, 13, 7, 10, 8, 6, 14, 15}},
      {"xslp_algorithm",
       223,
       123010100,
       166,
       191,
       {15, 16, 17, 4, 9, 3, 5, 12, 14, 1, 8, 7, 13, 6, 2, 10}},
      {"xslp_filter", 229, 123870100, 3, 207, {1, 2, 3, 4}},
      {"xslp_cascade", 225, 123040100, 257, 211, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
      {"xslp_gridHeurSelect", 231, 124120100, 6, 220, {1, 2, 3}},
  };
  return controls;
}

TEST(SolverAttribsTest, BitmapControlsOfferTheirBitsInTableOrder) {
  const std::set<std::string_view> withoutLower = {"refineOps",
                                                   "clamping",
                                                   "multiObjOps",
                                                   "lpFlags",
                                                   "cutSelect",
                                                   "treeCutSelect",
                                                   "mipPresolve",
                                                   "presolveOps",
                                                   "scaling",
                                                   "xslp_augmentation",
                                                   "xslp_zeroCriterion",
                                                   "xslp_barStartOps",
                                                   "xslp_analyze",
                                                   "xslp_mipAlgorithm",
                                                   "xslp_mipFixStepBounds",
                                                   "xslp_mipRelaxStepBounds",
                                                   "xslp_presolveOps",
                                                   "xslp_convergenceOps",
                                                   "xslp_algorithm",
                                                   "xslp_filter"};
  std::size_t nextBitRow = 0;
  for (const BitmapControl& c : bitmapControls()) {
    SCOPED_TRACE(c.name);
    const RangeInfo<int>& control = int_solver_attribs.at(c.intRow);
    EXPECT_EQ(nameOf(control), c.name);
    EXPECT_EQ(control.ref(), c.key);
    EXPECT_EQ(control.getDefault(), c.def);
    EXPECT_EQ(upperOf(control), std::nullopt);
    EXPECT_EQ(lowerOf(control), withoutLower.contains(c.name) ? std::nullopt : std::optional(0));
    // The controls' bit rows follow one another without gaps, control after control.
    EXPECT_EQ(c.firstBitRow, nextBitRow);
    for (std::size_t i = 0; i < c.bits.size(); ++i) {
      const Info<bool>& bit = bool_solver_attribs.at(c.firstBitRow + i);
      SCOPED_TRACE(nameOf(bit));
      EXPECT_EQ(bit.ref(), refId(c.key) * 10000 + 400 + c.bits[i]);
      EXPECT_TRUE(nameOf(bit).starts_with(std::string(c.name) + "_"));
    }
    nextBitRow = c.firstBitRow + c.bits.size();
  }
  EXPECT_EQ(nextBitRow, bool_solver_attribs.size());
}

// Checks every bit row against the integer table alone: its control is the one integer row with
// the same refId, its name extends the control's, its default is the control default's bit.
TEST(SolverAttribsTest, BitRowsDeriveFromTheirControls) {
  std::map<int, const RangeInfo<int>*> controlById;
  for (const auto& row : int_solver_attribs) {
    const bool unique = controlById.emplace(refId(row.ref().value()), &row).second;
    EXPECT_TRUE(unique) << nameOf(row);
  }
  int trueRows = 0;
  int falseRows = 0;
  std::set<int> controlsSeen;
  for (const Info<bool>& bit : bool_solver_attribs) {
    SCOPED_TRACE(nameOf(bit));
    const int key = bit.ref().value();
    const auto found = controlById.find(refId(key));
    ASSERT_NE(found, controlById.end());
    const RangeInfo<int>& control = *found->second;
    controlsSeen.insert(refId(key));
    const std::string prefix = nameOf(control) + "_";
    EXPECT_TRUE(nameOf(bit).starts_with(prefix));
    EXPECT_GT(nameOf(bit).size(), prefix.size());
    const int def = control.getDefault();
    const bool expected = def == -1 || ((def >> (refBit(key) - 1)) & 1) != 0;
    EXPECT_EQ(bit.getDefault(), expected);
    (bit.getDefault() ? trueRows : falseRows) += 1;
  }
  EXPECT_EQ(trueRows, 104);
  EXPECT_EQ(falseRows, 119);
  EXPECT_EQ(controlsSeen.size(), 28u);
}

TEST(SolverAttribsTest, BitRowsOfNoteHoldTheirValues) {
  struct Case {
    std::size_t row;
    std::string_view name;
    bool def;
    int key;
  };
  const Case cases[] = {
      {61, "presolveOps_singletonColRemoval", true, 80770401},
      {73, "presolveOps_linDependRowRemoval", false, 80770415},
      {74, "presolveOps_noIntVarEliminations", false, 80770413},
      {219, "xslp_cascade_autoApply", true, 123040409},
      {212, "xslp_cascade_coefVar", false, 123040402},
      {21, "cutSelect_clique", true, 81420406},
      {33, "cutSelect_farkas", true, 81420421},
      {129, "xslp_barStartOps_stallingObjective", true, 124110401},
      {0, "refineOps_lpOptimal", true, 80930401},
      {2, "refineOps_mipNodeLp", false, 80930404},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Info<bool>& row = bool_solver_attribs.at(c.row);
    EXPECT_EQ(nameOf(row), c.name);
    EXPECT_EQ(row.getDefault(), c.def);
    EXPECT_EQ(row.ref(), c.key);
  }
}

TEST(SolverAttribsTest, FindsRowsByNameWithoutRegardToCase) {
  for (std::string_view spelling : {"feasTol", "FEASTOL", "feastol", "FeAsToL"}) {
    SCOPED_TRACE(spelling);
    EXPECT_EQ(findSolverAttrib(spelling), &dbl_solver_attribs[33]);
  }
  EXPECT_EQ(dbl_solver_attribs[33].ref(), 70030200);
  EXPECT_EQ(findSolverAttrib("ADVBASIS"), &int_solver_attribs[0]);
  EXPECT_EQ(findSolverAttrib("tunerOutputPath"), &str_solver_attribs[4]);
  EXPECT_EQ(findSolverAttrib("PRESOLVEOPS_SINGLETONCOLREMOVAL"), &bool_solver_attribs[61]);
  for (std::string_view absent : {"", "feasTo", "feasTol ", "feas_tol", "presolveOps_"}) {
    SCOPED_TRACE(absent);
    EXPECT_EQ(findSolverAttrib(absent), nullptr);
  }
}

TEST(SolverAttribsTest, FindsEveryRowByItsNameAndKey) {
  forEachSolverAttrib([](const AbstractBaseInfo& row) {
    SCOPED_TRACE(nameOf(row));
    EXPECT_EQ(findSolverAttrib(nameOf(row)), &row);
    EXPECT_EQ(findSolverAttrib(lowerCased(nameOf(row))), &row);
    EXPECT_EQ(findSolverAttrib(row.ref().value()), &row);
  });
}

TEST(SolverAttribsTest, KeysOutsideTheTablesFindNothing) {
  for (int key :
       {-1, -70030200, 0, 10000100, 65990100, 69990100, 70030100, 70030201, 80770400, 2147483647}) {
    SCOPED_TRACE(key);
    EXPECT_EQ(findSolverAttrib(key), nullptr);
  }
}

}  // namespace
}  // namespace qel
