// The frame every adder shares, the type maps and the storing of names.
#include "qel/adder/adder_common.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "nuv/idx/lib/range.hpp"
#include "nuv/opt/keys.hpp"
#include "qel/adder/indic_constr_adder.hpp"
#include "qel/adder/lin_constr_adder.hpp"
#include "qel/adder/lin_obj_adder.hpp"
#include "qel/adder/nonlin_constr_adder.hpp"
#include "qel/adder/nonlin_obj_adder.hpp"
#include "qel/adder/quad_constr_adder.hpp"
#include "qel/adder/quad_obj_adder.hpp"
#include "qel/adder/sos_constr_adder.hpp"
#include "qel/adder/var_adder.hpp"
#include "tests/qel/adder/adder_fixture.hpp"

namespace qel_test {
namespace {

using ::testing::ElementsAre;
using ::testing::StrEq;
using ::testing::ThrowsMessage;
namespace xt = xprs::testing;

// One adder of each kind, seen through what the frame offers.
struct AnyAdder {
  const char* name;
  const std::uint64_t qel::Data::*id;
  std::function<bool()> active;
  std::function<std::uint64_t()> reportedId;
  // Adds a batch of n entities whose other parts are malformed (wrong types, wrong counts).
  std::function<nuv::idx::List(nuv::Index n)> add;
};

std::vector<AnyAdder> allAdders(const std::shared_ptr<qel::Data>& data) {
  const auto types = [](nuv::Index n) {
    return values(std::vector<int>(static_cast<std::size_t>(n), 9));
  };
  const auto constraints = [types](nuv::Index n) {
    return constraintBatch({{0, dbls({1.0, 2.0, 3.0})}}, {{0, types(n)}, {1, dbls({1.0})}},
                           {{0, strs({"a", "b", "c"})}});
  };
  const auto variables = [types](nuv::Index n) {
    return variableBatch({{0, types(n)}, {1, dbls({1.0, 2.0, 3.0})}});
  };
  const auto linked = [constraints](nuv::Index n) {
    return nuv::opt::LinkedConstraintContainer{constraints(n), constraints(3), {}};
  };
  std::vector<AnyAdder> adders;
  const auto add = [&](const char* name, const std::uint64_t qel::Data::*id, auto adder,
                       auto batch) {
    adders.push_back({name, id, [adder] { return adder->active(); },
                      [adder] { return adder->id(); },
                      [adder, batch](nuv::Index n) { return adder->add(batch(n)); }});
  };
  using D = qel::Data;
  add("Var", &D::varAdderId, std::make_shared<qel::VarAdder>(data), variables);
  add("LinConstr", &D::linConAdderId, std::make_shared<qel::LinConstrAdder>(data), constraints);
  add("LinObj", &D::linObjAdderId, std::make_shared<qel::LinObjAdder>(data), constraints);
  add("QuadConstr", &D::quadConAdderId, std::make_shared<qel::QuadConstrAdder>(data), constraints);
  add("QuadObj", &D::quadObjAdderId, std::make_shared<qel::QuadObjAdder>(data), constraints);
  add("NonlinConstr", &D::nonlinConAdderId, std::make_shared<qel::NonlinConstrAdder>(data),
      constraints);
  add("NonlinObj", &D::nonlinObjAdderId, std::make_shared<qel::NonlinObjAdder>(data), constraints);
  add("SOSConstr", &D::sosConAdderId, std::make_shared<qel::SOSConstrAdder>(data), constraints);
  add("IndicConstr", &D::indicConAdderId,
      std::make_shared<qel::IndicConstrAdder>(data, std::make_shared<qel::LinConstrAdder>(data)),
      linked);
  return adders;
}

using AdderFrameTest = AdderTest;

TEST_F(AdderFrameTest, EmptyBatchesMakeNoCallAndAddersOutlivingTheRecordAreInactive) {
  const std::vector<AnyAdder> adders = allAdders(data_);
  for (const AnyAdder& adder : adders) {
    SCOPED_TRACE(adder.name);
    EXPECT_TRUE(adder.active());
    EXPECT_EQ(adder.reportedId(), (*data_).*adder.id);
    xt::clearCalls();
    EXPECT_EQ(adder.add(0).shared(), nuv::idx::List::defaultList());
    EXPECT_TRUE(xt::calls().empty());
  }
  EXPECT_EQ(data_->varList->size() + data_->conList->size(), 0);
  EXPECT_TRUE(mutexFree());

  data_.reset();
  for (const AnyAdder& adder : adders) {
    SCOPED_TRACE(adder.name);
    EXPECT_FALSE(adder.active());
    EXPECT_EQ(adder.reportedId(), 0u);
    EXPECT_THAT([&] { adder.add(0); },
                ThrowsMessage<nuv::opt::SupportException>(StrEq("Support Error: Adder inactive")));
  }
}

TEST(AdderTypeMapTest, MapsListedValuesAndRefusesOthers) {
  namespace d = qel::detail;
  // Each map, the values it lists with what they map to, and values it refuses.
  const std::tuple<const char*, std::function<int(int)>, std::map<int, int>, std::vector<int>>
      maps[] = {
          {"var", d::varTypeToXpress, {{0, 'C'}, {1, 'I'}, {2, 'S'}, {3, 'R'}}, {-1, 4}},
          {"constr", d::constrTypeToXpress, {{0, 'G'}, {1, 'L'}, {2, 'E'}}, {3}},
          {"obj", d::objTypeToXpress, {{0, 1}, {1, -1}}, {2}},
          {"sos", d::sosTypeToXpress, {{0, '1'}, {1, '2'}}, {2}},
          {"indic", d::indicTypeToXpress, {{2, -1}, {3, 1}}, {0, 1}},
      };
  for (const auto& [name, map, listed, refused] : maps) {
    SCOPED_TRACE(name);
    for (const auto& [type, mapped] : listed) EXPECT_EQ(map(type), mapped) << type;
    for (const int type : refused) {
      EXPECT_THAT([&] { map(type); }, ThrowsMessage<nuv::opt::SupportException>(
                                          StrEq("Support Error: Domain type not supported.")))
          << type;
    }
  }
}

using StoreNamesTest = AdderTest;

TEST_F(StoreNamesTest, PassesOneNamePerEntityOnlyWhenNamesAndNameLengthAreGiven) {
  data_->prob->addCols(10, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  const nuv::idx::List at(std::make_shared<const nuv::idx::lib::Range>(7, 3));
  const qel::detail::Strings names(std::make_shared<nuv::attr::lib::VectorContainer<std::string>>(
      std::vector<std::string>{"x7", "", "x9"}));

  xt::clearCalls();
  qel::detail::storeNames(
      data_.get(), qel::detail::kColumnNames,
      qel::detail::Strings(std::make_shared<nuv::attr::lib::VectorContainer<std::string>>(3)), at);
  EXPECT_TRUE(xt::calls().empty());

  data_->prob->setIntControl(XPRS_MPSNAMELENGTH, 0);
  xt::clearCalls();
  qel::detail::storeNames(data_.get(), qel::detail::kColumnNames, names, at);
  EXPECT_EQ(xt::countCalls("XPRSgetintcontrol"), 1u);
  EXPECT_EQ(xt::countCalls("XPRSaddnames"), 0u);

  data_->prob->setIntControl(XPRS_MPSNAMELENGTH, 64);
  xt::clearCalls();
  qel::detail::storeNames(data_.get(), qel::detail::kColumnNames, names, at);
  EXPECT_EQ(xt::countCalls("XPRSaddnames"), 3u);
  const std::vector<std::string>& stored = model().colNames;
  ASSERT_EQ(stored.size(), 10u);
  EXPECT_THAT(std::vector<std::string>(stored.begin() + 7, stored.end()),
              ElementsAre("x7", "", "x9"));
}

}  // namespace
}  // namespace qel_test
