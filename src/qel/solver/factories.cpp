// The result, option and command factories of qel::Solver. Each hands out a new object holding
// only a weak reference to the record (or to one of its problem wrappers), or the framework's
// empty result for a request it does not serve; none raises.
#include <cstdint>
#include <memory>
#include <utility>

#include "nuv/attr/abstract_item_dict.hpp"
#include "nuv/attr/container_dict.hpp"
#include "nuv/opt/abstract_command.hpp"
#include "nuv/opt/constraint_container.hpp"
#include "nuv/opt/context.hpp"
#include "nuv/opt/variable_container.hpp"
#include "qel/data.hpp"
#include "qel/solver/fix_command.hpp"
#include "qel/solver/lin_constr_domain.hpp"
#include "qel/solver/nuv_solver_attribs.hpp"
#include "qel/solver/obj_domain.hpp"
#include "qel/solver/solver.hpp"
#include "qel/solver/solver_attribs_dict.hpp"
#include "qel/solver/var_domain.hpp"
#include "qel/xpress/xpress_prob_interface.hpp"

namespace qel {

nuv::opt::VariableContainer Solver::variables(std::uint64_t id,
                                              const nuv::TagIndex* context) const {
  nuv::opt::VariableContainer result;
  if (context == nullptr && id == data_->varAdderId) {
    result.domain = nuv::attr::ContainerDict(std::make_shared<VarDomain>(data_));
  }
  return result;
}

nuv::opt::ConstraintContainer Solver::constraints(std::uint64_t id,
                                                  const nuv::TagIndex* context) const {
  std::shared_ptr<const nuv::attr::AbstractContainerDict> domain;
  if (id == data_->linConAdderId) {
    // Rows have no results inside a callback.
    if (context == nullptr) domain = std::make_shared<LinConstrDomain>(data_);
  } else if (id == data_->linObjAdderId) {
    domain = std::make_shared<ObjDomain>(data_, ObjDomain::Linear, context);
  } else if (id == data_->quadObjAdderId) {
    domain = std::make_shared<ObjDomain>(data_, ObjDomain::Quadratic, context);
  } else if (id == data_->nonlinObjAdderId) {
    domain = std::make_shared<ObjDomain>(data_, ObjDomain::Nonlinear, context);
  }
  nuv::opt::ConstraintContainer result;
  result.domain = nuv::attr::ContainerDict(std::move(domain));
  return result;
}

std::shared_ptr<nuv::attr::AbstractItemDict> Solver::attribs(const nuv::Tag& name,
                                                             const nuv::TagIndex* context) const {
  if (name == nuv::opt::solver::tag) {
    // Inside a callback the standard attributes describe the running problem.
    std::weak_ptr<XpressProbInterface> prob;
    if (context != nullptr) {
      prob = data_->callbackState.probView;
    } else {
      prob = data_->prob;
    }
    return std::make_shared<NUVSolverAttribs>(std::move(prob));
  }
  if (name == tag()) return std::make_shared<SolverAttribs>(data_, context);
  return nullptr;
}

std::shared_ptr<nuv::opt::AbstractCommand> Solver::command(const nuv::TagIndex& which,
                                                           const nuv::TagIndex* context) const {
  if (context != nullptr || which != nuv::opt::command::fix) return nullptr;
  return std::make_shared<FixNonContinuousCommand>(data_);
}

}  // namespace qel
