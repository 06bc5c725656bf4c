#include "qel/solver/nuv_solver_attribs.hpp"

#include <algorithm>
#include <memory>

#include "nuv/attr/item.hpp"
#include "nuv/attr/view/transform_item.hpp"
#include "nuv/opt/keys.hpp"
#include "qel/solver/control.hpp"
#include "qel/transform/double_values.hpp"
#include "qel/xpress/xpress_prob_interface.hpp"

namespace qel {
namespace {

namespace keys = nuv::opt::solver;

// Xpress attribute and control numbers.
constexpr int kSimplexIterAttrib = 1009;
constexpr int kNodesAttrib = 1013;
constexpr int kSolStatusAttrib = 1053;
constexpr int kTimeAttrib = 1122;
constexpr int kOptimizeTypeUsedAttrib = 1268;
constexpr int kMipAbsCutoffControl = 7013;
constexpr int kMipAbsStopControl = 7019;
constexpr int kMipRelStopControl = 7020;
constexpr int kTimeLimitControl = 7158;
constexpr int kLpIterLimitControl = 8007;
constexpr int kMaxNodeControl = 8018;
constexpr int kThreadsControl = 8278;

// Values of the solution status attribute, and the run kind of a local nonlinear solve.
constexpr int kSolStatusOptimal = 1;
constexpr int kSolStatusFeasible = 2;
constexpr int kLocalNonlinearRun = 2;

// Served keys: bit k of the mask stands for key k.
constexpr unsigned kServedKeys = 0x3BFD;

// Nodes explored by the last run; none for a problem whose entities were fixed, since the run
// after fixing is a continuous one.
class NodeCount final : public nuv::attr::AbstractItem<unsigned long> {
 public:
  explicit NodeCount(std::weak_ptr<XpressProbInterface> prob) : prob_(std::move(prob)) {}

  [[nodiscard]] nuv::Index elemCount() const override { return prob_.expired() ? 0 : 1; }
  [[nodiscard]] unsigned long get(nuv::Index /*elem*/) const override {
    const auto prob = prob_.lock();
    if (!prob || prob->isFixed()) return 0;
    return static_cast<unsigned long>(std::max(prob->getIntAttrib(kNodesAttrib), 0));
  }

 private:
  std::weak_ptr<XpressProbInterface> prob_;
};

// The thread control, whose negative default means "let Xpress choose": that is no count, so the
// item then has no element and accepts one.
class Threads final : public Control<XpressProbInterface, int> {
 public:
  explicit Threads(std::weak_ptr<XpressProbInterface> prob)
      : Control(std::move(prob), kThreadsControl) {}

  [[nodiscard]] bool supportsElemAdd(nuv::Index /*count*/) const override {
    const auto prob = target();
    return prob && prob->getIntControl(kThreadsControl) < 0;
  }
  [[nodiscard]] nuv::Index elemCount() const override {
    const auto prob = target();
    return prob && prob->getIntControl(kThreadsControl) >= 0 ? 1 : 0;
  }
};

template <class Item>
std::shared_ptr<Item> make(const std::weak_ptr<XpressProbInterface>& prob, auto... numbers) {
  return std::make_shared<Item>(prob, numbers...);
}

// An integer item shown as unsigned 64-bit.
template <class Item>
nuv::attr::BaseItem asUnsigned(std::shared_ptr<Item> item) {
  return nuv::attr::view::numCast<unsigned long>(std::move(item));
}

}  // namespace

std::string ModelName::get(nuv::Index /*elem*/) const {
  const auto prob = prob_.lock();
  return prob ? prob->getProbName() : std::string();
}

void ModelName::set(const std::string& value, nuv::Index /*elem*/) {
  if (const auto prob = prob_.lock()) prob->setProbName(value.c_str());
}

nuv::Index SolutionStatus::elemCount() const {
  const auto prob = prob_.lock();
  if (!prob) return 0;
  const int status = prob->getIntAttrib(kSolStatusAttrib);
  return status == kSolStatusOptimal || status == kSolStatusFeasible ? 1 : 0;
}

int SolutionStatus::get(nuv::Index /*elem*/) const {
  const auto prob = prob_.lock();
  if (!prob) return 0;
  switch (prob->getIntAttrib(kSolStatusAttrib)) {
    case kSolStatusOptimal:
      return prob->getIntAttrib(kOptimizeTypeUsedAttrib) == kLocalNonlinearRun ? kLocallyOptimal
                                                                               : kOptimal;
    case kSolStatusFeasible:
      return kFeasible;
    default:
      return 0;
  }
}

bool NUVSolverAttribs::contains(nuv::Index key) const {
  return key >= 0 && key < 14 && ((kServedKeys >> key) & 1U) != 0;
}

nuv::attr::BaseItem NUVSolverAttribs::operator[](nuv::Index key) const {
  using IntControl = Control<XpressProbInterface, int>;
  using DblControl = Control<XpressProbInterface, double>;
  switch (key) {
    case keys::model_name:
      return make<ModelName>(prob_);
    case keys::solution_status:
      return make<SolutionStatus>(prob_);
    case keys::iteration_limit:
      return asUnsigned(make<IntControl>(prob_, kLpIterLimitControl));
    case keys::iteration_count:
      return asUnsigned(make<Attrib<XpressProbInterface, int>>(prob_, kSimplexIterAttrib));
    case keys::node_limit:
      return asUnsigned(make<IntControl>(prob_, kMaxNodeControl));
    case keys::node_count:
      return make<NodeCount>(prob_);
    case keys::time_limit:
      return make<DblControl>(prob_, kTimeLimitControl);
    case keys::time_used:
      return nuv::attr::view::transform(
          nuv::attr::Item<double>(make<Attrib<XpressProbInterface, double>>(prob_, kTimeAttrib)),
          transform::DoubleValues{});
    case keys::thread_count:
      return asUnsigned(make<Threads>(prob_));
    case keys::relative_gap:
      return make<DblControl>(prob_, kMipRelStopControl);
    case keys::absolute_gap:
      return make<DblControl>(prob_, kMipAbsStopControl);
    case keys::cutoff:
      return make<DblControl>(prob_, kMipAbsCutoffControl);
    default:
      return {};
  }
}

}  // namespace qel
