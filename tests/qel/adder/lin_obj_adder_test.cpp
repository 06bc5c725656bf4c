#include "qel/adder/lin_obj_adder.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <map>
#include <string>
#include <vector>

#include "nuv/opt/keys.hpp"
#include "nuv/opt/support_exception.hpp"
#include "tests/qel/adder/adder_fixture.hpp"

namespace qel_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;
using ::testing::StrEq;
using ::testing::ThrowsMessage;
namespace xt = xprs::testing;
namespace fn = nuv::opt::linear_function;
namespace sense = nuv::opt::sense_domain;

class LinObjAdderTest : public ConstraintAdderTest<qel::LinObjAdder, 3> {
 protected:
  // Objective k: c·x over columns 0..2 with the single coefficient c on column k.
  Part functions(std::vector<double> coefficients) {
    std::vector<Sym> variables;
    std::vector<Vec> vectors;
    for (std::size_t k = 0; k < coefficients.size(); ++k) {
      variables.push_back(own({0, 1, 2}));
      vectors.push_back(sparse(3, {static_cast<nuv::Index>(k)}, {coefficients[k]}));
    }
    return {{fn::variables, values(variables)}, {fn::coefficients, values(vectors)}};
  }
  [[nodiscard]] const xt::ObjectiveRecord& objective(std::size_t k) const {
    return model().objectives.at(k);
  }
};

TEST_F(LinObjAdderTest, FirstBatchSetsTheSenseAndSignsTheWeightsAgainstIt) {
  Part function = functions({4.0, 5.0});
  function[fn::constant] = dbls({1.5, -2.0});
  const nuv::idx::List objectives = add(function,
                                        {{sense::type, ints({1, 0})},
                                         {sense::weight, dbls({2.0, 3.0})},
                                         {sense::priority, ints({5, 6})},
                                         {sense::absolute_tolerance, dbls({0.1, 0.2})},
                                         {sense::relative_tolerance, dbls({0.01, 0.02})}},
                                        {{nuv::opt::constraint::name, strs({"profit", "cost"})}});
  EXPECT_THAT(*objectives.viewVector(), ElementsAre(0, 1));
  EXPECT_EQ(model().sense, -1);
  ASSERT_EQ(model().objectives.size(), 2u);
  EXPECT_THAT(objective(0).coef, ElementsAre(4.0, 0.0, 0.0));
  EXPECT_THAT(objective(1).coef, ElementsAre(0.0, 5.0, 0.0));
  // The constant goes in negated at column -1.
  EXPECT_EQ(objective(0).rhs, -1.5);
  EXPECT_EQ(objective(1).rhs, 2.0);
  EXPECT_THAT(objective(0).dblControls,
              ElementsAre(Pair(XPRS_OBJECTIVE_WEIGHT, 2.0), Pair(XPRS_OBJECTIVE_ABSTOL, 0.1),
                          Pair(XPRS_OBJECTIVE_RELTOL, 0.01)));
  EXPECT_THAT(objective(1).dblControls,
              ElementsAre(Pair(XPRS_OBJECTIVE_WEIGHT, -3.0), Pair(XPRS_OBJECTIVE_ABSTOL, 0.2),
                          Pair(XPRS_OBJECTIVE_RELTOL, 0.02)));
  EXPECT_THAT(objective(0).intControls, ElementsAre(Pair(XPRS_OBJECTIVE_PRIORITY, 5)));
  EXPECT_THAT(objective(1).intControls, ElementsAre(Pair(XPRS_OBJECTIVE_PRIORITY, 6)));
  EXPECT_THAT(model().objNames, ElementsAre("profit", "cost"));
  EXPECT_TRUE(data_->prob->modifiedControl(XPRS_OBJECTIVE_WEIGHT));
}

TEST_F(LinObjAdderTest, LaterBatchesReadTheSenseAndWeightOtherSensesNegatively) {
  add(functions({1.0}), {{sense::type, ints({1})}});
  EXPECT_THAT(objective(0).dblControls, IsEmpty());

  xt::clearCalls();
  const nuv::idx::List objectives = add(functions({2.0, 3.0}), {{sense::type, ints({0, 1})}});
  EXPECT_THAT(*objectives.viewVector(), ElementsAre(1, 2));
  EXPECT_EQ(xt::countCalls("XPRSchgobjsense"), 0u);
  EXPECT_EQ(xt::countCalls("XPRSgetdblattrib"), 1u);
  EXPECT_EQ(model().sense, -1);
  // Without weights only the objective against the problem's sense gets one: -1.
  EXPECT_THAT(objective(1).dblControls, ElementsAre(Pair(XPRS_OBJECTIVE_WEIGHT, -1.0)));
  EXPECT_THAT(objective(2).dblControls, IsEmpty());
  EXPECT_EQ(data_->linObjList->size(), 3);
}

