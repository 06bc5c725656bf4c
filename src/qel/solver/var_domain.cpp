#include "qel/solver/var_domain.hpp"

#include <memory>

#include "nuv/opt/keys.hpp"
#include "qel/data.hpp"
#include "qel/solver/solution_container.hpp"

namespace qel {

namespace keys = nuv::opt::interval_domain;

bool VarDomain::contains(nuv::Index key) const {
  return key >= keys::start_basis && key <= keys::basis;
}

nuv::attr::BaseContainer VarDomain::operator[](nuv::Index key) const {
  const auto data = data_.lock();
  if (!data) return {};
  switch (key) {
    case keys::start_basis:
      return data->varBasis;
    case keys::infeasible_mark:
      return data->varInfeasible;
    case keys::level:
      return std::make_shared<PoolSolutionContainer>(data_);
    case keys::marginal:
      return std::make_shared<SolutionContainer>(data_, SolutionContainer::ReducedCost);
    case keys::basis:
      return std::make_shared<BasisSolutionContainer>(data_, BasisSolutionContainer::Columns);
    default:
      return {};
  }
}

}  // namespace qel
