#include "nuv/attr/view/transform_item.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>

#include "nuv/attr/exception.hpp"
#include "nuv/attr/item.hpp"
#include "nuv/attr/lib/optional_item.hpp"
#include "nuv/attr/type_code.hpp"
#include "nuv/attr/view/single_item_container.hpp"
#include "nuv/exception.hpp"
#include "tests/nuv/attr/test_attributes.hpp"

namespace nuv::attr::view {
namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Values of magnitude 1e20 or more read as infinities; supportsValue clamps to +-1e20; writes go
// through unchanged (NaN stays NaN everywhere), as the solve driver's result transform does.
struct BigAsInfinity {
  using Outer = double;
  using Inner = double;

  static double in(double value) { return value; }
  static double out(double value) {
    if (value >= 1e20) return kInfinity;
    if (value <= -1e20) return -kInfinity;
    return value;
  }
  static std::optional<double> accept(double value) {
    if (value > 1e20) return 1e20;
    if (value < -1e20) return -1e20;
    return value;
  }
};

// A settable double item without a default.
class DoubleSlot final : public AbstractItem<double> {
 public:
  [[nodiscard]] bool supportsSet() const override { return true; }
  [[nodiscard]] Index elemCount() const override { return 1; }
  [[nodiscard]] double get(Index /*elem*/) const override { return value; }
  void set(const double& v, Index /*elem*/) override { value = v; }
  double value = 0.0;
};

TEST(TransformItemTest, CastViewWritesAndReadsWithinRange) {
  const auto stored = lib::optionalItem<int>();
  const auto cast = numCast<unsigned long>(stored);
  EXPECT_EQ(cast->type(), TypeCode::kUnsigned64);
  EXPECT_TRUE(cast->supportsSet());
  EXPECT_TRUE(cast->supportsReset());
  EXPECT_FALSE(cast->supportsDefault());
  EXPECT_TRUE(cast->supportsElemAdd(1));
  EXPECT_EQ(cast->elemCount(), 0);

  cast->set(2147483647UL, 0);
  EXPECT_EQ(stored->get(0), 2147483647);
  EXPECT_EQ(cast->get(0), 2147483647UL);
  EXPECT_EQ(*cast->view(0), 2147483647UL);
  EXPECT_EQ(cast->elemCount(), 1);
  cast->reset();
  EXPECT_EQ(stored->elemCount(), 0);
}

TEST(TransformItemTest, CastViewRaisesCastErrorsWithExactTexts) {
  const auto stored = lib::optionalItem<int>();
  stored->set(12, 0);
  const auto cast = numCast<unsigned long>(stored);
  EXPECT_THAT([&] { cast->set(2147483648UL, 0); },
              ThrowsMessage<nuv::Exception>(
                  StrEq("Cast Error: Cannot cast 2147483648 from 'long unsigned int' to 'int'.")));
  EXPECT_EQ(stored->get(0), 12);
  // Accepted all the same: only set refuses it.
  EXPECT_EQ(cast->supportsValue(2147483648UL), std::optional<unsigned long>(2147483648UL));

  stored->set(-1, 0);
  EXPECT_THAT([&] { static_cast<void>(cast->get(0)); },
              ThrowsMessage<nuv::Exception>(
                  StrEq("Cast Error: Cannot cast -1 from 'int' to 'long unsigned int'.")));

  // The item's default is -3.
  const auto withDefault =
      numCast<unsigned long>(std::make_shared<testing::StoredItem<int>>(4, -3));
  EXPECT_TRUE(withDefault->supportsDefault());
  EXPECT_EQ(withDefault->get(0), 4UL);
  EXPECT_THAT([&] { static_cast<void>(withDefault->getDefault()); },
              ThrowsMessage<nuv::Exception>(
                  StrEq("Cast Error: Cannot cast -3 from 'int' to 'long unsigned int'.")));
}

TEST(TransformItemTest, SuppliedTransformMapsReadsAndAcceptanceButNotWrites) {
  const auto slot = std::make_shared<DoubleSlot>();
  const auto shown = transform(Item<double>(slot), BigAsInfinity{});
  EXPECT_EQ(shown->type(), TypeCode::kDouble);
  struct Case {
    double stored;
    double read;
  };
  const Case cases[] = {
      {1e20, kInfinity}, {3e25, kInfinity}, {-1e20, -kInfinity}, {9.99e19, 9.99e19}, {-5.0, -5.0}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.stored);
    slot->value = k.stored;
    EXPECT_EQ(shown->get(0), k.read);
  }
  slot->value = std::numeric_limits<double>::quiet_NaN();
  EXPECT_TRUE(std::isnan(shown->get(0)));

  EXPECT_EQ(shown->supportsValue(1e30), std::optional<double>(1e20));
  EXPECT_EQ(shown->supportsValue(-kInfinity), std::optional<double>(-1e20));
  EXPECT_EQ(shown->supportsValue(2.5), std::optional<double>(2.5));
  shown->set(1e30, 0);
  EXPECT_EQ(slot->value, 1e30);
  EXPECT_EQ(shown->get(0), kInfinity);
  EXPECT_THAT(
      [&] { static_cast<void>(shown->getDefault()); },
      ThrowsMessage<Exception>(StrEq("Attribute Error (0): Attribute default not supported")));
}

TEST(TransformItemTest, SuppliedTransformShownAsOneItemContainer) {
  const auto slot = std::make_shared<DoubleSlot>();
  slot->value = 2e20;
  const auto objective = singleItem(transform(Item<double>(slot), BigAsInfinity{}));
  EXPECT_EQ(objective->itemCount(), 1);
  EXPECT_EQ(objective->get(0, 0), kInfinity);
  EXPECT_EQ(objective->supportsValue(1e30), std::optional<double>(1e20));
}

TEST(TransformItemTest, KeepsTheWrappedItemAlive) {
  auto stored = lib::optionalItem<int>();
  stored->set(3, 0);
  const std::weak_ptr<lib::OptionalItem<int>> watch = stored;
  auto cast = numCast<unsigned long>(std::move(stored));
  EXPECT_EQ(cast->get(0), 3UL);
  EXPECT_FALSE(watch.expired());
  cast.reset();
  EXPECT_TRUE(watch.expired());
}

}  // namespace
}  // namespace nuv::attr::view
