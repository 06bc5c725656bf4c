// Expressions: shared postfix symbol sequences, windows on them, and the walks that find the
// arguments of a function call.
//
// A call of function f at position i has as many inputs as f has input dimensions (for a
// variadic f: one fewer, plus the call's repeat count) followed by as many parameters as f has
// parameter types; each argument is a contiguous run of symbols just before the call.
//
//   ExpressionSymbol<double> e(Symbols<double>{x, y, Symbol<double>::functionCall(&add, 2)});
//   e.arguments(2, true);   // {x, y}: single-symbol arguments come back as copies
//
// Longer arguments come back as ExpressionView symbols sharing the sequence, not as copies.
#ifndef NUV_MATH_EXPRESSION_HPP_
#define NUV_MATH_EXPRESSION_HPP_

#include <cstdint>
#include <memory>
#include <vector>

#include "nuv/math/symbol.hpp"

namespace nuv::math {

template <class T>
class ExpressionView;

// Shares one symbol sequence; copies share the same sequence. A default one holds no sequence
// and counts as empty.
template <class T>
class ExpressionSymbol {
 public:
  ExpressionSymbol() noexcept = default;
  explicit ExpressionSymbol(std::shared_ptr<Symbols<T>> symbols) noexcept
      : symbols_(std::move(symbols)) {}
  explicit ExpressionSymbol(Symbols<T> symbols)
      : symbols_(std::make_shared<Symbols<T>>(std::move(symbols))) {}

  [[nodiscard]] const std::shared_ptr<Symbols<T>>& shared() const noexcept { return symbols_; }
  // The sequence, or null when there is none.
  [[nodiscard]] const Symbols<T>* sequence() const noexcept { return symbols_.get(); }
  [[nodiscard]] std::uint64_t size() const noexcept { return symbols_ ? symbols_->size() : 0; }
  // A window on the whole sequence.
  [[nodiscard]] ExpressionView<T> view() const noexcept;

  // Appends the arguments of the call at index to *list (nothing for a null list or a leaf).
  // Raises "Check Error" (5) for 'index' beyond the sequence.
  void arguments(std::vector<Symbol<T>>* list, std::uint64_t index, bool includeFirst) const;
  [[nodiscard]] std::vector<Symbol<T>> arguments(std::uint64_t index, bool includeFirst) const;
  // The arguments with nested calls of the same associative function flattened into one list.
  [[nodiscard]] std::vector<Symbol<T>> associativeArguments(std::uint64_t index,
                                                            bool includeFirst) const;

 private:
  std::shared_ptr<Symbols<T>> symbols_;
};

// A window on a symbol sequence, not owning it: position p is symbol start + p of the sequence;
// the window's root is its last position. Valid while the sequence lives.
template <class T>
class ExpressionView {
 public:
  ExpressionView() noexcept = default;
  // The window must lie within the sequence (a null sequence admits only the empty window);
  // otherwise "Check Error".
  ExpressionView(const Symbols<T>* sequence, std::uint64_t start, std::uint64_t size);
  ExpressionView(const ExpressionSymbol<T>& expression, std::uint64_t start, std::uint64_t size)
      : ExpressionView(expression.sequence(), start, size) {}

  [[nodiscard]] const Symbols<T>* sequence() const noexcept { return sequence_; }
  [[nodiscard]] std::uint64_t start() const noexcept { return start_; }
  [[nodiscard]] std::uint64_t size() const noexcept { return size_; }
  [[nodiscard]] bool empty() const noexcept { return size_ == 0; }
  // Position p of the window; p must be below size().
  [[nodiscard]] const Symbol<T>& operator[](std::uint64_t position) const {
    return (*sequence_)[start_ + position];
  }

  // Where each argument of the call at index begins, followed by index itself; a leaf gives
  // {index}. With includeFirst false the first start is not searched and stays 0, which is right
  // for the root of a whole expression. Raises "Check Error" (5) for 'index' not below size().
  [[nodiscard]] std::vector<std::uint64_t> argumentStarts(std::uint64_t index,
                                                          bool includeFirst) const;

 private:
  const Symbols<T>* sequence_ = nullptr;
  std::uint64_t start_ = 0;
  std::uint64_t size_ = 0;
};

// The payload of an ExpressionView symbol: a window that keeps its expression alive.
template <class T>
struct ExpressionViewSymbol {
  ExpressionSymbol<T> expression;
  std::uint64_t start = 0;
  std::uint64_t size = 0;

  [[nodiscard]] ExpressionView<T> view() const {
    return ExpressionView<T>(expression, start, size);
  }
};

template <class T>
ExpressionView<T> ExpressionSymbol<T>::view() const noexcept {
  ExpressionView<T> whole;
  if (symbols_) whole = ExpressionView<T>(symbols_.get(), 0, symbols_->size());
  return whole;
}

namespace detail {

// The number of arguments of the call symbol (0 for every other kind).
template <class T>
std::uint64_t argumentCount(const Symbol<T>& symbol);

// For an Expression symbol, or a non-empty ExpressionView symbol, whose root is a FunctionCall:
// sets *expression and *position to the expression and the root's position in its sequence and
// answers true. Any other symbol answers false and sets nothing.
template <class T>
bool rootCall(const Symbol<T>& symbol, const ExpressionSymbol<T>** expression,
              std::uint64_t* position);

}  // namespace detail

extern template class ExpressionSymbol<double>;
extern template class ExpressionView<double>;
extern template std::uint64_t detail::argumentCount<double>(const Symbol<double>&);
extern template bool detail::rootCall<double>(const Symbol<double>&,
                                              const ExpressionSymbol<double>**, std::uint64_t*);

}  // namespace nuv::math

#endif  // NUV_MATH_EXPRESSION_HPP_
