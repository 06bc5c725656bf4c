// A problem's model in the form the nonlinear engines (Ipopt, Bonmin) take: columns with bounds,
// the rows other than 'N' as constraints with lower and upper bounds, and the evaluation of the
// objective and of every row (linear part, x'Qx of XPRSaddqmatrix64, formulas) with exact first
// and second derivatives in fixed sparse patterns (the Jacobian of the constraints and the lower
// triangle of the Hessian of the Lagrangian).
//
// An indicator row (linear or quadratic, binary column b) gives one constraint per finite side
// in big-M form, the row's activity plus M b, with M the largest amount by which the activity
// can pass that side within the column bounds (interval arithmetic over its terms):
//
//   act <= u  while b = 1   becomes   act + M b <= u + M,   M = max act - u
//   act >= l  while b = 0   becomes   act + M b >= l,       M = l - min act
//
// A side the activity can never pass gives no constraint.
//
// Values and derivatives are in the user's objective sense; the engines apply it. Infinite
// bounds (magnitude 1e20 or more) are COIN_DBL_MAX with their sign.
#ifndef XPRS_NLP_MODEL_HPP_
#define XPRS_NLP_MODEL_HPP_

#include <array>
#include <string>
#include <vector>

#include "nlp/formula.hpp"
#include "nlp/formula_hessian.hpp"
#include "xprs_standin/records.hpp"

namespace xprs::standin {

class NlpModel {
 public:
  // With integers, integer and binary columns keep integral bounds (rounded inwards). Throws
  // ApiError for several objectives, and for an indicator row whose column is not binary, that
  // holds formulas, or whose activity has no finite bound on an enforced side.
  NlpModel(const ModelRecord& m, bool integers);

  [[nodiscard]] int cols() const { return static_cast<int>(colLb_.size()); }
  [[nodiscard]] int rows() const { return static_cast<int>(rowFirst_.size()); }
  [[nodiscard]] int constraints() const { return static_cast<int>(conRow_.size()); }
  [[nodiscard]] int sense() const { return sense_; }
  // Empty, or why the bounds alone make the model infeasible.
  [[nodiscard]] const std::string& boundConflict() const { return boundConflict_; }

  [[nodiscard]] const std::vector<double>& colLb() const { return colLb_; }
  [[nodiscard]] const std::vector<double>& colUb() const { return colUb_; }
  [[nodiscard]] const std::vector<double>& conLb() const { return conLb_; }
  [[nodiscard]] const std::vector<double>& conUb() const { return conUb_; }
  [[nodiscard]] const std::vector<char>& integer() const { return integer_; }
  [[nodiscard]] int conRow(int c) const { return conRow_[static_cast<std::size_t>(c)]; }

  [[nodiscard]] const std::vector<int>& jacRows() const { return jacRow_; }
  [[nodiscard]] const std::vector<int>& jacCols() const { return jacCol_; }
  [[nodiscard]] const std::vector<int>& hessRows() const { return hessRow_; }
  [[nodiscard]] const std::vector<int>& hessCols() const { return hessCol_; }
  // Linear constraints and columns that appear in no second derivative.
  [[nodiscard]] bool linearConstraint(int c) const;
  [[nodiscard]] bool linearColumn(int j) const;

  // The column and row taken out by the objective substitution (-1: none), the row's dual
  // (the objective's change per unit of its right-hand side).
  [[nodiscard]] int objectiveColumn() const { return objCol_; }
  [[nodiscard]] int objectiveRow() const { return objRow_; }
  [[nodiscard]] double objectiveRowDual() const { return objRowDual_; }
  // Gives the substituted column of an engine's point its value.
  void completePoint(double* x);

