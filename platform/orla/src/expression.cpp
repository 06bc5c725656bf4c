#include "expression.hpp"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "link_error.hpp"
#include "nuv/math/expression.hpp"
#include "nuv/math/fn/abstract.hpp"

namespace orla::detail {
namespace {

using nuv::math::Symbol;

enum class Op {
  kAdd,
  kSubtract,
  kMultiply,
  kDivide,
  kPower,
  kMin,
  kMax,
  kNegate,
  kAbs,
  kSign,
  kSin,
  kCos,
  kTan,
  kArcSin,
  kArcCos,
  kArcTan,
  kSquare,
  kExp,
  kErrf,
  kErrfCompl,
  kLog,
  kLog10,
  kSquareRoot,
};

constexpr std::uint32_t kScalarInputs[] = {0, 0};

class HostFunction final : public nuv::math::fn::Abstract<double> {
 public:
  HostFunction(nuv::Tag tag, Op op, int inputs, bool variadic)
      : tag_(tag), op_(op), inputs_(static_cast<std::size_t>(inputs)), variadic_(variadic) {}

  [[nodiscard]] nuv::Tag tag() const override { return tag_; }
  [[nodiscard]] std::uint32_t dimension() const override { return 0; }
  [[nodiscard]] std::span<const std::uint32_t> inputDimensions() const override {
    return std::span<const std::uint32_t>(kScalarInputs).first(inputs_);
  }
  [[nodiscard]] std::span<const std::uint8_t> paramTypes() const override { return {}; }
  [[nodiscard]] bool isVariadic() const override { return variadic_; }
  [[nodiscard]] std::uint64_t minVariadicCount() const override { return variadic_ ? 1 : 0; }
  [[nodiscard]] Symbol<double> evaluate(std::span<const Symbol<double>> args) const override;
  bool addTo(nuv::math::Symbols<double>* /*symbols*/, std::uint64_t /*count*/) const override {
    return false;
  }
  // Arguments a call takes: the fixed inputs, or the call's own count for a variadic one.
  [[nodiscard]] int arity(int argCount) const {
    return variadic_ ? argCount : static_cast<int>(inputs_);
  }

