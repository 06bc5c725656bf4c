#include "qel/transform/double_values.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace qel::transform {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
const double kBelow = std::nextafter(1e20, 0.0);

TEST(DoubleValuesTest, ReadsXpressInfinityAsInfinityAndClampsAcceptedValues) {
  struct Case {
    double value;
    double out;
    double accepted;
  };
  const Case cases[] = {
      {1e20, kInf, 1e20}, {3e25, kInf, 1e20},       {-1e20, -kInf, -1e20}, {-kInf, -kInf, -1e20},
      {kInf, kInf, 1e20}, {kBelow, kBelow, kBelow}, {-3.5, -3.5, -3.5},    {0.0, 0.0, 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(DoubleValues::out(c.value), c.out);
    EXPECT_EQ(DoubleValues::accept(c.value), c.accepted);
    EXPECT_EQ(DoubleValues::in(c.value), c.value);
  }
  EXPECT_TRUE(std::isnan(DoubleValues::out(std::nan(""))));
  EXPECT_TRUE(std::isnan(DoubleValues::in(std::nan(""))));
}

}  // namespace
}  // namespace qel::transform
