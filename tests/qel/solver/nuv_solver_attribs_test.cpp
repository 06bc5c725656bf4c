#include "qel/solver/nuv_solver_attribs.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "nuv/attr/item.hpp"
#include "nuv/exception.hpp"
#include "tests/qel/started_data_fixture.hpp"
#include "tests/support/mps_loader.hpp"
#include "xprs_testing.hpp"

namespace qel_test {
namespace {

using nuv::attr::Item;
using nuv::attr::TypeCode;
using U64 = unsigned long;
namespace xt = xprs::testing;

using NuvSolverAttribsTest = StartedDataTest;

TEST_F(NuvSolverAttribsTest, ServesTwelveKeysOnTheirControls) {
  const qel::NUVSolverAttribs dict(data_->prob);
  const nuv::idx::List keys = dict.indexKeys();
  std::vector<nuv::Index> listed(static_cast<std::size_t>(keys.size()));
  keys.toVector(listed);
  EXPECT_EQ(listed, (std::vector<nuv::Index>{0, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13}));
  for (const int key : {1, 10, 14, -1}) EXPECT_TRUE(!dict.contains(key) && dict[key].empty());
  for (const auto& [key, control] : {std::pair{3, 8007}, {5, 8018}, {9, 8278}}) {
    Item<U64>(dict[key]).set(41, 0);
    EXPECT_EQ(data_->prob->getIntControl(control), 41) << key;
  }
  for (const auto& [key, control] : {std::pair{7, 7158}, {11, 7020}, {12, 7019}, {13, 7013}}) {
    Item<double>(dict[key]).set(0.375, 0);
    EXPECT_EQ(data_->prob->getDblControl(control), 0.375) << key;
  }
  EXPECT_EQ(dict[0].typeCode(), TypeCode::kString);
  EXPECT_EQ(dict[2].typeCode(), TypeCode::kInt);
  EXPECT_THROW(Item<U64>(dict[3]).set(2147483648UL, 0), nuv::Exception);  // "Cast Error"
}

TEST_F(NuvSolverAttribsTest, ReportsARealSolve) {
  // p0033 without cuts, heuristics or presolve, so that the search needs nodes.
  xprs_test::load(data_->prob->rawProb(), xprs_test::readSample("p0033"));
  for (const int id : {XPRS_OUTPUTLOG, XPRS_CUTSTRATEGY, XPRS_HEUREMPHASIS, XPRS_PRESOLVE}) {
    data_->prob->setIntControl(id, 0);
  }
  const qel::NUVSolverAttribs dict(data_->prob);
  const Item<int> status(dict[2]);
  EXPECT_EQ(status.elemCount(), 0);
  int solveStatus = 0;
  int solStatus = 0;
  ASSERT_EQ(data_->prob->optimize("", &solveStatus, &solStatus), 0);
  EXPECT_EQ(status.elemCount(), 1);
  EXPECT_EQ(status.get(0), qel::SolutionStatus::kOptimal);
  const int nodes = data_->prob->getIntAttrib(1013);
  ASSERT_GT(nodes, 0);
  EXPECT_EQ(Item<U64>(dict[6]).get(0), static_cast<U64>(nodes));
  EXPECT_EQ(Item<U64>(dict[4]).get(0), static_cast<U64>(data_->prob->getIntAttrib(1009)));
  EXPECT_EQ(Item<double>(dict[8]).get(0), data_->prob->getDblAttrib(1122));
  xt::setDblAttrib(data_->prob->rawProb(), 1122, 1e20);
  EXPECT_EQ(Item<double>(dict[8]).get(0), std::numeric_limits<double>::infinity());
  data_->prob->fixMipEntities(1);
  EXPECT_EQ(Item<U64>(dict[6]).get(0), 0UL);
  const int col[] = {0};
  const double four[] = {4};  // above the binary's upper bound: infeasible
  data_->prob->chgBounds(1, col, "L", four);
  ASSERT_EQ(data_->prob->optimize("", &solveStatus, &solStatus), 0);
  EXPECT_EQ(status.elemCount(), 0);
}

TEST_F(NuvSolverAttribsTest, SolutionStatusFollowsXpressStatusAndRunKind) {
  const Item<int> status(qel::NUVSolverAttribs(data_->prob)[2]);
  const int cases[][4] = {
      // status, run kind, element count, value
      {1, 2, 1, 1}, {1, 0, 1, 0}, {2, 2, 1, 6}, {0, 0, 0, 0}, {3, 0, 0, 0}, {4, 2, 0, 0}};
  for (const auto& c : cases) {
    xt::setIntAttrib(data_->prob->rawProb(), 1053, c[0]);
    xt::setIntAttrib(data_->prob->rawProb(), 1268, c[1]);
    EXPECT_EQ(status.elemCount(), c[2]) << c[0] << c[1];
    EXPECT_EQ(status.get(0), c[3]) << c[0] << c[1];
  }
}

TEST_F(NuvSolverAttribsTest, ThreadsHaveNoCountWhileXpressChooses) {
  Item<U64> threads(qel::NUVSolverAttribs(data_->prob)[9]);
  EXPECT_TRUE(threads.elemCount() == 0 && threads.supportsElemAdd(0));
  EXPECT_THROW((void)threads.get(0), nuv::Exception);  // -1 is no unsigned count
  threads.set(4, 0);
  EXPECT_TRUE(threads.elemCount() == 1 && !threads.supportsElemAdd(0));
  EXPECT_EQ(threads.get(0), 4UL);
  threads.reset();
  EXPECT_EQ(data_->prob->getIntControl(8278), -1);
}

TEST_F(NuvSolverAttribsTest, ItemsOutliveTheProblemNeutrally) {
  const qel::NUVSolverAttribs dict(data_->prob);
  Item<std::string> name(dict[0]);
  name.set("alpha", 0);
  EXPECT_EQ(name.get(0), "alpha");
  data_.reset();
  EXPECT_TRUE(name.elemCount() == 1 && name.get(0).empty());
  for (const int key : {2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13}) {
    EXPECT_TRUE(!dict[key].empty() && dict[key].elemCount() == 0) << key;
  }
  EXPECT_EQ(Item<U64>(dict[6]).get(0) + Item<U64>(dict[4]).get(0), 0UL);
}

}  // namespace
}  // namespace qel_test
