#include "nuv/math/symbol.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

#include "nuv/exception.hpp"
#include "nuv/idx/lib/list.hpp"
#include "nuv/math/expression.hpp"
#include "nuv/math/lib/dense_vector.hpp"
#include "nuv/math/lib/sparse_matrix.hpp"
#include "tests/nuv/math/test_function.hpp"

namespace nuv::math {
namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;
using S = Symbol<double>;

const testing::TestFunction& vectorFunction() {
  static const testing::TestFunction function(
      {.tag = "test:vector", .inputs = {1}, .dimension = 1});
  return function;
}

idx::List listOf(std::initializer_list<Index> entries) {
  return idx::List(std::make_shared<const idx::lib::List>(entries));
}

TEST(SymbolTest, KindsAnswerNameAndDimension) {
  const ExpressionSymbol<double> vectorExpression(Symbols<double>{
      S::numericVector(lib::denseVector<double>({1.0})), S::functionCall(&vectorFunction())});
  struct Case {
    const char* what;
    S symbol;
    SymbolKind kind;
    const char* name;
    std::uint32_t dimension;
  };
  const Case cases[] = {
      {"variable", S::variable(7, 3), SymbolKind::kVariable, "Variable", 0},
      {"variable vector", S::fromWords(1, 5, 6), SymbolKind::kVariableVector, "Variable", 1},
      {"variable matrix", S::fromWords(2, 5, 6), SymbolKind::kVariableMatrix, "Variable", 2},
      {"number", S::numeric(2.5), SymbolKind::kNumeric, "Numeric", 0},
      {"numeric vector", S::numericVector(lib::denseVector<double>({1.0, 2.0})),
       SymbolKind::kNumericVector, "Numeric", 1},
      {"numeric matrix", S::numericMatrix(Matrix<double>()), SymbolKind::kNumericMatrix, "Numeric",
       2},
      {"vector of variables", S::vectorOfVariables(7, listOf({1, 2})),
       SymbolKind::kVectorOfVariables, "VectorOfVariables", 1},
      {"function", S::function(&vectorFunction()), SymbolKind::kFunction, "Function", 1},
      {"function call", S::functionCall(&vectorFunction()), SymbolKind::kFunctionCall,
       "FunctionCall", 1},
      {"expression: its last symbol", S::expression(vectorExpression), SymbolKind::kExpression,
       "Expression", 1},
      {"empty expression", S::expression(ExpressionSymbol<double>()), SymbolKind::kExpression,
       "Expression", 0},
      {"window: its last symbol", S::expressionView(vectorExpression, 0, 1),
       SymbolKind::kExpressionView, "ExpressionView", 1},
      {"empty window", S::expressionView(vectorExpression, 1, 0), SymbolKind::kExpressionView,
       "ExpressionView", 0},
      {"unknown kind byte", S::fromWords(11, 1, 2), static_cast<SymbolKind>(11), "", 0},
      {"default symbol", S(), SymbolKind::kNumeric, "Numeric", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.symbol.kind(), c.kind);
    EXPECT_EQ(c.symbol.name(), c.name);
    EXPECT_EQ(c.symbol.dimension(), c.dimension);
  }
}

TEST(SymbolTest, PayloadAccessorsReadWhatWasStored) {
  const S variable = S::variable(42, -3);
  EXPECT_EQ(variable.variable().ownerId, 42U);
  EXPECT_EQ(variable.variable().index, -3);
  EXPECT_DOUBLE_EQ(S::numeric(-1.25).numeric(), -1.25);
  EXPECT_DOUBLE_EQ(S().numeric(), 0.0);
  const std::array<std::uint64_t, 2> words = S::fromWords(2, 9, 10).words();
  EXPECT_EQ(words[0], 9U);
  EXPECT_EQ(words[1], 10U);
  const S call = S::functionCall(&vectorFunction(), 4);
  EXPECT_EQ(call.functionCall().function, &vectorFunction());
  EXPECT_EQ(call.functionCall().repeatCount, 4U);
  EXPECT_EQ(call.function().tag(), "test:vector");
  const S variables = S::vectorOfVariables(5, listOf({10, 11}));
  EXPECT_EQ(variables.vectorOfVariables().ownerId, 5U);
  EXPECT_EQ(variables.vectorOfVariables().indices[1], 11);
  EXPECT_EQ(variables.vectorOfVariablesIf(), &variables.vectorOfVariables());
  const S matrix = S::numericMatrix(lib::sparseMatrix<double>(1, 1, {0}, {0}, {2.0}));
  EXPECT_EQ(matrix.numericMatrix().data(1).entryCount(), 1U);
}

TEST(SymbolTest, ReadingAnotherKindsPayloadRaisesInvalidVariantOption) {
  const S number = S::numeric(1.0);
  const S variable = S::variable(1, 1);
  struct Case {
    const char* what;
    std::function<void()> read;
  };
  const Case cases[] = {
      {"variable of a number", [&] { static_cast<void>(number.variable()); }},
      {"number of a variable", [&] { static_cast<void>(variable.numeric()); }},
      {"vector of a number", [&] { static_cast<void>(number.numericVector()); }},
      {"matrix of a number", [&] { static_cast<void>(number.numericMatrix()); }},
      {"variables of a number", [&] { static_cast<void>(number.vectorOfVariables()); }},
      {"function of a number", [&] { static_cast<void>(number.function()); }},
      {"call of a function",
       [] { static_cast<void>(S::function(&vectorFunction()).functionCall()); }},
      {"expression of a number", [&] { static_cast<void>(number.expression()); }},
      {"window of a number", [&] { static_cast<void>(number.expressionView()); }},
      {"words of a variable", [&] { static_cast<void>(variable.words()); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_THAT(c.read, ThrowsMessage<std::runtime_error>(StrEq("Invalid variant option")));
  }
  // The word payload of kind 1 must not pass for a variable list.
  EXPECT_EQ(number.vectorOfVariablesIf(), nullptr);
  EXPECT_EQ(S::fromWords(1, 7, 8).vectorOfVariablesIf(), nullptr);
}

TEST(SymbolTest, FactoriesRefuseUnsafePayloads) {
  EXPECT_THAT(
      [] { S::function(nullptr); },
      ThrowsMessage<CheckException>(StrEq("Check Error (3): 'function' must not be null.")));
  EXPECT_THAT([] { S::fromWords(4, 1, 2); }, ::testing::Throws<CheckException>());
  const ExpressionSymbol<double> two(Symbols<double>{S(), S()});
  EXPECT_THAT([&] { S::expressionView(two, 1, 2); },
              ThrowsMessage<CheckException>(
                  StrEq("Check Error (6): 'size' (which is 2) must be less or equal to 1.")));
}

TEST(SymbolTest, CopiesShareAndReleasesBalanceThePayload) {
  auto variables = std::make_shared<const VectorOfVariablesSymbol<double>>(
      VectorOfVariablesSymbol<double>{3, listOf({1})});
  {
    S first = S::vectorOfVariables(variables);
    EXPECT_EQ(variables.use_count(), 2);
    S second = first;
    EXPECT_EQ(variables.use_count(), 3);
    S third = std::move(second);
    EXPECT_EQ(variables.use_count(), 3);
    EXPECT_EQ(second.kind(), SymbolKind::kVectorOfVariables);
    EXPECT_THAT([&] { static_cast<void>(second.vectorOfVariables()); },
                ThrowsMessage<std::runtime_error>(StrEq("Invalid variant option")));
    EXPECT_EQ(second.vectorOfVariablesIf(), nullptr);
    EXPECT_EQ(third.vectorOfVariablesIf(), variables.get());
    third.freeSymbol();
    EXPECT_EQ(variables.use_count(), 2);
    third.freeSymbol();
    EXPECT_EQ(variables.use_count(), 2);
    third = first;
    EXPECT_EQ(variables.use_count(), 3);
    first = S::numeric(1.0);
    EXPECT_EQ(variables.use_count(), 2);
  }
  EXPECT_EQ(variables.use_count(), 1);
}

TEST(SymbolTest, FreeSymbolLeavesPlainKindsAlone) {
  S number = S::numeric(3.0);
  number.freeSymbol();
  EXPECT_DOUBLE_EQ(number.numeric(), 3.0);
  S vector = S::numericVector(lib::denseVector<double>({1.0}));
  vector.freeSymbol();
  EXPECT_TRUE(vector.numericVector().empty());
}

}  // namespace
}  // namespace nuv::math
