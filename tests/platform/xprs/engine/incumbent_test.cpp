// Incumbents of the MIP engine: every solution it reports through the integer-solution callback
// and the attached pool is feasible for the user's model and carries that model's objective.
// Integer columns without matrix entries send Cbc's feasibility pump into small searches on
// reduced models, whose events carry fewer columns than the user's model.
#include <gtest/gtest.h>
#include <xprs.h>

#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

#include "tests/platform/xprs/pool/pool_fixture.hpp"

namespace {

using PoolTest = xprs_test::PoolTest;

// Integer columns in [0, ub] with objective obj; rows sum_j row[j] x_j <= rhs.
struct IntegerModel {
  std::string name;
  int sense = XPRS_OBJ_MINIMIZE;
  std::vector<double> obj, ub;
  std::vector<std::vector<double>> rows;  // dense coefficients
  std::vector<double> rhs;

  [[nodiscard]] std::size_t cols() const { return obj.size(); }
  [[nodiscard]] double objective(const std::vector<double>& x) const {
    double v = 0.0;
    for (std::size_t j = 0; j < cols(); ++j) v += obj[j] * x[j];
    return v;
  }
  // Empty when x is feasible, else what it violates.
  [[nodiscard]] std::string violation(const std::vector<double>& x) const {
    for (std::size_t j = 0; j < cols(); ++j) {
      if (x[j] < -1e-6 || x[j] > ub[j] + 1e-6 || std::fabs(x[j] - std::round(x[j])) > 1e-6) {
        return "column " + std::to_string(j) + " = " + std::to_string(x[j]);
      }
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
      double activity = 0.0;
      for (std::size_t j = 0; j < cols(); ++j) activity += rows[i][j] * x[j];
      if (activity > rhs[i] + 1e-6) return "row " + std::to_string(i);
    }
    return {};
  }
  // The optimum over every integer point of the box.
  [[nodiscard]] double bruteForceOptimum() const {
    std::vector<double> x(cols(), 0.0);
    double best = sense * 1e30;
    for (;;) {
      if (violation(x).empty() && sense * (objective(x) - best) < 0) best = objective(x);
      std::size_t j = 0;
      while (j < cols() && x[j] == ub[j]) x[j++] = 0.0;
      if (j == cols()) return best;
      ++x[j];
    }
  }
  void load(XPRSprob prob) const {
    const auto m = static_cast<int>(rows.size());
    const std::vector<char> type(rows.size(), 'L');
    const std::vector<double> range(rows.size(), 0.0);
    const std::vector<XPRSint64> rowStart(rows.size() + 1, 0);
    ASSERT_EQ(XPRSaddrows64(prob, m, 0, type.data(), rhs.data(), range.data(), rowStart.data(),
                            nullptr, nullptr),
              0);
    std::vector<XPRSint64> start{0};
    std::vector<int> index;
    std::vector<double> value;
    for (std::size_t j = 0; j < cols(); ++j) {
      for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i][j] != 0.0) index.push_back(static_cast<int>(i)), value.push_back(rows[i][j]);
      }
      start.push_back(static_cast<XPRSint64>(index.size()));
    }
    const auto n = static_cast<int>(cols());
    const std::vector<double> lb(cols(), 0.0);
    ASSERT_EQ(XPRSaddcols64(prob, n, start.back(), obj.data(), start.data(), index.data(),
                            value.data(), lb.data(), ub.data()),
              0);
    std::vector<int> all(cols());
    for (int j = 0; j < n; ++j) all[static_cast<std::size_t>(j)] = j;
    const std::vector<char> integer(cols(), 'I');
    ASSERT_EQ(XPRSchgcoltype(prob, n, all.data(), integer.data()), 0);
    ASSERT_EQ(XPRSchgobjsense(prob, sense), 0);
  }
};

struct Incumbent {
  std::vector<double> x;
  double objective = 0.0;
};

struct Seen {
  const IntegerModel* model = nullptr;
  std::vector<Incumbent> incumbents;
};

void recordIncumbent(XPRSprob cb, void* data) {
  auto& seen = *static_cast<Seen*>(data);
  Incumbent in;
  in.x.assign(seen.model->cols(), std::nan(""));
  XPRSgetsolution(cb, nullptr, in.x.data(), 0, static_cast<int>(seen.model->cols()) - 1);
  XPRSgetdblattrib(cb, XPRS_MIPOBJVAL, &in.objective);
  seen.incumbents.push_back(in);
}

