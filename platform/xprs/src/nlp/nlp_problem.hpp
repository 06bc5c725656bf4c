// What Ipopt's TNLP and Bonmin's TMINLP ask alike of a model: sizes, bounds and evaluations,
// answered from an NlpModel through an NlpEvaluator. Base is Ipopt::TNLP or Bonmin::TMINLP.
#ifndef XPRS_NLP_PROBLEM_HPP_
#define XPRS_NLP_PROBLEM_HPP_

#include <algorithm>
#include <coin/IpTNLP.hpp>

#include "nlp/nlp_engine.hpp"

namespace xprs::standin {

template <class Base>
class NlpProblem : public Base {
 public:
  using Index = Ipopt::Index;
  using Number = Ipopt::Number;

  explicit NlpProblem(NlpModel& model) : model_(model), eval_(model) {}

  bool get_nlp_info(Index& n, Index& m, Index& nnzJac, Index& nnzHess,
                    Ipopt::TNLP::IndexStyleEnum& style) override {
    n = model_.cols();
    m = model_.constraints();
    nnzJac = static_cast<Index>(model_.jacRows().size());
    nnzHess = static_cast<Index>(model_.hessRows().size());
    style = Ipopt::TNLP::C_STYLE;
    return true;
  }
  bool get_bounds_info(Index, Number* xl, Number* xu, Index, Number* gl, Number* gu) override {
    std::copy(model_.colLb().begin(), model_.colLb().end(), xl);
    std::copy(model_.colUb().begin(), model_.colUb().end(), xu);
    std::copy(model_.conLb().begin(), model_.conLb().end(), gl);
    std::copy(model_.conUb().begin(), model_.conUb().end(), gu);
    return true;
  }
  bool eval_f(Index, const Number* x, bool, Number& value) override {
    return eval_.objective(x, &value);
  }
  bool eval_grad_f(Index, const Number* x, bool, Number* g) override {
    return eval_.objectiveGradient(x, g);
  }
  bool eval_g(Index, const Number* x, bool, Index, Number* g) override {
    return eval_.constraints(x, g);
  }
  bool eval_jac_g(Index, const Number* x, bool, Index, Index, Index* rows, Index* cols,
                  Number* values) override {
    return eval_.jacobian(x, rows, cols, values);
  }
  bool eval_h(Index, const Number* x, bool, Number objFactor, Index, const Number* lambda, bool,
              Index, Index* rows, Index* cols, Number* values) override {
    return eval_.hessian(x, objFactor, lambda, rows, cols, values);
  }

  NlpModel& model_;
  NlpEvaluator eval_;
};

}  // namespace xprs::standin

#endif  // XPRS_NLP_PROBLEM_HPP_