  // Moves the point of the following evaluations to x (unless it is there already). False
  // when a formula has no finite value there.
  bool at(const double* x);
  [[nodiscard]] double objective() const;
  void objectiveGradient(double* g);
  // Values of the constraints (with their big-M terms), or activities of every model row. With
  // sizes, each is the sum of its terms' magnitudes instead, which bounds its rounding error.
  void constraintValues(double* g, bool sizes = false);
  void rowActivities(double* act, bool sizes = false) const;
  // Values in the order of jacRows()/jacCols(); false when one is not finite.
  bool jacobian(double* values);
  // objWeight times the objective's Hessian plus lambda[c] times each constraint's, in the
  // order of hessRows()/hessCols(); false when one is not finite.
  bool hessian(double objWeight, const double* lambda, double* values);

 private:
  // A model row has at most two constraints (an indicator row with two finite sides).
  static constexpr int kRowCons = 2;
  using Slots = std::array<int, kRowCons>;

  struct QuadTerm {
    int row;
    int a, b;                          // a >= b
    double value;                      // the term is value x_a x_b
    double objScale = 0.0;             // share of the objective (see substituteObjectiveRow)
    Slots jacA{-1, -1}, jacB{-1, -1};  // per constraint of the row
    int hess = -1;
  };
  struct ObjQTerm {
    int i, j;  // i >= j
    double value;
    int hess = -1;
  };
  struct Term {
    Formula formula;
    FormulaHessian hessian;
    int row;                     // -1: the objective
    double objScale;             // share of the objective: 1 for row -1
    std::vector<int> jac;        // Jacobian slot of each of the formula's columns (the row's
                                 // one constraint: indicator rows hold no formulas)
    std::vector<int> hessSlots;  // Hessian slot of each of its pattern entries
    std::vector<double> values;  // node values at the current point
    double value = 0.0;
  };

  // A free column z whose cost c is the whole objective and which appears only in one 'E' row
  // a z + rest(x) = rhs (the usual way of writing a nonlinear objective) leaves the engine: the
  // objective becomes c (rhs - rest(x)) / a, the row is no constraint, z is held at 0 and gets
  // its value from completePoint. Interior-point methods stall on the lifted form, whose
  // curvature only shows through the row's multiplier.
  void substituteObjectiveRow(const ModelRecord& m);
  void buildConstraints(const ModelRecord& m);
  // True when linear row r, with engine bounds [lo, hi], is row k (k < r, also linear, bounds
  // [klo, khi]) times a factor, its bounds included.
  [[nodiscard]] bool repeatsRow(int r, double lo, double hi, int k, double klo, double khi) const;
  void addConstraint(int row, double lb, double ub, int extraCol, double extraCoef);
  // The largest (upper) or smallest activity of an indicator row within the column bounds.
  [[nodiscard]] double activityBound(int row, bool upper) const;
  void buildJacobian();
  void buildHessian();

  int sense_ = 1;
  std::string boundConflict_;
  std::vector<double> colLb_, colUb_, conLb_, conUb_;
  std::vector<char> integer_;
  // Constraints: their model row and the big-M term of an indicator row (column -1: none);
  // the constraints of model row r are rowFirst_[r] to rowFirst_[r] + rowCount_[r] - 1.
  std::vector<int> conRow_, conExtraCol_, conExtraSlot_, rowFirst_, rowCount_;
  std::vector<double> conExtraCoef_;
  // Linear part of every model row, merged, row-wise, with its Jacobian slots per constraint.
  std::vector<int> linStart_, linCol_;
  std::vector<Slots> linSlot_;
  std::vector<double> linValue_;
  std::vector<QuadTerm> quad_;
  std::vector<double> objCoef_;
  double objConstant_ = 0.0;
  std::vector<ObjQTerm> objQ_;
  int objRow_ = -1;
  int objCol_ = -1;
  double objRowCoef_ = 0.0;
  double objRowDual_ = 0.0;
  double rhsOfObjRow_ = 0.0;
  std::vector<Term> terms_;
  std::vector<int> jacRow_, jacCol_, hessRow_, hessCol_;
  std::vector<char> nonlinearCon_, nonlinearCol_;
  // The current point and scratch.
  std::vector<double> x_, grad_, adjoints_, act_;
  bool hasPoint_ = false;
  bool finite_ = true;
};

}  // namespace xprs::standin

#endif  // XPRS_NLP_MODEL_HPP_
