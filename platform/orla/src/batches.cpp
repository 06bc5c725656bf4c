#include "batches.hpp"

#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

#include "expression.hpp"
#include "link_error.hpp"
#include "nuv/attr/base_container.hpp"
#include "nuv/attr/container_dict.hpp"
#include "nuv/attr/lib/map_container_dict.hpp"
#include "nuv/attr/lib/vector_container.hpp"
#include "nuv/idx/lib/list.hpp"
#include "nuv/idx/list.hpp"
#include "nuv/math/array/matrix.hpp"
#include "nuv/math/array/vector.hpp"
#include "nuv/math/lib/dense_vector.hpp"
#include "nuv/math/lib/sparse_matrix.hpp"
#include "nuv/math/symbol.hpp"
#include "nuv/opt/context.hpp"
#include "nuv/opt/keys.hpp"

namespace orla::detail {
namespace {

using nuv::Index;
using nuv::math::Matrix;
using nuv::math::Symbol;
using nuv::math::Vector;
namespace keys = nuv::opt;

// A part dictionary under construction: one in-memory container per key.
class Part {
 public:
  template <class T>
  Part& set(Index key, std::vector<T> values) {
    dict_->set(key, nuv::attr::BaseContainer(
                        std::make_shared<nuv::attr::lib::VectorContainer<T>>(std::move(values))));
    return *this;
  }
  [[nodiscard]] nuv::attr::ContainerDict done() { return nuv::attr::ContainerDict(dict_); }

 private:
  std::shared_ptr<nuv::attr::lib::MapContainerDict> dict_ =
      std::make_shared<nuv::attr::lib::MapContainerDict>();
};

Index solverColumn(const ColumnMap& columns, int column, std::string_view what) {
  if (column < 0 || static_cast<std::size_t>(column) >= columns.indices.size()) {
    throw LinkError(std::string(what) + " names column " + std::to_string(column) +
                    ", which does not exist");
  }
  return columns.indices[static_cast<std::size_t>(column)];
}

Symbol<double> variablesSymbol(const ColumnMap& columns, std::vector<Index> indices) {
  return Symbol<double>::vectorOfVariables(
      columns.owner, nuv::idx::List(std::make_shared<nuv::idx::lib::List>(std::move(indices))));
}

// The variables of a function and a coefficient per variable; terms on one column add up.
struct Linear {
  Symbol<double> variables;
  std::vector<double> coefs;
};

// The variables of the linear and the quadratic terms, in order of first appearance, their
// linear coefficients, and one matrix entry per unordered pair of positions (the products of
// the pair summed), the lower position first.
struct Quadratic {
  Symbol<double> variables;
  std::vector<double> coefs;
  Matrix<double> matrix;
};

class Positions {
 public:
  Positions(const ColumnMap& columns, std::string_view what) : columns_(columns), what_(what) {}
  int of(int column) {
    const Index index = solverColumn(columns_, column, what_);
    const auto [at, added] = positions_.emplace(column, static_cast<int>(indices_.size()));
    if (added) indices_.push_back(index);
    return at->second;
  }
  [[nodiscard]] int size() const { return static_cast<int>(indices_.size()); }
  [[nodiscard]] Symbol<double> symbol() const { return variablesSymbol(columns_, indices_); }

