#include "nlp/formula.hpp"

#include <xprs.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "library.hpp"

namespace xprs::standin {

namespace {

using Op = Formula::Op;

constexpr int kMarker = -1;

bool integral(double v) { return std::isfinite(v) && v == std::floor(v); }

bool builtIn(double v, Op* op) {
  // Within int's range before the conversion: any double may come in.
  if (!integral(v) || std::fabs(v) > 1e6) return false;
  switch (static_cast<int>(v)) {
    case XPRS_IFUN_LOG10:
      *op = Op::Log10;
      return true;
    case XPRS_IFUN_LN:
      *op = Op::Ln;
      return true;
    case XPRS_IFUN_EXP:
      *op = Op::Exp;
      return true;
    case XPRS_IFUN_ABS:
      *op = Op::Abs;
      return true;
    case XPRS_IFUN_SQRT:
      *op = Op::Sqrt;
      return true;
    case XPRS_IFUN_SIN:
      *op = Op::Sin;
      return true;
    case XPRS_IFUN_COS:
      *op = Op::Cos;
      return true;
    case XPRS_IFUN_TAN:
      *op = Op::Tan;
      return true;
    case XPRS_IFUN_ARCSIN:
      *op = Op::ArcSin;
      return true;
    case XPRS_IFUN_ARCCOS:
      *op = Op::ArcCos;
      return true;
    case XPRS_IFUN_ARCTAN:
      *op = Op::ArcTan;
      return true;
    case XPRS_IFUN_MIN:
      *op = Op::Min;
      return true;
    case XPRS_IFUN_MAX:
      *op = Op::Max;
      return true;
    case XPRS_IFUN_SIGN:
      *op = Op::Sign;
      return true;
    case XPRS_IFUN_ERF:
      *op = Op::Erf;
      return true;
    case XPRS_IFUN_ERFC:
      *op = Op::Erfc;
      return true;
    default:
      return false;
  }
}

// pow's derivatives, with the limits that keep 0 * inf out of them: a zero coefficient or a
// zero power gives a zero term.
double scaledPow(double coef, double u, double e) {
  return coef == 0.0 ? 0.0 : coef * std::pow(u, e);
}
double powLog(double p, double u, int order) {
  if (p == 0.0) return 0.0;
  const double l = std::log(u);
  return order == 1 ? p * l : p * l * l;
}

constexpr double kTwoOverSqrtPi = 2.0 * std::numbers::inv_sqrtpi;

// The tree of a formula as its tokens build it, and the stack of values (node numbers and
// argument markers) that the next tokens take.
struct Compiler {
  std::vector<Formula::Node> nodes;
  std::vector<int> args;
  std::vector<int> stack;

  void push(const Formula::Node& n) {
    nodes.push_back(n);
    stack.push_back(static_cast<int>(nodes.size()) - 1);
  }

  void node(Op op, std::span<const int> children) {
    Formula::Node n;
    n.op = op;
    n.first = static_cast<int>(args.size());
    n.count = static_cast<int>(children.size());
    for (int c : children) {
      args.push_back(c);
      n.variable = n.variable || nodes[static_cast<std::size_t>(c)].variable;
    }
    push(n);
  }

  void end(std::size_t k, std::size_t tokens) {
    if (k + 1 != tokens) fail("token EOF before the end in token ", k);
    if (std::find(stack.begin(), stack.end(), kMarker) != stack.end()) {
      fail("argument marker without function at the end in token ", k);
    }
    if (stack.size() > 1) fail(stack.size(), " values left at the end in token ", k);
  }

  void constant(double v, std::size_t k) {
    if (!std::isfinite(v)) fail("invalid constant ", v, " in token ", k);
    Formula::Node n;
    n.constant = v;
    push(n);
  }

  void column(double v, int cols, std::size_t k) {
    if (!integral(v) || v < 0 || v >= cols) fail("invalid column ", v, " in token ", k);
    Formula::Node n;
    n.op = Op::Column;
    n.variable = true;
    n.first = static_cast<int>(v);
    push(n);
  }

