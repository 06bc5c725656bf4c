// Exact second derivatives of a formula by reverse-mode automatic differentiation.
//
// The Hessian comes from one reverse sweep over the formula's expression tree that carries, next
// to the adjoint of every node, the second-order adjoints of pairs of nodes ("edge pushing"):
// when a node is passed, its pairs are pushed down to its arguments through its first partials,
// and its own curvature (second partials weighted by its adjoint) creates new pairs among its
// arguments. What reaches the pairs of column nodes is the Hessian. The same sweep run on
// structure alone (every partial that can be nonzero counted as nonzero) gives the sparsity
// pattern, which is fixed for the formula: the values at any point fall inside it.
#ifndef XPRS_FORMULA_HESSIAN_HPP_
#define XPRS_FORMULA_HESSIAN_HPP_

#include <utility>
#include <vector>

#include "nlp/formula.hpp"

namespace xprs::standin {

class FormulaHessian {
 public:
  explicit FormulaHessian(const Formula& formula);

  // Column pairs (a, b), a >= b, that the Hessian can hold, each once (the lower triangle).
  [[nodiscard]] const std::vector<std::pair<int, int>>& pattern() const { return pattern_; }

  // Adds weight times the Hessian of formula (the one given to the constructor) at the point
  // of its node values into out[target[k]], k indexing pattern().
  void accumulate(const Formula& formula, const std::vector<double>& values, double weight,
                  const int* target, double* out);

 private:
  // One reverse sweep; emit(colA, colB, value) receives the contributions to the lower
  // triangle. With values null only the structure is followed (values passed are meaningless);
  // with values the sweep takes the same steps in the same order.
  template <class Emit>
  void sweep(const Formula& formula, const double* values, double weight, Emit&& emit);
  template <class Emit>
  void addPair(const Formula& formula, int a, int b, double v, Emit& emit);

  std::vector<std::pair<int, int>> pattern_;
  // The pattern entry of each contribution of a sweep, in the order they come, and the nodes
  // the sweep reaches with a derivative path from the root.
  std::vector<int> sequence_;
  std::vector<char> reached_;
  // Work space of a sweep.
  std::vector<double> adjoints_;
  std::vector<std::vector<std::pair<int, double>>> pairs_;
  std::vector<double> partials_;
};

}  // namespace xprs::standin

#endif  // XPRS_FORMULA_HESSIAN_HPP_
