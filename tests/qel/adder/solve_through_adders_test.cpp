// Small models loaded only through the adders and solved by the optimizer stand-in.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <vector>

#include "nuv/math/fn/linear.hpp"
#include "nuv/math/lib/dense_vector.hpp"
#include "nuv/opt/keys.hpp"
#include "qel/adder/indic_constr_adder.hpp"
#include "qel/adder/lin_constr_adder.hpp"
#include "qel/adder/lin_obj_adder.hpp"
#include "qel/adder/nonlin_constr_adder.hpp"
#include "qel/adder/nonlin_obj_adder.hpp"
#include "qel/adder/quad_constr_adder.hpp"
#include "qel/adder/quad_obj_adder.hpp"
#include "qel/adder/sos_constr_adder.hpp"
#include "tests/qel/adder/adder_fixture.hpp"

namespace qel_test {
namespace {

using ::testing::DoubleNear;
using ::testing::ElementsAre;
namespace fn = nuv::opt::linear_function;
namespace interval = nuv::opt::interval_domain;
namespace bounded = nuv::opt::static_bounded_domain;
namespace sense = nuv::opt::sense_domain;

constexpr double kTol = 1e-6;

class SolveThroughAddersTest : public AdderTest {
 protected:
  void variables(std::vector<int> types, std::vector<double> upper) {
    qel::VarAdder(data_).add(
        variableBatch({{interval::type, values(std::move(types))},
                       {interval::lower_bound, values(std::vector<double>(upper.size(), 0.0))},
                       {interval::upper_bound, values(std::move(upper))}}));
  }
  // Rows sum(coefficients[k] * x) + constants[k] (type k) 0 over all columns.
  void rows(const std::vector<std::vector<double>>& coefficients, std::vector<double> constants,
            std::vector<int> types) {
    qel::LinConstrAdder(data_).add(constraintBatch(linear(coefficients, std::move(constants)),
                                                   {{bounded::type, values(std::move(types))}}));
  }
  void objectives(const std::vector<std::vector<double>>& coefficients,
                  std::vector<double> constants, std::vector<int> senses,
                  std::vector<int> priorities) {
    qel::LinObjAdder(data_).add(
        constraintBatch(linear(coefficients, std::move(constants)),
                        {{sense::type, values(std::move(senses))},
                         {sense::priority, values(std::move(priorities))}}));
  }
  Part linear(const std::vector<std::vector<double>>& coefficients,
              std::vector<double> constants) const {
    std::vector<nuv::Index> all(static_cast<std::size_t>(data_->varList->size()));
    for (std::size_t j = 0; j < all.size(); ++j) all[j] = static_cast<nuv::Index>(j);
    std::vector<Sym> symbols;
    std::vector<Vec> vectors;
    for (const std::vector<double>& row : coefficients) {
      symbols.push_back(own(all));
      vectors.push_back(nuv::math::lib::denseVector<double>(row));
    }
    return {{fn::variables, values(symbols)},
            {fn::coefficients, values(vectors)},
            {fn::constant, values(std::move(constants))}};
  }
  // Solves and returns the column values; the run must be optimal.
  std::vector<double> solve() {
    int solveStatus = 0;
    int solStatus = 0;
    EXPECT_EQ(data_->prob->optimize("", &solveStatus, &solStatus), 0);
    EXPECT_EQ(solveStatus, XPRS_SOLVESTATUS_COMPLETED);
    EXPECT_EQ(solStatus, XPRS_SOLSTATUS_OPTIMAL);
    std::vector<double> x(static_cast<std::size_t>(data_->varList->size()));
    static_cast<void>(data_->prob->getSolution(x.data(), 0, data_->varList->last()));
    return x;
  }
};

TEST_F(SolveThroughAddersTest, LinearProgram) {
  // max 3x + 2y + 1  s.t.  x + y <= 4,  x + 3y <= 6,  0 <= x <= 3,  0 <= y <= 10.
  variables({0}, {3.0});
  variables({0}, {10.0});
  rows({{1.0, 1.0}, {1.0, 3.0}}, {-4.0, -6.0}, {1, 1});
  objectives({{3.0, 2.0}}, {1.0}, {1}, {0});
  EXPECT_THAT(solve(), ElementsAre(DoubleNear(3.0, kTol), DoubleNear(1.0, kTol)));
  EXPECT_NEAR(data_->prob->getDblAttrib(XPRS_OBJVAL), 12.0, kTol);
}

TEST_F(SolveThroughAddersTest, MixedIntegerProgramWithASet) {
  // max x0 + 2x1 + 3x2 + y  s.t.  x0 + x1 + x2 <= 2, at most one of x0..x2 non-zero (type 1),
  // x in [0, 1], y integer in [0, 2.5]. Without the set x1 = x2 = 1 would give 7.
  variables({0, 0, 0, 1}, {1.0, 1.0, 1.0, 2.5});
  rows({{1.0, 1.0, 1.0, 0.0}}, {-2.0}, {1});
  objectives({{1.0, 2.0, 3.0, 1.0}}, {0.0}, {1}, {0});
  qel::SOSConstrAdder(data_).add(
      constraintBatch({{nuv::opt::identity_function::argument, syms({own({0, 1, 2})})}},
                      {{nuv::opt::sos_domain::type, ints({0})},
                       {nuv::opt::sos_domain::weights,
                        vecs({nuv::math::lib::denseVector<double>({1.0, 2.0, 3.0})})}}));
  EXPECT_THAT(solve(), ElementsAre(DoubleNear(0.0, kTol), DoubleNear(0.0, kTol),
                                   DoubleNear(1.0, kTol), DoubleNear(2.0, kTol)));
  EXPECT_NEAR(data_->prob->getDblAttrib(XPRS_OBJVAL), 5.0, kTol);
}

TEST_F(SolveThroughAddersTest, TwoObjectivesOfOppositeSenses) {
  // First max x, then min y, over x + y >= 4, x in [0, 3], y in [0, 10]. Were the second
  // objective optimised in the first one's sense, y would be 10.
  variables({0, 0}, {3.0, 10.0});
  rows({{1.0, 1.0}}, {-4.0}, {0});
  objectives({{1.0, 0.0}}, {0.0}, {1}, {2});
  objectives({{0.0, 1.0}}, {0.0}, {0}, {1});
  EXPECT_THAT(solve(), ElementsAre(DoubleNear(3.0, kTol), DoubleNear(1.0, kTol)));
  EXPECT_EQ(data_->prob->getIntAttrib(XPRS_SOLVEDOBJS), 2);
}

TEST_F(SolveThroughAddersTest, QuadraticProgram) {
  // min x² + xy + y² - 4x - 5y  s.t.  x + y <= 2.5: x = 0.75, y = 1.75, -6.8125. The product xy
  // comes as two halves of one column pair; were only one of them kept, x would be 0.8.
  variables({0, 0}, {10.0, 10.0});
  rows({{1.0, 1.0}}, {-2.5}, {1});
  qel::QuadObjAdder(data_).add(
      constraintBatch({{nuv::opt::quadratic_function::variables, syms({own({0, 1})})},
                       {nuv::opt::quadratic_function::quadratic,
                        mats({triplets(2, {0, 0, 1, 1}, {0, 1, 0, 1}, {1.0, 0.5, 0.5, 1.0})})},
                       {nuv::opt::quadratic_function::coefficients,
                        vecs({nuv::math::lib::denseVector<double>({-4.0, -5.0})})}},
                      {{sense::type, ints({0})}}));
  EXPECT_THAT(solve(), ElementsAre(DoubleNear(0.75, kTol), DoubleNear(1.75, kTol)));
  EXPECT_NEAR(data_->prob->getDblAttrib(XPRS_OBJVAL), -6.8125, kTol);
}

TEST_F(SolveThroughAddersTest, NonlinearProgram) {
  // min (x - y)² + x + y  s.t.  xy - 1 >= 0, x and y in [0, 10]: x = y = 1, 2. The objective's
  // column z = 2 joins x and y, then w = x - y for the linear function inside it.
  variables({0, 0}, {10.0, 10.0});
  const Sym x = Sym::variable(data_->varAdderId, 0);
  const Sym y = Sym::variable(data_->varAdderId, 1);
  qel::NonlinConstrAdder(data_).add(constraintBatch(
      {{nuv::opt::identity_function::argument,
        syms({expr({x, y, call(fns::multiply), Sym::numeric(-1.0), call(fns::add)})})}},
      {{bounded::type, ints({0})}}));
  qel::NonlinObjAdder(data_).add(
      constraintBatch({{nuv::opt::identity_function::argument,
                        syms({expr({own({0, 1}), Sym::numericVector(sparse(2, {0, 1}, {1.0, -1.0})),
                                    Sym::numeric(0.0), call(nuv::math::fn::linear<double>),
                                    call(fns::square), x, call(fns::add), y, call(fns::add)})})}},
                      {{sense::type, ints({0})}}));
  EXPECT_THAT(solve(), ElementsAre(DoubleNear(1.0, 1e-5), DoubleNear(1.0, 1e-5),
                                   DoubleNear(2.0, 1e-5), DoubleNear(0.0, 1e-5)));
  EXPECT_NEAR(data_->prob->getDblAttrib(XPRS_OBJVAL), 2.0, 1e-5);
}

TEST_F(SolveThroughAddersTest, IndicatorProgram) {
  // max x - 2b + y + 3c + u - 2d over binaries b, c, d: b = 0 forces x <= 1, c = 1 forces
  // y <= 9 and d = 0 forces u² <= 1, so the optimum pays for b and d and takes c:
  // x = 10, b = 1, y = 9, c = 1, u = 10, d = 1, 28. Flags or rows mixed up change it.
  variables({0, 1, 0, 1, 0, 1}, {10.0, 1.0, 10.0, 1.0, 10.0, 1.0});
  objectives({{1.0, -2.0, 1.0, 3.0, 1.0, -2.0}}, {0.0}, {1}, {0});
  const auto indicators = [this](std::vector<nuv::Index> columns, std::vector<int> types) {
    std::vector<Sym> symbols;
    for (const nuv::Index j : columns) symbols.push_back(Sym::variable(data_->varAdderId, j));
    return constraintBatch({{0, syms(symbols)}}, {{0, ints(std::move(types))}});
  };
  const nuv::idx::List linear =
      qel::IndicConstrAdder(data_, std::make_shared<qel::LinConstrAdder>(data_))
          .add({indicators({1, 3}, {2, 3}),
                constraintBatch({{0, syms({own({0}), own({2})})},
                                 {1, vecs({sparse(1, {0}, {1.0}), sparse(1, {0}, {1.0})})},
                                 {3, dbls({-1.0, -9.0})}},
                                {{0, ints({1, 1})}}),
                {}});
  const nuv::idx::List quadratic =
      qel::IndicConstrAdder(data_, std::make_shared<qel::QuadConstrAdder>(data_))
          .add({indicators({5}, {2}),
                constraintBatch({{0, syms({own({4})})},
                                 {1, mats({triplets(1, {0}, {0}, {1.0})})},
                                 {3, dbls({-1.0})}},
                                {{0, ints({1})}}),
                {}});
  EXPECT_THAT(*linear.viewVector(), ElementsAre(0, 1));
  EXPECT_THAT(*quadratic.viewVector(), ElementsAre(2));
  EXPECT_THAT(solve(),
              ElementsAre(DoubleNear(10.0, 1e-5), DoubleNear(1.0, 1e-5), DoubleNear(9.0, 1e-5),
                          DoubleNear(1.0, 1e-5), DoubleNear(10.0, 1e-5), DoubleNear(1.0, 1e-5)));
  EXPECT_NEAR(data_->prob->getDblAttrib(XPRS_OBJVAL), 28.0, 1e-5);
}

}  // namespace
}  // namespace qel_test