 private:
  nuv::Tag tag_;
  Op op_;
  std::size_t inputs_;
  bool variadic_;
};

Symbol<double> HostFunction::evaluate(std::span<const Symbol<double>> args) const {
  if (!validate(args)) throw LinkError("wrong arguments for " + std::string(tag_));
  std::vector<double> x;
  for (const Symbol<double>& arg : args) x.push_back(arg.numeric());
  double v = 0.0;
  switch (op_) {
    case Op::kAdd:
      v = x[0] + x[1];
      break;
    case Op::kSubtract:
      v = x[0] - x[1];
      break;
    case Op::kMultiply:
      v = x[0] * x[1];
      break;
    case Op::kDivide:
      v = x[0] / x[1];
      break;
    case Op::kPower:
      v = std::pow(x[0], x[1]);
      break;
    case Op::kMin:
      v = *std::min_element(x.begin(), x.end());
      break;
    case Op::kMax:
      v = *std::max_element(x.begin(), x.end());
      break;
    case Op::kNegate:
      v = -x[0];
      break;
    case Op::kAbs:
      v = std::fabs(x[0]);
      break;
    case Op::kSign:
      v = x[0] > 0 ? 1.0 : x[0] < 0 ? -1.0 : 0.0;
      break;
    case Op::kSin:
      v = std::sin(x[0]);
      break;
    case Op::kCos:
      v = std::cos(x[0]);
      break;
    case Op::kTan:
      v = std::tan(x[0]);
      break;
    case Op::kArcSin:
      v = std::asin(x[0]);
      break;
    case Op::kArcCos:
      v = std::acos(x[0]);
      break;
    case Op::kArcTan:
      v = std::atan(x[0]);
      break;
    case Op::kSquare:
      v = x[0] * x[0];
      break;
    case Op::kExp:
      v = std::exp(x[0]);
      break;
    case Op::kErrf:
      v = std::erf(x[0]);
      break;
    case Op::kErrfCompl:
      v = std::erfc(x[0]);
      break;
    case Op::kLog:
      v = std::log(x[0]);
      break;
    case Op::kLog10:
      v = std::log10(x[0]);
      break;
    case Op::kSquareRoot:
      v = std::sqrt(x[0]);
      break;
  }
  return Symbol<double>::numeric(v);
}

const std::vector<HostFunction>& functions() {
  static const std::vector<HostFunction> all = {
      {"nuv:function:basic:Add", Op::kAdd, 2, false},
      {"nuv:function:basic:Subtract", Op::kSubtract, 2, false},
      {"nuv:function:basic:Multiply", Op::kMultiply, 2, false},
      {"nuv:function:basic:Divide", Op::kDivide, 2, false},
      {"nuv:function:exponential:Power", Op::kPower, 2, false},
      // Powers too, as the solver takes them: the base, then the exponent.
      {"nuv:function:exponential:PowerConst", Op::kPower, 2, false},
      {"nuv:function:exponential:Power0", Op::kPower, 2, false},
      {"nuv:function:basic:Min", Op::kMin, 1, true},
      {"nuv:function:basic:Max", Op::kMax, 1, true},
      {"nuv:function:basic:Negate", Op::kNegate, 1, false},
      {"nuv:function:basic:Abs", Op::kAbs, 1, false},
      {"nuv:function:basic:Sign", Op::kSign, 1, false},
      {"nuv:function:trigonometric:Sin", Op::kSin, 1, false},
      {"nuv:function:trigonometric:Cos", Op::kCos, 1, false},
      {"nuv:function:trigonometric:Tan", Op::kTan, 1, false},
      {"nuv:function:trigonometric:ArcSin", Op::kArcSin, 1, false},
      {"nuv:function:trigonometric:ArcCos", Op::kArcCos, 1, false},
      {"nuv:function:trigonometric:ArcTan", Op::kArcTan, 1, false},
      {"nuv:function:exponential:Square", Op::kSquare, 1, false},
      {"nuv:function:exponential:Exp", Op::kExp, 1, false},
      {"nuv:function:exponential:Errf", Op::kErrf, 1, false},
      {"nuv:function:exponential:ErrfCompl", Op::kErrfCompl, 1, false},
      {"nuv:function:exponential:Log", Op::kLog, 1, false},
      {"nuv:function:exponential:Log10", Op::kLog10, 1, false},
      {"nuv:function:exponential:SquareRoot", Op::kSquareRoot, 1, false},
  };
  return all;
}

const HostFunction* hostFunction(std::string_view tag) {
  for (const HostFunction& f : functions()) {
    if (f.tag() == tag) return &f;
  }
  return nullptr;
}

}  // namespace

const nuv::math::fn::Abstract<double>* functionByTag(std::string_view tag) {
  return hostFunction(tag);
}

Symbol<double> expressionSymbol(std::span<const vopRec::Token> tokens, std::span<const int> columns,
                                std::uint64_t owner, std::string_view what) {
  const auto fail = [&](const std::string& why) {
    throw LinkError("the expression of " + std::string(what) + " " + why);
  };
  nuv::math::Symbols<double> symbols;
  symbols.reserve(tokens.size());
  long depth = 0;  // values the tokens so far leave
  for (const vopRec::Token& token : tokens) {
    switch (token.kind) {
      case vopRec::Token::Kind::kColumn:
        if (token.column < 0 || static_cast<std::size_t>(token.column) >= columns.size()) {
          fail("names column " + std::to_string(token.column) + ", which does not exist");
        }
        symbols.push_back(
            Symbol<double>::variable(owner, columns[static_cast<std::size_t>(token.column)]));
        ++depth;
        break;
      case vopRec::Token::Kind::kNumber:
        symbols.push_back(Symbol<double>::numeric(token.number));
        ++depth;
        break;
      case vopRec::Token::Kind::kCall: {
        const HostFunction* f = hostFunction(token.function);
        if (f == nullptr) fail("calls the unknown function '" + token.function + "'");
        const int arity = f->arity(token.argCount);
        if (arity < 1) fail("calls " + token.function + " without arguments");
        if (depth < arity) fail("calls " + token.function + " with too few arguments");
        const auto repeat = f->isVariadic() ? static_cast<std::uint64_t>(arity) : 0;
        symbols.push_back(Symbol<double>::functionCall(f, repeat));
        depth -= arity - 1;
        break;
      }
    }
  }
  if (depth != 1) fail("does not reduce to one value");
  return Symbol<double>::expression(nuv::math::ExpressionSymbol<double>(std::move(symbols)));
}

}  // namespace orla::detail
