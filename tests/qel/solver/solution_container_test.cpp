#include "qel/solver/solution_container.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <memory>
#include <vector>

#include "nuv/exception.hpp"
#include "nuv/idx/lib/list.hpp"
#include "tests/qel/solver/solved_model_fixture.hpp"
#include "xprs_testing.hpp"

namespace qel_test {
namespace {

using ::testing::ElementsAre;
using Kind = qel::SolutionContainer::Types;
using Basis = qel::BasisSolutionContainer::Types;

using SolutionContainerTest = SolvedModelTest;

// The values themselves are checked through the result dictionaries.
TEST_F(SolutionContainerTest, BasisStatusesItemByItemAsInOneRead) {
  solveLp();
  for (const Basis kind : {Basis::Columns, Basis::Rows}) {
    const qel::BasisSolutionContainer basis(data_, kind);
    std::vector<int> all(static_cast<std::size_t>(basis.itemCount())), single;
    basis.getAll(all, 0);
    for (nuv::Index i = 0; i < basis.itemCount(); ++i) single.push_back(basis.get(i, 0));
    EXPECT_EQ(single, all) << kind;
    EXPECT_EQ(basis.elemCount(), 1) << kind;
  }
  xprs::testing::setIntAttrib(data_->prob->rawProb(), XPRS_OPTIMIZETYPEUSED, 1);
  EXPECT_EQ(qel::BasisSolutionContainer(data_, Basis::Rows).elemCount(), 0);
}

TEST_F(SolutionContainerTest, NoValuesBeforeASolveAndNoCallForNoEntities) {
  // Nothing loaded: a read reaching Xpress would fail, and no value is available.
  xprs::testing::clearCalls();
  std::vector<double> none;
  std::vector<int> noStatus;
  qel::SolutionContainer(data_, Kind::Slack).getAll(none, 0);
  qel::SolutionContainer(data_, Kind::Primal)
      .get(nuv::idx::List(std::make_shared<nuv::idx::lib::List>()), none, 0);
  qel::PoolSolutionContainer(data_).getAll(none, 0);
  qel::BasisSolutionContainer(data_, Basis::Rows).getAll(noStatus, 0);
  EXPECT_TRUE(xprs::testing::calls().empty());
  EXPECT_EQ(qel::SolutionContainer(data_, Kind::Dual).elemCount() +
                qel::BasisSolutionContainer(data_, Basis::Columns).elemCount(),
            0);
}

TEST_F(SolutionContainerTest, PoolSolutionsByElement) {
  // Integers x, y in [0, 3] with x + y <= 3: max x, then max y, then min x + y.
  load({1, 1}, {3, 3}, {{1, 1}}, {-3}, {1}, {1, 0}, 1);
  optimize();
  const qel::PoolSolutionContainer level(data_);
  std::vector<double> x(2, -1);
  ASSERT_EQ(level.elemCount(), 1);
  level.getAll(x, /*elem=*/5);  // one solution: the problem's own, whatever the element
  EXPECT_THAT(x, ElementsAre(3, 0));
  const int cols[] = {0, 1};
  for (const std::vector<double>& c : {std::vector<double>{0, 1}, std::vector<double>{-1, -1}}) {
    data_->prob->chgObj(2, cols, c.data());
    optimize();
  }
  ASSERT_EQ(level.elemCount(), 3);
  const std::vector<double> newestFirst[] = {{0, 0}, {0, 3}, {3, 0}, {-1, -1}, {-1, -1}};
  for (const int k : {0, 1, 2, 3, -1}) {
    x = {-1, -1};  // an element outside the pool reads nothing
    level.getAll(x, k);
    EXPECT_EQ(x, newestFirst[k < 0 ? 4 : k]) << "element " << k;
  }
}

TEST_F(SolutionContainerTest, NeutralOnceTheSolverIsGoneAndWithoutAPoolAsTheValues) {
  solveLp();
  const qel::PoolSolutionContainer level(data_);
  const qel::SolutionContainer duals(data_, Kind::Dual);
  const qel::BasisSolutionContainer basis(data_, Basis::Rows);
  TearDown();
  std::vector<double> values{7, 7};
  std::vector<int> statuses{7, 7};
  level.get(nuv::idx::List(std::make_shared<nuv::idx::lib::List>(std::vector<nuv::Index>{0, 1})),
            values, 0);
  basis.getAll(statuses, 0);
  EXPECT_THAT(values, ElementsAre(7, 7));
  EXPECT_THAT(statuses, ElementsAre(7, 7));
  EXPECT_EQ(level.itemCount() + level.elemCount() + level.get(0, 0), 0);
  EXPECT_EQ(duals.itemCount() + duals.elemCount() + duals.get(0, 0), 0);
  EXPECT_EQ(basis.itemCount() + basis.elemCount() + basis.get(0, 0), 0);

  // Before start there is no pool: the pool container answers as the column values do.
  auto fresh = std::make_shared<qel::Data>();
  fresh->prob = std::make_shared<qel::XpressProb>();
  const qel::PoolSolutionContainer unstarted(fresh);
  EXPECT_EQ(unstarted.elemCount(), 0);
  EXPECT_THAT([&] { static_cast<void>(unstarted.get(0, 0)); },
              testing::ThrowsMessage<nuv::Exception>(
                  testing::StrEq(": Requires model to be started first.")));
}

}  // namespace
}  // namespace qel_test
