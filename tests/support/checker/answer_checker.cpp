#include "tests/support/checker/answer_checker.hpp"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace qel_check {
namespace {

using ColumnType = vopRec::ColumnType;
constexpr double kInf = vopRec::kInfinity;

template <class... T>
std::string text(const T&... parts) {
  std::ostringstream out;
  out.precision(10);
  (out << ... << parts);
  return out.str();
}

double scaled(double tolerance, double magnitude) {
  return tolerance * std::max(1.0, std::fabs(magnitude));
}

double at(std::span<const double> x, int column) { return x[static_cast<std::size_t>(column)]; }

double activity(const vopRec::Row& row, std::span<const double> x) {
  double value = 0.0;
  for (const vopRec::Term& t : row.terms) value += t.coef * at(x, t.column);
  for (const vopRec::QuadTerm& q : row.quadratic)
    value += q.coef * at(x, q.first) * at(x, q.second);
  return value;
}

// The sum of the magnitudes of a row's terms at x: where they are large and cancel, the
// activity is known only to a rounding error of about 1e-16 times that.
double magnitude(const vopRec::Row& row, std::span<const double> x) {
  double sum = 0.0;
  for (const vopRec::Term& t : row.terms) sum += std::fabs(t.coef * at(x, t.column));
  for (const vopRec::QuadTerm& q : row.quadratic)
    sum += std::fabs(q.coef * at(x, q.first) * at(x, q.second));
  return sum;
}

bool isIntegral(double v, const Tolerances& tol) {
  return std::fabs(v - std::round(v)) <= tol.integrality;
}

void checkRow(const std::string& what, const vopRec::Row& row, std::span<const double> x,
              const Tolerances& tol, std::vector<std::string>& out) {
  const double a = activity(row, x);
  const double rounding = 1e-12 * magnitude(row, x);
  if (a < row.lower - scaled(tol.feasibility, row.lower) - rounding ||
      a > row.upper + scaled(tol.feasibility, row.upper) + rounding) {
    out.push_back(text(what, " has activity ", a, " outside [", row.lower, ", ", row.upper, "]"));
  }
}

bool modelIsContinuous(const vopRec& m) {
  for (const vopRec::Column& c : m.columns) {
    if (c.type != ColumnType::kContinuous) return false;
  }
  return m.sets.empty() && m.indicators.empty();
}

bool hasQuadraticRows(const vopRec& m) {
  return std::any_of(m.rows.begin(), m.rows.end(),
                     [](const vopRec::Row& r) { return !r.quadratic.empty(); });
}

std::optional<double> optionValue(const vopRec& m, const std::string& name) {
  for (const vopRec::Option& o : m.options) {
    std::string lower = o.name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    if (lower == name) return std::stod(o.value);
  }
  return std::nullopt;
}

// A limit (iterations, time, nodes, solutions, work, memory, interrupt) stopped the solve.
// The solution status of a point that holds but is not shown optimal.
constexpr int kFeasibleSolution = 6;

bool isLimit(int status) { return (status >= 5 && status <= 10) || status == 16; }

double sense(const vopRec& m) { return m.objectives.front().maximize ? -1.0 : 1.0; }

double levelTolerance(const Level& level, double optimum) {
  return std::max(level.absoluteTolerance, level.relativeTolerance * std::fabs(optimum));
}

// What the answer's level values may exceed the reference optima by, in the problem's sense:
// the level's own tolerance for every level but the last, plus the checker's slack.
std::vector<std::string> compareLevels(const vopRec& m, const std::vector<Level>& levels,
                                       std::span<const double> optima, std::span<const double> x,
                                       double slack, const Tolerances& tol,
                                       const std::string& how) {
  std::vector<std::string> out;
  const double s = sense(m);
  for (std::size_t k = 0; k < levels.size(); ++k) {
    const double v = levelValue(m, levels[k], x);
    const double allowed = (k + 1 < levels.size() ? levelTolerance(levels[k], optima[k]) : 0.0) +
                           scaled(tol.optimality, optima[k]) + slack;
    if (s * (v - optima[k]) > allowed) {
      out.push_back(text("objective level ", k, " (priority ", levels[k].priority, ") is ", v,
                         " at the answer, but ", optima[k], " ", how));
    }
  }
  return out;
}

// ---- enumeration of pure-integer models

struct Enumeration {
  std::vector<std::vector<double>> feasible;
};

// The values column c can take, or nothing when they are not a small finite set.
std::optional<std::vector<double>> domainOf(const vopRec::Column& c, long limit) {
  std::vector<double> values;
  const bool integral = c.type == ColumnType::kInteger || c.type == ColumnType::kSemiInteger;
  const bool semi = c.type == ColumnType::kSemiContinuous || c.type == ColumnType::kSemiInteger;
  if (!std::isfinite(c.lower) || !std::isfinite(c.upper)) return std::nullopt;
  if (!integral && c.lower != c.upper) return std::nullopt;
  if (c.upper - c.lower > static_cast<double>(limit)) return std::nullopt;
  if (semi && !(c.lower <= 0.0 && 0.0 <= c.upper)) values.push_back(0.0);
  if (integral) {
    for (double v = std::ceil(c.lower); v <= c.upper; v += 1.0) values.push_back(v);
  } else {
    values.push_back(c.lower);
  }
  std::sort(values.begin(), values.end());
  return values;
}

std::optional<Enumeration> enumerate(const vopRec& m, const Tolerances& tol) {
  if (m.columns.empty()) return std::nullopt;
  std::vector<std::vector<double>> domains;
  double count = 1;
  for (const vopRec::Column& c : m.columns) {
    auto d = domainOf(c, tol.enumerationLimit);
    if (!d) return std::nullopt;
    count *= static_cast<double>(std::max<std::size_t>(d->size(), 1));
    if (count > static_cast<double>(tol.enumerationLimit)) return std::nullopt;
    domains.push_back(std::move(*d));
  }
  Enumeration e;
  for (const auto& d : domains) {
    if (d.empty()) return e;
  }
  std::vector<std::size_t> at(domains.size(), 0);
  std::vector<double> x(domains.size());
  while (true) {
    for (std::size_t j = 0; j < x.size(); ++j) x[j] = domains[j][at[j]];
    if (infeasibilities(m, x, tol).empty()) e.feasible.push_back(x);
    std::size_t j = 0;
    while (j < at.size() && ++at[j] == domains[j].size()) at[j++] = 0;
    if (j == at.size()) break;
  }
  return e;
}

// The optimum of every level over the feasible points, each level restricted to the points
// within the earlier levels' tolerances.
std::vector<double> lexicographicOptima(const vopRec& m, const std::vector<Level>& levels,
                                        std::vector<std::vector<double>> points) {
  std::vector<double> optima;
  const double s = sense(m);
  for (const Level& level : levels) {
    double best = kInf;
    for (const auto& x : points) best = std::min(best, s * levelValue(m, level, x));
    best *= s;
    optima.push_back(best);
    const double keep = levelTolerance(level, best) + 1e-9 * std::max(1.0, std::fabs(best));
    std::erase_if(points,
                  [&](const auto& x) { return s * (levelValue(m, level, x) - best) > keep; });
  }
  return optima;
}

double objectiveSlack(const vopRec& m, double perUnit) {
  double sum = 0.0;
  for (const vopRec::Objective& o : m.objectives) {
    for (const vopRec::Term& t : o.terms) sum += std::fabs(t.coef);
    for (const vopRec::QuadTerm& q : o.quadratic) sum += std::fabs(q.coef) * 10;
  }
  return perUnit * sum;
}

// ---- the dual certificate of continuous models with one objective and linear rows

// The objective's gradient at x and, in `size`, the sum of the magnitudes of its terms.
std::vector<double> gradient(const vopRec::Objective& o, std::span<const double> x,
                             std::vector<double>& size) {
  std::vector<double> g(x.size(), 0.0);
  size.assign(x.size(), 0.0);
  const auto add = [&](int j, double v) {
    g[static_cast<std::size_t>(j)] += v;
    size[static_cast<std::size_t>(j)] += std::fabs(v);
  };
  for (const vopRec::Term& t : o.terms) add(t.column, t.coef);
  for (const vopRec::QuadTerm& q : o.quadratic) {
    add(q.first, q.coef * at(x, q.second));
    add(q.second, q.coef * at(x, q.first));
  }
  return g;
}

// Whether sign * (the Hessian of the products) is positive semidefinite (Cholesky with a small
// shift).
bool convex(const std::vector<vopRec::QuadTerm>& products, std::size_t n, double sign) {
  std::vector<std::vector<double>> h(n, std::vector<double>(n, 0.0));
  for (const vopRec::QuadTerm& q : products) {
    const auto i = static_cast<std::size_t>(q.first), j = static_cast<std::size_t>(q.second);
    h[i][j] += sign * q.coef;
    h[j][i] += sign * q.coef;
  }
  for (std::size_t k = 0; k < n; ++k) {
    h[k][k] += 1e-9;
    for (std::size_t p = 0; p < k; ++p) h[k][k] -= h[k][p] * h[k][p];
    if (h[k][k] < 0) return false;
    h[k][k] = std::sqrt(h[k][k]);
    for (std::size_t i = k + 1; i < n; ++i) {
      for (std::size_t p = 0; p < k; ++p) h[i][k] -= h[i][p] * h[k][p];
      h[i][k] /= h[k][k];
    }
  }
  return true;
}

// Checks one multiplier: positive (in the minimising sense) only at a finite lower bound,
// negative only at a finite upper bound. An interior-point answer stops short of its bounds, so
// a value off its bound by more than the feasibility tolerance fails only when the product of
// the multiplier and that distance passes `zero`; multipliers within `zero` count as zero. Where
// constraints are degenerate the multipliers are not unique and may be huge, with the value at
// its bound. A value that is the sum of large terms counts as at its bound within 1e-12 of their
// magnitudes (rounding).
void checkMultiplier(const std::string& what, double multiplier, double value, double lower,
                     double upper, double zero, double feasibility, std::vector<std::string>& out,
                     double terms = 0.0) {
  const double m = multiplier;
  if (std::fabs(m) <= zero) return;
  const double bound = m > 0 ? lower : upper;
  const double distance = std::isfinite(bound) ? std::fabs(value - bound) : vopRec::kInfinity;
  const bool atBound = std::isfinite(bound) &&
                       distance <= feasibility * std::max(1.0, std::fabs(bound)) + 1e-12 * terms;
  if (!atBound && std::fabs(m) * distance > zero) {
    out.push_back(text(what, " has multiplier ", m, " (minimising sense) at ", value, " within [",
                       lower, ", ", upper, "]"));
  }
}

void dualCertificate(const vopRec& m, const vopRec::Results& r, CheckResult& result,
                     const Tolerances& tol) {
  const vopRec::Objective& o = m.objectives.front();
  const std::size_t n = m.columns.size();
  if (!convex(o.quadratic, n, m.objectives.front().maximize ? -1.0 : 1.0)) {
    result.uncertified = "the objective is not convex";
    return;
  }
  std::optional<std::size_t> quadraticRow;
  for (std::size_t i = 0; i < m.rows.size(); ++i) {
    const vopRec::Row& row = m.rows[i];
    if (row.quadratic.empty()) continue;
    if (quadraticRow) {
      result.uncertified = "more than one quadratic row";
      return;
    }
    quadraticRow = i;
    if ((std::isfinite(row.upper) && !convex(row.quadratic, n, 1.0)) ||
        (std::isfinite(row.lower) && !convex(row.quadratic, n, -1.0))) {
      result.uncertified = "a quadratic row is not convex";
      return;
    }
  }
  // The host link reads the duals of the linear rows it passed on (free rows it does not);
  // without one the list stays empty.
  const bool linearRows = std::any_of(m.rows.begin(), m.rows.end(), [](const vopRec::Row& row) {
    return row.quadratic.empty() && (std::isfinite(row.lower) || std::isfinite(row.upper));
  });
  if (r.duals.size() != (linearRows ? m.rows.size() : 0) ||
      r.reducedCosts.size() != m.columns.size()) {
    result.failures.push_back(text("a continuous model without ", r.duals.size(), " duals for ",
                                   m.rows.size(), " rows or ", r.reducedCosts.size(),
                                   " reduced costs for ", m.columns.size(), " columns"));
    return;
  }
  const std::span<const double> x = r.values;
  const double s = sense(m);
  std::vector<double> scale;
  std::vector<double> residual = gradient(o, x, scale);
  // Multipliers are as exact as the gradient's terms are large: an interior-point answer
  // leaves noise of that order.
  // Held to the same measure as the stationarity residuals below.
  double zero = 1.0;
  for (double size : scale) zero = std::max(zero, size);
  zero *= 10 * tol.optimality;
  for (std::size_t j = 0; j < x.size(); ++j) {
    scale[j] = std::max({1.0, scale[j], std::fabs(r.reducedCosts[j])});
    residual[j] -= r.reducedCosts[j];
    checkMultiplier(text("column ", j), s * r.reducedCosts[j], x[j], m.columns[j].lower,
                    m.columns[j].upper, zero, tol.feasibility, result.failures);
  }
  for (std::size_t i = 0; i < m.rows.size(); ++i) {
    const vopRec::Row& row = m.rows[i];
    const bool free = !std::isfinite(row.lower) && !std::isfinite(row.upper);
    if (!row.quadratic.empty() || free) continue;
    if (!r.duals[i]) {
      result.failures.push_back(text("row ", i, " has no dual"));
      continue;
    }
    const double y = *r.duals[i];
    for (const vopRec::Term& t : row.terms) {
      const auto j = static_cast<std::size_t>(t.column);
      residual[j] -= t.coef * y;
      scale[j] = std::max(scale[j], std::fabs(t.coef * y));
    }
    checkMultiplier(text("row ", i), s * y, activity(row, x), row.lower, row.upper, zero,
                    tol.feasibility, result.failures);
  }
  if (quadraticRow) {
    // The host link passes no multiplier of a quadratic row, but the reduced costs hold it
    // (d = grad f - J'y over every row): what the linear rows leave over is mu * grad h(x) of
    // the quadratic row, and mu is fitted to it.
    const vopRec::Row& row = m.rows[*quadraticRow];
    vopRec::Objective h;
    h.terms = row.terms;
    h.quadratic = row.quadratic;
    std::vector<double> size;
    const std::vector<double> g = gradient(h, x, size);
    double gg = 0.0, gr = 0.0;
    for (std::size_t j = 0; j < x.size(); ++j) gg += g[j] * g[j], gr += g[j] * residual[j];
    const double mu = gg > 0.0 ? gr / gg : 0.0;
    for (std::size_t j = 0; j < x.size(); ++j) {
      residual[j] -= mu * g[j];
      scale[j] = std::max(scale[j], std::fabs(mu * g[j]));
    }
    checkMultiplier(text("quadratic row ", *quadraticRow), s * mu, activity(row, x), row.lower,
                    row.upper, zero, tol.feasibility, result.failures, magnitude(row, x));
  }
  for (std::size_t j = 0; j < x.size(); ++j) {
    if (std::fabs(residual[j]) > tol.optimality * 10 * scale[j]) {
      result.failures.push_back(
          text("column ", j, ": the objective's gradient differs from A'y + d by ", residual[j]));
    }
  }
  if (result.failures.empty()) {
    result.certificate = o.quadratic.empty() && !quadraticRow ? "duals" : "kkt";
  }
}

// ---- re-solves

vopRec copyModel(const vopRec& m) {
  vopRec copy;
  copy.name = m.name;
  copy.columns = m.columns;
  copy.rows = m.rows;
  copy.objectives = m.objectives;
  copy.sets = m.sets;
  copy.indicators = m.indicators;
  copy.nonlinearRows = m.nonlinearRows;
  copy.options = m.options;
  return copy;
}

vopRec::Objective blended(const vopRec& m, const Level& level) {
  vopRec::Objective o;
  o.name = text("level", level.priority);
  o.maximize = m.objectives.front().maximize;
  for (const auto& [k, w] : level.weighted) {
    for (const vopRec::Term& t : m.objectives[k].terms) o.terms.push_back({t.column, w * t.coef});
    o.constant += w * m.objectives[k].constant;
  }
  return o;
}

// Holds a level's objective within its tolerance of `optimum`, as the optimizer does before it
// moves on to the next level: exactly so, slack here would let the later levels reach beyond
// the answer's.
void holdLevel(vopRec& problem, const Level& level, double optimum, double s) {
  vopRec::Row hold;
  hold.name = text("hold", problem.rows.size());
  hold.terms = problem.objectives.front().terms;
  const double bound = optimum - problem.objectives.front().constant;
  const double slack = levelTolerance(level, optimum);
  if (s > 0) {
    hold.upper = bound + slack;
  } else {
    hold.lower = bound - slack;
  }
  problem.rows.push_back(std::move(hold));
}

// Solves every level alone with the earlier levels held within their tolerances, certifies
// each of those answers, and compares the answer's levels with their optima.
void levelCertificate(const vopRec& m, const vopRec::Results& r, CheckResult& result,
                      const Resolver& resolve, const Tolerances& tol) {
  const std::vector<Level> levels = objectiveLevels(m);
  std::vector<double> optima;
  vopRec sub = copyModel(m);
  for (std::size_t k = 0; k < levels.size(); ++k) {
    sub.objectives = {blended(m, levels[k])};
    sub.results = {};
    sub.messages.clear();
    std::string subLog;
    const int call = resolve(sub, subLog);
    CheckResult check = checkAnswer(sub, call, subLog, resolve, tol);
    for (std::string& f : check.failures) {
      result.failures.push_back(text("solving level ", k, " alone: ", f));
    }
    if (!check.ok()) return;
    if (check.certificate.empty() || sub.results.values.empty()) {
      result.uncertified = text(
          "level ", k, " alone: ", check.uncertified.empty() ? "no optimum" : check.uncertified);
      return;
    }
    const double v = objectiveValue(sub.objectives.front(), sub.results.values);
    optima.push_back(v);
    holdLevel(sub, levels[k], v, sense(m));
  }
  auto failures = compareLevels(m, levels, optima, r.values, 0.0, tol, "solving levels alone");
  result.failures.insert(result.failures.end(), failures.begin(), failures.end());
  if (result.failures.empty()) result.certificate = "levels";
}

// The optimum of `problem`'s single objective with every infinite bound replaced by +-box, and
// whether an opened bound holds it there. `reported` is the answer's status: an infeasible box
// only leaves "infeasible or unbounded" uncertified.
std::optional<double> boxedOptimum(const vopRec& problem, int reported, double box,
                                   CheckResult& result, const Resolver& resolve,
                                   const Tolerances& tol, bool* onBoundary) {
  vopRec boxed = copyModel(problem);
  std::vector<bool> opened(problem.columns.size(), false);
  for (std::size_t j = 0; j < problem.columns.size(); ++j) {
    vopRec::Column& c = boxed.columns[j];
    if (!std::isfinite(c.lower)) c.lower = -box, opened[j] = true;
    if (!std::isfinite(c.upper)) c.upper = box, opened[j] = true;
  }
  std::string boxedLog;
  const int call = resolve(boxed, boxedLog);
  if (call == 0 && boxed.results.status == 11) {
    // The box makes a model of its own, with terms of box^2 in its quadratic rows.
    result.uncertified = text("within +-", box, " the engine failed numerically");
    return std::nullopt;
  }
  CheckResult check = checkAnswer(boxed, call, boxedLog, resolve, tol);
  for (std::string& f : check.failures) result.failures.push_back(text("within +-", box, ": ", f));
  if (!check.ok()) return std::nullopt;
  if (reported == 4 && (boxed.results.status == 1 || boxed.results.status == 2)) {
    result.uncertified = text("infeasible or unbounded, and infeasible within +-", box);
    return std::nullopt;
  }
  if (isLimit(boxed.results.status)) {
    result.uncertified =
        text("within +-", box, " the solve stopped at a limit (status ", boxed.results.status, ")");
    return std::nullopt;
  }
  if (boxed.results.status != 0 || boxed.results.values.empty()) {
    result.failures.push_back(
        text("within +-", box, " the model has no optimum (status ", boxed.results.status, ")"));
    return std::nullopt;
  }
  if (check.certificate.empty()) result.uncertified = "within the box: " + check.uncertified;
  // Integer columns tied by rows can keep the optimum a few units off the box: within 1e-3 of
  // its size it still stands on it.
  const std::vector<double>& x = boxed.results.values;
  *onBoundary = false;
  for (std::size_t j = 0; j < x.size(); ++j) {
    *onBoundary = *onBoundary || (opened[j] && std::fabs(std::fabs(x[j]) - box) <= 1e-3 * box);
  }
  return objectiveValue(problem.objectives.front(), x);
}

// One level is unbounded: level by level, each solved alone within both boxes with the earlier
// levels held at their boxed optima, the first level whose optimum lies on the larger box and
// beyond the smaller box's shows it. Solving all levels at once would not: the later levels may
// pull the answer off the box within the earlier levels' tolerances.
void unboundedCertificate(const vopRec& m, CheckResult& result, const Resolver& resolve,
                          const Tolerances& tol) {
  const bool quadratic = hasQuadraticRows(m) || !m.objectives.front().quadratic.empty();
  if (quadratic && !modelIsContinuous(m)) {
    // Branch and bound over the nonlinear engine takes minutes on boxes of +-1e6.
    result.uncertified = "unbounded with discrete entities and quadratic parts";
    return;
  }
  // A quadratic row within a box holds terms of box^2; at +-1e6 an interior-point answer keeps
  // its rows and multipliers only to the rounding of terms of 1e13, so such models take smaller
  // boxes.
  const double nearBox = hasQuadraticRows(m) ? 1e2 : 1e3;
  const double farBox = hasQuadraticRows(m) ? 1e4 : 1e6;
  const std::vector<Level> levels = objectiveLevels(m);
  vopRec near = copyModel(m);
  vopRec far = copyModel(m);
  for (std::size_t k = 0; k < levels.size(); ++k) {
    // One objective is boxed as it stands (it may be quadratic); several, even at one priority,
    // are the level's blend of weighted linear objectives.
    if (m.objectives.size() > 1) near.objectives = far.objectives = {blended(m, levels[k])};
    bool small = false, large = false;
    const auto nearOptimum =
        boxedOptimum(near, m.results.status, nearBox, result, resolve, tol, &small);
    const auto farOptimum =
        boxedOptimum(far, m.results.status, farBox, result, resolve, tol, &large);
    if (!nearOptimum || !farOptimum) return;
    if (large && sense(m) * (*farOptimum - *nearOptimum) <= -1.0) {
      if (result.uncertified.empty()) result.certificate = "box";
      return;
    }
    if (k + 1 == levels.size()) {
      result.failures.push_back(
          text("reported unbounded, but ",
               levels.size() > 1 ? "no level grows with the box, and at the last one the " : "the ",
               "optimum within +-", farBox, " (", *farOptimum, large ? "" : ", inside the box",
               ") is no better than within +-", nearBox, " (", *nearOptimum, ")"));
      return;
    }
    holdLevel(near, levels[k], *nearOptimum, sense(m));
    holdLevel(far, levels[k], *farOptimum, sense(m));
  }
}

// ---- the elastic form of models reported infeasible

// How the elastic form decides a model reported infeasible.
enum class Elastic { kInfeasible, kFeasible, kUndecided };

// The record's largest finite bound or coefficient, at least 1.
double recordScale(const vopRec& m) {
  double scale = 1.0;
  const auto take = [&scale](double v) {
    if (std::isfinite(v)) scale = std::max(scale, std::fabs(v));
  };
  const auto takeRow = [&take](const vopRec::Row& row) {
    take(row.lower), take(row.upper);
    for (const vopRec::Term& t : row.terms) take(t.coef);
    for (const vopRec::QuadTerm& q : row.quadratic) take(q.coef);
  };
  for (const vopRec::Column& c : m.columns) take(c.lower), take(c.upper);
  for (const vopRec::Row& row : m.rows) takeRow(row);
  for (const vopRec::Indicator& ind : m.indicators) takeRow(ind.row);
  return scale;
}

// The least and the largest value a linear row's activity takes over the columns' bounds
// (semi-continuous columns taking 0 as well).
std::pair<double, double> activityRange(const vopRec& m, const vopRec::Row& row) {
  double low = 0.0, high = 0.0;
  for (const vopRec::Term& t : row.terms) {
    if (t.coef == 0.0) continue;
    const vopRec::Column& c = m.columns[static_cast<std::size_t>(t.column)];
    const bool semi = c.type == ColumnType::kSemiContinuous || c.type == ColumnType::kSemiInteger;
    const double a = t.coef * (semi ? std::min(c.lower, 0.0) : c.lower);
    const double b = t.coef * (semi ? std::max(c.upper, 0.0) : c.upper);
    low += std::min(a, b);
    high += std::max(a, b);
  }
  return {low, high};
}

// The model's elastic form: the same columns first, then penalised nonnegative slacks, the
// objective their sum (minimised). Every finite side of a row gets a slack, and a row whose
// sides cross is split in two, so that every row holds whatever the columns. A column keeps the
// bounds it can take, widened to hold both when they cross, to hold 0 when it is in a set (so
// that every set holds with its columns at 0) and to integers when it is integral; a finite
// bound so widened becomes a row with a slack. A semi-continuous column keeps its type and
// bounds (0 is always one of its values), or is fixed at 0 when they cross. An indicator's row
// gets slacks bounded by its activity's range over the columns' bounds: an indicator must imply
// a finite bound on the row. Integrality, sets and indicators stay, so the elastic form always
// has a point, its optimum is finite, and a point at an optimum of 0 is a point of the model.
vopRec elasticForm(const vopRec& m) {
  vopRec e = copyModel(m);
  e.objectives.assign(1, {});
  e.objectives.front().name = "elastic";
  const auto slack = [&e](double upper) {
    const int column = static_cast<int>(e.columns.size());
    e.columns.emplace_back().name = text("slack", column);
    e.columns.back().upper = upper;
    e.objectives.front().terms.push_back({column, 1.0});
    return column;
  };
  // The row with a slack on each finite side, the sides split apart when they cross.
  const auto soften = [&slack](vopRec::Row row, double lowerNeed, double upperNeed) {
    std::vector<vopRec::Row> parts;
    if (row.lower > row.upper) {
      vopRec::Row upperPart = row;
      upperPart.lower = -kInf;
      row.upper = kInf;
      parts.push_back(std::move(upperPart));
    }
    parts.insert(parts.begin(), std::move(row));
    for (vopRec::Row& part : parts) {
      if (std::isfinite(part.lower)) part.terms.push_back({slack(lowerNeed), 1.0});
      if (std::isfinite(part.upper)) part.terms.push_back({slack(upperNeed), -1.0});
    }
    return parts;
  };
  std::vector<bool> inSet(m.columns.size(), false);
  for (const vopRec::Set& set : m.sets) {
    for (int j : set.columns) inSet[static_cast<std::size_t>(j)] = true;
  }
  std::vector<vopRec::Row> rows;
  for (const vopRec::Row& row : m.rows) {
    const bool free = !std::isfinite(row.lower) && !std::isfinite(row.upper);
    for (vopRec::Row& part : free ? std::vector{row} : soften(row, kInf, kInf)) {
      rows.push_back(std::move(part));
    }
  }
  for (std::size_t j = 0; j < m.columns.size(); ++j) {
    vopRec::Column& c = e.columns[j];
    const bool semi = c.type == ColumnType::kSemiContinuous || c.type == ColumnType::kSemiInteger;
    if (semi) {
      if (c.lower > c.upper) c.type = ColumnType::kContinuous, c.lower = c.upper = 0.0;
      continue;
    }
    double lower = std::min(c.lower, c.upper), upper = std::max(c.lower, c.upper);
    if (inSet[j]) lower = std::min(lower, 0.0), upper = std::max(upper, 0.0);
    if (c.type == ColumnType::kInteger) lower = std::floor(lower), upper = std::ceil(upper);
    const int column = static_cast<int>(j);
    if (lower < c.lower) {
      rows.emplace_back().lower = c.lower;
      rows.back().terms = {{column, 1.0}};
    }
    if (upper > c.upper) {
      rows.emplace_back().upper = c.upper;
      rows.back().terms = {{column, 1.0}};
    }
    c.lower = lower, c.upper = upper;
  }
  for (std::size_t i = m.rows.size(); i < rows.size(); ++i) {
    rows[i] = soften(std::move(rows[i]), kInf, kInf).front();
  }
  e.rows = std::move(rows);
  e.indicators.clear();
  for (const vopRec::Indicator& ind : m.indicators) {
    const auto [low, high] = activityRange(e, ind.row);
    for (vopRec::Row& part :
         soften(ind.row, std::max(0.0, ind.row.lower - low), std::max(0.0, high - ind.row.upper))) {
      e.indicators.push_back(ind);
      e.indicators.back().row = std::move(part);
    }
  }
  return e;
}

// Solves the elastic form of a model reported infeasible. The report holds when the least sum
// of slacks (by the point, or the bound the solve proved when lower) clearly passes 0: a hundred
// times the feasibility and integrality tolerances (the checker's or the record's, the larger)
// at the record's scale. The model is feasible when the point's own columns satisfy it. Between
// the two, and when the elastic form's solve fails or stops at a limit, nothing is decided; a
// wrong answer of that solve (a point off the elastic form, wrong duals, "infeasible") fails.
// `point` receives the feasible point.
Elastic elasticVerdict(const vopRec& m, CheckResult& result, const Resolver& resolve,
                       const Tolerances& tol, std::vector<double>& point) {
  const std::size_t n = m.columns.size();
  if (!m.nonlinearRows.empty()) {
    result.uncertified = "infeasible with nonlinear rows";
    return Elastic::kUndecided;
  }
  for (const vopRec::Row& row : m.rows) {
    if ((std::isfinite(row.upper) && !convex(row.quadratic, n, 1.0)) ||
        (std::isfinite(row.lower) && !convex(row.quadratic, n, -1.0))) {
      result.uncertified = "infeasible with a quadratic row that is not convex";
      return Elastic::kUndecided;
    }
  }
  const bool quadraticIndicator =
      std::any_of(m.indicators.begin(), m.indicators.end(),
                  [](const vopRec::Indicator& ind) { return !ind.row.quadratic.empty(); });
  if (quadraticIndicator || (hasQuadraticRows(m) && !modelIsContinuous(m))) {
    // Branch and bound over the nonlinear engine takes minutes.
    result.uncertified = "infeasible with discrete entities and quadratic rows";
    return Elastic::kUndecided;
  }
  vopRec e = elasticForm(m);
  std::string log;
  const int call = resolve(e, log);
  const vopRec::Results& r = e.results;
  if (call == 0 && r.solved && r.status >= 1 && r.status <= 4) {
    result.failures.push_back(text("the elastic form, which has points and a sum of slacks of at ",
                                   "least 0, is reported with status ", r.status));
    return Elastic::kUndecided;
  }
  if (call != 0 || !r.solved || r.status != 0) {
    result.uncertified = call != 0 || !r.solved
                             ? "the elastic form's solve failed"
                             : text("the elastic form's solve ended with status ", r.status);
    return Elastic::kUndecided;
  }
  const CheckResult check = checkAnswer(e, call, log, resolve, tol);
  for (const std::string& f : check.failures) result.failures.push_back("the elastic form: " + f);
  if (!check.ok()) return Elastic::kUndecided;
  point.assign(r.values.begin(), r.values.begin() + static_cast<std::ptrdiff_t>(n));
  if (infeasibilities(m, point, tol).empty()) return Elastic::kFeasible;
  double optimum = objectiveValue(e.objectives.front(), r.values);
  if (r.bound) optimum = std::min(optimum, *r.bound);
  const double feasibility = std::max(tol.feasibility, optionValue(m, "feastol").value_or(0.0));
  const double integrality = std::max(tol.integrality, optionValue(m, "miptol").value_or(0.0));
  const double clear = 100 * (feasibility + integrality) * recordScale(m);
  if (optimum > clear) return Elastic::kInfeasible;
  result.uncertified = text("infeasible, but the elastic form's optimum ", optimum,
                            " is too close to 0 to tell (", clear, ")");
  return Elastic::kUndecided;
}

}  // namespace

