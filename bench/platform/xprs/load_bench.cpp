// Loading a generated LP into the stand-in through XPRSaddcols64 (column-wise) and
// XPRSaddrows64 (row-wise): the time per nonzero must not grow with the model size.
#include <benchmark/benchmark.h>
#include <xprs.h>

#include <cstdint>
#include <vector>

namespace {

// n columns with 5 entries each in n/2 covering rows, 0 <= x <= 10.
struct GeneratedLp {
  int cols = 0;
  int rows = 0;
  std::vector<double> obj, lb, ub, rhs;
  std::vector<char> rowType;
  std::vector<XPRSint64> colStart, rowStart;
  std::vector<int> colRows, rowCols;
  std::vector<double> colVals, rowVals;
};

GeneratedLp generateLp(std::int64_t nonzeros) {
  GeneratedLp lp;
  lp.cols = static_cast<int>(nonzeros / 5);
  lp.rows = lp.cols / 2;
  lp.obj.assign(static_cast<std::size_t>(lp.cols), 1.0);
  lp.lb.assign(static_cast<std::size_t>(lp.cols), 0.0);
  lp.ub.assign(static_cast<std::size_t>(lp.cols), 10.0);
  lp.rhs.assign(static_cast<std::size_t>(lp.rows), 1.0);
  lp.rowType.assign(static_cast<std::size_t>(lp.rows), 'G');
  std::vector<std::vector<std::pair<int, double>>> byRow(static_cast<std::size_t>(lp.rows));
  std::uint64_t state = 12345;
  for (int j = 0; j < lp.cols; ++j) {
    lp.colStart.push_back(static_cast<XPRSint64>(lp.colRows.size()));
    for (int k = 0; k < 5; ++k) {
      state = state * 6364136223846793005ULL + 1442695040888963407ULL;
      const int row = static_cast<int>((state >> 33) % static_cast<std::uint64_t>(lp.rows));
      const double value = 1.0 + static_cast<double>((state >> 20) % 7);
      lp.colRows.push_back(row);
      lp.colVals.push_back(value);
      byRow[static_cast<std::size_t>(row)].emplace_back(j, value);
    }
  }
  for (const auto& row : byRow) {
    lp.rowStart.push_back(static_cast<XPRSint64>(lp.rowCols.size()));
    for (const auto& [col, value] : row) {
      lp.rowCols.push_back(col);
      lp.rowVals.push_back(value);
    }
  }
  return lp;
}

void setCounters(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetComplexityN(state.range(0));
  // Seconds per nonzero, shown with an SI prefix (for example "5.1n" for 5.1 ns).
  state.counters["time_per_nonzero"] =
      benchmark::Counter(static_cast<double>(state.iterations() * state.range(0)),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_LoadLp_AddCols(benchmark::State& state) {
  const GeneratedLp lp = generateLp(state.range(0));
  XPRSinit(nullptr);
  for (auto _ : state) {
    XPRSprob prob = nullptr;
    XPRScreateprob(&prob);
    XPRSaddrows64(prob, lp.rows, 0, lp.rowType.data(), lp.rhs.data(), nullptr, nullptr, nullptr,
                  nullptr);
    const int rc = XPRSaddcols64(prob, lp.cols, static_cast<XPRSint64>(lp.colVals.size()),
                                 lp.obj.data(), lp.colStart.data(), lp.colRows.data(),
                                 lp.colVals.data(), lp.lb.data(), lp.ub.data());
    benchmark::DoNotOptimize(rc);
    XPRSdestroyprob(prob);
  }
  XPRSfree();
  setCounters(state);
}

void BM_LoadLp_AddRows(benchmark::State& state) {
  const GeneratedLp lp = generateLp(state.range(0));
  XPRSinit(nullptr);
  for (auto _ : state) {
    XPRSprob prob = nullptr;
    XPRScreateprob(&prob);
    XPRSaddcols64(prob, lp.cols, 0, lp.obj.data(), nullptr, nullptr, nullptr, lp.lb.data(),
                  lp.ub.data());
    const int rc = XPRSaddrows64(prob, lp.rows, static_cast<XPRSint64>(lp.rowVals.size()),
                                 lp.rowType.data(), lp.rhs.data(), nullptr, lp.rowStart.data(),
                                 lp.rowCols.data(), lp.rowVals.data());
    benchmark::DoNotOptimize(rc);
    XPRSdestroyprob(prob);
  }
  XPRSfree();
  setCounters(state);
}

}  // namespace

BENCHMARK(BM_LoadLp_AddCols)
    ->RangeMultiplier(10)
    ->Range(10'000, 1'000'000)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_LoadLp_AddRows)
    ->RangeMultiplier(10)
    ->Range(10'000, 1'000'000)
    ->Complexity(benchmark::oN);
