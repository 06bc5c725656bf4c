// The optimum of a two-column QCQP in closed form, against which the tests of quadratic rows
// check what the solvers return.
#ifndef TESTS_SUPPORT_QCQP_OPTIMUM_HPP_
#define TESTS_SUPPORT_QCQP_OPTIMUM_HPP_

#include <cmath>

namespace qel_test {

struct QcqpOptimum {
  double x0, x1;
  double objective;
  double dual;  // d objective / d r
};

// min c'x  s.t.  x'Qx <= r  over two free columns, Q = [[q00, q01], [q01, q11]] positive
// definite, r > 0, c != 0. The row is active, and the optimality condition c + 2 mu Q x = 0
// gives x = -Q^-1 c / (2 mu); x'Qx = r then fixes mu = sqrt(c'Q^-1 c / (4 r)). The optimum
// is -sqrt(r c'Q^-1 c), whose derivative by r is -mu.
inline QcqpOptimum qcqpOptimum(double q00, double q01, double q11, double c0, double c1, double r) {
  const double det = q00 * q11 - q01 * q01;
  const double w0 = (q11 * c0 - q01 * c1) / det;  // Q^-1 c
  const double w1 = (q00 * c1 - q01 * c0) / det;
  const double s = c0 * w0 + c1 * w1;
  const double mu = std::sqrt(s / (4 * r));
  return {-w0 / (2 * mu), -w1 / (2 * mu), -std::sqrt(r * s), -mu};
}

}  // namespace qel_test

#endif  // TESTS_SUPPORT_QCQP_OPTIMUM_HPP_
