#include "qel/solver/solution_container.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "nuv/exception.hpp"
#include "nuv/idx/lib/list.hpp"
#include "tests/qel/solver/solved_model_fixture.hpp"
#include "xprs_testing.hpp"

namespace qel_test {
namespace {

using ::testing::DoubleNear;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::Pointwise;
using Kind = qel::SolutionContainer::Types;
using Basis = qel::BasisSolutionContainer::Types;

nuv::idx::List listOf(std::vector<nuv::Index> entries) {
  return nuv::idx::List(std::make_shared<const nuv::idx::lib::List>(std::move(entries)));
}

class SolutionContainerTest : public SolvedModelTest {};

TEST_F(SolutionContainerTest, ReadsTheKnownAnswersOfAnLp) {
  solveLp();
  struct Case {
    Kind kind;
    std::vector<double> expected;
  };
  const Case cases[] = {
      {Kind::Primal, {3, 1, 2, 3, 7, 0}},
      {Kind::ReducedCost, {0, 0, 0, 0, -1, 1}},
      {Kind::Slack, {0, 0, 94, 3, 0}},
      {Kind::Dual, {-1.5, 0.5, 0, 1, -1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    const qel::SolutionContainer values(data_, c.kind);
    ASSERT_EQ(values.itemCount(), static_cast<nuv::Index>(c.expected.size()));
    EXPECT_EQ(values.elemCount(), 1);
    std::vector<double> all(c.expected.size());
    values.getAll(all, 0);
    EXPECT_THAT(all, Pointwise(DoubleNear(1e-7), c.expected));
    std::vector<double> picked(2);
    values.get(listOf({4, 0}), picked, 0);
    EXPECT_THAT(picked,
                ElementsAre(DoubleNear(c.expected[4], 1e-7), DoubleNear(c.expected[0], 1e-7)));
  }
  // Host codes: 1 at lower, 2 at upper, 3 basic. Rows: binding 'L', binding 'G', slack row,
  // ranged row at its lower end, ranged row at its upper end.
  const std::pair<Basis, std::vector<int>> statuses[] = {{Basis::Columns, {3, 3, 3, 3, 2, 1}},
                                                         {Basis::Rows, {2, 1, 3, 1, 2}}};
  for (const auto& [kind, expected] : statuses) {
    SCOPED_TRACE(kind);
    const qel::BasisSolutionContainer basis(data_, kind);
    EXPECT_EQ(basis.elemCount(), 1);
    std::vector<int> all(expected.size());
    basis.getAll(all, 0);
    EXPECT_EQ(all, expected);
    for (nuv::Index i = 0; i < basis.itemCount(); ++i) {
      EXPECT_EQ(basis.get(i, 0), expected[static_cast<std::size_t>(i)]) << "item " << i;
    }
  }
}

TEST_F(SolutionContainerTest, ElementCountsFollowWhatXpressHolds) {
  columns({0}, {1});
  objective({1}, 1);
  const qel::SolutionContainer primal(data_, Kind::Primal);
  const qel::SolutionContainer dual(data_, Kind::Dual);  // no rows: the probe fails
  const qel::BasisSolutionContainer basis(data_, Basis::Columns);
  EXPECT_EQ(primal.elemCount() + basis.elemCount(), 0);
  optimize();
  EXPECT_EQ(primal.elemCount(), 1);
  EXPECT_EQ(dual.elemCount(), 0);
  EXPECT_EQ(basis.elemCount(), 1);
  xprs::testing::setIntAttrib(data_->prob->rawProb(), XPRS_OPTIMIZETYPEUSED, 1);
  EXPECT_EQ(basis.elemCount(), 0);
}

TEST_F(SolutionContainerTest, ReadsOfNoEntitiesCallNothing) {
  // Nothing loaded and nothing solved: any call Xpress got would fail.
  xprs::testing::clearCalls();
  std::vector<double> none;
  std::vector<int> noStatus;
  for (const Kind kind : {Kind::Primal, Kind::Slack}) {
    qel::SolutionContainer(data_, kind).getAll(none, 0);
    qel::SolutionContainer(data_, kind).get(listOf({}), none, 0);
  }
  qel::PoolSolutionContainer(data_).getAll(none, 0);
  qel::BasisSolutionContainer(data_, Basis::Rows).getAll(noStatus, 0);
  EXPECT_TRUE(xprs::testing::calls().empty());
}

TEST_F(SolutionContainerTest, PoolSolutionsByElement) {
  // Integers x, y in [0, 3] with x + y <= 3; every objective has one integer optimum.
  columns({1, 1}, {3, 3});
  rows({{1, 1}}, {-3}, {1});
  objective({1, 0}, 1);
  optimize();
  const qel::PoolSolutionContainer level(data_);
  std::vector<double> x(2, -1);
  ASSERT_EQ(data_->solPool->getIntAttrib(XPRS_MSP_SOLUTIONS), 1);
  EXPECT_EQ(level.elemCount(), 1);
  level.getAll(x, /*elem=*/5);  // one solution: the problem's own, whatever the element
  EXPECT_THAT(x, ElementsAre(3, 0));

  const int cols[] = {0, 1};
  for (const std::vector<double>& c : {std::vector<double>{0, 1}, std::vector<double>{-1, -1}}) {
    data_->prob->chgObj(2, cols, c.data());
    optimize();
  }
  ASSERT_EQ(level.elemCount(), 3);
  const std::vector<double> newestFirst[] = {{0, 0}, {0, 3}, {3, 0}};
  for (int k = 0; k < 3; ++k) {
    level.getAll(x, k);
    EXPECT_THAT(x, ElementsAreArray(newestFirst[k])) << "element " << k;
    EXPECT_EQ(level.get(1, k), newestFirst[k][1]);
  }
  for (const int outside : {-1, 3}) {
    x = {-1, -1};
    level.getAll(x, outside);
    EXPECT_THAT(x, ElementsAre(-1, -1)) << "element " << outside;
  }
}

TEST_F(SolutionContainerTest, PoolBeforeStartReadsAsTheProblemValues) {
  auto fresh = std::make_shared<qel::Data>();
  fresh->prob = std::make_shared<qel::XpressProb>();
  const qel::PoolSolutionContainer pool(fresh);
  const qel::SolutionContainer primal(fresh, Kind::Primal);
  EXPECT_EQ(pool.elemCount(), primal.elemCount());
  for (const auto* container :
       {static_cast<const nuv::attr::AbstractContainer<double>*>(&pool),
        static_cast<const nuv::attr::AbstractContainer<double>*>(&primal)}) {
    EXPECT_THAT([&] { static_cast<void>(container->get(0, 0)); },
                testing::ThrowsMessage<nuv::Exception>(
                    testing::StrEq(": Requires model to be started first.")));
  }
}

TEST_F(SolutionContainerTest, AnswersNeutrallyOnceTheRecordIsGone) {
  solveLp();
  const std::weak_ptr<qel::Data> weak = data_;
  std::vector<std::shared_ptr<nuv::attr::AbstractContainer<double>>> values{
      std::make_shared<qel::SolutionContainer>(weak, Kind::Primal),
      std::make_shared<qel::SolutionContainer>(weak, Kind::Dual),
      std::make_shared<qel::PoolSolutionContainer>(weak)};
  const qel::BasisSolutionContainer basis(weak, Basis::Rows);
  data_.reset();
  for (const auto& container : values) {
    std::vector<double> sentinel{7, 7};
    container->get(listOf({0, 1}), sentinel, 0);
    EXPECT_THAT(sentinel, ElementsAre(7, 7));
    EXPECT_EQ(container->itemCount() + container->elemCount(), 0);
    EXPECT_EQ(container->get(0, 0), 0.0);
  }
  std::vector<int> statuses{7, 7};
  basis.getAll(statuses, 0);
  EXPECT_THAT(statuses, ElementsAre(7, 7));
  EXPECT_EQ(basis.itemCount() + basis.elemCount() + basis.get(0, 0), 0);
}

}  // namespace
}  // namespace qel_test
