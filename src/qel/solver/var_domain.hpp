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
// `contains` answers from the key alone, so size() is 5 whatever the model holds; operator[]
// builds the container at each call and gives the empty handle for any other key and once the
// record is gone. Nothing raises.
#ifndef QEL_SOLVER_VAR_DOMAIN_HPP_
#define QEL_SOLVER_VAR_DOMAIN_HPP_

#include <memory>
#include <utility>

#include "nuv/attr/base_container.hpp"
#include "nuv/opt/lib/abstract_domain_dict.hpp"
#include "nuv/types.hpp"

namespace qel {

class Data;

class VarDomain final : public nuv::opt::lib::interval_domain::AbstractContainerDict {
 public:
  explicit VarDomain(std::weak_ptr<const Data> data) : data_(std::move(data)) {}

  using AbstractContainerDict::contains;
  using AbstractContainerDict::operator[];

  [[nodiscard]] bool contains(nuv::Index key) const override;
  [[nodiscard]] nuv::attr::BaseContainer operator[](nuv::Index key) const override;

 private:
  std::weak_ptr<const Data> data_;
};

}  // namespace qel

#endif  // QEL_SOLVER_VAR_DOMAIN_HPP_
