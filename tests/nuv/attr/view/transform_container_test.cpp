#include "nuv/attr/view/transform_container.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "nuv/attr/container.hpp"
#include "nuv/attr/exception.hpp"
#include "nuv/attr/lib/optional_container.hpp"
#include "nuv/attr/transform/negate.hpp"
#include "nuv/attr/type_code.hpp"
#include "nuv/idx/lib/list.hpp"
#include "nuv/idx/list.hpp"

namespace nuv::attr::view {
namespace {

using ::testing::ElementsAre;
using ::testing::StrEq;
using ::testing::ThrowsMessage;

using NegatedContainer = TransformContainer<Container<double>, transform::Negate>;

// Three items holding 1, -2, 0.
std::shared_ptr<lib::OptionalContainer<double>> stored() {
  auto c = lib::optionalContainer<double>();
  c->itemAdd(3, 0.0);
  c->setAll(std::vector<double>{1.0, -2.0, 0.0}, 0);
  return c;
}

TEST(TransformContainerTest, NegateReadsFlipTheSignIncludingZero) {
  const auto c = stored();
  const auto negated = std::make_shared<NegatedContainer>(Container<double>(c));
  EXPECT_EQ(negated->type(), TypeCode::kDouble);
  EXPECT_EQ(negated->get(0, 0), -1.0);
  const double zero = negated->get(2, 0);
  EXPECT_EQ(zero, 0.0);
  EXPECT_TRUE(std::signbit(zero));
  EXPECT_EQ(*negated->view(1, 0), 2.0);

  std::vector<double> all(3);
  negated->getAll(all, 0);
  EXPECT_THAT(all, ElementsAre(-1.0, 2.0, 0.0));
  EXPECT_TRUE(std::signbit(all[2]));
  EXPECT_THAT(*negated->viewAll(0), ElementsAre(-1.0, 2.0, 0.0));

  std::vector<double> two(2);
  negated->get(idx::List(std::make_shared<const idx::lib::List>(idx::lib::List{2, 1})), two, 0);
  EXPECT_TRUE(std::signbit(two[0]));
  EXPECT_EQ(two[1], 2.0);
  EXPECT_EQ(negated->getDefault(), -0.0);
  EXPECT_TRUE(std::signbit(negated->getDefault()));
}

TEST(TransformContainerTest, NegateWritesStoreNegatedValuesAndLeaveTheCallersSpan) {
  const auto c = stored();
  NegatedContainer negated{Container<double>(c)};
  negated.set(0, 5.0, 0);
  EXPECT_EQ(c->get(0, 0), -5.0);

  const std::vector<double> values{7.0, -8.0};
  negated.set(idx::List(std::make_shared<const idx::lib::List>(idx::lib::List{2, 1})),
              std::span<const double>(values), 0);
  EXPECT_THAT(values, ElementsAre(7.0, -8.0));
  EXPECT_THAT(*c->viewAll(0), ElementsAre(-5.0, 8.0, -7.0));

  const std::vector<double> three{1.0, 2.0, -std::numeric_limits<double>::infinity()};
  negated.setAll(std::span<const double>(three), 0);
  EXPECT_THAT(three, ElementsAre(1.0, 2.0, -std::numeric_limits<double>::infinity()));
  EXPECT_THAT(*c->viewAll(0), ElementsAre(-1.0, -2.0, std::numeric_limits<double>::infinity()));

  negated.setAll(4.0, 0);
  EXPECT_THAT(*c->viewAll(0), ElementsAre(-4.0, -4.0, -4.0));

  negated.itemAdd(2, 3.0);
  EXPECT_EQ(negated.itemCount(), 5);
  EXPECT_THAT(*c->viewAll(0), ElementsAre(-4.0, -4.0, -4.0, -3.0, -3.0));
}

TEST(TransformContainerTest, NegateAcceptsEveryValueWithoutAskingTheWrappedContainer) {
  // An empty handle would accept nothing; the view answers alone.
  const NegatedContainer negated{Container<double>()};
  for (const double v : {0.0, -3.5, std::numeric_limits<double>::infinity()}) {
    SCOPED_TRACE(v);
    EXPECT_EQ(negated.supportsValue(v), std::optional<double>(v));
  }
  const std::optional<double> nan = negated.supportsValue(std::numeric_limits<double>::quiet_NaN());
  ASSERT_TRUE(nan.has_value());
  EXPECT_TRUE(std::isnan(*nan));
}

TEST(TransformContainerTest, PassesQueriesAndFailuresThrough) {
  const auto c = lib::optionalContainer<double>();
  NegatedContainer negated{Container<double>(c)};
  EXPECT_TRUE(negated.supportsDefault());
  EXPECT_TRUE(negated.supportsSet());
  EXPECT_TRUE(negated.supportsReset());
  EXPECT_TRUE(negated.supportsElemAdd(1));
  EXPECT_TRUE(negated.supportsItemAdd(7));
  EXPECT_EQ(negated.itemCount(), 0);
  EXPECT_EQ(negated.elemCount(), 0);
  negated.itemAdd(2, 1.0);
  negated.set(1, 1.0, 0);
  EXPECT_EQ(negated.elemCount(), 1);
  EXPECT_FALSE(negated.supportsElemAdd(1));
  negated.reset();
  EXPECT_EQ(c->elemCount(), 0);
  EXPECT_THROW(static_cast<void>(negated.get(0, 0)), std::bad_optional_access);
  std::vector<double> one(1);
  EXPECT_THAT([&] { negated.getAll(one, 0); },
              ThrowsMessage<CheckException>(
                  StrEq("Check Error (4): 'values.size()' (which is 1) must be equal to 2.")));

  NegatedContainer overNothing{Container<double>()};
  EXPECT_THAT(
      [&] { static_cast<void>(overNothing.getDefault()); },
      ThrowsMessage<Exception>(StrEq("Attribute Error (0): Attribute default not supported")));
}

TEST(TransformContainerTest, KeepsTheWrappedContainerAlive) {
  auto c = stored();
  const std::weak_ptr<lib::OptionalContainer<double>> watch = c;
  auto negated = std::make_shared<NegatedContainer>(Container<double>(std::move(c)));
  EXPECT_FALSE(watch.expired());
  EXPECT_EQ(negated->get(1, 0), 2.0);
  negated.reset();
  EXPECT_TRUE(watch.expired());
}

}  // namespace
}  // namespace nuv::attr::view
