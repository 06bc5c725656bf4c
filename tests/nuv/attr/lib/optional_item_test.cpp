#include "nuv/attr/lib/optional_item.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "nuv/attr/exception.hpp"
#include "nuv/attr/type_code.hpp"

namespace nuv::attr::lib {
namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;

TEST(OptionalItemTest, LifeCycleOfAnIntItem) {
  const auto item = optionalItem<int>();
  EXPECT_EQ(item->type(), TypeCode::kInt);
  EXPECT_EQ(item->elemCount(), 0);
  EXPECT_TRUE(item->supportsElemAdd(1));
  EXPECT_THROW(static_cast<void>(item->get(0)), std::bad_optional_access);
  EXPECT_THROW(static_cast<void>(item->view(0)), std::bad_optional_access);

  item->set(5, 3);
  EXPECT_EQ(item->elemCount(), 1);
  EXPECT_EQ(item->get(0), 5);
  EXPECT_EQ(item->get(7), 5);
  EXPECT_FALSE(item->supportsElemAdd(1));
  EXPECT_TRUE(item->supportsElemAdd(0));
  EXPECT_FALSE(item->supportsElemAdd(2));

  item->reset();
  EXPECT_EQ(item->elemCount(), 0);
  EXPECT_TRUE(item->supportsElemAdd(1));
  EXPECT_THROW(static_cast<void>(item->get(0)), std::bad_optional_access);
  item->reset();
  EXPECT_EQ(item->elemCount(), 0);
}

TEST(OptionalItemTest, ElementLimitCountsOnlyNothingOrOneValue) {
  const auto item = optionalItem<int>();
  for (const Index n : {-1, 2, 100}) {
    SCOPED_TRACE(n);
    EXPECT_FALSE(item->supportsElemAdd(n));
  }
}

TEST(OptionalItemTest, AnswersSettableResettableWithoutDefault) {
  const auto item = optionalItem<std::string>();
  EXPECT_EQ(item->type(), TypeCode::kString);
  EXPECT_TRUE(item->supportsSet());
  EXPECT_TRUE(item->supportsReset());
  EXPECT_FALSE(item->supportsDefault());
  EXPECT_EQ(item->supportsValue("any text"), std::optional<std::string>("any text"));
  EXPECT_THAT(
      [&] { static_cast<void>(item->getDefault()); },
      ThrowsMessage<Exception>(StrEq("Attribute Error (0): Attribute default not supported")));
}

TEST(OptionalItemTest, StringItemSetReplaceAndResetThroughBorrowedView) {
  const auto item = optionalItem<std::string>();
  item->set("first", 0);
  {
    const View<const std::string> seen = item->view(0);
    EXPECT_FALSE(seen.owns());
    EXPECT_EQ(*seen, "first");
    item->set("second", 0);
    // The view borrows the held value, so it shows the replacement.
    EXPECT_EQ(*seen, "second");
  }
  EXPECT_EQ(item->get(0), "second");
  item->reset();
  EXPECT_THROW(static_cast<void>(item->view(0)), std::bad_optional_access);
  item->set("", 0);
  EXPECT_EQ(item->elemCount(), 1);
  EXPECT_EQ(item->get(0), "");
}

}  // namespace
}  // namespace nuv::attr::lib
