// Closed code calls the solver, its adders, the command, the callback and the log through their
// virtual tables, so the slot of every operation is fixed. Under the Itanium C++ ABI a pointer to
// a virtual member function holds 1 + the byte offset of its slot; the two destructor entries
// take slots 0 and 1.
#include "nuv/opt/abstract_solver.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "nuv/attr/abstract_item_dict.hpp"
#include "nuv/attr/container.hpp"
#include "nuv/attr/lib/map_container_dict.hpp"
#include "nuv/attr/lib/vector_container.hpp"
#include "nuv/opt/abstract_callback.hpp"
#include "nuv/opt/abstract_command.hpp"
#include "nuv/opt/abstract_constraint_adder.hpp"
#include "nuv/opt/abstract_linked_constraint_adder.hpp"
#include "nuv/opt/abstract_log.hpp"
#include "nuv/opt/abstract_variable_adder.hpp"
#include "nuv/opt/context.hpp"
#include "nuv/opt/keys.hpp"

namespace nuv::opt {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

template <class Member>
std::ptrdiff_t slotOf(Member member) {
  static_assert(sizeof(Member) == 2 * sizeof(std::ptrdiff_t));
  std::ptrdiff_t words[2];
  std::memcpy(words, &member, sizeof words);
  EXPECT_EQ(words[0] % static_cast<std::ptrdiff_t>(sizeof(void*)), 1) << "not virtual";
  return (words[0] - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));
}

TEST(SolverSlotOrderTest, SolverOperationsKeepTheirSlots) {
  using S = AbstractSolver;
  struct Case {
    const char* what;
    std::ptrdiff_t slot;
  };
  const Case cases[] = {
      {"name", slotOf(&S::name)},
      {"version", slotOf(&S::version)},
      {"tag", slotOf(&S::tag)},
      {"started", slotOf(&S::started)},
      {"start", slotOf(&S::start)},
      {"clear", slotOf(&S::clear)},
      {"setLog", slotOf(&S::setLog)},
      {"getLog", slotOf(&S::getLog)},
      {"setCallback", slotOf(&S::setCallback)},
      {"getCallback", slotOf(&S::getCallback)},
      {"addCallbackContext", slotOf(&S::addCallbackContext)},
      {"variableAdder", slotOf(&S::variableAdder)},
      {"constraintAdder", slotOf(&S::constraintAdder)},
      {"linkedConstraintAdder", slotOf(&S::linkedConstraintAdder)},
      {"variables", slotOf(&S::variables)},
      {"constraints", slotOf(&S::constraints)},
      {"linkedConstraints", slotOf(&S::linkedConstraints)},
      {"attribs", slotOf(&S::attribs)},
      {"command", slotOf(&S::command)},
      {"solve", slotOf(&S::solve)},
      {"terminate", slotOf(&S::terminate)},
  };
  std::ptrdiff_t expected = 2;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.slot, expected++);
  }
}

TEST(SolverSlotOrderTest, AdderCommandCallbackAndLogKeepTheirSlots) {
  EXPECT_EQ(slotOf(&AbstractVariableAdder::active), 2);
  EXPECT_EQ(slotOf(&AbstractVariableAdder::id), 3);
  EXPECT_EQ(slotOf(&AbstractVariableAdder::add), 4);
  EXPECT_EQ(slotOf(&AbstractConstraintAdder::active), 2);
  EXPECT_EQ(slotOf(&AbstractConstraintAdder::id), 3);
  EXPECT_EQ(slotOf(&AbstractConstraintAdder::add), 4);
  EXPECT_EQ(slotOf(&AbstractLinkedConstraintAdder::active), 2);
  EXPECT_EQ(slotOf(&AbstractLinkedConstraintAdder::id), 3);
  EXPECT_EQ(slotOf(&AbstractLinkedConstraintAdder::add), 4);

  EXPECT_EQ(slotOf(&AbstractCommand::active), 2);
  EXPECT_EQ(slotOf(&AbstractCommand::call), 3);
  EXPECT_EQ(slotOf(&AbstractCallback::notify), 2);

  EXPECT_EQ(slotOf(&AbstractLog::newline), 2);
  EXPECT_EQ(slotOf(&AbstractLog::print), 3);
  EXPECT_EQ(slotOf(&AbstractLog::println), 4);
  EXPECT_EQ(slotOf(&AbstractLog::info), 5);
  EXPECT_EQ(slotOf(&AbstractLog::warning), 6);
  EXPECT_EQ(slotOf(&AbstractLog::error), 7);
}

