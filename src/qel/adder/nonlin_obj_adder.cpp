#include "qel/adder/nonlin_obj_adder.hpp"

#include <memory>
#include <mutex>

#include "nuv/idx/lib/range.hpp"
#include "nuv/opt/keys.hpp"
#include "nuv/opt/lib/container_dict_view.hpp"
#include "qel/adder/adder_common.hpp"
#include "qel/adder/nonlin_convert.hpp"
#include "qel/data.hpp"

namespace qel {

namespace sense = nuv::opt::sense_domain;

nuv::idx::List NonlinObjAdder::add(const nuv::opt::ConstraintContainer& batch) {
  const std::shared_ptr<Data> data = lockActive();
  const nuv::opt::lib::sense_domain::ContainerDictView<double> domain(batch.domain);
  const detail::Ints senses = domain.container<int>(sense::type);
  const nuv::Index n = senses.itemCount();
  if (n <= 0) return {};
  if (n > 1 || data->hasObj()) throw detail::multipleObjectives();
  const int objectiveSense = detail::objTypeToXpress(senses.get(0, 0));

  const detail::Symbols functions = detail::identityArguments(batch.function);
  const detail::Strings names = detail::constraintNames(batch);
  detail::requireItems(functions, n);
  detail::requireNamesWithin(names, n);

  std::scoped_lock lock(data->mutex);
  const nuv::idx::List objectives(
      std::make_shared<const nuv::idx::lib::Range>(data->addNonlinObj(1)));
  detail::storeNames(data.get(), detail::kObjectiveNames, names, objectives);

  // The objective is a free column z with cost 1 and the row -z + f(x) = 0.
  const double cost = 1.0;
  const double lower = XPRS_MINUSINFINITY;
  const double upper = XPRS_PLUSINFINITY;
  data->prob->addCols(1, 0, &cost, nullptr, nullptr, nullptr, &lower, &upper);
  const int z = data->addVar(1).first();
  const char rowType = 'E';
  const double rhs = 0.0;
  const XPRSint64 start = 0;
  const double coefficient = -1.0;
  data->prob->addRows(1, 1, &rowType, &rhs, nullptr, &start, &z, &coefficient);
  const int row = data->addLinCon(1).first();
  data->prob->chgObjSense(objectiveSense);

  // A function item of another kind raises "Invalid variant option" here, with z and the row
  // in place.
  const nuv::math::Symbol<double> item = functions.get(0, 0);
  const nuv::math::ExpressionView<double> formula = item.expression().view();
  detail::addFormulas(data.get(), {&row, 1}, {&formula, 1});
  return objectives;
}

}  // namespace qel
