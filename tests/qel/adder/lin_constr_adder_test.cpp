#include "qel/adder/lin_constr_adder.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nuv/exception.hpp"
#include "nuv/opt/keys.hpp"
#include "nuv/opt/support_exception.hpp"
#include "tests/qel/adder/adder_fixture.hpp"

namespace qel_test {
namespace {

using ::testing::ElementsAre;
using ::testing::StrEq;
using ::testing::ThrowsMessage;
namespace xt = xprs::testing;
namespace fn = nuv::opt::linear_function;
namespace dom = nuv::opt::static_bounded_domain;

using LinConstrAdderTest = ConstraintAdderTest<qel::LinConstrAdder, 10>;

TEST_F(LinConstrAdderTest, LoadsABatchAsOneCallOfRows) {
  xt::clearCalls();
  const nuv::idx::List rows =
      add({{fn::variables, syms({own({0, 1}), own({0, 1})})},
           {fn::coefficients, vecs({sparse(2, {0, 1}, {1.0, 2.0}), sparse(2, {1}, {-1.0})})},
           {fn::constant, dbls({3.0, 4.0})}},
          {{dom::type, ints({0, 2})}});
  EXPECT_THAT(*rows.viewVector(), ElementsAre(0, 1));
  EXPECT_EQ(xt::countCalls("XPRSaddrows64"), 1u);
  EXPECT_EQ(xt::calls().size(), 1u);
  EXPECT_THAT(model().rowType, ElementsAre('G', 'E'));
  EXPECT_THAT(model().rowRhs, ElementsAre(-3.0, -4.0));
  EXPECT_THAT(model().elemRow, ElementsAre(0, 0, 1));
  EXPECT_THAT(model().elemCol, ElementsAre(0, 1, 1));
  EXPECT_THAT(model().elemVal, ElementsAre(1.0, 2.0, -1.0));
}

TEST_F(LinConstrAdderTest, RowsShareTheNumberingOfAllConstraintKinds) {
  // No coefficients and no constants: rows without entries and right-hand sides.
  add({{fn::variables, syms({own({}), own({3})})}}, {{dom::type, ints({1, 1})}});
  // A row of another kind, as the quadratic adder adds it.
  const char type = 'L';
  const XPRSint64 start = 0;
  data_->prob->addRows(1, 0, &type, nullptr, nullptr, &start, nullptr, nullptr);
  data_->addQuadCon(1);

  const nuv::idx::List rows = add({{fn::variables, syms({own({9, 5}), own({2})})},
                                   {fn::coefficients, vecs({sparse(2, {0, 1}, {1.0, 2.0}), Vec()})},
                                   {fn::constant, dbls({-1.0, 0.5})}},
                                  {{dom::type, ints({1, 0})}, {dom::start_basis, ints({1, 2})}},
                                  {{nuv::opt::constraint::name, strs({"r3", "r4"})}});
  EXPECT_THAT(*rows.viewVector(), ElementsAre(3, 4));
  EXPECT_THAT(*data_->linConList->viewVector(), ElementsAre(0, 1, 3, 4));
  EXPECT_EQ(data_->conList->size(), 5);
  EXPECT_THAT(model().rowRhs, ElementsAre(0.0, 0.0, 0.0, 1.0, -0.5));
  // Positions map through each function's own list: position 0 of [9, 5] is column 9.
  EXPECT_THAT(model().elemRow, ElementsAre(3, 3));
  EXPECT_THAT(model().elemCol, ElementsAre(9, 5));
  EXPECT_THAT(model().rowNames, ElementsAre("", "", "", "r3", "r4"));
  EXPECT_THAT(*data_->linConstrBasis->viewAll(0), ElementsAre(0, 0, 0, 1, 2));
}

TEST_F(LinConstrAdderTest, BatchesOfAnySizeLoadEachOfTheirEntriesOnce) {
  // Row r of a batch: the variables r, r + 3, r + 7 (mod 10); even rows have coefficients on all
  // three positions, odd rows on positions 0 and 2.
  std::vector<int> rows, cols;
  std::vector<double> coefs;
  const auto batch = [&](int count, int firstRow, bool withCoefficients) {
    std::vector<Sym> symbols;
    std::vector<Vec> vectors;
    for (int r = 0; r < count; ++r) {
      const std::vector<nuv::Index> list = {r % 10, (r + 3) % 10, (r + 7) % 10};
      symbols.push_back(own(list));
      const std::vector<nuv::Index> at =
          r % 2 == 0 ? std::vector<nuv::Index>{0, 1, 2} : std::vector<nuv::Index>{0, 2};
      std::vector<double> v;
      for (const nuv::Index p : at) v.push_back(r + 1.0 + 0.25 * p);
      vectors.push_back(sparse(3, at, v));
      if (!withCoefficients) continue;
      for (std::size_t k = 0; k < at.size(); ++k) {
        rows.push_back(firstRow + r);
        cols.push_back(list[static_cast<std::size_t>(at[k])]);
        coefs.push_back(v[k]);
      }
    }
    Part function = {{fn::variables, syms(symbols)}};
    if (withCoefficients) function[fn::coefficients] = vecs(vectors);
    add(function, {{dom::type, ints(std::vector<int>(static_cast<std::size_t>(count), 1))}});
  };
  // 750 entries outgrow the first work arrays several times within one pass; the batches after
  // it find arrays that still hold its entries.
  batch(300, 0, true);
  batch(5, 300, true);
  batch(4, 305, false);
  batch(2, 309, true);
  EXPECT_EQ(model().rows(), 311);
  EXPECT_EQ(model().elemRow, rows);
  EXPECT_EQ(model().elemCol, cols);
  EXPECT_EQ(model().elemVal, coefs);
}

TEST_F(LinConstrAdderTest, RefusesMalformedBatchesBeforeAnyOptimizerCall) {
  const qel::Data other;
  const Sym x0 = own({0}), x1 = own({1});
  // Unless stated otherwise: two rows of type 0, refused as input not supported.
  struct Case {
    const char* what;
    Part function;
    Part tagged = {};
    Part domain = {{dom::type, ints({0, 0})}};
    std::string text = "Support Error: Input not supported";
  };
  const Case cases[] = {
      {"unknown type",
       {{fn::variables, syms({x0, x1})}},
       {},
       {{dom::type, ints({0, 3})}},
       "Support Error: Domain type not supported."},
      {"variables of another solver", {{fn::variables, syms({x0, vars(other.varAdderId, {1})})}}},
      {"a number for variables", {{fn::variables, syms({x0, Sym::numeric(1.0)})}}},
      {"variables for fewer rows", {{fn::variables, syms({x0})}}},
      {"no variables", {}},
      {"constants for fewer rows", {{fn::variables, syms({x0, x1})}, {fn::constant, dbls({1.0})}}},
      {"coefficients for more rows",
       {{fn::variables, syms({x0, x1})}, {fn::coefficients, vecs({Vec(), Vec(), Vec()})}}},
      {"position outside the variables",
       {{fn::variables, syms({own({0, 1}), x1})},
        {fn::coefficients, vecs({sparse(3, {0, 2}, {1.0, 1.0}), Vec()})}}},
      {"more names than rows",
       {{fn::variables, syms({x0, x1})}},
       {{nuv::opt::constraint::name, strs({"a", "b", "c"})}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    expectRefusedBeforeXpress([&] { add(c.function, c.domain, c.tagged); }, c.text);
    EXPECT_EQ(data_->conList->size(), 0);
  }
}

TEST_F(LinConstrAdderTest, BasisCodesOfAnotherCountRaiseAfterTheRowsAreNamed) {
  EXPECT_THAT(
      [&] {
        add({{fn::variables, syms({own({0}), own({1}), own({2}), own({3})})}},
            {{dom::type, ints({0, 0, 1, 2})}, {dom::start_basis, ints({1, 1, 1})}},
            {{nuv::opt::constraint::name, strs({"a", "b", "c", "d"})}});
      },
      ThrowsMessage<nuv::CheckException>(
          StrEq("Check Error (4): 'container.itemCount()' (which is 3) must be equal to 4.")));
  EXPECT_EQ(model().rows(), 4);
  EXPECT_EQ(data_->linConList->size(), 4);
  EXPECT_THAT(model().rowNames, ElementsAre("a", "b", "c", "d"));
  EXPECT_EQ(data_->linConstrBasis->elemCount(), 0);
  EXPECT_TRUE(mutexFree());
}

}  // namespace
}  // namespace qel_test