  void op(double v, std::size_t k) {
    if (!integral(v) || v < XPRS_OP_UMINUS || v > XPRS_OP_MINUS) {
      fail("invalid operator ", v, " in token ", k);
    }
    const int code = static_cast<int>(v);
    const std::size_t arity = code == XPRS_OP_UMINUS ? 1 : 2;
    if (stack.size() < arity || std::find(stack.end() - static_cast<std::ptrdiff_t>(arity),
                                          stack.end(), kMarker) != stack.end()) {
      fail("operator ", code, " without ", arity == 1 ? "its operand" : "both operands",
           " in token ", k);
    }
    const std::vector<int> children(stack.end() - static_cast<std::ptrdiff_t>(arity), stack.end());
    stack.resize(stack.size() - arity);
    static constexpr Op kOps[] = {Op::Neg, Op::Pow, Op::Mul, Op::Div, Op::Add, Op::Sub};
    node(kOps[code - 1], children);
  }

  void function(double v, std::size_t k) {
    Op op = Op::Const;
    if (!builtIn(v, &op)) fail("unsupported internal function ", v, " in token ", k);
    const auto marker = std::find(stack.rbegin(), stack.rend(), kMarker);
    if (marker == stack.rend()) {
      fail("function ", v, " without argument marker in token ", k);
    }
    const std::vector<int> children(marker.base(), stack.end());
    const bool variadic = op == Op::Min || op == Op::Max;
    if (children.empty() || (!variadic && children.size() != 1)) {
      fail("function ", v, " with ", children.size(), " arguments in token ", k);
    }
    stack.erase(marker.base() - 1, stack.end());
    node(op, children);
  }
};

// The value of an operator or function of one argument at u.
double unaryValue(Op op, double u) {
  switch (op) {
    case Op::Neg:
      return -u;
    case Op::Log10:
      return std::log10(u);
    case Op::Ln:
      return std::log(u);
    case Op::Exp:
      return std::exp(u);
    case Op::Abs:
      return std::fabs(u);
    case Op::Sqrt:
      return std::sqrt(u);
    case Op::Sin:
      return std::sin(u);
    case Op::Cos:
      return std::cos(u);
    case Op::Tan:
      return std::tan(u);
    case Op::ArcSin:
      return std::asin(u);
    case Op::ArcCos:
      return std::acos(u);
    case Op::ArcTan:
      return std::atan(u);
    case Op::Sign:
      return std::isnan(u) ? u : static_cast<double>((u > 0) - (u < 0));
    case Op::Erf:
      return std::erf(u);
    case Op::Erfc:
      return std::erfc(u);
    default:
      return 0.0;
  }
}

// The value of a binary operator at (u, w).
double binaryValue(Op op, double u, double w) {
  switch (op) {
    case Op::Pow:
      // Squares are the common case (the plug-in writes Square as power 2).
      return w == 2.0 ? u * u : std::pow(u, w);
    case Op::Mul:
      return u * w;
    case Op::Div:
      return u / w;
    case Op::Add:
      return u + w;
    case Op::Sub:
      return u - w;
    default:
      return 0.0;
  }
}

// The derivative of an operator or function of one argument at u.
double unarySlope(Op op, double u) {
  switch (op) {
    case Op::Neg:
      return -1.0;
    case Op::Log10:
      return 1.0 / (u * std::numbers::ln10);
    case Op::Ln:
      return 1.0 / u;
    case Op::Exp:
      return std::exp(u);
    case Op::Abs:
      return static_cast<double>((u > 0) - (u < 0));
    case Op::Sqrt:
      return 0.5 / std::sqrt(u);
    case Op::Sin:
      return std::cos(u);
    case Op::Cos:
      return -std::sin(u);
    case Op::Tan: {
      const double t = std::tan(u);
      return 1.0 + t * t;
    }
    case Op::ArcSin:
      return 1.0 / std::sqrt(1.0 - u * u);
    case Op::ArcCos:
      return -1.0 / std::sqrt(1.0 - u * u);
    case Op::ArcTan:
      return 1.0 / (1.0 + u * u);
    case Op::Erf:
      return kTwoOverSqrtPi * std::exp(-u * u);
    case Op::Erfc:
      return -kTwoOverSqrtPi * std::exp(-u * u);
    default:
      return 0.0;
  }
}

// The partials of a binary operator at (u, w); variableExponent says whether a power's exponent
// depends on a column.
void binaryPartials(Op op, double u, double w, bool variableExponent, double* d) {
  switch (op) {
    case Op::Pow:
      d[0] = w == 2.0 ? 2.0 * u : scaledPow(w, u, w - 1.0);
      d[1] = variableExponent ? powLog(std::pow(u, w), u, 1) : 0.0;
      break;
    case Op::Mul:
      d[0] = w;
      d[1] = u;
      break;
    case Op::Div:
      d[0] = 1.0 / w;
      d[1] = -u / (w * w);
      break;
    case Op::Add:
      d[0] = 1.0;
      d[1] = 1.0;
      break;
    case Op::Sub:
      d[0] = 1.0;
      d[1] = -1.0;
      break;
    default:
      break;
  }
}

bool isBinary(Op op) {
  return op == Op::Pow || op == Op::Mul || op == Op::Div || op == Op::Add || op == Op::Sub;
}

}  // namespace

Formula Formula::compile(std::span<const int> type, std::span<const double> value, int cols) {
  Compiler c;
  for (std::size_t k = 0; k < type.size(); ++k) {
    const double v = value[k];
    switch (type[k]) {
      case XPRS_TOK_EOF:
        c.end(k, type.size());
        break;
      case XPRS_TOK_CON:
        c.constant(v, k);
        break;
      case XPRS_TOK_COL:
        c.column(v, cols, k);
        break;
      case XPRS_TOK_RB:
        c.stack.push_back(kMarker);
        break;
      case XPRS_TOK_OP:
        c.op(v, k);
        break;
      case XPRS_TOK_IFUN:
        c.function(v, k);
        break;
      case XPRS_TOK_LB:
        fail("left bracket in a parsed formula in token ", k);
      case XPRS_TOK_DEL:
        fail("unsupported delimiter in token ", k);
      case XPRS_TOK_FUN:
        fail("unsupported user function ", v, " in token ", k);
      default:
        fail("invalid token type ", type[k], " in token ", k);
    }
  }
  Formula f;
  f.nodes_ = std::move(c.nodes);
  f.args_ = std::move(c.args);
  for (const Node& n : f.nodes_) {
    if (n.op == Op::Column) f.columns_.push_back(n.first);
  }
  std::sort(f.columns_.begin(), f.columns_.end());
  f.columns_.erase(std::unique(f.columns_.begin(), f.columns_.end()), f.columns_.end());
  return f;
}

double Formula::evaluate(const double* x, std::vector<double>& values) const {
  values.resize(nodes_.size());
  for (std::size_t i = 0; i < nodes_.size(); ++i) {
    const Node& n = nodes_[i];
    const int* a = args_.data() + n.first;
    const double u = n.count > 0 ? values[static_cast<std::size_t>(a[0])] : 0.0;
    const double w = n.count > 1 ? values[static_cast<std::size_t>(a[1])] : 0.0;
    double r = 0.0;
    switch (n.op) {
      case Op::Const:
        r = n.constant;
        break;
      case Op::Column:
        r = x[n.first];
        break;
      case Op::Min:
      case Op::Max:
        r = u;
        for (int k = 1; k < n.count; ++k) {
          const double c = values[static_cast<std::size_t>(a[k])];
          r = n.op == Op::Min ? std::min(r, c) : std::max(r, c);
          if (std::isnan(c)) r = c;
        }
        break;
      default:
        r = isBinary(n.op) ? binaryValue(n.op, u, w) : unaryValue(n.op, u);
    }
    values[i] = r;
  }
  return values.empty() ? 0.0 : values.back();
}

void Formula::firstPartials(const Node& n, const double* values, double* d) const {
  const int* a = args_.data() + n.first;
  const double u = n.count > 0 ? values[a[0]] : 0.0;
  const double w = n.count > 1 ? values[a[1]] : 0.0;
  switch (n.op) {
    case Op::Const:
    case Op::Column:
      break;
    case Op::Min:
    case Op::Max: {
      int best = 0;
      for (int k = 0; k < n.count; ++k) {
        d[k] = 0.0;
        const double c = values[a[k]];
        const double b = values[a[best]];
        if (n.op == Op::Min ? c < b : c > b) best = k;
      }
      d[best] = 1.0;
      break;
    }
    default:
      if (isBinary(n.op)) {
        binaryPartials(n.op, u, w, nodes_[static_cast<std::size_t>(a[1])].variable, d);
      } else {
        d[0] = unarySlope(n.op, u);
      }
  }
}

int Formula::secondPartials(const Node& n, const double* values, int (*pairs)[2], double* s) const {
  const int* a = args_.data() + n.first;
  // Without values only the pairs matter; 1 keeps the arithmetic harmless.
  const double u = values && n.count > 0 ? values[a[0]] : 1.0;
  const double w = values && n.count > 1 ? values[a[1]] : 1.0;
  auto one = [&](double v) {
    pairs[0][0] = 0, pairs[0][1] = 0;
    s[0] = v;
    return 1;
  };
  switch (n.op) {
    case Op::Pow: {
      int k = 0;
      const bool base = nodes_[static_cast<std::size_t>(a[0])].variable;
      const bool exponent = nodes_[static_cast<std::size_t>(a[1])].variable;
      if (base) {
        pairs[k][0] = 0, pairs[k][1] = 0;
        s[k++] = scaledPow(w * (w - 1.0), u, w - 2.0);
      }
      if (base && exponent) {
        pairs[k][0] = 0, pairs[k][1] = 1;
        const double p = std::pow(u, w - 1.0);
        s[k++] = p == 0.0 ? 0.0 : p * (1.0 + w * std::log(u));
      }
      if (exponent) {
        pairs[k][0] = 1, pairs[k][1] = 1;
        s[k++] = powLog(std::pow(u, w), u, 2);
      }
      return k;
    }
    case Op::Mul:
      pairs[0][0] = 0, pairs[0][1] = 1;
      s[0] = 1.0;
      return 1;
    case Op::Div:
      pairs[0][0] = 0, pairs[0][1] = 1;
      s[0] = -1.0 / (w * w);
      pairs[1][0] = 1, pairs[1][1] = 1;
      s[1] = 2.0 * u / (w * w * w);
      return 2;
    case Op::Log10:
      return one(-1.0 / (u * u * std::numbers::ln10));
    case Op::Ln:
      return one(-1.0 / (u * u));
    case Op::Exp:
      return one(std::exp(u));
    case Op::Sqrt:
      return one(-0.25 / (u * std::sqrt(u)));
    case Op::Sin:
      return one(-std::sin(u));
    case Op::Cos:
      return one(-std::cos(u));
    case Op::Tan: {
      const double t = std::tan(u);
      return one(2.0 * t * (1.0 + t * t));
    }
    case Op::ArcSin: {
      const double q = 1.0 - u * u;
      return one(u / (q * std::sqrt(q)));
    }
    case Op::ArcCos: {
      const double q = 1.0 - u * u;
      return one(-u / (q * std::sqrt(q)));
    }
    case Op::ArcTan: {
      const double q = 1.0 + u * u;
      return one(-2.0 * u / (q * q));
    }
    case Op::Erf:
      return one(-2.0 * u * kTwoOverSqrtPi * std::exp(-u * u));
    case Op::Erfc:
      return one(2.0 * u * kTwoOverSqrtPi * std::exp(-u * u));
    default:
      // Linear or piecewise linear: no curvature.
      return 0;
  }
}

void Formula::gradient(const std::vector<double>& values, double scale,
                       std::vector<double>& adjoints, double* gradient) const {
  if (nodes_.empty()) return;
  adjoints.assign(nodes_.size(), 0.0);
  adjoints.back() = scale;
  double partials[64];
  std::vector<double> wide;
  for (std::size_t i = nodes_.size(); i-- > 0;) {
    const Node& n = nodes_[i];
    const double bar = adjoints[i];
    if (!n.variable || bar == 0.0) continue;
    if (n.op == Op::Column) {
      gradient[n.first] += bar;
      continue;
    }
    double* d = partials;
    if (n.count > 64) {
      wide.resize(static_cast<std::size_t>(n.count));
      d = wide.data();
    }
    firstPartials(n, values.data(), d);
    const int* a = args_.data() + n.first;
    for (int k = 0; k < n.count; ++k) adjoints[static_cast<std::size_t>(a[k])] += bar * d[k];
  }
}

}  // namespace xprs::standin
