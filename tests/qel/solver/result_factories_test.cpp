// The result dictionaries as the solver's factories hand them out, and its option and command
// factories.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "nuv/attr/abstract_item_dict.hpp"
#include "nuv/attr/container.hpp"
#include "nuv/attr/item.hpp"
#include "nuv/exception.hpp"
#include "nuv/opt/abstract_command.hpp"
#include "nuv/opt/context.hpp"
#include "qel/solver/obj_domain.hpp"
#include "tests/qel/solver/solved_model_fixture.hpp"
#include "xprs_testing.hpp"

namespace qel_test {
namespace {

namespace opt = nuv::opt;
using ::testing::ElementsAre;
using Obj = qel::ObjDomain;
const char kNotStarted[] = ": Requires model to be started first.";

// "none" for the empty handle, else the size and the first key.
std::string shape(const nuv::attr::ContainerDict& dict) {
  if (dict.empty()) return "none";
  const nuv::idx::List keys = dict.indexKeys();
  return std::to_string(dict.size()) + "@" + (keys.size() > 0 ? std::to_string(keys[0]) : "-");
}

// Every value of a container of either type, as doubles.
std::vector<double> all(const nuv::attr::BaseContainer& base) {
  std::vector<double> values(static_cast<std::size_t>(base.itemCount()));
  std::vector<int> codes(values.size());
  nuv::attr::Container<double>(base).getAll(values, 0);
  nuv::attr::Container<int>(base).getAll(codes, 0);
  if (base.typeCode() == nuv::attr::TypeCode::kInt) values.assign(codes.begin(), codes.end());
  return values;
}

using ResultFactoriesTest = SolvedModelTest;

TEST_F(ResultFactoriesTest, ResultsOnlyForTheAdderIdsThatMadeTheEntities) {
  solveLp();
  const nuv::TagIndex command = opt::command::fix;
  const struct {
    std::uint64_t id;
    const char *variables, *constraints, *inCallback, *underCommand;
  } cases[] = {
      {data_->varAdderId, "5@5", "none", "none", "none"},
      {data_->linConAdderId, "none", "5@3", "none", "none"},
      {data_->linObjAdderId, "none", "2@5", "2@5", "0@-"},
      {data_->quadObjAdderId, "none", "2@5", "2@5", "0@-"},
      {data_->nonlinObjAdderId, "none", "2@5", "2@5", "0@-"},
      {data_->quadConAdderId, "none", "none", "none", "none"},
      {data_->nonlinConAdderId, "none", "none", "none", "none"},
      {data_->sosConAdderId, "none", "none", "none", "none"},
      {data_->indicConAdderId, "none", "none", "none", "none"},
      {0, "none", "none", "none", "none"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    const opt::VariableContainer vars = solver_->variables(c.id, nullptr);
    const opt::ConstraintContainer rows = solver_->constraints(c.id, nullptr);
    EXPECT_EQ(shape(vars.domain), c.variables);
    EXPECT_EQ(shape(rows.domain), c.constraints);
    EXPECT_TRUE(vars.tagged.empty() && rows.function.empty() && rows.tagged.empty());
    EXPECT_EQ(shape(solver_->variables(c.id, &opt::context::node).domain), "none");
    EXPECT_EQ(shape(solver_->constraints(c.id, &opt::context::node).domain), c.inCallback);
    EXPECT_EQ(shape(solver_->constraints(c.id, &command).domain), c.underCommand);
  }
  const auto vars = solver_->variables(data_->varAdderId, nullptr).domain;
  const auto rows = solver_->constraints(data_->linConAdderId, nullptr).domain;
  const auto objective = solver_->constraints(data_->linObjAdderId, nullptr).domain;
  EXPECT_NE(vars.shared(), solver_->variables(data_->varAdderId, nullptr).domain.shared());
  // The starting basis and the marks are the record's own containers.
  EXPECT_EQ(vars[5].shared(), data_->varBasis);
  EXPECT_EQ(vars[6].shared(), data_->varInfeasible);
  EXPECT_EQ(rows[3].shared(), data_->linConstrBasis);
  EXPECT_EQ(rows[4].shared(), data_->constrInfeasible);
  EXPECT_THAT(all(vars[7]), ElementsAre(3, 1, 2, 3, 7, 0));
  EXPECT_THAT(all(vars[8]), ElementsAre(0, 0, 0, 0, -1, 1));
  EXPECT_THAT(all(vars[9]), ElementsAre(3, 3, 3, 3, 2, 1));
  EXPECT_THAT(all(rows[5]), ElementsAre(0, 0, 94, 3, 0));
  EXPECT_THAT(all(rows[6]), ElementsAre(-1.5, 0.5, 0, 1, -1));
  EXPECT_THAT(all(rows[7]), ElementsAre(2, 1, 3, 1, 2));
  EXPECT_TRUE(vars[4].empty() && vars[10].empty() && rows[2].empty() && rows[8].empty());
  TearDown();
  EXPECT_TRUE(vars[7].empty() && rows[5].empty() && objective[5].empty());
}

TEST_F(ResultFactoriesTest, RowItemsAreTheLinearRowsOnceOtherRowsExist) {
  // max x, x in [0, 10]: rows 0, 1 and 3 linear (x <= 4, 6, 0 <= x <= 9), row 2 of another kind
  // (x <= 8).
  load({0}, {10}, {{1}, {1}}, {-4, -6}, {1, 1}, {1}, 1);
  boundRow(0, {}, 8);
  boundRow(0, {0}, 9);
  optimize();
  const auto rows = solver_->constraints(data_->linConAdderId, nullptr).domain;
  EXPECT_THAT(all(rows[5]), ElementsAre(0, 2, 5));
  EXPECT_THAT(all(rows[7]), ElementsAre(2, 3, 3));
  EXPECT_EQ(rows[3].itemCount(), 3);
}

TEST_F(ResultFactoriesTest, ObjectiveResultsOnlyForASingleObjectiveOfTheKind) {
  solveLp();  // one linear objective, value and bound -13
  xprs::testing::setDblAttrib(data_->prob->rawProb(), XPRS_BESTBOUND, 1e20);
  const std::pair<Obj::Types, nuv::idx::lib::Range (qel::Data::*)(int)> kinds[] = {
      {Obj::Linear, &qel::Data::addLinObj},
      {Obj::Quadratic, &qel::Data::addQuadObj},
      {Obj::Nonlinear, &qel::Data::addNonlinObj}};
  for (const auto& [kind, add] : kinds) {
    SCOPED_TRACE(kind);
    const Obj objective(data_, kind, nullptr);
    EXPECT_EQ(objective.size(), 2);
    if (kind != Obj::Linear) {
      EXPECT_TRUE(objective[5].empty());
      static_cast<void>(((*data_).*add)(1));
    }
    EXPECT_THAT(all(objective[5]), ElementsAre(-13));
    EXPECT_THAT(all(objective[6]), ElementsAre(INFINITY));
    static_cast<void>(((*data_).*add)(1));
    EXPECT_TRUE(objective[5].empty() && objective[6].empty());
  }
}

TEST_F(ResultFactoriesTest, ObjectiveInACallbackReadsTheRunningProblem) {
  // A scripted search over two integer columns that reports the bound 7.25 and then an
  // incumbent of value 5.5; the main problem still holds the values of no run (0).
  load({1, 1}, {3, 3}, {{2, 2}}, {-5}, {1}, {1, 2}, 1);
  struct Seen {
    qel::Solver* solver;
    std::vector<double> values;
  } seen{solver_.get(), {}};
  auto onIncumbent = [](XPRSprob prob, void* context) {
    auto& s = *static_cast<Seen*>(context);
    s.solver->data()->callbackState.probView->setProb(prob);
    const auto objective =
        s.solver->constraints(s.solver->data()->linObjAdderId, &opt::context::new_incumbent);
    for (const nuv::Index key : {5, 6}) s.values.push_back(all(objective.domain[key]).at(0));
    s.solver->data()->callbackState.probView->setProb(nullptr);
  };
  data_->prob->addCBIntSol(onIncumbent, &seen, 0);
  xprs::testing::RunScript run;
  run.run.bestBound = 7.25;
  run.events = {xprs::testing::ScriptEvent::optNode(),
                xprs::testing::ScriptEvent::intSol(5.5, {0, 2})};
  xprs::testing::script(data_->prob->rawProb(), run);
  ASSERT_EQ(data_->prob->optimize("", nullptr, nullptr), 0);
  EXPECT_THAT(seen.values, ElementsAre(5.5, 7.25));

  // The context is copied: changing the caller's object afterwards changes nothing.
  auto context = std::make_unique<nuv::TagIndex>(opt::context::node);
  const Obj outside(data_, Obj::Linear, context.get());
  *context = opt::command::fix;
  EXPECT_EQ(outside.size(), 2);
  const Obj command(data_, Obj::Linear, context.get());
  EXPECT_TRUE(command.size() == 0 && !command.contains(5) && command[5].empty());
}

TEST_F(ResultFactoriesTest, OptionDictionariesAndTheFixCommand) {
  const auto standard = solver_->attribs("nuv:solver", nullptr);
  const auto inCallback = solver_->attribs("nuv:solver", &opt::context::node);
  ASSERT_TRUE(standard && inCallback);
  EXPECT_EQ(standard->size(), 12);
  // Outside a callback the main problem answers, inside the callback view (unbound here).
  EXPECT_NO_THROW(static_cast<void>(nuv::attr::Item<double>((*standard)[7]).get(0)));
  EXPECT_THAT([&] { static_cast<void>(nuv::attr::Item<double>((*inCallback)[7]).get(0)); },
              testing::ThrowsMessage<nuv::Exception>(testing::StrEq(kNotStarted)));
  const auto options = solver_->attribs("qel", nullptr);
  ASSERT_TRUE(options && solver_->attribs("qel", &opt::context::node));
  EXPECT_EQ(options->size(), 761);
  EXPECT_NE(solver_->attribs("qel", nullptr), options);
  EXPECT_FALSE(solver_->attribs("QEL", nullptr) || solver_->attribs("nuv:Solver", nullptr) ||
               solver_->attribs("nuv:solver ", nullptr));
  const auto fix = solver_->command(opt::command::fix, nullptr);
  ASSERT_TRUE(fix && fix->active());
  EXPECT_NE(solver_->command(opt::command::fix, nullptr), fix);
  EXPECT_FALSE(solver_->command(opt::command::fix, &opt::context::node) ||
               solver_->command({"nuv:command", 1}, nullptr));
}

}  // namespace
}  // namespace qel_test
