#include "driver.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "batches.hpp"
#include "host_log.hpp"
#include "interrupt_watch.hpp"
#include "link_error.hpp"
#include "nuv/attr/abstract_item_dict.hpp"
#include "nuv/attr/item.hpp"
#include "nuv/idx/list.hpp"
#include "nuv/opt/abstract_command.hpp"
#include "nuv/opt/abstract_constraint_adder.hpp"
#include "nuv/opt/abstract_linked_constraint_adder.hpp"
#include "nuv/opt/abstract_solver.hpp"
#include "nuv/opt/abstract_variable_adder.hpp"
#include "nuv/opt/context.hpp"
#include "nuv/opt/keys.hpp"
#include "nuv/opt/solve_status.hpp"
#include "reading.hpp"
#include "settings.hpp"
#include "solver_options.hpp"
#include "trace.hpp"

namespace orla::detail {
namespace {

namespace keys = nuv::opt;
using nuv::opt::SolveStatus;

// Runs f; a failure the solver raised gets `what` in front of its text.
template <class F>
decltype(auto) during(std::string_view what, F&& f) {
  try {
    return f();
  } catch (const LinkError&) {
    throw;
  } catch (const std::exception& e) {
    throw std::runtime_error(std::string(what) + ": " + e.what());
  }
}

template <class P>
std::shared_ptr<P> required(std::shared_ptr<P> adder, std::string_view what) {
  if (!adder) throw LinkError("the solver offers no adder for " + std::string(what));
  return adder;
}

// Hands `total` entities over in batches of at most `batchSize` (all at once for 0) and
// returns the indices the adder gave them, in order.
template <class Add>
std::vector<int> inBatches(std::size_t total, int batchSize, std::string_view what, Add add) {
  std::vector<int> indices;
  const auto size = static_cast<int>(total);
  const int step = batchSize > 0 ? batchSize : std::max(size, 1);
  for (int first = 0; first < size; first += step) {
    const int count = std::min(step, size - first);
    const nuv::idx::List list = during("loading the " + std::string(what),
                                       [&] { return nuv::idx::List(add(first, count)); });
    if (list.size() != count) {
      throw LinkError("loading the " + std::string(what) + ": the solver returned " +
                      std::to_string(list.size()) + " indices for " + std::to_string(count) +
                      " entities");
    }
    std::vector<int> got(static_cast<std::size_t>(count));
    list.toVector(got);
    indices.insert(indices.end(), got.begin(), got.end());
  }
  return indices;
}

// A run that stopped early rather than ending with a verdict on the model: a search stopped
// this way has still proved the bound it reached.
bool stoppedEarly(SolveStatus status) {
  switch (status) {
    case SolveStatus::solution_limit:
    case SolveStatus::iteration_limit:
    case SolveStatus::time_limit:
    case SolveStatus::node_limit:
    case SolveStatus::work_limit:
    case SolveStatus::memory_limit:
    case SolveStatus::user_interrupt:
    case SolveStatus::other_limit:
    case SolveStatus::no_solution:
      return true;
    default:
      return false;
  }
}

std::optional<double> finite(std::optional<double> value) {
  return value && std::isfinite(*value) ? value : std::nullopt;
}

template <class T>
std::vector<T> firstOf(std::vector<std::vector<T>> all) {
  return all.empty() ? std::vector<T>() : std::move(all.front());
}

class Driver {
 public:
  Driver(nuv::opt::AbstractSolver& solver, const LinkDef& definition, vopRec& model,
         InterruptWatch& interrupts)
      : solver_(solver), definition_(definition), model_(model), interrupts_(interrupts) {}

  void run() {
    std::vector<vopRec::Option> solverOptions;
    settings_ = takeLinkOptions(definition_, model_.options, &solverOptions);
    during("starting the solver", [&] {
      if (solver_.started()) {
        solver_.clear();
      } else {
        solver_.start({}, {});
      }
    });
    if (model_.log) {
      during("installing the log", [&] {
        if (!solver_.setLog(std::make_shared<HostLog>(model_.log, errors_))) {
          throw LinkError("the solver refused the log");
        }
      });
    }
    if (!settings_.traceFile.empty()) startTrace();
    setOptions(solverOptions);
    setModelName();
    load();
    if (trace_) trace_->setObjective(objectiveAdderId_);
    const SolveStatus status = during("solving", [&] { return interrupts_.solve(); });
    model_.results.status = static_cast<int>(status);
    readResults(false);
    model_.results.solved = true;
    if (settings_.mipCleanup) cleanUp();
    if (trace_ && trace_->failure()) warn(*trace_->failure());
  }

