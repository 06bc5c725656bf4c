// The culling handler of the solution enumerator, called directly as Xpress would call it.
#include "qel/xpress/sol_enum_handler.hpp"

#include <gtest/gtest.h>
#include <xprs.h>

#include <climits>

#include "tests/support/standin_test.hpp"
#include "xprs_testing.hpp"

namespace {

namespace xt = xprs::testing;

using SolEnumHandlerTest = xprs_test::StandinTest;

TEST_F(SolEnumHandlerTest, WithoutLimitLetsEverySolutionInAndAsksXpressNothing) {
  for (const int capacity : {0, -1, INT_MIN}) {
    SCOPED_TRACE(capacity);
    qel::SolEnumHandlerBlock block;
    block.maxCullRounds = 0;  // would reject at once if the pool counted as full
    int cap = capacity;
    int reject = 0;
    int cutoff = 0;
    xt::clearCalls();
    EXPECT_EQ(qel::solEnumHandler(nullptr, prob_, nullptr, &block, &cap, nullptr, 0, 1.0, nullptr,
                                  &reject, &cutoff),
              0);
    EXPECT_TRUE(xt::calls().empty());
    EXPECT_EQ(reject, 0);
    EXPECT_EQ(cutoff, 0);
    EXPECT_EQ(block.cullRound, 0);
  }
}

}  // namespace
