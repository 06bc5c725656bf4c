#include "qel/adder/load_buffers.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstddef>
#include <numeric>
#include <vector>

namespace {

using ::testing::ElementsAreArray;

TEST(LoadBuffersTest, GrowingKeepsTheFilledPartAndAtLeastDoubles) {
  qel::WorkArray<int> array;
  int* data = array.grow(3, 0);
  std::iota(data, data + 3, 7);
  data = array.grow(300, 3);
  EXPECT_GE(array.capacity(), 300u);
  EXPECT_THAT(std::vector<int>(data, data + 3), ElementsAreArray({7, 8, 9}));

  std::iota(data, data + 300, 0);
  const std::size_t before = array.capacity();
  data = array.grow(before + 1, 300);
  EXPECT_GE(array.capacity(), 2 * before);
  std::vector<int> expected(300);
  std::iota(expected.begin(), expected.end(), 0);
  EXPECT_EQ(std::vector<int>(data, data + 300), expected);

  // Within the capacity nothing moves, and room never shrinks.
  EXPECT_EQ(array.grow(10, 10), data);
  EXPECT_EQ(array.room(5), data);
  EXPECT_EQ(array.capacity(), array.bytes() / sizeof(int));
}

TEST(LoadBuffersTest, ALeaseReleasesOnlyBuffersBeyondTheKeptSize) {
  qel::LoadBuffers buffers;
  const std::size_t kept = qel::LoadBuffers::kKeptBytes;
  {
    const qel::LoadBuffers::Lease lease(buffers);
    buffers.values.room(kept / sizeof(double) / 2);
    buffers.columns.room(kept / sizeof(int) / 2);
  }
  EXPECT_EQ(buffers.bytes(), kept);
  {
    const qel::LoadBuffers::Lease lease(buffers);
    buffers.rowTypes.room(1);
  }
  EXPECT_EQ(buffers.bytes(), 0u);
  EXPECT_EQ(buffers.values.data(), nullptr);
  EXPECT_EQ(buffers.columns.capacity(), 0u);
}

}  // namespace
