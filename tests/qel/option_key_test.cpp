#include "qel/option_key.hpp"

#include <gtest/gtest.h>

namespace qel {
namespace {

TEST(OptionKeyTest, SplitsKeysIntoIdKindAndBit) {
  struct Case {
    int key;
    int id;
    RefKind kind;
    int bit;
  };
  const Case cases[] = {
      {1010100, 101, RefKind::Int, 0},        // advbasis, a link option
      {1130300, 113, RefKind::String, 0},     // mpsoutputfile
      {70030200, 7003, RefKind::Double, 0},   // feasTol
      {80770401, 8077, RefKind::Bit, 1},      // presolveOps, bit of value 1
      {81420421, 8142, RefKind::Bit, 21},     // cutSelect, highest bit used
      {1030010100, 103001, RefKind::Int, 0},  // largest key
      {0, 0, static_cast<RefKind>(0), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(refId(c.key), c.id);
    EXPECT_EQ(refKind(c.key), c.kind);
    EXPECT_EQ(refBit(c.key), c.bit);
    EXPECT_EQ(refId(c.key) * 10000 + static_cast<int>(refKind(c.key)) * 100 + refBit(c.key), c.key);
  }
}

TEST(OptionKeyTest, KindDigitIgnoresTheThousandsDigit) {
  EXPECT_EQ(refKind(1231234), static_cast<RefKind>(2));
  EXPECT_EQ(refBit(1231234), 34);
  EXPECT_EQ(refId(1231234), 123);
}

}  // namespace
}  // namespace qel
