#include "nlp/nlp_model.hpp"

#include <xprs.h>

#include <algorithm>
#include <cmath>
#include <coin/CoinFinite.hpp>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <tuple>
#include <unordered_map>

#include "engine/engine.hpp"
#include "library.hpp"
#include "validate.hpp"

namespace xprs::standin {

namespace {

std::uint64_t pairKey(int a, int b) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(a)) << 32) |
         static_cast<std::uint32_t>(b);
}

bool allFinite(const double* v, std::size_t n) {
  return std::all_of(v, v + n, [](double e) { return std::isfinite(e); });
}

}  // namespace

NlpModel::NlpModel(const ModelRecord& m, bool integers) : sense_(m.sense) {
  if (m.objectives.size() > 1) {
    fail("several objectives cannot be solved together with quadratic rows or formulas");
  }
  const auto nc = static_cast<std::size_t>(m.cols());
  const auto nr = static_cast<std::size_t>(m.rows());
  colLb_.resize(nc);
  colUb_.resize(nc);
  integer_.assign(nc, 0);
  for (std::size_t j = 0; j < nc; ++j) {
    double lb = toEngine(m.colLb[j]);
    double ub = toEngine(m.colUb[j]);
    if (integers && (m.colType[j] == 'I' || m.colType[j] == 'B')) {
      integer_[j] = 1;
      if (lb > -COIN_DBL_MAX && lb < COIN_DBL_MAX) lb = std::ceil(lb - 1e-9);
      if (ub > -COIN_DBL_MAX && ub < COIN_DBL_MAX) ub = std::floor(ub + 1e-9);
    }
    colLb_[j] = lb;
    colUb_[j] = ub;
    if (boundConflict_.empty() && (lb > ub || lb == COIN_DBL_MAX || ub == -COIN_DBL_MAX)) {
      boundConflict_ = text("column ", j, " has no value within its bounds");
    }
  }

  // Linear entries merged per row and column; zeros dropped.
  {
    std::vector<std::size_t> order(m.elemVal.size());
    for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
      return m.elemRow[a] != m.elemRow[b] ? m.elemRow[a] < m.elemRow[b]
                                          : m.elemCol[a] < m.elemCol[b];
    });
    linStart_.assign(nr + 1, 0);
    for (std::size_t k = 0; k < order.size();) {
      const int row = m.elemRow[order[k]];
      const int col = m.elemCol[order[k]];
      double sum = 0.0;
      for (; k < order.size() && m.elemRow[order[k]] == row && m.elemCol[order[k]] == col; ++k) {
        sum += m.elemVal[order[k]];
      }
      if (sum == 0.0) continue;
      linCol_.push_back(col);
      linValue_.push_back(sum);
      ++linStart_[static_cast<std::size_t>(row) + 1];
    }
    for (std::size_t i = 0; i < nr; ++i) linStart_[i + 1] += linStart_[i];
  }

  // x'Qx of the rows as product terms w x_a x_b, duplicates summed. A triplet (i, j, v) names
  // Q_ij of the symmetric Q, whichever triangle it is given in: with i != j it also stands for
  // Q_ji, so its product term is 2v x_i x_j; on the diagonal it is v x_i^2.
  {
    std::map<std::tuple<int, int, int>, double> merged;
    for (std::size_t k = 0; k < m.qVal.size(); ++k) {
      const int a = std::max(m.qCol1[k], m.qCol2[k]);
      const int b = std::min(m.qCol1[k], m.qCol2[k]);
      merged[{m.qRow[k], a, b}] += a == b ? m.qVal[k] : 2.0 * m.qVal[k];
    }
    for (const auto& [key, v] : merged) {
      if (v != 0.0) quad_.push_back({std::get<0>(key), std::get<1>(key), std::get<2>(key), v});
    }
  }

  const ObjectiveRecord& obj = m.objectives.front();
  objCoef_ = obj.coef;
  objConstant_ = -obj.rhs;
  for (const auto& [key, q] : m.objQ) {
    objQ_.push_back({key.second, key.first, q});
  }

  terms_.reserve(m.formulas.size());
  for (const FormulaRecord& rec : m.formulas) {
    Formula f = Formula::compile(rec.type, rec.value, m.cols());
    FormulaHessian h(f);
    terms_.push_back(
        {std::move(f), std::move(h), rec.row, rec.row < 0 ? 1.0 : 0.0, {}, {}, {}, 0.0});
  }
  substituteObjectiveRow(m);

  buildConstraints(m);
  buildJacobian();
  buildHessian();
  x_.assign(nc, 0.0);
  grad_.assign(nc, 0.0);
}