// Overrides every operation but linkedConstraints and records which one ran, with what.
class RecordingSolver final : public AbstractSolver {
 public:
  [[nodiscard]] std::string name() const override { return note("name"), "Recording"; }
  [[nodiscard]] Version version() const override { return note("version"), Version{0, 6, 1}; }
  [[nodiscard]] Tag tag() const override { return note("tag"), "rec"; }
  [[nodiscard]] bool started() const override { return note("started"), started_; }
  void start(std::span<const std::string> arguments, std::string_view location) override {
    note("start " + std::to_string(arguments.size()) + " " + std::string(location));
    started_ = true;
  }
  void clear() override { note("clear"); }
  bool setLog(const std::shared_ptr<AbstractLog>& log) override {
    return note("setLog"), log != nullptr;
  }
  [[nodiscard]] std::shared_ptr<AbstractLog> getLog() const override {
    return note("getLog"), nullptr;
  }
  bool setCallback(const std::shared_ptr<AbstractCallback>& callback) override {
    return note("setCallback"), callback != nullptr;
  }
  [[nodiscard]] std::shared_ptr<AbstractCallback> getCallback() const override {
    return note("getCallback"), nullptr;
  }
  bool addCallbackContext(const TagIndex& context) override {
    return note("addCallbackContext " + std::to_string(context.index)), false;
  }
  [[nodiscard]] std::shared_ptr<AbstractVariableAdder> variableAdder(
      const Tag& domain, const TagIndex* context) override {
    return note("variableAdder " + std::string(domain) + withContext(context)), nullptr;
  }
  [[nodiscard]] std::shared_ptr<AbstractConstraintAdder> constraintAdder(
      const Tag& function, const Tag& domain, const TagIndex* context) override {
    note("constraintAdder " + std::string(function) + " " + std::string(domain) +
         withContext(context));
    return nullptr;
  }
  [[nodiscard]] std::shared_ptr<AbstractLinkedConstraintAdder> linkedConstraintAdder(
      const TagIndex& link, const Tag& firstFunction, const Tag& firstDomain,
      const Tag& secondFunction, const Tag& secondDomain, const TagIndex* context) override {
    note("linkedConstraintAdder " + std::string(link.tag) + " " + std::string(firstFunction) + " " +
         std::string(firstDomain) + " " + std::string(secondFunction) + " " +
         std::string(secondDomain) + withContext(context));
    return nullptr;
  }
  [[nodiscard]] VariableContainer variables(std::uint64_t id,
                                            const TagIndex* context) const override {
    note("variables " + std::to_string(id) + withContext(context));
    return {};
  }
  [[nodiscard]] ConstraintContainer constraints(std::uint64_t id,
                                                const TagIndex* context) const override {
    note("constraints " + std::to_string(id) + withContext(context));
    return {};
  }
  [[nodiscard]] std::shared_ptr<attr::AbstractItemDict> attribs(
      const Tag& name, const TagIndex* context) const override {
    return note("attribs " + std::string(name) + withContext(context)), nullptr;
  }
  [[nodiscard]] std::shared_ptr<AbstractCommand> command(const TagIndex& which,
                                                         const TagIndex* context) const override {
    return note("command " + std::string(which.tag) + withContext(context)), nullptr;
  }
  SolveStatus solve() override { return note("solve"), SolveStatus::user_interrupt; }
  void terminate() override { note("terminate"); }

  mutable std::vector<std::string> calls;

 private:
  void note(std::string call) const { calls.push_back(std::move(call)); }
  static std::string withContext(const TagIndex* context) {
    return context ? " @" + std::to_string(context->index) : "";
  }

  bool started_ = false;
};

struct SilentCallback final : AbstractCallback {
  void notify(const TagIndex& /*context*/) override {}
};

