// `qel::NonlinConstrAdder`: the adder of nonlinear constraints f(x) (>=, <=, =) 0.
//
// A batch is sized by the constraint types (static-bounded domain key 0: 0 'G', 1 'L', 2 'E').
// Constraint k is the Expression symbol of item k of function key 0. The batch becomes one
// addRows call of empty rows with right-hand side 0, then the expressions are converted in item
// order (see nonlin_convert.hpp; the columns and rows of their linear functions follow the
// batch's rows) and all formulas go to Xpress in one XPRSnlpaddformulas call, so row k reads
// f_k(x) (type) 0. Row names go to Xpress as for linear rows. `add` returns the batch's row
// numbers, taken from the numbering all constraint kinds share.
//
// Refused before any Xpress call: an unknown type ("Domain type not supported."), a function
// part with another item count than the batch or an item that is no Expression, names beyond
// the batch ("Input not supported"). A conversion that fails (see nonlin_convert.hpp) leaves the
// rows without formulas, and the linear functions already converted, in place.
//
// `active`, `id` and the weak reference to the solver's record are qel::DataAdder's (the adder
// may outlive the solver; then `add` raises "Support Error: Adder inactive").
#ifndef QEL_ADDER_NONLIN_CONSTR_ADDER_HPP_
#define QEL_ADDER_NONLIN_CONSTR_ADDER_HPP_

#include "nuv/idx/list.hpp"
#include "nuv/opt/abstract_constraint_adder.hpp"
#include "nuv/opt/constraint_container.hpp"
#include "qel/adder/data_adder.hpp"
#include "qel/data.hpp"

namespace qel {

class NonlinConstrAdder final
    : public DataAdder<nuv::opt::AbstractConstraintAdder, &Data::nonlinConAdderId> {
 public:
  using DataAdder::DataAdder;

  nuv::idx::List add(const nuv::opt::ConstraintContainer& batch) override;
};

}  // namespace qel

#endif  // QEL_ADDER_NONLIN_CONSTR_ADDER_HPP_
