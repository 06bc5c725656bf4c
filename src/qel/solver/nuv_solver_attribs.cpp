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
    return static_cast<unsigned long>(std::max(prob->getIntAttrib(XPRS_NODES), 0));
  }

 private:
  std::weak_ptr<XpressProbInterface> prob_;
};

// The thread control, whose negative default means "let Xpress choose": that is no count, so the
// item then has no element and accepts one.
class Threads final : public Control<XpressProbInterface, int> {
 public:
  explicit Threads(std::weak_ptr<XpressProbInterface> prob)
      : Control(std::move(prob), XPRS_THREADS) {}

  [[nodiscard]] bool supportsElemAdd(nuv::Index /*count*/) const override {
    const auto prob = target();
    return prob && prob->getIntControl(XPRS_THREADS) < 0;
  }
  [[nodiscard]] nuv::Index elemCount() const override {
    const auto prob = target();
    return prob && prob->getIntControl(XPRS_THREADS) >= 0 ? 1 : 0;
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
  const int status = prob->getIntAttrib(XPRS_SOLSTATUS);
  return status == XPRS_SOLSTATUS_OPTIMAL || status == XPRS_SOLSTATUS_FEASIBLE ? 1 : 0;
}

int SolutionStatus::get(nuv::Index /*elem*/) const {
  const auto prob = prob_.lock();
  if (!prob) return 0;
  switch (prob->getIntAttrib(XPRS_SOLSTATUS)) {
    case XPRS_SOLSTATUS_OPTIMAL:
      return prob->getIntAttrib(XPRS_OPTIMIZETYPEUSED) == XPRS_OPTIMIZETYPE_LOCAL ? kLocallyOptimal
                                                                                  : kOptimal;
    case XPRS_SOLSTATUS_FEASIBLE:
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
      return asUnsigned(make<IntControl>(prob_, XPRS_LPITERLIMIT));
    case keys::iteration_count:
      return asUnsigned(make<Attrib<XpressProbInterface, int>>(prob_, XPRS_SIMPLEXITER));
    case keys::node_limit:
      return asUnsigned(make<IntControl>(prob_, XPRS_MAXNODE));
    case keys::node_count:
      return make<NodeCount>(prob_);
    case keys::time_limit:
      return make<DblControl>(prob_, XPRS_TIMELIMIT);
    case keys::time_used:
      return nuv::attr::view::transform(
          nuv::attr::Item<double>(make<Attrib<XpressProbInterface, double>>(prob_, XPRS_TIME)),
          transform::DoubleValues{});
    case keys::thread_count:
      return asUnsigned(make<Threads>(prob_));
    case keys::relative_gap:
      return make<DblControl>(prob_, XPRS_MIPRELSTOP);
    case keys::absolute_gap:
      return make<DblControl>(prob_, XPRS_MIPABSSTOP);
    case keys::cutoff:
      return make<DblControl>(prob_, XPRS_MIPABSCUTOFF);
    default:
      return {};
  }
}

}  // namespace qel
