#include "nuv/attr/lib/range_info.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>

namespace {

using nuv::attr::AbstractDoc;
using nuv::attr::lib::RangeInfo;
using testing::StrEq;
using testing::ThrowsMessage;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

RangeInfo<int> intRange(std::optional<int> lo, std::optional<int> up,
                        std::optional<int> def = std::nullopt) {
  return RangeInfo<int>("x", 1, true, def, lo, up, std::nullopt, {});
}

RangeInfo<double> dblRange(std::optional<double> lo, std::optional<double> up,
                           std::optional<double> def = std::nullopt) {
  return RangeInfo<double>("x", 1, true, def, lo, up, std::nullopt, {});
}

class CountingDoc final : public AbstractDoc {
 public:
  explicit CountingDoc(int& deleted) : deleted_(deleted) {}
  ~CountingDoc() override { ++deleted_; }

 private:
  int& deleted_;
};

TEST(RangeInfoTest, RefusesInconsistentDescriptionsWithExactText) {
  struct Case {
    const char* what;
    std::function<void()> build;
    std::string text;
  };
  const Case cases[] = {
      {"lower above upper", [] { intRange(/*lo=*/5, /*up=*/3); },
       "Check Error (6): 'lower_bound' (which is 5) must be less or equal to 3."},
      {"bounds are checked before the default", [] { intRange(5, 3, /*def=*/4); },
       "Check Error (6): 'lower_bound' (which is 5) must be less or equal to 3."},
      {"default below lower", [] { intRange(1, std::nullopt, 0); },
       "Check Error (8): 'default_value' (which is 0) must be greater or equal to 1."},
      {"default above upper", [] { intRange(std::nullopt, 7, 10); },
       "Check Error (6): 'default_value' (which is 10) must be less or equal to 7."},
      {"double lower above upper", [] { dblRange(0.5, -1e20); },
       "Check Error (6): 'lower_bound' (which is 0.5) must be less or equal to -1e+20."},
      {"NaN default", [] { dblRange(std::nullopt, std::nullopt, kNaN); },
       "Check Error (8): 'default_value' (which is nan) must be greater or equal to -inf."},
      {"NaN lower bound", [] { dblRange(kNaN, std::nullopt); },
       "Check Error (6): 'lower_bound' (which is nan) must be less or equal to inf."},
      {"NaN upper bound", [] { dblRange(0.0, kNaN); },
       "Check Error (6): 'lower_bound' (which is 0) must be less or equal to nan."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_THAT(c.build, ThrowsMessage<nuv::CheckException>(StrEq(c.text)));
  }
}

TEST(RangeInfoTest, AcceptsEqualBoundsAndDefaultAndSkipsDefaultChecksWithoutOne) {
  EXPECT_NO_THROW(intRange(4, 4, 4));
  EXPECT_NO_THROW(dblRange(-kInf, -kInf, -kInf));
  EXPECT_NO_THROW(intRange(0, 1));
}

TEST(RangeInfoTest, FailedConstructionDeletesAnOwnedDocumentationObject) {
  int deleted = 0;
  EXPECT_THROW(RangeInfo<int>("x", 1, true, std::nullopt, 2, 1, std::nullopt,
                              nuv::View<const AbstractDoc>::owning(
                                  std::make_unique<const CountingDoc>(deleted))),
               nuv::CheckException);
  EXPECT_EQ(deleted, 1);
}

TEST(RangeInfoTest, ClampsIntegersIntoTheRange) {
  struct Case {
    std::optional<int> lo, up;
    int value, expected;
  };
  const Case cases[] = {
      {0, 2, 100, 2},
      {0, 2, -5, 0},
      {0, 2, 1, 1},
      {0, 2, INT_MIN, 0},
      {0, 2, INT_MAX, 2},
      {std::nullopt, std::nullopt, INT_MIN, INT_MIN},
      {std::nullopt, std::nullopt, INT_MAX, INT_MAX},
      {std::nullopt, 3, INT_MIN, INT_MIN},
      {-1, std::nullopt, INT_MAX, INT_MAX},
      {-1, std::nullopt, -2, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "value " << c.value);
    EXPECT_EQ(intRange(c.lo, c.up).supportsValue(c.value), std::optional<int>(c.expected));
  }
}

TEST(RangeInfoTest, ClampsDoublesIncludingInfinitiesAndNaN) {
  struct Case {
    const char* what;
    std::optional<double> lo, up;
    double value, expected;
  };
  const Case cases[] = {
      {"above", 0.0, 1.0, 1.5, 1.0},
      {"below", 0.0, 1.0, -0.5, 0.0},
      {"inside", 0.0, 1.0, 0.25, 0.25},
      {"plus infinity to upper", 0.0, 1.0, kInf, 1.0},
      {"minus infinity to lower", 0.0, 1.0, -kInf, 0.0},
      {"NaN to lower", 0.0, 1.0, kNaN, 0.0},
      {"unbounded keeps plus infinity", std::nullopt, std::nullopt, kInf, kInf},
      {"unbounded keeps minus infinity", std::nullopt, std::nullopt, -kInf, -kInf},
      {"unbounded keeps large values", std::nullopt, std::nullopt, 1e300, 1e300},
      {"NaN to minus infinity without lower", std::nullopt, 5.0, kNaN, -kInf},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::optional<double> result = dblRange(c.lo, c.up).supportsValue(c.value);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, c.expected);
  }
}

TEST(RangeInfoTest, MissingBoundsAreTheTypeExtremesAndCountAsDefault) {
  const RangeInfo<int> open = intRange(std::nullopt, std::nullopt);
  EXPECT_TRUE(open.propIsDefault("lo"));
  EXPECT_TRUE(open.propIsDefault("up"));
  EXPECT_TRUE(intRange(INT_MIN, INT_MAX).propIsDefault("lo"));
  EXPECT_TRUE(intRange(INT_MIN, INT_MAX).propIsDefault("up"));
  EXPECT_FALSE(intRange(INT_MIN + 1, std::nullopt).propIsDefault("lo"));
  EXPECT_FALSE(intRange(std::nullopt, INT_MAX - 1).propIsDefault("up"));
  EXPECT_TRUE(dblRange(-kInf, kInf).propIsDefault("lo"));
  EXPECT_FALSE(dblRange(-1e300, std::nullopt).propIsDefault("lo"));
  EXPECT_FALSE(dblRange(std::nullopt, 1e300).propIsDefault("up"));
}

TEST(RangeInfoTest, InheritsTheDescriptionPart) {
  const RangeInfo<int> info("advbasis", std::nullopt, false, 1, 0, 2, 1010100, {});
  ASSERT_TRUE(info.name());
  EXPECT_EQ(*info.name(), "advbasis");
  EXPECT_EQ(info.ref(), 1010100);
  EXPECT_EQ(info.maxElemCount(), INT_MAX);
  EXPECT_FALSE(info.supportsSet());
  EXPECT_EQ(info.getDefault(), 1);
  EXPECT_FALSE(info.doc());
}

}  // namespace
