// The host link: `orla::Link` drives a solver plug-in for the host, `orla::LinkDef` says which
// optional link features the plug-in switches on and by which option names the host sets them.
//
//   orla::Link::initialize();                       // once per load, before any link is made
//   orla::LinkDef def;
//   def.enable(orla::LinkDef::Plugin{1});
//   def.setName(orla::LinkDef::PluginAttrib{1}, "mipcleanup");
//   orla::Link link(solver, def);                   // solver: a shared nuv::opt::AbstractSolver
//   link.readyAPI(&model);                           // the host's vopRec
//   link.callSolver();                               // loads, solves, writes results back
//
// `callSolver` drives the solver through `nuv::opt::AbstractSolver` in this order: start (or
// clear, when it ran before), log, the link options and the solver options by name, the
// callback and its contexts when a trace is asked for, then the model batch by batch
// (variables, linear rows, objectives, quadratic rows, sets, indicators, nonlinear rows), the
// solve, the results, and the fix-and-re-solve clean-up when asked for. Linear rows are loaded
// before any other row kind, so their results, which the solver lists in loading order of the
// linear rows, map back onto the host's rows by the row numbers the adders returned.
//
// Features this link carries out (LinkDef numbers; a name is the option the host sets it by):
//   1  MIP clean-up: attrib 1 (0/1: fix the discrete entities of a solved MIP and re-solve for
//      duals and reduced costs), attrib 2 (a file of name=value options for that re-solve);
//   3  objectives: attrib 4 (0: pass only the first objective, 1: all), attribs 5 and 6 (the
//      absolute and relative tolerance of objectives that give none);
//   9  trace: attrib 17 (the file the trace is written to, one CSV line per callback),
//      attrib 18 (nodes between node lines, 0 none), attrib 19 (seconds between progress lines,
//      0 none), attrib 20 (0/1: a line for every new incumbent);
//   10 stop expression: attribs 21 to 25 are recognised and refused, this link cannot
//      evaluate stop expressions.
// Features 0, 2, 4 to 8 and 11 to 15 may be enabled and change nothing.
//
// Before the solver is touched, `callSolver` refuses a model record that holds a NaN anywhere
// (bounds, coefficients, constants, start values, priorities, weights, tolerances, expression
// numbers), naming the entity. While it runs, SIGINT (Ctrl-C) asks the running solve to stop,
// so that the run ends with the status the solver reports and the best solution found so far; a
// second SIGINT ends the process at once. The previous SIGINT disposition is restored on return.
//
// Errors: `readyAPI` and `callSolver` never throw; failures become entries of
// `vopRec::messages` and the result 1. Errors the solver writes to its log while the host's
// log sink is installed become messages as well ("error: title: text"), not log text. The
// solver is shared with the link and released when the last link holding it is destroyed.
#ifndef ORLA_LINK_HPP_
#define ORLA_LINK_HPP_

#include <array>
#include <bitset>
#include <memory>
#include <string>
#include <vector>

#define ORLA_EXPORT __attribute__((visibility("default")))

struct vopRec;

namespace nuv::opt {
class AbstractSolver;
}  // namespace nuv::opt

namespace orla {

class ORLA_EXPORT LinkDef {
 public:
  // Feature numbers 0 to 15; the named ones are those this link carries out.
  enum class Plugin : int {
    kMipCleanup = 1,
    kObjectives = 3,
    kTrace = 9,
    kStopExpression = 10,
  };
  // Setting numbers 0 to 25, each named by the host option that sets it.
  enum class PluginAttrib : int {
    kMipCleanup = 1,
    kFixOptFile = 2,
    kMultipleObjectives = 4,
    kObjectiveAbsTol = 5,
    kObjectiveRelTol = 6,
    kTraceFile = 17,
    kTraceNodeStep = 18,
    kTraceTimeStep = 19,
    kTraceIncumbent = 20,
    kStopExpression = 21,
    kStopExpressionNodeStep = 22,
    kStopExpressionTimeStep = 23,
    kStopExpressionSolutionTol = 24,
    kStopExpressionVerbosity = 25,
  };
  static constexpr int kPluginCount = 16;
  static constexpr int kAttribCount = 26;

  // One call of enable or setName, as recorded.
  struct Call {
    bool enable = false;
    int number = 0;
    std::string name;

    friend bool operator==(const Call&, const Call&) = default;
  };

  // No feature enabled, every name empty.
  LinkDef();

  // Raise std::invalid_argument for a number out of range.
  void enable(Plugin plugin);
  void setName(PluginAttrib attrib, std::string name);

  [[nodiscard]] bool enabled(Plugin plugin) const;
  [[nodiscard]] const std::string& name(PluginAttrib attrib) const;
  // Every enable and setName call, in order.
  [[nodiscard]] const std::vector<Call>& calls() const { return calls_; }

 private:
  std::bitset<kPluginCount> enabled_;
  std::array<std::string, kAttribCount> names_;
  std::vector<Call> calls_;
};

class ORLA_EXPORT Link {
 public:
  // Once per load of the plug-in: `initialize` before the first link is constructed,
  // `finalize` when the plug-in is unloaded. Calls nest.
  static void initialize();
  static void finalize();

  // Raises std::logic_error when the library is not initialised and std::invalid_argument for
  // a null solver.
  Link(std::shared_ptr<nuv::opt::AbstractSolver> solver, LinkDef definition);
  ~Link();
  Link(const Link&) = delete;
  Link& operator=(const Link&) = delete;

  // Keeps the host's model object for the next callSolver: 0, or 1 for a null pointer.
  int readyAPI(vopRec* model) noexcept;
  // Loads the model, solves, and writes results and messages into the model object: 0 when the
  // solve ran (whatever its status), 1 when it failed or no model was handed over.
  int callSolver() noexcept;

 private:
  int solveModel() noexcept;

  std::shared_ptr<nuv::opt::AbstractSolver> solver_;
  LinkDef definition_;
  vopRec* model_ = nullptr;
};

}  // namespace orla

#endif  // ORLA_LINK_HPP_