  // The errors the solver logged so far become messages, after those already given.
  void keepLoggedErrors() {
    for (std::string& e : errors_->take()) model_.messages.push_back(std::move(e));
  }

 private:
  void warn(std::string text) { model_.messages.push_back("warning: " + std::move(text)); }

  void startTrace() {
    trace_ = std::make_shared<TraceCallback>(solver_, settings_);
    during("installing the trace callback", [&] {
      if (!solver_.setCallback(trace_)) throw LinkError("the solver refused the trace callback");
      const struct {
        bool wanted;
        const nuv::TagIndex& context;
        const char* name;
      } contexts[] = {
          {settings_.traceTimeStep > 0, keys::context::progress, "progress"},
          {settings_.traceNodeStep > 0, keys::context::node, "node"},
          {settings_.traceIncumbent, keys::context::new_incumbent, "incumbent"},
      };
      for (const auto& c : contexts) {
        if (c.wanted && !solver_.addCallbackContext(c.context)) {
          warn(std::string("the solver offers no ") + c.name + " callback; the trace has no " +
               c.name + " lines");
        }
      }
    });
  }

  void setOptions(const std::vector<vopRec::Option>& options) {
    if (options.empty()) return;
    const auto dictionary =
        during("asking for the options", [&] { return solver_.attribs(solver_.tag(), nullptr); });
    if (!dictionary) {
      throw LinkError("the solver offers no options; cannot set '" + options.front().name + "'");
    }
    for (const vopRec::Option& option : options) {
      during("setting option '" + option.name + "'", [&] { setOption(*dictionary, option); });
    }
  }

  void setModelName() {
    if (model_.name.empty()) return;
    during("setting the model name", [&] {
      const auto attributes = solver_.attribs(keys::solver::tag, nullptr);
      nuv::attr::Item<std::string> item =
          attributes ? nuv::attr::Item<std::string>((*attributes)[keys::solver::model_name])
                     : nuv::attr::Item<std::string>();
      if (!item.supportsSet()) {
        warn("the solver takes no model name");
        return;
      }
      item.set(model_.name, 0);
    });
  }

  void load() {
    std::vector<std::string> warnings;
    const BatchBuilder batches(model_, settings_, &warnings);
    for (std::string& w : warnings) warn(std::move(w));
    const int size = model_.batchSize;
    const auto variables =
        required(solver_.variableAdder(keys::interval_domain::tag, nullptr), "variables");
    columns_.owner = variables->id();
    columns_.indices = inBatches(model_.columns.size(), size, "variables", [&](int f, int n) {
      return variables->add(batches.variables(f, n));
    });
    for (const vopRec::Column& c : model_.columns) {
      discrete_ = discrete_ || c.type != vopRec::ColumnType::kContinuous;
    }
    discrete_ = discrete_ || !model_.sets.empty() || !model_.indicators.empty();

    // Linear rows go first: the solver lists the results of linear rows in loading order, so
    // with nothing loaded before them their result items are the row numbers `add` returns.
    const auto itself = [](const auto& row) -> const auto& { return row; };
    linearParts_ = partsOf(
        model_.rows, [](const vopRec::Row& r) { return r.quadratic.empty(); }, itself);
    const std::vector<RowPart> quadraticParts = partsOf(
        model_.rows, [](const vopRec::Row& r) { return !r.quadratic.empty(); }, itself);
    if (!linearParts_.empty()) {
      linearAdder_ = boundedRowAdder(keys::linear_function::tag, "linear rows");
      linearRows_ = loadParts(*linearAdder_, linearParts_, "linear rows",
                              [&](auto p) { return batches.linearRows(p, columns_); });
    }
    loadObjectives(batches);
    if (!quadraticParts.empty()) {
      loadParts(*boundedRowAdder(keys::quadratic_function::tag, "quadratic rows"), quadraticParts,
                "quadratic rows", [&](auto p) { return batches.quadraticRows(p, columns_); });
    }
    if (!model_.sets.empty()) {
      const auto adder = required(
          solver_.constraintAdder(keys::identity_function::tag, keys::sos_domain::tag, nullptr),
          "sets");
      inBatches(model_.sets.size(), size, "sets",
                [&](int f, int n) { return adder->add(batches.sets(f, n, columns_)); });
    }
    loadIndicators(batches);
    const std::vector<RowPart> nonlinearParts = partsOf(
        model_.nonlinearRows, [](const auto&) { return true; }, itself);
    if (!nonlinearParts.empty()) {
      loadParts(*boundedRowAdder(keys::identity_function::tag, "nonlinear rows"), nonlinearParts,
                "nonlinear rows", [&](auto p) { return batches.nonlinearRows(p, columns_); });
    }
  }