void NlpModel::substituteObjectiveRow(const ModelRecord& m) {
  if (!objQ_.empty()) return;
  int z = -1;
  for (std::size_t j = 0; j < objCoef_.size(); ++j) {
    if (objCoef_[j] == 0.0) continue;
    if (z >= 0) return;
    z = static_cast<int>(j);
  }
  if (z < 0) return;
  const auto zu = static_cast<std::size_t>(z);
  if (m.colType[zu] != 'C' || colLb_[zu] != -COIN_DBL_MAX || colUb_[zu] != COIN_DBL_MAX) return;
  for (const Term& t : terms_) {
    const std::vector<int>& cols = t.formula.columns();
    if (t.row < 0 || std::binary_search(cols.begin(), cols.end(), z)) return;
  }
  for (const QuadTerm& q : quad_) {
    if (q.a == z || q.b == z) return;
  }
  int row = -1;
  double a = 0.0;
  for (std::size_t r = 0; r + 1 < linStart_.size(); ++r) {
    for (int k = linStart_[r]; k < linStart_[r + 1]; ++k) {
      if (linCol_[static_cast<std::size_t>(k)] != z) continue;
      if (row >= 0) return;
      row = static_cast<int>(r);
      a = linValue_[static_cast<std::size_t>(k)];
    }
  }
  if (row < 0 || m.rowType[static_cast<std::size_t>(row)] != 'E' ||
      m.indicatorComplement[static_cast<std::size_t>(row)] != 0) {
    return;
  }
  const double rhs = m.rowRhs[static_cast<std::size_t>(row)];
  if (std::fabs(rhs) >= XPRS_PLUSINFINITY) return;
  // objective = c z with z = (rhs - rest) / a: constant c rhs / a, the rest scaled by -c / a.
  const double c = objCoef_[zu];
  const double scale = -c / a;
  objConstant_ += c * rhs / a;
  objCoef_[zu] = 0.0;
  for (int k = linStart_[static_cast<std::size_t>(row)];
       k < linStart_[static_cast<std::size_t>(row) + 1]; ++k) {
    const int j = linCol_[static_cast<std::size_t>(k)];
    if (j != z)
      objCoef_[static_cast<std::size_t>(j)] += scale * linValue_[static_cast<std::size_t>(k)];
  }
  for (QuadTerm& q : quad_) {
    if (q.row == row) q.objScale = scale;
  }
  for (Term& t : terms_) {
    if (t.row == row) t.objScale = scale;
  }
  objRow_ = row;
  objCol_ = z;
  objRowCoef_ = a;
  objRowDual_ = c / a;
  rhsOfObjRow_ = rhs;
  // The engines keep a fixed column as a constant; completePoint gives it its value.
  colLb_[zu] = colUb_[zu] = 0.0;
}

void NlpModel::completePoint(double* x) {
  if (objCol_ < 0) return;
  x[objCol_] = 0.0;
  at(x);
  std::vector<double> act(rowFirst_.size());
  rowActivities(act.data());
  x[objCol_] = (rhsOfObjRow_ - act[static_cast<std::size_t>(objRow_)]) / objRowCoef_;
}

void NlpModel::addConstraint(int row, double lb, double ub, int extraCol, double extraCoef) {
  conRow_.push_back(row);
  conLb_.push_back(lb);
  conUb_.push_back(ub);
  conExtraCol_.push_back(extraCol);
  conExtraCoef_.push_back(extraCoef);
}

