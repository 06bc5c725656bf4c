// `qel::LinConstrDomain`: the results of the linear constraints, by static-bounded-domain key, as
// the solver hands them out for the linear-constraint adder's id.
//
//   key 3 start_basis      int     qel::Data::linConstrBasis itself (host codes given with the
//                                  rows, read by the next solve as its starting basis)
//   key 4 infeasible_mark  int     qel::Data::constrInfeasible itself: the marks of the last solve
//   key 5 slack            double  a new qel::SolutionContainer of slacks
//   key 6 dual             double  a new qel::SolutionContainer of duals
//   key 7 basis            int     a new qel::BasisSolutionContainer of row statuses
//
// Item numbering. Read this before mapping results back to the host's rows. Item i of every
// container handed out here is Xpress row Data::linConList[i]: the i-th linear row in the order
// the rows were loaded. The linear-constraint adder's `add`, however, returns Xpress row numbers,
// which all row kinds share. The two agree only while every row is a linear row (then the
// containers are handed out as they are, item i being row i). Once a quadratic or nonlinear row
// exists they differ, and linConList also holds rows the host never loaded as linear
// constraints: the linear rows of indicator constraints and the auxiliary rows that nonlinear
// expressions add. A host link must therefore map a row number r that `add` returned to the
// item position of r in linConList, never read item r:
//
//   lin rows 0, 1; quadratic row 2; lin row 3  ->  linConList 0, 1, 3
//   slack item 2 is row 3 (the row `add` returned as 3); there is no item 3.
//
// A narrowed container shares linConList: once the record is gone it still reports that many
// items, but no elements, and reads nothing.
//
// Keys, weak reference and `contains` are qel::ResultDomain's (size() is 5 whatever the model
// holds); operator[] builds the container at each call and gives the empty handle for any other
// key and once the record is gone. Nothing raises.
#ifndef QEL_SOLVER_LIN_CONSTR_DOMAIN_HPP_
#define QEL_SOLVER_LIN_CONSTR_DOMAIN_HPP_

#include "nuv/attr/base_container.hpp"
#include "nuv/opt/keys.hpp"
#include "nuv/opt/lib/abstract_domain_dict.hpp"
#include "nuv/types.hpp"
#include "qel/solver/result_domain.hpp"

namespace qel {

class LinConstrDomain final
    : public ResultDomain<nuv::opt::lib::static_bounded_domain::AbstractContainerDict,
                          nuv::opt::static_bounded_domain::start_basis,
                          nuv::opt::static_bounded_domain::basis> {
 public:
  using ResultDomain::ResultDomain;
  using ResultDomain::operator[];

  [[nodiscard]] nuv::attr::BaseContainer operator[](nuv::Index key) const override;
};

}  // namespace qel

#endif  // QEL_SOLVER_LIN_CONSTR_DOMAIN_HPP_
