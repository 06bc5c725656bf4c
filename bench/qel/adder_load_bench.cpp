// Loading a generated sparse LP into the optimizer stand-in, the yardstick of the plug-in's
// loading speed:
//   BM_LoadRaw     the optimizer's own calls with ready arrays;
//   BM_LoadAdders  the same calls made by VarAdder, LinConstrAdder and LinObjAdder from framework
//                  containers holding the same model, as the host link hands it over.
// Both make the same optimizer calls (columns with bounds, one type call per column, all rows in
// one call, the objective's sense, constant and coefficients) and start each iteration from an
// empty problem, so their ratio is the adders' own cost. The goal is a ratio within 1.3 at a
// million nonzeros and a time per nonzero that does not grow with the model.
//
// Reading the numbers: each iteration frees the stand-in's model (some 20 MB at a million
// nonzeros). Whether the C library hands those blocks back to the system, so that the next
// iteration faults them in afresh (about 10 ms at a million nonzeros), depends on where they
// happen to lie in the heap, and the two twins' heaps differ in what the set-up left there:
// either twin can pay it, from one build or run to the next. perf stat -e page-faults shows
// whether it did. To compare the loading work alone, run with the library keeping freed memory:
//   MALLOC_TRIM_THRESHOLD_=4000000000 MALLOC_MMAP_THRESHOLD_=4000000000 <benchmark>
#include <benchmark/benchmark.h>
#include <xprs.h>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "nuv/attr/base_container.hpp"
#include "nuv/attr/lib/map_container_dict.hpp"
#include "nuv/attr/lib/vector_container.hpp"
#include "nuv/idx/lib/list.hpp"
#include "nuv/idx/lib/range.hpp"
#include "nuv/math/lib/sparse_vector.hpp"
#include "nuv/math/symbol.hpp"
#include "nuv/opt/keys.hpp"
#include "qel/adder/lin_constr_adder.hpp"
#include "qel/adder/lin_obj_adder.hpp"
#include "qel/adder/var_adder.hpp"
#include "qel/data.hpp"
#include "xprs_testing.hpp"

