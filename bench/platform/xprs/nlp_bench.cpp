// A generated nonlinear model of 10,000 formulas solved through the stand-in (formula tokens,
// derivatives by the library's automatic differentiation) and, as its raw twin, by Ipopt
// directly with hand-written derivatives of the same functions. Both report Ipopt's iterations
// and the time per evaluation (one call for the objective, the rows or one of their first or
// second derivatives), so that the ratio shows the cost of evaluating from tokens.
#include <benchmark/benchmark.h>
#include <xprs.h>

#include <chrono>
#include <cmath>
#include <coin/IpIpoptApplication.hpp>
#include <coin/IpTNLP.hpp>
#include <cstdint>
#include <vector>

#include "xprs_testing.hpp"

namespace {

// n columns in [-3, 3]; the objective sums (x_j - t_j)^2 and exp(x_j - x_j+1); row i reads
// x_a x_b + sin(x_c) + 0.5 x_d^2 <= 2 for columns picked at random among i to i + 7. 2n - 1 + 3n
// formulas.
struct GeneratedNlp {
  int cols = 0;
  std::vector<double> target;
  std::vector<int> a, b, c, d;
  [[nodiscard]] int rows() const { return static_cast<int>(a.size()); }
  [[nodiscard]] int formulas() const { return 2 * cols - 1 + 3 * rows(); }
};

GeneratedNlp generate(int cols) {
  GeneratedNlp g;
  g.cols = cols;
  for (int j = 0; j < cols; ++j) g.target.push_back(1.0 + 0.1 * (j % 7));
  // Each row couples columns near its own, as in a discretised model; the matrices stay banded.
  std::uint64_t state = 2024;
  auto near = [&](int i) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return (i + static_cast<int>((state >> 33) % 8)) % cols;
  };
  for (int i = 0; i < cols; ++i) {
    g.a.push_back(near(i));
    g.b.push_back(near(i));
    g.c.push_back(near(i));
    g.d.push_back(near(i));
  }
  return g;
}

struct Tokens {
  std::vector<int> rows, start{0}, type;
  std::vector<double> value;
  void add(int t, double v) { type.push_back(t), value.push_back(v); }
  void end(int row) {
    add(XPRS_TOK_EOF, 0);
    rows.push_back(row);
    start.push_back(static_cast<int>(type.size()));
  }
};

XPRSprob load(const GeneratedNlp& g) {
  XPRSprob prob = nullptr;
  XPRScreateprob(&prob);
  XPRSsetintcontrol(prob, XPRS_OUTPUTLOG, 0);
  const std::vector<double> lb(static_cast<std::size_t>(g.cols), -3.0);
  const std::vector<double> ub(static_cast<std::size_t>(g.cols), 3.0);
  XPRSaddcols64(prob, g.cols, 0, nullptr, nullptr, nullptr, nullptr, lb.data(), ub.data());
  const std::vector<char> type(static_cast<std::size_t>(g.rows()), 'L');
  const std::vector<double> rhs(static_cast<std::size_t>(g.rows()), 2.0);
  XPRSaddrows64(prob, g.rows(), 0, type.data(), rhs.data(), nullptr, nullptr, nullptr, nullptr);
  Tokens t;
  for (int j = 0; j < g.cols; ++j) {
    t.add(XPRS_TOK_COL, j);
    t.add(XPRS_TOK_CON, g.target[static_cast<std::size_t>(j)]);
    t.add(XPRS_TOK_OP, XPRS_OP_MINUS);
    t.add(XPRS_TOK_CON, 2);
    t.add(XPRS_TOK_OP, XPRS_OP_EXPONENT);
    t.end(-1);
    if (j + 1 == g.cols) continue;
    t.add(XPRS_TOK_RB, 0);
    t.add(XPRS_TOK_COL, j);
    t.add(XPRS_TOK_COL, j + 1);
    t.add(XPRS_TOK_OP, XPRS_OP_MINUS);
    t.add(XPRS_TOK_IFUN, XPRS_IFUN_EXP);
    t.end(-1);
  }
  for (int i = 0; i < g.rows(); ++i) {
    const auto u = static_cast<std::size_t>(i);
    t.add(XPRS_TOK_COL, g.a[u]);
    t.add(XPRS_TOK_COL, g.b[u]);
    t.add(XPRS_TOK_OP, XPRS_OP_MULTIPLY);
    t.end(i);
    t.add(XPRS_TOK_RB, 0);
    t.add(XPRS_TOK_COL, g.c[u]);
    t.add(XPRS_TOK_IFUN, XPRS_IFUN_SIN);
    t.end(i);
    t.add(XPRS_TOK_CON, 0.5);
    t.add(XPRS_TOK_COL, g.d[u]);
    t.add(XPRS_TOK_CON, 2);
    t.add(XPRS_TOK_OP, XPRS_OP_EXPONENT);
    t.add(XPRS_TOK_OP, XPRS_OP_MULTIPLY);
    t.end(i);
  }
  XPRSnlpaddformulas(prob, static_cast<int>(t.rows.size()), t.rows.data(), t.start.data(), 1,
                     t.type.data(), t.value.data());
  return prob;
}

