// `qel::IndicConstrAdder`: the adder of indicator constraints: a linear or quadratic constraint
// that holds only while a variable takes a given value.
//
// The batch pairs item k of the indicator side (first: the variable and its value) with item k
// of the linked side (second: the constraint), which the inner adder (a LinConstrAdder or
// QuadConstrAdder of the same solver) loads and names as its own rows. A batch is sized by the
// indicator side's domain key 0: 2 switches the row on while the variable is 0, 3 while it is 1.
// The indicator side's function key 0 holds each indicator variable, a Variable symbol of this
// solver's variable adder. An empty batch returns the shared empty list without calling the
// inner adder. The inner adder runs its whole `add`, lock included, before this adder locks the
// record's mutex (it is not recursive) and marks the rows in one XPRSsetindicators call. `add`
// returns the new indicator numbers, counted from 0 in a numbering of their own (not the rows').
// `active` does not consult the inner adder.
//
// Refused before the inner adder runs: an unknown domain type ("Domain type not supported."),
// indicator variables missing, of another kind or of another solver, and a linked side whose row
// count differs from the indicators' ("Input not supported"). Should the inner adder still return
// another number of rows, they stay as ordinary rows and the batch is refused the same way.
//
// `active`, `id` and the weak reference to the solver's record are qel::DataAdder's (the adder
// may outlive the solver; then `add` raises "Support Error: Adder inactive").
#ifndef QEL_ADDER_INDIC_CONSTR_ADDER_HPP_
#define QEL_ADDER_INDIC_CONSTR_ADDER_HPP_

#include <memory>

#include "nuv/idx/list.hpp"
#include "nuv/opt/abstract_constraint_adder.hpp"
#include "nuv/opt/abstract_linked_constraint_adder.hpp"
#include "nuv/opt/linked_constraint_container.hpp"
#include "qel/adder/data_adder.hpp"
#include "qel/data.hpp"

namespace qel {

class IndicConstrAdder final
    : public DataAdder<nuv::opt::AbstractLinkedConstraintAdder, &Data::indicConAdderId> {
 public:
  // inner loads the linked side: a LinConstrAdder or a QuadConstrAdder of the same solver.
  IndicConstrAdder(std::weak_ptr<Data> data,
                   std::shared_ptr<nuv::opt::AbstractConstraintAdder> inner);

  nuv::idx::List add(const nuv::opt::LinkedConstraintContainer& batch) override;

 private:
  std::shared_ptr<nuv::opt::AbstractConstraintAdder> inner_;
};

}  // namespace qel

#endif  // QEL_ADDER_INDIC_CONSTR_ADDER_HPP_
