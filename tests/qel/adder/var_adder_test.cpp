#include "qel/adder/var_adder.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <string>
#include <vector>

#include "nuv/attr/container.hpp"
#include "nuv/attr/transform/negate.hpp"
#include "nuv/attr/view/transform_container.hpp"
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
namespace key = nuv::opt::interval_domain;

// Values through a view that copies them on every read (it lends nothing), negated.
nuv::attr::BaseContainer notLending(std::vector<double> negated) {
  using Negated = nuv::attr::view::TransformContainer<nuv::attr::Container<double>,
                                                      nuv::attr::transform::Negate>;
  return nuv::attr::BaseContainer(std::make_shared<Negated>(nuv::attr::Container<double>(
      std::make_shared<nuv::attr::lib::VectorContainer<double>>(std::move(negated)))));
}

class VarAdderTest : public AdderTest {
 protected:
  nuv::idx::List add(const Part& domain, const Part& tagged = {}) {
    return qel::VarAdder(data_).add(variableBatch(domain, tagged));
  }
};

TEST_F(VarAdderTest, LoadsColumnsWithBoundsTypesAndLimitsBatchByBatch) {
  const nuv::idx::List first = add({{key::type, ints({0, 1, 2})},
                                    {key::lower_bound, dbls({0.0, 0.0, 2.0})},
                                    {key::upper_bound, notLending({-10.0, -5.0, -8.0})}});
  EXPECT_EQ(first.type(), nuv::idx::ListType::kBlock);
  EXPECT_THAT(*first.viewVector(), ElementsAre(0, 1, 2));
  EXPECT_EQ(xt::countCalls("XPRSaddcols64"), 1u);
  EXPECT_EQ(xt::countCalls("XPRSchgcoltype"), 3u);
  EXPECT_EQ(xt::countCalls("XPRSchgglblimit"), 1u);
  EXPECT_EQ(xt::countCalls("XPRSaddnames"), 0u);
  EXPECT_THAT(model().colLb, ElementsAre(0.0, 0.0, 2.0));
  EXPECT_THAT(model().colUb, ElementsAre(10.0, 5.0, 8.0));
  EXPECT_THAT(model().colType, ElementsAre('C', 'I', 'S'));
  EXPECT_EQ(model().colLimit.at(2), 2.0);
  EXPECT_EQ(data_->varLevels->elemCount(), 0);

  const nuv::idx::List second = add({{key::type, ints({3, 0})},
                                     {key::lower_bound, dbls({1.5, -XPRS_PLUSINFINITY})},
                                     {key::start_level, dbls({1.5, 7.0})},
                                     {key::start_basis, ints({1, 3})}},
                                    {{nuv::opt::variable::name, strs({"y3", "y4"})},
                                     {nuv::opt::variable::priority, dbls({4.0, 9.0})}});
  EXPECT_THAT(*second.viewVector(), ElementsAre(3, 4));
  EXPECT_THAT(model().colType, ElementsAre('C', 'I', 'S', 'R', 'C'));
  EXPECT_EQ(model().colLimit.at(3), 1.5);
  // Infinite bounds pass as given; a missing upper-bound part leaves Xpress's default.
  EXPECT_EQ(model().colLb.at(4), -XPRS_PLUSINFINITY);
  EXPECT_EQ(model().colUb.at(4), XPRS_PLUSINFINITY);
  EXPECT_THAT(model().colNames, ElementsAre("", "", "", "y3", "y4"));
  EXPECT_THAT(*data_->varLevels->viewAll(0), ElementsAre(0.0, 0.0, 0.0, 1.5, 7.0));
  EXPECT_THAT(*data_->varBasis->viewAll(0), ElementsAre(0, 0, 0, 1, 3));
  EXPECT_THAT(*data_->varPriorities->viewAll(0), ElementsAre(0.0, 0.0, 0.0, 4.0, 9.0));
  EXPECT_EQ(data_->varInfeasible->itemCount(), 5);
  EXPECT_EQ(data_->varList->size(), 5);
}

TEST_F(VarAdderTest, PassesNoNamesWhenTheNameLengthIsZero) {
  data_->prob->setIntControl(XPRS_MPSNAMELENGTH, 0);
  add({{key::type, ints({0, 1})}}, {{nuv::opt::variable::name, strs({"a", "b"})}});
  EXPECT_EQ(xt::countCalls("XPRSaddnames"), 0u);
  EXPECT_EQ(model().cols(), 2);
}

TEST_F(VarAdderTest, RefusesMalformedBatchesBeforeAnyOptimizerCall) {
  const std::tuple<const char*, Part, Part> cases[] = {
      {"short lower bounds", {{key::type, ints({0, 0, 0})}, {key::lower_bound, dbls({0, 1})}}, {}},
      {"long upper bounds", {{key::type, ints({0, 0})}, {key::upper_bound, dbls({1, 1, 1})}}, {}},
      {"more names than columns",
       {{key::type, ints({0})}},
       {{nuv::opt::variable::name, strs({"a", "b"})}}},
      {"semi-continuous without lower bounds",
       {{key::type, ints({0, 2})}, {key::upper_bound, dbls({1, 5})}},
       {}},
      {"semi-continuous integer with a negative lower bound",
       {{key::type, ints({3, 0})}, {key::lower_bound, dbls({-1, -1})}},
       {}},
  };
  for (const auto& [what, domain, tagged] : cases) {
    SCOPED_TRACE(what);
    expectRefusedBeforeXpress([&] { add(domain, tagged); }, "Support Error: Input not supported");
    EXPECT_EQ(data_->varList->size(), 0);
  }
}

// An unknown type raises once the columns exist, start values of another count once all are typed;
// either leaves the adder able to load on into the same record.
TEST_F(VarAdderTest, UnknownTypesAndStartValuesOfAnotherCountRaiseAfterTheColumnsExist) {
  const Part unknown = {{key::type, ints({1, 4, 0})}};
  EXPECT_THAT([&] { add(unknown); }, ThrowsMessage<nuv::opt::SupportException>(
                                         StrEq("Support Error: Domain type not supported.")));
  EXPECT_EQ(model().cols(), 3);
  EXPECT_EQ(data_->varList->size(), 3);
  EXPECT_THAT(model().colType, ElementsAre('I', 'C', 'C'));
  EXPECT_EQ(xt::countCalls("XPRSchgcoltype"), 1u);
  EXPECT_TRUE(mutexFree());
  EXPECT_THAT(*add({{key::type, ints({0})}}).viewVector(), ElementsAre(3));

  const Part shortStart = {{key::type, ints({0, 1, 1})},
                           {key::start_level, dbls({1.0, 2.0})},
                           {key::start_basis, ints({1, 1, 1})}};
  EXPECT_THAT([&] { add(shortStart); },
              ThrowsMessage<nuv::CheckException>(StrEq(
                  "Check Error (4): 'container.itemCount()' (which is 2) must be equal to 3.")));
  EXPECT_THAT(model().colType, ElementsAre('I', 'C', 'C', 'C', 'C', 'I', 'I'));
  EXPECT_EQ(data_->varLevels->elemCount(), 0);
  EXPECT_EQ(data_->varBasis->elemCount(), 0);
  EXPECT_TRUE(mutexFree());
}

}  // namespace
}  // namespace qel_test
