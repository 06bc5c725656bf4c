// Reference answers for models with several linear objectives over integer columns, found by
// enumerating every point: the tests of the optimizer stand-in and of the plug-in check the
// solvers' answers against them.
//
// Objectives of equal priority form a level, optimised as the sum of the objectives times their
// weights in the problem's sense, highest priority first. A level keeps the points within its
// tolerance of its optimum: the largest over its objectives of the absolute tolerance and of the
// relative one times the optimum's size.
#ifndef TESTS_SUPPORT_LEXICOGRAPHIC_OPTIMA_HPP_
#define TESTS_SUPPORT_LEXICOGRAPHIC_OPTIMA_HPP_

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <functional>
#include <map>
#include <vector>

namespace test_support {

using Point = std::vector<double>;

struct WeightedObjective {
  std::vector<double> coef;  // one per column
  int priority = 0;
  double weight = 1.0;
  double absTol = 0.0;
  double relTol = 0.0;
};

// The points of {0, 1, ..., upper}^n that feasible accepts.
inline std::vector<Point> integerPoints(std::size_t n, int upper,
                                        const std::function<bool(const Point&)>& feasible) {
  std::vector<Point> points;
  Point x(n, 0.0);
  for (;;) {
    if (feasible(x)) points.push_back(x);
    std::size_t j = 0;
    while (j < n && x[j] == upper) x[j++] = 0.0;
    if (j == n) return points;
    ++x[j];
  }
}

inline double dot(const std::vector<double>& coef, const Point& x) {
  double v = 0.0;
  for (std::size_t j = 0; j < x.size(); ++j) v += coef[j] * x[j];
  return v;
}

// The points optimal level by level; sense is 1 to minimise, -1 to maximise.
inline std::vector<Point> lexicographicOptima(int sense,
                                              const std::vector<WeightedObjective>& objectives,
                                              std::vector<Point> points) {
  if (points.empty()) return points;
  std::map<int, std::vector<const WeightedObjective*>, std::greater<>> levels;
  for (const WeightedObjective& o : objectives) levels[o.priority].push_back(&o);
  for (const auto& [priority, level] : levels) {
    const auto value = [&](const Point& x) {
      double v = 0.0;
      for (const WeightedObjective* o : level) v += o->weight * dot(o->coef, x);
      return v;
    };
    double best = sense * value(points.front());
    for (const Point& x : points) best = std::min(best, sense * value(x));
    best *= sense;
    double tol = 0.0;
    for (const WeightedObjective* o : level) {
      tol = std::max({tol, o->absTol, o->relTol * std::fabs(best)});
    }
    std::erase_if(points, [&](const Point& x) { return sense * (value(x) - best) > tol + 1e-9; });
  }
  return points;
}

}  // namespace test_support

#endif  // TESTS_SUPPORT_LEXICOGRAPHIC_OPTIMA_HPP_