  // The parts of the entities `keep` accepts, each split by the bounds of the row `rowOf` gives
  // for it (the entity itself, or an indicator's linked row); parts are numbered by entity.
  template <class Entity, class Keep, class RowOf>
  static std::vector<RowPart> partsOf(const std::vector<Entity>& all, Keep keep, RowOf rowOf) {
    std::vector<RowPart> out;
    for (std::size_t i = 0; i < all.size(); ++i) {
      if (!keep(all[i])) continue;
      const auto& row = rowOf(all[i]);
      auto parts = splitRow(static_cast<int>(i), all[i].name, row.lower, row.upper);
      out.insert(out.end(), parts.begin(), parts.end());
    }
    return out;
  }

  std::shared_ptr<nuv::opt::AbstractConstraintAdder> boundedRowAdder(nuv::Tag function,
                                                                     std::string_view what) {
    return required(solver_.constraintAdder(function, keys::static_bounded_domain::tag, nullptr),
                    what);
  }

  // Hands the row parts to `adder` in batches; `batch` builds one batch from its parts.
  template <class Adder, class Batch>
  std::vector<int> loadParts(Adder& adder, const std::vector<RowPart>& all, std::string_view what,
                             Batch&& batch) {
    return inBatches(all.size(), model_.batchSize, what,
                     [&](int f, int n) { return adder.add(batch(parts(all, f, n))); });
  }

  static std::span<const RowPart> parts(const std::vector<RowPart>& all, int first, int count) {
    return std::span<const RowPart>(all).subspan(static_cast<std::size_t>(first),
                                                 static_cast<std::size_t>(count));
  }

  void loadObjectives(const BatchBuilder& batches) {
    const auto objectives = batches.objectives();
    if (objectives.empty()) return;
    const vopRec::Objective& first = objectives.front();
    const bool nonlinear = !first.expression.empty();
    const bool quadratic = !first.quadratic.empty();
    if (objectives.size() > 1) {
      for (const vopRec::Objective& o : objectives) {
        if (!o.expression.empty() || !o.quadratic.empty()) {
          throw LinkError("several objectives must all be linear; objective '" + o.name +
                          "' is not");
        }
      }
    }
    const nuv::Tag function = nonlinear   ? keys::identity_function::tag
                              : quadratic ? keys::quadratic_function::tag
                                          : keys::linear_function::tag;
    const auto adder =
        required(solver_.constraintAdder(function, keys::sense_domain::tag, nullptr), "objectives");
    if (objectives.size() == 1) {
      objectiveAdderId_ = adder->id();
      if (!nonlinear) rankingObjective_ = &first;
    }
    inBatches(objectives.size(), model_.batchSize, "objectives", [&](int f, int n) {
      if (nonlinear) return adder->add(batches.nonlinearObjective(first, columns_));
      if (quadratic) return adder->add(batches.quadraticObjective(first, columns_));
      return adder->add(batches.linearObjectives(f, n, columns_));
    });
  }

  void loadIndicators(const BatchBuilder& batches) {
    // The adder serves one function kind of linked rows: linear and quadratic rows apart.
    for (const bool quadratic : {false, true}) {
      const std::vector<RowPart> all = partsOf(
          model_.indicators,
          [&](const vopRec::Indicator& i) { return i.row.quadratic.empty() != quadratic; },
          [](const vopRec::Indicator& i) -> const vopRec::Row& { return i.row; });
      if (all.empty()) continue;
      const nuv::Tag function =
          quadratic ? keys::quadratic_function::tag : keys::linear_function::tag;
      const auto adder =
          required(solver_.linkedConstraintAdder(keys::constraint_link::indicator,
                                                 keys::identity_function::tag,
                                                 keys::static_bounded_domain::tag, function,
                                                 keys::static_bounded_domain::tag, nullptr),
                   "indicators");
      loadParts(*adder, all, "indicators", [&](auto p) { return batches.indicators(p, columns_); });
    }
  }

  template <class T>
  std::vector<T> byColumn(const std::vector<T>& all) const {
    std::vector<T> out;
    out.reserve(columns_.indices.size());
    for (const int index : columns_.indices) {
      if (index < 0 || static_cast<std::size_t>(index) >= all.size()) {
        throw LinkError("the solver reports results for " + std::to_string(all.size()) +
                        " variables, but a column is its variable " + std::to_string(index));
      }
      out.push_back(all[static_cast<std::size_t>(index)]);
    }
    return out;
  }

