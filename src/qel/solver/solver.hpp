// `qel::Solver`: the plug-in's solver, the Xpress optimizer behind the framework's solver
// interface.
//
// Everything the solver knows lives in one qel::Data record, which it shares; every object it
// hands out (adders, dictionaries, the fix command) holds only a weak reference to that record.
//
//   auto solver = std::make_shared<qel::Solver>();   // no optimizer call yet
//   solver->start({}, "");                            // Xpress, problem, pool, enumerator
//   solver->setLog(hostLog);
//   auto columns = solver->variableAdder(nuv::opt::interval_domain::tag, nullptr);
//   solver->clear();                                  // an empty model, still started
//
// Life cycle:
//   - construction makes the record and an unstarted problem and calls no optimizer function;
//   - `start` initialises the Xpress library, creates the problem, the solution pool and the
//     solution enumerator, and installs the message callback on all three. It creates only what
//     is missing: a second call on a started solver makes no optimizer call, and a call after a
//     failed one completes the work (the library initialised once, the message callback
//     installed once on each object). A start after `clear` changes nothing;
//   - `clear` empties the model (a new problem, pool and enumerator without callbacks, the
//     default log, no host callback); after a start that failed before the problem existed it
//     also releases the library, so the solver is as constructed;
//   - destruction clears the pool's and the enumerator's message callbacks, detaches the pool
//     from the problem, releases pool, enumerator and problem, then the library (whenever it was
//     initialised, also after a failed start), then the record. Nothing escapes it.
//
// `terminate` takes no lock and may be called while a run is in progress, also from the host
// callback. No other operation takes a lock.
#ifndef QEL_SOLVER_SOLVER_HPP_
#define QEL_SOLVER_SOLVER_HPP_

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "nuv/opt/abstract_solver.hpp"
#include "nuv/opt/constraint_container.hpp"
#include "nuv/opt/solve_status.hpp"
#include "nuv/opt/variable_container.hpp"
#include "nuv/tag.hpp"

namespace qel {

class Data;
class XpressLibrary;

class Solver final : public nuv::opt::AbstractSolver {
 public:
  Solver();
  Solver(const Solver&) = delete;
  Solver& operator=(const Solver&) = delete;
  ~Solver() override;

  // "Xpress", 0.6.1 and "qel".
  [[nodiscard]] std::string name() const override;
  [[nodiscard]] nuv::opt::Version version() const override;
  [[nodiscard]] nuv::Tag tag() const override;
  // Whether the Xpress problem exists.
  [[nodiscard]] bool started() const override;
  // Neither argument is used. A failed step raises (qel::XpressException: the library's
  // initialisation text, "Cannot create problem.", "Cannot create solution pool.", "Cannot
  // create solution enumerator."); the steps before it stay done.
  void start(std::span<const std::string> arguments, std::string_view location) override;
  void clear() override;

  bool setLog(const std::shared_ptr<nuv::opt::AbstractLog>& log) override;
  [[nodiscard]] std::shared_ptr<nuv::opt::AbstractLog> getLog() const override;
  bool setCallback(const std::shared_ptr<nuv::opt::AbstractCallback>& callback) override;
  [[nodiscard]] std::shared_ptr<nuv::opt::AbstractCallback> getCallback() const override;
  // Registers, on the problem, the optimizer callback that notifies the host with context:
  // {"nuv:context", 0} the check-time callback (after setting the check-time delay, control
  // 8451, to 50), 1 the node callback, 2 the new-incumbent callback. False for any other
  // context, with no optimizer call. Each call registers once more. Raises the start guard
  // before `start`, qel::XpressException when Xpress refuses.
  bool addCallbackContext(const nuv::TagIndex& context) override;

  // New adders by tags, each holding only a weak reference to the record; null for a request
  // not served, and for any request with a context.
  [[nodiscard]] std::shared_ptr<nuv::opt::AbstractVariableAdder> variableAdder(
      const nuv::Tag& domain, const nuv::TagIndex* context) override;
  [[nodiscard]] std::shared_ptr<nuv::opt::AbstractConstraintAdder> constraintAdder(
      const nuv::Tag& function, const nuv::Tag& domain, const nuv::TagIndex* context) override;
  [[nodiscard]] std::shared_ptr<nuv::opt::AbstractLinkedConstraintAdder> linkedConstraintAdder(
      const nuv::TagIndex& link, const nuv::Tag& firstFunction, const nuv::Tag& firstDomain,
      const nuv::Tag& secondFunction, const nuv::Tag& secondDomain,
      const nuv::TagIndex* context) override;

  [[nodiscard]] nuv::opt::VariableContainer variables(std::uint64_t id,
                                                      const nuv::TagIndex* context) const override;
  [[nodiscard]] nuv::opt::ConstraintContainer constraints(
      std::uint64_t id, const nuv::TagIndex* context) const override;
  [[nodiscard]] std::shared_ptr<nuv::attr::AbstractItemDict> attribs(
      const nuv::Tag& name, const nuv::TagIndex* context) const override;
  [[nodiscard]] std::shared_ptr<nuv::opt::AbstractCommand> command(
      const nuv::TagIndex& which, const nuv::TagIndex* context) const override;

  // One run of the loaded model (see solve.cpp for the steps), with the warm starts and link
  // options applied; logs "XPRESS stop status: " and "XPRESS sol status: " lines, each with the
  // status text and code, then an empty line, and marks the columns and rows Xpress reports
  // infeasible. Raises the start guard before `start`, "Support Error" for a branching priority
  // that is not finite (before any change to the problem), qel::XpressException when Xpress
  // refuses a call. A run that fails raises nothing: it logs the optimizer's last error as an
  // error titled "Xpress" and ends with the status its attributes give.
  nuv::opt::SolveStatus solve() override;
  // Interrupts the running optimisation of the problem with the user-interrupt reason. Raises
  // the start guard before `start`, qel::XpressException when Xpress refuses.
  void terminate() override;

  // The record, for the solver's own parts and for tests.
  [[nodiscard]] const std::shared_ptr<Data>& data() const noexcept { return data_; }

 private:
  // How far `start` got with the message callback: the problem registers it once per
  // registration call, the pool and the enumerator keep only the latest.
  enum class Messages { none, onProblem, installed };

  // Held from the first successful XPRSinit to destruction (or a clear that finds no problem).
  std::unique_ptr<XpressLibrary> library_;
  Messages messages_ = Messages::none;
  std::shared_ptr<Data> data_;
};

}  // namespace qel

#endif  // QEL_SOLVER_SOLVER_HPP_
