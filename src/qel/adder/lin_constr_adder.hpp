// `qel::LinConstrAdder`: loads batches of linear constraints a·x + b (>=, <=, =) 0 as Xpress rows.
//
// A batch is sized by the constraint types (static-bounded domain key 0: 0 'G', 1 'L', 2 'E').
// Constraint k is the linear function of item k: its variables (function key 0, a
// VectorOfVariables of this solver's variable adder), coefficients over the positions of that
// list (key 1; absent: no entries) and constant b (key 3; absent: no right-hand sides). It
// becomes the row a·x (type) -b; the whole batch is one addRows call. Row names (tagged
// "nuv:constraint" key 0) go to Xpress when its name length control is not 0; basis codes
// (domain key 3, host codes) are kept per row in the record. `add` returns the new row numbers,
// taken from the numbering all constraint kinds share.
//
// Refused before any Xpress call: parts whose item counts differ from the batch's, names beyond
// it, foreign or malformed variable symbols and coefficient positions outside their list
// ("Input not supported"), unknown types ("Domain type not supported."). Basis codes whose item
// count differs raise the framework's check error once the rows exist.
//
// `active`, `id` and the weak reference to the solver's record are qel::DataAdder's (the adder
// may outlive the solver; then `add` raises "Support Error: Adder inactive").
#ifndef QEL_ADDER_LIN_CONSTR_ADDER_HPP_
#define QEL_ADDER_LIN_CONSTR_ADDER_HPP_

#include "nuv/idx/list.hpp"
#include "nuv/opt/abstract_constraint_adder.hpp"
#include "nuv/opt/constraint_container.hpp"
#include "qel/adder/data_adder.hpp"
#include "qel/data.hpp"

namespace qel {

class LinConstrAdder final
    : public DataAdder<nuv::opt::AbstractConstraintAdder, &Data::linConAdderId> {
 public:
  using DataAdder::DataAdder;

  nuv::idx::List add(const nuv::opt::ConstraintContainer& batch) override;
};

}  // namespace qel

#endif  // QEL_ADDER_LIN_CONSTR_ADDER_HPP_
