// Argument checks shared by the exported functions. Each raises ApiError with a text that names
// the fault; the frame adds the function name.
#ifndef XPRS_VALIDATE_HPP_
#define XPRS_VALIDATE_HPP_

#include <cmath>
#include <cstdint>

#include "library.hpp"

namespace xprs::standin {

inline void checkCount(const char* what, long long n) {
  if (n < 0) fail("negative ", what, " (", n, ")");
}

inline void checkPointer(const void* p, const char* name) {
  if (p == nullptr) fail(name, " is NULL");
}

inline void checkColumn(const ModelRecord& m, int col, const char* array, long long pos) {
  if (col < 0 || col >= m.cols()) {
    fail("invalid column index ", col, " in ", array, "[", pos, "] (the problem has ", m.cols(),
         " columns)");
  }
}

inline void checkRow(const ModelRecord& m, int row, const char* array, long long pos) {
  if (row < 0 || row >= m.rows()) {
    fail("invalid row index ", row, " in ", array, "[", pos, "] (the problem has ", m.rows(),
         " rows)");
  }
}

inline void checkValue(double v, const char* array, long long pos) {
  if (std::isnan(v)) fail("NaN in ", array, "[", pos, "]");
}

// Magnitudes of 1e20 and above are infinite.
inline bool isInfinite(double v) { return std::fabs(v) >= XPRS_PLUSINFINITY; }

// Objective, matrix and quadratic coefficients must be finite: an infinite one has no meaning
// and the engines abort on it.
inline void checkCoefficient(double v, const char* array, long long pos) {
  checkValue(v, array, pos);
  if (isInfinite(v)) fail("infinite coefficient ", v, " in ", array, "[", pos, "]");
}

inline void checkNotSolving(Problem& problem) {
  if (problem.target().solving) fail("the problem is being optimised");
}

// Inclusive range first..last within count entries.
inline void checkRange(int first, int last, int count, const char* what) {
  if (first < 0 || last < first || last >= count) {
    fail("invalid range first=", first, " last=", last, " (the problem has ", count, " ", what,
         ")");
  }
}

// Start offsets of n blocks within ncoefs entries: non-negative, non-decreasing, at most ncoefs.
inline void checkStarts(const XPRSint64* start, int n, XPRSint64 ncoefs, const char* name) {
  for (int i = 0; i < n; ++i) {
    if (start[i] < 0 || start[i] > ncoefs) {
      fail("inconsistent ", name, "[", i, "] = ", static_cast<long long>(start[i]), " (outside 0..",
           static_cast<long long>(ncoefs), ")");
    }
    if (i > 0 && start[i] < start[i - 1]) {
      fail("inconsistent ", name, "[", i, "] = ", static_cast<long long>(start[i]), " (less than ",
           name, "[", i - 1, "] = ", static_cast<long long>(start[i - 1]), ")");
    }
  }
}

}  // namespace xprs::standin

#endif  // XPRS_VALIDATE_HPP_
