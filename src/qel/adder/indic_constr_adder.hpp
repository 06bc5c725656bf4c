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
// Every adder holds only a weak reference to the solver's record (and caches nothing), so it may
// outlive the solver: then `active()` is false, `id()` 0 and `add` raises "Support Error: Adder
// inactive", as it does while a solve runs. `add` holds the record's mutex while it loads a batch;
// `active` and `id` take no lock.
#ifndef QEL_ADDER_INDIC_CONSTR_ADDER_HPP_
#define QEL_ADDER_INDIC_CONSTR_ADDER_HPP_

#include <cstdint>
#include <memory>

#include "nuv/idx/list.hpp"
#include "nuv/opt/abstract_constraint_adder.hpp"
#include "nuv/opt/abstract_linked_constraint_adder.hpp"
#include "nuv/opt/linked_constraint_container.hpp"

namespace qel {

class Data;

class IndicConstrAdder final : public nuv::opt::AbstractLinkedConstraintAdder {
 public:
  // inner loads the linked side: a LinConstrAdder or a QuadConstrAdder of the same solver.
  IndicConstrAdder(std::weak_ptr<Data> data,
                   std::shared_ptr<nuv::opt::AbstractConstraintAdder> inner);

  [[nodiscard]] bool active() const override;
  [[nodiscard]] std::uint64_t id() const override;
  nuv::idx::List add(const nuv::opt::LinkedConstraintContainer& batch) override;

 private:
  std::weak_ptr<Data> data_;
  std::shared_ptr<nuv::opt::AbstractConstraintAdder> inner_;
};

}  // namespace qel

#endif  // QEL_ADDER_INDIC_CONSTR_ADDER_HPP_
