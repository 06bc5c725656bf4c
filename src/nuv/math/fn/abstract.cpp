#include "nuv/math/fn/abstract.hpp"

#include <cstddef>

#include "nuv/math/expression.hpp"

namespace nuv::math::fn {
namespace {

template <class T>
bool matches(std::uint8_t type, const Symbol<T>& argument) {
  switch (type) {
    case static_cast<std::uint8_t>(ParamType::kNone):
      return false;
    case static_cast<std::uint8_t>(ParamType::kNumber):
      return argument.kind() == SymbolKind::kNumeric;
    case static_cast<std::uint8_t>(ParamType::kVector):
      return argument.kind() == SymbolKind::kNumericVector;
    case static_cast<std::uint8_t>(ParamType::kMatrix):
      return argument.kind() == SymbolKind::kNumericMatrix;
    case static_cast<std::uint8_t>(ParamType::kFunction):
      return argument.kind() == SymbolKind::kFunction;
    default:
      return true;
  }
}

}  // namespace

template <class T>
bool Abstract<T>::validate(std::span<const Symbol<T>> args) const {
  const std::span<const std::uint32_t> inputs = inputDimensions();
  const std::span<const std::uint8_t> params = paramTypes();
  const bool variadic = isVariadic();
  // A variadic function repeats its last input; without inputs nothing can repeat.
  if (variadic && inputs.empty()) return false;
  const std::size_t fixed = variadic ? inputs.size() - 1 : inputs.size();
  // Fewer arguments than fixed inputs and parameters would make the repeat count negative.
  if (args.size() < fixed + params.size()) return false;
  const std::size_t repeated = variadic ? args.size() - fixed - params.size() : 0;
  if (fixed + repeated + params.size() != args.size()) return false;
  for (std::size_t k = 0; k < fixed; ++k) {
    if (args[k].dimension() != inputs[k]) return false;
  }
  for (std::size_t k = fixed; k < fixed + repeated; ++k) {
    if (args[k].dimension() != inputs.back()) return false;
  }
  for (std::size_t k = 0; k < params.size(); ++k) {
    if (!matches(params[k], args[fixed + repeated + k])) return false;
  }
  return true;
}

template <class T>
std::optional<std::vector<Symbol<T>>> Abstract<T>::detect(const Symbol<T>& symbol) const {
  const ExpressionSymbol<T>* expression = nullptr;
  std::uint64_t root = 0;
  if (!math::detail::rootCall(symbol, &expression, &root) ||
      (*expression->sequence())[root].function().tag() != tag()) {
    return std::nullopt;
  }
  std::vector<Symbol<T>> args = expression->associativeArguments(root, /*includeFirst=*/true);
  if (!validate(args)) return std::nullopt;
  return args;
}

template class Abstract<double>;

}  // namespace nuv::math::fn
