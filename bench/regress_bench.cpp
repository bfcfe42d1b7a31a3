// Randomisations of the regression engine on distance matrices of the sizes
// a Mantel test meets: the whole loop (shuffles, triangle gathers, fits).

#include <benchmark/benchmark.h>

#include <cmath>
#include <numeric>

#include "regress/randomisations.h"
#include "regress/shuffles.h"
#include "silent_host.h"

namespace {

using namespace torvi::regress;

// Three distance matrices among random points: response and two explanatory.
std::vector<float> distance_table(int objects) {
  torvi::Rng rng(4242, 2424);
  std::vector<double> x(objects), y(objects), e(objects);
  for (int i = 0; i < objects; ++i) {
    x[i] = rng.rnd_uniform() * 100, y[i] = rng.rnd_uniform() * 100, e[i] = rng.rnd_uniform() * 10;
  }
  std::vector<float> t;
  for (int i = 1; i < objects; ++i)
    for (int j = 0; j < i; ++j) {
      const double geo = std::hypot(x[i] - x[j], y[i] - y[j]), env = std::fabs(e[i] - e[j]);
      t.insert(t.end(), {static_cast<float>(geo), static_cast<float>(env),
                         static_cast<float>(0.001 * geo + 0.01 * env + 0.05 * rng.rnd_uniform())});
    }
  return t;
}

void BM_MantelRandomisations(benchmark::State& state) {
  const int objects = static_cast<int>(state.range(0)), explanatory = static_cast<int>(state.range(1));
  const int threads = static_cast<int>(state.range(2));
  const int randomisations = 1000;
  const std::vector<float> table = distance_table(objects);
  std::vector<int> expl(explanatory);
  std::iota(expl.begin(), expl.end(), 0);
  const Model model = centred_model(table, triangle_cells(objects), 3, 2, expl);
  FitCache cache;
  build_cache(model, cache);
  const Fit observed = fit(model, cache, model.y.data());
  torvi::bench::SilentHost host;
  for (auto _ : state) {
    torvi::Rng rng(1, 2);
    benchmark::DoNotOptimize(randomise({model, cache, observed, randomisations, objects, threads}, rng, host));
  }
  state.SetItemsProcessed(state.iterations() * (randomisations - 1));
}
BENCHMARK(BM_MantelRandomisations)
    ->ArgNames({"objects", "expl", "threads"})
    ->Args({200, 1, 1})
    ->Args({200, 2, 1})
    ->Args({200, 2, 2})
    ->Args({500, 2, 1})
    ->Args({500, 2, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
