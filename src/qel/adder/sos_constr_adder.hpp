// `qel::SOSConstrAdder`: loads batches of special ordered sets of type 1 and 2 in one
// addSets call.
//
// A batch is sized by the set types (sos domain key 0: 0 type 1, 1 type 2). Set k's members are
// the variables of item k of identity function key 0 (a VectorOfVariables of this solver's
// variable adder), in list order, with one reference weight each from the vector of domain key
// 1 (read densely; its dimension must equal the member count). Sets carry no names. `add`
// returns the new set numbers, counted from 0 independently of rows.
//
// The whole batch is read and checked before the lock and before any Xpress call: unknown types
// ("Domain type not supported."), member or weight parts whose item counts differ from the
// batch's and foreign or malformed member symbols ("Input not supported"), weight vectors of the
// wrong dimension (the framework's check error).
//
// `active`, `id` and the weak reference to the solver's record are qel::DataAdder's (the adder
// may outlive the solver; then `add` raises "Support Error: Adder inactive").
#ifndef QEL_ADDER_SOS_CONSTR_ADDER_HPP_
#define QEL_ADDER_SOS_CONSTR_ADDER_HPP_

#include "nuv/idx/list.hpp"
#include "nuv/opt/abstract_constraint_adder.hpp"
#include "nuv/opt/constraint_container.hpp"
#include "qel/adder/data_adder.hpp"
#include "qel/data.hpp"

namespace qel {

class SOSConstrAdder final
    : public DataAdder<nuv::opt::AbstractConstraintAdder, &Data::sosConAdderId> {
 public:
  using DataAdder::DataAdder;

  nuv::idx::List add(const nuv::opt::ConstraintContainer& batch) override;
};

}  // namespace qel

#endif  // QEL_ADDER_SOS_CONSTR_ADDER_HPP_
