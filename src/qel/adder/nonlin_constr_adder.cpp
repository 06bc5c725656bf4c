#include "qel/adder/nonlin_constr_adder.hpp"

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

#include "nuv/idx/lib/range.hpp"
#include "nuv/opt/keys.hpp"
#include "nuv/opt/lib/container_dict_view.hpp"
#include "qel/adder/adder_common.hpp"
#include "qel/adder/nonlin_convert.hpp"
#include "qel/data.hpp"

namespace qel {

namespace dom = nuv::opt::static_bounded_domain;

nuv::idx::List NonlinConstrAdder::add(const nuv::opt::ConstraintContainer& batch) {
  const std::shared_ptr<Data> data = lockActive();
  const nuv::opt::lib::static_bounded_domain::ContainerDictView<double> domain(batch.domain);
  const detail::Ints types = domain.container<int>(dom::type);
  const nuv::Index n = types.itemCount();
  if (n <= 0) return {};

  const auto count = static_cast<std::size_t>(n);
  std::vector<char> rowTypes;
  rowTypes.reserve(count);
  const nuv::View<const std::vector<int>> typeCodes = detail::viewAll(types);
  for (const int type : *typeCodes) rowTypes.push_back(detail::constrTypeToXpress(type));

  const detail::Symbols functions = detail::identityArguments(batch.function);
  const detail::Strings names = detail::constraintNames(batch);
  detail::requireItems(functions, n);
  detail::requireNamesWithin(names, n);
  const nuv::View<const std::vector<nuv::math::Symbol<double>>> expressions =
      detail::viewAll(functions);
  std::vector<nuv::math::ExpressionView<double>> formulas;
  formulas.reserve(count);
  for (const nuv::math::Symbol<double>& expression : *expressions) {
    if (expression.kind() != nuv::math::SymbolKind::kExpression) {
      throw detail::inputNotSupported();
    }
    formulas.push_back(expression.expression().view());
  }

  std::scoped_lock lock(data->mutex);
  const std::vector<double> rhs(count, 0.0);
  const std::vector<XPRSint64> starts(count, 0);
  data->prob->addRows(n, 0, rowTypes.data(), rhs.data(), nullptr, starts.data(), nullptr, nullptr);
  const nuv::idx::lib::Range block = data->addNonlinCon(n);
  const nuv::idx::List rows(std::make_shared<const nuv::idx::lib::Range>(block));
  detail::storeNames(data.get(), detail::kRowNames, names, rows);

  std::vector<int> rowNumbers(count);
  rows.toVector(rowNumbers);
  detail::addFormulas(data.get(), rowNumbers, formulas);
  return rows;
}

}  // namespace qel
