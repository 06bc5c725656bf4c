#include "qel/solver/obj_domain.hpp"

#include <memory>
#include <utility>

#include "nuv/attr/item.hpp"
#include "nuv/attr/view/single_item_container.hpp"
#include "nuv/attr/view/transform_item.hpp"
#include "nuv/opt/context.hpp"
#include "nuv/opt/keys.hpp"
#include "qel/data.hpp"
#include "qel/solver/control.hpp"
#include "qel/transform/double_values.hpp"
#include "qel/xpress/xpress_prob_interface.hpp"

namespace qel {
namespace {

namespace keys = nuv::opt::sense_domain;

const nuv::idx::lib::Range& objectives(const Data& data, ObjDomain::Types type) {
  switch (type) {
    case ObjDomain::Quadratic:
      return *data.quadObjList;
    case ObjDomain::Nonlinear:
      return *data.nonlinObjList;
    case ObjDomain::Linear:
      break;
  }
  return *data.linObjList;
}

}  // namespace

ObjDomain::ObjDomain(std::weak_ptr<const Data> data, Types type, const nuv::TagIndex* context)
    : data_(std::move(data)), type_(type) {
  if (context != nullptr) context_ = *context;
}

bool ObjDomain::servedContext() const {
  namespace ctx = nuv::opt::context;
  return !context_ || *context_ == ctx::progress || *context_ == ctx::node ||
         *context_ == ctx::new_incumbent;
}

bool ObjDomain::contains(nuv::Index key) const {
  return (key == keys::objective_value || key == keys::objective_bound) && servedContext();
}

nuv::attr::BaseContainer ObjDomain::operator[](nuv::Index key) const {
  if (!contains(key)) return {};
  const auto data = data_.lock();
  if (!data || objectives(*data, type_).size() != 1) return {};
  // In a callback the running problem is asked, and its objective value is that of the
  // incumbent; outside, the main problem's objective value of the last optimisation.
  std::weak_ptr<XpressProbInterface> prob;
  if (context_) {
    prob = data->callbackState.probView;
  } else {
    prob = data->prob;
  }
  int attrib = XPRS_BESTBOUND;
  if (key == keys::objective_value) attrib = context_ ? XPRS_MIPOBJVAL : XPRS_OBJVAL;
  auto item = std::make_shared<Attrib<XpressProbInterface, double>>(std::move(prob), attrib);
  return nuv::attr::view::singleItem(nuv::attr::view::transform(
      nuv::attr::Item<double>(std::move(item)), transform::DoubleValues{}));
}

}  // namespace qel
