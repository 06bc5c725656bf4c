#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "nuv/attr/container.hpp"
#include "nuv/attr/type_code.hpp"
#include "nuv/opt/keys.hpp"
#include "qel/solver/lin_constr_domain.hpp"
#include "qel/solver/var_domain.hpp"
#include "tests/qel/solver/solved_model_fixture.hpp"

namespace qel_test {
namespace {

using nuv::attr::TypeCode;
using ::testing::DoubleNear;
using ::testing::ElementsAre;
using ::testing::Pointwise;

std::vector<double> doubles(const nuv::attr::BaseContainer& base) {
  const nuv::attr::Container<double> container(base);
  std::vector<double> values(static_cast<std::size_t>(container.itemCount()));
  container.getAll(values, 0);
  return values;
}

std::vector<int> ints(const nuv::attr::BaseContainer& base) {
  const nuv::attr::Container<int> container(base);
  std::vector<int> values(static_cast<std::size_t>(container.itemCount()));
  container.getAll(values, 0);
  return values;
}

std::vector<nuv::Index> keysOf(const nuv::attr::AbstractContainerDict& dict) {
  const nuv::idx::List keys = dict.indexKeys();
  std::vector<nuv::Index> out;
  for (nuv::Index k = 0; k < keys.size(); ++k) out.push_back(keys[k]);
  return out;
}

auto near(std::vector<double> expected) { return Pointwise(DoubleNear(1e-7), expected); }

class DomainDictTest : public SolvedModelTest {};

TEST_F(DomainDictTest, VariableAndRowKeysAfterAnLp) {
  solveLp();
  const qel::VarDomain vars(data_);
  const qel::LinConstrDomain rows(data_);
  EXPECT_THAT(keysOf(vars), ElementsAre(5, 6, 7, 8, 9));
  EXPECT_THAT(keysOf(rows), ElementsAre(3, 4, 5, 6, 7));
  for (const nuv::Index key : {-1, 4, 10}) EXPECT_EQ(vars[key].type(), TypeCode::kNone) << key;
  for (const nuv::Index key : {2, 8}) EXPECT_EQ(rows[key].type(), TypeCode::kNone) << key;
  // The starting basis and the marks are the record's own containers.
  EXPECT_EQ(vars[5].shared(), data_->varBasis);
  EXPECT_EQ(vars[6].shared(), data_->varInfeasible);
  EXPECT_EQ(rows[3].shared(), data_->linConstrBasis);
  EXPECT_EQ(rows[4].shared(), data_->constrInfeasible);
  EXPECT_THAT(doubles(vars[7]), near({3, 1, 2, 3, 7, 0}));
  EXPECT_THAT(doubles(vars[8]), near({0, 0, 0, 0, -1, 1}));
  EXPECT_THAT(ints(vars[9]), ElementsAre(3, 3, 3, 3, 2, 1));
  EXPECT_THAT(doubles(rows[5]), near({0, 0, 94, 3, 0}));
  EXPECT_THAT(doubles(rows[6]), near({-1.5, 0.5, 0, 1, -1}));
  EXPECT_THAT(ints(rows[7]), ElementsAre(2, 1, 3, 1, 2));

  data_.reset();
  EXPECT_EQ(vars.size() + rows.size(), 10);
  for (const nuv::Index key : {5, 7, 9}) EXPECT_TRUE(vars[key].empty()) << key;
  for (const nuv::Index key : {3, 5, 7}) EXPECT_TRUE(rows[key].empty()) << key;
}

TEST_F(DomainDictTest, RowItemsAreTheLinearRowsOnceOtherRowsExist) {
  // max x, x in [0, 10]: rows 0, 1 and 3 linear (x <= 4, 6, 9), row 2 of another kind (x <= 8).
  columns({0}, {10});
  rows({{1}, {1}}, {-4, -6}, {1, 1});
  const int col = 0;
  const double one = 1;
  const XPRSint64 start = 0;
  const double rhs = 8;
  data_->addQuadCon(1);
  data_->prob->addRows(1, 1, "L", &rhs, nullptr, &start, &col, &one);
  rows({{1}}, {-9}, {1});
  objective({1}, 1);
  optimize();
  const qel::LinConstrDomain linear(data_);
  EXPECT_THAT(doubles(linear[5]), near({0, 2, 5}));
  EXPECT_THAT(ints(linear[7]), ElementsAre(2, 3, 3));
  EXPECT_EQ(linear[3].itemCount(), 3);
}

}  // namespace
}  // namespace qel_test
