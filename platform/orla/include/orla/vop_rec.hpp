// `vopRec`: the host's model object, as the host hands it to the host link.
//
// The host fills the model part (columns, rows, objectives, sets, indicators, nonlinear rows),
// the options and, if it wants the solver's log as it is written, the log sink. The host link
// reads the model through `orla::Link::readyAPI` and `callSolver`, and writes the results and
// its messages back. The plug-in never looks inside; it only passes the pointer on.
//
// Conventions:
//   - Columns are numbered by their position in `columns`; terms name them by that number.
//   - A row or nonlinear row reads lower <= f(x) <= upper; an infinite bound is absent. A row
//     with both bounds infinite is free and is not passed to the solver.
//   - Quadratic terms are products: {i, j, c} adds c * x_i * x_j, and terms on the same pair
//     add up whatever their order.
//   - An expression is postfix: every call stands after its arguments. A call names an
//     expression-function tag such as "nuv:function:basic:Add" and, for a call of "Min" or
//     "Max", the number of its arguments.
//   - Results keep host numbering: entry j of a column result is column j, entry i of a row
//     result is row i. A result the solver does not offer is left empty (vectors) or unset.
// The record is plain data without locking; the host must not change it while the link runs.
#ifndef ORLA_VOP_REC_HPP_
#define ORLA_VOP_REC_HPP_

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct vopRec {
  static constexpr double kInfinity = std::numeric_limits<double>::infinity();

  // The numbers are the solver interface's interval-domain type codes.
  enum class ColumnType : int {
    kContinuous = 0,
    kInteger = 1,
    kSemiContinuous = 2,  // 0, or between the lower and the upper bound
    kSemiInteger = 3,     // 0, or an integer between the lower and the upper bound
  };

  struct Column {
    std::string name;
    ColumnType type = ColumnType::kContinuous;
    double lower = 0.0;
    double upper = kInfinity;
    // Passed on only when every column has one: a start value, a branching priority, a basis
    // status in host codes.
    std::optional<double> start;
    std::optional<double> priority;
    std::optional<int> basis;
  };

  struct Term {
    int column = 0;
    double coef = 0.0;
  };

  struct QuadTerm {
    int first = 0;
    int second = 0;
    double coef = 0.0;
  };

  struct Row {
    std::string name;
    double lower = -kInfinity;
    double upper = kInfinity;
    std::vector<Term> terms;
    std::vector<QuadTerm> quadratic;  // a quadratic row when not empty
    std::optional<int> basis;         // passed on only when every linear row has one
  };

  struct Token {
    enum class Kind { kColumn, kNumber, kCall };
    Kind kind = Kind::kNumber;
    int column = 0;
    double number = 0.0;
    std::string function;  // the tag of a call
    int argCount = 0;      // the number of arguments of a Min or Max call

    static Token ofColumn(int column) { return {Kind::kColumn, column, 0.0, {}, 0}; }
    static Token ofNumber(double number) { return {Kind::kNumber, 0, number, {}, 0}; }
    static Token ofCall(std::string function, int argCount = 0) {
      return {Kind::kCall, 0, 0.0, std::move(function), argCount};
    }
  };

  struct NonlinearRow {
    std::string name;
    std::vector<Token> expression;
    double lower = -kInfinity;
    double upper = kInfinity;
  };

  // Linear (terms and constant), quadratic (quadratic terms as well) or nonlinear (an
  // expression, and then nothing else). Several objectives must all be linear.
  struct Objective {
    std::string name;
    bool maximize = false;
    std::vector<Term> terms;
    double constant = 0.0;
    std::vector<QuadTerm> quadratic;
    std::vector<Token> expression;
    std::optional<double> weight;
    std::optional<int> priority;
    std::optional<double> absoluteTolerance;
    std::optional<double> relativeTolerance;
  };

  struct Set {
    std::string name;
    int type = 1;  // 1 or 2
    std::vector<int> columns;
    std::vector<double> weights;  // one per column; empty means 1, 2, 3, ...
  };

  // The row holds while the column is 1 (whenOne) or 0.
  struct Indicator {
    std::string name;
    int column = 0;
    bool whenOne = true;
    Row row;
  };

  struct Option {
    std::string name;
    std::string value;
  };

  struct Results {
    bool solved = false;  // the solve ran and the results were read
    int status = -1;      // the solve status (nuv::opt::SolveStatus)
    std::optional<int> solutionStatus;
    std::optional<double> objective;  // only with a single objective and a solution
    // Only a finite bound the solve proved: with a solution, or from a discrete model's search
    // stopped early (a limit, an interrupt) without one.
    std::optional<double> bound;
    std::optional<std::uint64_t> iterations;
    std::optional<std::uint64_t> nodes;
    std::optional<double> time;
    std::vector<double> values;             // the (best) solution
    std::vector<std::vector<double>> pool;  // further solutions, best first
    std::vector<double> reducedCosts;
    std::vector<int> columnBasis;
    std::vector<int> columnInfeasible;
    std::vector<std::optional<double>> activities;  // linear rows only
    std::vector<std::optional<double>> duals;
    std::vector<std::optional<int>> rowBasis;
    std::vector<std::optional<int>> rowInfeasible;
    bool cleanedUp = false;  // duals, reduced costs and bases come from the fixed re-solve
  };

  // ---- filled by the host
  std::string name;
  std::vector<Column> columns;
  std::vector<Row> rows;
  std::vector<Objective> objectives;
  std::vector<Set> sets;
  std::vector<Indicator> indicators;
  std::vector<NonlinearRow> nonlinearRows;
  std::vector<Option> options;
  // Entities per batch handed to the solver; 0 hands each kind over in one batch.
  int batchSize = 0;
  // Receives the solver's log as it is written; unset, the solver's own log writes to standard
  // output.
  std::function<void(std::string_view)> log;

  // ---- filled by the host link
  Results results;
  std::vector<std::string> messages;  // errors and warnings, one per entry
};

#endif  // ORLA_VOP_REC_HPP_