void setCounters(benchmark::State& state, double iterations, double evaluations, double evalSeconds,
                 int formulas) {
  state.counters["ipopt_iterations"] = iterations;
  state.counters["evaluations"] = evaluations;
  // Seconds per evaluation, shown with an SI prefix.
  state.counters["time_per_evaluation"] = evaluations > 0 ? evalSeconds / evaluations : 0.0;
  state.counters["formulas"] = formulas;
}

void BM_SolveNlp_Standin(benchmark::State& state) {
  const GeneratedNlp g = generate(static_cast<int>(state.range(0)));
  XPRSinit(nullptr);
  XPRSprob prob = load(g);
  int solved = 0;
  for (auto _ : state) {
    int sol = 0;
    XPRSoptimize(prob, "", nullptr, &sol);
    solved += sol == XPRS_SOLSTATUS_OPTIMAL;
  }
  const auto& run = xprs::testing::inspect(prob).run;
  setCounters(state, run.iterations, static_cast<double>(run.evaluations), run.evalTime,
              g.formulas());
  state.counters["optimal_runs"] = solved;
  XPRSdestroyprob(prob);
  XPRSfree();
}

// The same model for Ipopt with hand-written values and derivatives; duplicate Jacobian and
// Hessian entries are summed by Ipopt.
class RawNlp final : public Ipopt::TNLP {
 public:
  explicit RawNlp(const GeneratedNlp& g) : g_(g) {}
  bool get_nlp_info(Ipopt::Index& n, Ipopt::Index& m, Ipopt::Index& nnzJac, Ipopt::Index& nnzHess,
                    IndexStyleEnum& style) override {
    n = g_.cols;
    m = g_.rows();
    nnzJac = 4 * m;
    nnzHess = g_.cols + 2 * (g_.cols - 1) + 3 * m;
    style = C_STYLE;
    return true;
  }
  bool get_bounds_info(Ipopt::Index n, Ipopt::Number* xl, Ipopt::Number* xu, Ipopt::Index m,
                       Ipopt::Number* gl, Ipopt::Number* gu) override {
    for (int j = 0; j < n; ++j) xl[j] = -3, xu[j] = 3;
    for (int i = 0; i < m; ++i) gl[i] = -1e20, gu[i] = 2;
    return true;
  }
  bool get_starting_point(Ipopt::Index n, bool, Ipopt::Number* x, bool, Ipopt::Number*,
                          Ipopt::Number*, Ipopt::Index, bool, Ipopt::Number*) override {
    for (int j = 0; j < n; ++j) x[j] = 0;
    return true;
  }
  bool eval_f(Ipopt::Index n, const Ipopt::Number* x, bool, Ipopt::Number& f) override {
    return timed([&] {
      f = 0;
      for (int j = 0; j < n; ++j) {
        const double e = x[j] - g_.target[static_cast<std::size_t>(j)];
        f += e * e;
        if (j + 1 < n) f += std::exp(x[j] - x[j + 1]);
      }
    });
  }
  bool eval_grad_f(Ipopt::Index n, const Ipopt::Number* x, bool, Ipopt::Number* g) override {
    return timed([&] {
      for (int j = 0; j < n; ++j) g[j] = 2 * (x[j] - g_.target[static_cast<std::size_t>(j)]);
      for (int j = 0; j + 1 < n; ++j) {
        const double e = std::exp(x[j] - x[j + 1]);
        g[j] += e;
        g[j + 1] -= e;
      }
    });
  }
  bool eval_g(Ipopt::Index, const Ipopt::Number* x, bool, Ipopt::Index m,
              Ipopt::Number* g) override {
    return timed([&] {
      for (int i = 0; i < m; ++i) {
        const auto u = static_cast<std::size_t>(i);
        const double xd = x[g_.d[u]];
        g[i] = x[g_.a[u]] * x[g_.b[u]] + std::sin(x[g_.c[u]]) + 0.5 * xd * xd;
      }
    });
  }
  bool eval_jac_g(Ipopt::Index, const Ipopt::Number* x, bool, Ipopt::Index m, Ipopt::Index,
                  Ipopt::Index* rows, Ipopt::Index* cols, Ipopt::Number* v) override {
    if (v == nullptr) {
      for (int i = 0; i < m; ++i) {
        const auto u = static_cast<std::size_t>(i);
        const int at[] = {g_.a[u], g_.b[u], g_.c[u], g_.d[u]};
        for (int k = 0; k < 4; ++k) rows[4 * i + k] = i, cols[4 * i + k] = at[k];
      }
      return true;
    }
    return timed([&] {
      for (int i = 0; i < m; ++i) {
        const auto u = static_cast<std::size_t>(i);
        v[4 * i] = x[g_.b[u]];
        v[4 * i + 1] = x[g_.a[u]];
        v[4 * i + 2] = std::cos(x[g_.c[u]]);
        v[4 * i + 3] = x[g_.d[u]];
      }
    });
  }
  bool eval_h(Ipopt::Index n, const Ipopt::Number* x, bool, Ipopt::Number sigma, Ipopt::Index m,
              const Ipopt::Number* lambda, bool, Ipopt::Index, Ipopt::Index* rows,
              Ipopt::Index* cols, Ipopt::Number* v) override {
    if (v == nullptr) {
      int k = 0;
      for (int j = 0; j < n; ++j) rows[k] = cols[k] = j, ++k;
      for (int j = 0; j + 1 < n; ++j) {
        rows[k] = cols[k] = j + 1, ++k;
        rows[k] = j + 1, cols[k] = j, ++k;
      }
      for (int i = 0; i < m; ++i) {
        const auto u = static_cast<std::size_t>(i);
        rows[k] = std::max(g_.a[u], g_.b[u]), cols[k] = std::min(g_.a[u], g_.b[u]), ++k;
        rows[k] = cols[k] = g_.c[u], ++k;
        rows[k] = cols[k] = g_.d[u], ++k;
      }
      return true;
    }
    return timed([&] {
      int k = 0;
      for (int j = 0; j < n; ++j) v[k++] = 2 * sigma;
      for (int j = 0; j + 1 < n; ++j) {
        const double e = sigma * std::exp(x[j] - x[j + 1]);
        v[j] += e;
        v[k++] = e;
        v[k++] = -e;
      }
      for (int i = 0; i < m; ++i) {
        const auto u = static_cast<std::size_t>(i);
        // x_a x_b on the diagonal when a = b counts twice (Ipopt sums duplicates).
        v[k++] = lambda[i] * (g_.a[u] == g_.b[u] ? 2.0 : 1.0);
        v[k++] = -lambda[i] * std::sin(x[g_.c[u]]);
        v[k++] = lambda[i];
      }
    });
  }
  bool intermediate_callback(Ipopt::AlgorithmMode, Ipopt::Index iter, Ipopt::Number, Ipopt::Number,
                             Ipopt::Number, Ipopt::Number, Ipopt::Number, Ipopt::Number,
                             Ipopt::Number, Ipopt::Number, Ipopt::Index, const Ipopt::IpoptData*,
                             Ipopt::IpoptCalculatedQuantities*) override {
    iterations = iter;
    return true;
  }
  void finalize_solution(Ipopt::SolverReturn, Ipopt::Index, const Ipopt::Number*,
                         const Ipopt::Number*, const Ipopt::Number*, Ipopt::Index,
                         const Ipopt::Number*, const Ipopt::Number*, Ipopt::Number,
                         const Ipopt::IpoptData*, Ipopt::IpoptCalculatedQuantities*) override {}

