// `qel::NonlinObjAdder`: the adder of the nonlinear objective f(x).
//
// A batch is sized by the sense types (sense domain key 0) and holds one objective, the
// Expression symbol of item 0 of function key 0. It is the model's only objective: a batch of
// more items, or one after any other objective, is refused with "Multiple objectives only
// supported with linear objectives.". The objective becomes a free column z with objective
// coefficient 1.0 and an equality row -z + f(x) = 0, both registered like the host's variables
// and linear rows; the problem's sense is set from item 0 (z keeps coefficient 1.0 when
// maximising). The name goes to Xpress as an objective name. `add` returns the objective's
// number.
//
// Refused before any Xpress call: an unknown sense ("Domain type not supported."), a function
// part with another item count than the batch, names beyond it ("Input not supported"). A
// function item that is no Expression raises std::runtime_error "Invalid variant option", and a
// failing conversion its error, after z, the row and the sense are set; the objective then
// counts as loaded.
//
// `active`, `id` and the weak reference to the solver's record are qel::DataAdder's (the adder
// may outlive the solver; then `add` raises "Support Error: Adder inactive").
#ifndef QEL_ADDER_NONLIN_OBJ_ADDER_HPP_
#define QEL_ADDER_NONLIN_OBJ_ADDER_HPP_

#include "nuv/idx/list.hpp"
#include "nuv/opt/abstract_constraint_adder.hpp"
#include "nuv/opt/constraint_container.hpp"
#include "qel/adder/data_adder.hpp"
#include "qel/data.hpp"

namespace qel {

class NonlinObjAdder final
    : public DataAdder<nuv::opt::AbstractConstraintAdder, &Data::nonlinObjAdderId> {
 public:
  using DataAdder::DataAdder;

  nuv::idx::List add(const nuv::opt::ConstraintContainer& batch) override;
};

}  // namespace qel

#endif  // QEL_ADDER_NONLIN_OBJ_ADDER_HPP_
