#include "nuv/idx/view/list_of_list.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "nuv/idx/lib/asc_list.hpp"
#include "nuv/idx/lib/list.hpp"
#include "nuv/idx/lib/range.hpp"

namespace nuv::idx::view {
namespace {

using testing::ElementsAre;

List range(Index first, Index size) { return List(std::make_shared<lib::Range>(first, size)); }
List explicitList(std::initializer_list<Index> entries) {
  return List(std::make_shared<lib::List>(entries));
}

std::vector<Index> entries(const AbstractList& list) {
  std::vector<Index> out(static_cast<std::size_t>(list.size()));
  list.toVector(out);
  return out;
}

TEST(ListOfListTest, BlockThroughExplicitPositions) {
  const auto list = listOf(range(10, 5), explicitList({3, 0}));
  EXPECT_EQ(list->size(), 2);
  EXPECT_EQ(list->type(), ListType::kExplicit);
  EXPECT_THAT(entries(*list), ElementsAre(13, 10));
  EXPECT_TRUE(list->contains(10));
  EXPECT_FALSE(list->contains(3));
}

TEST(ListOfListTest, BlockThroughBlockStaysABlock) {
  const auto list = listOf(range(10, 5), range(1, 2));
  EXPECT_EQ(list->type(), ListType::kBlock);
  EXPECT_THAT(entries(*list), ElementsAre(11, 12));
  EXPECT_TRUE(list->contains(11));
  EXPECT_FALSE(list->contains(1));
  EXPECT_EQ(list->first(), 11);
  EXPECT_EQ(list->last(), 12);
}

TEST(ListOfListTest, ExplicitFirstListScansForMinimum) {
  const auto list = listOf(explicitList({7, 2, 5}), range(0, 3));
  EXPECT_EQ(list->type(), ListType::kExplicit);
  EXPECT_EQ(list->min(), 2);
  EXPECT_EQ(list->max(), 7);
}

TEST(ListOfListTest, AscendingRowsThroughABlockOfPositions) {
  auto rows = std::make_shared<lib::AscList>();
  rows->add(lib::Range(0, 2));
  rows->add(lib::Range(5, 3));  // rows 0, 1, 5, 6, 7
  const auto list = listOf(List(rows), range(1, 3));
  EXPECT_EQ(list->type(), ListType::kAscending);
  EXPECT_THAT(entries(*list), ElementsAre(1, 5, 6));
  EXPECT_TRUE(list->contains(5));
  EXPECT_FALSE(list->contains(0));
  std::vector<Index> positions{2, 0};
  list->asMap(positions);
  EXPECT_THAT(positions, ElementsAre(6, 1));
}

TEST(ListOfListTest, ComposedListsCompose) {
  const auto inner = listOf(range(100, 10), range(2, 5));  // 102..106
  const auto outer = listOf(List(inner), explicitList({4, 0}));
  EXPECT_THAT(entries(*outer), ElementsAre(106, 102));
  EXPECT_FALSE(listOf(range(0, 3), List())->contains(0));
}

}  // namespace
}  // namespace nuv::idx::view
