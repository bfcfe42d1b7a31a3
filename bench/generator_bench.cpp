// The bare generator's draws split over one and two threads that share
// nothing: the speed-up this machine gives to perfectly parallel work, the
// ceiling for the randomisation tests' own. Run it interleaved with them
// (--benchmark_enable_random_interleaving=true): the second processor of a
// virtual machine is not always there.
#include <benchmark/benchmark.h>

#include "generator_floor.h"
#include "util/parallel.h"

namespace {

using namespace torvi;

void BM_GeneratorDraws(benchmark::State& state) {
  const int threads = static_cast<int>(state.range(0));
  constexpr int64_t kDraws = 40'000'000;
  for (auto _ : state)
    parallel_shares(threads, threads, [&](int64_t, int64_t, int worker) {
      Rng rng(12345 + worker, 67890);
      benchmark::DoNotOptimize(bench::varying_range_draws(rng, kDraws / threads));
    });
  state.counters["draws"] = static_cast<double>(kDraws);
}
BENCHMARK(BM_GeneratorDraws)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime()
    ->ComputeStatistics("least", bench::least);

}  // namespace
