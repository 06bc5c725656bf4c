// The quadratic constraint and objective adders.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "qel/adder/lin_constr_adder.hpp"
#include "qel/adder/quad_constr_adder.hpp"
#include "qel/adder/quad_obj_adder.hpp"
#include "tests/qel/adder/adder_fixture.hpp"

namespace qel_test {
namespace {

using ::testing::ElementsAre;
namespace xt = xprs::testing;
using QuadAdderTest = AdderTest;

TEST_F(QuadAdderTest, RowsHoldHalvedUpperTriangleTerms) {
  addColumns(10);
  qel::LinConstrAdder(data_).add(constraintBatch({{0, syms({own({})})}}, {{0, ints({1})}}));
  xt::clearCalls();
  // Two positions of one column make a diagonal term; a row without terms still gets its call.
  const nuv::idx::List rows = qel::QuadConstrAdder(data_).add(
      constraintBatch({{0, syms({own({5, 7}), own({5, 7, 5}), own({1})})},
                       {1, mats({triplets(2, {1, 0, 1}, {0, 0, 1}, {4.0, 3.0, 1.0}),
                                 triplets(3, {0, 2}, {2, 0}, {1.5, 2.5}),
                                 {}})},
                       {2, vecs({sparse(2, {1}, {6.0}), Vec(), Vec()})},
                       {3, dbls({-2.0, 0.0, 1.0})}},
                      {{0, ints({1, 0, 1})}}, {{0, strs({"q1", "q2"})}}));
  EXPECT_THAT(*rows.viewVector(), ElementsAre(1, 2, 3));
  EXPECT_THAT(*data_->quadConList->viewVector(), ElementsAre(1, 2, 3));
  EXPECT_EQ(xt::countCalls("XPRSaddqmatrix64"), 3u);
  EXPECT_THAT(model().rowRhs, ElementsAre(0.0, 2.0, 0.0, -1.0));
  EXPECT_THAT(model().rowNames, ElementsAre("", "q1", "q2", ""));
  EXPECT_THAT(model().qRow, ElementsAre(1, 1, 1, 2, 2));
  EXPECT_THAT(model().qCol1, ElementsAre(5, 5, 7, 5, 5));
  EXPECT_THAT(model().qCol2, ElementsAre(7, 5, 7, 5, 5));
  EXPECT_THAT(model().qVal, ElementsAre(2.0, 3.0, 1.0, 1.5, 2.5));
}

TEST_F(QuadAdderTest, ObjectiveSumsTheTermsOfOneColumnPairAndDoublesTheDiagonal) {
  addColumns(10);
  xt::clearCalls();
  const nuv::idx::List objective = qel::QuadObjAdder(data_).add(constraintBatch(
      {{0, syms({own({5, 7, 2})})},
       {1, mats({triplets(3, {1, 0, 0, 1, 1, 2}, {0, 0, 1, 1, 1, 1}, {4, 3, 1, 2, 1, 1.5})})},
       {2, vecs({sparse(3, {0}, {1.0})})},
       {3, dbls({4.0})}},
      {{0, ints({1})}}, {{0, strs({"f"})}}));
  EXPECT_THAT(*objective.viewVector(), ElementsAre(0));
  EXPECT_EQ(data_->quadObjList->size(), 1);
  EXPECT_EQ(xt::countCalls("XPRSchgmqobj64"), 1u);
  // Summed into the first entry's order; a pair given once keeps its order: (2, 7).
  EXPECT_THAT(model().objQCol1, ElementsAre(7, 5, 7, 2));
  EXPECT_THAT(model().objQCol2, ElementsAre(5, 5, 7, 7));
  EXPECT_THAT(model().objQVal, ElementsAre(5.0, 6.0, 6.0, 1.5));
  EXPECT_EQ(model().objectives[0].coef[5], 1.0);
  EXPECT_EQ(model().objectives[0].rhs, -4.0);
  EXPECT_EQ(model().sense, -1);
  EXPECT_THAT(model().objNames, ElementsAre("f"));
}

}  // namespace
}  // namespace qel_test
