// The owned solution pool and enumerator against the optimizer stand-in: creation, clear, the
// checked calls and the message forwarding. The fixture's TearDown expects no call on a dead
// handle, so a double destroy fails every test here.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <functional>
#include <string>

#include "qel/xpress/xpress_exception.hpp"
#include "qel/xpress/xpress_sol_enum.hpp"
#include "qel/xpress/xpress_sol_pool.hpp"
#include "tests/support/standin_test.hpp"
#include "xprs_testing.hpp"

namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;

namespace xt = xprs::testing;

using SolWrappersTest = xprs_test::StandinTest;

TEST_F(SolWrappersTest, FailedCreationRaisesTheFixedTextWithoutReadingAnError) {
  struct Case {
    const char* function;
    std::function<void()> create;
    std::string text;
  };
  const Case cases[] = {
      {"XPRS_msp_create", [] { qel::XpressSolPool pool; },
       "Xpress (7): Cannot create solution pool. [Trace: XPRS_msp_create]"},
      {"XPRS_mse_create", [] { qel::XpressSolEnum enumerator; },
       "Xpress (7): Cannot create solution enumerator. [Trace: XPRS_mse_create]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.function);
    xt::failNextKeepingHandle(c.function, 7, "not this text");
    xt::clearCalls();
    EXPECT_THAT(c.create, ThrowsMessage<qel::XpressException>(StrEq(c.text)));
    EXPECT_EQ(xt::countCalls("XPRS_msp_getlasterror") + xt::countCalls("XPRS_mse_getlasterror"),
              0u);
    EXPECT_EQ(xt::countCalls("XPRS_msp_destroy") + xt::countCalls("XPRS_mse_destroy"), 0u);
  }
}

}  // namespace
