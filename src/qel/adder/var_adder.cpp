#include "qel/adder/var_adder.hpp"

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

#include "nuv/idx/lib/range.hpp"
#include "nuv/opt/context.hpp"
#include "nuv/opt/keys.hpp"
#include "nuv/opt/lib/container_dict_view.hpp"
#include "nuv/opt/tagged_parts.hpp"
#include "nuv/view.hpp"
#include "qel/adder/adder_common.hpp"
#include "qel/data.hpp"

namespace qel {

namespace key = nuv::opt::interval_domain;

nuv::idx::List VarAdder::add(const nuv::opt::VariableContainer& batch) {
  const std::shared_ptr<Data> data = lockActive();
  const nuv::opt::lib::interval_domain::ContainerDictView<double> domain(batch.domain);
  const detail::Ints types = domain.container<int>(key::type);
  const nuv::Index n = types.itemCount();
  if (n <= 0) return {};

  const nuv::opt::lib::variable::ContainerDictView<double> tagged(
      nuv::opt::taggedPart(batch.tagged, nuv::opt::variable::tag));
  const detail::Doubles lower = domain.container<double>(key::lower_bound);
  const detail::Doubles upper = domain.container<double>(key::upper_bound);
  const detail::Strings names = tagged.container<std::string>(nuv::opt::variable::name);
  detail::requireItemsIfGiven(lower, n);
  detail::requireItemsIfGiven(upper, n);
  detail::requireNamesWithin(names, n);
  const nuv::View<const std::vector<int>> typeCodes = detail::viewAll(types);
  const nuv::View<const std::vector<double>> lb = detail::viewAll(lower);
  const nuv::View<const std::vector<double>> ub = detail::viewAll(upper);
  // A semi-continuous column's limit is its lower bound, which Xpress takes only when it is not
  // negative; refusing here keeps the batch from being half loaded.
  for (std::size_t i = 0; i < typeCodes->size(); ++i) {
    if ((*typeCodes)[i] != 2 && (*typeCodes)[i] != 3) continue;
    if (lb->empty() || (*lb)[i] < 0.0) throw detail::inputNotSupported();
  }

  std::scoped_lock lock(data->mutex);
  data->prob->addCols(n, /*ncoefs=*/0, /*objcoef=*/nullptr, /*start=*/nullptr, /*rowind=*/nullptr,
                      /*rowcoef=*/nullptr, lb->empty() ? nullptr : lb->data(),
                      ub->empty() ? nullptr : ub->data());
  const nuv::idx::List columns(std::make_shared<const nuv::idx::lib::Range>(data->addVar(n)));
  detail::storeNames(data.get(), detail::kColumnNames, names, columns);

  for (std::size_t i = 0; i < typeCodes->size(); ++i) {
    const char type = detail::varTypeToXpress((*typeCodes)[i]);
    const int column = columns[static_cast<nuv::Index>(i)];
    data->prob->chgColType(1, &column, &type);
    if (type == 'S' || type == 'R') data->prob->chgGlbLimit(1, &column, &(*lb)[i]);
  }

  data->varLevels->set(columns, domain.container<double>(key::start_level));
  data->varBasis->set(columns, domain.container<int>(key::start_basis));
  data->varPriorities->set(columns, tagged.container<double>(nuv::opt::variable::priority));
  return columns;
}

}  // namespace qel
