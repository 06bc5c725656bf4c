// The model as Clp and Cbc take it, built from the library's model record, and the measures of a
// point in it that every run reports: row activities, slacks and primal infeasibilities.
#ifndef XPRS_ENGINE_MODEL_HPP_
#define XPRS_ENGINE_MODEL_HPP_

#include <vector>

#include "library.hpp"

namespace xprs::standin {

// The model in the engine's column-wise form: duplicates summed, zeros dropped, infinities
// translated to the engine's own, row types turned into row bounds.
struct EngineModel {
  int ncols = 0;
  int nrows = 0;
  std::vector<int> start, index;
  std::vector<double> value;
  std::vector<double> colLb, colUb, obj, rowLb, rowUb;
  std::vector<int> qStart, qIndex;  // lower triangle of the objective Q, column-wise
  std::vector<double> qValue;
  double rhs = 0.0;
  int sense = 1;
};

// A column-wise matrix with the model's rows and columns.
struct ColumnMatrix {
  std::vector<int> start, index;
  std::vector<double> value;
};

// The matrix of e without the entries of its free rows, for a tree search. Cbc's mixed-integer
// rounding cuts read a free row as a constraint and cut off feasible points; a free row (a
// neutral row, or an indicator row whose big-M form stands in its place) constrains nothing.
[[nodiscard]] ColumnMatrix withoutFreeRows(const EngineModel& e);

// Builds the engine form of objective 0 of the model. With mip, semi-continuous columns get
// a zero lower bound (their other branch is the engine's lot-size object).
[[nodiscard]] EngineModel assemble(const ModelRecord& m, bool mip);
[[nodiscard]] double toEngine(double v);
// The objective value of x in the model (objective 0, with its constant and Hessian).
[[nodiscard]] double objectiveOf(const ModelRecord& m, const double* x);
// The row activities Ax of a point x of e.
[[nodiscard]] std::vector<double> activityOf(const EngineModel& e, const double* x);
// Slacks rhs - activity, the Xpress convention for every row type.
[[nodiscard]] std::vector<double> slacksOf(const ModelRecord& m, const double* activity);
// Records in r the columns outside their bounds and the rows outside their range by more than
// tol at x; their total violation goes to *sum.
void primalInfeasibilities(const EngineModel& e, const double* x, const double* activity,
                           double tol, ResultRecord& r, double* sum);

}  // namespace xprs::standin

#endif  // XPRS_ENGINE_MODEL_HPP_
