// `nuv::opt::AbstractSolver`: the one interface through which the host link drives a solver.
//
// The host link holds the solver as a shared AbstractSolver. It starts it, installs a log and a
// callback, asks for adders and hands the model to them batch by batch, writes options through
// item dictionaries, calls `solve`, and reads the results back through the part containers and
// dictionaries. The order of the operations is fixed: closed code calls them through the virtual
// table.
//
// Contracts:
//   - `start` comes before every operation that touches the solver's problem; the callback is
//     set before callback contexts are added.
//   - Factory operations (the three adders, `attribs`, `command`) answer a request they do not
//     serve with a null pointer, the result operations with an empty container; neither raises
//     for it. Every object handed out is new and shared with the caller; adders and result
//     dictionaries answer neutrally once the solver is gone.
//   - A context argument is null for a call made outside any callback; otherwise the call is
//     made from within the host callback for that context and refers to the running solve.
//   - An adder's `id` names the family of entities it creates; `variables`, `constraints` and
//     `linkedConstraints` take it back and answer the results of that family in the domain part.
//   - `clear` empties the model, restores the default log and drops the callback; the solver
//     stays started.
//   - `terminate` may be called while `solve` runs on another thread; it takes no lock.
#ifndef NUV_OPT_ABSTRACT_SOLVER_HPP_
#define NUV_OPT_ABSTRACT_SOLVER_HPP_

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "nuv/opt/constraint_container.hpp"
#include "nuv/opt/linked_constraint_container.hpp"
#include "nuv/opt/solve_status.hpp"
#include "nuv/opt/variable_container.hpp"
#include "nuv/tag.hpp"

namespace nuv::attr {
class AbstractItemDict;
}  // namespace nuv::attr

namespace nuv::opt {

class AbstractCallback;
class AbstractCommand;
class AbstractConstraintAdder;
class AbstractLinkedConstraintAdder;
class AbstractLog;
class AbstractVariableAdder;

// The version of a solver link, in field order.
struct Version {
  std::uint8_t majorNumber = 0;
  std::uint8_t minorNumber = 0;
  std::uint8_t patchNumber = 0;

  friend constexpr bool operator==(const Version&, const Version&) = default;
};

class AbstractSolver {
 public:
  virtual ~AbstractSolver() = default;

  // Display name.
  [[nodiscard]] virtual std::string name() const = 0;
  [[nodiscard]] virtual Version version() const = 0;
  // The solver's own tag: `attribs` called with it gives the solver's option dictionary.
  [[nodiscard]] virtual Tag tag() const = 0;
  [[nodiscard]] virtual bool started() const = 0;
  // Prepares the solver. The arguments come from the host link; a solver need not use them.
  virtual void start(std::span<const std::string> arguments, std::string_view location) = 0;
  virtual void clear() = 0;

  // False, with the old log kept, for a null pointer; else true.
  virtual bool setLog(const std::shared_ptr<AbstractLog>& log) = 0;
  // The current log; a default AbstractLog until one is set.
  [[nodiscard]] virtual std::shared_ptr<AbstractLog> getLog() const = 0;
  // False for a null pointer; else true.
  virtual bool setCallback(const std::shared_ptr<AbstractCallback>& callback) = 0;
  // The current callback; null until one is set.
  [[nodiscard]] virtual std::shared_ptr<AbstractCallback> getCallback() const = 0;
  // True when the solver will notify the callback with this context during a solve; false for
  // a context it does not serve.
  virtual bool addCallbackContext(const TagIndex& context) = 0;

  [[nodiscard]] virtual std::shared_ptr<AbstractVariableAdder> variableAdder(
      const Tag& domain, const TagIndex* context) = 0;
  [[nodiscard]] virtual std::shared_ptr<AbstractConstraintAdder> constraintAdder(
      const Tag& function, const Tag& domain, const TagIndex* context) = 0;
  [[nodiscard]] virtual std::shared_ptr<AbstractLinkedConstraintAdder> linkedConstraintAdder(
      const TagIndex& link, const Tag& firstFunction, const Tag& firstDomain,
      const Tag& secondFunction, const Tag& secondDomain, const TagIndex* context) = 0;

  [[nodiscard]] virtual VariableContainer variables(std::uint64_t id,
                                                    const TagIndex* context) const = 0;
  [[nodiscard]] virtual ConstraintContainer constraints(std::uint64_t id,
                                                        const TagIndex* context) const = 0;
  // The default serves no linked constraints: an empty container for every id and context.
  [[nodiscard]] virtual LinkedConstraintContainer linkedConstraints(std::uint64_t id,
                                                                    const TagIndex* context) const {
    static_cast<void>(id);
    static_cast<void>(context);
    return {};
  }
  // The option dictionary under the solver's own tag, the standard solver attributes under
  // solver::tag ("nuv:solver"), else null.
  [[nodiscard]] virtual std::shared_ptr<attr::AbstractItemDict> attribs(
      const Tag& name, const TagIndex* context) const = 0;
  [[nodiscard]] virtual std::shared_ptr<AbstractCommand> command(const TagIndex& which,
                                                                 const TagIndex* context) const = 0;

  // Runs one optimisation of the loaded model.
  virtual SolveStatus solve() = 0;
  // Asks a running solve to stop at the next opportunity and returns at once.
  virtual void terminate() = 0;

 protected:
  AbstractSolver() = default;
  AbstractSolver(const AbstractSolver&) = default;
  AbstractSolver& operator=(const AbstractSolver&) = default;
};

}  // namespace nuv::opt

#endif  // NUV_OPT_ABSTRACT_SOLVER_HPP_
