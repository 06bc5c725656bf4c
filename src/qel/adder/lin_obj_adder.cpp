#include "qel/adder/lin_obj_adder.hpp"

#include <memory>
#include <mutex>
#include <string>

#include "nuv/idx/lib/range.hpp"
#include "nuv/opt/context.hpp"
#include "nuv/opt/keys.hpp"
#include "nuv/opt/lib/container_dict_view.hpp"
#include "nuv/opt/tagged_parts.hpp"
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

  const nuv::opt::lib::linear_function::ContainerDictView<double> function(batch.function);
  const nuv::opt::lib::constraint::ContainerDictView<double> tagged(
      nuv::opt::taggedPart(batch.tagged, nuv::opt::constraint::tag));
  const detail::Symbols variables = function.container<nuv::math::Symbol<double>>(fn::variables);
  const detail::Doubles constants = function.container<double>(fn::constant);
  const detail::Strings names = tagged.container<std::string>(nuv::opt::constraint::name);
  detail::requireItems(variables, n);
  detail::requireItemsIfGiven(constants, n);
  detail::requireItemsIfValues(domain.container<double>(sense::weight), n);
  detail::requireItemsIfValues(domain.container<int>(sense::priority), n);
  detail::requireItemsIfValues(domain.container<double>(sense::absolute_tolerance), n);
  detail::requireItemsIfValues(domain.container<double>(sense::relative_tolerance), n);
  detail::requireNamesWithin(names, n);

  std::scoped_lock lock(data->mutex);
  const LoadBuffers::Lease lease(data->loadBuffers);
  // Read and checked in full before the first objective is written, so that a refused batch
  // leaves no objective half written.
  const detail::LinearTerms terms = detail::linearTerms(
      *data, variables, function.container<nuv::math::Vector<double>>(fn::coefficients));
  const nuv::idx::List objectives(std::make_shared<const nuv::idx::lib::Range>(data->addLinObj(n)));
  detail::chgLinearObjs(data.get(), objectives, terms, constants, domain);
  detail::storeNames(data.get(), detail::kObjectiveNames, names, objectives);
  return objectives;
}

}  // namespace qel