std::vector<Level> objectiveLevels(const vopRec& m) {
  std::map<int, Level, std::greater<>> byPriority;
  const bool first = m.objectives.empty() || m.objectives.front().maximize;
  const auto absOption = optionValue(m, "objnabstol");
  const auto relOption = optionValue(m, "objnreltol");
  for (std::size_t k = 0; k < m.objectives.size(); ++k) {
    const vopRec::Objective& o = m.objectives[k];
    const int priority = m.objectives.size() > 1 ? o.priority.value_or(0) : 0;
    Level& level = byPriority[priority];
    level.priority = priority;
    const double weight = m.objectives.size() > 1 ? o.weight.value_or(1.0) : 1.0;
    level.weighted.emplace_back(k, o.maximize == first ? weight : -weight);
    level.absoluteTolerance =
        std::max(level.absoluteTolerance, o.absoluteTolerance.value_or(absOption.value_or(0.0)));
    level.relativeTolerance =
        std::max(level.relativeTolerance, o.relativeTolerance.value_or(relOption.value_or(0.0)));
  }
  std::vector<Level> levels;
  for (auto& [p, level] : byPriority) levels.push_back(std::move(level));
  return levels;
}

double objectiveValue(const vopRec::Objective& o, std::span<const double> x) {
  double value = o.constant;
  for (const vopRec::Term& t : o.terms) value += t.coef * at(x, t.column);
  for (const vopRec::QuadTerm& q : o.quadratic) value += q.coef * at(x, q.first) * at(x, q.second);
  return value;
}

