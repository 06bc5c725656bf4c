#include "qel/adder/adder_common.hpp"

#include <algorithm>
#include <cstddef>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "nuv/attr/transform/negate.hpp"
#include "nuv/attr/view/transform_container.hpp"
#include "nuv/idx/abstract_list.hpp"
#include "nuv/math/array/vector_data.hpp"
#include "nuv/num_cast.hpp"
#include "nuv/opt/context.hpp"
#include "nuv/opt/keys.hpp"
#include "nuv/opt/tagged_parts.hpp"
#include "qel/adder/load_buffers.hpp"

namespace qel::detail {
namespace {

using nuv::Index;

nuv::opt::SupportException domainTypeNotSupported() {
  return nuv::opt::SupportException("Domain type not supported.", {});
}

std::size_t at(Index i) { return static_cast<std::size_t>(i); }

// How many rows ahead the loops over a batch's functions ask for the objects they will read. A
// host hands each function as small objects of its own (a symbol payload with a variable list, a
// vector object with its arrays), so every row would otherwise wait for memory by itself; with
// the hint, the waits of successive rows overlap. A few rows suffice for the vector objects,
// whose rows take long; the quick owner check runs further ahead.
constexpr std::size_t kSymbolsAhead = 16;
constexpr std::size_t kVectorsAhead = 8;

// A hint only: never faults, also for a null pointer.
void prefetch(const void* object) { __builtin_prefetch(object); }

}  // namespace

nuv::opt::SupportException inputNotSupported() {
  return nuv::opt::SupportException("Input not supported", {});
}

nuv::opt::SupportException multipleObjectives() {
  return nuv::opt::SupportException("Multiple objectives only supported with linear objectives.",
                                    {});
}

void requireItems(const nuv::attr::AbstractBaseContainer& part, Index n) {
  if (part.itemCount() != n) throw inputNotSupported();
}

void requireItemsIfGiven(const nuv::attr::AbstractBaseContainer& part, Index n) {
  if (part.itemCount() != 0) requireItems(part, n);
}

void requireItemsIfValues(const nuv::attr::AbstractBaseContainer& part, Index n) {
  if (part.elemCount() > 0) requireItems(part, n);
}

void requireNamesWithin(const Strings& names, Index n) {
  if (names.itemCount() > n) throw inputNotSupported();
}

const nuv::idx::List& ownedVariables(const Data& data, const nuv::math::Symbol<double>& symbol) {
  if (symbol.kind() != nuv::math::SymbolKind::kVectorOfVariables) throw inputNotSupported();
  const nuv::math::VectorOfVariablesSymbol<double>& variables = symbol.vectorOfVariables();
  if (variables.ownerId != data.varAdderId) throw inputNotSupported();
  return variables.indices;
}

Strings constraintNames(const nuv::opt::ConstraintContainer& batch) {
  const nuv::opt::lib::constraint::ContainerDictView<double> tagged(
      nuv::opt::taggedPart(batch.tagged, nuv::opt::constraint::tag));
  return tagged.container<std::string>(nuv::opt::constraint::name);
}

Symbols identityArguments(const nuv::attr::ContainerDict& function) {
  const nuv::opt::lib::identity_function::ContainerDictView<double> view(function);
  return view.container<nuv::math::Symbol<double>>(nuv::opt::identity_function::argument);
}

char varTypeToXpress(int type) {
  switch (type) {
    case 0:
      return 'C';
    case 1:
      return 'I';
    case 2:
      return 'S';
    case 3:
      return 'R';
    default:
      throw domainTypeNotSupported();
  }
}

char constrTypeToXpress(int type) {
  switch (type) {
    case 0:
      return 'G';
    case 1:
      return 'L';
    case 2:
      return 'E';
    default:
      throw domainTypeNotSupported();
  }
}

int objTypeToXpress(int type) {
  switch (type) {
    case 0:
      return 1;
    case 1:
      return -1;
    default:
      throw domainTypeNotSupported();
  }
}

char sosTypeToXpress(int type) {
  switch (type) {
    case 0:
      return '1';
    case 1:
      return '2';
    default:
      throw domainTypeNotSupported();
  }
}

int indicTypeToXpress(int type) {
  switch (type) {
    case 2:
      return -1;
    case 3:
      return 1;
    default:
      throw domainTypeNotSupported();
  }
}

void storeNames(Data* data, int type, const Strings& names, const nuv::idx::List& indices) {
  if (names.elemCount() <= 0) return;
  if (data->prob->getIntControl(XPRS_MPSNAMELENGTH) == 0) return;
  const nuv::View<const std::vector<std::string>> texts = viewAll(names);
  for (std::size_t k = 0; k < texts->size(); ++k) {
    const Index entity = indices[static_cast<Index>(k)];
    data->prob->addNames(type, (*texts)[k].c_str(), entity, entity);
  }
}

LinearTerms linearTerms(Data& data, const Symbols& variables, const Vectors& coefficients) {
  const Index m = variables.itemCount();
  requireItemsIfGiven(coefficients, m);
  LoadBuffers& buffers = data.loadBuffers;
  // Every symbol is checked before any coefficient is read. The list objects are noted, so that
  // the pass over the coefficients does not go through the symbols again.
  const nuv::View<const std::vector<nuv::math::Symbol<double>>> symbols = viewAll(variables);
  const std::size_t symbolCount = symbols->size();
  const nuv::idx::AbstractList** lists = buffers.lists.room(symbolCount);
  for (std::size_t k = 0; k < symbolCount; ++k) {
    if (k + kSymbolsAhead < symbolCount) {
      prefetch((*symbols)[k + kSymbolsAhead].vectorOfVariablesIf());
    }
    lists[k] = ownedVariables(data, (*symbols)[k]).shared().get();
  }

  // One pass over the coefficient vectors: each is asked once, its positions are checked and
  // appended with its values, and the positions become columns through the function's own
  // list while they are at hand. The arrays only grow; kept from earlier batches, they rarely
  // need to.
  XPRSint64* starts = buffers.starts.room(at(m) + 1);
  starts[0] = 0;
  // Never null, also without entries.
  buffers.columns.grow(1, 0);
  buffers.values.grow(1, 0);
  const nuv::View<const std::vector<nuv::math::Vector<double>>> vectors = viewAll(coefficients);
  std::size_t total = 0;
  for (std::size_t k = 0; k < vectors->size(); ++k) {
    if (k + kVectorsAhead < vectors->size()) {
      prefetch((*vectors)[k + kVectorsAhead].shared().get());
      prefetch(lists[k + kVectorsAhead]);
    }
    const nuv::math::VectorData<double> entries =
        (*vectors)[k].data(nuv::math::VectorDataKind::kSparse);
    // Sparse positions ascend strictly, so the last one is the largest; there is one value each.
    const std::span<const Index> positions = entries.indices();
    const std::size_t size = positions.size();
    if (size > 0) {
      if (positions.front() < 0 || positions.back() >= lists[k]->size()) {
        throw inputNotSupported();
      }
      int* const columns = buffers.columns.grow(total + size, total) + total;
      double* const values = buffers.values.grow(total + size, total) + total;
      std::copy_n(positions.data(), size, columns);
      std::copy_n(entries.values().data(), size, values);
      lists[k]->asMap(std::span<Index>(columns, size));
      total += size;
    }
    starts[k + 1] = static_cast<XPRSint64>(total);
  }
  // A batch without a coefficient part: no entries.
  std::fill(starts + vectors->size() + 1, starts + at(m) + 1, XPRSint64{0});
  return LinearTerms{std::span<const XPRSint64>(starts, at(m) + 1), buffers.columns.data(),
                     buffers.values.data()};
}

void addLinearConstr(Data* data, const Symbols& variables, const Vectors& coefficients,
                     const Doubles& constants, const Ints& types) {
  const Index m = variables.itemCount();
  requireItems(types, m);
  requireItemsIfGiven(constants, m);
  LoadBuffers& buffers = data->loadBuffers;
  const LoadBuffers::Lease lease(buffers);

  char* const rowTypes = buffers.rowTypes.room(at(m));
  const nuv::View<const std::vector<int>> typeCodes = viewAll(types);
  for (std::size_t i = 0; i < typeCodes->size(); ++i) {
    rowTypes[i] = constrTypeToXpress((*typeCodes)[i]);
  }

  const LinearTerms terms = linearTerms(*data, variables, coefficients);

  double* rhs = nullptr;
  if (constants.itemCount() > 0) {
    rhs = buffers.rhs.room(at(m));
    const nuv::attr::view::TransformContainer<Doubles, nuv::attr::transform::Negate> negated(
        constants);
    negated.getAll(std::span<double>(rhs, at(m)), 0);
  }

  data->prob->addRows(m, terms.starts.back(), rowTypes, rhs, /*rng=*/nullptr, terms.starts.data(),
                      terms.columns, terms.values);
}

ObjectiveParts objectiveParts(const nuv::opt::ConstraintContainer& batch,
                              const nuv::opt::lib::sense_domain::ContainerDictView<double>& domain,
                              Index n) {
  namespace fn = nuv::opt::linear_function;
  namespace sense = nuv::opt::sense_domain;
  static_assert(fn::variables == nuv::opt::quadratic_function::variables &&
                    fn::constant == nuv::opt::quadratic_function::constant,
                "linear and quadratic functions keep variables and constants under one key");
  const nuv::opt::lib::linear_function::ContainerDictView<double> function(batch.function);
  ObjectiveParts parts{function.container<nuv::math::Symbol<double>>(fn::variables),
                       function.container<double>(fn::constant), constraintNames(batch)};
  requireItems(parts.variables, n);
  // Every sense is known before anything is numbered or written: an unknown one would otherwise
  // be taken as the opposite of the problem's sense, or leave the batch numbered but unwritten.
  const Ints senseTypes = domain.container<int>(sense::type);
  const auto senses = viewAll(senseTypes);
  for (const int type : *senses) (void)objTypeToXpress(type);
  requireItemsIfGiven(parts.constants, n);
  requireItemsIfValues(domain.container<double>(sense::weight), n);
  requireItemsIfValues(domain.container<int>(sense::priority), n);
  requireItemsIfValues(domain.container<double>(sense::absolute_tolerance), n);
  requireItemsIfValues(domain.container<double>(sense::relative_tolerance), n);
  requireNamesWithin(parts.names, n);
  return parts;
}

void chgLinearObjs(Data* data, const nuv::idx::List& indices, const LinearTerms& terms,
                   const Doubles& constants,
                   const nuv::opt::lib::sense_domain::ContainerDictView<double>& domain) {
  namespace sense = nuv::opt::sense_domain;
  const Index m = indices.size();
  if (m <= 0) return;

  // The handles stay alive while their values are read: a view may borrow from their objects.
  const Ints senseTypes = domain.container<int>(sense::type);
  const Doubles weightPart = domain.container<double>(sense::weight);
  const Ints priorityPart = domain.container<int>(sense::priority);
  const Doubles absTolPart = domain.container<double>(sense::absolute_tolerance);
  const Doubles relTolPart = domain.container<double>(sense::relative_tolerance);
  // A key supplies every objective when it holds values, and none otherwise.
  const auto valuesOf = [](const auto& part) {
    using T = typename std::decay_t<decltype(part)>::ValueType;
    return part.elemCount() > 0 ? viewAll(part) : viewAll(nuv::attr::Container<T>());
  };
  const auto senses = viewAll(senseTypes);
  const auto weights = valuesOf(weightPart);
  const auto priorities = valuesOf(priorityPart);
  const auto absTols = valuesOf(absTolPart);
  const auto relTols = valuesOf(relTolPart);
  const auto constantValues = viewAll(constants);

  // The problem's sense is that of the model's first objective.
  int problemSense = 0;
  if (indices[0] == 0) {
    problemSense = senses->at(0);
    data->prob->chgObjSense(objTypeToXpress(problemSense));
  } else {
    problemSense = data->prob->getDblAttrib(XPRS_OBJSENSE) == 1.0 ? 0 : 1;
  }

  for (Index k = 0; k < m; ++k) {
    const int objective = indices[k];
    const std::size_t i = at(k);
    const int constantColumn = -1;
    const double constant = constantValues->empty() ? 0.0 : (*constantValues)[i];
    const double negatedConstant = -constant;
    data->prob->chgObjN(objective, 1, &constantColumn, &negatedConstant);
    const auto first = static_cast<std::size_t>(terms.starts[i]);
    const int count = nuv::numCast<int>(terms.starts[i + 1] - terms.starts[i]);
    data->prob->chgObjN(objective, count, terms.columns + first, terms.values + first);

    const double sign = senses->at(i) == problemSense ? 1.0 : -1.0;
    if (!priorities->empty()) {
      data->prob->setObjIntControl(objective, XPRS_OBJECTIVE_PRIORITY, (*priorities)[i]);
    }
    // Xpress optimises every objective in the problem's sense; an objective of the other sense
    // needs a negative weight, also when the batch gives none (the default weight is 1).
    if (!weights->empty()) {
      data->prob->setObjDblControl(objective, XPRS_OBJECTIVE_WEIGHT, sign * (*weights)[i]);
    } else if (sign < 0.0) {
      data->prob->setObjDblControl(objective, XPRS_OBJECTIVE_WEIGHT, -1.0);
    }
    if (!absTols->empty()) {
      data->prob->setObjDblControl(objective, XPRS_OBJECTIVE_ABSTOL, (*absTols)[i]);
    }
    if (!relTols->empty()) {
      data->prob->setObjDblControl(objective, XPRS_OBJECTIVE_RELTOL, (*relTols)[i]);
    }
  }
}

QuadraticTerms quadraticTerms(const Data& data, const Symbols& variables,
                              const Matrices& matrices) {
  const Index m = variables.itemCount();
  requireItemsIfGiven(matrices, m);
  const nuv::View<const std::vector<nuv::math::Symbol<double>>> symbols = viewAll(variables);
  std::vector<const nuv::idx::List*> lists(symbols->size());
  for (std::size_t k = 0; k < lists.size(); ++k) lists[k] = &ownedVariables(data, (*symbols)[k]);

  // First pass: each matrix asked once and checked, so that the arrays are sized once.
  QuadraticTerms terms;
  terms.starts.assign(at(m) + 1, 0);
  const nuv::View<const std::vector<nuv::math::Matrix<double>>> objects = viewAll(matrices);
  std::vector<nuv::math::MatrixData<double>> entries;
  entries.reserve(objects->size());
  for (std::size_t k = 0; k < objects->size(); ++k) {
    entries.push_back((*objects)[k].data());
    const Index size = lists[k]->size();
    const auto outside = [size](Index p) { return p < 0 || p >= size; };
    if (std::ranges::any_of(entries.back().firstIndices(), outside) ||
        std::ranges::any_of(entries.back().secondIndices(), outside)) {
      throw inputNotSupported();
    }
    terms.starts[k + 1] =
        terms.starts[k] + static_cast<XPRSint64>(entries.back().firstIndices().size());
  }
  const auto total = static_cast<std::size_t>(terms.starts.back());
  terms.first.resize(total);
  terms.second.resize(total);
  terms.values.resize(total);
  // Second pass: positions become columns through the function's own variable list.
  for (std::size_t k = 0; k < entries.size(); ++k) {
    const auto begin = static_cast<std::ptrdiff_t>(terms.starts[k]);
    const auto size = static_cast<std::size_t>(terms.starts[k + 1] - terms.starts[k]);
    std::ranges::copy(entries[k].firstIndices(), terms.first.begin() + begin);
    std::ranges::copy(entries[k].secondIndices(), terms.second.begin() + begin);
    std::ranges::copy(entries[k].values(), terms.values.begin() + begin);
    lists[k]->asMap(std::span<Index>(terms.first.data() + begin, size));
    lists[k]->asMap(std::span<Index>(terms.second.data() + begin, size));
  }
  return terms;
}

}  // namespace qel::detail
