#include "qel/adder/indic_constr_adder.hpp"

#include <cstddef>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "nuv/idx/lib/range.hpp"
#include "nuv/opt/keys.hpp"
#include "nuv/opt/lib/container_dict_view.hpp"
#include "qel/adder/adder_common.hpp"
#include "qel/data.hpp"

namespace qel {

namespace dom = nuv::opt::static_bounded_domain;

IndicConstrAdder::IndicConstrAdder(std::weak_ptr<Data> data,
                                   std::shared_ptr<nuv::opt::AbstractConstraintAdder> inner)
    : DataAdder(std::move(data)), inner_(std::move(inner)) {}

nuv::idx::List IndicConstrAdder::add(const nuv::opt::LinkedConstraintContainer& batch) {
  const std::shared_ptr<Data> data = lockActive();
  const nuv::opt::lib::static_bounded_domain::ContainerDictView<double> domain(batch.first.domain);
  const detail::Ints types = domain.container<int>(dom::type);
  const nuv::Index n = types.itemCount();
  if (n <= 0) return {};

  const auto count = static_cast<std::size_t>(n);
  std::vector<int> complements(count);
  types.getAll(complements, 0);
  for (int& flag : complements) flag = detail::indicTypeToXpress(flag);

  const detail::Symbols indicators = detail::identityArguments(batch.first.function);
  detail::requireItems(indicators, n);
  std::vector<int> columns(count);
  const nuv::View<const std::vector<nuv::math::Symbol<double>>> symbols =
      detail::viewAll(indicators);
  for (std::size_t k = 0; k < count; ++k) {
    const nuv::math::Symbol<double>& symbol = (*symbols)[k];
    if (symbol.kind() != nuv::math::SymbolKind::kVariable ||
        symbol.variable().ownerId != data->varAdderId) {
      throw detail::inputNotSupported();
    }
    columns[k] = symbol.variable().index;
  }
  // The inner adder makes one row per item of its own types; each row needs its indicator.
  const nuv::opt::lib::static_bounded_domain::ContainerDictView<double> linked(batch.second.domain);
  detail::requireItems(linked.container<int>(dom::type), n);

  {
    // Checked before the inner adder makes rows that no indicator would then govern.
    std::scoped_lock lock(data->mutex);
    const nuv::Index columnCount = data->varList->size();
    for (const int column : columns) {
      if (column < 0 || column >= columnCount) throw detail::inputNotSupported();
    }
  }
  // The inner adder takes the record's mutex itself, which is not recursive.
  const nuv::idx::List rows = inner_->add(batch.second);
  if (rows.size() != n) throw detail::inputNotSupported();

  std::scoped_lock lock(data->mutex);
  std::vector<int> rowNumbers(count);
  rows.toVector(rowNumbers);
  data->prob->setIndicators(n, rowNumbers.data(), columns.data(), complements.data());
  return nuv::idx::List(std::make_shared<const nuv::idx::lib::Range>(data->addIndicCon(n)));
}

}  // namespace qel
