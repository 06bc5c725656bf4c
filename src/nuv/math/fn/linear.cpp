#include "nuv/math/fn/linear.hpp"

#include <cstddef>

#include "nuv/check.hpp"
#include "nuv/math/array/vector.hpp"
#include "nuv/math/array/vector_data.hpp"

namespace nuv::math::fn {
namespace {

constexpr std::uint32_t kInputDimensions[] = {1};
constexpr std::uint8_t kParamTypes[] = {static_cast<std::uint8_t>(ParamType::kVector),
                                        static_cast<std::uint8_t>(ParamType::kNumber)};

}  // namespace

template <class T>
std::span<const std::uint32_t> Linear<T>::inputDimensions() const {
  return kInputDimensions;
}

template <class T>
std::span<const std::uint8_t> Linear<T>::paramTypes() const {
  return kParamTypes;
}

template <class T>
Symbol<T> Linear<T>::evaluate(std::span<const Symbol<T>> args) const {
  checkEqual("args.size()", args.size(), 3);
  return Symbol<T>::numeric(dotProd(args[0].numericVector(), args[1].numericVector()) +
                            args[2].numeric());
}

template <class T>
bool Linear<T>::addTo(Symbols<T>* symbols, std::uint64_t count) const {
  if (symbols == nullptr || count != 0 || symbols->size() < 3) return false;
  const std::size_t n = symbols->size();
  const Symbol<T>& x = (*symbols)[n - 3];
  const Symbol<T>& a = (*symbols)[n - 2];
  const Symbol<T>& b = (*symbols)[n - 1];
  if (x.kind() != SymbolKind::kVectorOfVariables || a.kind() != SymbolKind::kNumericVector ||
      b.kind() != SymbolKind::kNumeric || b.numeric() != T{}) {
    return false;
  }
  const VectorData<T> coefficients = a.numericVector().data();
  if (coefficients.kind() != VectorDataKind::kSparse || coefficients.valueCount() != 1 ||
      coefficients.values().front() != T{1}) {
    return false;
  }
  const Index j = coefficients.indices().front();
  const VectorOfVariablesSymbol<T>& variables = x.vectorOfVariables();
  if (j >= variables.indices.size()) return false;
  Symbol<T> picked = Symbol<T>::variable(variables.ownerId, variables.indices[j]);
  symbols->erase(symbols->end() - 3, symbols->end());
  symbols->push_back(std::move(picked));
  return true;
}

template class Linear<double>;

}  // namespace nuv::math::fn
