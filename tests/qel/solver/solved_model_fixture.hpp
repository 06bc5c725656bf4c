// Shared by the result tests: a started, quiet solver whose pool is attached to its problem,
// and small models loaded through the adders and solved for real.
#ifndef TESTS_QEL_SOLVER_SOLVED_MODEL_FIXTURE_HPP_
#define TESTS_QEL_SOLVER_SOLVED_MODEL_FIXTURE_HPP_

#include <gtest/gtest.h>
#include <xprs.h>

#include <memory>
#include <vector>

#include "nuv/math/lib/dense_vector.hpp"
#include "qel/adder/lin_constr_adder.hpp"
#include "qel/adder/lin_obj_adder.hpp"
#include "qel/solver/solver.hpp"
#include "tests/qel/adder/adder_fixture.hpp"

namespace qel_test {

class SolvedModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    solver_->start({}, "");
    data_->solPool->probAttach(*data_->prob);
    data_->prob->setIntControl(XPRS_OUTPUTLOG, 0);
  }
  void TearDown() override {
    data_.reset();
    solver_.reset();
    EXPECT_EQ(xprs::testing::initCount() + xprs::testing::liveProblems(), 0);
  }
  // Columns of the given types (0 continuous, 1 integer) in [0, upper], then the rows a·x + b
  // (types 0 >=, 1 <=) 0 and the objective c·x (sense 0 min, 1 max) over all of them.
  void load(std::vector<int> types, std::vector<double> upper,
            const std::vector<std::vector<double>>& a, std::vector<double> b,
            std::vector<int> rowTypes, const std::vector<double>& c, int sense) {
    namespace interval = nuv::opt::interval_domain;
    namespace fn = nuv::opt::linear_function;
    std::vector<nuv::Index> all;
    for (std::size_t j = 0; j < types.size(); ++j) all.push_back(static_cast<nuv::Index>(j));
    qel::VarAdder(data_).add(variableBatch({{interval::type, ints(std::move(types))},
                                            {interval::upper_bound, dbls(std::move(upper))}}));
    const auto linear = [&](const std::vector<std::vector<double>>& rows, std::vector<double> k) {
      std::vector<Sym> symbols(rows.size(), vars(data_->varAdderId, all));
      std::vector<Vec> vectors;
      for (const auto& row : rows) vectors.push_back(nuv::math::lib::denseVector<double>(row));
      return Part{{fn::variables, syms(symbols)},
                  {fn::coefficients, vecs(vectors)},
                  {fn::constant, dbls(std::move(k))}};
    };
    qel::LinConstrAdder(data_).add(constraintBatch(
        linear(a, std::move(b)), {{nuv::opt::static_bounded_domain::type, ints(rowTypes)}}));
    qel::LinObjAdder(data_).add(
        constraintBatch(linear({c}, {0.0}), {{nuv::opt::sense_domain::type, ints({sense})}}));
  }
  // Rows the linear-constraint adder does not make, on one column: a ranged row lower <= x <=
  // upper (linear), or x <= upper (lower empty) recorded as a quadratic row.
  void boundRow(int column, std::vector<double> lower, double upper) {
    const double range = lower.empty() ? 0.0 : upper - lower[0], one = 1.0;
    const XPRSint64 start = 0;
    static_cast<void>(lower.empty() ? data_->addQuadCon(1) : data_->addLinCon(1));
    data_->prob->addRows(1, 1, lower.empty() ? "L" : "R", &upper, &range, &start, &column, &one);
  }
  void optimize() {
    int solStatus = 0;
    ASSERT_EQ(data_->prob->optimize("", nullptr, &solStatus), 0);
    ASSERT_EQ(solStatus, XPRS_SOLSTATUS_OPTIMAL);
  }
  // min -x - 2y + z - w - v + u over x, y, z, w, u in [0, 10], v in [0, 7]:
  //   r0  x + y       <= 4     binding 'L'        r3  2 <= z <= 5   ranged, at its lower end
  //   r1  x - y       >= 2     binding 'G'        r4  1 <= w <= 3   ranged, at its upper end
  //   r2  x + y + z   <= 100   slack 94
  // Optimum x 3, y 1, z 2, w 3, v 7 (at its bound), u 0, value -13; duals -1.5, 0.5, 0, 1, -1.
  void solveLp() {
    load(std::vector<int>(6, 0), {10, 10, 10, 10, 7, 10},
         {{1, 1, 0, 0, 0, 0}, {1, -1, 0, 0, 0, 0}, {1, 1, 1, 0, 0, 0}}, {-4, -2, -100}, {1, 0, 1},
         {-1, -2, 1, -1, -1, 1}, 0);
    boundRow(2, {2}, 5);
    boundRow(3, {1}, 3);
    optimize();
  }

  std::shared_ptr<qel::Solver> solver_ = std::make_shared<qel::Solver>();
  std::shared_ptr<qel::Data> data_ = solver_->data();
};

}  // namespace qel_test

#endif  // TESTS_QEL_SOLVER_SOLVED_MODEL_FIXTURE_HPP_
