#include "nuv/math/expression.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "nuv/exception.hpp"
#include "nuv/math/fn/abstract.hpp"
#include "nuv/math/lib/dense_vector.hpp"
#include "nuv/math/symbol.hpp"
#include "tests/nuv/math/test_function.hpp"

namespace nuv::math {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::StrEq;
using ::testing::ThrowsMessage;
using S = Symbol<double>;
using testing::TestFunction;

// Scalar functions: two fixed inputs; a variadic associative sum; a variadic associative function
// whose first input is fixed.
const TestFunction kF2({.tag = "test:f2", .inputs = {0, 0}});
const TestFunction kG2({.tag = "test:g2", .inputs = {0, 0}});
const TestFunction kSum({.tag = "test:sum", .inputs = {0}, .variadic = true, .associative = true});
const TestFunction kHead(
    {.tag = "test:head", .inputs = {0, 0}, .variadic = true, .associative = true});
const TestFunction kPair({.tag = "test:pair", .inputs = {0, 0}, .associative = true});

S x() { return S::variable(1, 0); }
S y() { return S::variable(1, 1); }
S z() { return S::variable(1, 2); }
S num(double value) { return S::numeric(value); }
S call(const TestFunction& function, std::uint64_t repeat = 0) {
  return S::functionCall(&function, repeat);
}

// The model index of a Variable symbol, or -1 for a number, or -100 - start for a window.
int label(const S& symbol) {
  switch (symbol.kind()) {
    case SymbolKind::kVariable:
      return symbol.variable().index;
    case SymbolKind::kNumeric:
      return -1;
    case SymbolKind::kExpressionView:
      return -100 - static_cast<int>(symbol.expressionView().start);
    default:
      return -1000;
  }
}

std::vector<int> labels(const std::vector<S>& symbols) {
  std::vector<int> out;
  for (const S& symbol : symbols) out.push_back(label(symbol));
  return out;
}

TEST(ExpressionViewTest, ArgumentStartsOfNestedCalls) {
  // G2(z, F2(x, y)) in postfix order: z x y F2 G2.
  const ExpressionSymbol<double> e(Symbols<double>{z(), x(), y(), call(kF2), call(kG2)});
  const ExpressionView<double> whole = e.view();
  struct Case {
    const char* what;
    std::uint64_t index;
    bool includeFirst;
    std::vector<std::uint64_t> starts;
  };
  const Case cases[] = {
      {"root", 4, true, {0, 1, 4}},
      {"nested call", 3, true, {1, 2, 3}},
      {"nested call without its first start", 3, false, {0, 2, 3}},
      {"leaf", 1, true, {1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(whole.argumentStarts(c.index, c.includeFirst), c.starts);
  }
  // Positions are those of the window: x y F2 from position 1 on.
  EXPECT_THAT(ExpressionView<double>(e, 1, 3).argumentStarts(2, true), ElementsAre(0, 1, 2));
  EXPECT_THAT([&] { static_cast<void>(whole.argumentStarts(5, true)); },
              ThrowsMessage<CheckException>(
                  StrEq("Check Error (5): 'index' (which is 5) must be less than 5.")));
}

TEST(ExpressionViewTest, ArgumentStartsOfVariadicCallsAndParameters) {
  const TestFunction scaled({.tag = "test:scaled", .inputs = {0}, .params = {1}});
  // sum(x, y, scaled(z, 2.0)) with a repeat count of 3.
  const ExpressionSymbol<double> e(
      Symbols<double>{x(), y(), z(), num(2.0), S::functionCall(&scaled), call(kSum, 3)});
  EXPECT_THAT(e.view().argumentStarts(5, true), ElementsAre(0, 1, 2, 5));
  EXPECT_THAT(e.view().argumentStarts(4, true), ElementsAre(2, 3, 4));
  // With one argument and includeFirst false nothing is searched.
  EXPECT_THAT(e.view().argumentStarts(5, false), ElementsAre(0, 1, 2, 5));
  const ExpressionSymbol<double> single(Symbols<double>{x(), y(), call(kSum, 1)});
  EXPECT_THAT(single.view().argumentStarts(2, false), ElementsAre(0, 2));
  EXPECT_THAT(single.view().argumentStarts(2, true), ElementsAre(1, 2));
}

TEST(ExpressionViewTest, RefusesWindowsBeyondTheSequence) {
  const Symbols<double> two{x(), y()};
  EXPECT_THAT([&] { ExpressionView<double>(&two, 3, 0); },
              ThrowsMessage<CheckException>(
                  StrEq("Check Error (6): 'start' (which is 3) must be less or equal to 2.")));
  EXPECT_THAT([] { ExpressionView<double>(nullptr, 0, 1); }, ::testing::Throws<CheckException>());
}

TEST(ExpressionSymbolTest, ArgumentsAreCopiesOrSharedWindows) {
  const Vector<double> coefficients = lib::denseVector<double>({1.0});
  // G2(F2(x, y), v) with a numeric vector v.
  const ExpressionSymbol<double> e(
      Symbols<double>{x(), y(), call(kF2), S::numericVector(coefficients), call(kG2)});
  const long sharesBefore = e.shared().use_count();
  const long vectorSharesBefore = coefficients.shared().use_count();
  std::vector<S> args = e.arguments(4, true);
  ASSERT_EQ(args.size(), 2U);
  EXPECT_EQ(args[0].kind(), SymbolKind::kExpressionView);
  EXPECT_EQ(args[0].expressionView().start, 0U);
  EXPECT_EQ(args[0].expressionView().size, 3U);
  EXPECT_EQ(args[0].expressionView().expression.sequence(), e.sequence());
  EXPECT_EQ(e.shared().use_count(), sharesBefore + 1);
  EXPECT_EQ(args[1].kind(), SymbolKind::kNumericVector);
  EXPECT_EQ(coefficients.shared().use_count(), vectorSharesBefore + 1);

  std::vector<S> appended{num(9.0)};
  e.arguments(&appended, 2, true);
  EXPECT_THAT(labels(appended), ElementsAre(-1, 0, 1));
  e.arguments(nullptr, 2, true);
  EXPECT_TRUE(e.arguments(0, true).empty());
}

TEST(ExpressionSymbolTest, AssociativeArgumentsFlattenNestedCalls) {
  const S inner = S::expression(ExpressionSymbol<double>(Symbols<double>{x(), y(), call(kSum, 2)}));
  struct Case {
    const char* what;
    Symbols<double> symbols;
    std::vector<int> labels;
  };
  const Case cases[] = {
      {"f(f(x, y), z)", {x(), y(), call(kSum, 2), z(), call(kSum, 2)}, {0, 1, 2}},
      {"f(f(f(x, y), z), x)",
       {x(), y(), call(kSum, 2), z(), call(kSum, 2), x(), call(kSum, 2)},
       {0, 1, 2, 0}},
      {"f(z, f(x, y)): later calls flatten too",
       {z(), x(), y(), call(kSum, 2), call(kSum, 2)},
       {2, 0, 1}},
      {"a call of another function stays one argument",
       {x(), y(), call(kG2), z(), call(kSum, 2)},
       {-100, 2}},
      {"a nested Expression symbol flattens", {inner, z(), call(kSum, 2)}, {0, 1, 2}},
      {"not associative", {x(), y(), call(kF2), z(), call(kG2)}, {-100, 2}},
      {"two fixed inputs: unchanged", {x(), y(), call(kPair), z(), call(kPair)}, {-100, 2}},
      {"one fixed input: the first argument flattens",
       {x(), y(), z(), call(kHead, 2), x(), call(kHead, 1)},
       {0, 1, 2, 0}},
      {"one fixed input: the walk ends at the first plain argument",
       {z(), x(), y(), call(kHead, 1), call(kHead, 1)},
       {2, -101}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ExpressionSymbol<double> e(c.symbols);
    EXPECT_THAT(labels(e.associativeArguments(c.symbols.size() - 1, true)),
                ElementsAreArray(c.labels));
  }
}

TEST(FunctionTest, ValidateChecksCountDimensionsAndParameterTypes) {
  const TestFunction vectorAndNumber({.tag = "t:vn", .inputs = {1}, .params = {1}});
  const TestFunction never({.tag = "t:never", .params = {0}});
  const TestFunction anything({.tag = "t:any", .params = {7, 4, 3}});
  const TestFunction variadic({.tag = "t:var", .inputs = {0, 1}, .params = {2}, .variadic = true});
  const S vector = S::numericVector(lib::denseVector<double>({1.0}));
  const S function = S::function(&kF2);
  const S matrix = S::numericMatrix(Matrix<double>());
  struct Case {
    const char* what;
    const fn::Abstract<double>* function;
    std::vector<S> args;
    bool valid;
  };
  const Case cases[] = {
      {"two scalars", &kF2, {x(), num(1.0)}, true},
      {"one too many", &kF2, {x(), y(), z()}, false},
      {"a vector for a scalar input", &kF2, {x(), vector}, false},
      {"vector input and number parameter", &vectorAndNumber, {vector, num(2.0)}, true},
      {"a vector where a number is expected", &vectorAndNumber, {vector, vector}, false},
      {"parameter type 0 never matches", &never, {num(1.0)}, false},
      {"types 4, 3 and above 4", &anything, {x(), function, matrix}, true},
      {"a number where a function is expected", &anything, {x(), num(1.0), matrix}, false},
      {"variadic, no repetition", &variadic, {x(), vector}, true},
      {"variadic, repeated vectors", &variadic, {x(), vector, vector, vector}, true},
      {"variadic, a repeated scalar", &variadic, {x(), vector, y(), vector}, false},
      {"variadic, fewer than fixed inputs and parameters", &variadic, {vector}, false},
      {"variadic, nothing", &variadic, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.function->validate(c.args), c.valid);
  }
}

TEST(FunctionTest, DetectFindsValidatedCallsOfItsOwnTag) {
  const ExpressionSymbol<double> sum(Symbols<double>{x(), y(), call(kSum, 2), z(), call(kSum, 2)});
  const std::optional<std::vector<S>> found = kSum.detect(S::expression(sum));
  ASSERT_TRUE(found.has_value());
  EXPECT_THAT(labels(*found), ElementsAre(0, 1, 2));

  const std::optional<std::vector<S>> inWindow = kSum.detect(S::expressionView(sum, 0, 3));
  ASSERT_TRUE(inWindow.has_value());
  EXPECT_THAT(labels(*inWindow), ElementsAre(0, 1));

  struct Case {
    const char* what;
    S symbol;
  };
  const Case cases[] = {
      {"not an expression", x()},
      {"empty expression", S::expression(ExpressionSymbol<double>(Symbols<double>{}))},
      {"empty window", S::expressionView(sum, 2, 0)},
      {"root is not a call", S::expression(ExpressionSymbol<double>(Symbols<double>{x()}))},
      {"call of another function",
       S::expression(ExpressionSymbol<double>(Symbols<double>{x(), y(), call(kF2)}))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(kSum.detect(c.symbol).has_value());
  }
  // A call of F2 whose arguments do not validate is not detected.
  const S vector = S::numericVector(lib::denseVector<double>({1.0}));
  EXPECT_FALSE(
      kF2.detect(S::expression(ExpressionSymbol<double>(Symbols<double>{x(), vector, call(kF2)})))
          .has_value());
}

}  // namespace
}  // namespace nuv::math
