#include "nuv/to_string.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <locale>

#include "nuv/id.hpp"

namespace nuv {
namespace {

TEST(ToStringTest, DoublesUseFifteenSignificantDigits) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {0.0, "0"},
      {-0.0, "0"},
      {0.1, "0.1"},
      {1e20, "1e+20"},
      {250.0, "250"},
      {0.1 + 0.2, "0.3"},
      {-1.5, "-1.5"},
      {1e-5, "1e-05"},
      {123456789012345678.0, "1.23456789012346e+17"},
      {std::numeric_limits<double>::infinity(), "inf"},
      {-std::numeric_limits<double>::infinity(), "-inf"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(toString(c.value, 15), c.text);
  }
}

TEST(ToStringTest, IntegersAndBooleans) {
  EXPECT_EQ(toString<int>(-2147483648), "-2147483648");
  EXPECT_EQ(toString<unsigned long>(18446744073709551615UL), "18446744073709551615");
  EXPECT_EQ(toString<bool>(true), "1");
  EXPECT_EQ(toString<bool>(false), "0");
}

// A decimal-comma locale for the whole process must not change the text forms.
TEST(ToStringTest, IgnoresTheGlobalLocale) {
  struct CommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    std::string do_grouping() const override { return "\3"; }
    char do_thousands_sep() const override { return '.'; }
  };
  const std::locale saved =
      std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
  EXPECT_EQ(toString(0.5, 15), "0.5");
  EXPECT_EQ(toString(1234567.25, 15), "1234567.25");
  EXPECT_EQ(toString<int>(1234567), "1234567");
  std::locale::global(saved);
}

TEST(FromStringTest, ReadsTheAcceptedWordsWithoutRegardToCase) {
  bool flag = false;
  EXPECT_TRUE(fromString("TRUE", &flag));
  EXPECT_TRUE(flag);
  flag = false;
  EXPECT_TRUE(fromString("On", &flag));
  EXPECT_TRUE(flag);
  EXPECT_TRUE(fromString("yes", &flag));
  EXPECT_TRUE(fromString("0", &flag));
  EXPECT_FALSE(flag);
  EXPECT_TRUE(fromString("Off", &flag));
  EXPECT_TRUE(fromString("NO", &flag));
  EXPECT_TRUE(fromString("false", &flag));
  EXPECT_FALSE(flag);
}

TEST(FromStringTest, RefusesOtherTextAndLeavesTheFlag) {
  for (const char* text : {"", "y", "2", "truee", " on"}) {
    SCOPED_TRACE(text);
    bool flag = true;
    EXPECT_FALSE(fromString(text, &flag));
    EXPECT_TRUE(flag);
  }
  EXPECT_FALSE(fromString("true", nullptr));
}

TEST(InfinityTest, OnlyTrueInfinitiesCount) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_FALSE(isPositiveInfinity(1e308));
  EXPECT_TRUE(isPositiveInfinity(inf));
  EXPECT_FALSE(isNegativeInfinity(inf));
  EXPECT_TRUE(isNegativeInfinity(-inf));
  EXPECT_FALSE(isPositiveInfinity(std::numeric_limits<double>::quiet_NaN()));
  EXPECT_FALSE(isNegativeInfinity(std::numeric_limits<double>::quiet_NaN()));
}

TEST(IdTest, IdsIncreaseByOneAndNeverRepeat) {
  const auto a = id();
  const auto b = id();
  EXPECT_GE(a, 1U);
  EXPECT_EQ(b, a + 1);
}

}  // namespace
}  // namespace nuv
