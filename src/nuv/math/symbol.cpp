#include "nuv/math/symbol.hpp"

#include <cstring>
#include <new>
#include <stdexcept>

#include "nuv/check.hpp"
#include "nuv/math/expression.hpp"
#include "nuv/math/fn/abstract.hpp"

namespace nuv::math {
namespace {

[[noreturn]] void throwInvalidOption() { throw std::runtime_error("Invalid variant option"); }

bool isShared(SymbolKind kind) {
  switch (kind) {
    case SymbolKind::kNumericVector:
    case SymbolKind::kNumericMatrix:
    case SymbolKind::kVectorOfVariables:
    case SymbolKind::kExpression:
    case SymbolKind::kExpressionView:
      return true;
    default:
      return false;
  }
}

template <class T>
using VariablesPtr = std::shared_ptr<const VectorOfVariablesSymbol<T>>;
template <class T>
using ViewPtr = std::shared_ptr<const ExpressionViewSymbol<T>>;

static_assert(sizeof(VariableSymbol) <= 16 && sizeof(FunctionCallSymbol<double>) <= 16 &&
                  sizeof(Vector<double>) <= 16 && sizeof(Matrix<double>) <= 16 &&
                  sizeof(VariablesPtr<double>) <= 16 && sizeof(ExpressionSymbol<double>) <= 16 &&
                  sizeof(ViewPtr<double>) <= 16,
              "every symbol payload must fit two 64-bit words");

}  // namespace

template <class T>
template <class P>
P* Symbol<T>::payload() noexcept {
  return std::launder(reinterpret_cast<P*>(payload_));
}

template <class T>
template <class P>
const P* Symbol<T>::payload() const noexcept {
  return std::launder(reinterpret_cast<const P*>(payload_));
}

template <class T>
Symbol<T>::Symbol() noexcept : kind_(SymbolKind::kNumeric) {
  new (payload_) T{};
}

template <class T>
Symbol<T> Symbol<T>::variable(std::uint64_t ownerId, Index index) noexcept {
  Symbol symbol(SymbolKind::kVariable);
  new (symbol.payload_) VariableSymbol{ownerId, index};
  return symbol;
}

template <class T>
Symbol<T> Symbol<T>::numeric(T value) noexcept {
  Symbol symbol(SymbolKind::kNumeric);
  new (symbol.payload_) T(value);
  return symbol;
}

template <class T>
Symbol<T> Symbol<T>::numericVector(Vector<T> vector) noexcept {
  Symbol symbol(SymbolKind::kNumericVector);
  new (symbol.payload_) Vector<T>(std::move(vector));
  return symbol;
}

template <class T>
Symbol<T> Symbol<T>::numericMatrix(Matrix<T> matrix) noexcept {
  Symbol symbol(SymbolKind::kNumericMatrix);
  new (symbol.payload_) Matrix<T>(std::move(matrix));
  return symbol;
}

template <class T>
Symbol<T> Symbol<T>::vectorOfVariables(
    std::shared_ptr<const VectorOfVariablesSymbol<T>> variables) {
  checkNotNull(variables, "variables");
  Symbol symbol(SymbolKind::kVectorOfVariables);
  new (symbol.payload_) VariablesPtr<T>(std::move(variables));
  return symbol;
}

template <class T>
Symbol<T> Symbol<T>::vectorOfVariables(std::uint64_t ownerId, idx::List indices) {
  return vectorOfVariables(std::make_shared<const VectorOfVariablesSymbol<T>>(
      VectorOfVariablesSymbol<T>{ownerId, std::move(indices)}));
}

template <class T>
Symbol<T> Symbol<T>::function(const fn::Abstract<T>* function) {
  checkNotNull(function, "function");
  Symbol symbol(SymbolKind::kFunction);
  new (symbol.payload_) FunctionCallSymbol<T>{function, 0};
  return symbol;
}

template <class T>
Symbol<T> Symbol<T>::functionCall(const fn::Abstract<T>* function, std::uint64_t repeatCount) {
  checkNotNull(function, "function");
  Symbol symbol(SymbolKind::kFunctionCall);
  new (symbol.payload_) FunctionCallSymbol<T>{function, repeatCount};
  return symbol;
}

template <class T>
Symbol<T> Symbol<T>::expression(ExpressionSymbol<T> expression) noexcept {
  Symbol symbol(SymbolKind::kExpression);
  new (symbol.payload_) ExpressionSymbol<T>(std::move(expression));
  return symbol;
}

template <class T>
Symbol<T> Symbol<T>::expressionView(ExpressionSymbol<T> expression, std::uint64_t start,
                                    std::uint64_t size) {
  // Checks that the window lies within the expression before sharing it.
  static_cast<void>(ExpressionView<T>(expression, start, size));
  Symbol symbol(SymbolKind::kExpressionView);
  new (symbol.payload_) ViewPtr<T>(std::make_shared<const ExpressionViewSymbol<T>>(
      ExpressionViewSymbol<T>{std::move(expression), start, size}));
  return symbol;
}

template <class T>
Symbol<T> Symbol<T>::fromWords(std::uint8_t kind, std::uint64_t first, std::uint64_t second) {
  checkTrue(kind == 1 || kind == 2 || kind > 10, "kind == 1 || kind == 2 || kind > 10");
  Symbol symbol(static_cast<SymbolKind>(kind));
  new (symbol.payload_) std::array<std::uint64_t, 2>{first, second};
  return symbol;
}

template <class T>
Symbol<T>::Symbol(const Symbol& other) noexcept : kind_(other.kind_) {
  copyFrom(other);
}

template <class T>
Symbol<T>::Symbol(Symbol&& other) noexcept : kind_(other.kind_) {
  moveFrom(other);
}

template <class T>
Symbol<T>& Symbol<T>::operator=(const Symbol& other) noexcept {
  if (this != &other) {
    release();
    kind_ = other.kind_;
    copyFrom(other);
  }
  return *this;
}

template <class T>
Symbol<T>& Symbol<T>::operator=(Symbol&& other) noexcept {
  if (this != &other) {
    release();
    kind_ = other.kind_;
    moveFrom(other);
  }
  return *this;
}

template <class T>
Symbol<T>::~Symbol() {
  release();
}

// Shared payloads are copied through their own copy constructors (raising the count); plain
// payloads are copied word by word.
template <class T>
void Symbol<T>::copyFrom(const Symbol& other) noexcept {
  switch (kind_) {
    case SymbolKind::kNumericVector:
      new (payload_) Vector<T>(*other.payload<Vector<T>>());
      break;
    case SymbolKind::kNumericMatrix:
      new (payload_) Matrix<T>(*other.payload<Matrix<T>>());
      break;
    case SymbolKind::kVectorOfVariables:
      new (payload_) VariablesPtr<T>(*other.payload<VariablesPtr<T>>());
      break;
    case SymbolKind::kExpression:
      new (payload_) ExpressionSymbol<T>(*other.payload<ExpressionSymbol<T>>());
      break;
    case SymbolKind::kExpressionView:
      new (payload_) ViewPtr<T>(*other.payload<ViewPtr<T>>());
      break;
    default:
      std::memcpy(payload_, other.payload_, sizeof(payload_));
      break;
  }
}

// A moved shared payload leaves an empty one behind in other.
template <class T>
void Symbol<T>::moveFrom(Symbol& other) noexcept {
  switch (kind_) {
    case SymbolKind::kNumericVector:
      new (payload_) Vector<T>(std::move(*other.payload<Vector<T>>()));
      break;
    case SymbolKind::kNumericMatrix:
      new (payload_) Matrix<T>(std::move(*other.payload<Matrix<T>>()));
      break;
    case SymbolKind::kVectorOfVariables:
      new (payload_) VariablesPtr<T>(std::move(*other.payload<VariablesPtr<T>>()));
      break;
    case SymbolKind::kExpression:
      new (payload_) ExpressionSymbol<T>(std::move(*other.payload<ExpressionSymbol<T>>()));
      break;
    case SymbolKind::kExpressionView:
      new (payload_) ViewPtr<T>(std::move(*other.payload<ViewPtr<T>>()));
      break;
    default:
      std::memcpy(payload_, other.payload_, sizeof(payload_));
      break;
  }
}

template <class T>
void Symbol<T>::release() noexcept {
  switch (kind_) {
    case SymbolKind::kNumericVector:
      payload<Vector<T>>()->~Vector<T>();
      break;
    case SymbolKind::kNumericMatrix:
      payload<Matrix<T>>()->~Matrix<T>();
      break;
    case SymbolKind::kVectorOfVariables:
      payload<VariablesPtr<T>>()->~VariablesPtr<T>();
      break;
    case SymbolKind::kExpression:
      payload<ExpressionSymbol<T>>()->~ExpressionSymbol<T>();
      break;
    case SymbolKind::kExpressionView:
      payload<ViewPtr<T>>()->~ViewPtr<T>();
      break;
    default:
      break;
  }
}

template <class T>
void Symbol<T>::freeSymbol() noexcept {
  if (!isShared(kind_)) return;
  // Leaves an empty payload of the same kind behind, so that a second release is harmless.
  release();
  switch (kind_) {
    case SymbolKind::kNumericVector:
      new (payload_) Vector<T>();
      break;
    case SymbolKind::kNumericMatrix:
      new (payload_) Matrix<T>();
      break;
    case SymbolKind::kVectorOfVariables:
      new (payload_) VariablesPtr<T>();
      break;
    case SymbolKind::kExpression:
      new (payload_) ExpressionSymbol<T>();
      break;
    default:
      new (payload_) ViewPtr<T>();
      break;
  }
}

template <class T>
std::string_view Symbol<T>::name() const noexcept {
  switch (kind_) {
    case SymbolKind::kVariable:
    case SymbolKind::kVariableVector:
    case SymbolKind::kVariableMatrix:
      return "Variable";
    case SymbolKind::kNumeric:
    case SymbolKind::kNumericVector:
    case SymbolKind::kNumericMatrix:
      return "Numeric";
    case SymbolKind::kVectorOfVariables:
      return "VectorOfVariables";
    case SymbolKind::kFunction:
      return "Function";
    case SymbolKind::kFunctionCall:
      return "FunctionCall";
    case SymbolKind::kExpression:
      return "Expression";
    case SymbolKind::kExpressionView:
      return "ExpressionView";
  }
  return {};
}

template <class T>
std::uint32_t Symbol<T>::dimension() const {
  switch (kind_) {
    case SymbolKind::kVariableVector:
    case SymbolKind::kNumericVector:
    case SymbolKind::kVectorOfVariables:
      return 1;
    case SymbolKind::kVariableMatrix:
    case SymbolKind::kNumericMatrix:
      return 2;
    case SymbolKind::kFunction:
    case SymbolKind::kFunctionCall:
      return payload<FunctionCallSymbol<T>>()->function->dimension();
    case SymbolKind::kExpression: {
      const Symbols<T>* sequence = payload<ExpressionSymbol<T>>()->sequence();
      return sequence == nullptr || sequence->empty() ? 0 : sequence->back().dimension();
    }
    case SymbolKind::kExpressionView: {
      const ViewPtr<T>& record = *payload<ViewPtr<T>>();
      if (!record || record->size == 0) return 0;
      const ExpressionView<T> window = record->view();
      return window[window.size() - 1].dimension();
    }
    default:
      return 0;
  }
}

template <class T>
VariableSymbol Symbol<T>::variable() const {
  if (kind_ != SymbolKind::kVariable) throwInvalidOption();
  return *payload<VariableSymbol>();
}

template <class T>
std::array<std::uint64_t, 2> Symbol<T>::words() const {
  const auto byte = static_cast<std::uint8_t>(kind_);
  if (byte != 1 && byte != 2 && byte <= 10) throwInvalidOption();
  return *payload<std::array<std::uint64_t, 2>>();
}

template <class T>
T Symbol<T>::numeric() const {
  if (kind_ != SymbolKind::kNumeric) throwInvalidOption();
  return *payload<T>();
}

template <class T>
const Vector<T>& Symbol<T>::numericVector() const {
  if (kind_ != SymbolKind::kNumericVector) throwInvalidOption();
  return *payload<Vector<T>>();
}

template <class T>
const Matrix<T>& Symbol<T>::numericMatrix() const {
  if (kind_ != SymbolKind::kNumericMatrix) throwInvalidOption();
  return *payload<Matrix<T>>();
}

template <class T>
const VectorOfVariablesSymbol<T>& Symbol<T>::vectorOfVariables() const {
  if (kind_ != SymbolKind::kVectorOfVariables) throwInvalidOption();
  const VariablesPtr<T>& variables = *payload<VariablesPtr<T>>();
  if (!variables) throwInvalidOption();
  return *variables;
}

template <class T>
const VectorOfVariablesSymbol<T>* Symbol<T>::vectorOfVariablesIf() const noexcept {
  if (kind_ != SymbolKind::kVectorOfVariables) return nullptr;
  return payload<VariablesPtr<T>>()->get();
}

template <class T>
const fn::Abstract<T>& Symbol<T>::function() const {
  if (kind_ != SymbolKind::kFunction && kind_ != SymbolKind::kFunctionCall) throwInvalidOption();
  return *payload<FunctionCallSymbol<T>>()->function;
}

template <class T>
FunctionCallSymbol<T> Symbol<T>::functionCall() const {
  if (kind_ != SymbolKind::kFunctionCall) throwInvalidOption();
  return *payload<FunctionCallSymbol<T>>();
}

template <class T>
const ExpressionSymbol<T>& Symbol<T>::expression() const {
  if (kind_ != SymbolKind::kExpression) throwInvalidOption();
  return *payload<ExpressionSymbol<T>>();
}

template <class T>
const ExpressionViewSymbol<T>& Symbol<T>::expressionView() const {
  if (kind_ != SymbolKind::kExpressionView) throwInvalidOption();
  const ViewPtr<T>& record = *payload<ViewPtr<T>>();
  if (!record) throwInvalidOption();
  return *record;
}

template class Symbol<double>;

}  // namespace nuv::math