bool NlpModel::repeatsRow(int r, double lo, double hi, int k, double klo, double khi) const {
  const auto ru = static_cast<std::size_t>(r), ku = static_cast<std::size_t>(k);
  const int n = linStart_[ru + 1] - linStart_[ru];
  if (n == 0 || n != linStart_[ku + 1] - linStart_[ku]) return false;
  const double* a = linValue_.data() + linStart_[ru];
  const double* b = linValue_.data() + linStart_[ku];
  const double f = a[0] / b[0];
  for (int e = 0; e < n; ++e) {
    if (linCol_[static_cast<std::size_t>(linStart_[ru] + e)] !=
            linCol_[static_cast<std::size_t>(linStart_[ku] + e)] ||
        a[e] != f * b[e]) {
      return false;
    }
  }
  // A bound of this row against f times the matching bound of row k; infinite with infinite.
  auto same = [f](double mine, double theirs) {
    const bool infinite = std::fabs(theirs) >= COIN_DBL_MAX;
    return infinite ? std::fabs(mine) >= COIN_DBL_MAX : mine == f * theirs;
  };
  return f > 0 ? same(lo, klo) && same(hi, khi) : same(lo, khi) && same(hi, klo);
}

void NlpModel::buildConstraints(const ModelRecord& m) {
  const auto nr = static_cast<std::size_t>(m.rows());
  rowFirst_.assign(nr, 0);
  rowCount_.assign(nr, 0);
  std::vector<char> hasFormula(nr, 0);
  for (const Term& t : terms_) {
    if (t.row >= 0) hasFormula[static_cast<std::size_t>(t.row)] = 1;
  }
  std::vector<char> nonlinear = hasFormula;
  for (const QuadTerm& q : quad_) nonlinear[static_cast<std::size_t>(q.row)] = 1;
  // A linear row that repeats an earlier one, bounds included (up to a factor), becomes no
  // constraint: the rank-deficient Jacobian of repeated equalities made Ipopt's restoration
  // phase give up near the answer. Rows are grouped by their columns and coefficients relative
  // to the first; the repeat keeps its activity and slack, and a dual of 0.
  std::unordered_multimap<std::size_t, int> linearRows;
  auto signature = [&](std::size_t i) {
    std::size_t h = 0;
    const double first = linValue_[static_cast<std::size_t>(linStart_[i])];
    for (int k = linStart_[i]; k < linStart_[i + 1]; ++k) {
      const auto u = static_cast<std::size_t>(k);
      h = h * 1000003u ^ std::hash<int>()(linCol_[u]);
      h = h * 1000003u ^ std::hash<double>()(linValue_[u] / first);
    }
    return h;
  };
  for (std::size_t i = 0; i < nr; ++i) {
    const int row = static_cast<int>(i);
    rowFirst_[i] = static_cast<int>(conRow_.size());
    if (row == objRow_) continue;
    const double rhs = m.rowRhs[i];
    double lo = -COIN_DBL_MAX;
    double hi = COIN_DBL_MAX;
    switch (m.rowType[i]) {
      case 'L':
        hi = toEngine(rhs);
        break;
      case 'G':
        lo = toEngine(rhs);
        break;
      case 'E':
        lo = hi = toEngine(rhs);
        break;
      case 'R':
        lo = isInfinite(m.rowRange[i]) ? -COIN_DBL_MAX : toEngine(rhs - std::fabs(m.rowRange[i]));
        hi = toEngine(rhs);
        break;
      default:
        continue;
    }
    const bool empty = lo > hi || lo == COIN_DBL_MAX || hi == -COIN_DBL_MAX;
    const int complement = m.indicatorComplement[i];
    if (complement == 0) {
      if (boundConflict_.empty() && empty) {
        boundConflict_ = text("row ", row, " has an infinite right-hand side on its binding side");
      }
      // A row without entries that admits 0 holds at every point and is no constraint. As an
      // equality it would make Ipopt take a model with as many equalities as columns for a
      // square system, and drop the objective.
      const bool noEntries = !nonlinear[i] && std::all_of(linValue_.begin() + linStart_[i],
                                                          linValue_.begin() + linStart_[i + 1],
                                                          [](double v) { return v == 0.0; });
      if (noEntries && lo <= 0.0 && hi >= 0.0) continue;
      if (!nonlinear[i] && !empty && linStart_[i + 1] > linStart_[i]) {
        const std::size_t key = signature(i);
        const auto [from, to] = linearRows.equal_range(key);
        const bool repeat = std::any_of(from, to, [&](const auto& seen) {
          const auto c = static_cast<std::size_t>(rowFirst_[static_cast<std::size_t>(seen.second)]);
          return repeatsRow(row, lo, hi, seen.second, conLb_[c], conUb_[c]);
        });
        if (repeat) continue;
        linearRows.emplace(key, row);
      }
      addConstraint(row, lo, hi, -1, 0.0);
      rowCount_[i] = 1;
      continue;
    }
    const int b = m.indicatorCol[i];
    const auto bu = static_cast<std::size_t>(b);
    const bool binary =
        m.colType[bu] == 'B' || (m.colType[bu] == 'I' && m.colLb[bu] >= 0.0 && m.colUb[bu] <= 1.0);
    if (!binary) fail("indicator column ", b, " of row ", row, " is not binary");
    if (hasFormula[i]) fail("indicator rows with formulas cannot be solved by this library");
    if (empty) fail("indicator row ", row, " has an infinite right-hand side on its binding side");
    const bool onOne = complement == 1;
    if (hi < COIN_DBL_MAX) {
      const double bigM = activityBound(row, /*upper=*/true) - hi;
      if (bigM > 0)
        addConstraint(row, -COIN_DBL_MAX, onOne ? hi + bigM : hi, b, onOne ? bigM : -bigM);
    }
    if (lo > -COIN_DBL_MAX) {
      const double bigM = lo - activityBound(row, /*upper=*/false);
      if (bigM > 0)
        addConstraint(row, onOne ? lo - bigM : lo, COIN_DBL_MAX, b, onOne ? -bigM : bigM);
    }
    rowCount_[i] = static_cast<int>(conRow_.size()) - rowFirst_[i];
  }
}

