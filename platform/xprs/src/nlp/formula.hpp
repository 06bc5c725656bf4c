// A nonlinear formula as XPRSnlpaddformulas takes it in parsed (reverse-Polish) form, compiled
// into an expression tree that evaluates the formula and its gradient at a point.
//
// Tokens: constants, columns, the six operators (negation, power, multiplication, division,
// addition, subtraction; a binary operator takes the two values below it, the deeper one
// first), the built-in functions log10, ln, exp, abs, sqrt, sin, cos, tan, arcsin, arccos,
// arctan, min, max, sign, erf and erfc, the argument marker (right bracket) and the end token.
// A built-in function takes every value above the nearest marker as its arguments and removes
// the marker: "marker x sin" is sin(x), "marker x y z max" is max(x, y, z). A formula holding
// only its end token is the constant 0. Everything else (left brackets, delimiters, user
// functions, other built-in functions) is refused when compiling.
//
// At points where a function has no derivative the gradient takes a one-sided choice: abs and
// sign have slope 0 at 0, min and max follow the first argument that attains the extremum.
// Outside a function's domain the value and derivatives are NaN, never an exception.
#ifndef XPRS_FORMULA_HPP_
#define XPRS_FORMULA_HPP_

#include <cstdint>
#include <span>
#include <vector>

namespace xprs::standin {

class Formula {
 public:
  enum class Op : std::uint8_t {
    Const,
    Column,
    Neg,
    Pow,
    Mul,
    Div,
    Add,
    Sub,
    Log10,
    Ln,
    Exp,
    Abs,
    Sqrt,
    Sin,
    Cos,
    Tan,
    ArcSin,
    ArcCos,
    ArcTan,
    Min,
    Max,
    Sign,
    Erf,
    Erfc,
  };

  // Nodes stand in postfix order: every node after its arguments, the root last.
  struct Node {
    Op op = Op::Const;
    bool variable = false;  // depends on a column
    int first = 0;          // Column: the column; otherwise the first argument in args()
    int count = 0;          // number of arguments
    double constant = 0.0;  // Const: the value
  };

  // Compiles the tokens of one formula, the end token included, over a problem with cols
  // columns. Throws ApiError with a text that names the fault and ends with "in token k".
  [[nodiscard]] static Formula compile(std::span<const int> type, std::span<const double> value,
                                       int cols);

  [[nodiscard]] bool empty() const { return nodes_.empty(); }
  [[nodiscard]] const std::vector<Node>& nodes() const { return nodes_; }
  [[nodiscard]] std::span<const int> args(const Node& n) const {
    return {args_.data() + n.first, static_cast<std::size_t>(n.count)};
  }
  // The columns the formula reads, ascending, each once.
  [[nodiscard]] const std::vector<int>& columns() const { return columns_; }

  // The value at x (indexed by column); values receives the value of every node.
  double evaluate(const double* x, std::vector<double>& values) const;
  // Adds scale times the gradient at the point of the last evaluate (its node values) into
  // gradient (indexed by column). adjoints is scratch space.
  void gradient(const std::vector<double>& values, double scale, std::vector<double>& adjoints,
                double* gradient) const;

  // Partial derivatives of node n with respect to each of its arguments, given the node values.
  void firstPartials(const Node& n, const double* values, double* partials) const;
  // The nonzero pattern of a node's second partials: pairs (a, b), a <= b, of argument
  // positions, written to pairs; returns their count (at most kMaxSecondPairs). The values at
  // a point go to second in the same order (meaningless when values is null).
  static constexpr int kMaxSecondPairs = 3;
  int secondPartials(const Node& n, const double* values, int (*pairs)[2], double* second) const;

 private:
  std::vector<Node> nodes_;
  std::vector<int> args_;
  std::vector<int> columns_;
};

}  // namespace xprs::standin

#endif  // XPRS_FORMULA_HPP_
