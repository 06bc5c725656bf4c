#include "nuv/attr/item.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "nuv/attr/abstract_item.hpp"
#include "nuv/attr/base_item.hpp"
#include "nuv/attr/exception.hpp"
#include "tests/nuv/attr/test_attributes.hpp"

namespace nuv::attr {
namespace {

using testing::MinimalItem;
using testing::StoredItem;
using ::testing::StrEq;
using ::testing::ThrowsMessage;
using testing::value;

template <class T>
class ItemTest : public ::testing::Test {};

using ValueTypes = ::testing::Types<int, double, std::string>;
TYPED_TEST_SUITE(ItemTest, ValueTypes);

TYPED_TEST(ItemTest, DefaultsOfAnItemThatOverridesNothing) {
  using T = TypeParam;
  MinimalItem<T> item(value<T>(1));
  EXPECT_EQ(item.type(), typeCodeOf<T>);
  EXPECT_FALSE(item.supportsDefault());
  EXPECT_FALSE(item.supportsSet());
  EXPECT_FALSE(item.supportsReset());
  EXPECT_TRUE(item.supportsElemAdd(0));
  EXPECT_FALSE(item.supportsElemAdd(1));
  EXPECT_FALSE(item.supportsElemAdd(-1));
  EXPECT_EQ(item.supportsValue(value<T>(4)), std::optional<T>(value<T>(4)));
  struct Case {
    const char* what;
    std::function<void()> call;
    std::string text;
  };
  const Case cases[] = {
      {"set", [&] { item.set(value<T>(2), 0); },
       "Attribute Error (1): Attribute does not support to set."},
      {"reset", [&] { item.reset(); }, "Attribute Error (2): Attribute does not support to reset."},
      {"getDefault", [&] { static_cast<void>(item.getDefault()); },
       "Attribute Error (0): Attribute default not supported"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_THAT(c.call, ThrowsMessage<Exception>(StrEq(c.text)));
  }
  EXPECT_EQ(item.get(0), value<T>(1));
}

TYPED_TEST(ItemTest, DefaultViewIsAnOwningCopy) {
  using T = TypeParam;
  StoredItem<T> item(value<T>(1), value<T>(0));
  const View<const T> seen = item.view(0);
  item.set(value<T>(2), 0);
  EXPECT_TRUE(seen.owns());
  EXPECT_EQ(*seen, value<T>(1));
  EXPECT_EQ(item.get(0), value<T>(2));
}

TYPED_TEST(ItemTest, EmptyHandleAnswersNeutrally) {
  using T = TypeParam;
  Item<T> empty;
  EXPECT_TRUE(empty.empty());
  EXPECT_EQ(empty.type(), typeCodeOf<T>);
  EXPECT_FALSE(empty.supportsDefault());
  EXPECT_FALSE(empty.supportsSet());
  EXPECT_FALSE(empty.supportsReset());
  EXPECT_TRUE(empty.supportsElemAdd(0));
  EXPECT_FALSE(empty.supportsElemAdd(1));
  EXPECT_EQ(empty.elemCount(), 0);
  EXPECT_EQ(empty.supportsValue(value<T>(2)), std::nullopt);
  EXPECT_EQ(empty.get(0), T{});
  const View<const T> seen = empty.view(0);
  EXPECT_EQ(seen.get(), nullptr);
  EXPECT_FALSE(seen.owns());
  empty.set(value<T>(1), 0);
  empty.reset();
  EXPECT_THAT(
      [&] { static_cast<void>(empty.getDefault()); },
      ThrowsMessage<Exception>(StrEq("Attribute Error (0): Attribute default not supported")));
  EXPECT_TRUE(Item<T>(std::shared_ptr<AbstractItem<T>>()).empty());
}

TYPED_TEST(ItemTest, HandleForwardsToItsObject) {
  using T = TypeParam;
  Item<T> item(std::make_shared<StoredItem<T>>(value<T>(1), value<T>(0)));
  const Item<T> copy = item;
  EXPECT_TRUE(item.supportsDefault());
  EXPECT_TRUE(item.supportsSet());
  EXPECT_TRUE(item.supportsReset());
  EXPECT_TRUE(item.supportsElemAdd(1));
  EXPECT_EQ(item.elemCount(), 1);
  EXPECT_EQ(item.getDefault(), value<T>(0));
  EXPECT_EQ(item.supportsValue(value<T>(0)), std::nullopt);
  EXPECT_EQ(item.supportsValue(value<T>(3)), std::optional<T>(value<T>(3)));
  item.set(value<T>(5), 0);
  EXPECT_EQ(copy.get(0), value<T>(5));
  EXPECT_EQ(*copy.view(0), value<T>(5));
  item.reset();
  EXPECT_EQ(copy.get(0), T{});

  Item<T> refusing(std::make_shared<MinimalItem<T>>(value<T>(1)));
  EXPECT_THAT(
      [&] { refusing.set(value<T>(2), 0); },
      ThrowsMessage<Exception>(StrEq("Attribute Error (1): Attribute does not support to set.")));
}

TYPED_TEST(ItemTest, TypedAccessThroughBaseItem) {
  using T = TypeParam;
  const BaseItem base(std::make_shared<StoredItem<T>>(value<T>(3), value<T>(0)));
  EXPECT_EQ(base.typeCode(), typeCodeOf<T>);
  EXPECT_EQ(base.type(), typeCodeOf<T>);
  const Item<T> typed(base);
  EXPECT_FALSE(typed.empty());
  EXPECT_EQ(typed.get(0), value<T>(3));
  EXPECT_EQ(typed.shared(), base.shared());

  const Item<T> fromEmpty{BaseItem()};
  EXPECT_TRUE(fromEmpty.empty());
}

TEST(ItemHandleTest, WrongTypeThroughBaseItemGivesAnEmptyHandle) {
  const BaseItem base(std::make_shared<StoredItem<double>>(2.5, 0.0));
  const Item<int> asInt(base);
  const Item<std::string> asText(base);
  EXPECT_TRUE(asInt.empty());
  EXPECT_EQ(asInt.get(0), 0);
  EXPECT_EQ(asInt.type(), TypeCode::kInt);
  EXPECT_TRUE(asText.empty());
  EXPECT_EQ(asText.get(0), "");
  EXPECT_DOUBLE_EQ(Item<double>(base).get(0), 2.5);
}

TEST(ItemHandleTest, EmptyBaseItemAnswersNeutrally) {
  BaseItem empty;
  EXPECT_TRUE(empty.empty());
  EXPECT_EQ(empty.type(), TypeCode::kNone);
  EXPECT_EQ(empty.typeCode(), TypeCode::kNone);
  EXPECT_FALSE(empty.supportsDefault());
  EXPECT_FALSE(empty.supportsSet());
  EXPECT_FALSE(empty.supportsReset());
  EXPECT_FALSE(empty.supportsElemAdd(0));
  EXPECT_EQ(empty.elemCount(), 0);
  empty.reset();
}

TEST(ItemHandleTest, BaseItemOverANullPointerCarriesItsCodeButAnswersZero) {
  struct Case {
    const char* what;
    BaseItem item;
    TypeCode code;
  };
  const Case cases[] = {
      {"double", BaseItem(std::shared_ptr<AbstractItem<double>>()), TypeCode::kDouble},
      {"int", BaseItem(std::shared_ptr<AbstractItem<int>>()), TypeCode::kInt},
      {"unsigned 64-bit", BaseItem(std::shared_ptr<AbstractItem<unsigned long>>()),
       TypeCode::kUnsigned64},
      {"bool", BaseItem(std::shared_ptr<AbstractItem<bool>>()), TypeCode::kBool},
      {"string", BaseItem(std::shared_ptr<AbstractItem<std::string>>()), TypeCode::kString},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.item.typeCode(), c.code);
    EXPECT_EQ(c.item.type(), TypeCode::kNone);
    EXPECT_EQ(c.item.elemCount(), 0);
  }
}

TEST(ItemHandleTest, BaseItemForwardsRootOperations) {
  auto stored = std::make_shared<StoredItem<int>>(4, 0);
  BaseItem base(stored);
  EXPECT_TRUE(base.supportsDefault());
  EXPECT_TRUE(base.supportsSet());
  EXPECT_TRUE(base.supportsReset());
  EXPECT_TRUE(base.supportsElemAdd(1));
  EXPECT_FALSE(base.supportsElemAdd(2));
  EXPECT_EQ(base.elemCount(), 1);
  base.reset();
  EXPECT_EQ(stored->get(0), 0);
  const BaseItem refusing(std::make_shared<MinimalItem<int>>(1));
  EXPECT_THAT(
      [&] { BaseItem(refusing).reset(); },
      ThrowsMessage<Exception>(StrEq("Attribute Error (2): Attribute does not support to reset.")));
}

}  // namespace
}  // namespace nuv::attr
