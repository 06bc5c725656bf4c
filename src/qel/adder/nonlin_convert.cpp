#include "qel/adder/nonlin_convert.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "nuv/math/array/vector_data.hpp"
#include "nuv/math/fn/abstract.hpp"
#include "nuv/math/fn/linear.hpp"
#include "nuv/math/symbol.hpp"
#include "nuv/num_cast.hpp"
#include "nuv/opt/support_exception.hpp"
#include "qel/data.hpp"
#include "qel/supported_functions.hpp"

namespace qel::detail {
namespace {

using Kind = nuv::math::SymbolKind;
using Symbol = nuv::math::Symbol<double>;
using View = nuv::math::ExpressionView<double>;

// Token types besides those of the function table, and the values the conversion looks at.
constexpr int kTokenEnd = 0;
constexpr int kTokenConstant = 1;
constexpr int kTokenColumn = 10;
constexpr int kTokenMarker = 22;
constexpr int kPower = 2;
constexpr int kMultiply = 3;
constexpr int kDivide = 4;
constexpr int kAdd = 5;
constexpr int kSubtract = 6;
constexpr int kMin = 33;
constexpr int kMax = 34;

nuv::opt::SupportException unsupportedVariable() {
  return nuv::opt::SupportException("Input expression contains unsupported variable.", {});
}

nuv::opt::SupportException unsupportedFunction(std::string_view tag) {
  return nuv::opt::SupportException(std::string("Function not supported: ").append(tag), {});
}

nuv::opt::SupportException unsupportedSymbol(std::string_view name, std::string_view note = {}) {
  return nuv::opt::SupportException(
      std::string("Expression contains unsupported symbol: ").append(name).append(note), {});
}

// Stack places a token takes minus those it leaves when the formula is evaluated; a marker holds
// a place until its function takes it. A complete argument thus weighs -1.
int weight(int type, double value) {
  switch (type) {
    case kTokenConstant:
    case kTokenColumn:
    case kTokenMarker:
      return -1;
    case kTokenOperator:
    case kTokenFunction: {
      const int code = static_cast<int>(value);
      if (code == kMin || code == kMax) return 2;
      const bool binary = code >= kPower && code <= kSubtract;
      const bool builtIn = (code >= 14 && code <= 18) || (code >= 27 && code <= 32) || code == 46 ||
                           code == 49 || code == 50;
      return binary || builtIn ? 1 : 0;
    }
    default:
      return 0;
  }
}

// The formula being appended to the caller's arrays; its tokens begin at start.
class Formula {
 public:
  Formula(Data* data, std::vector<int>* types, std::vector<double>* values)
      : data_(data), types_(types), values_(values), start_(types->size()) {}

  void append(int type, double value, std::uint64_t times = 1) {
    types_->insert(types_->end(), times, type);
    values_->insert(values_->end(), times, value);
  }

  void variable(const Symbol& symbol) {
    const nuv::math::VariableSymbol variable = symbol.variable();
    if (variable.ownerId != data_->varAdderId) throw unsupportedVariable();
    append(kTokenColumn, variable.index);
  }

  // The group x a b linear at position i of frame becomes a column w bound to a·x + b by an
  // equality row, and the token of w.
  void linearFunction(const View& frame, std::uint64_t i) {
    const Symbol& x = frame[i];
    if (i + 3 >= frame.size() || frame[i + 1].kind() != Kind::kNumericVector ||
        frame[i + 2].kind() != Kind::kNumeric || frame[i + 3].kind() != Kind::kFunctionCall ||
        frame[i + 3].function().tag() != nuv::math::fn::Linear<double>::kTag) {
      throw unsupportedSymbol(x.name(), " (only as argument of linear function)");
    }
    const nuv::math::VectorOfVariablesSymbol<double>& variables = x.vectorOfVariables();
    if (variables.ownerId != data_->varAdderId) throw unsupportedVariable();
    const nuv::math::VectorData<double> a =
        frame[i + 1].numericVector().data(nuv::math::VectorDataKind::kSparse);
    const std::size_t m = a.indexCount();
    std::vector<int> columns(m + 1);
    std::vector<double> coefficients(m + 1);
    const std::span<int> positions(columns.data(), m);
    a.copyIndices(positions);
    a.copyValues(std::span<double>(coefficients.data(), m));
    const nuv::Index size = variables.indices.size();
    if (std::ranges::any_of(positions, [size](int p) { return p < 0 || p >= size; })) {
      throw unsupportedVariable();
    }
    variables.indices.asMap(positions);

    const double lower = XPRS_MINUSINFINITY;
    const double upper = XPRS_PLUSINFINITY;
    data_->prob->addCols(1, 0, nullptr, nullptr, nullptr, nullptr, &lower, &upper);
    const int w = data_->addVar(1).first();
    columns[m] = w;
    coefficients[m] = -1.0;
    const char type = 'E';
    const double rhs = -frame[i + 2].numeric();
    const XPRSint64 start = 0;
    data_->prob->addRows(1, static_cast<XPRSint64>(m + 1), &type, &rhs, nullptr, &start,
                         columns.data(), coefficients.data());
    data_->addLinCon(1);
    append(kTokenColumn, w);
  }

