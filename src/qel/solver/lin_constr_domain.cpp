#include "qel/solver/lin_constr_domain.hpp"

#include <memory>
#include <utility>

#include "nuv/attr/view/list_of_container.hpp"
#include "nuv/idx/list.hpp"
#include "nuv/opt/keys.hpp"
#include "qel/data.hpp"
#include "qel/solver/solution_container.hpp"

namespace qel {
namespace {

namespace keys = nuv::opt::static_bounded_domain;

// A container over all rows, narrowed to the linear rows unless every row is one.
template <class C>
nuv::attr::BaseContainer linearRows(const Data& data, std::shared_ptr<C> rows) {
  if (data.linConList->size() == data.conList->size()) return rows;
  return nuv::attr::view::listOf(std::move(rows), nuv::idx::List(data.linConList));
}

}  // namespace

nuv::attr::BaseContainer LinConstrDomain::operator[](nuv::Index key) const {
  const auto data = record().lock();
  if (!data) return {};
  switch (key) {
    case keys::start_basis:
      return linearRows(*data, data->linConstrBasis);
    case keys::infeasible_mark:
      return linearRows(*data, data->constrInfeasible);
    case keys::slack:
      return linearRows(*data,
                        std::make_shared<SolutionContainer>(record(), SolutionContainer::Slack));
    case keys::dual:
      return linearRows(*data,
                        std::make_shared<SolutionContainer>(record(), SolutionContainer::Dual));
    case keys::basis:
      return linearRows(
          *data, std::make_shared<BasisSolutionContainer>(record(), BasisSolutionContainer::Rows));
    default:
      return {};
  }
}

}  // namespace qel