double NlpModel::activityBound(int row, bool upper) const {
  auto unbounded = [&](int j) {
    fail("indicator row ", row, " has no finite implied bound: column ", j, " is unbounded ",
         colUb_[static_cast<std::size_t>(j)] >= COIN_DBL_MAX ? "above" : "below");
  };
  auto finite = [&](int j) {
    const auto u = static_cast<std::size_t>(j);
    return colLb_[u] > -COIN_DBL_MAX && colUb_[u] < COIN_DBL_MAX;
  };
  double sum = 0.0;
  const auto r = static_cast<std::size_t>(row);
  for (int k = linStart_[r]; k < linStart_[r + 1]; ++k) {
    const int j = linCol_[static_cast<std::size_t>(k)];
    const double a = linValue_[static_cast<std::size_t>(k)];
    const double bound = (a > 0) == upper ? colUb_[static_cast<std::size_t>(j)]
                                          : colLb_[static_cast<std::size_t>(j)];
    if (std::fabs(bound) >= COIN_DBL_MAX) unbounded(j);
    sum += a * bound;
  }
  for (const QuadTerm& q : quad_) {
    if (q.row != row) continue;
    if (!finite(q.a)) unbounded(q.a);
    if (!finite(q.b)) unbounded(q.b);
    const double la = colLb_[static_cast<std::size_t>(q.a)];
    const double ua = colUb_[static_cast<std::size_t>(q.a)];
    const double lb = colLb_[static_cast<std::size_t>(q.b)];
    const double ub = colUb_[static_cast<std::size_t>(q.b)];
    double lo = 0.0;
    double hi = 0.0;
    if (q.a == q.b) {
      lo = la >= 0 ? la * la : ua <= 0 ? ua * ua : 0.0;
      hi = std::max(la * la, ua * ua);
    } else {
      const double p[] = {la * lb, la * ub, ua * lb, ua * ub};
      lo = *std::min_element(std::begin(p), std::end(p));
      hi = *std::max_element(std::begin(p), std::end(p));
    }
    sum += (q.value > 0) == upper ? q.value * hi : q.value * lo;
  }
  return sum;
}

