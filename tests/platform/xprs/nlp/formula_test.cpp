// Formulas in reverse-Polish tokens: their values against closed forms, their gradients against
// central differences, and the refusal of malformed token streams when they are added.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/formula_tokens.hpp"
#include "tests/support/standin_test.hpp"
#include "xprs_testing.hpp"

namespace {

using xprs_test::StandinTest;

using xprs_test::col;
using xprs_test::con;
using xprs_test::eof;
using xprs_test::fn;
using xprs_test::mark;
using xprs_test::op;
using xprs_test::Token;

using Closed = std::function<double(const std::vector<double>&)>;

class FormulaTest : public StandinTest {
 protected:
  // Three free columns and one 'N' row that carries the formulas.
  void SetUp() override {
    StandinTest::SetUp();
    const double lb[] = {-XPRS_PLUSINFINITY, -XPRS_PLUSINFINITY, -XPRS_PLUSINFINITY};
    ASSERT_EQ(XPRSaddcols64(prob_, 3, 0, nullptr, nullptr, nullptr, nullptr, lb, nullptr), 0);
    const char type[] = {'N'};
    ASSERT_EQ(XPRSaddrows64(prob_, 1, 0, type, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  }
  int add(int row, std::vector<Token> tokens, int parsed = 1) {
    return xprs_test::addFormula(prob_, row, std::move(tokens), parsed);
  }
};

// Points inside every domain used below: |x0| < 1 (arcsin, arccos), x2 > 0 (ln, log10, sqrt,
// division), x1 changes sign (abs, sign).
const std::vector<std::vector<double>> kPoints = {
    {0.3, 0.7, 1.9}, {-0.4, -0.2, 2.5}, {0.85, -1.6, 0.45}};

// The Hessian of a row as a dense symmetric matrix, from its pattern and values.
std::vector<std::vector<double>> dense(const xprs::testing::FormulaValue& v, std::size_t n) {
  std::vector<std::vector<double>> h(n, std::vector<double>(n, 0.0));
  for (std::size_t k = 0; k < v.hessian.size(); ++k) {
    const auto [a, b] = v.hessianPattern[k];
    h[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)] = v.hessian[k];
    h[static_cast<std::size_t>(b)][static_cast<std::size_t>(a)] = v.hessian[k];
  }
  return h;
}

// Second derivatives against central differences of the gradient (which the test above checks
// against the closed forms); entries outside the pattern count as 0.
void expectHessianMatchesDifferences(XPRSprob prob, int row, const std::vector<double>& x) {
  const auto at = xprs::testing::evalFormula(prob, row, x);
  const auto h = dense(at, x.size());
  for (std::size_t j = 0; j < x.size(); ++j) {
    const double step = 1e-5;
    std::vector<double> up = x, down = x;
    up[j] += step;
    down[j] -= step;
    const auto gu = xprs::testing::evalFormula(prob, row, up).gradient;
    const auto gd = xprs::testing::evalFormula(prob, row, down).gradient;
    for (std::size_t i = 0; i < x.size(); ++i) {
      const double diff = (gu[i] - gd[i]) / (2 * step);
      EXPECT_NEAR(h[i][j], diff, 1e-5 * std::max(1.0, std::fabs(diff)))
          << "entry " << i << ", " << j;
    }
  }
}

TEST_F(FormulaTest, EveryOperatorAndFunctionMatchesItsClosedFormAndDifferences) {
  using std::numbers::pi;
  struct Case {
    const char* what;
    std::vector<Token> tokens;
    Closed closed;
  };
  const Case cases[] = {
      {"negate", {col(0), op(XPRS_OP_UMINUS)}, [](auto& x) { return -x[0]; }},
      {"power of two columns",
       {col(2), col(0), op(XPRS_OP_EXPONENT)},
       [](auto& x) { return std::pow(x[2], x[0]); }},
      {"square as written for Square",
       {col(1), con(2.0), op(XPRS_OP_EXPONENT)},
       [](auto& x) { return x[1] * x[1]; }},
      {"cube", {col(1), con(3.0), op(XPRS_OP_EXPONENT)}, [](auto& x) { return std::pow(x[1], 3); }},
      {"constant base",
       {con(2.0), col(0), op(XPRS_OP_EXPONENT)},
       [](auto& x) { return std::pow(2.0, x[0]); }},
      {"multiply", {col(0), col(1), op(XPRS_OP_MULTIPLY)}, [](auto& x) { return x[0] * x[1]; }},
      {"divide", {col(0), col(2), op(XPRS_OP_DIVIDE)}, [](auto& x) { return x[0] / x[2]; }},
      {"add", {col(0), con(4.0), op(XPRS_OP_PLUS)}, [](auto& x) { return x[0] + 4; }},
      {"subtract, three arguments right to left",
       {col(0), col(1), col(2), op(XPRS_OP_MINUS), op(XPRS_OP_MINUS)},
       [](auto& x) { return x[0] - (x[1] - x[2]); }},
      {"log10", {mark(), col(2), fn(XPRS_IFUN_LOG10)}, [](auto& x) { return std::log10(x[2]); }},
      {"ln", {mark(), col(2), fn(XPRS_IFUN_LN)}, [](auto& x) { return std::log(x[2]); }},
      {"exp", {mark(), col(1), fn(XPRS_IFUN_EXP)}, [](auto& x) { return std::exp(x[1]); }},
      {"abs", {mark(), col(1), fn(XPRS_IFUN_ABS)}, [](auto& x) { return std::fabs(x[1]); }},
      {"sqrt", {mark(), col(2), fn(XPRS_IFUN_SQRT)}, [](auto& x) { return std::sqrt(x[2]); }},
      {"sin", {mark(), col(1), fn(XPRS_IFUN_SIN)}, [](auto& x) { return std::sin(x[1]); }},
      {"cos", {mark(), col(1), fn(XPRS_IFUN_COS)}, [](auto& x) { return std::cos(x[1]); }},
      {"tan", {mark(), col(1), fn(XPRS_IFUN_TAN)}, [](auto& x) { return std::tan(x[1]); }},
      {"arcsin", {mark(), col(0), fn(XPRS_IFUN_ARCSIN)}, [](auto& x) { return std::asin(x[0]); }},
      {"arccos", {mark(), col(0), fn(XPRS_IFUN_ARCCOS)}, [](auto& x) { return std::acos(x[0]); }},
      {"arctan", {mark(), col(1), fn(XPRS_IFUN_ARCTAN)}, [](auto& x) { return std::atan(x[1]); }},
      {"min as the plug-in writes it",
       {mark(), mark(), col(0), col(1), col(2), fn(XPRS_IFUN_MIN), fn(XPRS_IFUN_MIN)},
       [](auto& x) {
         return std::min({x[0], x[1], x[2]});
       }},
      {"max with one marker",
       {mark(), col(0), col(1), col(2), fn(XPRS_IFUN_MAX)},
       [](auto& x) {
         return std::max({x[0], x[1], x[2]});
       }},
      {"sign", {mark(), col(1), fn(XPRS_IFUN_SIGN)}, [](auto& x) { return x[1] > 0 ? 1.0 : -1.0; }},
      {"erf", {mark(), col(1), fn(XPRS_IFUN_ERF)}, [](auto& x) { return std::erf(x[1]); }},
      {"erfc", {mark(), col(1), fn(XPRS_IFUN_ERFC)}, [](auto& x) { return std::erfc(x[1]); }},
      {"sin(x0 + arctan(x1))",
       {mark(), col(0), mark(), col(1), fn(XPRS_IFUN_ARCTAN), op(XPRS_OP_PLUS), fn(XPRS_IFUN_SIN)},
       [](auto& x) { return std::sin(x[0] + std::atan(x[1])); }},
      {"x2 * exp(x0 * x1) / (1 + x1^2)",
       {col(2), mark(), col(0), col(1), op(XPRS_OP_MULTIPLY), fn(XPRS_IFUN_EXP),
        op(XPRS_OP_MULTIPLY), con(1), col(1), con(2), op(XPRS_OP_EXPONENT), op(XPRS_OP_PLUS),
        op(XPRS_OP_DIVIDE)},
       [](auto& x) { return x[2] * std::exp(x[0] * x[1]) / (1 + x[1] * x[1]); }},
  };
  for (std::size_t c = 0; c < std::size(cases); ++c) {
    SCOPED_TRACE(cases[c].what);
    // Each case on a row of its own.
    const char type[] = {'N'};
    ASSERT_EQ(XPRSaddrows64(prob_, 1, 0, type, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
    const int row = static_cast<int>(c) + 1;
    ASSERT_EQ(add(row, cases[c].tokens), 0) << lastError();
    for (const std::vector<double>& x : kPoints) {
      SCOPED_TRACE(testing::PrintToString(x));
      const auto at = xprs::testing::evalFormula(prob_, row, x);
      EXPECT_NEAR(at.value, cases[c].closed(x), 1e-12 * std::max(1.0, std::fabs(at.value)));
      ASSERT_EQ(at.gradient.size(), 3u);
      for (int j = 0; j < 3; ++j) {
        const double h = 1e-6;
        std::vector<double> up = x, down = x;
        up[static_cast<std::size_t>(j)] += h;
        down[static_cast<std::size_t>(j)] -= h;
        const double diff = (cases[c].closed(up) - cases[c].closed(down)) / (2 * h);
        EXPECT_NEAR(at.gradient[static_cast<std::size_t>(j)], diff,
                    1e-6 * std::max(1.0, std::fabs(diff)))
            << "column " << j;
      }
      expectHessianMatchesDifferences(prob_, row, x);
    }
  }
}

TEST_F(FormulaTest, FormulasOfOneRowAddUpAndOtherRowsStayApart) {
  ASSERT_EQ(add(0, {col(0), col(1), op(XPRS_OP_MULTIPLY)}), 0);
  ASSERT_EQ(add(-1, {mark(), col(2), fn(XPRS_IFUN_EXP)}), 0);
  ASSERT_EQ(add(0, {col(2), con(3), op(XPRS_OP_EXPONENT)}), 0);
  ASSERT_EQ(add(0, {}), 0);  // the end token alone: the constant 0
  const std::vector<double> x = {2, -3, 0.5};
  const auto row = xprs::testing::evalFormula(prob_, 0, x);
  EXPECT_DOUBLE_EQ(row.value, -6 + 0.125);
  EXPECT_THAT(row.gradient, testing::ElementsAre(-3, 2, testing::DoubleEq(0.75)));
  const auto objective = xprs::testing::evalFormula(prob_, -1, x);
  EXPECT_DOUBLE_EQ(objective.value, std::exp(0.5));
  EXPECT_THAT(objective.gradient, testing::ElementsAre(0, 0, testing::DoubleEq(std::exp(0.5))));
  EXPECT_THROW((void)xprs::testing::evalFormula(prob_, 1, x), std::invalid_argument);
  EXPECT_THROW((void)xprs::testing::evalFormula(prob_, 0, std::vector<double>{1, 2}),
               std::invalid_argument);
}

TEST_F(FormulaTest, HessianPatternHoldsOnlyPairsWithCurvature) {
  struct Case {
    const char* what;
    std::vector<Token> tokens;
    std::vector<std::pair<int, int>> pattern;
  };
  const Case cases[] = {
      {"x0 * x1 + sin(x2)",
       {col(0), col(1), op(XPRS_OP_MULTIPLY), mark(), col(2), fn(XPRS_IFUN_SIN), op(XPRS_OP_PLUS)},
       {{1, 0}, {2, 2}}},
      {"abs(x0) * x1: abs itself is flat",
       {mark(), col(0), fn(XPRS_IFUN_ABS), col(1), op(XPRS_OP_MULTIPLY)},
       {{1, 0}}},
      {"x2 ^ 3 + 2 ^ x1: constant exponent or base",
       {col(2), con(3), op(XPRS_OP_EXPONENT), con(2), col(1), op(XPRS_OP_EXPONENT),
        op(XPRS_OP_PLUS)},
       {{1, 1}, {2, 2}}},
      {"sign(x0 * x1) * x2: nothing passes through sign",
       {mark(), col(0), col(1), op(XPRS_OP_MULTIPLY), fn(XPRS_IFUN_SIGN), col(2),
        op(XPRS_OP_MULTIPLY)},
       {}},
      {"exp(x0 + x0): one column twice",
       {mark(), col(0), col(0), op(XPRS_OP_PLUS), fn(XPRS_IFUN_EXP)},
       {{0, 0}}},
      {"linear", {col(0), col(1), op(XPRS_OP_MINUS), con(3), op(XPRS_OP_MULTIPLY)}, {}},
  };
  for (std::size_t c = 0; c < std::size(cases); ++c) {
    SCOPED_TRACE(cases[c].what);
    ASSERT_EQ(XPRSaddrows64(prob_, 1, 0, "N", nullptr, nullptr, nullptr, nullptr, nullptr), 0);
    const int row = static_cast<int>(c) + 1;
    ASSERT_EQ(add(row, cases[c].tokens), 0) << lastError();
    const std::vector<double> x = {0.5, -1.5, 2.0};
    EXPECT_EQ(xprs::testing::evalFormula(prob_, row, x).hessianPattern, cases[c].pattern);
    expectHessianMatchesDifferences(prob_, row, x);
  }
}

TEST_F(FormulaTest, KinksAndDomainEdgesGiveTheDocumentedChoices) {
  ASSERT_EQ(add(0, {mark(), col(0), fn(XPRS_IFUN_ABS)}), 0);
  ASSERT_EQ(add(0, {mark(), col(1), col(0), fn(XPRS_IFUN_MAX)}), 0);
  const auto kink = xprs::testing::evalFormula(prob_, 0, std::vector<double>{0, 0, 0});
  EXPECT_EQ(kink.value, 0.0);
  // abs has slope 0 at 0; max follows the first of two equal arguments (x1).
  EXPECT_THAT(kink.gradient, testing::ElementsAre(0, 1, 0));
  ASSERT_EQ(add(-1, {mark(), col(2), fn(XPRS_IFUN_LN)}), 0);
  const auto outside = xprs::testing::evalFormula(prob_, -1, std::vector<double>{0, 0, -1});
  EXPECT_TRUE(std::isnan(outside.value));
  // x^1 and x^0 at 0 keep finite derivatives.
  ASSERT_EQ(XPRSaddrows64(prob_, 1, 0, "N", nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  ASSERT_EQ(add(1, {col(0), con(1), op(XPRS_OP_EXPONENT), col(1), con(0), op(XPRS_OP_EXPONENT),
                    op(XPRS_OP_PLUS)}),
            0);
  const auto powers = xprs::testing::evalFormula(prob_, 1, std::vector<double>{0, 0, 0});
  EXPECT_EQ(powers.value, 1.0);
  EXPECT_THAT(powers.gradient, testing::ElementsAre(1, 0, 0));
}

TEST_F(FormulaTest, RefusesMalformedStreamsWithExactTextsAndStoresNothing) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    const char* what;
    std::vector<Token> tokens;
    int parsed;
    std::string text;
  };
  const Case cases[] = {
      {"operator short of operands",
       {col(0), op(XPRS_OP_PLUS)},
       1,
       "operator 5 without both operands in token 1 of formula 0"},
      {"negation of nothing",
       {op(XPRS_OP_UMINUS)},
       1,
       "operator 1 without its operand in token 0 of formula 0"},
      {"operator reaching over a marker",
       {col(0), mark(), col(1), op(XPRS_OP_MULTIPLY)},
       1,
       "operator 3 without both operands in token 3 of formula 0"},
      {"function without marker",
       {col(0), fn(XPRS_IFUN_SIN)},
       1,
       "function 27 without argument marker in token 1 of formula 0"},
      {"sin of two values",
       {mark(), col(0), col(1), fn(XPRS_IFUN_SIN)},
       1,
       "function 27 with 2 arguments in token 3 of formula 0"},
      {"max of nothing",
       {mark(), fn(XPRS_IFUN_MAX)},
       1,
       "function 34 with 0 arguments in token 1 of formula 0"},
      {"two values left", {col(0), col(1)}, 1, "2 values left at the end in token 2 of formula 0"},
      {"marker left",
       {mark(), col(0)},
       1,
       "argument marker without function at the end in token 2 of formula 0"},
      {"end token inside",
       {col(0), eof(), col(1), eof()},
       1,
       "token EOF before the end in token 1 of formula 0"},
      {"sum function",
       {mark(), col(0), fn(36)},
       1,
       "unsupported internal function 36 in token 2 of formula 0"},
      {"function number beyond int",
       {mark(), col(0), {XPRS_TOK_IFUN, 1e224}},
       1,
       "unsupported internal function 1e+224 in token 2 of formula 0"},
      {"user function",
       {mark(), col(0), {XPRS_TOK_FUN, 1}},
       1,
       "unsupported user function 1 in token 2 of formula 0"},
      {"left bracket",
       {{XPRS_TOK_LB, 0}, col(0), mark()},
       1,
       "left bracket in a parsed formula in token 0 of formula 0"},
      {"delimiter",
       {mark(), col(0), {XPRS_TOK_DEL, XPRS_DEL_COMMA}, col(1), fn(XPRS_IFUN_MAX)},
       1,
       "unsupported delimiter in token 2 of formula 0"},
      {"infinite constant", {con(inf)}, 1, "invalid constant inf in token 0 of formula 0"},
      {"column out of range", {col(3)}, 1, "invalid column 3 in token 0 of formula 0"},
      {"fractional column", {{XPRS_TOK_COL, 0.5}}, 1, "invalid column 0.5 in token 0 of formula 0"},
      {"infix form", {col(0)}, 0, "unparsed formulas are not supported (parsed is 0)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(add(0, c.tokens, c.parsed), 32);
    EXPECT_EQ(lastError(), std::string("XPRSnlpaddformulas: ") + c.text);
  }
  // A bad second formula refuses the whole call.
  const int rows[] = {0, 0};
  const int start[] = {0, 2, 4};
  const int type[] = {XPRS_TOK_COL, XPRS_TOK_EOF, XPRS_TOK_OP, XPRS_TOK_EOF};
  const double value[] = {0, 0, XPRS_OP_MINUS, 0};
  EXPECT_EQ(XPRSnlpaddformulas(prob_, 2, rows, start, 1, type, value), 32);
  EXPECT_EQ(lastError(),
            "XPRSnlpaddformulas: operator 6 without both operands in token 0 of formula 1");
  EXPECT_TRUE(xprs::testing::inspect(prob_).model.formulas.empty());
}

}  // namespace
