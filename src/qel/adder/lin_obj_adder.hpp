// `qel::LinObjAdder`: loads batches of linear objectives; several objectives make a
// multi-objective problem.
//
// A batch is sized by the sense types (sense domain key 0: 0 minimise, 1 maximise). Objective k
// is the linear function of item k (function keys 0, 1 and 3, as for linear constraints) and gets
// the next objective number: 0, 1, 2, ... across batches. The first objective of the model sets
// the problem's sense; an objective of the other sense is weighted negatively (its weight with
// the sign turned, or -1 when no weights are given). Weights (domain key 1), priorities (2) and
// the absolute and relative tolerances (3, 4) are set per objective when the key holds values.
// Names (tagged "nuv:constraint" key 0) go to Xpress when its name length control is not 0.
//
// Refused before anything changes: any batch once a quadratic or nonlinear objective exists
// ("Multiple objectives only supported with linear objectives."), and parts that disagree with
// the batch's size, names beyond it, foreign or malformed variable symbols and coefficient
// positions outside their list ("Input not supported").
//
// `active`, `id` and the weak reference to the solver's record are qel::DataAdder's (the adder
// may outlive the solver; then `add` raises "Support Error: Adder inactive").
#ifndef QEL_ADDER_LIN_OBJ_ADDER_HPP_
#define QEL_ADDER_LIN_OBJ_ADDER_HPP_

#include "nuv/idx/list.hpp"
#include "nuv/opt/abstract_constraint_adder.hpp"
#include "nuv/opt/constraint_container.hpp"
#include "qel/adder/data_adder.hpp"
#include "qel/data.hpp"

namespace qel {

class LinObjAdder final
    : public DataAdder<nuv::opt::AbstractConstraintAdder, &Data::linObjAdderId> {
 public:
  using DataAdder::DataAdder;

  nuv::idx::List add(const nuv::opt::ConstraintContainer& batch) override;
};

}  // namespace qel

#endif  // QEL_ADDER_LIN_OBJ_ADDER_HPP_