void NlpModel::buildJacobian() {
  const std::size_t nc = conRow_.size();
  std::vector<std::vector<int>> cols(nc);
  for (std::size_t c = 0; c < nc; ++c) {
    const auto r = static_cast<std::size_t>(conRow_[c]);
    cols[c].assign(linCol_.begin() + linStart_[r], linCol_.begin() + linStart_[r + 1]);
    if (conExtraCol_[c] >= 0) cols[c].push_back(conExtraCol_[c]);
  }
  // Every constraint of a row holds the row's terms.
  auto eachCon = [&](int row, auto&& fn) {
    if (row < 0) return;
    const auto r = static_cast<std::size_t>(row);
    for (int s = 0; s < rowCount_[r]; ++s) fn(s, rowFirst_[r] + s);
  };
  for (const QuadTerm& q : quad_) {
    eachCon(q.row, [&](int, int c) {
      cols[static_cast<std::size_t>(c)].push_back(q.a);
      cols[static_cast<std::size_t>(c)].push_back(q.b);
    });
  }
  for (const Term& t : terms_) {
    eachCon(t.row, [&](int, int c) {
      auto& list = cols[static_cast<std::size_t>(c)];
      list.insert(list.end(), t.formula.columns().begin(), t.formula.columns().end());
    });
  }
  std::vector<int> base(nc + 1, 0);
  for (std::size_t c = 0; c < nc; ++c) {
    std::sort(cols[c].begin(), cols[c].end());
    cols[c].erase(std::unique(cols[c].begin(), cols[c].end()), cols[c].end());
    base[c + 1] = base[c] + static_cast<int>(cols[c].size());
    for (int j : cols[c]) {
      jacRow_.push_back(static_cast<int>(c));
      jacCol_.push_back(j);
    }
  }
  auto slot = [&](int c, int j) {
    const auto& list = cols[static_cast<std::size_t>(c)];
    return base[static_cast<std::size_t>(c)] +
           static_cast<int>(std::lower_bound(list.begin(), list.end(), j) - list.begin());
  };
  linSlot_.assign(linCol_.size(), Slots{-1, -1});
  for (std::size_t r = 0; r < rowFirst_.size(); ++r) {
    for (int k = linStart_[r]; k < linStart_[r + 1]; ++k) {
      const auto u = static_cast<std::size_t>(k);
      eachCon(static_cast<int>(r), [&](int s, int c) {
        linSlot_[u][static_cast<std::size_t>(s)] = slot(c, linCol_[u]);
      });
    }
  }
  conExtraSlot_.assign(nc, -1);
  for (std::size_t c = 0; c < nc; ++c) {
    if (conExtraCol_[c] >= 0) conExtraSlot_[c] = slot(static_cast<int>(c), conExtraCol_[c]);
  }
  nonlinearCon_.assign(nc, 0);
  for (QuadTerm& q : quad_) {
    eachCon(q.row, [&](int s, int c) {
      q.jacA[static_cast<std::size_t>(s)] = slot(c, q.a);
      q.jacB[static_cast<std::size_t>(s)] = slot(c, q.b);
      nonlinearCon_[static_cast<std::size_t>(c)] = 1;
    });
  }
  for (Term& t : terms_) {
    eachCon(t.row, [&](int, int c) {
      for (int j : t.formula.columns()) t.jac.push_back(slot(c, j));
      // A formula without second derivatives (a sum of columns, say) still counts as
      // nonlinear: its value need not be an affine function (abs, min, max).
      nonlinearCon_[static_cast<std::size_t>(c)] = 1;
    });
  }
}

