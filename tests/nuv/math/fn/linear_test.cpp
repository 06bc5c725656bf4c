#include "nuv/math/fn/linear.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <stdexcept>
#include <vector>

#include "nuv/exception.hpp"
#include "nuv/idx/lib/list.hpp"
#include "nuv/math/expression.hpp"
#include "nuv/math/lib/dense_vector.hpp"
#include "nuv/math/lib/sparse_vector.hpp"

namespace nuv::math::fn {
namespace {

using ::testing::ElementsAre;
using ::testing::StrEq;
using ::testing::ThrowsMessage;
using S = Symbol<double>;

S variables(std::uint64_t owner, std::initializer_list<Index> entries) {
  return S::vectorOfVariables(owner, idx::List(std::make_shared<const idx::lib::List>(entries)));
}
S unit(Index dimension, Index at, double value = 1.0) {
  return S::numericVector(lib::sparseVector<double>(dimension, {at}, {value}));
}

TEST(LinearTest, DescribesItself) {
  const Abstract<double>& f = linear<double>;
  EXPECT_EQ(f.tag(), "nuv:function:linear");
  EXPECT_EQ(f.dimension(), 0U);
  EXPECT_THAT(f.inputDimensions(), ElementsAre(1U));
  EXPECT_THAT(f.paramTypes(), ElementsAre(2, 1));
  EXPECT_FALSE(f.isVariadic());
  EXPECT_FALSE(f.isAssociative());
  EXPECT_EQ(f.minVariadicCount(), 0U);
  EXPECT_EQ(f.maxVariadicCount(), std::numeric_limits<std::uint64_t>::max());
}

TEST(LinearTest, EvaluatesDotProductPlusConstant) {
  const std::vector<S> args = {S::numericVector(lib::denseVector<double>({1, 2, 3})),
                               S::numericVector(lib::denseVector<double>({4, 5, 6})),
                               S::numeric(0.5)};
  const S value = linear<double>.evaluate(args);
  EXPECT_EQ(value.kind(), SymbolKind::kNumeric);
  EXPECT_DOUBLE_EQ(value.numeric(), 32.5);

  EXPECT_THAT([&] { static_cast<void>(linear<double>.evaluate(std::span(args).first(2))); },
              ThrowsMessage<CheckException>(
                  StrEq("Check Error (4): 'args.size()' (which is 2) must be equal to 3.")));
  const std::vector<S> wrongKinds = {S::numeric(1.0), S::numeric(1.0), S::numeric(1.0)};
  EXPECT_THAT([&] { static_cast<void>(linear<double>.evaluate(wrongKinds)); },
              ThrowsMessage<std::runtime_error>(StrEq("Invalid variant option")));
}

TEST(LinearTest, DetectsItsCallsWithValidArguments) {
  const ExpressionSymbol<double> e(
      Symbols<double>{S::numericVector(lib::denseVector<double>({1.0})), unit(1, 0),
                      S::numeric(0.0), S::functionCall(&linear<double>)});
  const auto args = linear<double>.detect(S::expression(e));
  ASSERT_TRUE(args.has_value());
  EXPECT_EQ(args->size(), 3U);
}

TEST(LinearTest, AddToReplacesAPickedVariable) {
  Symbols<double> symbols{S::numeric(7.0), variables(9, {10, 11, 12}), unit(3, 2), S::numeric(0.0)};
  EXPECT_TRUE(linear<double>.addTo(&symbols, 0));
  ASSERT_EQ(symbols.size(), 2U);
  EXPECT_DOUBLE_EQ(symbols[0].numeric(), 7.0);
  EXPECT_EQ(symbols[1].kind(), SymbolKind::kVariable);
  EXPECT_EQ(symbols[1].variable().ownerId, 9U);
  EXPECT_EQ(symbols[1].variable().index, 12);
}

TEST(LinearTest, AddToLeavesOtherCallsUnchanged) {
  struct Case {
    const char* what;
    Symbols<double> symbols;
    std::uint64_t count;
  };
  const Case cases[] = {
      {"b is not zero", {variables(9, {10, 11, 12}), unit(3, 2), S::numeric(0.5)}, 0},
      {"coefficient 2.0", {variables(9, {10, 11, 12}), unit(3, 2, 2.0), S::numeric(0.0)}, 0},
      {"a repeat count", {variables(9, {10, 11, 12}), unit(3, 2), S::numeric(0.0)}, 1},
      {"index beyond the variables", {variables(9, {10, 11}), unit(3, 2), S::numeric(0.0)}, 0},
      {"a dense unit vector",
       {variables(9, {10, 11, 12}), S::numericVector(lib::denseVector<double>({0, 0, 1})),
        S::numeric(0.0)},
       0},
      {"two stored coefficients",
       {variables(9, {10, 11, 12}), S::numericVector(lib::sparseVector<double>(3, {0, 2}, {1, 1})),
        S::numeric(0.0)},
       0},
      {"wrong order", {unit(3, 2), variables(9, {10, 11, 12}), S::numeric(0.0)}, 0},
      {"too short", {unit(3, 2), S::numeric(0.0)}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Symbols<double> symbols = c.symbols;
    EXPECT_FALSE(linear<double>.addTo(&symbols, c.count));
    ASSERT_EQ(symbols.size(), c.symbols.size());
    for (std::size_t k = 0; k < symbols.size(); ++k)
      EXPECT_EQ(symbols[k].kind(), c.symbols[k].kind());
  }
  EXPECT_FALSE(linear<double>.addTo(nullptr, 0));
}

}  // namespace
}  // namespace nuv::math::fn
