#include "qel/adder/lin_obj_adder.hpp"

#include <memory>
#include <mutex>

#include "nuv/idx/lib/range.hpp"
#include "nuv/opt/keys.hpp"
#include "nuv/opt/lib/container_dict_view.hpp"
#include "qel/adder/adder_common.hpp"
#include "qel/adder/load_buffers.hpp"
#include "qel/data.hpp"

namespace qel {

namespace fn = nuv::opt::linear_function;
namespace sense = nuv::opt::sense_domain;

nuv::idx::List LinObjAdder::add(const nuv::opt::ConstraintContainer& batch) {
  const std::shared_ptr<Data> data = lockActive();
  const nuv::opt::lib::sense_domain::ContainerDictView<double> domain(batch.domain);
  const nuv::Index n = domain.container<int>(sense::type).itemCount();
  if (n <= 0) return {};
  if (data->quadObjList->size() > 0 || data->nonlinObjList->size() > 0) {
    throw detail::multipleObjectives();
  }

  const detail::ObjectiveParts parts = detail::objectiveParts(batch, domain, n);
  const nuv::opt::lib::linear_function::ContainerDictView<double> function(batch.function);

  std::scoped_lock lock(data->mutex);
  const LoadBuffers::Lease lease(data->loadBuffers);
  // Read and checked in full before the first objective is written, so that a refused batch
  // leaves no objective half written.
  const detail::LinearTerms terms = detail::linearTerms(
      *data, parts.variables, function.container<nuv::math::Vector<double>>(fn::coefficients));
  const nuv::idx::List objectives(std::make_shared<const nuv::idx::lib::Range>(data->addLinObj(n)));
  detail::chgLinearObjs(data.get(), objectives, terms, parts.constants, domain);
  detail::storeNames(data.get(), detail::kObjectiveNames, parts.names, objectives);
  return objectives;
}

}  // namespace qel