void NlpModel::buildHessian() {
  std::unordered_map<std::uint64_t, int> slots;
  auto slot = [&](int a, int b) {
    const auto [it, fresh] = slots.try_emplace(pairKey(a, b), static_cast<int>(hessRow_.size()));
    if (fresh) {
      hessRow_.push_back(a);
      hessCol_.push_back(b);
    }
    return it->second;
  };
  for (ObjQTerm& q : objQ_) q.hess = slot(q.i, q.j);
  for (QuadTerm& q : quad_) {
    if (rowCount_[static_cast<std::size_t>(q.row)] > 0 || q.objScale != 0.0) {
      q.hess = slot(q.a, q.b);
    }
  }
  for (Term& t : terms_) {
    for (const auto& [a, b] : t.hessian.pattern()) t.hessSlots.push_back(slot(a, b));
  }
  nonlinearCol_.assign(colLb_.size(), 0);
  for (std::size_t k = 0; k < hessRow_.size(); ++k) {
    nonlinearCol_[static_cast<std::size_t>(hessRow_[k])] = 1;
    nonlinearCol_[static_cast<std::size_t>(hessCol_[k])] = 1;
  }
  // Columns inside piecewise-linear functions have no curvature but are not linear either.
  for (const Term& t : terms_) {
    for (const Formula::Node& n : t.formula.nodes()) {
      if (n.op == Formula::Op::Abs || n.op == Formula::Op::Min || n.op == Formula::Op::Max ||
          n.op == Formula::Op::Sign) {
        for (int j : t.formula.columns()) nonlinearCol_[static_cast<std::size_t>(j)] = 1;
        break;
      }
    }
  }
}

bool NlpModel::linearConstraint(int c) const { return !nonlinearCon_[static_cast<std::size_t>(c)]; }

bool NlpModel::linearColumn(int j) const { return !nonlinearCol_[static_cast<std::size_t>(j)]; }

bool NlpModel::at(const double* x) {
  const std::size_t n = x_.size();
  if (hasPoint_ && (n == 0 || std::memcmp(x, x_.data(), n * sizeof(double)) == 0)) return finite_;
  std::copy(x, x + n, x_.begin());
  hasPoint_ = true;
  finite_ = true;
  for (Term& t : terms_) {
    t.value = t.formula.evaluate(x_.data(), t.values);
    // Formulas of 'N' rows enter no engine, so their domain does not matter.
    const bool used =
        t.objScale != 0.0 || (t.row >= 0 && rowCount_[static_cast<std::size_t>(t.row)] > 0);
    if (used && !std::isfinite(t.value)) finite_ = false;
  }
  return finite_;
}

double NlpModel::objective() const {
  double v = objConstant_;
  for (std::size_t j = 0; j < objCoef_.size(); ++j) v += objCoef_[j] * x_[j];
  for (const ObjQTerm& q : objQ_) {
    const double xi = x_[static_cast<std::size_t>(q.i)];
    const double xj = x_[static_cast<std::size_t>(q.j)];
    v += q.i == q.j ? 0.5 * q.value * xi * xi : q.value * xi * xj;
  }
  for (const QuadTerm& q : quad_) {
    if (q.objScale != 0.0) {
      v += q.objScale * q.value * x_[static_cast<std::size_t>(q.a)] *
           x_[static_cast<std::size_t>(q.b)];
    }
  }
  for (const Term& t : terms_) {
    if (t.objScale != 0.0) v += t.objScale * t.value;
  }
  return v;
}

void NlpModel::objectiveGradient(double* g) {
  std::copy(objCoef_.begin(), objCoef_.end(), g);
  for (const ObjQTerm& q : objQ_) {
    const double xi = x_[static_cast<std::size_t>(q.i)];
    const double xj = x_[static_cast<std::size_t>(q.j)];
    if (q.i == q.j) {
      g[q.i] += q.value * xi;
    } else {
      g[q.i] += q.value * xj;
      g[q.j] += q.value * xi;
    }
  }
  for (const QuadTerm& q : quad_) {
    if (q.objScale == 0.0) continue;
    const double w = q.objScale * q.value;
    if (q.a == q.b) {
      g[q.a] += 2.0 * w * x_[static_cast<std::size_t>(q.a)];
    } else {
      g[q.a] += w * x_[static_cast<std::size_t>(q.b)];
      g[q.b] += w * x_[static_cast<std::size_t>(q.a)];
    }
  }
  for (const Term& t : terms_) {
    if (t.objScale != 0.0) t.formula.gradient(t.values, t.objScale, adjoints_, g);
  }
}

