// `qel::QuadConstrAdder`: the adder of quadratic constraints x'Qx + a·x + b (>=, <=, =) 0.
//
// A batch is sized by the constraint types (static-bounded domain key 0: 0 'G', 1 'L', 2 'E').
// Constraint k is the quadratic function of item k: its variables (function key 0, a
// VectorOfVariables of this solver's variable adder), the matrix Q of coefficients of products
// (key 1, triplets (p, q, v) over positions of that list: v times x_p x_q; absent: none), the
// linear coefficients a (key 2) and the constant b (key 3). The linear part becomes a row as with
// `qel::LinConstrAdder` (without basis codes); the products then become that row's quadratic
// terms, one XPRSaddqmatrix64 call per row (also for none): a diagonal entry as it is, an
// off-diagonal one halved with the smaller column first, since Xpress reads the upper triangle
// of a symmetric x'Qx. Row names go to Xpress as for linear rows. `add` returns the new row
// numbers, taken from the numbering all constraint kinds share.
//
// Refused before any Xpress call: parts whose item counts differ from the batch's, names beyond
// it, foreign or malformed variable symbols and matrix or vector positions outside their list
// ("Input not supported"), unknown types ("Domain type not supported.").
//
// `active`, `id` and the weak reference to the solver's record are qel::DataAdder's (the adder
// may outlive the solver; then `add` raises "Support Error: Adder inactive").
#ifndef QEL_ADDER_QUAD_CONSTR_ADDER_HPP_
#define QEL_ADDER_QUAD_CONSTR_ADDER_HPP_

#include "nuv/idx/list.hpp"
#include "nuv/opt/abstract_constraint_adder.hpp"
#include "nuv/opt/constraint_container.hpp"
#include "qel/adder/data_adder.hpp"
#include "qel/data.hpp"

namespace qel {

class QuadConstrAdder final
    : public DataAdder<nuv::opt::AbstractConstraintAdder, &Data::quadConAdderId> {
 public:
  using DataAdder::DataAdder;

  nuv::idx::List add(const nuv::opt::ConstraintContainer& batch) override;
};

}  // namespace qel

#endif  // QEL_ADDER_QUAD_CONSTR_ADDER_HPP_