namespace {

// cols columns with 5 entries each in cols / 2 rows (a·x >= 1), 0 <= x <= 10, minimise sum(x).
struct GeneratedLp {
  int cols = 0;
  int rows = 0;
  std::vector<double> obj, lb, ub, rhs;
  std::vector<char> rowType;
  std::vector<XPRSint64> rowStart;
  std::vector<int> rowCols;
  std::vector<double> rowVals;
};

GeneratedLp generateLp(std::int64_t nonzeros) {
  GeneratedLp lp;
  lp.cols = static_cast<int>(nonzeros / 5);
  lp.rows = lp.cols / 2;
  const auto cols = static_cast<std::size_t>(lp.cols);
  lp.obj.assign(cols, 1.0);
  lp.lb.assign(cols, 0.0);
  lp.ub.assign(cols, 10.0);
  lp.rhs.assign(static_cast<std::size_t>(lp.rows), 1.0);
  lp.rowType.assign(static_cast<std::size_t>(lp.rows), 'G');
  std::vector<std::vector<std::pair<int, double>>> byRow(static_cast<std::size_t>(lp.rows));
  std::uint64_t state = 12345;
  for (int j = 0; j < lp.cols; ++j) {
    for (int k = 0; k < 5; ++k) {
      state = state * 6364136223846793005ULL + 1442695040888963407ULL;
      const auto row =
          static_cast<std::size_t>((state >> 33) % static_cast<std::uint64_t>(lp.rows));
      byRow[row].emplace_back(j, 1.0 + static_cast<double>((state >> 20) % 7));
    }
  }
  for (const auto& row : byRow) {
    lp.rowStart.push_back(static_cast<XPRSint64>(lp.rowCols.size()));
    for (const auto& [col, value] : row) {
      lp.rowCols.push_back(col);
      lp.rowVals.push_back(value);
    }
  }
  lp.rowStart.push_back(static_cast<XPRSint64>(lp.rowCols.size()));
  return lp;
}

template <class T>
nuv::attr::BaseContainer part(std::vector<T> values) {
  return nuv::attr::BaseContainer(
      std::make_shared<nuv::attr::lib::VectorContainer<T>>(std::move(values)));
}

nuv::attr::ContainerDict dict(std::vector<std::pair<nuv::Index, nuv::attr::BaseContainer>> parts) {
  auto map = std::make_shared<nuv::attr::lib::MapContainerDict>();
  for (auto& [key, container] : parts) map->set(key, std::move(container));
  return nuv::attr::ContainerDict(std::move(map));
}

// The model as the host link hands it over: each row a function over its own variable list with
// a sparse coefficient vector over the positions of that list, the objective over all columns.
struct Batches {
  nuv::opt::VariableContainer variables;
  nuv::opt::ConstraintContainer rows;
  nuv::opt::ConstraintContainer objective;
};

Batches makeBatches(const GeneratedLp& lp, std::uint64_t owner) {
  using Sym = nuv::math::Symbol<double>;
  using Vec = nuv::math::Vector<double>;
  namespace interval = nuv::opt::interval_domain;
  namespace fn = nuv::opt::linear_function;
  Batches b;
  b.variables.domain = dict({{interval::type, part(std::vector<int>(lp.obj.size(), 0))},
                             {interval::lower_bound, part(lp.lb)},
                             {interval::upper_bound, part(lp.ub)}});

  std::vector<Sym> symbols;
  std::vector<Vec> vectors;
  std::vector<double> constants;
  for (std::size_t r = 0; r < static_cast<std::size_t>(lp.rows); ++r) {
    const auto first = static_cast<std::size_t>(lp.rowStart[r]);
    const auto last = static_cast<std::size_t>(lp.rowStart[r + 1]);
    std::vector<nuv::Index> columns(lp.rowCols.begin() + static_cast<std::ptrdiff_t>(first),
                                    lp.rowCols.begin() + static_cast<std::ptrdiff_t>(last));
    std::vector<nuv::Index> positions(columns.size());
    for (std::size_t p = 0; p < positions.size(); ++p) positions[p] = static_cast<nuv::Index>(p);
    const auto size = static_cast<nuv::Index>(columns.size());
    symbols.push_back(Sym::vectorOfVariables(
        owner, nuv::idx::List(std::make_shared<const nuv::idx::lib::List>(std::move(columns)))));
    vectors.push_back(nuv::math::lib::sparseVector<double>(
        size, std::move(positions),
        std::vector<double>(lp.rowVals.begin() + static_cast<std::ptrdiff_t>(first),
                            lp.rowVals.begin() + static_cast<std::ptrdiff_t>(last))));
    constants.push_back(-lp.rhs[r]);
  }
  b.rows.function = dict({{fn::variables, part(std::move(symbols))},
                          {fn::coefficients, part(std::move(vectors))},
                          {fn::constant, part(std::move(constants))}});
  b.rows.domain = dict({{nuv::opt::static_bounded_domain::type,
                         part(std::vector<int>(static_cast<std::size_t>(lp.rows), 0))}});

  std::vector<nuv::Index> all(lp.obj.size());
  for (std::size_t j = 0; j < all.size(); ++j) all[j] = static_cast<nuv::Index>(j);
  b.objective.function = dict(
      {{fn::variables,
        part(std::vector<Sym>{Sym::vectorOfVariables(
            owner, nuv::idx::List(std::make_shared<const nuv::idx::lib::Range>(0, lp.cols)))})},
       {fn::coefficients,
        part(std::vector<Vec>{nuv::math::lib::sparseVector<double>(lp.cols, all, lp.obj)})},
       {fn::constant, part(std::vector<double>{0.0})}});
  b.objective.domain = dict({{nuv::opt::sense_domain::type, part(std::vector<int>{0})}});
  return b;
}

void loadRaw(XPRSprob prob, const GeneratedLp& lp, const std::vector<int>& all) {
  int rc = XPRSaddcols64(prob, lp.cols, 0, nullptr, nullptr, nullptr, nullptr, lp.lb.data(),
                         lp.ub.data());
  const char continuous = 'C';
  for (int j = 0; j < lp.cols; ++j) rc |= XPRSchgcoltype(prob, 1, &j, &continuous);
  rc |= XPRSaddrows64(prob, lp.rows, static_cast<XPRSint64>(lp.rowVals.size()), lp.rowType.data(),
                      lp.rhs.data(), nullptr, lp.rowStart.data(), lp.rowCols.data(),
                      lp.rowVals.data());
  rc |= XPRSchgobjsense(prob, XPRS_OBJ_MINIMIZE);
  const int constantColumn = -1;
  const double constant = -0.0;
  rc |= XPRSchgobjn(prob, 0, 1, &constantColumn, &constant);
  rc |= XPRSchgobjn(prob, 0, lp.cols, all.data(), lp.obj.data());
  benchmark::DoNotOptimize(rc);
}

void setCounters(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetComplexityN(state.range(0));
  // Seconds per nonzero, shown with an SI prefix (for example "5.1n" for 5.1 ns).
  state.counters["time_per_nonzero"] =
      benchmark::Counter(static_cast<double>(state.iterations() * state.range(0)),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The stand-in journals every call; the journal is emptied outside the timed part so that it
// does not grow across iterations.
void clearJournal(benchmark::State& state) {
  state.PauseTiming();
  xprs::testing::clearCalls();
  state.ResumeTiming();
}

void BM_LoadRaw(benchmark::State& state) {
  const GeneratedLp lp = generateLp(state.range(0));
  std::vector<int> all(lp.obj.size());
  for (std::size_t j = 0; j < all.size(); ++j) all[j] = static_cast<int>(j);
  XPRSinit(nullptr);
  XPRSprob prob = nullptr;
  XPRScreateprob(&prob);
  for (auto _ : state) {
    loadRaw(prob, lp, all);
    // An empty problem for the next iteration, as the adders' record clears its own.
    XPRSdestroyprob(prob);
    XPRScreateprob(&prob);
    clearJournal(state);
  }
  XPRSdestroyprob(prob);
  XPRSfree();
  setCounters(state);
}

void BM_LoadAdders(benchmark::State& state) {
  XPRSinit(nullptr);
  auto data = std::make_shared<qel::Data>();
  data->prob = std::make_shared<qel::XpressProb>();
  data->prob->start();
  const Batches batches = makeBatches(generateLp(state.range(0)), data->varAdderId);
  qel::VarAdder variables(data);
  qel::LinConstrAdder rows(data);
  qel::LinObjAdder objective(data);
  for (auto _ : state) {
    benchmark::DoNotOptimize(variables.add(batches.variables));
    benchmark::DoNotOptimize(rows.add(batches.rows));
    benchmark::DoNotOptimize(objective.add(batches.objective));
    data->clear();
    clearJournal(state);
  }
  data.reset();
  XPRSfree();
  setCounters(state);
}

}  // namespace

BENCHMARK(BM_LoadRaw)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Complexity(benchmark::oN);
BENCHMARK(BM_LoadAdders)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Complexity(benchmark::oN);
