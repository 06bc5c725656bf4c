// The adder factories of qel::Solver: a new adder for each request it serves, chosen by the
// framework's tags (compared as whole texts, case included), null for any other request.
#include <memory>

#include "nuv/opt/abstract_constraint_adder.hpp"
#include "nuv/opt/abstract_linked_constraint_adder.hpp"
#include "nuv/opt/abstract_variable_adder.hpp"
#include "nuv/opt/context.hpp"
#include "nuv/opt/keys.hpp"
#include "qel/adder/indic_constr_adder.hpp"
#include "qel/adder/lin_constr_adder.hpp"
#include "qel/adder/lin_obj_adder.hpp"
#include "qel/adder/nonlin_constr_adder.hpp"
#include "qel/adder/nonlin_obj_adder.hpp"
#include "qel/adder/quad_constr_adder.hpp"
#include "qel/adder/quad_obj_adder.hpp"
#include "qel/adder/sos_constr_adder.hpp"
#include "qel/adder/var_adder.hpp"
#include "qel/data.hpp"
#include "qel/solver/solver.hpp"

namespace qel {

namespace {

namespace opt = nuv::opt;

using ConstraintAdderPtr = std::shared_ptr<opt::AbstractConstraintAdder>;

template <class Adder>
ConstraintAdderPtr make(const std::weak_ptr<Data>& data) {
  return std::make_shared<Adder>(data);
}

// The constraint and objective kinds served: domain tag, function tag, adder.
struct ConstraintKind {
  nuv::Tag domain;
  nuv::Tag function;
  ConstraintAdderPtr (*make)(const std::weak_ptr<Data>&);
};

constexpr ConstraintKind kConstraintKinds[] = {
    {opt::static_bounded_domain::tag, opt::linear_function::tag, make<LinConstrAdder>},
    {opt::static_bounded_domain::tag, opt::quadratic_function::tag, make<QuadConstrAdder>},
    {opt::static_bounded_domain::tag, opt::identity_function::tag, make<NonlinConstrAdder>},
    {opt::sense_domain::tag, opt::linear_function::tag, make<LinObjAdder>},
    {opt::sense_domain::tag, opt::quadratic_function::tag, make<QuadObjAdder>},
    {opt::sense_domain::tag, opt::identity_function::tag, make<NonlinObjAdder>},
    {opt::sos_domain::tag, opt::identity_function::tag, make<SOSConstrAdder>},
};

}  // namespace

std::shared_ptr<opt::AbstractVariableAdder> Solver::variableAdder(const nuv::Tag& domain,
                                                                  const nuv::TagIndex* context) {
  if (context != nullptr || domain != opt::interval_domain::tag) return nullptr;
  return std::make_shared<VarAdder>(data_);
}

std::shared_ptr<opt::AbstractConstraintAdder> Solver::constraintAdder(
    const nuv::Tag& function, const nuv::Tag& domain, const nuv::TagIndex* context) {
  if (context != nullptr) return nullptr;
  for (const ConstraintKind& kind : kConstraintKinds) {
    if (kind.domain == domain && kind.function == function) return kind.make(data_);
  }
  return nullptr;
}

std::shared_ptr<opt::AbstractLinkedConstraintAdder> Solver::linkedConstraintAdder(
    const nuv::TagIndex& link, const nuv::Tag& firstFunction, const nuv::Tag& firstDomain,
    const nuv::Tag& secondFunction, const nuv::Tag& secondDomain, const nuv::TagIndex* context) {
  // Only indicator constraints: an indicator variable switching a linear or quadratic row.
  if (context != nullptr || link != opt::constraint_link::indicator ||
      firstFunction != opt::identity_function::tag ||
      firstDomain != opt::static_bounded_domain::tag ||
      secondDomain != opt::static_bounded_domain::tag) {
    return nullptr;
  }
  ConstraintAdderPtr inner;
  if (secondFunction == opt::linear_function::tag) {
    inner = make<LinConstrAdder>(data_);
  } else if (secondFunction == opt::quadratic_function::tag) {
    inner = make<QuadConstrAdder>(data_);
  } else {
    return nullptr;
  }
  return std::make_shared<IndicConstrAdder>(data_, std::move(inner));
}

}  // namespace qel