  template <class T>
  const T& rowResult(const std::vector<T>& all, std::size_t part) const {
    const int index = linearRows_[part];
    if (index < 0 || static_cast<std::size_t>(index) >= all.size()) {
      throw LinkError("the solver reports results for " + std::to_string(all.size()) +
                      " linear rows, but a row is its row " + std::to_string(index));
    }
    return all[static_cast<std::size_t>(index)];
  }

  void readResults(bool fixed) {
    vopRec::Results& r = model_.results;
    const auto variables = during("reading the variable results",
                                  [&] { return solver_.variables(columns_.owner, nullptr); });
    const auto& domain = variables.domain;
    during("reading the variable results", [&] {
      // Every solution is read, also after the fixed re-solve: while the pool holds two or more,
      // the solver lists the pool's solutions rather than the re-solve's, and the best of them is
      // the one whose entities were fixed.
      auto levels = elements<double>(domain[keys::interval_domain::level],
                                     std::numeric_limits<nuv::Index>::max());
      std::vector<std::vector<double>> solutions;
      for (const auto& level : levels) solutions.push_back(byColumn(level));
      rankByObjective(solutions);
      if (!fixed) solution_ = !solutions.empty();
      if (!solutions.empty()) r.values = std::move(solutions[0]);
      if (!fixed) {
        r.pool.clear();
        for (std::size_t e = 1; e < solutions.size(); ++e)
          r.pool.push_back(std::move(solutions[e]));
      }
      r.reducedCosts = columnsOf(elements<double>(domain[keys::interval_domain::marginal], 1));
      r.columnBasis = columnsOf(elements<int>(domain[keys::interval_domain::basis], 1));
      r.columnInfeasible =
          columnsOf(elements<int>(domain[keys::interval_domain::infeasible_mark], 1));
    });
    if (linearAdder_) readRowResults();
    if (fixed) return;
    // The optimizer's objective attributes hold a number also when the run found no solution;
    // only a solution gives the objective a meaning. Without one, a bound is kept where a search
    // proved it: a discrete model stopped early.
    const bool bounded =
        solution_ || (discrete_ && stoppedEarly(static_cast<SolveStatus>(r.status)));
    if (objectiveAdderId_ && bounded) {
      during("reading the objective", [&] {
        const auto results = solver_.constraints(*objectiveAdderId_, nullptr);
        if (solution_) r.objective = singleValue(results, keys::sense_domain::objective_value);
        r.bound = finite(singleValue(results, keys::sense_domain::objective_bound));
      });
    }
    during("reading the solver attributes", [&] {
      const auto attributes = solver_.attribs(keys::solver::tag, nullptr);
      r.solutionStatus = itemValue<int>(attributes.get(), keys::solver::solution_status);
      r.iterations = itemValue<unsigned long>(attributes.get(), keys::solver::iteration_count);
      r.nodes = itemValue<unsigned long>(attributes.get(), keys::solver::node_count);
      r.time = itemValue<double>(attributes.get(), keys::solver::time_used);
    });
  }

