#include "orla/link.hpp"

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "driver.hpp"
#include "interrupt_watch.hpp"
#include "number_check.hpp"
#include "nuv/opt/abstract_solver.hpp"
#include "orla/testing.hpp"
#include "orla/vop_rec.hpp"

namespace orla {
namespace {

using Raise = std::function<void(const std::shared_ptr<nuv::opt::AbstractSolver>&)>;

// Process-wide state of the library: the initialise count and the test hooks.
struct State {
  std::mutex mutex;
  std::atomic<int> initialized{0};
  std::atomic<int> finalized{0};
  std::map<const Link*, std::weak_ptr<nuv::opt::AbstractSolver>> live;
  Raise failNext;
  std::optional<LinkDef> lastDefinition;
  std::atomic<const vopRec*> lastModel{nullptr};
  std::optional<int> readyApiResult;
  std::optional<int> callSolverResult;
};

State& state() {
  static State s;
  return s;
}

// A hook armed for one call: taken out, and so disarmed.
template <class T>
T takeHook(T State::*hook) {
  State& s = state();
  const std::lock_guard lock(s.mutex);
  return std::exchange(s.*hook, T());
}

void checkNumber(int number, int count, const char* what) {
  if (number < 0 || number >= count) {
    throw std::invalid_argument(std::string(what) + " " + std::to_string(number) +
                                " is not between 0 and " + std::to_string(count - 1));
  }
}

// Adds a message; losing it is better than letting an exception reach the host.
void report(vopRec& model, const char* prefix, const char* text) noexcept {
  try {
    model.messages.push_back(std::string(prefix) + text);
  } catch (...) {  // NOLINT(bugprone-empty-catch): see above
  }
}

}  // namespace

LinkDef::LinkDef() = default;

void LinkDef::enable(Plugin plugin) {
  const int number = static_cast<int>(plugin);
  checkNumber(number, kPluginCount, "feature");
  enabled_.set(static_cast<std::size_t>(number));
  calls_.push_back({true, number, {}});
}

void LinkDef::setName(PluginAttrib attrib, std::string name) {
  const int number = static_cast<int>(attrib);
  checkNumber(number, kAttribCount, "feature setting");
  names_[static_cast<std::size_t>(number)] = name;
  calls_.push_back({false, number, std::move(name)});
}

bool LinkDef::enabled(Plugin plugin) const {
  const int number = static_cast<int>(plugin);
  return number >= 0 && number < kPluginCount && enabled_.test(static_cast<std::size_t>(number));
}

const std::string& LinkDef::name(PluginAttrib attrib) const {
  static const std::string none;
  const int number = static_cast<int>(attrib);
  if (number < 0 || number >= kAttribCount) return none;
  return names_[static_cast<std::size_t>(number)];
}

void Link::initialize() { ++state().initialized; }

void Link::finalize() { ++state().finalized; }

Link::Link(std::shared_ptr<nuv::opt::AbstractSolver> solver, LinkDef definition)
    : solver_(std::move(solver)), definition_(std::move(definition)) {
  if (const Raise raise = takeHook(&State::failNext)) raise(solver_);
  State& s = state();
  const std::lock_guard lock(s.mutex);
  if (s.initialized <= s.finalized) {
    throw std::logic_error("the host link library is not initialised");
  }
  if (!solver_) throw std::invalid_argument("the host link needs a solver");
  s.lastDefinition = definition_;
  s.live.emplace(this, solver_);
}

Link::~Link() {
  State& s = state();
  const std::lock_guard lock(s.mutex);
  s.live.erase(this);
}

int Link::readyAPI(vopRec* model) noexcept {
  model_ = model;
  state().lastModel = model;
  return takeHook(&State::readyApiResult).value_or(model == nullptr ? 1 : 0);
}

int Link::callSolver() noexcept {
  const int result = solveModel();
  return takeHook(&State::callSolverResult).value_or(result);
}

int Link::solveModel() noexcept {
  if (model_ == nullptr) return 1;
  try {
    model_->results = {};
    model_->messages.clear();
    detail::refuseNaN(*model_);
    detail::InterruptWatch interrupts(*solver_);
    detail::drive(*solver_, definition_, *model_, interrupts);
    return 0;
  } catch (const std::exception& e) {
    report(*model_, "error: ", e.what());
  } catch (...) {
    report(*model_, "error: ", "the solver failed with an exception of unknown type");
  }
  return 1;
}

namespace testing {

void failNextLink(Raise raise) {
  State& s = state();
  const std::lock_guard lock(s.mutex);
  s.failNext = std::move(raise);
}

void failNextLink(std::string message) {
  failNextLink([message = std::move(message)](const auto&) { throw std::runtime_error(message); });
}

int initializeCount() { return state().initialized; }

int finalizeCount() { return state().finalized; }

int liveLinks() {
  State& s = state();
  const std::lock_guard lock(s.mutex);
  return static_cast<int>(s.live.size());
}

std::weak_ptr<nuv::opt::AbstractSolver> solverOf(const void* link) {
  State& s = state();
  const std::lock_guard lock(s.mutex);
  const auto found = s.live.find(static_cast<const Link*>(link));
  return found == s.live.end() ? std::weak_ptr<nuv::opt::AbstractSolver>() : found->second;
}

std::optional<LinkDef> lastDefinition() {
  State& s = state();
  const std::lock_guard lock(s.mutex);
  return s.lastDefinition;
}

const vopRec* lastModel() { return state().lastModel; }

void nextReadyApiResult(int result) {
  State& s = state();
  const std::lock_guard lock(s.mutex);
  s.readyApiResult = result;
}

void nextCallSolverResult(int result) {
  State& s = state();
  const std::lock_guard lock(s.mutex);
  s.callSolverResult = result;
}

}  // namespace testing
}  // namespace orla
