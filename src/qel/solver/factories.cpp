// The result, option and command factories of qel::Solver. None of them serves a request yet:
// each answers with the framework's empty result.
#include <cstdint>
#include <memory>

#include "nuv/attr/abstract_item_dict.hpp"
#include "nuv/opt/abstract_command.hpp"
#include "nuv/opt/constraint_container.hpp"
#include "nuv/opt/variable_container.hpp"
#include "qel/solver/solver.hpp"

namespace qel {

nuv::opt::VariableContainer Solver::variables(std::uint64_t /*id*/,
                                              const nuv::TagIndex* /*context*/) const {
  return {};
}

nuv::opt::ConstraintContainer Solver::constraints(std::uint64_t /*id*/,
                                                  const nuv::TagIndex* /*context*/) const {
  return {};
}

std::shared_ptr<nuv::attr::AbstractItemDict> Solver::attribs(
    const nuv::Tag& /*name*/, const nuv::TagIndex* /*context*/) const {
  return nullptr;
}

std::shared_ptr<nuv::opt::AbstractCommand> Solver::command(const nuv::TagIndex& /*which*/,
                                                           const nuv::TagIndex* /*context*/) const {
  return nullptr;
}

}  // namespace qel
