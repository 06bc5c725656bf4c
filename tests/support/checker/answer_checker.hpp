// Certifies a solver's answer against the host's model record: the record the host built, never
// the optimizer's copy of it. A returned point must satisfy every bound, row, integrality, set,
// indicator and semi-continuity of the record, and its objective must be the record's objective
// at that point. Optimality is shown independently where the model allows it:
//   - pure-integer models small enough, by enumerating every assignment (several objectives
//     level by level, each level kept within its tolerances);
//   - continuous models with one linear or convex quadratic objective and linear rows, by the
//     returned duals and reduced costs (stationarity, signs, complementary slackness);
//   - continuous models with several objectives, by solving each level again alone, with the
//     earlier levels held as rows, and certifying each of those answers.
// "Infeasible" is confirmed by enumeration where the model allows, otherwise by solving the
// model's elastic form through the same path (every row and every bound the columns cannot keep
// get penalised slacks, integrality, sets and indicators stay, the objective is the slacks'
// sum): its optimum must clearly pass 0, and an optimum whose point satisfies the record shows
// the report wrong; a limit in that solve leaves the report uncertified. "Unbounded" is confirmed
// by solving again with every infinite bound replaced by +-1e6 and by +-1e3: the larger box must be
// optimal on its boundary with an objective beyond the smaller box's; with several objectives,
// level by level, each level alone with the earlier ones held at their optima within the same box,
// until one grows with the box.
//
// Signs follow the host link: a row's dual and a column's reduced cost are the objective's rate
// of change with the row's right-hand side and the column's value, so that grad f(x) = A'y + d
// in both senses; when minimising, y >= 0 and d >= 0 only at a lower bound, y <= 0 and d <= 0
// only at an upper bound (the other way round when maximising).
#ifndef TESTS_SUPPORT_CHECKER_ANSWER_CHECKER_HPP_
#define TESTS_SUPPORT_CHECKER_ANSWER_CHECKER_HPP_

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "orla/vop_rec.hpp"

namespace qel_check {

struct Tolerances {
  double feasibility = 1e-6;     // bounds, rows, sets, indicators: times max(1, |bound|)
  double integrality = 1e-5;     // distance from the nearest integer
  double optimality = 1e-6;      // objective values and dual conditions: times max(1, magnitude)
  long enumerationLimit = 4096;  // assignments enumerated at most
};

// Solves a record again through the same path as the answer checked; fills its results and the
// log the optimizer wrote, and returns what the host's calls returned (0 on success).
using Resolver = std::function<int(vopRec&, std::string& log)>;

struct CheckResult {
  std::vector<std::string> failures;  // empty when the answer holds
  std::string certificate;  // how the status or the optimum was shown; empty when it was not
  std::string uncertified;  // why not, when it was not
  bool ok() const { return failures.empty(); }
};

// Checks the results in `model` after the host's calls returned `callResult` and the optimizer
// wrote `log`. A refusal is fine when it says what is refused: a failed call by an error
// message, a solve that ended with an error status and no solution by the optimizer's error
// line in the log ("XPRSoptimize: <why>").
CheckResult checkAnswer(const vopRec& model, int callResult, std::string_view log,
                        const Resolver& resolve, const Tolerances& tolerances = {});

// One priority level of several objectives, highest priority first: the objectives weighted
// (with the sign turned for those whose sense differs from the first objective's) and their
// tolerances. A single objective is one level of weight 1.
struct Level {
  int priority = 0;
  std::vector<std::pair<std::size_t, double>> weighted;  // objective, signed weight
  double absoluteTolerance = 0.0;
  double relativeTolerance = 0.0;
};
std::vector<Level> objectiveLevels(const vopRec& model);

double objectiveValue(const vopRec::Objective& objective, std::span<const double> x);
double levelValue(const vopRec& model, const Level& level, std::span<const double> x);

// Every way x breaks the record, one text each; empty when x is feasible.
std::vector<std::string> infeasibilities(const vopRec& model, std::span<const double> x,
                                         const Tolerances& tolerances = {});

// The record in a few lines, for failure reports.
std::string describe(const vopRec& model);

}  // namespace qel_check

#endif  // TESTS_SUPPORT_CHECKER_ANSWER_CHECKER_HPP_