double levelValue(const vopRec& m, const Level& level, std::span<const double> x) {
  double value = 0.0;
  for (const auto& [k, w] : level.weighted) value += w * objectiveValue(m.objectives[k], x);
  return value;
}

std::vector<std::string> infeasibilities(const vopRec& m, std::span<const double> x,
                                         const Tolerances& tol) {
  std::vector<std::string> out;
  if (x.size() != m.columns.size()) {
    return {text(x.size(), " values for ", m.columns.size(), " columns")};
  }
  for (std::size_t j = 0; j < x.size(); ++j) {
    const vopRec::Column& c = m.columns[j];
    const double v = x[j];
    const bool semi = c.type == ColumnType::kSemiContinuous || c.type == ColumnType::kSemiInteger;
    const bool integral = c.type == ColumnType::kInteger || c.type == ColumnType::kSemiInteger;
    if (!std::isfinite(v)) {
      out.push_back(text("column ", j, " has value ", v));
      continue;
    }
    if (semi && std::fabs(v) <= tol.feasibility) continue;
    if (v < c.lower - scaled(tol.feasibility, c.lower) ||
        v > c.upper + scaled(tol.feasibility, c.upper)) {
      out.push_back(text("column ", j, " = ", v, " lies outside [", c.lower, ", ", c.upper, "]",
                         semi ? " and is not 0" : ""));
    }
    if (integral && !isIntegral(v, tol))
      out.push_back(text("column ", j, " = ", v, " is not integral"));
  }
  for (std::size_t i = 0; i < m.rows.size(); ++i) checkRow(text("row ", i), m.rows[i], x, tol, out);
  for (std::size_t k = 0; k < m.sets.size(); ++k) {
    const vopRec::Set& set = m.sets[k];
    std::vector<std::pair<double, int>> order;
    for (std::size_t p = 0; p < set.columns.size(); ++p) {
      const double w = set.weights.empty() ? static_cast<double>(p + 1) : set.weights[p];
      order.emplace_back(w, set.columns[p]);
    }
    std::sort(order.begin(), order.end());
    std::vector<std::size_t> nonzero;
    for (std::size_t p = 0; p < order.size(); ++p) {
      if (std::fabs(at(x, order[p].second)) > tol.feasibility) nonzero.push_back(p);
    }
    const bool holds = set.type == 1 ? nonzero.size() <= 1
                                     : nonzero.size() <= 1 ||
                                           (nonzero.size() == 2 && nonzero[1] == nonzero[0] + 1);
    if (!holds)
      out.push_back(text("set ", k, " (type ", set.type, ") has ", nonzero.size(),
                         " non-zero columns", set.type == 2 ? ", not adjacent" : ""));
  }
  for (std::size_t k = 0; k < m.indicators.size(); ++k) {
    const vopRec::Indicator& ind = m.indicators[k];
    const double b = at(x, ind.column);
    if (!isIntegral(b, tol)) {
      out.push_back(text("indicator ", k, ": its column is ", b, ", not 0 or 1"));
    } else if ((std::round(b) == 1.0) == ind.whenOne) {
      checkRow(text("indicator ", k, "'s row"), ind.row, x, tol, out);
    }
  }
  return out;
}

