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
// Every adder holds only a weak reference to the solver's record (and caches nothing), so it may
// outlive the solver: then `active()` is false, `id()` 0 and `add` raises "Support Error: Adder
// inactive", as it does while a solve runs. `add` holds the record's mutex while it loads a batch;
// `active` and `id` take no lock.
#ifndef QEL_ADDER_VAR_ADDER_HPP_
#define QEL_ADDER_VAR_ADDER_HPP_

#include <cstdint>
#include <memory>

#include "nuv/idx/list.hpp"
#include "nuv/opt/abstract_variable_adder.hpp"
#include "nuv/opt/variable_container.hpp"

namespace qel {

class Data;

class VarAdder final : public nuv::opt::AbstractVariableAdder {
 public:
  explicit VarAdder(std::weak_ptr<Data> data);

  [[nodiscard]] bool active() const override;
  [[nodiscard]] std::uint64_t id() const override;
  nuv::idx::List add(const nuv::opt::VariableContainer& batch) override;

 private:
  std::weak_ptr<Data> data_;
};

}  // namespace qel

#endif  // QEL_ADDER_VAR_ADDER_HPP_
