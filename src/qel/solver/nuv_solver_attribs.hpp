// `qel::NUVSolverAttribs`: the framework's standard solver attributes (nuv/opt/keys.hpp, under
// "nuv:solver") on fixed Xpress controls and attributes of one problem: the main problem, or the
// callback problem view for a dictionary asked for on behalf of a callback context.
//
//   key  attribute        item
//    0   model_name       qel::ModelName: the problem name
//    2   solution_status  qel::SolutionStatus: 0 optimal, 1 locally optimal, 6 feasible
//    3   iteration_limit  integer control 8007, shown as unsigned 64-bit
//    4   iteration_count  integer attribute 1009, shown as unsigned 64-bit
//    5   node_limit       integer control 8018, shown as unsigned 64-bit
//    6   node_count       attribute 1013 as unsigned 64-bit (0 once the entities are fixed)
//    7   time_limit       double control 7158
//    8   time_used        double attribute 1122, 1e20 and more read as infinity
//    9   thread_count     integer control 8278, shown as unsigned 64-bit; no value while the
//                         control holds its automatic setting (negative)
//   11   relative_gap     double control 7020
//   12   absolute_gap     double control 7019
//   13   cutoff           double control 7013
// Keys 1, 10, 14 and any other give the empty handle; names are not served. Every operator[]
// builds new items with their own weak reference to the problem, also when it is gone: they then
// answer neutrally (see qel/solver/control.hpp). The unsigned views raise "Cast Error" when the
// control or attribute reads negative and when a written value exceeds the largest int.
#ifndef QEL_SOLVER_NUV_SOLVER_ATTRIBS_HPP_
#define QEL_SOLVER_NUV_SOLVER_ATTRIBS_HPP_

#include <memory>
#include <string>

#include "nuv/attr/abstract_item.hpp"
#include "nuv/attr/base_item.hpp"
#include "nuv/opt/lib/abstract_domain_dict.hpp"
#include "nuv/types.hpp"

namespace qel {

class XpressProbInterface;

// The Xpress problem name: always one element; reads "" and ignores writes once the problem is
// gone.
class ModelName final : public nuv::attr::AbstractItem<std::string> {
 public:
  explicit ModelName(std::weak_ptr<XpressProbInterface> prob) : prob_(std::move(prob)) {}

  [[nodiscard]] bool supportsSet() const override { return true; }
  [[nodiscard]] nuv::Index elemCount() const override { return 1; }
  [[nodiscard]] std::string get(nuv::Index elem) const override;
  void set(const std::string& value, nuv::Index elem) override;

 private:
  std::weak_ptr<XpressProbInterface> prob_;
};

// The status of the solution Xpress holds, read only: one element exactly when Xpress has an
// optimal or a feasible solution; 0 (the optimal code) otherwise and once the problem is gone.
class SolutionStatus final : public nuv::attr::AbstractItem<int> {
 public:
  static constexpr int kOptimal = 0;
  static constexpr int kLocallyOptimal = 1;
  static constexpr int kFeasible = 6;

  explicit SolutionStatus(std::weak_ptr<XpressProbInterface> prob) : prob_(std::move(prob)) {}

  [[nodiscard]] nuv::Index elemCount() const override;
  // Optimal: locally optimal when the last run was a local nonlinear one.
  [[nodiscard]] int get(nuv::Index elem) const override;

 private:
  std::weak_ptr<XpressProbInterface> prob_;
};

class NUVSolverAttribs final : public nuv::opt::lib::solver::AbstractItemDict {
 public:
  explicit NUVSolverAttribs(std::weak_ptr<XpressProbInterface> prob) : prob_(std::move(prob)) {}

  using nuv::opt::lib::solver::AbstractItemDict::contains;
  using nuv::opt::lib::solver::AbstractItemDict::operator[];

  // Keys 0, 2 to 9, 11, 12 and 13.
  [[nodiscard]] bool contains(nuv::Index key) const override;
  [[nodiscard]] nuv::attr::BaseItem operator[](nuv::Index key) const override;

 private:
  std::weak_ptr<XpressProbInterface> prob_;
};

}  // namespace qel

#endif  // QEL_SOLVER_NUV_SOLVER_ATTRIBS_HPP_