CheckResult checkAnswer(const vopRec& m, int callResult, std::string_view log,
                        const Resolver& resolve, const Tolerances& tol) {
  CheckResult result;
  const vopRec::Results& r = m.results;
  if (callResult != 0) {
    const bool named = std::any_of(m.messages.begin(), m.messages.end(), [](const std::string& s) {
      return s.rfind("error: ", 0) == 0 && s.size() > 7;
    });
    if (named) {
      result.certificate = "refused";
    } else {
      result.failures.push_back("the solve failed without saying what was refused");
    }
    return result;
  }
  if (!r.solved) {
    result.failures.push_back("the calls succeeded, but no results were read");
    return result;
  }
  const bool hasSolution = !r.values.empty();
  if (!hasSolution && r.objective) {
    result.failures.push_back(text("no solution, but the objective ", *r.objective));
  }
  if (m.objectives.empty()) {
    result.uncertified = "no objective";
    return result;
  }
  if (hasSolution) {
    result.failures = infeasibilities(m, r.values, tol);
    if (m.objectives.size() == 1 && r.objective) {
      const double v = objectiveValue(m.objectives.front(), r.values);
      if (std::fabs(v - *r.objective) > scaled(tol.optimality, v)) {
        result.failures.push_back(
            text("the objective is reported as ", *r.objective, " but is ", v, " at the point"));
      }
    }
    for (std::size_t i = 0; i < r.activities.size() && i < m.rows.size(); ++i) {
      if (!r.activities[i]) continue;
      const double a = activity(m.rows[i], r.values);
      if (std::fabs(a - *r.activities[i]) > scaled(tol.feasibility, a)) {
        result.failures.push_back(
            text("row ", i, "'s activity is reported as ", *r.activities[i], " but is ", a));
      }
    }
  }
  const int status = r.status;
  const auto enumeration = [&] { return enumerate(m, tol); };
  if (status == 0) {
    if (!hasSolution) {
      result.failures.push_back("status optimal without a solution");
      return result;
    }
    if (!result.ok()) return result;
    if (const auto e = enumeration()) {
      if (e->feasible.empty()) {
        result.failures.push_back("an answer, but no assignment is feasible");
        return result;
      }
      const std::vector<Level> levels = objectiveLevels(m);
      const auto optima = lexicographicOptima(m, levels, e->feasible);
      result.failures = compareLevels(m, levels, optima, r.values,
                                      objectiveSlack(m, tol.integrality), tol, "by enumeration");
      if (result.ok()) result.certificate = "enumeration";
    } else if (!modelIsContinuous(m)) {
      result.uncertified = "discrete entities with continuous columns, or too many to enumerate";
    } else if (r.solutionStatus == kFeasibleSolution) {
      // The point holds, and the answer does not claim more (an engine that ended short of its
      // optimality tolerances).
      result.uncertified = "a feasible point, not claimed optimal";
    } else if (m.objectives.size() > 1) {
      levelCertificate(m, r, result, resolve, tol);
    } else {
      dualCertificate(m, r, result, tol);
    }
    return result;
  }
  if (isLimit(status)) {
    result.uncertified = text("stopped at a limit (status ", status, ")");
    return result;
  }
  if (status == 1 || status == 2 || status == 4) {
    if (const auto e = enumeration()) {
      if (!e->feasible.empty()) {
        std::ostringstream point;
        for (double v : e->feasible.front()) point << ' ' << v;
        result.failures.push_back(text("reported infeasible (status ", status,
                                       "), but this assignment is feasible:", point.str()));
      } else {
        result.certificate = "enumeration";
      }
      return result;
    }
    std::vector<double> point;
    const Elastic verdict = elasticVerdict(m, result, resolve, tol, point);
    if (!result.ok()) return result;
    if (verdict == Elastic::kInfeasible) {
      result.certificate = "elastic";
      return result;
    }
    if (verdict == Elastic::kFeasible && status != 4) {
      std::ostringstream values;
      for (double v : point) values << ' ' << v;
      result.failures.push_back(
          text("reported infeasible (status ", status,
               "), but the elastic form's optimum is this point:", values.str()));
    }
    // "Infeasible or unbounded" of a model with a point is shown unbounded, or not, below.
    if (status != 4) return result;
    result.uncertified.clear();
  }
  if (status == 3 || status == 4) {
    unboundedCertificate(m, result, resolve, tol);
    return result;
  }
  const bool named = !hasSolution && (status == 11 || status == 13) &&
                     (log.rfind("XPRSoptimize: ", 0) == 0 ||
                      log.find("\nXPRSoptimize: ") != std::string_view::npos);
  if (named) {
    result.certificate = "refused";
  } else {
    result.failures.push_back(text("the solve ended with status ", status, ", nothing says why"));
  }
  return result;
}

