// A test double of `nuv::opt::AbstractSolver` for testing hosts of the solver interface (the
// host link, the command-line host), built from the framework's real containers, items and
// dictionaries.
//
// It behaves as the plug-in documents its interface, without an optimizer:
//   - adders read their batches through the framework's part views and refuse variables of
//     another variable adder ("Support Error: Input not supported"); all row kinds draw their
//     numbers from one row counter; a nonlinear objective adds one column and one linear row;
//   - result dictionaries: variables keys 5 to 9, linear rows keys 3 to 7 (item i is the i-th
//     linear row loaded, a list view once other row kinds exist), an objective keys 5 and 6
//     while its kind holds exactly one objective; "nuv:solver" serves model_name,
//     solution_status, iteration_count, node_count, time_used;
//   - the option dictionary (tag "dbl") holds the options listed in kOptions;
//   - `solve` plays the next scripted run (the last one again when none is left). Unless the
//     run scripts them: the level of a column is its lower bound (0 when that is infinite), a
//     row's slack is rhs - activity at those levels, the dual of row r is 100 + r, the reduced
//     cost of column c is 1000 + c, basis codes are 1 + index % 3;
//   - every call is journalled, except `terminate`, which may come from another thread while
//     `solve` runs and is only counted; `failOn` makes an operation raise.
#ifndef TESTS_SUPPORT_SOLVER_DOUBLE_HPP_
#define TESTS_SUPPORT_SOLVER_DOUBLE_HPP_

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "nuv/attr/abstract_item_dict.hpp"
#include "nuv/math/symbol.hpp"
#include "nuv/opt/abstract_solver.hpp"
#include "nuv/opt/solve_status.hpp"

namespace qel_test {

// A function as received, in the solver's column numbers.
struct DoubleFunction {
  std::vector<int> columns;
  std::vector<double> coefs;                            // one per entry of columns
  std::vector<std::tuple<int, int, double>> quadratic;  // matrix entries, columns mapped
  double constant = 0.0;
  std::optional<nuv::math::Symbol<double>> expression;  // identity functions
};

struct DoubleColumn {
  int type = 0;
  double lower = 0.0;
  double upper = 0.0;
  std::optional<double> start;
  std::optional<double> priority;
  std::optional<int> basis;
  std::string name;
};

// kind: 'l' linear, 'q' quadratic, 'n' nonlinear, 'a' auxiliary (of a nonlinear objective).
struct DoubleRow {
  char kind = 'l';
  int type = 0;
  DoubleFunction function;
  std::optional<int> basis;
  std::string name;
};

// kind: 'l' linear, 'q' quadratic, 'n' nonlinear.
struct DoubleObjective {
  char kind = 'l';
  int sense = 0;
  DoubleFunction function;
  std::optional<double> weight;
  std::optional<int> priority;
  std::optional<double> absTol;
  std::optional<double> relTol;
  std::string name;
};

struct DoubleSet {
  int type = 0;
  std::vector<int> columns;
  std::vector<double> weights;
};

struct DoubleIndicator {
  int column = 0;
  int type = 0;
  int row = 0;
};

// What a callback during a run sees, and in which context it is called.
struct DoubleCallback {
  nuv::TagIndex context;
  unsigned long nodes = 0;
  double time = 0.0;
  std::optional<double> objective;
  std::optional<double> bound;
};

struct DoubleRun {
  nuv::opt::SolveStatus status = nuv::opt::SolveStatus::normal_completion;
  bool solution = true;
  std::vector<std::vector<double>> levels;   // per solution, by solver column; empty: defaults
  std::optional<std::vector<double>> duals;  // by solver row
  std::optional<std::vector<double>> reducedCosts;
  std::vector<int> rowMarks;  // by solver row; empty: none marked
  std::optional<double> objective;
  std::optional<double> bound;
  int solutionStatus = 0;
  unsigned long iterations = 7;
  unsigned long nodes = 0;
  double time = 0.25;
  std::vector<DoubleCallback> callbacks;
  std::vector<std::string> log;     // written with println before the run ends
  std::vector<std::string> errors;  // then written with error("Double", text)
};

class SolverDouble final : public nuv::opt::AbstractSolver {
 public:
  // The option dictionary's options: name (matched without regard to case) and type.
  //   "FeasTol" double in [0, 1], default 1e-6      "MaxNode" int in [0, 1000000]
  //   "LogFile" string                              "Flag" bool
  //   "Limit" unsigned 64-bit                       "Fixed" int that cannot be set
  //   "Ghost" int handed out without an object      "Quad" a matrix option
  SolverDouble();
  ~SolverDouble() override;

  // ---- scripting and inspection
  void script(std::vector<DoubleRun> runs);
  // op is an operation name ("start", "solve", "variables", "add", "notify", ...); kind
  // "std" raises std::runtime_error(text), "nuv" a nuv::Exception(text), "int" the int 7.
  void failOn(std::string op, std::string kind, std::string text = "injected");
  [[nodiscard]] const std::vector<std::string>& journal() const;
  // How often terminate was called; safe to read while another thread calls it.
  [[nodiscard]] int terminations() const;
  [[nodiscard]] const std::vector<DoubleColumn>& columns() const;
  [[nodiscard]] const std::vector<DoubleRow>& rows() const;
  [[nodiscard]] const std::vector<DoubleObjective>& objectives() const;
  [[nodiscard]] const std::vector<DoubleSet>& sets() const;
  [[nodiscard]] const std::vector<DoubleIndicator>& indicators() const;
  // The option's value as text, nothing while unset.
  [[nodiscard]] std::optional<std::string> option(std::string_view name) const;
  [[nodiscard]] std::optional<std::string> modelName() const;
  [[nodiscard]] bool fixed() const;
  [[nodiscard]] std::shared_ptr<nuv::opt::AbstractLog> log() const { return getLog(); }

  // ---- nuv::opt::AbstractSolver
  [[nodiscard]] std::string name() const override { return "Double"; }
  [[nodiscard]] nuv::opt::Version version() const override { return {1, 0, 0}; }
  [[nodiscard]] nuv::Tag tag() const override { return "dbl"; }
  [[nodiscard]] bool started() const override;
  void start(std::span<const std::string> arguments, std::string_view location) override;
  void clear() override;
  bool setLog(const std::shared_ptr<nuv::opt::AbstractLog>& log) override;
  [[nodiscard]] std::shared_ptr<nuv::opt::AbstractLog> getLog() const override;
  bool setCallback(const std::shared_ptr<nuv::opt::AbstractCallback>& callback) override;
  [[nodiscard]] std::shared_ptr<nuv::opt::AbstractCallback> getCallback() const override;
  bool addCallbackContext(const nuv::TagIndex& context) override;
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
  nuv::opt::SolveStatus solve() override;
  void terminate() override;

  struct State;

 private:
  std::shared_ptr<State> state_;
};

}  // namespace qel_test

#endif  // TESTS_SUPPORT_SOLVER_DOUBLE_HPP_
