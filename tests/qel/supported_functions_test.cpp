#include "qel/supported_functions.hpp"

#include <gtest/gtest.h>

#include <string_view>

namespace qel {
namespace {

TEST(SupportedFunctionsTest, MapsEveryTagToItsToken) {
  struct Case {
    std::string_view tag;
    int type;
    int value;
  };
  const Case cases[] = {
      {"nuv:function:basic:Add", 31, 5},
      {"nuv:function:basic:Subtract", 31, 6},
      {"nuv:function:basic:Multiply", 31, 3},
      {"nuv:function:basic:Divide", 31, 4},
      {"nuv:function:basic:Negate", 31, 1},
      {"nuv:function:exponential:Power", 31, 2},
      {"nuv:function:exponential:PowerConst", 31, 2},
      {"nuv:function:exponential:Power0", 31, 2},
      {"nuv:function:exponential:Square", 31, -1},
      {"nuv:function:basic:Abs", 12, 17},
      {"nuv:function:trigonometric:Sin", 12, 27},
      {"nuv:function:trigonometric:Cos", 12, 28},
      {"nuv:function:trigonometric:Tan", 12, 29},
      {"nuv:function:trigonometric:ArcSin", 12, 30},
      {"nuv:function:trigonometric:ArcCos", 12, 31},
      {"nuv:function:trigonometric:ArcTan", 12, 32},
      {"nuv:function:exponential:Exp", 12, 16},
      {"nuv:function:exponential:Errf", 12, 49},
      {"nuv:function:exponential:ErrfCompl", 12, 50},
      {"nuv:function:exponential:Log", 12, 15},
      {"nuv:function:exponential:Log10", 12, 14},
      {"nuv:function:exponential:SquareRoot", 12, 18},
      {"nuv:function:basic:Min", 12, 33},
      {"nuv:function:basic:Max", 12, 34},
      {"nuv:function:basic:Sign", 12, 46},
  };
  ASSERT_EQ(supported_functions.size(), std::size(cases));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tag);
    const auto found = supported_functions.find(c.tag);
    ASSERT_NE(found, supported_functions.end());
    EXPECT_EQ(found->second, FormulaToken(c.type, c.value));
  }
}

TEST(SupportedFunctionsTest, SquareCarriesTheMarkForAPowerOfTwo) {
  const FormulaToken square = supported_functions.at("nuv:function:exponential:Square");
  EXPECT_EQ(square.first, kTokenOperator);
  EXPECT_EQ(square.second, kSquareMark);
  EXPECT_EQ(kSquareMark, -1);
  // Power, the operator that Square becomes, has its own ordinary value.
  EXPECT_EQ(supported_functions.at("nuv:function:exponential:Power"),
            FormulaToken(kTokenOperator, 2));
}

TEST(SupportedFunctionsTest, FindsTagsByTheirExactTextOnly) {
  const std::string_view absent[] = {
      "nuv:function:basic:add",     // case differs
      "NUV:FUNCTION:BASIC:ADD",     //
      "nuv:function:linear",        // the framework's linear function is loaded otherwise
      "nuv:function:basic:Add ",    // trailing space
      "nuv:function:exponential:",  //
      "",                           //
  };
  for (std::string_view tag : absent) {
    SCOPED_TRACE(tag);
    EXPECT_EQ(supported_functions.count(tag), 0u);
  }
}

}  // namespace
}  // namespace qel