void NlpModel::rowActivities(double* act, bool sizes) const {
  const auto term = [sizes](double v) { return sizes ? std::fabs(v) : v; };
  const std::size_t nr = rowFirst_.size();
  for (std::size_t r = 0; r < nr; ++r) {
    double v = 0.0;
    for (int k = linStart_[r]; k < linStart_[r + 1]; ++k) {
      v += term(linValue_[static_cast<std::size_t>(k)] *
                x_[static_cast<std::size_t>(linCol_[static_cast<std::size_t>(k)])]);
    }
    act[r] = v;
  }
  for (const QuadTerm& q : quad_) {
    act[q.row] +=
        term(q.value * x_[static_cast<std::size_t>(q.a)] * x_[static_cast<std::size_t>(q.b)]);
  }
  for (const Term& t : terms_) {
    if (t.row >= 0) act[t.row] += term(t.value);
  }
}

void NlpModel::constraintValues(double* g, bool sizes) {
  act_.resize(rowFirst_.size());
  rowActivities(act_.data(), sizes);
  for (std::size_t c = 0; c < conRow_.size(); ++c) {
    g[c] = act_[static_cast<std::size_t>(conRow_[c])];
    if (conExtraCol_[c] >= 0) {
      const double extra = conExtraCoef_[c] * x_[static_cast<std::size_t>(conExtraCol_[c])];
      g[c] += sizes ? std::fabs(extra) : extra;
    }
  }
}

bool NlpModel::jacobian(double* values) {
  std::fill(values, values + jacRow_.size(), 0.0);
  for (std::size_t k = 0; k < linSlot_.size(); ++k) {
    for (const int slot : linSlot_[k]) {
      if (slot >= 0) values[slot] += linValue_[k];
    }
  }
  for (std::size_t c = 0; c < conExtraSlot_.size(); ++c) {
    if (conExtraSlot_[c] >= 0) values[conExtraSlot_[c]] += conExtraCoef_[c];
  }
  for (const QuadTerm& q : quad_) {
    const double xa = x_[static_cast<std::size_t>(q.a)];
    const double xb = x_[static_cast<std::size_t>(q.b)];
    for (std::size_t s = 0; s < q.jacA.size(); ++s) {
      if (q.jacA[s] < 0) continue;
      if (q.a == q.b) {
        values[q.jacA[s]] += 2.0 * q.value * xa;
      } else {
        values[q.jacA[s]] += q.value * xb;
        values[q.jacB[s]] += q.value * xa;
      }
    }
  }
  for (const Term& t : terms_) {
    if (t.jac.empty()) continue;
    t.formula.gradient(t.values, 1.0, adjoints_, grad_.data());
    const std::vector<int>& cols = t.formula.columns();
    for (std::size_t k = 0; k < cols.size(); ++k) {
      double& g = grad_[static_cast<std::size_t>(cols[k])];
      values[t.jac[k]] += g;
      g = 0.0;
    }
  }
  return allFinite(values, jacRow_.size());
}

bool NlpModel::hessian(double objWeight, const double* lambda, double* values) {
  std::fill(values, values + hessRow_.size(), 0.0);
  for (const ObjQTerm& q : objQ_) values[q.hess] += objWeight * q.value;
  // A term's weight: its share of the objective plus the multipliers of its row's constraints.
  auto weight = [&](int row, double objScale) {
    double w = objWeight * objScale;
    if (row < 0) return w;
    const auto r = static_cast<std::size_t>(row);
    for (int s = 0; s < rowCount_[r]; ++s) w += lambda[rowFirst_[r] + s];
    return w;
  };
  for (const QuadTerm& q : quad_) {
    if (q.hess < 0) continue;
    values[q.hess] += weight(q.row, q.objScale) * (q.a == q.b ? 2.0 * q.value : q.value);
  }
  for (Term& t : terms_) {
    t.hessian.accumulate(t.formula, t.values, weight(t.row, t.objScale), t.hessSlots.data(),
                         values);
  }
  return allFinite(values, hessRow_.size());
}

}  // namespace xprs::standin
