#include "nlp/formula_hessian.hpp"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace xprs::standin {

namespace {

using Node = Formula::Node;
using Op = Formula::Op;

std::uint64_t key(int a, int b) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(a)) << 32) |
         static_cast<std::uint32_t>(b);
}

bool isLeaf(const Node& n) { return n.op == Op::Column; }

}  // namespace

FormulaHessian::FormulaHessian(const Formula& formula) {
  std::unordered_map<std::uint64_t, int> slots;
  sweep(formula, nullptr, 1.0, [&](int a, int b, double) {
    const auto [it, fresh] = slots.try_emplace(key(a, b), static_cast<int>(pattern_.size()));
    if (fresh) pattern_.emplace_back(a, b);
    sequence_.push_back(it->second);
  });
}

void FormulaHessian::accumulate(const Formula& formula, const std::vector<double>& values,
                                double weight, const int* target, double* out) {
  if (pattern_.empty() || weight == 0.0) return;
  // The sweep takes the same steps as the structure sweep did, so its contributions come in
  // the order recorded then.
  std::size_t k = 0;
  sweep(formula, values.data(), weight,
        [&](int, int, double v) { out[target[sequence_[k++]]] += v; });
}

// A pair {a, b} of nodes stands for the two symmetric entries (a, b) and (b, a) of the
// second-order adjoint matrix; it waits at the higher-numbered of its non-column nodes, which
// the sweep reaches first. A pair of two column nodes is final and goes to the columns' entry.
template <class Emit>
void FormulaHessian::addPair(const Formula& formula, int a, int b, double v, Emit& emit) {
  const std::vector<Node>& nodes = formula.nodes();
  const Node& na = nodes[static_cast<std::size_t>(a)];
  const Node& nb = nodes[static_cast<std::size_t>(b)];
  if (isLeaf(na) && isLeaf(nb)) {
    const int ca = std::max(na.first, nb.first);
    const int cb = std::min(na.first, nb.first);
    // Two nodes of one column put both symmetric entries on its diagonal.
    emit(ca, cb, a != b && ca == cb ? 2.0 * v : v);
    return;
  }
  int owner = a;
  int other = b;
  if (isLeaf(na) || (!isLeaf(nb) && b > a)) std::swap(owner, other);
  pairs_[static_cast<std::size_t>(owner)].emplace_back(other, v);
}

template <class Emit>
void FormulaHessian::sweep(const Formula& formula, const double* values, double weight,
                           Emit&& emit) {
  const std::vector<Node>& nodes = formula.nodes();
  if (nodes.empty() || !nodes.back().variable) return;
  const bool structure = values == nullptr;
  if (structure) reached_.assign(nodes.size(), 0);
  adjoints_.assign(nodes.size(), 0.0);
  adjoints_.back() = weight;
  pairs_.resize(nodes.size());
  int second[Formula::kMaxSecondPairs][2];
  double secondValues[Formula::kMaxSecondPairs];
  for (std::size_t i = nodes.size(); i-- > 0;) {
    const Node& n = nodes[i];
    auto& own = pairs_[i];
    if (!n.variable || isLeaf(n)) continue;
    const double bar = adjoints_[i];
    // In the structure sweep the adjoints count the paths from the root, so 0 means none; the
    // numeric sweep follows the steps the structure sweep took, whatever its values.
    if (structure) reached_[i] = bar != 0.0;
    const bool reached = reached_[i] != 0;
    const std::span<const int> args = formula.args(n);
    // Sign is flat; through any other node derivatives may pass.
    const bool passes = n.op != Op::Sign;
    partials_.resize(args.size());
    if (structure) {
      std::fill(partials_.begin(), partials_.end(), passes ? 1.0 : 0.0);
    } else {
      formula.firstPartials(n, values, partials_.data());
    }
    // Merge the pairs waiting here by partner, then push them down.
    std::sort(own.begin(), own.end(),
              [](const auto& x, const auto& y) { return x.first < y.first; });
    double diagonal = 0.0;
    bool hasDiagonal = false;
    for (std::size_t k = 0; k < own.size();) {
      const int p = own[k].first;
      double v = 0.0;
      for (; k < own.size() && own[k].first == p; ++k) v += own[k].second;
      if (p == static_cast<int>(i)) {
        diagonal = v;
        hasDiagonal = true;
        continue;
      }
      for (std::size_t j = 0; passes && j < args.size(); ++j) {
        const int c = args[j];
        const double d = partials_[j];
        if (!nodes[static_cast<std::size_t>(c)].variable) continue;
        addPair(formula, c, p, c == p ? 2.0 * d * v : d * v, emit);
      }
    }
    if (hasDiagonal && passes) {
      for (std::size_t j = 0; j < args.size(); ++j) {
        if (!nodes[static_cast<std::size_t>(args[j])].variable) continue;
        for (std::size_t k = j; k < args.size(); ++k) {
          if (!nodes[static_cast<std::size_t>(args[k])].variable) continue;
          addPair(formula, args[j], args[k], partials_[j] * partials_[k] * diagonal, emit);
        }
      }
    }
    own.clear();
    if (reached) {
      const int count = formula.secondPartials(n, values, second, secondValues);
      for (int k = 0; k < count; ++k) {
        const int a = args[static_cast<std::size_t>(second[k][0])];
        const int b = args[static_cast<std::size_t>(second[k][1])];
        if (!nodes[static_cast<std::size_t>(a)].variable ||
            !nodes[static_cast<std::size_t>(b)].variable) {
          continue;
        }
        addPair(formula, a, b, bar * secondValues[k], emit);
      }
    }
    for (std::size_t j = 0; j < args.size(); ++j) {
      adjoints_[static_cast<std::size_t>(args[j])] += bar * partials_[j];
    }
  }
  // Pairs left at column nodes were emitted when they were made; constant nodes hold none.
}

}  // namespace xprs::standin