  // The solver lists pool solutions in the pool's own order, which need not be best first: an
  // enumeration stores its best solution first, so its newest is its worst. With one linear or
  // quadratic objective the solutions are ranked by their objective value, best first, equal
  // ones in the pool's order; otherwise the pool's order stands.
  void rankByObjective(std::vector<std::vector<double>>& solutions) const {
    if (rankingObjective_ == nullptr || solutions.size() < 2) return;
    const vopRec::Objective& o = *rankingObjective_;
    const double sense = o.maximize ? -1.0 : 1.0;
    std::vector<std::pair<double, std::size_t>> order;
    for (std::size_t e = 0; e < solutions.size(); ++e) {
      const std::vector<double>& x = solutions[e];
      double value = o.constant;
      for (const vopRec::Term& t : o.terms) value += t.coef * x[static_cast<std::size_t>(t.column)];
      for (const vopRec::QuadTerm& q : o.quadratic) {
        value +=
            q.coef * x[static_cast<std::size_t>(q.first)] * x[static_cast<std::size_t>(q.second)];
      }
      order.emplace_back(sense * value, e);
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::vector<double>> ranked;
    ranked.reserve(solutions.size());
    for (const auto& [value, e] : order) ranked.push_back(std::move(solutions[e]));
    solutions = std::move(ranked);
  }

  template <class T>
  std::vector<T> columnsOf(const std::vector<std::vector<T>>& all) const {
    return all.empty() ? std::vector<T>() : byColumn(all.front());
  }

  void readRowResults() {
    vopRec::Results& r = model_.results;
    const auto rows = during("reading the row results",
                             [&] { return solver_.constraints(linearAdder_->id(), nullptr); });
    std::vector<double> slack, dual;
    std::vector<int> basis, marks;
    during("reading the row results", [&] {
      const auto& domain = rows.domain;
      slack = firstOf(elements<double>(domain[keys::static_bounded_domain::slack], 1));
      dual = firstOf(elements<double>(domain[keys::static_bounded_domain::dual], 1));
      basis = firstOf(elements<int>(domain[keys::static_bounded_domain::basis], 1));
      marks = firstOf(elements<int>(domain[keys::static_bounded_domain::infeasible_mark], 1));
    });
    const std::size_t n = model_.rows.size();
    r.activities.assign(slack.empty() ? 0 : n, std::nullopt);
    r.duals.assign(dual.empty() ? 0 : n, std::nullopt);
    r.rowBasis.assign(basis.empty() ? 0 : n, std::nullopt);
    r.rowInfeasible.assign(marks.empty() ? 0 : n, std::nullopt);
    std::vector<int> partsOfRow(n, 0);
    for (const RowPart& part : linearParts_) ++partsOfRow[static_cast<std::size_t>(part.entity)];
    for (std::size_t k = 0; k < linearParts_.size(); ++k) {
      const auto row = static_cast<std::size_t>(linearParts_[k].entity);
      const bool firstPart = k == 0 || linearParts_[k - 1].entity != linearParts_[k].entity;
      // The solver's slack is rhs - activity; a row with two bounds shows its first part's.
      if (!slack.empty() && firstPart)
        r.activities[row] = linearParts_[k].rhs - rowResult(slack, k);
      // Of the two parts of a row with two bounds at most one is binding: their duals add up.
      if (!dual.empty()) r.duals[row] = r.duals[row].value_or(0.0) + rowResult(dual, k);
      if (!basis.empty() && partsOfRow[row] == 1) r.rowBasis[row] = rowResult(basis, k);
      if (!marks.empty()) {
        r.rowInfeasible[row] = std::max(r.rowInfeasible[row].value_or(0), rowResult(marks, k));
      }
    }
  }

  void cleanUp() {
    if (!discrete_) {
      warn("mip clean-up: the model has no discrete entities");
      return;
    }
    if (!solution_) {
      warn("mip clean-up: there is no solution to fix");
      return;
    }
    const auto command = during("asking for the fix command",
                                [&] { return solver_.command(keys::command::fix, nullptr); });
    if (!command || !command->active()) {
      warn("mip clean-up: the solver cannot fix the discrete entities now");
      return;
    }
    if (!settings_.fixOptFile.empty()) setOptions(readOptionFile(settings_.fixOptFile));
    during("fixing the discrete entities", [&] { command->call(); });
    const SolveStatus status =
        during("re-solving with fixed discrete entities", [&] { return interrupts_.solve(); });
    if (status != SolveStatus::normal_completion) {
      warn("mip clean-up: the re-solve with fixed discrete entities ended with status " +
           std::to_string(static_cast<int>(status)) + "; its results are not reported");
      return;
    }
    readResults(true);
    model_.results.cleanedUp = true;
  }

  nuv::opt::AbstractSolver& solver_;
  const LinkDef& definition_;
  vopRec& model_;
  InterruptWatch& interrupts_;
  std::shared_ptr<LoggedErrors> errors_ = std::make_shared<LoggedErrors>();
  Settings settings_;
  std::shared_ptr<TraceCallback> trace_;
  ColumnMap columns_;
  std::shared_ptr<nuv::opt::AbstractConstraintAdder> linearAdder_;
  std::vector<RowPart> linearParts_;
  std::vector<int> linearRows_;
  std::optional<std::uint64_t> objectiveAdderId_;
  const vopRec::Objective* rankingObjective_ = nullptr;  // the single linear or quadratic one
  bool discrete_ = false;
  bool solution_ = false;  // the solve left at least one solution
};

}  // namespace

void drive(nuv::opt::AbstractSolver& solver, const LinkDef& definition, vopRec& model,
           InterruptWatch& interrupts) {
  Driver driver(solver, definition, model, interrupts);
  try {
    driver.run();
  } catch (...) {
    driver.keepLoggedErrors();
    throw;
  }
  driver.keepLoggedErrors();
}

}  // namespace orla::detail
