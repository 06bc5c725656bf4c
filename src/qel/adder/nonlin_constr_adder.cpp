#include "qel/adder/nonlin_constr_adder.hpp"

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "nuv/idx/lib/range.hpp"
#include "nuv/opt/context.hpp"
#include "nuv/opt/keys.hpp"
#include "nuv/opt/lib/container_dict_view.hpp"
#include "nuv/opt/tagged_parts.hpp"
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

  const nuv::opt::lib::identity_function::ContainerDictView<double> function(batch.function);
  const detail::Symbols functions =
      function.container<nuv::math::Symbol<double>>(nuv::opt::identity_function::argument);
  const nuv::opt::lib::constraint::ContainerDictView<double> tagged(
      nuv::opt::taggedPart(batch.tagged, nuv::opt::constraint::tag));
  const detail::Strings names = tagged.container<std::string>(nuv::opt::constraint::name);
  detail::requireItems(functions, n);
  detail::requireNamesWithin(names, n);
  const nuv::View<const std::vector<nuv::math::Symbol<double>>> expressions =
      detail::viewAll(functions);
  std::size_t symbolCount = 0;
  for (const nuv::math::Symbol<double>& expression : *expressions) {
    if (expression.kind() != nuv::math::SymbolKind::kExpression) {
      throw detail::inputNotSupported();
    }
    symbolCount += expression.expression().size() + 1;
  }

  std::scoped_lock lock(data->mutex);
  const std::vector<double> rhs(count, 0.0);
  const std::vector<XPRSint64> starts(count, 0);
  data->prob->addRows(n, 0, rowTypes.data(), rhs.data(), nullptr, starts.data(), nullptr, nullptr);
  const nuv::idx::lib::Range block = data->addNonlinCon(n);
  const nuv::idx::List rows(std::make_shared<const nuv::idx::lib::Range>(block));
  detail::storeNames(data.get(), detail::kRowNames, names, rows);

  // All formulas of the batch go to Xpress in one call, after the last conversion.
  std::vector<int> tokenTypes;
  std::vector<double> tokenValues;
  tokenTypes.reserve(100 + symbolCount);
  tokenValues.reserve(100 + symbolCount);
  std::vector<int> formulaStarts(count + 1, 0);
  for (std::size_t i = 0; i < count; ++i) {
    detail::nonlinConvert(data.get(), &tokenTypes, &tokenValues,
                          (*expressions)[i].expression().view());
    formulaStarts[i + 1] = static_cast<int>(tokenTypes.size());
  }
  std::vector<int> rowNumbers(count);
  rows.toVector(rowNumbers);
  data->prob->nlpAddFormulas(n, rowNumbers.data(), formulaStarts.data(), 1, tokenTypes.data(),
                             tokenValues.data());
  return rows;
}

}  // namespace qel
