#include "qel/solver/solution_container.hpp"

#include <cstddef>
#include <memory>
#include <span>
#include <vector>

#include "nuv/check.hpp"
#include "qel/data.hpp"
#include "qel/xpress/xpress_prob.hpp"
#include "qel/xpress/xpress_sol_pool.hpp"

namespace qel {
namespace {

// The record while it lives and holds a problem wrapper, else null.
std::shared_ptr<const Data> lockWithProb(const std::weak_ptr<const Data>& weak) {
  auto data = weak.lock();
  if (data && !data->prob) return nullptr;
  return data;
}

bool readsRows(SolutionContainer::Types type) {
  return type == SolutionContainer::Slack || type == SolutionContainer::Dual;
}

int readValues(const XpressProbInterface& prob, SolutionContainer::Types type, double* values,
               int first, int last) {
  switch (type) {
    case SolutionContainer::Primal:
      return prob.getSolution(values, first, last);
    case SolutionContainer::ReducedCost:
      return prob.getRedCosts(values, first, last);
    case SolutionContainer::Slack:
      return prob.getSlacks(values, first, last);
    case SolutionContainer::Dual:
      return prob.getDuals(values, first, last);
  }
  return 0;
}

// The number of solutions the pool holds; 0 without a pool (before start).
int poolSolutions(const Data& data) {
  return data.solPool ? data.solPool->getIntAttrib(XPRS_MSP_SOLUTIONS) : 0;
}

}  // namespace

nuv::Index SolutionContainer::itemCount() const {
  const auto data = data_.lock();
  if (!data) return 0;
  return readsRows(type_) ? data->conList->size() : data->varList->size();
}

nuv::Index SolutionContainer::elemCount() const {
  const auto data = lockWithProb(data_);
  if (!data) return 0;
  try {
    double value = 0.0;
    return readValues(*data->prob, type_, &value, 0, 0) != 0 ? 1 : 0;
  } catch (...) {
    // No problem yet, no item 0 or a refused read: no values to offer.
    return 0;
  }
}

void SolutionContainer::get(const nuv::idx::lib::Range& range, std::span<double> values,
                            nuv::Index /*elem*/) const {
  const auto data = lockWithProb(data_);
  if (!data || range.size() == 0) return;
  static_cast<void>(readValues(*data->prob, type_, values.data(), range.first(), range.last()));
}

nuv::Index PoolSolutionContainer::elemCount() const {
  const auto data = lockWithProb(primal_.data());
  if (!data) return 0;
  const int stored = poolSolutions(*data);
  return stored >= 2 ? stored : primal_.elemCount();
}

void PoolSolutionContainer::get(const nuv::idx::lib::Range& range, std::span<double> values,
                                nuv::Index elem) const {
  const auto data = lockWithProb(primal_.data());
  if (!data || range.size() == 0) return;
  const int stored = poolSolutions(*data);
  if (stored < 2) {
    primal_.get(range, values, elem);
    return;
  }
  if (elem < 0 || elem >= stored) return;
  // Only the id at the element's position is listed; a pool that lists fewer solutions for this
  // problem than it stores has none there.
  const int position = static_cast<int>(elem) + 1;
  int id = 0;
  int listed = 0;
  data->solPool->getSolList(*data->prob, /*rankAttribute=*/0, /*ascending=*/0, position, position,
                            &id, &listed, nullptr);
  if (listed < 1) return;
  int status = 0;
  data->solPool->getSol(id, &status, values.data(), range.first(), range.last(), nullptr);
}

nuv::Index BasisSolutionContainer::itemCount() const {
  const auto data = data_.lock();
  if (!data) return 0;
  return type_ == Rows ? data->conList->size() : data->varList->size();
}

nuv::Index BasisSolutionContainer::elemCount() const {
  const auto data = lockWithProb(data_);
  if (!data) return 0;
  // Only a linear optimisation leaves a basis.
  if (data->prob->getIntAttrib(XPRS_OPTIMIZETYPEUSED) != 0) return 0;
  try {
    int status = 0;
    if (type_ == Rows) {
      data->prob->getBasis(0, 0, &status, nullptr);
    } else {
      data->prob->getBasis(0, 0, nullptr, &status);
    }
    return 1;
  } catch (...) {
    // No basis, or no item 0 to probe.
    return 0;
  }
}

int BasisSolutionContainer::get(nuv::Index item, nuv::Index /*elem*/) const {
  const auto data = lockWithProb(data_);
  if (!data) return 0;
  int status = 0;
  if (type_ == Rows) {
    data->prob->getBasis(item, 0, &status, nullptr);
    char rowType = 'N';
    data->prob->getRowType(&rowType, item, item);
    status = fixConStatus(rowType, status);
  } else {
    data->prob->getBasis(0, item, nullptr, &status);
  }
  return basisToPelu(status);
}

void BasisSolutionContainer::getAll(std::span<int> values, nuv::Index /*elem*/) const {
  const auto data = lockWithProb(data_);
  if (!data) return;
  // Xpress writes one status per column or row: the span must hold exactly that many.
  nuv::checkEqual("values.size()", values.size(), itemCount());
  if (values.empty()) return;
  if (type_ == Rows) {
    data->prob->getBasis(values.data(), nullptr);
    std::vector<char> rowTypes(values.size(), '\0');
    data->prob->getRowType(rowTypes.data(), 0, static_cast<int>(values.size()) - 1);
    for (std::size_t i = 0; i < values.size(); ++i) {
      values[i] = fixConStatus(rowTypes[i], values[i]);
    }
  } else {
    data->prob->getBasis(nullptr, values.data());
  }
  for (int& status : values) status = basisToPelu(status);
}

int BasisSolutionContainer::fixConStatus(char rowType, int status) {
  if (rowType == 'L' && status == XPRS_AT_LOWER) return XPRS_AT_UPPER;
  if (rowType == 'G' && status == XPRS_AT_UPPER) return XPRS_AT_LOWER;
  if (rowType == 'R' && status == XPRS_AT_LOWER) return XPRS_AT_UPPER;
  if (rowType == 'R' && status == XPRS_AT_UPPER) return XPRS_AT_LOWER;
  return status;
}

int BasisSolutionContainer::unfixConStatus(char rowType, int status) {
  if (rowType == 'L' && status == XPRS_AT_UPPER) return XPRS_AT_LOWER;
  if (rowType == 'G' && status == XPRS_AT_LOWER) return XPRS_AT_UPPER;
  if (rowType == 'R' && status == XPRS_AT_LOWER) return XPRS_AT_UPPER;
  if (rowType == 'R' && status == XPRS_AT_UPPER) return XPRS_AT_LOWER;
  return status;
}

}  // namespace qel
