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
// Every adder holds only a weak reference to the solver's record (and caches nothing), so it may
// outlive the solver: then `active()` is false, `id()` 0 and `add` raises "Support Error: Adder
// inactive", as it does while a solve runs. `add` holds the record's mutex while it loads a batch;
// `active` and `id` take no lock.
#ifndef QEL_ADDER_QUAD_CONSTR_ADDER_HPP_
#define QEL_ADDER_QUAD_CONSTR_ADDER_HPP_

#include <cstdint>
#include <memory>

#include "nuv/idx/list.hpp"
#include "nuv/opt/abstract_constraint_adder.hpp"
#include "nuv/opt/constraint_container.hpp"

namespace qel {

class Data;

class QuadConstrAdder final : public nuv::opt::AbstractConstraintAdder {
 public:
  explicit QuadConstrAdder(std::weak_ptr<Data> data);

  [[nodiscard]] bool active() const override;
  [[nodiscard]] std::uint64_t id() const override;
  nuv::idx::List add(const nuv::opt::ConstraintContainer& batch) override;

 private:
  std::weak_ptr<Data> data_;
};

}  // namespace qel

#endif  // QEL_ADDER_QUAD_CONSTR_ADDER_HPP_
