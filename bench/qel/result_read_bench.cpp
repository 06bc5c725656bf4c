// Reading the column values and the row duals of a solved LP, the yardstick of the result
// containers:
//   BM_ReadRaw      XPRSgetsolution and XPRSgetduals into ready arrays;
//   BM_ReadResults  the same values through the solver's result dictionaries, as the host link
//                   reads them: the level container of the variables and the dual container of
//                   the linear rows, each taken from its dictionary and read whole.
// The LP has n columns and n rows and is solved once per size, before either benchmark runs, so
// the ratio of the two is the containers' own cost. The goal is a ratio within 1.1.
#include <benchmark/benchmark.h>
#include <xprs.h>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "nuv/attr/container.hpp"
#include "nuv/opt/keys.hpp"
#include "qel/data.hpp"
#include "qel/solver/lin_constr_domain.hpp"
#include "qel/solver/var_domain.hpp"
#include "qel/xpress/xpress_prob.hpp"
#include "qel/xpress/xpress_sol_pool.hpp"

namespace {

// min sum (1 + j mod 3) x_j over x in [0, 10] with rows x_i + x_(i+1) >= 1 (the last row
// x_(n-1) >= 1), loaded as the adders would and solved; the pool is attached as the solver
// attaches it. Null unless the solve was optimal.
std::shared_ptr<qel::Data> solvedLp(int n) {
  auto data = std::make_shared<qel::Data>();
  data->prob = std::make_shared<qel::XpressProb>();
  data->prob->start();
  data->solPool = std::make_shared<qel::XpressSolPool>();
  data->solPool->probAttach(*data->prob);
  const auto size = static_cast<std::size_t>(n);
  std::vector<double> cost(size), lower(size, 0.0), upper(size, 10.0), rhs(size, 1.0);
  std::vector<XPRSint64> start(size);
  std::vector<int> cols;
  std::vector<double> coefs;
  for (int j = 0; j < n; ++j) {
    cost[static_cast<std::size_t>(j)] = 1.0 + j % 3;
    start[static_cast<std::size_t>(j)] = static_cast<XPRSint64>(cols.size());
    cols.push_back(j);
    if (j + 1 < n) cols.push_back(j + 1);
  }
  coefs.assign(cols.size(), 1.0);
  data->addVar(n);
  data->prob->addCols(n, 0, cost.data(), nullptr, nullptr, nullptr, lower.data(), upper.data());
  data->addLinCon(n);
  data->prob->addRows(n, static_cast<XPRSint64>(cols.size()), std::vector<char>(size, 'G').data(),
                      rhs.data(), nullptr, start.data(), cols.data(), coefs.data());
  int solveStatus = 0;
  int solStatus = 0;
  const int rc = data->prob->optimize("", &solveStatus, &solStatus);
  if (rc != 0 || solStatus != XPRS_SOLSTATUS_OPTIMAL) return nullptr;
  return data;
}

// One solved LP per size, shared by both benchmarks. The library is initialised while the
// holder is being built, so it outlives the holder, which releases the models and then the
// library at exit.
class Models {
 public:
  Models() { XPRSinit(nullptr); }
  Models(const Models&) = delete;
  Models& operator=(const Models&) = delete;
  ~Models() {
    models_.clear();
    XPRSfree();
  }
  const std::shared_ptr<qel::Data>& get(int n) {
    auto& data = models_[n];
    if (!data) data = solvedLp(n);
    return data;
  }

 private:
  std::map<int, std::shared_ptr<qel::Data>> models_;
};

const std::shared_ptr<qel::Data>& model(int n) {
  static Models models;
  return models.get(n);
}

void setCounters(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations() * state.range(0) * 2);
}

void BM_ReadRaw(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  if (!model(n)) {
    state.SkipWithError("the LP was not solved");
    return;
  }
  XPRSprob prob = model(n)->prob->rawProb();
  std::vector<double> x(static_cast<std::size_t>(n)), y(static_cast<std::size_t>(n));
  for (auto _ : state) {
    int status = 0;
    int rc = XPRSgetsolution(prob, &status, x.data(), 0, n - 1);
    rc |= XPRSgetduals(prob, &status, y.data(), 0, n - 1);
    benchmark::DoNotOptimize(rc);
    benchmark::DoNotOptimize(x.data());
    benchmark::DoNotOptimize(y.data());
  }
  setCounters(state);
}

void BM_ReadResults(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::shared_ptr<const qel::Data> data = model(n);
  if (!data) {
    state.SkipWithError("the LP was not solved");
    return;
  }
  const qel::VarDomain variables(data);
  const qel::LinConstrDomain rows(data);
  std::vector<double> x(static_cast<std::size_t>(n)), y(static_cast<std::size_t>(n));
  for (auto _ : state) {
    nuv::attr::Container<double>(variables[nuv::opt::interval_domain::level]).getAll(x, 0);
    nuv::attr::Container<double>(rows[nuv::opt::static_bounded_domain::dual]).getAll(y, 0);
    benchmark::DoNotOptimize(x.data());
    benchmark::DoNotOptimize(y.data());
  }
  setCounters(state);
}

BENCHMARK(BM_ReadRaw)->Arg(100'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadResults)->Arg(100'000)->Unit(benchmark::kMicrosecond);

}  // namespace
