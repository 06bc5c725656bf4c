// `qel::NonlinObjAdder`: the adder of the nonlinear objective f(x).
//
// A batch is sized by the sense types (sense domain key 0); an empty batch returns the shared
// empty list. Loading a nonlinear objective is not available yet: a non-empty batch is refused
// with "Support Error: Input not supported" before anything changes.
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
