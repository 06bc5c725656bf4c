#include "qel/adder/quad_constr_adder.hpp"

#include <cstddef>
#include <memory>
#include <mutex>
#include <utility>

#include "nuv/idx/lib/range.hpp"
#include "nuv/opt/keys.hpp"
#include "nuv/opt/lib/container_dict_view.hpp"
#include "qel/adder/adder_common.hpp"
#include "qel/data.hpp"

namespace qel {

namespace fn = nuv::opt::quadratic_function;
namespace dom = nuv::opt::static_bounded_domain;

nuv::idx::List QuadConstrAdder::add(const nuv::opt::ConstraintContainer& batch) {
  const std::shared_ptr<Data> data = lockActive();
  const nuv::opt::lib::static_bounded_domain::ContainerDictView<double> domain(batch.domain);
  const detail::Ints types = domain.container<int>(dom::type);
  const nuv::Index n = types.itemCount();
  if (n <= 0) return {};

  const nuv::opt::lib::quadratic_function::ContainerDictView<double> function(batch.function);
  const detail::Symbols variables = function.container<nuv::math::Symbol<double>>(fn::variables);
  const detail::Strings names = detail::constraintNames(batch);
  detail::requireNamesWithin(names, n);
  // Read and checked in full before the rows exist, so that a refused batch adds nothing.
  detail::QuadraticTerms terms = detail::quadraticTerms(
      *data, variables, function.container<nuv::math::Matrix<double>>(fn::quadratic));
  // Xpress reads a row's x'Qx from the upper triangle of a symmetric Q: the product v x_p x_q
  // becomes Q_pq = v / 2 with p < q.
  for (std::size_t j = 0; j < terms.values.size(); ++j) {
    if (terms.first[j] == terms.second[j]) continue;
    if (terms.first[j] > terms.second[j]) std::swap(terms.first[j], terms.second[j]);
    terms.values[j] *= 0.5;
  }

  std::scoped_lock lock(data->mutex);
  detail::addLinearConstr(data.get(), variables,
                          function.container<nuv::math::Vector<double>>(fn::coefficients),
                          function.container<double>(fn::constant), types);
  const nuv::idx::List rows(std::make_shared<const nuv::idx::lib::Range>(data->addQuadCon(n)));
  detail::storeNames(data.get(), detail::kRowNames, names, rows);
  for (std::size_t k = 0; k + 1 < terms.starts.size(); ++k) {
    const auto first = static_cast<std::size_t>(terms.starts[k]);
    data->prob->addQMatrix(rows[static_cast<nuv::Index>(k)], terms.starts[k + 1] - terms.starts[k],
                           terms.first.data() + first, terms.second.data() + first,
                           terms.values.data() + first);
  }
  return rows;
}

}  // namespace qel
