// Shared by the result tests: models loaded through the adders into a started stand-in problem
// with an attached solution pool, and solved for real.
#ifndef TESTS_QEL_SOLVER_SOLVED_MODEL_FIXTURE_HPP_
#define TESTS_QEL_SOLVER_SOLVED_MODEL_FIXTURE_HPP_

#include <gtest/gtest.h>
#include <xprs.h>

#include <memory>
#include <vector>

#include "nuv/math/lib/dense_vector.hpp"
#include "nuv/opt/keys.hpp"
#include "qel/adder/lin_constr_adder.hpp"
#include "qel/adder/lin_obj_adder.hpp"
#include "qel/xpress/xpress_sol_pool.hpp"
#include "tests/qel/adder/adder_fixture.hpp"

namespace qel_test {

class SolvedModelTest : public AdderTest {
 protected:
  void SetUp() override {
    AdderTest::SetUp();
    data_->solPool = std::make_shared<qel::XpressSolPool>();
    data_->solPool->probAttach(*data_->prob);
  }
  // Columns with the given types (0 continuous, 1 integer) in [0, upper].
  void columns(std::vector<int> types, std::vector<double> upper) {
    namespace interval = nuv::opt::interval_domain;
    qel::VarAdder(data_).add(
        variableBatch({{interval::type, values(std::move(types))},
                       {interval::lower_bound, values(std::vector<double>(upper.size(), 0.0))},
                       {interval::upper_bound, values(std::move(upper))}}));
  }
  // Rows a·x + b (type: 0 >=, 1 <=) 0 over all columns; coefficients are dense.
  void rows(const std::vector<std::vector<double>>& a, std::vector<double> b,
            std::vector<int> types) {
    qel::LinConstrAdder(data_).add(
        constraintBatch(linear(a, std::move(b)),
                        {{nuv::opt::static_bounded_domain::type, ints(std::move(types))}}));
  }
  // One objective c·x, minimised (sense 0) or maximised (sense 1).
  void objective(const std::vector<double>& c, int sense) {
    qel::LinObjAdder(data_).add(
        constraintBatch(linear({c}, {0.0}), {{nuv::opt::sense_domain::type, ints({sense})}}));
  }
  // Ranged rows lower <= x[column] <= upper, one per column, loaded as the record would.
  void rangedRows(const std::vector<int>& cols, const std::vector<double>& lower,
                  const std::vector<double>& upper) {
    const auto n = static_cast<int>(cols.size());
    std::vector<double> range;
    std::vector<XPRSint64> start;
    for (int k = 0; k < n; ++k) {
      range.push_back(upper[static_cast<std::size_t>(k)] - lower[static_cast<std::size_t>(k)]);
      start.push_back(k);
    }
    data_->addLinCon(n);
    data_->prob->addRows(n, n, std::vector<char>(cols.size(), 'R').data(), upper.data(),
                         range.data(), start.data(), cols.data(),
                         std::vector<double>(cols.size(), 1.0).data());
  }
  void optimize() {
    int solveStatus = 0;
    int solStatus = 0;
    ASSERT_EQ(data_->prob->optimize("", &solveStatus, &solStatus), 0);
    ASSERT_EQ(solStatus, XPRS_SOLSTATUS_OPTIMAL);
  }
  // min -x - 2y + z - w - v + u over x, y, z, w, u in [0, 10], v in [0, 7]:
  //   r0  x + y       <= 4     binding 'L'          r3  2 <= z <= 5  ranged, at its lower end
  //   r1  x - y       >= 2     binding 'G'          r4  1 <= w <= 3  ranged, at its upper end
  //   r2  x + y + z   <= 100   slack 94
  // Optimum x 3, y 1, z 2, w 3, v 7 (at its bound), u 0; duals -1.5, 0.5, 0, 1, -1.
  void solveLp() {
    columns(std::vector<int>(6, 0), {10, 10, 10, 10, 7, 10});
    rows({{1, 1, 0, 0, 0, 0}, {1, -1, 0, 0, 0, 0}, {1, 1, 1, 0, 0, 0}}, {-4, -2, -100}, {1, 0, 1});
    rangedRows({2, 3}, {2, 1}, {5, 3});
    objective({-1, -2, 1, -1, -1, 1}, 0);
    optimize();
  }

 private:
  Part linear(const std::vector<std::vector<double>>& a, std::vector<double> b) const {
    std::vector<nuv::Index> all;
    for (nuv::Index j = 0; j < data_->varList->size(); ++j) all.push_back(j);
    std::vector<Sym> symbols;
    std::vector<Vec> vectors;
    for (const std::vector<double>& row : a) {
      symbols.push_back(own(all));
      vectors.push_back(nuv::math::lib::denseVector<double>(row));
    }
    namespace fn = nuv::opt::linear_function;
    return {{fn::variables, syms(symbols)},
            {fn::coefficients, vecs(vectors)},
            {fn::constant, dbls(std::move(b))}};
  }
};

}  // namespace qel_test

#endif  // TESTS_QEL_SOLVER_SOLVED_MODEL_FIXTURE_HPP_
