#include "nuv/math/expression.hpp"

#include <cstddef>
#include <iterator>

#include "nuv/check.hpp"
#include "nuv/math/fn/abstract.hpp"

namespace nuv::math {

namespace detail {

template <class T>
std::uint64_t argumentCount(const Symbol<T>& symbol) {
  if (symbol.kind() != SymbolKind::kFunctionCall) return 0;
  const FunctionCallSymbol<T> call = symbol.functionCall();
  const std::uint64_t inputs = call.function->inputDimensions().size();
  const std::uint64_t params = call.function->paramTypes().size();
  if (!call.function->isVariadic()) return inputs + params;
  // The last input stands for every repeated one; a variadic function without inputs has none.
  return (inputs == 0 ? 0 : inputs - 1 + call.repeatCount) + params;
}

template <class T>
bool rootCall(const Symbol<T>& symbol, const ExpressionSymbol<T>** expression,
              std::uint64_t* position) {
  const ExpressionSymbol<T>* owner = nullptr;
  std::uint64_t root = 0;
  if (symbol.kind() == SymbolKind::kExpression) {
    owner = &symbol.expression();
    if (owner->size() == 0) return false;
    root = owner->size() - 1;
  } else if (symbol.kind() == SymbolKind::kExpressionView) {
    const ExpressionViewSymbol<T>& record = symbol.expressionView();
    if (record.size == 0) return false;
    owner = &record.expression;
    root = record.start + record.size - 1;
  } else {
    return false;
  }
  if ((*owner->sequence())[root].kind() != SymbolKind::kFunctionCall) return false;
  *expression = owner;
  *position = root;
  return true;
}

}  // namespace detail

template <class T>
ExpressionView<T>::ExpressionView(const Symbols<T>* sequence, std::uint64_t start,
                                  std::uint64_t size)
    : sequence_(sequence), start_(start), size_(size) {
  const std::uint64_t length = sequence == nullptr ? 0 : sequence->size();
  checkLessOrEqual("start", start, length);
  checkLessOrEqual("size", size, length - start);
}

template <class T>
std::vector<std::uint64_t> ExpressionView<T>::argumentStarts(std::uint64_t index,
                                                             bool includeFirst) const {
  checkLess("index", index, size_);
  const std::uint64_t count = detail::argumentCount((*this)[index]);
  std::vector<std::uint64_t> starts(count + 1, 0);
  starts[count] = index;
  if (count == 0) return starts;
  const std::uint64_t last = includeFirst ? 0 : 1;
  for (std::uint64_t k = count; k-- > last;) {
    std::uint64_t position = starts[k + 1];
    std::uint64_t need = 1;
    while (need > 0 && position > 0) {
      --position;
      --need;
      need += detail::argumentCount((*this)[position]);
    }
    starts[k] = position;
  }
  return starts;
}

template <class T>
void ExpressionSymbol<T>::arguments(std::vector<Symbol<T>>* list, std::uint64_t index,
                                    bool includeFirst) const {
  if (list == nullptr) return;
  const ExpressionView<T> whole = view();
  const std::vector<std::uint64_t> starts = whole.argumentStarts(index, includeFirst);
  for (std::size_t k = 0; k + 1 < starts.size(); ++k) {
    const std::uint64_t begin = starts[k];
    const std::uint64_t length = starts[k + 1] - begin;
    if (length == 1) {
      list->push_back(whole[begin]);
    } else {
      list->push_back(Symbol<T>::expressionView(*this, begin, length));
    }
  }
}

template <class T>
std::vector<Symbol<T>> ExpressionSymbol<T>::arguments(std::uint64_t index,
                                                      bool includeFirst) const {
  std::vector<Symbol<T>> list;
  arguments(&list, index, includeFirst);
  return list;
}

template <class T>
std::vector<Symbol<T>> ExpressionSymbol<T>::associativeArguments(std::uint64_t index,
                                                                 bool includeFirst) const {
  std::vector<Symbol<T>> result = arguments(index, includeFirst);
  const Symbol<T>& call = (*symbols_)[index];
  if (call.kind() != SymbolKind::kFunctionCall) return result;
  const fn::Abstract<T>& function = call.function();
  if (!function.isAssociative()) return result;
  const std::size_t inputs = function.inputDimensions().size();
  const std::size_t fixed = function.isVariadic() && inputs > 0 ? inputs - 1 : inputs;
  if (fixed > 1) return result;

  std::size_t k = 0;
  while (k < result.size()) {
    const ExpressionSymbol<T>* nested = nullptr;
    std::uint64_t root = 0;
    if (detail::rootCall(result[k], &nested, &root) &&
        (*nested->sequence())[root].function().tag() == function.tag()) {
      // Copy the owner first: erasing the element may release the last share of its sequence.
      const ExpressionSymbol<T> owner = *nested;
      std::vector<Symbol<T>> inner = owner.arguments(root, includeFirst);
      const auto at = result.erase(result.begin() + static_cast<std::ptrdiff_t>(k));
      result.insert(at, std::make_move_iterator(inner.begin()),
                    std::make_move_iterator(inner.end()));
      continue;
    }
    if (fixed == 1) break;
    ++k;
  }
  return result;
}

template class ExpressionSymbol<double>;
template class ExpressionView<double>;
template std::uint64_t detail::argumentCount<double>(const Symbol<double>&);
template bool detail::rootCall<double>(const Symbol<double>&, const ExpressionSymbol<double>**,
                                       std::uint64_t*);

}  // namespace nuv::math
