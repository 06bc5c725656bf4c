// Looking an option up by name: the option dictionary's hash map against the option tables' own
// linear search, for the first and the last of the 761 options in table order.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "qel/solver/solver_attribs_dict.hpp"
#include "qel/solver_attribs.hpp"

namespace {

// The option names in table order.
const std::vector<std::string>& optionNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all;
    qel::forEachSolverAttrib([&](const auto& row) { all.push_back(*row.name().get()); });
    return all;
  }();
  return names;
}

void BM_LookupByName_Dict(benchmark::State& state) {
  const qel::SolverAttribs dict({}, nullptr);
  const std::string& name = optionNames().at(static_cast<std::size_t>(state.range(0)));
  benchmark::DoNotOptimize(dict.indexKey(name));  // the map is built once, before timing
  for (auto _ : state) benchmark::DoNotOptimize(dict.indexKey(name));
}
BENCHMARK(BM_LookupByName_Dict)->Arg(0)->Arg(760);

void BM_LookupByName_Raw(benchmark::State& state) {
  const std::string& name = optionNames().at(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(qel::findSolverAttrib(name));
}
BENCHMARK(BM_LookupByName_Raw)->Arg(0)->Arg(760);

}  // namespace