TEST(AbstractSolverTest, EveryOperationReachesTheOverrideThroughTheBase) {
  RecordingSolver recording;
  AbstractSolver& solver = recording;
  const std::array<std::string, 2> arguments{"a", "b"};

  EXPECT_EQ(solver.name(), "Recording");
  EXPECT_EQ(solver.version(), (Version{0, 6, 1}));
  EXPECT_EQ(solver.tag(), "rec");
  EXPECT_FALSE(solver.started());
  solver.start(arguments, "here");
  EXPECT_TRUE(solver.started());
  solver.clear();
  EXPECT_FALSE(solver.setLog(nullptr));
  EXPECT_EQ(solver.getLog(), nullptr);
  EXPECT_TRUE(solver.setCallback(std::make_shared<SilentCallback>()));
  EXPECT_EQ(solver.getCallback(), nullptr);
  EXPECT_FALSE(solver.addCallbackContext(context::new_incumbent));
  EXPECT_EQ(solver.variableAdder(interval_domain::tag, nullptr), nullptr);
  EXPECT_EQ(solver.constraintAdder("nuv:linear_function", "nuv:sense_domain", &context::node),
            nullptr);
  EXPECT_EQ(
      solver.linkedConstraintAdder(constraint_link::indicator, "f1", "d1", "f2", "d2", nullptr),
      nullptr);
  EXPECT_EQ(solver.variables(7, nullptr).domain.size(), 0);
  EXPECT_EQ(solver.constraints(8, &context::progress).domain.size(), 0);
  EXPECT_EQ(solver.attribs("nuv:solver", nullptr), nullptr);
  EXPECT_EQ(solver.command(command::fix, nullptr), nullptr);
  EXPECT_EQ(solver.solve(), SolveStatus::user_interrupt);
  solver.terminate();

  EXPECT_THAT(recording.calls,
              ElementsAre("name", "version", "tag", "started", "start 2 here", "started", "clear",
                          "setLog", "getLog", "setCallback", "getCallback", "addCallbackContext 2",
                          "variableAdder nuv:interval_domain",
                          "constraintAdder nuv:linear_function nuv:sense_domain @1",
                          "linkedConstraintAdder nuv:constr_link f1 d1 f2 d2", "variables 7",
                          "constraints 8 @0", "attribs nuv:solver", "command nuv:command", "solve",
                          "terminate"));
}

void expectEmpty(const ConstraintContainer& part) {
  EXPECT_TRUE(part.function.empty());
  EXPECT_TRUE(part.domain.empty());
  EXPECT_THAT(part.tagged, IsEmpty());
}

TEST(AbstractSolverTest, DefaultLinkedConstraintsAnswerAnEmptyContainer) {
  RecordingSolver recording;
  const AbstractSolver& solver = recording;
  struct Case {
    const char* what;
    std::uint64_t id;
    const TagIndex* context;
  };
  const Case cases[] = {
      {"id 0", 0, nullptr},
      {"an adder's id", 42, nullptr},
      {"with a context", 42, &context::node},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const LinkedConstraintContainer result = solver.linkedConstraints(c.id, c.context);
    expectEmpty(result.first);
    expectEmpty(result.second);
    EXPECT_THAT(result.links, IsEmpty());
  }
  EXPECT_THAT(recording.calls, IsEmpty());
}

TEST(PartContainerTest, TaggedPartFindsThePartOrAnswersEmpty) {
  auto names = std::make_shared<attr::lib::MapContainerDict>();
  names->set(variable::name,
             attr::BaseContainer(std::make_shared<attr::lib::VectorContainer<std::string>>(
                 std::vector<std::string>{"x", "y"})));
  VariableContainer batch;
  batch.tagged.emplace(variable::tag, attr::ContainerDict(names));

  EXPECT_EQ(taggedPart(batch.tagged, "nuv:variable").shared(), names);
  EXPECT_TRUE(taggedPart(batch.tagged, constraint::tag).empty());
  EXPECT_TRUE(taggedPart(batch.tagged, "nuv:Variable").empty());
  EXPECT_TRUE(taggedPart(TaggedParts{}, variable::tag).empty());
}

}  // namespace
}  // namespace nuv::opt