// Column 1 of each model has no matrix entry.
const IntegerModel kModels[] = {
    {"threeColumns", XPRS_OBJ_MINIMIZE, {-12, -7, -8}, {2, 1, 2}, {{4, 0, 4}}, {9}},
    {"emptyColumnWithoutCost",
     XPRS_OBJ_MINIMIZE,
     {-12, 0, -9, -8},
     {2, 1, 1, 2},
     {{4, 0, 9, 4}},
     {9}},
    {"maximisation", XPRS_OBJ_MAXIMIZE, {12, 7, 8}, {2, 1, 2}, {{4, 0, 4}}, {9}},
    {"threeEmptyColumnsTwoRows",
     XPRS_OBJ_MINIMIZE,
     {-1, -2, -12, -12, -7, -9, -8, -8},
     {3, 3, 3, 2, 1, 1, 2, 1},
     {{3, 0, 0, 4, 0, 9, 4, 0}, {2, 0, 0, 0, 0, 0, 0, 5}},
     {9, 3}},
};

TEST_F(PoolTest, EveryReportedIncumbentIsFeasibleForTheUsersModel) {
  for (const IntegerModel& model : kModels) {
    SCOPED_TRACE(model.name);
    XPRSprob prob = nullptr;
    ASSERT_EQ(XPRScreateprob(&prob), 0);
    ASSERT_EQ(XPRSsetintcontrol(prob, XPRS_OUTPUTLOG, 0), 0);
    model.load(prob);
    Seen seen;
    seen.model = &model;
    ASSERT_EQ(XPRSaddcbintsol(prob, recordIncumbent, &seen, 0), 0);
    ASSERT_EQ(XPRS_msp_probattach(pool_, prob), 0);
    int solStatus = -1;
    ASSERT_EQ(XPRSoptimize(prob, "", nullptr, &solStatus), 0);
    EXPECT_EQ(solStatus, XPRS_SOLSTATUS_OPTIMAL);
    double objective = 0.0;
    int mipSols = -1;
    ASSERT_EQ(XPRSgetdblattrib(prob, XPRS_MIPOBJVAL, &objective), 0);
    ASSERT_EQ(XPRSgetintattrib(prob, XPRS_MIPSOLS, &mipSols), 0);
    EXPECT_NEAR(objective, model.bruteForceOptimum(), 1e-6);

    ASSERT_FALSE(seen.incumbents.empty());
    EXPECT_EQ(static_cast<int>(seen.incumbents.size()), mipSols);
    for (std::size_t k = 0; k < seen.incumbents.size(); ++k) {
      SCOPED_TRACE(k);
      const Incumbent& in = seen.incumbents[k];
      EXPECT_EQ(model.violation(in.x), "");
      EXPECT_NEAR(in.objective, model.objective(in.x), 1e-6);
      if (k > 0) {
        EXPECT_LT(model.sense * (in.objective - seen.incumbents[k - 1].objective), 0);
      }
    }
    EXPECT_NEAR(seen.incumbents.back().objective, objective, 1e-6);

    // The pool holds exactly the reported incumbents.
    EXPECT_EQ(poolCount(), mipSols);
    std::vector<int> ids(seen.incumbents.size() + 1);
    int listed = 0;
    ASSERT_EQ(XPRS_msp_getsollist(pool_, nullptr, /*iRankAttrib=*/0, 1, 1,
                                  static_cast<int>(ids.size()), ids.data(), &listed, nullptr),
              0);
    for (int n = 0; n < listed; ++n) {
      std::vector<double> x(model.cols(), std::nan(""));
      ASSERT_EQ(XPRS_msp_getsol(pool_, ids[static_cast<std::size_t>(n)], nullptr, x.data(), 0,
                                static_cast<int>(model.cols()) - 1, nullptr),
                0);
      EXPECT_EQ(model.violation(x), "") << "pool solution " << ids[static_cast<std::size_t>(n)];
    }
    ASSERT_EQ(XPRS_msp_probdetach(pool_, prob), 0);
    ASSERT_EQ(XPRSdestroyprob(prob), 0);
    for (int n = 0; n < listed; ++n) {
      ASSERT_EQ(XPRS_msp_delsol(pool_, ids[static_cast<std::size_t>(n)], nullptr), 0);
    }
  }
}

}  // namespace
