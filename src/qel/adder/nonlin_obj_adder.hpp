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
// Every adder holds only a weak reference to the solver's record (and caches nothing), so it may
// outlive the solver: then `active()` is false, `id()` 0 and `add` raises "Support Error: Adder
// inactive", as it does while a solve runs. `add` holds the record's mutex while it loads a batch;
// `active` and `id` take no lock.
#ifndef QEL_ADDER_NONLIN_OBJ_ADDER_HPP_
#define QEL_ADDER_NONLIN_OBJ_ADDER_HPP_

#include <cstdint>
#include <memory>

#include "nuv/idx/list.hpp"
#include "nuv/opt/abstract_constraint_adder.hpp"
#include "nuv/opt/constraint_container.hpp"

namespace qel {

class Data;

class NonlinObjAdder final : public nuv::opt::AbstractConstraintAdder {
 public:
  explicit NonlinObjAdder(std::weak_ptr<Data> data);

  [[nodiscard]] bool active() const override;
  [[nodiscard]] std::uint64_t id() const override;
  nuv::idx::List add(const nuv::opt::ConstraintContainer& batch) override;

 private:
  std::weak_ptr<Data> data_;
};

}  // namespace qel

#endif  // QEL_ADDER_NONLIN_OBJ_ADDER_HPP_
