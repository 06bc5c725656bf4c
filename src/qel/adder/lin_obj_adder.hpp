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
// Every adder holds only a weak reference to the solver's record (and caches nothing), so it may
// outlive the solver: then `active()` is false, `id()` 0 and `add` raises "Support Error: Adder
// inactive", as it does while a solve runs. `add` holds the record's mutex while it loads a batch;
// `active` and `id` take no lock.
#ifndef QEL_ADDER_LIN_OBJ_ADDER_HPP_
#define QEL_ADDER_LIN_OBJ_ADDER_HPP_

#include <cstdint>
#include <memory>

#include "nuv/idx/list.hpp"
#include "nuv/opt/abstract_constraint_adder.hpp"
#include "nuv/opt/constraint_container.hpp"

namespace qel {

class Data;

class LinObjAdder final : public nuv::opt::AbstractConstraintAdder {
 public:
  explicit LinObjAdder(std::weak_ptr<Data> data);

  [[nodiscard]] bool active() const override;
  [[nodiscard]] std::uint64_t id() const override;
  nuv::idx::List add(const nuv::opt::ConstraintContainer& batch) override;

 private:
  std::weak_ptr<Data> data_;
};

}  // namespace qel

#endif  // QEL_ADDER_LIN_OBJ_ADDER_HPP_
