#include "qel/adder/indic_constr_adder.hpp"

#include <memory>
#include <utility>

#include "nuv/opt/keys.hpp"
#include "nuv/opt/lib/container_dict_view.hpp"
#include "qel/adder/adder_common.hpp"
#include "qel/data.hpp"

namespace qel {

IndicConstrAdder::IndicConstrAdder(std::weak_ptr<Data> data,
                                   std::shared_ptr<nuv::opt::AbstractConstraintAdder> inner)
    : data_(std::move(data)), inner_(std::move(inner)) {}

bool IndicConstrAdder::active() const { return detail::adderActive(data_); }

std::uint64_t IndicConstrAdder::id() const {
  return detail::adderId(data_, &Data::indicConAdderId);
}

nuv::idx::List IndicConstrAdder::add(const nuv::opt::LinkedConstraintContainer& batch) {
  const std::shared_ptr<Data> data = detail::lockActive(data_);
  const nuv::opt::lib::static_bounded_domain::ContainerDictView<double> domain(batch.first.domain);
  if (domain.container<int>(nuv::opt::static_bounded_domain::type).itemCount() <= 0) return {};
  throw detail::inputNotSupported();
}

}  // namespace qel
