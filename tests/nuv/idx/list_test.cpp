#include "nuv/idx/list.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "nuv/idx/lib/list.hpp"

namespace nuv::idx {
namespace {

TEST(EmptyListTest, AnswersNeutrally) {
  const List empty;
  EXPECT_EQ(empty.shared(), List::defaultList());
  EXPECT_EQ(empty.size(), 0);
  EXPECT_EQ(empty.type(), ListType::kBlock);
  EXPECT_EQ(empty.first(), 0);
  EXPECT_EQ(empty.last(), 0);
  EXPECT_EQ(empty.min(), 0);
  EXPECT_EQ(empty.max(), 0);
  for (Index v : {-1, 0, 1}) EXPECT_FALSE(empty.contains(v));
  std::vector<Index> out{9};
  empty.toVector(out);
  EXPECT_EQ(out, std::vector<Index>{9});
  const auto vec = empty.viewVector();
  EXPECT_TRUE(vec.owns());
  EXPECT_TRUE(vec->empty());
  std::vector<Index> positions{3, 5};
  empty.asMap(positions);
  EXPECT_EQ(positions, (std::vector<Index>{0, 0}));
}

TEST(EmptyListTest, NullPointerGivesTheSharedEmptyList) {
  EXPECT_EQ(List(nullptr).shared(), List::defaultList());
}

TEST(ExplicitListTest, AnswersFromItsVector) {
  auto entries = std::make_shared<lib::List>(lib::List{4, 1, 9});
  const List list(entries);
  EXPECT_EQ(list.type(), ListType::kExplicit);
  EXPECT_EQ(list.first(), 4);
  EXPECT_EQ(list.last(), 9);
  EXPECT_EQ(list.min(), 1);
  EXPECT_EQ(list.max(), 9);
  EXPECT_TRUE(list.contains(1));
  EXPECT_FALSE(list.contains(2));
  const auto vec = list.viewVector();
  EXPECT_FALSE(vec.owns());
  EXPECT_EQ(vec.get(), &entries->entries());
  std::vector<Index> positions{2, 0};
  list.asMap(positions);
  EXPECT_EQ(positions, (std::vector<Index>{9, 4}));
}

TEST(ExplicitListTest, EmptyMinAndMaxAreTheExtremes) {
  const lib::List list;
  EXPECT_EQ(list.size(), 0);
  EXPECT_EQ(list.min(), 2147483647);
  EXPECT_EQ(list.max(), -2147483647 - 1);
  EXPECT_FALSE(list.contains(0));
}

}  // namespace
}  // namespace nuv::idx
