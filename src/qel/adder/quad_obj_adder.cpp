#include "qel/adder/quad_obj_adder.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "nuv/idx/lib/range.hpp"
#include "nuv/opt/keys.hpp"
#include "nuv/opt/lib/container_dict_view.hpp"
#include "qel/adder/adder_common.hpp"
#include "qel/adder/load_buffers.hpp"
#include "qel/data.hpp"

namespace qel {

namespace fn = nuv::opt::quadratic_function;
namespace sense = nuv::opt::sense_domain;

namespace {

// The objective's triplets for XPRSchgmqobj64, which holds ½x'Qx and sets (not adds) Q_pq and
// Q_qp from one triplet: the entries of one unordered column pair are summed into the place and
// order of the first of them, and diagonal values are doubled.
void toObjectiveHessian(detail::QuadraticTerms* terms) {
  std::unordered_map<std::uint64_t, std::size_t> slot;
  std::size_t kept = 0;
  for (std::size_t j = 0; j < terms->values.size(); ++j) {
    const auto [low, high] = std::minmax(terms->first[j], terms->second[j]);
    const std::uint64_t pair =
        (static_cast<std::uint64_t>(static_cast<std::uint32_t>(low)) << 32U) |
        static_cast<std::uint32_t>(high);
    const auto [at, added] = slot.try_emplace(pair, kept);
    if (!added) {
      terms->values[at->second] += terms->values[j];
      continue;
    }
    terms->first[kept] = terms->first[j];
    terms->second[kept] = terms->second[j];
    terms->values[kept] = terms->values[j];
    ++kept;
  }
  terms->first.resize(kept);
  terms->second.resize(kept);
  terms->values.resize(kept);
  for (std::size_t j = 0; j < kept; ++j) {
    if (terms->first[j] == terms->second[j]) terms->values[j] *= 2.0;
  }
}

}  // namespace

nuv::idx::List QuadObjAdder::add(const nuv::opt::ConstraintContainer& batch) {
  const std::shared_ptr<Data> data = lockActive();
  const nuv::opt::lib::sense_domain::ContainerDictView<double> domain(batch.domain);
  const nuv::Index n = domain.container<int>(sense::type).itemCount();
  if (n <= 0) return {};
  if (n > 1 || data->hasObj()) throw detail::multipleObjectives();

  const detail::ObjectiveParts parts = detail::objectiveParts(batch, domain, n);
  const nuv::opt::lib::quadratic_function::ContainerDictView<double> function(batch.function);

  std::scoped_lock lock(data->mutex);
  const LoadBuffers::Lease lease(data->loadBuffers);
  // Read and checked in full before the objective is written, so that a refused batch leaves
  // no objective half written.
  const detail::LinearTerms linear = detail::linearTerms(
      *data, parts.variables, function.container<nuv::math::Vector<double>>(fn::coefficients));
  detail::QuadraticTerms quadratic = detail::quadraticTerms(
      *data, parts.variables, function.container<nuv::math::Matrix<double>>(fn::quadratic));
  toObjectiveHessian(&quadratic);
  detail::chgLinearObjs(data.get(),
                        nuv::idx::List(std::make_shared<const nuv::idx::lib::Range>(0, 1)), linear,
                        parts.constants, domain);
  data->prob->chgMQObj(static_cast<XPRSint64>(quadratic.values.size()), quadratic.first.data(),
                       quadratic.second.data(), quadratic.values.data());
  const nuv::idx::List objectives(
      std::make_shared<const nuv::idx::lib::Range>(data->addQuadObj(1)));
  detail::storeNames(data.get(), detail::kObjectiveNames, parts.names, objectives);
  return objectives;
}

}  // namespace qel
