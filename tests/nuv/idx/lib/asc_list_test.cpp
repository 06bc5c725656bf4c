#include "nuv/idx/lib/asc_list.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "nuv/exception.hpp"

namespace nuv::idx::lib {
namespace {

using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::StrEq;
using testing::ThrowsMessage;

std::vector<Index> entries(const AbstractList& list) {
  std::vector<Index> out(static_cast<std::size_t>(list.size()));
  list.toVector(out);
  return out;
}

TEST(AscListTest, EmptyListAnswersZeroWithoutReading) {
  const AscList list;
  EXPECT_EQ(list.type(), ListType::kBlock);
  EXPECT_EQ(list.size(), 0);
  EXPECT_EQ(list.first(), 0);
  EXPECT_EQ(list.last(), 0);
  EXPECT_EQ(list.min(), 0);
  EXPECT_EQ(list.max(), 0);
  EXPECT_EQ(list[0], 0);
  EXPECT_FALSE(list.contains(0));
}

TEST(AscListTest, GrowsAsRunThenWithGaps) {
  AscList list;
  list.add(Range(0, 3));
  EXPECT_EQ(list.type(), ListType::kBlock);
  EXPECT_THAT(entries(list), ElementsAre(0, 1, 2));
  list.add(Range(3, 2));
  EXPECT_EQ(list.type(), ListType::kBlock);
  EXPECT_EQ(list.size(), 5);
  list.add(Range(7, 1));
  EXPECT_EQ(list.type(), ListType::kAscending);
  EXPECT_THAT(entries(list), ElementsAre(0, 1, 2, 3, 4, 7));
  EXPECT_TRUE(list.contains(7));
  EXPECT_FALSE(list.contains(5));
  EXPECT_TRUE(list.contains(3));

  EXPECT_THAT([&] { list.add(Range(6, 1)); },
              ThrowsMessage<CheckException>(StrEq(
                  "Check Error (8): 'indices.first()' (which is 6) must be greater or equal to "
                  "'max()' (which is 7).")));
  EXPECT_THAT(entries(list), ElementsAre(0, 1, 2, 3, 4, 7));

  list.add(Range(7, 1));
  EXPECT_THAT(entries(list), ElementsAre(0, 1, 2, 3, 4, 7, 7));
  list.add(Range(9, 0));
  EXPECT_EQ(list.size(), 7);
  list.add(Range(8, 2));  // continues without a gap but stays explicit
  EXPECT_EQ(list.type(), ListType::kAscending);
  EXPECT_THAT(entries(list), ElementsAre(0, 1, 2, 3, 4, 7, 7, 8, 9));
}

TEST(AscListTest, RepeatingTheMaximumOfASingleRunGoesExplicit) {
  AscList list;
  list.add(Range(5, 1));
  list.add(Range(5, 2));
  EXPECT_EQ(list.type(), ListType::kAscending);
  EXPECT_THAT(entries(list), ElementsAre(5, 5, 6));
  EXPECT_TRUE(list.contains(5));
  EXPECT_TRUE(list.contains(6));
  EXPECT_FALSE(list.contains(4));
}

TEST(AscListTest, BinarySearchFindsEveryEntryOfALongListWithGaps) {
  AscList list;
  std::vector<Index> expected;
  for (Index block = 0; block < 50; ++block) {
    list.add(Range(block * 10, 3));
    for (Index k = 0; k < 3; ++k) expected.push_back(block * 10 + k);
  }
  EXPECT_THAT(entries(list), ElementsAreArray(expected));
  for (Index v = -1; v < 500; ++v) {
    const bool present = v >= 0 && v % 10 < 3;
    EXPECT_EQ(list.contains(v), present) << v;
  }
}

TEST(AscListTest, MakeFullListWritesOutARun) {
  AscList list;
  list.makeFullList();
  EXPECT_EQ(list.size(), 0);
  list.add(Range(3, 1));
  list.makeFullList();  // a one-entry run stays a run
  EXPECT_EQ(list.type(), ListType::kBlock);
  list.add(Range(4, 2));
  list.makeFullList();
  EXPECT_EQ(list.type(), ListType::kAscending);
  EXPECT_THAT(entries(list), ElementsAre(3, 4, 5));
}

TEST(AscListTest, RunEndingAtTheLargestIndexDoesNotOverflow) {
  AscList list;
  list.add(Range(2147483640, 8));
  EXPECT_EQ(list.last(), 2147483647);
  EXPECT_EQ(list.max(), 2147483647);
  EXPECT_TRUE(list.contains(2147483647));
  EXPECT_THROW(list.add(Range(0, 1)), CheckException);
  list.add(Range(2147483647, 1));  // repeats the maximum: accepted
  EXPECT_EQ(list.size(), 9);
  EXPECT_EQ(list.type(), ListType::kAscending);
}

}  // namespace
}  // namespace nuv::idx::lib