  int iterations = 0;
  long evaluations = 0;
  double seconds = 0;

 private:
  template <class Fn>
  bool timed(Fn&& fn) {
    const auto begin = std::chrono::steady_clock::now();
    fn();
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    ++evaluations;
    return true;
  }
  const GeneratedNlp& g_;
};

void BM_SolveNlp_Raw(benchmark::State& state) {
  const GeneratedNlp g = generate(static_cast<int>(state.range(0)));
  Ipopt::SmartPtr<RawNlp> last;
  int solved = 0;
  for (auto _ : state) {
    Ipopt::SmartPtr<RawNlp> nlp = new RawNlp(g);
    Ipopt::SmartPtr<Ipopt::IpoptApplication> app = new Ipopt::IpoptApplication(false);
    app->Options()->SetStringValue("sb", "yes");
    app->Options()->SetNumericValue("constr_viol_tol", 1e-6);
    app->Initialize("");
    solved += app->OptimizeTNLP(nlp) == Ipopt::Solve_Succeeded;
    last = nlp;
  }
  setCounters(state, last->iterations, static_cast<double>(last->evaluations), last->seconds,
              g.formulas());
  state.counters["optimal_runs"] = solved;
}

}  // namespace

// 2000 columns: 3999 objective formulas and 3 x 2000 row formulas, 9999 in all.
BENCHMARK(BM_SolveNlp_Standin)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SolveNlp_Raw)->Arg(2000)->Unit(benchmark::kMillisecond);
