#include "qel/data.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <limits>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "nuv/exception.hpp"
#include "nuv/idx/abstract_list.hpp"
#include "qel/xpress/xpress_exception.hpp"
#include "qel/xpress/xpress_sol_enum.hpp"
#include "qel/xpress/xpress_sol_pool.hpp"
#include "tests/qel/started_data_fixture.hpp"
#include "xprs_testing.hpp"

namespace {

using nuv::idx::lib::Range;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::StrEq;
using ::testing::ThrowsMessage;
namespace xt = xprs::testing;

std::vector<nuv::Index> entries(const nuv::idx::AbstractList& list) { return *list.viewVector(); }

void expectBlock(const Range& block, nuv::Index first, nuv::Index size) {
  EXPECT_EQ(block.first(), first);
  EXPECT_EQ(block.size(), size);
}

TEST(DataTest, BlocksFollowEachOtherByKindAndGrowTheirContainers) {
  qel::Data data;
  expectBlock(data.addVar(3), 0, 3);
  expectBlock(data.addVar(0), 0, 0);
  expectBlock(data.addVar(-4), 0, 0);
  // New items of a container that holds values get zeros.
  data.varLevels->set(0, 4.0, 0);
  expectBlock(data.addVar(2), 3, 2);
  EXPECT_THAT(*data.varLevels->viewAll(0), ElementsAre(4.0, 0.0, 0.0, 0.0, 0.0));
  expectBlock(*data.varList, 0, 5);
  EXPECT_THAT((std::vector{data.varBasis->itemCount(), data.varPriorities->itemCount(),
                           data.varInfeasible->itemCount()}),
              Each(5));
  EXPECT_EQ(data.linConstrBasis->itemCount(), 0);

  // Row kinds share one numbering; objectives, sets and indicators count alone.
  expectBlock(data.addLinCon(2), 0, 2);
  expectBlock(data.addQuadCon(1), 2, 1);
  expectBlock(data.addLinCon(1), 3, 1);
  expectBlock(data.addNonlinCon(2), 4, 2);
  expectBlock(data.addLinCon(0), 0, 0);
  EXPECT_THAT(entries(*data.linConList), ElementsAre(0, 1, 3));
  EXPECT_EQ(data.linConList->type(), nuv::idx::ListType::kAscending);
  EXPECT_THAT(entries(*data.quadConList), ElementsAre(2));
  EXPECT_THAT(entries(*data.nonlinConList), ElementsAre(4, 5));
  expectBlock(*data.conList, 0, 6);
  EXPECT_EQ(data.linConstrBasis->itemCount(), 6);
  EXPECT_EQ(data.constrInfeasible->itemCount(), 6);

  expectBlock(data.addIndicCon(2), 0, 2);
  expectBlock(data.addSOSCon(1), 0, 1);
  expectBlock(data.addSOSCon(2), 1, 2);
  expectBlock(data.addLinObj(1), 0, 1);
  expectBlock(data.addQuadObj(1), 0, 1);
  expectBlock(data.addNonlinObj(1), 0, 1);
  expectBlock(*data.sosConList, 0, 3);
}

TEST(DataTest, RefusesABlockPastTheLargestIndexAndKeepsTheList) {
  qel::Data data;
  data.addVar(std::numeric_limits<int>::max() - 1);
  EXPECT_THAT([&] { data.addVar(2); },
              ThrowsMessage<nuv::Exception>(
                  StrEq("Cast Error: Cannot cast 2147483648 from 'long int' to 'int'.")));
  expectBlock(*data.varList, 0, std::numeric_limits<int>::max() - 1);
  expectBlock(data.addVar(1), std::numeric_limits<int>::max() - 1, 1);
}

TEST(DataTest, AdderIdsAreDrawnInOrderAndDiffer) {
  const qel::Data a;
  const qel::Data b;
  const std::uint64_t ids[] = {
      a.varAdderId,       a.linConAdderId,    a.linObjAdderId, a.quadConAdderId,  a.quadObjAdderId,
      a.nonlinConAdderId, a.nonlinObjAdderId, a.sosConAdderId, a.indicConAdderId, b.varAdderId};
  for (std::size_t k = 1; k < std::size(ids); ++k) EXPECT_EQ(ids[k], ids[0] + k);
}

TEST(DataTest, QueriesFollowTheObjectiveAndConstraintLists) {
  using D = qel::Data;
  const struct {
    const char* what;
    std::vector<nuv::idx::lib::Range (D::*)(int)> load;
    bool hasObj, isLinear, isNonlinear;
  } cases[] = {
      {"empty", {}, false, true, false},
      {"linear rows and objective", {&D::addLinCon, &D::addLinObj}, true, true, false},
      {"quadratic row", {&D::addQuadCon}, false, false, false},
      {"quadratic objective", {&D::addQuadObj}, true, false, false},
      {"nonlinear row", {&D::addNonlinCon}, false, false, true},
      {"nonlinear objective", {&D::addNonlinObj}, true, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    qel::Data data;
    for (const auto add : c.load) static_cast<void>((data.*add)(1));
    EXPECT_EQ(data.hasObj(), c.hasObj);
    EXPECT_EQ(data.isLinear(), c.isLinear);
    EXPECT_EQ(data.isNonlinear(), c.isNonlinear);
  }
}

TEST(DataTest, BasisMapsTranslateEveryCode) {
  // Codes -1 to 4 in turn.
  const int toHost[] = {4, 1, 3, 2, 4, 4};
  const int toXpress[] = {3, 3, 0, 2, 1, 3};
  for (int code = -1; code <= 4; ++code) {
    EXPECT_EQ(qel::basisToPelu(code), toHost[code + 1]) << code;
    EXPECT_EQ(qel::basisToXpress(code), toXpress[code + 1]) << code;
  }
}

struct NoCallback : nuv::opt::AbstractCallback {
  void notify(const nuv::TagIndex&) override {}
};

// Two columns, rows, an objective and a set, values in the containers and the link options, and
// a callback: something for clear to empty.
void fillRecord(qel::Data& data) {
  const double upper[] = {1.0, 1.0};
  data.prob->addCols(2, 0, nullptr, nullptr, nullptr, nullptr, nullptr, upper);
  data.addVar(2);
  data.addLinCon(1);
  data.addQuadCon(1);
  data.addLinObj(1);
  data.addSOSCon(1);
  data.varBasis->set(1, 3, 0);
  data.constrInfeasible->set(0, 1, 0);
  data.linkAttribs->advbasis()->set(0, 0);
  data.callbackState.callback = std::make_shared<NoCallback>();
}

using DataClearTest = qel_test::RecordTest;

TEST_F(DataClearTest, EmptiesTheSameObjectsAndKeepsIdsAndView) {
  fillRecord(*data_);
  const auto varList = data_->varList;
  const auto linConList = data_->linConList;
  const auto varBasis = data_->varBasis;
  const auto log = data_->callbackState.log;
  const auto view = data_->callbackState.probView;
  const std::uint64_t firstId = data_->varAdderId;
  const XPRSprob old = data_->prob->rawProb();

  data_->clear();
  EXPECT_NE(data_->prob->rawProb(), old);
  EXPECT_EQ(xt::inspect(data_->prob->rawProb()).model.cols(), 0);
  EXPECT_NE(data_->callbackState.log, log);
  EXPECT_EQ(data_->callbackState.callback, nullptr);
  EXPECT_EQ(data_->callbackState.probView, view);
  EXPECT_EQ(data_->varAdderId, firstId);
  EXPECT_EQ(data_->varList, varList);
  EXPECT_EQ(data_->varBasis, varBasis);
  for (const nuv::Index size :
       {varList->size(), linConList->size(), data_->conList->size(), data_->quadConList->size(),
        data_->sosConList->size(), varBasis->itemCount(), varBasis->elemCount(),
        data_->constrInfeasible->itemCount(), data_->constrInfeasible->elemCount(),
        data_->linkAttribs->advbasis()->elemCount()}) {
    EXPECT_EQ(size, 0);
  }
  EXPECT_FALSE(data_->hasObj());

  expectBlock(data_->addVar(2), 0, 2);
  expectBlock(data_->addLinCon(1), 0, 1);
  EXPECT_THAT(entries(*linConList), ElementsAre(0));
}

// The objects clear replaces, in order.
const std::vector<std::string> kLifecycle = {"XPRSdestroyprob",  "XPRScreateprob",
                                             "XPRS_msp_destroy", "XPRS_msp_create",
                                             "XPRS_mse_destroy", "XPRS_mse_create"};

// With the solution pool and enumerator of a started solver, whose clear follows the problem's.
class DataClearSolutionObjectsTest : public qel_test::StartedDataTest {
 protected:
  void SetUp() override {
    StartedDataTest::SetUp();
    fillRecord(*data_);
    data_->solEnum->setCapacity(5);
    xt::clearCalls();
  }
  // The Xpress objects destroyed and created since SetUp, in order.
  static std::vector<std::string> lifecycle() {
    std::vector<std::string> functions;
    for (const xt::CallRecord& call : xt::calls()) {
      if (call.function.find("create") != std::string::npos ||
          call.function.find("destroy") != std::string::npos) {
        functions.push_back(call.function);
      }
    }
    return functions;
  }
};

TEST_F(DataClearSolutionObjectsTest, ReplacesProblemPoolAndEnumeratorInThatOrder) {
  data_->clear();
  EXPECT_EQ(lifecycle(), kLifecycle);
  EXPECT_EQ(xt::livePools(), 1);
  EXPECT_EQ(xt::liveEnumerators(), 1);
  EXPECT_EQ(xt::inspect(data_->solPool->handle()).solutions.size(), 0u);
  // The enumerator's own clear ran: its capacity is unlimited again.
  EXPECT_EQ(data_->solEnum->capacity(), INT_MAX);
  EXPECT_EQ(data_->varList->size(), 0);
  EXPECT_EQ(data_->callbackState.callback, nullptr);
}

// A re-creation that fails and the text it raises; the objects replaced until then are those
// of kLifecycle up to the failed step.
struct FailedStep {
  const char* function;
  const char* text;
};
void PrintTo(const FailedStep& step, std::ostream* os) { *os << step.function; }

class DataClearFailureTest : public DataClearSolutionObjectsTest,
                             public ::testing::WithParamInterface<FailedStep> {};

TEST_P(DataClearFailureTest, StopsAtTheFailedStep) {
  const FailedStep& step = GetParam();
  const auto log = data_->callbackState.log;
  xt::failNext(step.function, 7, "ignored");
  EXPECT_THAT([&] { data_->clear(); },
              ThrowsMessage<qel::XpressException>(StrEq(std::string("Xpress (7): ") + step.text +
                                                        " [Trace: " + step.function + "]")));
  const auto failed = std::find(kLifecycle.begin(), kLifecycle.end(), step.function);
  ASSERT_NE(failed, kLifecycle.end());
  EXPECT_EQ(lifecycle(), std::vector<std::string>(kLifecycle.begin(), failed + 1));
  // Nothing after the failed step ran.
  EXPECT_EQ(data_->callbackState.log, log);
  EXPECT_NE(data_->callbackState.callback, nullptr);
  EXPECT_EQ(data_->varList->size(), 2);
  EXPECT_EQ(data_->varBasis->elemCount(), 1);
  EXPECT_EQ(data_->linkAttribs->advbasis()->elemCount(), 1);
  EXPECT_EQ(data_->solEnum->capacity(), 5);
}

const FailedStep kFailedSteps[] = {{"XPRScreateprob", "Cannot create problem."},
                                   {"XPRS_msp_create", "Cannot create solution pool."},
                                   {"XPRS_mse_create", "Cannot create solution enumerator."}};

INSTANTIATE_TEST_SUITE_P(EachStep, DataClearFailureTest, ::testing::ValuesIn(kFailedSteps),
                         [](const auto& info) { return std::string(info.param.function); });

}  // namespace
