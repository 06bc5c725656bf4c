#include "nuv/attr/view/list_of_container.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "nuv/attr/exception.hpp"
#include "nuv/attr/lib/optional_container.hpp"
#include "nuv/attr/type_code.hpp"
#include "nuv/exception.hpp"
#include "nuv/idx/lib/list.hpp"
#include "nuv/idx/lib/range.hpp"
#include "nuv/idx/list.hpp"
#include "tests/nuv/attr/lib/recording_range_container.hpp"

namespace nuv::attr::view {
namespace {

using testing::BlockCall;
using ::testing::ElementsAre;
using testing::RecordingRangeContainer;
using ::testing::StrEq;
using ::testing::ThrowsMessage;
using testing::WritableRangeContainer;

idx::List explicitList(std::initializer_list<Index> entries) {
  return idx::List(std::make_shared<const idx::lib::List>(entries));
}

idx::List block(Index first, Index size) {
  return idx::List(std::make_shared<const idx::lib::Range>(first, size));
}

// Ten items, item i holding 100 + i.
std::shared_ptr<lib::OptionalContainer<int>> tenItems() {
  auto c = lib::optionalContainer<int>();
  c->itemAdd(10, 0);
  for (Index i = 0; i < 10; ++i) c->set(i, 100 + i, 0);
  return c;
}

TEST(ListOfContainerTest, ReadsThroughTheList) {
  const auto view = listOf(tenItems(), explicitList({4, 9, 2}));
  EXPECT_EQ(view->type(), TypeCode::kInt);
  EXPECT_EQ(view->itemCount(), 3);
  EXPECT_EQ(view->elemCount(), 1);
  EXPECT_EQ(view->get(1, 0), 109);
  EXPECT_EQ(*view->view(2, 0), 102);

  std::vector<int> two(2);
  view->get(explicitList({2, 0}), two, 0);
  EXPECT_THAT(two, ElementsAre(102, 104));
  std::vector<int> three(3);
  view->getAll(three, 0);
  EXPECT_THAT(three, ElementsAre(104, 109, 102));
  EXPECT_THAT(*view->viewAll(0), ElementsAre(104, 109, 102));
  // The wrapped container checks the span against the composed list.
  EXPECT_THAT([&] { view->get(explicitList({0}), two, 0); },
              ThrowsMessage<CheckException>(
                  StrEq("Check Error (4): 'values.size()' (which is 2) must be equal to 1.")));
}

TEST(ListOfContainerTest, WritesThroughTheList) {
  const auto stored = tenItems();
  const auto view = listOf(stored, explicitList({4, 9, 2}));
  view->set(0, 1, 0);
  EXPECT_EQ(stored->get(4, 0), 1);
  view->set(explicitList({2, 1}), std::vector<int>{-2, -9}, 0);
  EXPECT_EQ(stored->get(2, 0), -2);
  EXPECT_EQ(stored->get(9, 0), -9);
  view->setAll(std::vector<int>{7, 8, 9}, 0);
  view->set(explicitList({1}), 0, 0);
  EXPECT_THAT(*stored->viewAll(0), ElementsAre(100, 101, 9, 103, 7, 105, 106, 107, 108, 0));
  view->setAll(5, 0);
  EXPECT_THAT(*view->viewAll(0), ElementsAre(5, 5, 5));
  EXPECT_EQ(stored->get(3, 0), 103);
}

TEST(ListOfContainerTest, RefusesResetAndItemAddAndPassesTheRest) {
  const auto stored = tenItems();
  const auto view = listOf(stored, explicitList({4, 9, 2}));
  EXPECT_TRUE(view->supportsDefault());
  EXPECT_TRUE(view->supportsSet());
  EXPECT_FALSE(view->supportsReset());
  EXPECT_FALSE(view->supportsElemAdd(1));
  EXPECT_TRUE(view->supportsItemAdd(0));
  EXPECT_FALSE(view->supportsItemAdd(1));
  EXPECT_EQ(view->getDefault(), 0);
  EXPECT_EQ(view->supportsValue(-4), std::optional<int>(-4));
  EXPECT_THAT(
      [&] { view->reset(); },
      ThrowsMessage<Exception>(StrEq("Attribute Error (2): Attribute does not support to reset.")));
  EXPECT_THAT([&] { view->itemAdd(1, 0); },
              ThrowsMessage<Exception>(
                  StrEq("Attribute Error (4): Attribute does not support to add items.")));
  EXPECT_EQ(stored->elemCount(), 1);
  EXPECT_EQ(stored->itemCount(), 10);

  EXPECT_EQ(listOf(stored, idx::List())->itemCount(), 0);
}

TEST(ListOfContainerTest, ComposedBlocksStayOneBlockCall) {
  const auto rows = std::make_shared<RecordingRangeContainer>(10);
  const auto view = listOf(rows, block(3, 6));
  std::vector<double> three(3);
  view->get(block(2, 3), three, 1);
  EXPECT_THAT(rows->reads, ElementsAre(BlockCall{5, 3, 1, 3, three.data()}));
  EXPECT_THAT(three, ElementsAre(51.0, 61.0, 71.0));

  rows->reads.clear();
  std::vector<double> six(6);
  view->getAll(six, 0);
  EXPECT_THAT(rows->reads, ElementsAre(BlockCall{3, 6, 0, 6, six.data()}));

  // A list with gaps costs one block call per entry.
  rows->reads.clear();
  const auto gaps = listOf(rows, explicitList({8, 1}));
  std::vector<double> two(2);
  gaps->getAll(two, 0);
  EXPECT_THAT(rows->reads,
              ElementsAre(BlockCall{8, 1, 0, 1, &two[0]}, BlockCall{1, 1, 0, 1, &two[1]}));
  EXPECT_THAT(two, ElementsAre(81.0, 11.0));
  EXPECT_THAT(
      [&] { gaps->set(0, 1.0, 0); },
      ThrowsMessage<Exception>(StrEq("Attribute Error (1): Attribute does not support to set.")));
}

TEST(ListOfContainerTest, ListViewsComposeOverListViews) {
  const auto rows = std::make_shared<WritableRangeContainer>(20);
  // Outer item i is inner item i + 2 is wrapped item i + 7.
  const auto inner = listOf(rows, block(5, 10));
  const auto outer = listOf(inner, block(2, 4));
  EXPECT_EQ(outer->itemCount(), 4);
  EXPECT_EQ(outer->get(0, 0), 71.0);

  rows->reads.clear();
  std::vector<double> two(2);
  outer->get(block(1, 2), two, 0);
  EXPECT_THAT(rows->reads, ElementsAre(BlockCall{8, 2, 0, 2, two.data()}));
  EXPECT_THAT(two, ElementsAre(81.0, 91.0));

  const std::vector<double> four{-1.0, -2.0, -3.0, -4.0};
  outer->setAll(std::span<const double>(four), 3);
  EXPECT_THAT(rows->writes, ElementsAre(BlockCall{7, 4, 3, 4, four.data()}));

  // An explicit list in between: entries map one by one.
  const auto picked = listOf(outer, explicitList({3, 0}));
  rows->reads.clear();
  picked->getAll(two, 0);
  EXPECT_THAT(two, ElementsAre(-4.0, -1.0));
  EXPECT_EQ(rows->reads.size(), 2U);
  picked->set(1, 0.5, 0);
  EXPECT_EQ(rows->stored()[7], 0.5);
}

}  // namespace
}  // namespace nuv::attr::view
