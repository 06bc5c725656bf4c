// Batches the quadratic, indicator and nonlinear adders refuse, and mixes of objectives.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "nuv/math/fn/linear.hpp"
#include "nuv/opt/support_exception.hpp"
#include "qel/adder/indic_constr_adder.hpp"
#include "qel/adder/lin_constr_adder.hpp"
#include "qel/adder/lin_obj_adder.hpp"
#include "qel/adder/nonlin_constr_adder.hpp"
#include "qel/adder/nonlin_obj_adder.hpp"
#include "qel/adder/quad_constr_adder.hpp"
#include "qel/adder/quad_obj_adder.hpp"
#include "tests/qel/adder/adder_fixture.hpp"

namespace qel_test {
namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;
namespace xt = xprs::testing;
using Load = std::function<void()>;

class AdderRefusalTest : public AdderTest {
 protected:
  void SetUp() override {
    AdderTest::SetUp();
    addColumns(3);
  }
  [[nodiscard]] Sym var(nuv::Index j) const { return Sym::variable(data_->varAdderId, j); }
  // A batch of n items (type 0) with the given function part, for a new adder A.
  template <class A>
  Load load(std::size_t n, Part function) {
    return [this, n, function] {
      A(data_).add(constraintBatch(function, {{0, ints(std::vector<int>(n, 0))}}));
    };
  }
  // Indicators on symbols, linked to rows linear rows.
  Load indicators(std::vector<Sym> symbols, std::vector<int> types, std::size_t rows) {
    return [this, symbols, types, rows] {
      const std::vector<Sym> linked(rows, own({0}));
      qel::IndicConstrAdder(data_, std::make_shared<qel::LinConstrAdder>(data_))
          .add({constraintBatch({{0, syms(symbols)}}, {{0, ints(types)}}),
                constraintBatch({{0, syms(linked)}}, {{0, ints(std::vector<int>(rows, 0))}}),
                {}});
    };
  }
  // Refused with text; only the adders that convert expressions have touched the optimizer,
  // and no formula reached it.
  void check(const char* what, const Load& load, const std::string& text, bool untouched = true) {
    SCOPED_TRACE(what);
    xt::clearCalls();
    EXPECT_THAT(load, ThrowsMessage<nuv::opt::SupportException>(StrEq("Support Error: " + text)));
    EXPECT_EQ(xt::calls().empty(), untouched);
    EXPECT_EQ(xt::countCalls("XPRSnlpaddformulas"), 0u);
    EXPECT_TRUE(mutexFree());
  }
};

TEST_F(AdderRefusalTest, MalformedBatchesLeaveTheOptimizerUntouched) {
  using Quad = qel::QuadConstrAdder;
  using Nonlin = qel::NonlinConstrAdder;
  const std::string input = "Input not supported";
  const Sym x = own({0});
  check("variables for fewer quadratic rows", load<Quad>(2, {{0, syms({x})}}), input);
  check("matrices for more rows", load<Quad>(1, {{0, syms({x})}, {1, mats({{}, {}})}}), input);
  check("position outside",
        load<Quad>(1, {{0, syms({x})}, {1, mats({triplets(2, {1}, {0}, {1})})}}), input);
  check("no objective variables", load<qel::QuadObjAdder>(1, {}), input);
  check("indicator vector", indicators({x}, {2}, 1), input);
  check("indicator column past the model", indicators({var(99)}, {2}, 1), input);
  check("fewer linked rows", indicators({var(0), var(1)}, {2, 3}, 1), input);
  check("more linked rows", indicators({var(0)}, {3}, 2), input);
  check("no row functions", load<Nonlin>(1, {}), input);
  check("row functions of another type", load<Nonlin>(1, {{0, dbls({1.0})}}), input);
  check("no objective function", load<qel::NonlinObjAdder>(1, {}), input);
  EXPECT_EQ(data_->conList->size() + data_->nonlinObjList->size(), 0);
}

TEST_F(AdderRefusalTest, ExpressionsThatCannotBecomeFormulas) {
  const qel::Data other;
  const FnDouble unknown("nuv:function:basic:Foo", 1);
  const Sym linear = call(nuv::math::fn::linear<double>), none = Sym::numericVector(Vec());
  // Behind a first formula, x, of the same batch; the rows are in place when they are refused.
  const auto rows = [this](std::vector<Sym> symbols) {
    return load<qel::NonlinConstrAdder>(2, {{0, syms({expr({var(0)}), expr(std::move(symbols))})}});
  };
  const std::string variable = "Input expression contains unsupported variable.";
  const std::string function = "Function not supported: nuv:function:";
  const std::string symbol = "Expression contains unsupported symbol: ";
  const bool touched = false;
  check("foreign linear variables", rows({vars(other.varAdderId, {0}), none, Sym(), linear}),
        variable, touched);
  check("linear position outside",
        rows({own({0}), Sym::numericVector(sparse(2, {1}, {1.0})), Sym(), linear}), variable,
        touched);
  check("unknown function", rows({var(0), call(unknown)}), function + "basic:Foo", touched);
  check("Max without arguments", rows({call(fns::max, 0)}), function + "basic:Max", touched);
  // A scan for Max's first argument that did not stop at this formula would end in formula 0.
  check("Max short of arguments", rows({var(0), call(fns::negate), call(fns::max, 2)}),
        function + "basic:Max", touched);
  check("cut-short linear group", rows({own({0}), none, Sym()}),
        symbol + "VectorOfVariables (only as argument of linear function)", touched);
  check("stray vector", rows({none}), symbol + "Numeric", touched);
}

TEST_F(AdderRefusalTest, AQuadraticOrNonlinearObjectiveIsTheOnlyObjective) {
  const std::string multiple = "Multiple objectives only supported with linear objectives.";
  for (int first = 0; first < 3; ++first) {
    TearDown();  // a new record and problem for each first objective
    SetUp();
    // Built for the record at hand: the variables carry its adder id.
    const auto objective = [this](int kind, std::size_t n) {
      if (kind == 0) return load<qel::LinObjAdder>(n, {{0, syms(std::vector<Sym>(n, own({0})))}});
      if (kind == 1) return load<qel::QuadObjAdder>(n, {{0, syms(std::vector<Sym>(n, own({0})))}});
      return load<qel::NonlinObjAdder>(n, {{0, syms(std::vector<Sym>(n, expr({var(0)})))}});
    };
    check("two objectives", objective(1 + first % 2, 2), multiple);
    objective(first, 1)();
    for (int kind = first == 0 ? 1 : 0; kind < 3; ++kind) {
      check("after another objective", objective(kind, 1), multiple);
    }
  }
}

}  // namespace
}  // namespace qel_test
