#include "qel/solver/var_domain.hpp"

#include <memory>

#include "nuv/opt/keys.hpp"
#include "qel/data.hpp"
#include "qel/solver/solution_container.hpp"

namespace qel {

namespace keys = nuv::opt::interval_domain;

nuv::attr::BaseContainer VarDomain::operator[](nuv::Index key) const {
  const auto data = record().lock();
  if (!data) return {};
  switch (key) {
    case keys::start_basis:
      return data->varBasis;
    case keys::infeasible_mark:
      return data->varInfeasible;
    case keys::level:
      return std::make_shared<PoolSolutionContainer>(record());
    case keys::marginal:
      return std::make_shared<SolutionContainer>(record(), SolutionContainer::ReducedCost);
    case keys::basis:
      return std::make_shared<BasisSolutionContainer>(record(), BasisSolutionContainer::Columns);
    default:
      return {};
  }
}

}  // namespace qel
