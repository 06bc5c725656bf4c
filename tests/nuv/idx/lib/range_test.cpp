#include "nuv/idx/lib/range.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "nuv/exception.hpp"

namespace nuv::idx::lib {
namespace {

using testing::StrEq;
using testing::ThrowsMessage;

TEST(RangeTest, BlockEntries) {
  const Range r(5, 3);
  EXPECT_EQ(r.type(), ListType::kBlock);
  EXPECT_EQ(r[0], 5);
  EXPECT_EQ(r[2], 7);
  EXPECT_EQ(r.last(), 7);
  EXPECT_FALSE(r.contains(4));
  EXPECT_TRUE(r.contains(7));
  EXPECT_FALSE(r.contains(8));
  std::vector<Index> positions{0, 2};
  r.asMap(positions);
  EXPECT_EQ(positions, (std::vector<Index>{5, 7}));
  std::vector<Index> out(3);
  r.toVector(out);
  EXPECT_EQ(out, (std::vector<Index>{5, 6, 7}));
}

TEST(RangeTest, EmptyBlockAnswersFromItsFirstIndex) {
  const Range r(5, 0);
  EXPECT_EQ(r.size(), 0);
  EXPECT_EQ(r.last(), 4);
  EXPECT_EQ(r.min(), 5);
  EXPECT_EQ(r.max(), 4);
  EXPECT_FALSE(r.contains(5));
}

TEST(RangeTest, DefaultIsTheEmptyBlockAtZero) {
  const Range r;
  EXPECT_EQ(r.size(), 0);
  EXPECT_EQ(r.first(), 0);
  EXPECT_FALSE(r.contains(0));
}

TEST(RangeTest, RefusesNegativeSizeAndOverflow) {
  EXPECT_THAT([] { Range(0, -1); },
              ThrowsMessage<CheckException>(
                  StrEq("Check Error (8): 'size' (which is -1) must be greater or equal to 0.")));
  EXPECT_THAT([] { Range(2147483647, 2); },
              ThrowsMessage<CheckException>(
                  StrEq("Check Error (6): 'first + size - 1' (which is 2147483648) must be less or "
                        "equal to 2147483647.")));
  EXPECT_EQ(Range(2147483646, 2).last(), 2147483647);
}

}  // namespace
}  // namespace nuv::idx::lib
