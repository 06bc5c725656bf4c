#include "qel/adder/quad_obj_adder.hpp"

#include <memory>
#include <utility>

#include "nuv/opt/keys.hpp"
#include "nuv/opt/lib/container_dict_view.hpp"
#include "qel/adder/adder_common.hpp"
#include "qel/data.hpp"

namespace qel {

QuadObjAdder::QuadObjAdder(std::weak_ptr<Data> data) : data_(std::move(data)) {}

bool QuadObjAdder::active() const { return detail::adderActive(data_); }

std::uint64_t QuadObjAdder::id() const { return detail::adderId(data_, &Data::quadObjAdderId); }

nuv::idx::List QuadObjAdder::add(const nuv::opt::ConstraintContainer& batch) {
  const std::shared_ptr<Data> data = detail::lockActive(data_);
  const nuv::opt::lib::sense_domain::ContainerDictView<double> domain(batch.domain);
  if (domain.container<int>(nuv::opt::sense_domain::type).itemCount() <= 0) return {};
  throw detail::inputNotSupported();
}

}  // namespace qel