  void call(const Symbol& symbol) {
    const nuv::math::FunctionCallSymbol<double> call = symbol.functionCall();
    const nuv::math::fn::Abstract<double>& function = *call.function;
    const std::string_view tag = function.tag();
    const auto entry = supported_functions.find(tag);
    if (entry == supported_functions.end()) throw unsupportedFunction(tag);
    // Inputs (a variadic function repeats its last one) and parameters; each argument has at
    // least one token in this formula, which also bounds what a malformed count can emit.
    const std::uint64_t available = types_->size() - start_;
    std::uint64_t k = function.inputDimensions().size() + function.paramTypes().size();
    if (function.isVariadic()) {
      if (call.repeatCount > available) throw unsupportedFunction(tag);
      k = (k + call.repeatCount == 0) ? 0 : k + call.repeatCount - 1;
    }
    if (k == 0 || k > available) throw unsupportedFunction(tag);

    const auto [type, value] = entry->second;
    if (type == kTokenFunction) insertMarkers(k, value, tag);
    switch (value) {
      case kMultiply:
      case kAdd:
      case kMin:
      case kMax:
        append(type, value, k - 1);
        break;
      case kDivide:
      case kSubtract:
        // Left to right: u1 - u2 - u3 is u1 - (u2 + u3), u1 / u2 / u3 is u1 / (u2 * u3).
        if (k >= 2) {
          append(type, value == kDivide ? kMultiply : kAdd, k - 2);
          append(type, value);
        }
        break;
      case kSquareMark:
        append(kTokenConstant, 2.0);
        append(kTokenOperator, kPower);
        break;
      default:
        append(type, value);
        break;
    }
  }

 private:
  // Puts the markers of a built-in function with k arguments before the first token of its
  // first argument, found by walking back over this formula's tokens until k complete arguments
  // are passed.
  void insertMarkers(std::uint64_t k, int value, std::string_view tag) {
    auto remaining = static_cast<std::int64_t>(k);
    std::size_t p = types_->size();
    while (remaining != 0) {
      if (p == start_) throw unsupportedFunction(tag);
      --p;
      remaining += weight((*types_)[p], (*values_)[p]);
    }
    const std::uint64_t markers = value == kMin || value == kMax ? k - 1 : 1;
    const auto at = static_cast<std::ptrdiff_t>(p);
    types_->insert(types_->begin() + at, markers, kTokenMarker);
    values_->insert(values_->begin() + at, markers, 0.0);
  }

  Data* data_;
  std::vector<int>* types_;
  std::vector<double>* values_;
  std::size_t start_;
};

}  // namespace

void nonlinConvert(Data* data, std::vector<int>* types, std::vector<double>* values,
                   nuv::math::ExpressionView<double> expression) {
  Formula formula(data, types, values);
  // Frames still to walk, the innermost last; no recursion, so nesting is bounded by memory only.
  std::vector<View> frames{expression};
  while (!frames.empty()) {
    const View frame = frames.back();
    frames.pop_back();
    for (std::uint64_t i = 0; i < frame.size(); ++i) {
      const Symbol& symbol = frame[i];
      switch (symbol.kind()) {
        case Kind::kVariable:
          formula.variable(symbol);
          break;
        case Kind::kNumeric:
          formula.append(kTokenConstant, symbol.numeric());
          break;
        case Kind::kFunctionCall:
          formula.call(symbol);
          break;
        case Kind::kVectorOfVariables:
          formula.linearFunction(frame, i);
          i += 3;
          break;
        case Kind::kExpression:
          // The nested expression first, then the rest of this frame.
          frames.emplace_back(frame.sequence(), frame.start() + i + 1, frame.size() - i - 1);
          frames.push_back(symbol.expression().view());
          i = frame.size();
          break;
        default:
          throw unsupportedSymbol(symbol.name());
      }
    }
  }
  formula.append(kTokenEnd, 0.0);
}

void addFormulas(Data* data, std::span<const int> rows, std::span<const View> expressions) {
  // Room for every symbol's tokens and an end token each, with a margin for the expansions.
  std::size_t symbolCount = 100;
  for (const View& expression : expressions) symbolCount += expression.size() + 1;
  std::vector<int> types;
  std::vector<double> values;
  types.reserve(symbolCount);
  values.reserve(symbolCount);
  std::vector<int> starts(expressions.size() + 1, 0);
  for (std::size_t k = 0; k < expressions.size(); ++k) {
    nonlinConvert(data, &types, &values, expressions[k]);
    starts[k + 1] = static_cast<int>(types.size());
  }
  data->prob->nlpAddFormulas(nuv::numCast<int>(rows.size()), rows.data(), starts.data(),
                             /*parsed=*/1, types.data(), values.data());
}

}  // namespace qel::detail
