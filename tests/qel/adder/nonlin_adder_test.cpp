// The nonlinear adders and the conversion of expressions into formula tokens.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <stdexcept>
#include <utility>
#include <vector>

#include "nuv/math/fn/linear.hpp"
#include "nuv/opt/keys.hpp"
#include "qel/adder/nonlin_constr_adder.hpp"
#include "qel/adder/nonlin_obj_adder.hpp"
#include "tests/qel/adder/adder_fixture.hpp"
#include "tests/support/formula_tokens.hpp"

namespace qel_test {
namespace {

using ::testing::ElementsAre;
using ::testing::StrEq;
using ::testing::ThrowsMessage;
using namespace xprs_test;  // the token builders col, con, fn, mark, op
namespace xt = xprs::testing;
namespace arg = nuv::opt::identity_function;

using NonlinAdderTest = AdderTest;

TEST_F(NonlinAdderTest, RowsHoldFormulasThatMeanTheirExpressions) {
  addColumns(3);
  const Sym x = Sym::variable(data_->varAdderId, 0), y = Sym::variable(data_->varAdderId, 1),
            z = Sym::variable(data_->varAdderId, 2), linear = call(nuv::math::fn::linear<double>);
  const auto num = [](double v) { return Sym::numeric(v); };
  const auto vec = [](Vec a) { return Sym::numericVector(std::move(a)); };
  struct Case {
    Sym expression;
    std::vector<Token> tokens;
    std::function<double(const double*)> value;  // at x, y, z and the two new columns
  };
  const Case cases[] = {
      {expr({x, num(2.0), y, call(fns::multiply), call(fns::add)}),
       {col(0), con(2.0), col(1), op(3), op(5), eof()},
       [](const double* p) { return p[0] + 2.0 * p[1]; }},
      {expr({x, y, call(fns::arcTan), call(fns::add), call(fns::sin)}),
       {mark(), col(0), mark(), col(1), fn(32), op(5), fn(27), eof()},
       [](const double* p) { return std::sin(p[0] + std::atan(p[1])); }},
      {expr({x, y, z, call(fns::max, 3), y, call(fns::min, 1), call(fns::square), call(fns::add)}),
       {mark(), mark(), col(0), col(1), col(2), fn(34), fn(34), col(1), con(2.0), op(2), op(5),
        eof()},
       [](const double* p) {
         return std::max({p[0], p[1], p[2]}) + p[1] * p[1];
       }},
      {expr({x, y, z, call(fns::subtract, 3), call(fns::negate)}),
       {col(0), col(1), col(2), op(5), op(6), op(1), eof()},
       [](const double* p) { return -(p[0] - p[1] - p[2]); }},
      {expr({x, y, z, x, call(fns::divide, 4)}),
       {col(0), col(1), col(2), col(0), op(3), op(3), op(4), eof()},
       [](const double* p) { return p[0] / p[1] / p[2] / p[0]; }},
      {expr({expr({x, y, call(fns::multiply)}), call(fns::exp), z, call(fns::add)}),
       {mark(), col(0), col(1), op(3), fn(16), col(2), op(5), eof()},
       [](const double* p) { return std::exp(p[0] * p[1]) + p[2]; }},
      {expr({own({1, 0}), vec(sparse(2, {0, 1}, {2.0, -1.0})), num(3.0), linear, call(fns::sin),
             own({2}), vec(Vec()), num(0.5), linear, call(fns::multiply)}),
       {mark(), col(3), fn(27), col(4), op(3), eof()},
       [](const double* p) { return std::sin(p[3]) * p[4]; }},
  };
  std::vector<Sym> expressions;
  std::vector<int> types;
  for (const Case& c : cases) {
    expressions.push_back(c.expression);
    types.push_back(static_cast<int>(types.size() % 3));
  }
  xt::clearCalls();
  const nuv::idx::List rows = qel::NonlinConstrAdder(data_).add(
      constraintBatch({{arg::argument, syms(expressions)}}, {{0, ints(types)}}));
  EXPECT_THAT(*rows.viewVector(), ElementsAre(0, 1, 2, 3, 4, 5, 6));
  EXPECT_EQ(xt::countCalls("XPRSnlpaddformulas"), 1u);
  // The new columns and their rows follow the batch.
  EXPECT_THAT(*data_->linConList->viewVector(), ElementsAre(7, 8));
  EXPECT_THAT(model().rowType, ElementsAre('G', 'L', 'E', 'G', 'L', 'E', 'G', 'E', 'E'));
  EXPECT_THAT(model().rowRhs, ElementsAre(0, 0, 0, 0, 0, 0, 0, -3.0, -0.5));
  EXPECT_THAT(model().elemRow, ElementsAre(7, 7, 7, 8));
  EXPECT_THAT(model().elemCol, ElementsAre(1, 0, 3, 4));
  EXPECT_THAT(model().elemVal, ElementsAre(2.0, -1.0, -1.0, -1.0));
  EXPECT_EQ(model().colLb.at(4), -1e20);
  const double point[] = {0.3, 1.7, 2.9, 0.4, 1.1};
  ASSERT_EQ(model().formulas.size(), std::size(cases));
  for (std::size_t k = 0; k < std::size(cases); ++k) {
    SCOPED_TRACE(k);
    std::vector<int> types;
    std::vector<double> values;
    for (const Token t : cases[k].tokens) {
      types.push_back(t.type);
      values.push_back(t.value);
    }
    EXPECT_EQ(model().formulas[k].type, types);
    EXPECT_EQ(model().formulas[k].value, values);
    EXPECT_NEAR(xt::evalFormula(data_->prob->rawProb(), static_cast<int>(k), point).value,
                cases[k].value(point), 1e-12);
  }
}

TEST_F(NonlinAdderTest, ObjectiveIsAFreeColumnBoundToItsFormulaByAnEqualityRow) {
  addColumns(2);
  const Sym x = Sym::variable(data_->varAdderId, 0), y = Sym::variable(data_->varAdderId, 1);
  const auto objective = [this](Sym f) {
    return qel::NonlinObjAdder(data_).add(
        constraintBatch({{0, syms({f})}}, {{0, ints({1})}}, {{0, strs({"f"})}}));
  };
  qel::NonlinConstrAdder(data_).add(constraintBatch({{0, syms({expr({x})})}}, {{0, ints({0})}}));
  EXPECT_THAT(*objective(expr({x, y, call(fns::multiply)})).viewVector(), ElementsAre(0));
  EXPECT_EQ(data_->varList->size(), 3);
  EXPECT_THAT(*data_->linConList->viewVector(), ElementsAre(1));
  EXPECT_EQ(model().objectives[0].coef[2], 1.0);  // also when maximising
  EXPECT_EQ(model().sense, -1);
  EXPECT_EQ(model().colLb[2], -1e20);
  EXPECT_EQ(model().rowType[1], 'E');
  EXPECT_THAT(model().elemCol, ElementsAre(2));
  EXPECT_THAT(model().elemVal, ElementsAre(-1.0));
  EXPECT_THAT(model().objNames, ElementsAre("f"));
  EXPECT_EQ(xt::evalFormula(data_->prob->rawProb(), 1, std::vector<double>{3, 5, 0}).value, 15.0);

  // A number in place of the expression is found once the column and the row exist.
  data_->clear();
  addColumns(2);
  EXPECT_THAT([&] { objective(Sym::numeric(1.0)); },
              ThrowsMessage<std::runtime_error>(StrEq("Invalid variant option")));
  EXPECT_EQ(model().cols(), 3);
  EXPECT_EQ(model().rows(), 1);
}

}  // namespace
}  // namespace qel_test
