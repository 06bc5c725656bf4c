// `qel::VarDomain`: the results of the variables, by interval-domain key, as the solver hands
// them out for the variable adder's id.
//
//   key 5 start_basis      int     qel::Data::varBasis itself: the host basis codes given with
//                                  the variables, read by the next solve as its starting basis
//   key 6 infeasible_mark  int     qel::Data::varInfeasible itself: the marks of the last solve
//   key 7 level            double  a new qel::PoolSolutionContainer (pool solutions as elements)
//   key 8 marginal         double  a new qel::SolutionContainer of reduced costs
//   key 9 basis            int     a new qel::BasisSolutionContainer of column statuses
//
// Item j of each container is Xpress column j (see qel/solver/solution_container.hpp).
// Keys, weak reference and `contains` are qel::ResultDomain's (size() is 5 whatever the model
// holds); operator[] builds the container at each call and gives the empty handle for any other
// key and once the record is gone. Nothing raises.
#ifndef QEL_SOLVER_VAR_DOMAIN_HPP_
#define QEL_SOLVER_VAR_DOMAIN_HPP_

#include "nuv/attr/base_container.hpp"
#include "nuv/opt/keys.hpp"
#include "nuv/opt/lib/abstract_domain_dict.hpp"
#include "nuv/types.hpp"
#include "qel/solver/result_domain.hpp"

namespace qel {

class VarDomain final : public ResultDomain<nuv::opt::lib::interval_domain::AbstractContainerDict,
                                            nuv::opt::interval_domain::start_basis,
                                            nuv::opt::interval_domain::basis> {
 public:
  using ResultDomain::ResultDomain;
  using ResultDomain::operator[];

  [[nodiscard]] nuv::attr::BaseContainer operator[](nuv::Index key) const override;
};

}  // namespace qel

#endif  // QEL_SOLVER_VAR_DOMAIN_HPP_