TEST_F(LinObjAdderTest, SameSenseWithoutControlsSetsNoControlAndWritesEmptyFunctions) {
  xt::clearCalls();
  add({{fn::variables, syms({own({0}), own({1, 2})})}, {fn::constant, dbls({0.0, 7.0})}},
      {{sense::type, ints({0, 0})}});
  EXPECT_EQ(model().sense, 1);
  // Per objective: the constant, then the coefficients (none here).
  EXPECT_EQ(xt::countCalls("XPRSchgobjn"), 4u);
  EXPECT_EQ(xt::countCalls("XPRSsetobjdblcontrol") + xt::countCalls("XPRSsetobjintcontrol"), 0u);
  EXPECT_EQ(objective(1).rhs, -7.0);
  EXPECT_THAT(objective(1).coef, ElementsAre(0.0, 0.0, 0.0));
}

TEST_F(LinObjAdderTest, RefusesMalformedBatchesBeforeAnyOptimizerCall) {
  const qel::Data other;
  const Part two = {{sense::type, ints({0, 1})}};
  Part foreign = functions({1.0, 1.0});
  foreign[fn::variables] = syms({own({0, 1, 2}), vars(other.varAdderId, {0, 1, 2})});
  Part outside = functions({1.0, 1.0});
  outside[fn::variables] = syms({own({0, 1, 2}), own({0})});
  struct Case {
    const char* what;
    Part function;
    Part domain;
    Part tagged;
  };
  const Case cases[] = {
      {"variables of another solver", foreign, two, {}},
      {"position outside the variables", outside, two, {}},
      {"variables for fewer objectives", {{fn::variables, syms({own({0})})}}, two, {}},
      {"weights for fewer objectives",
       functions({1.0, 1.0}),
       {{sense::type, ints({0, 1})}, {sense::weight, dbls({1.0})}},
       {}},
      {"more names than objectives",
       functions({1.0, 1.0}),
       two,
       {{nuv::opt::constraint::name, strs({"a", "b", "c"})}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    expectRefusedBeforeXpress([&] { add(c.function, c.domain, c.tagged); },
                              "Support Error: Input not supported");
    EXPECT_EQ(data_->linObjList->size(), 0);
  }
}

TEST_F(LinObjAdderTest, UnknownSenseRefusesTheBatchBeforeNumbering) {
  const auto refused = [&](std::vector<int> senses) {
    expectRefusedBeforeXpress(
        [&] {
          add(functions({1.0, 1.0}), {{sense::type, ints(senses)}});
        },
        "Support Error: Domain type not supported.");
  };
  refused({2, 0});  // the model's first objective
  EXPECT_EQ(data_->linObjList->size(), 0);
  EXPECT_THAT(*add(functions({4.0}), {{sense::type, ints({1})}}).viewVector(), ElementsAre(0));
  EXPECT_EQ(model().sense, -1);
  refused({1, 7});  // a later one, which would otherwise count as the other sense
  EXPECT_EQ(data_->linObjList->size(), 1);
  EXPECT_THAT(objective(0).coef, ElementsAre(4.0, 0.0, 0.0));
}

TEST_F(LinObjAdderTest, RefusesObjectivesBesideAQuadraticOne) {
  data_->addQuadObj(1);
  xt::clearCalls();
  EXPECT_EQ(add({}, {}).shared(), nuv::idx::List::defaultList());
  EXPECT_THAT(
      [&] {
        add(functions({1.0}), {{sense::type, ints({0})}});
      },
      ThrowsMessage<nuv::opt::SupportException>(
          StrEq("Support Error: Multiple objectives only supported with linear objectives.")));
  EXPECT_TRUE(xt::calls().empty());
  EXPECT_EQ(data_->linObjList->size(), 0);
}

}  // namespace
}  // namespace qel_test
