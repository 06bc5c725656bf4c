// The result containers: what the last optimisation of the main problem found, read from Xpress
// at the moment of each request and never copied or cached.
//
//   qel::SolutionContainer        column values, reduced costs, row slacks or row duals;
//   qel::PoolSolutionContainer    column values, with the solutions of the solution pool as
//                                 further elements once the pool holds two or more;
//   qel::BasisSolutionContainer   column or row basis statuses in host codes (1 at lower bound,
//                                 2 at upper bound, 3 basic, 4 superbasic).
//
// Items are the Xpress columns or rows of the whole problem, auxiliary ones included, numbered
// as Xpress numbers them (qel::Data's varList and conList). Each container holds a weak
// reference to the record and locks it for every call; once the record is gone every count is
// 0, a single read gives 0 and a block read writes nothing. Reads go to Data::prob, never to the
// callback view, and take no lock.
//
// The double containers read by blocks: a read of items f .. f + s - 1 is one Xpress call into
// the caller's storage (a read of no items makes no call). Their elemCount never raises: a
// failing probe means no values. Their reads raise qel::XpressException for a refused Xpress
// call and ": Requires model to be started first." before start. None of the three accepts a
// write, reset, default or item add ("Attribute Error").
//
//   qel::SolutionContainer duals(data, qel::SolutionContainer::Dual);
//   std::vector<double> y(duals.itemCount());
//   if (duals.elemCount() > 0) duals.getAll(y, 0);   // one XPRSgetduals call
#ifndef QEL_SOLVER_SOLUTION_CONTAINER_HPP_
#define QEL_SOLVER_SOLUTION_CONTAINER_HPP_

#include <memory>
#include <span>
#include <utility>

#include "nuv/attr/abstract_container.hpp"
#include "nuv/attr/lib/abstract_range_only_container.hpp"
#include "nuv/idx/lib/range.hpp"
#include "nuv/types.hpp"

namespace qel {

class Data;

class SolutionContainer final : public nuv::attr::lib::AbstractRangeOnlyContainer<double> {
 public:
  // Primal and ReducedCost have one item per column, Slack and Dual one per row.
  enum Types { Primal = 0, ReducedCost = 1, Slack = 2, Dual = 3 };

  SolutionContainer(std::weak_ptr<const Data> data, Types type)
      : data_(std::move(data)), type_(type) {}

  using AbstractRangeOnlyContainer<double>::get;

  [[nodiscard]] nuv::Index itemCount() const override;
  // 1 when Xpress reports values of this kind (probed on item 0), else 0; never raises.
  [[nodiscard]] nuv::Index elemCount() const override;
  // One Xpress read of the range into values; the element number is not looked at.
  void get(const nuv::idx::lib::Range& range, std::span<double> values,
           nuv::Index elem) const override;

  [[nodiscard]] const std::weak_ptr<const Data>& data() const noexcept { return data_; }

 private:
  std::weak_ptr<const Data> data_;
  Types type_;
};

class PoolSolutionContainer final : public nuv::attr::lib::AbstractRangeOnlyContainer<double> {
 public:
  explicit PoolSolutionContainer(std::weak_ptr<const Data> data)
      : primal_(std::move(data), SolutionContainer::Primal) {}

  using AbstractRangeOnlyContainer<double>::get;

  [[nodiscard]] nuv::Index itemCount() const override { return primal_.itemCount(); }
  // The pool's solution count when it holds two or more, else that of the column values.
  [[nodiscard]] nuv::Index elemCount() const override;
  // With two or more pool solutions, element k is the k-th solution in the pool's ranking (an
  // element outside the pool reads nothing); otherwise the problem's own values, whatever k.
  // Without a pool (before start) it behaves as the column values do.
  void get(const nuv::idx::lib::Range& range, std::span<double> values,
           nuv::Index elem) const override;

 private:
  SolutionContainer primal_;
};

class BasisSolutionContainer final : public nuv::attr::AbstractContainer<int> {
 public:
  enum Types { Columns = 0, Rows = 1 };

  BasisSolutionContainer(std::weak_ptr<const Data> data, Types type)
      : data_(std::move(data)), type_(type) {}

  using AbstractContainer<int>::get;

  [[nodiscard]] nuv::Index itemCount() const override;
  // 0 unless the last optimisation was a linear one (attribute 1268 reads 0, a read that is not
  // guarded); then 1 when the status of item 0 can be read.
  [[nodiscard]] nuv::Index elemCount() const override;
  // The status of one item; a row's status is first corrected for its type.
  [[nodiscard]] int get(nuv::Index item, nuv::Index elem) const override;
  // Every status in one Xpress read; values must hold itemCount() entries ("Check Error (4)").
  void getAll(std::span<int> values, nuv::Index elem) const override;

  // Xpress reports a row's status as that of its slack, rhs - activity: a binding 'L' row has
  // its slack at the lower bound (0), a binding 'G' row at the upper bound (2), and a ranged row
  // (activity in [rhs - range, rhs]) at the lower bound at its rhs end and at the upper bound at
  // the other. These become the row's own status: 'L' 0 -> 2, 'G' 2 -> 0, 'R' 0 <-> 2; every
  // other pair is returned unchanged.
  [[nodiscard]] static int fixConStatus(char rowType, int status);
  // The reverse, for a basis going back to Xpress: 'L' 2 -> 0, 'G' 0 -> 2, 'R' 0 <-> 2; every
  // other pair is returned unchanged. So unfixConStatus(t, fixConStatus(t, s)) is s for every
  // status an Xpress slack can have ('L' never at its infinite upper end, 'G' at its lower).
  [[nodiscard]] static int unfixConStatus(char rowType, int status);

 private:
  std::weak_ptr<const Data> data_;
  Types type_;
};

}  // namespace qel

#endif  // QEL_SOLVER_SOLUTION_CONTAINER_HPP_
