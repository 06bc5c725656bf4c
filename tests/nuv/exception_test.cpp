#include "nuv/exception.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "nuv/attr/exception.hpp"
#include "nuv/check.hpp"
#include "nuv/num_cast.hpp"
#include "nuv/opt/support_exception.hpp"

namespace nuv {
namespace {

using testing::StrEq;
using testing::ThrowsMessage;

TEST(ExceptionTest, TextHasTitleCodeMessageAndTraceNewestFirst) {
  Exception e("Xpress", "injected", 32, "A");
  e.addTrace("B");
  EXPECT_STREQ(e.what(), "Xpress (32): injected [Trace: B / A]");
}

TEST(ExceptionTest, TextIsBuiltOnceAndStable) {
  opt::SupportException e("Adder inactive", {});
  const char* first = e.what();
  const char* second = e.what();
  EXPECT_EQ(first, second);
  EXPECT_STREQ(first, "Support Error: Adder inactive");
}

TEST(ExceptionTest, EmptyMessageStillShowsColon) {
  EXPECT_STREQ(opt::SupportException("", {}).what(), "Support Error: ");
}

TEST(ExceptionTest, MessageAloneHasNoTitleCodeOrTrace) {
  const Exception e("Requires model to be started first.");
  EXPECT_STREQ(e.what(), ": Requires model to be started first.");
  EXPECT_FALSE(e.code().has_value());
}

TEST(ExceptionTest, EmptyTraceEntryAddsNothing) {
  Exception e("T", "m", std::nullopt, "");
  e.addTrace("");
  EXPECT_STREQ(e.what(), "T: m");
}

TEST(ExceptionTest, TraceBuiltAtRunTimeOutlivesItsBuilder) {
  auto raise = [] {
    std::string name = "XPRS";
    name += "addrows64";
    Exception e("Xpress", "bad row", 91, name);
    name.assign(name.size(), 'x');  // the builder's text changes and then goes away
    throw e;
  };
  try {
    raise();
    FAIL() << "nothing thrown";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Xpress (91): bad row [Trace: XPRSaddrows64]");
  }
}

TEST(ExceptionTest, AttributeErrorsHaveFixedTextsAndCodes) {
  struct Case {
    attr::Exception e;
    const char* text;
  };
  const Case cases[] = {
      {attr::Exception::unsupportedDefault({}),
       "Attribute Error (0): Attribute default not supported"},
      {attr::Exception::unsupportedSet({}),
       "Attribute Error (1): Attribute does not support to set."},
      {attr::Exception::unsupportedReset({}),
       "Attribute Error (2): Attribute does not support to reset."},
      {attr::Exception::unsupportedItemAdd({}),
       "Attribute Error (4): Attribute does not support to add items."},
  };
  for (const Case& c : cases) EXPECT_STREQ(c.e.what(), c.text);
}

TEST(ExceptionTest, CheckRaisersCarryTheirCodes) {
  EXPECT_EQ(CheckException::failedTrue("m", {}).code(), 1);
  EXPECT_EQ(CheckException::failedNotNull("m", {}).code(), 3);
  EXPECT_EQ(CheckException::failedEqualTo("m", {}).code(), 4);
  EXPECT_EQ(CheckException::failedLessOrEqualTo("m", {}).code(), 6);
  EXPECT_EQ(CheckException::failedGreaterOrEqualTo("m", {}).code(), 8);
  CheckException greater("'strlen(tag)' (which is 0) must be greater than 0.",
                         CheckException::Codes::kGreaterThan, {});
  EXPECT_STREQ(greater.what(),
               "Check Error (7): 'strlen(tag)' (which is 0) must be greater than 0.");
}

TEST(CheckMessageTest, ComposesBothForms) {
  using detail::checkCompareMessage;
  EXPECT_EQ(checkCompareMessage("size", -1, "greater or equal to", 0, ""),
            "'size' (which is -1) must be greater or equal to 0.");
  EXPECT_EQ(checkCompareMessage("indices.first()", 3, "greater or equal to", 7, "max()"),
            "'indices.first()' (which is 3) must be greater or equal to 'max()' (which is 7).");
  EXPECT_EQ(checkCompareMessage("n", 18446744073709551615UL, "less than", -1, "m"),
            "'n' (which is 18446744073709551615) must be less than 'm' (which is -1).");
  EXPECT_EQ(checkCompareMessage("x", -0.0, "equal to", 0.1, ""),
            "'x' (which is 0) must be equal to 0.1.");
  EXPECT_EQ(detail::checkNotNullMessage("info"), "'info' must not be null.");
}

TEST(CheckTest, EveryRelationRaisesItsExactText) {
  struct Case {
    const char* what;
    std::function<void()> check;
    std::string text;
  };
  const Case cases[] = {
      {"true", [] { checkTrue(false, "supportsValue(value)"); },
       "Check Error (1): 'supportsValue(value)' must be true."},
      {"not null", [] { checkNotNull(static_cast<int*>(nullptr), "info"); },
       "Check Error (3): 'info' must not be null."},
      {"equal", [] { checkEqual("a", 1, 2, "b"); },
       "Check Error (4): 'a' (which is 1) must be equal to 'b' (which is 2)."},
      {"less", [] { checkLess("item", 3, 3, "itemCount()"); },
       "Check Error (5): 'item' (which is 3) must be less than 'itemCount()' (which is 3)."},
      {"less or equal", [] { checkLessOrEqual("lo", 5.5, 3.0, "up"); },
       "Check Error (6): 'lo' (which is 5.5) must be less or equal to 'up' (which is 3)."},
      {"greater", [] { checkGreater("n", 0UL, 0); },
       "Check Error (7): 'n' (which is 0) must be greater than 0."},
      {"greater or equal", [] { checkGreaterOrEqual("size", -1, 0); },
       "Check Error (8): 'size' (which is -1) must be greater or equal to 0."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_THAT(c.check, ThrowsMessage<CheckException>(StrEq(c.text)));
  }
}

TEST(CheckTest, MixedSignsCompareByValue) {
  EXPECT_NO_THROW(checkGreaterOrEqual("n", 0UL, -1));
  EXPECT_THROW(checkLess("n", 5UL, -1), CheckException);
}

TEST(NumCastTest, AcceptsTheLimitsAndRefusesBeyond) {
  EXPECT_EQ((numCast<int, unsigned long>(2147483647UL)), 2147483647);
  EXPECT_EQ((numCast<unsigned long, int>(0)), 0UL);
  auto tooLarge = [] { (void)numCast<int, unsigned long>(2147483648UL); };
  auto negative = [] { (void)numCast<unsigned long, int>(-1); };
  EXPECT_THAT(tooLarge,
              ThrowsMessage<Exception>(
                  StrEq("Cast Error: Cannot cast 2147483648 from 'long unsigned int' to 'int'.")));
  EXPECT_THAT(negative, ThrowsMessage<Exception>(StrEq(
                            "Cast Error: Cannot cast -1 from 'int' to 'long unsigned int'.")));
}

}  // namespace
}  // namespace nuv
