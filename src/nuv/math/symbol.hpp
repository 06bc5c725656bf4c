// `nuv::math::Symbol`: the tagged value in which model functions reach the solver.
//
// A symbol is a kind byte and a payload of two 64-bit words:
//
//   kind  name()               dimension()                 payload
//   0     "Variable"           0                           owner id and model index
//   1, 2  "Variable"           1, 2                        two words, copied as they are
//   3     "Numeric"            0                           a number
//   4, 5  "Numeric"            1, 2                        a shared Vector, a shared Matrix
//   6     "VectorOfVariables"  1                           a shared VectorOfVariablesSymbol
//   7     "Function"           the function's              a function (never owned)
//   8     "FunctionCall"       the function's              the called function, repeat count
//   9     "Expression"         its last symbol's (0: none) a shared ExpressionSymbol
//   10    "ExpressionView"     its last symbol's (0: none) a shared ExpressionViewSymbol
//
// Any other kind byte has the empty name, dimension 0 and a payload of two plain words. Copies of
// the shared kinds (4, 5, 6, 9, 10) share the payload through an atomic reference count, so
// copies may live on different threads. `freeSymbol` releases a shared payload early; the symbol
// keeps its kind, and reading the released payload raises like reading a payload of another kind.
//
// The payload accessors raise std::runtime_error "Invalid variant option" when the symbol does
// not hold what they read; `vectorOfVariablesIf` answers null instead, for readers that only
// look ahead (a loader asking the memory system early for the payloads of later symbols).
#ifndef NUV_MATH_SYMBOL_HPP_
#define NUV_MATH_SYMBOL_HPP_

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "nuv/idx/list.hpp"
#include "nuv/math/array/matrix.hpp"
#include "nuv/math/array/vector.hpp"
#include "nuv/types.hpp"

namespace nuv::math {

namespace fn {
template <class T>
class Abstract;
}  // namespace fn

template <class T>
class ExpressionSymbol;
template <class T>
struct ExpressionViewSymbol;

enum class SymbolKind : std::uint8_t {
  kVariable = 0,
  kVariableVector = 1,
  kVariableMatrix = 2,
  kNumeric = 3,
  kNumericVector = 4,
  kNumericMatrix = 5,
  kVectorOfVariables = 6,
  kFunction = 7,
  kFunctionCall = 8,
  kExpression = 9,
  kExpressionView = 10,
};

// The payload of a Variable symbol of kind 0: the id of the variable adder that created the
// variable and the model index that adder returned for it.
struct VariableSymbol {
  std::uint64_t ownerId = 0;
  Index index = 0;
};

// The payload of a FunctionCall symbol: the called function and, for a variadic function, how
// often its last input repeats.
template <class T>
struct FunctionCallSymbol {
  const fn::Abstract<T>* function = nullptr;
  std::uint64_t repeatCount = 0;
};

// The variables of a vector: entry j of `indices` is the model index of the j-th variable, all
// created by the variable adder with id `ownerId`.
template <class T>
struct VectorOfVariablesSymbol {
  std::uint64_t ownerId = 0;
  idx::List indices;
};

template <class T>
class Symbol {
 public:
  // The number 0 (kind 3).
  Symbol() noexcept;

  static Symbol variable(std::uint64_t ownerId, Index index) noexcept;
  static Symbol numeric(T value) noexcept;
  static Symbol numericVector(Vector<T> vector) noexcept;
  static Symbol numericMatrix(Matrix<T> matrix) noexcept;
  static Symbol vectorOfVariables(std::shared_ptr<const VectorOfVariablesSymbol<T>> variables);
  static Symbol vectorOfVariables(std::uint64_t ownerId, idx::List indices);
  // The function must not be null ("Check Error" (3)); it must outlive every symbol naming it.
  static Symbol function(const fn::Abstract<T>* function);
  static Symbol functionCall(const fn::Abstract<T>* function, std::uint64_t repeatCount = 0);
  static Symbol expression(ExpressionSymbol<T> expression) noexcept;
  // A window of `size` symbols from `start` on; it must lie within the expression ("Check Error").
  static Symbol expressionView(ExpressionSymbol<T> expression, std::uint64_t start,
                               std::uint64_t size);
  // A symbol whose payload is two plain words: kinds 1 and 2, and kind bytes above 10. Any other
  // kind raises "Check Error" (1).
  static Symbol fromWords(std::uint8_t kind, std::uint64_t first, std::uint64_t second);

  Symbol(const Symbol& other) noexcept;
  // The moved-from symbol keeps its kind with a released payload.
  Symbol(Symbol&& other) noexcept;
  Symbol& operator=(const Symbol& other) noexcept;
  Symbol& operator=(Symbol&& other) noexcept;
  ~Symbol();

  [[nodiscard]] SymbolKind kind() const noexcept { return kind_; }
  [[nodiscard]] std::string_view name() const noexcept;
  [[nodiscard]] std::uint32_t dimension() const;
  // Releases the shared payload of kinds 4, 5, 6, 9 and 10; does nothing for the others.
  void freeSymbol() noexcept;

  // Payload accessors; each raises std::runtime_error "Invalid variant option" for another kind
  // (or a released payload).
  [[nodiscard]] VariableSymbol variable() const;             // kind 0
  [[nodiscard]] std::array<std::uint64_t, 2> words() const;  // kinds 1, 2, above 10
  [[nodiscard]] T numeric() const;                           // kind 3
  [[nodiscard]] const Vector<T>& numericVector() const;      // kind 4
  [[nodiscard]] const Matrix<T>& numericMatrix() const;      // kind 5
  [[nodiscard]] const VectorOfVariablesSymbol<T>& vectorOfVariables() const;  // kind 6
  // The payload of kind 6 without raising: null for another kind or a released payload.
  [[nodiscard]] const VectorOfVariablesSymbol<T>* vectorOfVariablesIf() const noexcept;
  [[nodiscard]] const fn::Abstract<T>& function() const;                // kinds 7 and 8
  [[nodiscard]] FunctionCallSymbol<T> functionCall() const;             // kind 8
  [[nodiscard]] const ExpressionSymbol<T>& expression() const;          // kind 9
  [[nodiscard]] const ExpressionViewSymbol<T>& expressionView() const;  // kind 10

 private:
  explicit Symbol(SymbolKind kind) noexcept : kind_(kind) {}
  void copyFrom(const Symbol& other) noexcept;
  void moveFrom(Symbol& other) noexcept;
  void release() noexcept;
  template <class P>
  P* payload() noexcept;
  template <class P>
  const P* payload() const noexcept;

  SymbolKind kind_;
  alignas(std::uint64_t) unsigned char payload_[2 * sizeof(std::uint64_t)] = {};
};

// A postfix expression: every FunctionCall symbol comes directly after its arguments (inputs
// first, then parameters), each argument a complete sub-expression; the last symbol is the root.
template <class T>
using Symbols = std::vector<Symbol<T>>;

extern template class Symbol<double>;

}  // namespace nuv::math

#endif  // NUV_MATH_SYMBOL_HPP_
