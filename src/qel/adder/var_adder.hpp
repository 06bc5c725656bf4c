// `qel::VarAdder`: loads batches of variables as Xpress columns.
//
// A batch is sized by the variable types (interval domain key 0): one column per type, with the
// bounds of keys 1 and 2, typed 'C', 'I', 'S' (semi-continuous) or 'R' (semi-continuous integer);
// a semi-continuous column's limit is its lower bound. Names (tagged "nuv:variable" key 0) go to
// Xpress when its name length control is not 0. Levels (key 3), basis codes (key 5, host codes)
// and branching priorities (tagged key 1) are kept per column in the record for the solve.
// `add` returns the new column numbers, a block following the columns loaded before.
//
// Refused before anything reaches Xpress, with "Support Error: Input not supported": a bound part
// whose item count is not the batch's, more names than columns, and semi-continuous columns
// without lower bounds or with a negative one. A type other than 0 to 3 raises
// "Domain type not supported." once the columns exist (those before it are typed); start values
// whose item count differs from the batch's raise the framework's check error after the columns
// are complete.
//
// `active`, `id` and the weak reference to the solver's record are qel::DataAdder's (the adder
// may outlive the solver; then `add` raises "Support Error: Adder inactive").
#ifndef QEL_ADDER_VAR_ADDER_HPP_
#define QEL_ADDER_VAR_ADDER_HPP_

#include "nuv/idx/list.hpp"
#include "nuv/opt/abstract_variable_adder.hpp"
#include "nuv/opt/variable_container.hpp"
#include "qel/adder/data_adder.hpp"
#include "qel/data.hpp"

namespace qel {

class VarAdder final : public DataAdder<nuv::opt::AbstractVariableAdder, &Data::varAdderId> {
 public:
  using DataAdder::DataAdder;

  nuv::idx::List add(const nuv::opt::VariableContainer& batch) override;
};

}  // namespace qel

#endif  // QEL_ADDER_VAR_ADDER_HPP_
