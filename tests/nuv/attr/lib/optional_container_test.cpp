#include "nuv/attr/lib/optional_container.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "nuv/attr/exception.hpp"
#include "nuv/attr/type_code.hpp"
#include "nuv/exception.hpp"
#include "nuv/idx/lib/list.hpp"
#include "nuv/idx/list.hpp"

namespace nuv::attr::lib {
namespace {

using ::testing::ElementsAre;
using ::testing::StrEq;
using ::testing::ThrowsMessage;

constexpr Index kMaxIndex = std::numeric_limits<Index>::max();

idx::List listOf(std::initializer_list<Index> entries) {
  return idx::List(std::make_shared<const idx::lib::List>(entries));
}

template <class T>
std::vector<T> all(const OptionalContainer<T>& c) {
  return *c.viewAll(0);
}

TEST(OptionalContainerTest, GrowthSetAndResetSequence) {
  const auto c = optionalContainer<double>();
  EXPECT_EQ(c->type(), TypeCode::kDouble);
  EXPECT_EQ(c->itemCount(), 0);
  EXPECT_EQ(c->elemCount(), 0);
  EXPECT_TRUE(c->supportsDefault());
  EXPECT_EQ(c->getDefault(), 0.0);

  c->itemAdd(3, 7.0);
  EXPECT_EQ(c->itemCount(), 3);
  EXPECT_EQ(c->elemCount(), 0);

  c->set(1, 2.5, 0);
  EXPECT_EQ(c->elemCount(), 1);
  EXPECT_THAT(all(*c), ElementsAre(0.0, 2.5, 0.0));

  c->itemAdd(2, 9.0);
  EXPECT_THAT(all(*c), ElementsAre(0.0, 2.5, 0.0, 9.0, 9.0));
  c->itemAdd(-4, 1.0);
  EXPECT_EQ(c->itemCount(), 5);
  EXPECT_THAT(all(*c), ElementsAre(0.0, 2.5, 0.0, 9.0, 9.0));

  c->reset();
  EXPECT_EQ(c->itemCount(), 5);
  EXPECT_EQ(c->elemCount(), 0);
  EXPECT_THROW(static_cast<void>(c->get(0, 0)), std::bad_optional_access);
  c->set(4, 1.0, 0);
  EXPECT_THAT(all(*c), ElementsAre(0.0, 0.0, 0.0, 0.0, 1.0));
}

TEST(OptionalContainerTest, ClearDropsValuesAndItemsOfTheSameObject) {
  const auto c = optionalContainer<int>();
  c->itemAdd(3, 0);
  c->set(2, 8, 0);
  const AbstractContainer<int>& held = *c;
  c->clear();
  EXPECT_EQ(held.itemCount(), 0);
  EXPECT_EQ(held.elemCount(), 0);
  EXPECT_THAT([&] { static_cast<void>(c->get(2, 0)); },
              ThrowsMessage<CheckException>(StrEq(
                  "Check Error (5): 'item' (which is 2) must be less than 'itemCount()' (which "
                  "is 0).")));
  // Grown again, the old values do not come back.
  c->itemAdd(2, 5);
  EXPECT_EQ(c->elemCount(), 0);
  c->set(0, 1, 0);
  EXPECT_THAT(all(*c), ElementsAre(1, 0));
}

TEST(OptionalContainerTest, ReadsWithoutValuesRaiseBadOptionalAccess) {
  const auto c = optionalContainer<int>();
  // Even with no items there is no value vector to view.
  EXPECT_THROW(static_cast<void>(c->viewAll(0)), std::bad_optional_access);
  c->itemAdd(2, 4);
  std::vector<int> two(2, -1);
  struct Case {
    const char* what;
    std::function<void()> read;
  };
  const Case cases[] = {
      {"get", [&] { static_cast<void>(c->get(1, 0)); }},
      {"view", [&] { static_cast<void>(c->view(1, 0)); }},
      {"viewAll", [&] { static_cast<void>(c->viewAll(0)); }},
      {"getAll", [&] { c->getAll(two, 0); }},
      {"get list",
       [&] {
         c->get(listOf({1, 0}), two, 0);
       }},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    EXPECT_THROW(k.read(), std::bad_optional_access);
  }
  // The span check of the list read comes first.
  std::vector<int> three(3);
  EXPECT_THAT([&] { c->getAll(three, 0); },
              ThrowsMessage<CheckException>(
                  StrEq("Check Error (4): 'values.size()' (which is 3) must be equal to 2.")));
  EXPECT_THAT(two, ElementsAre(-1, -1));
}

TEST(OptionalContainerTest, RefusesItemsOutsideItsCountBeforeTouchingAnything) {
  const auto c = optionalContainer<int>();
  c->itemAdd(3, 0);
  struct Case {
    const char* what;
    std::function<void()> call;
    std::string text;
  };
  const Case cases[] = {
      {"set past the end while no values exist", [&] { c->set(3, 1, 0); },
       "Check Error (5): 'item' (which is 3) must be less than 'itemCount()' (which is 3)."},
      {"negative set", [&] { c->set(-1, 1, 0); },
       "Check Error (8): 'item' (which is -1) must be greater or equal to 0."},
      {"get past the end", [&] { static_cast<void>(c->get(7, 0)); },
       "Check Error (5): 'item' (which is 7) must be less than 'itemCount()' (which is 3)."},
      {"view past the end", [&] { static_cast<void>(c->view(3, 0)); },
       "Check Error (5): 'item' (which is 3) must be less than 'itemCount()' (which is 3)."},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    EXPECT_THAT(k.call, ThrowsMessage<CheckException>(StrEq(k.text)));
  }
  // A refused first write creates no values.
  EXPECT_EQ(c->elemCount(), 0);

  c->set(2, 8, 0);
  EXPECT_THAT(
      [&] { c->set(3, 1, 0); },
      ThrowsMessage<CheckException>(StrEq(
          "Check Error (5): 'item' (which is 3) must be less than 'itemCount()' (which is 3).")));
  EXPECT_THAT(
      [&] {
        c->set(listOf({0, 5}), std::vector<int>{1, 2}, 0);
      },
      ThrowsMessage<CheckException>(
          StrEq("Check Error (5): 'item' (which is 5) must be less than 'itemCount()' (which is "
                "3).")));
  // Bulk writes are not transactional: the entry before the refused one stays written.
  EXPECT_THAT(all(*c), ElementsAre(1, 0, 8));
}

TEST(OptionalContainerTest, ElementLimitAllowsOneElementOnlyWhileNoValuesExist) {
  const auto c = optionalContainer<int>();
  c->itemAdd(1, 0);
  EXPECT_TRUE(c->supportsElemAdd(0));
  EXPECT_TRUE(c->supportsElemAdd(1));
  EXPECT_FALSE(c->supportsElemAdd(2));
  EXPECT_FALSE(c->supportsElemAdd(-1));
  c->set(0, 3, 0);
  EXPECT_TRUE(c->supportsElemAdd(0));
  EXPECT_FALSE(c->supportsElemAdd(1));
}

TEST(OptionalContainerTest, ItemAddStaysWithinTheLargestIndex) {
  const auto c = optionalContainer<double>();
  // No values exist, so the count grows without allocating anything.
  c->itemAdd(kMaxIndex - 7, 0.0);
  EXPECT_EQ(c->itemCount(), kMaxIndex - 7);
  EXPECT_TRUE(c->supportsItemAdd(7));
  EXPECT_FALSE(c->supportsItemAdd(8));
  EXPECT_TRUE(c->supportsItemAdd(-5));
  EXPECT_FALSE(c->supportsItemAdd(kMaxIndex));

  EXPECT_THAT([&] { c->itemAdd(8, 0.0); },
              ThrowsMessage<Exception>(
                  StrEq("Attribute Error (4): Attribute does not support to add items.")));
  EXPECT_EQ(c->itemCount(), kMaxIndex - 7);
  c->itemAdd(7, 0.0);
  EXPECT_EQ(c->itemCount(), kMaxIndex);
  EXPECT_TRUE(c->supportsItemAdd(0));
  EXPECT_FALSE(c->supportsItemAdd(1));
}

TEST(OptionalContainerTest, ViewsBorrowTheStoredValues) {
  const auto c = optionalContainer<int>();
  c->itemAdd(2, 0);
  c->setAll(std::vector<int>{4, 6}, 0);
  const View<const int> one = c->view(1, 0);
  const View<const std::vector<int>> both = c->viewAll(0);
  EXPECT_FALSE(one.owns());
  EXPECT_FALSE(both.owns());
  c->set(1, 9, 0);
  EXPECT_EQ(*one, 9);
  EXPECT_THAT(*both, ElementsAre(4, 9));
}

TEST(OptionalContainerTest, GeneralFormsWorkOverTheStoredValues) {
  const auto c = optionalContainer<int>();
  c->itemAdd(4, 0);
  c->set(listOf({3, 1}), 5, 0);
  EXPECT_THAT(all(*c), ElementsAre(0, 5, 0, 5));
  std::vector<int> read(2);
  c->get(listOf({1, 2}), read, 0);
  EXPECT_THAT(read, ElementsAre(5, 0));
  c->setAll(2, 0);
  EXPECT_THAT(all(*c), ElementsAre(2, 2, 2, 2));
  EXPECT_EQ(c->supportsValue(-17), std::optional<int>(-17));
}

}  // namespace
}  // namespace nuv::attr::lib
