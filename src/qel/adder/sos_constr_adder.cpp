#include "qel/adder/sos_constr_adder.hpp"

#include <cstddef>
#include <memory>
#include <mutex>
#include <numeric>
#include <span>
#include <vector>

#include "nuv/idx/lib/range.hpp"
#include "nuv/math/array/vector_data.hpp"
#include "nuv/opt/keys.hpp"
#include "nuv/opt/lib/container_dict_view.hpp"
#include "qel/adder/adder_common.hpp"
#include "qel/data.hpp"

namespace qel {

namespace dom = nuv::opt::sos_domain;

nuv::idx::List SOSConstrAdder::add(const nuv::opt::ConstraintContainer& batch) {
  const std::shared_ptr<Data> data = lockActive();
  const nuv::opt::lib::sos_domain::ContainerDictView<double> domain(batch.domain);
  const detail::Ints types = domain.container<int>(dom::type);
  const nuv::Index n = types.itemCount();
  if (n <= 0) return {};

  const detail::Symbols members = detail::identityArguments(batch.function);
  const detail::Vectors weights = domain.container<nuv::math::Vector<double>>(dom::weights);
  detail::requireItems(members, n);
  detail::requireItemsIfGiven(weights, n);

  std::vector<char> setTypes;
  setTypes.reserve(static_cast<std::size_t>(n));
  const nuv::View<const std::vector<int>> typeCodes = detail::viewAll(types);
  for (const int type : *typeCodes) setTypes.push_back(detail::sosTypeToXpress(type));

  const nuv::View<const std::vector<nuv::math::Symbol<double>>> symbols = detail::viewAll(members);
  std::vector<const nuv::idx::List*> lists(symbols->size());
  std::vector<XPRSint64> starts(symbols->size() + 1, 0);
  for (std::size_t k = 0; k < symbols->size(); ++k) {
    lists[k] = &detail::ownedVariables(*data, (*symbols)[k]);
    starts[k + 1] = starts[k] + lists[k]->size();
  }

  const nuv::View<const std::vector<nuv::math::Vector<double>>> weightVectors =
      detail::viewAll(weights);
  std::vector<int> columns(static_cast<std::size_t>(starts.back()));
  std::vector<double> references(columns.size());
  for (std::size_t k = 0; k < lists.size(); ++k) {
    const auto first = static_cast<std::size_t>(starts[k]);
    const auto size = static_cast<std::size_t>(starts[k + 1] - starts[k]);
    const std::span<int> setColumns(columns.data() + first, size);
    std::iota(setColumns.begin(), setColumns.end(), 0);
    lists[k]->asMap(setColumns);
    // A missing weight vector reads as one of dimension 0, which fits an empty set only.
    const nuv::math::Vector<double> weight =
        weightVectors->empty() ? nuv::math::Vector<double>() : (*weightVectors)[k];
    weight.data(nuv::math::VectorDataKind::kDense)
        .toVector(std::span<double>(references.data() + first, size));
  }

  std::scoped_lock lock(data->mutex);
  data->prob->addSets(n, starts.back(), setTypes.data(), starts.data(), columns.data(),
                      references.data());
  return nuv::idx::List(std::make_shared<const nuv::idx::lib::Range>(data->addSOSCon(n)));
}

}  // namespace qel
