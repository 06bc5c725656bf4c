// `qel::QuadObjAdder`: the adder of the quadratic objective x'Qx + a·x + b.
//
// A batch is sized by the sense types (sense domain key 0) and holds one objective: the
// quadratic function of item 0 (keys as for `qel::QuadConstrAdder`). It is the model's only
// objective, Xpress objective 0: a batch of more items, or one after any other objective, is
// refused with "Multiple objectives only supported with linear objectives.". The linear part,
// the constant, the sense and the sense domain's weight, priority and tolerances are written as
// for a first linear objective; the products v x_p x_q then go to the objective's Hessian in one
// XPRSchgmqobj64 call (also for none). Xpress holds ½x'Qx and sets both Q_pq and Q_qp from one
// triplet, replacing what was there: the products of one unordered column pair are summed into
// one triplet first (kept in the first one's order), and a diagonal value is doubled. The name
// goes to Xpress as an objective name. `add` returns the objective's number, 0.
//
// Refused before any Xpress call, as for the constraints: mismatched parts, foreign variables,
// positions outside their list ("Input not supported"), an unknown sense ("Domain type not
// supported.").
//
// `active`, `id` and the weak reference to the solver's record are qel::DataAdder's (the adder
// may outlive the solver; then `add` raises "Support Error: Adder inactive").
#ifndef QEL_ADDER_QUAD_OBJ_ADDER_HPP_
#define QEL_ADDER_QUAD_OBJ_ADDER_HPP_

#include "nuv/idx/list.hpp"
#include "nuv/opt/abstract_constraint_adder.hpp"
#include "nuv/opt/constraint_container.hpp"
#include "qel/adder/data_adder.hpp"
#include "qel/data.hpp"

namespace qel {

class QuadObjAdder final
    : public DataAdder<nuv::opt::AbstractConstraintAdder, &Data::quadObjAdderId> {
 public:
  using DataAdder::DataAdder;

  nuv::idx::List add(const nuv::opt::ConstraintContainer& batch) override;
};

}  // namespace qel

#endif  // QEL_ADDER_QUAD_OBJ_ADDER_HPP_