std::string describe(const vopRec& m) {
  static const char* const kTypes[] = {"C", "I", "SC", "SI"};
  std::ostringstream out;
  out.precision(10);
  const auto terms = [&](const std::vector<vopRec::Term>& ts,
                         const std::vector<vopRec::QuadTerm>& qs) {
    for (const auto& t : ts) out << ' ' << t.coef << "*x" << t.column;
    for (const auto& q : qs) out << ' ' << q.coef << "*x" << q.first << "*x" << q.second;
  };
  for (std::size_t j = 0; j < m.columns.size(); ++j) {
    const auto& c = m.columns[j];
    out << "x" << j << ' ' << kTypes[static_cast<int>(c.type)] << " [" << c.lower << ", " << c.upper
        << "]\n";
  }
  for (const auto& row : m.rows) {
    out << "row " << row.lower << " <=";
    terms(row.terms, row.quadratic);
    out << " <= " << row.upper << '\n';
  }
  for (const auto& o : m.objectives) {
    out << (o.maximize ? "max" : "min") << " p" << o.priority.value_or(0) << " w"
        << o.weight.value_or(1) << " tol " << o.absoluteTolerance.value_or(0) << '/'
        << o.relativeTolerance.value_or(0) << ": " << o.constant;
    terms(o.terms, o.quadratic);
    out << '\n';
  }
  for (const auto& s : m.sets) {
    out << "sos" << s.type << ':';
    for (std::size_t p = 0; p < s.columns.size(); ++p) {
      out << " x" << s.columns[p] << (s.weights.empty() ? "" : text("@", s.weights[p]));
    }
    out << '\n';
  }
  for (const auto& ind : m.indicators) {
    out << "x" << ind.column << " = " << ind.whenOne << " -> " << ind.row.lower << " <=";
    terms(ind.row.terms, ind.row.quadratic);
    out << " <= " << ind.row.upper << '\n';
  }
  const auto& r = m.results;
  out << "status " << r.status << ", objective "
      << (r.objective ? text(*r.objective) : std::string("none")) << ", values";
  for (double v : r.values) out << ' ' << v;
  out << '\n';
  for (const auto& msg : m.messages) out << msg << '\n';
  return out.str();
}

}  // namespace qel_check
