#include "qel/adder/lin_constr_adder.hpp"

#include <memory>
#include <mutex>

#include "nuv/idx/lib/range.hpp"
#include "nuv/opt/keys.hpp"
#include "nuv/opt/lib/container_dict_view.hpp"
#include "qel/adder/adder_common.hpp"
#include "qel/data.hpp"

namespace qel {

namespace fn = nuv::opt::linear_function;
namespace dom = nuv::opt::static_bounded_domain;

nuv::idx::List LinConstrAdder::add(const nuv::opt::ConstraintContainer& batch) {
  const std::shared_ptr<Data> data = lockActive();
  const nuv::opt::lib::static_bounded_domain::ContainerDictView<double> domain(batch.domain);
  const detail::Ints types = domain.container<int>(dom::type);
  const nuv::Index n = types.itemCount();
  if (n <= 0) return {};

  const nuv::opt::lib::linear_function::ContainerDictView<double> function(batch.function);
  const detail::Strings names = detail::constraintNames(batch);
  detail::requireNamesWithin(names, n);

  std::scoped_lock lock(data->mutex);
  detail::addLinearConstr(data.get(), function.container<nuv::math::Symbol<double>>(fn::variables),
                          function.container<nuv::math::Vector<double>>(fn::coefficients),
                          function.container<double>(fn::constant), types);
  const nuv::idx::List rows(std::make_shared<const nuv::idx::lib::Range>(data->addLinCon(n)));
  detail::storeNames(data.get(), detail::kRowNames, names, rows);
  data->linConstrBasis->set(rows, domain.container<int>(dom::start_basis));
  return rows;
}

}  // namespace qel