 private:
  const ColumnMap& columns_;
  std::string_view what_;
  std::map<int, int> positions_;
  std::vector<Index> indices_;
};

Linear linearOf(std::span<const vopRec::Term> terms, const ColumnMap& columns,
                std::string_view what) {
  Positions positions(columns, what);
  std::vector<double> coefs;
  for (const vopRec::Term& term : terms) {
    const int p = positions.of(term.column);
    if (p == static_cast<int>(coefs.size())) coefs.push_back(0.0);
    coefs[static_cast<std::size_t>(p)] += term.coef;
  }
  return {positions.symbol(), std::move(coefs)};
}

Quadratic quadraticOf(std::span<const vopRec::Term> terms,
                      std::span<const vopRec::QuadTerm> products, const ColumnMap& columns,
                      std::string_view what) {
  Positions positions(columns, what);
  for (const vopRec::Term& term : terms) positions.of(term.column);
  std::map<std::pair<int, int>, double> pairs;
  for (const vopRec::QuadTerm& product : products) {
    const int p = positions.of(product.first);
    const int q = positions.of(product.second);
    pairs[{std::min(p, q), std::max(p, q)}] += product.coef;
  }
  std::vector<double> coefs(static_cast<std::size_t>(positions.size()), 0.0);
  for (const vopRec::Term& term : terms) {
    coefs[static_cast<std::size_t>(positions.of(term.column))] += term.coef;
  }
  std::vector<Index> first;
  std::vector<Index> second;
  std::vector<double> values;
  for (const auto& [pair, value] : pairs) {
    first.push_back(pair.first);
    second.push_back(pair.second);
    values.push_back(value);
  }
  const int n = positions.size();
  return {positions.symbol(), std::move(coefs),
          nuv::math::lib::sparseMatrix<double>(n, n, std::move(first), std::move(second),
                                               std::move(values))};
}

std::string rowWhat(std::string_view kind, const std::string& name, int number) {
  return std::string(kind) + " " + (name.empty() ? std::to_string(number) : "'" + name + "'");
}

nuv::opt::TaggedParts namesPart(std::vector<std::string> names) {
  return {{keys::constraint::tag, Part().set(keys::constraint::name, std::move(names)).done()}};
}

bool allNamed(std::span<const RowPart> parts) {
  for (const RowPart& part : parts) {
    if (part.name.empty()) return false;
  }
  return true;
}

std::vector<std::string> partNames(std::span<const RowPart> parts) {
  std::vector<std::string> names;
  for (const RowPart& part : parts) names.push_back(part.name);
  return names;
}

// The expression f - rhs, so that the solver compares it with 0.
std::vector<vopRec::Token> shifted(const std::vector<vopRec::Token>& tokens, double rhs) {
  std::vector<vopRec::Token> out = tokens;
  if (rhs != 0.0) {
    out.push_back(vopRec::Token::ofNumber(rhs));
    out.push_back(vopRec::Token::ofCall("nuv:function:basic:Subtract"));
  }
  return out;
}

// The batch of a single objective with the given function: its sense and, when it has one, its
// name.
nuv::opt::ConstraintContainer objectiveBatch(const vopRec::Objective& objective,
                                             nuv::attr::ContainerDict function) {
  nuv::opt::ConstraintContainer batch;
  batch.function = std::move(function);
  batch.domain =
      Part().set(keys::sense_domain::type, std::vector{objective.maximize ? 1 : 0}).done();
  if (!objective.name.empty()) batch.tagged = namesPart({objective.name});
  return batch;
}

template <class T, class F>
std::vector<T> each(int first, int count, F value) {
  std::vector<T> out;
  out.reserve(static_cast<std::size_t>(count));
  for (int k = first; k < first + count; ++k) out.push_back(value(static_cast<std::size_t>(k)));
  return out;
}

}  // namespace

std::vector<RowPart> splitRow(int entity, const std::string& name, double lower, double upper) {
  const bool hasLower = std::isfinite(lower);
  const bool hasUpper = std::isfinite(upper);
  if (hasLower && hasUpper && lower == upper) return {{entity, 2, lower, name}};
  if (hasLower && hasUpper) {
    return {{entity, 0, lower, name.empty() ? name : name + "_lo"},
            {entity, 1, upper, name.empty() ? name : name + "_up"}};
  }
  if (hasLower) return {{entity, 0, lower, name}};
  if (hasUpper) return {{entity, 1, upper, name}};
  return {};
}

BatchBuilder::BatchBuilder(const vopRec& model, const Settings& settings,
                           std::vector<std::string>* warnings)
    : model_(model), settings_(settings), objectives_(model.objectives) {
  if (!settings.allObjectives && objectives_.size() > 1) objectives_ = objectives_.first(1);
  // An optional value passes when every entity has it; a partial one is reported and dropped.
  const auto decide = [&](std::size_t have, std::size_t all, const char* what) {
    if (have > 0 && have < all) {
      warnings->push_back(std::string(what) + " are not passed on: only " + std::to_string(have) +
                          " of " + std::to_string(all) + " have one");
    }
    return have > 0 && have == all;
  };
  std::size_t starts = 0, priorities = 0, bases = 0, names = 0;
  for (const vopRec::Column& c : model.columns) {
    starts += c.start.has_value();
    priorities += c.priority.has_value();
    bases += c.basis.has_value();
    names += !c.name.empty();
  }
  const std::size_t n = model.columns.size();
  columnStarts_ = decide(starts, n, "column start values");
  columnPriorities_ = decide(priorities, n, "column priorities");
  columnBasis_ = decide(bases, n, "column basis statuses");
  columnNames_ = names == n;
  std::size_t linear = 0, rowBases = 0;
  bool split = false;
  for (const vopRec::Row& r : model.rows) {
    if (!r.quadratic.empty()) continue;
    ++linear;
    rowBases += r.basis.has_value();
    split = split || splitRow(0, {}, r.lower, r.upper).size() != 1;
  }
  rowBasis_ = decide(rowBases, linear, "row basis statuses");
  if (rowBasis_ && split) {
    warnings->push_back(
        "row basis statuses are not passed on: a row with two bounds or none "
        "has no single status");
    rowBasis_ = false;
  }
}

nuv::opt::VariableContainer BatchBuilder::variables(int first, int count) const {
  const auto& cols = model_.columns;
  Part domain;
  domain.set(keys::interval_domain::type, each<int>(first, count, [&](std::size_t j) {
               return static_cast<int>(cols[j].type);
             }));
  domain.set(keys::interval_domain::lower_bound,
             each<double>(first, count, [&](std::size_t j) { return cols[j].lower; }));
  domain.set(keys::interval_domain::upper_bound,
             each<double>(first, count, [&](std::size_t j) { return cols[j].upper; }));
  if (columnStarts_) {
    domain.set(keys::interval_domain::start_level,
               each<double>(first, count, [&](std::size_t j) { return *cols[j].start; }));
  }
  if (columnBasis_) {
    domain.set(keys::interval_domain::start_basis,
               each<int>(first, count, [&](std::size_t j) { return *cols[j].basis; }));
  }
  Part tagged;
  if (columnNames_) {
    tagged.set(keys::variable::name,
               each<std::string>(first, count, [&](std::size_t j) { return cols[j].name; }));
  }
  if (columnPriorities_) {
    tagged.set(keys::variable::priority,
               each<double>(first, count, [&](std::size_t j) { return *cols[j].priority; }));
  }
  nuv::opt::VariableContainer batch;
  batch.domain = domain.done();
  if (columnNames_ || columnPriorities_) batch.tagged.emplace(keys::variable::tag, tagged.done());
  return batch;
}

nuv::opt::ConstraintContainer BatchBuilder::rowsOf(std::span<const RowPart> parts,
                                                   std::span<const vopRec::Row* const> rows,
                                                   const ColumnMap& columns, bool quadratic,
                                                   bool withBasis) const {
  std::vector<Symbol<double>> variables;
  std::vector<Vector<double>> coefs;
  std::vector<Matrix<double>> matrices;
  std::vector<double> constants;
  std::vector<int> types;
  std::vector<int> bases;
  for (const RowPart& part : parts) {
    const vopRec::Row& row = *rows[static_cast<std::size_t>(part.entity)];
    const std::string what = rowWhat("row", row.name, part.entity);
    if (quadratic) {
      Quadratic q = quadraticOf(row.terms, row.quadratic, columns, what);
      variables.push_back(std::move(q.variables));
      coefs.push_back(nuv::math::lib::denseVector(std::move(q.coefs)));
      matrices.push_back(std::move(q.matrix));
    } else {
      Linear l = linearOf(row.terms, columns, what);
      variables.push_back(std::move(l.variables));
      coefs.push_back(nuv::math::lib::denseVector(std::move(l.coefs)));
    }
    // The solver reads a·x + b compared with 0.
    constants.push_back(-part.rhs);
    types.push_back(part.type);
    if (withBasis) bases.push_back(*row.basis);
  }
  Part function;
  function.set(keys::linear_function::variables, std::move(variables));
  if (quadratic) {
    function.set(keys::quadratic_function::quadratic, std::move(matrices));
    function.set(keys::quadratic_function::coefficients, std::move(coefs));
  } else {
    function.set(keys::linear_function::coefficients, std::move(coefs));
  }
  function.set(keys::linear_function::constant, std::move(constants));
  Part domain;
  domain.set(keys::static_bounded_domain::type, std::move(types));
  if (withBasis) domain.set(keys::static_bounded_domain::start_basis, std::move(bases));
  nuv::opt::ConstraintContainer batch;
  batch.function = function.done();
  batch.domain = domain.done();
  if (allNamed(parts)) batch.tagged = namesPart(partNames(parts));
  return batch;
}

namespace {

std::vector<const vopRec::Row*> rowPointers(const std::vector<vopRec::Row>& rows) {
  std::vector<const vopRec::Row*> out;
  for (const vopRec::Row& r : rows) out.push_back(&r);
  return out;
}

}  // namespace

nuv::opt::ConstraintContainer BatchBuilder::linearRows(std::span<const RowPart> parts,
                                                       const ColumnMap& columns) const {
  return rowsOf(parts, rowPointers(model_.rows), columns, false, rowBasis_);
}

nuv::opt::ConstraintContainer BatchBuilder::quadraticRows(std::span<const RowPart> parts,
                                                          const ColumnMap& columns) const {
  return rowsOf(parts, rowPointers(model_.rows), columns, true, false);
}

nuv::opt::ConstraintContainer BatchBuilder::linearObjectives(int first, int count,
                                                             const ColumnMap& columns) const {
  const auto objs =
      objectives_.subspan(static_cast<std::size_t>(first), static_cast<std::size_t>(count));
  std::vector<Symbol<double>> variables;
  std::vector<Vector<double>> coefs;
  std::vector<double> constants;
  std::vector<int> types;
  std::vector<std::string> names;
  for (std::size_t k = 0; k < objs.size(); ++k) {
    const vopRec::Objective& o = objs[k];
    Linear l =
        linearOf(o.terms, columns, rowWhat("objective", o.name, first + static_cast<int>(k)));
    variables.push_back(std::move(l.variables));
    coefs.push_back(nuv::math::lib::denseVector(std::move(l.coefs)));
    constants.push_back(o.constant);
    types.push_back(o.maximize ? 1 : 0);
    names.push_back(o.name);
  }
  bool weights = objectives_.size() > 1;
  bool priorities = false;
  bool absTol = settings_.objectiveAbsTol.has_value();
  bool relTol = settings_.objectiveRelTol.has_value();
  for (const vopRec::Objective& o : objectives_) {
    weights = weights || o.weight.has_value();
    priorities = priorities || o.priority.has_value();
    absTol = absTol || o.absoluteTolerance.has_value();
    relTol = relTol || o.relativeTolerance.has_value();
  }
  Part function;
  function.set(keys::linear_function::variables, std::move(variables));
  function.set(keys::linear_function::coefficients, std::move(coefs));
  function.set(keys::linear_function::constant, std::move(constants));
  Part domain;
  domain.set(keys::sense_domain::type, std::move(types));
  const auto every = [&](auto value) {
    using T = decltype(value(objs[0]));
    std::vector<T> out;
    for (const vopRec::Objective& o : objs) out.push_back(value(o));
    return out;
  };
  // Several objectives always carry weights: without one, an objective whose sense differs
  // from the first would be optimised in the first one's sense.
  if (weights) {
    domain.set(keys::sense_domain::weight,
               every([](const vopRec::Objective& o) { return o.weight.value_or(1.0); }));
  }
  if (priorities) {
    domain.set(keys::sense_domain::priority,
               every([](const vopRec::Objective& o) { return o.priority.value_or(0); }));
  }
  // A tolerance given anywhere is passed: a key holds a value for every objective, so one
  // without a tolerance of its own, or from the settings, gets none (0).
  if (absTol) {
    domain.set(keys::sense_domain::absolute_tolerance, every([&](const vopRec::Objective& o) {
                 return o.absoluteTolerance.value_or(settings_.objectiveAbsTol.value_or(0.0));
               }));
  }
  if (relTol) {
    domain.set(keys::sense_domain::relative_tolerance, every([&](const vopRec::Objective& o) {
                 return o.relativeTolerance.value_or(settings_.objectiveRelTol.value_or(0.0));
               }));
  }
  nuv::opt::ConstraintContainer batch;
  batch.function = function.done();
  batch.domain = domain.done();
  bool named = true;
  for (const std::string& name : names) named = named && !name.empty();
  if (named) batch.tagged = namesPart(std::move(names));
  return batch;
}

nuv::opt::ConstraintContainer BatchBuilder::quadraticObjective(const vopRec::Objective& objective,
                                                               const ColumnMap& columns) const {
  Quadratic q = quadraticOf(objective.terms, objective.quadratic, columns,
                            rowWhat("objective", objective.name, 0));
  Part function;
  function.set(keys::quadratic_function::variables, std::vector{std::move(q.variables)});
  function.set(keys::quadratic_function::quadratic, std::vector{std::move(q.matrix)});
  function.set(keys::quadratic_function::coefficients,
               std::vector{nuv::math::lib::denseVector(std::move(q.coefs))});
  function.set(keys::quadratic_function::constant, std::vector{objective.constant});
  return objectiveBatch(objective, function.done());
}

nuv::opt::ConstraintContainer BatchBuilder::nonlinearObjective(const vopRec::Objective& objective,
                                                               const ColumnMap& columns) const {
  const std::string what = rowWhat("objective", objective.name, 0);
  if (!objective.terms.empty() || !objective.quadratic.empty() || objective.constant != 0.0) {
    throw LinkError(what + " has an expression and other terms; write them into the expression");
  }
  Part function;
  function.set(
      keys::identity_function::argument,
      std::vector{expressionSymbol(objective.expression, columns.indices, columns.owner, what)});
  return objectiveBatch(objective, function.done());
}

nuv::opt::ConstraintContainer BatchBuilder::sets(int first, int count,
                                                 const ColumnMap& columns) const {
  std::vector<Symbol<double>> members;
  std::vector<int> types;
  std::vector<Vector<double>> weights;
  for (int k = first; k < first + count; ++k) {
    const vopRec::Set& set = model_.sets[static_cast<std::size_t>(k)];
    const std::string what = rowWhat("set", set.name, k);
    if (set.type != 1 && set.type != 2) {
      throw LinkError(what + " has type " + std::to_string(set.type) + "; sets have type 1 or 2");
    }
    if (!set.weights.empty() && set.weights.size() != set.columns.size()) {
      throw LinkError(what + " has " + std::to_string(set.weights.size()) + " weights for " +
                      std::to_string(set.columns.size()) + " columns");
    }
    std::vector<Index> indices;
    std::vector<double> w = set.weights;
    for (std::size_t m = 0; m < set.columns.size(); ++m) {
      indices.push_back(solverColumn(columns, set.columns[m], what));
      if (set.weights.empty()) w.push_back(static_cast<double>(m + 1));
    }
    members.push_back(variablesSymbol(columns, std::move(indices)));
    types.push_back(set.type - 1);
    weights.push_back(nuv::math::lib::denseVector(std::move(w)));
  }
  nuv::opt::ConstraintContainer batch;
  batch.function = Part().set(keys::identity_function::argument, std::move(members)).done();
  batch.domain = Part()
                     .set(keys::sos_domain::type, std::move(types))
                     .set(keys::sos_domain::weights, std::move(weights))
                     .done();
  return batch;
}

nuv::opt::LinkedConstraintContainer BatchBuilder::indicators(std::span<const RowPart> parts,
                                                             const ColumnMap& columns) const {
  std::vector<Symbol<double>> switches;
  std::vector<int> types;
  std::vector<const vopRec::Row*> rows;
  bool quadratic = false;
  for (const vopRec::Indicator& indicator : model_.indicators) rows.push_back(&indicator.row);
  for (const RowPart& part : parts) {
    const vopRec::Indicator& indicator = model_.indicators[static_cast<std::size_t>(part.entity)];
    const Index column =
        solverColumn(columns, indicator.column, rowWhat("indicator", indicator.name, part.entity));
    switches.push_back(Symbol<double>::variable(columns.owner, column));
    // 3: the row holds while the column is 1; 2: while it is 0.
    types.push_back(indicator.whenOne ? 3 : 2);
    quadratic = !indicator.row.quadratic.empty();
  }
  nuv::opt::LinkedConstraintContainer batch;
  batch.first.function = Part().set(keys::identity_function::argument, std::move(switches)).done();
  batch.first.domain = Part().set(keys::static_bounded_domain::type, std::move(types)).done();
  batch.second = rowsOf(parts, rows, columns, quadratic, false);
  return batch;
}

nuv::opt::ConstraintContainer BatchBuilder::nonlinearRows(std::span<const RowPart> parts,
                                                          const ColumnMap& columns) const {
  std::vector<Symbol<double>> expressions;
  std::vector<int> types;
  for (const RowPart& part : parts) {
    const vopRec::NonlinearRow& row = model_.nonlinearRows[static_cast<std::size_t>(part.entity)];
    expressions.push_back(expressionSymbol(shifted(row.expression, part.rhs), columns.indices,
                                           columns.owner,
                                           rowWhat("nonlinear row", row.name, part.entity)));
    types.push_back(part.type);
  }
  nuv::opt::ConstraintContainer batch;
  batch.function = Part().set(keys::identity_function::argument, std::move(expressions)).done();
  batch.domain = Part().set(keys::static_bounded_domain::type, std::move(types)).done();
  if (allNamed(parts)) batch.tagged = namesPart(partNames(parts));
  return batch;
}

}  // namespace orla::detail
