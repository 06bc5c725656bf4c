#include "qel/adder/sos_constr_adder.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "nuv/exception.hpp"
#include "nuv/math/lib/dense_vector.hpp"
#include "nuv/opt/keys.hpp"
#include "nuv/opt/support_exception.hpp"
#include "tests/qel/adder/adder_fixture.hpp"

namespace qel_test {
namespace {

using ::testing::ElementsAre;
namespace xt = xprs::testing;
namespace dom = nuv::opt::sos_domain;

Vec dense(std::vector<double> entries) {
  return nuv::math::lib::denseVector<double>(std::move(entries));
}

class SOSConstrAdderTest : public ConstraintAdderTest<qel::SOSConstrAdder, 5> {
 protected:
  nuv::idx::List add(std::vector<Sym> members, std::vector<int> types,
                     const nuv::attr::BaseContainer& weights) {
    return ConstraintAdderTest::add(
        {{nuv::opt::identity_function::argument, values(std::move(members))}},
        {{dom::type, values(std::move(types))}, {dom::weights, weights}},
        {{nuv::opt::constraint::name, strs({"s"})}});
  }
};

TEST_F(SOSConstrAdderTest, LoadsSetsWithWeightsInMemberOrder) {
  xt::clearCalls();
  const nuv::idx::List sets = add({own({4, 0, 2}), own({1, 3})}, {0, 1},
                                  vecs({dense({3.0, 1.0, 2.0}), sparse(2, {1}, {5.0})}));
  EXPECT_THAT(*sets.viewVector(), ElementsAre(0, 1));
  EXPECT_EQ(xt::calls().size(), 1u);
  EXPECT_EQ(xt::countCalls("XPRSaddsets64"), 1u);
  EXPECT_THAT(model().setType, ElementsAre('1', '2'));
  EXPECT_THAT(model().setStart, ElementsAre(0, 3, 5));
  EXPECT_THAT(model().setCol, ElementsAre(4, 0, 2, 1, 3));
  EXPECT_THAT(model().setRef, ElementsAre(3.0, 1.0, 2.0, 0.0, 5.0));

  // An empty set needs no weights; numbering goes on from the first batch.
  EXPECT_THAT(*add({own({})}, {1}, {}).viewVector(), ElementsAre(2));
  EXPECT_THAT(model().setStart, ElementsAre(0, 3, 5, 5));
}

TEST_F(SOSConstrAdderTest, RefusesMalformedBatchesBeforeAnyOptimizerCall) {
  const qel::Data other;
  const std::string input = "Support Error: Input not supported";
  const std::string weightSize = "Check Error (4): 'values.size()' (which is 3) must be equal to ";
  struct Case {
    const char* what;
    std::function<void()> add;
    std::string text;
  };
  const Case cases[] = {
      {"unknown type", [&] { add({Sym::numeric(1.0)}, {2}, {}); },
       "Support Error: Domain type not supported."},
      {"members of another solver",
       [&] {
         add({vars(other.varAdderId, {0, 1})}, {0}, vecs({dense({1.0, 2.0})}));
       },
       input},
      {"a number for members", [&] { add({Sym::numeric(1.0)}, {0}, {}); }, input},
      {"members for fewer sets",
       [&] {
         add({own({0, 1})}, {0, 0}, vecs({dense({1.0, 2.0}), dense({})}));
       },
       input},
      {"weights for more sets",
       [&] {
         add({own({0, 1})}, {0}, vecs({dense({1.0, 2.0}), dense({})}));
       },
       input},
      {"weights of a shorter dimension",
       [&] {
         add({own({0, 1, 2})}, {0}, vecs({dense({1.0, 2.0})}));
       },
       weightSize + "2."},
      {"no weights",
       [&] {
         add({own({0, 1, 2})}, {1}, {});
       },
       weightSize + "0."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    expectRefusedBeforeXpress<nuv::Exception>(c.add, c.text);
    EXPECT_EQ(data_->sosConList->size(), 0);
  }
}

}  // namespace
}  // namespace qel_test
