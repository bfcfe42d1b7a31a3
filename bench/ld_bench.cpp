// Genotypic disequilibrium tests at the "1/100" load of "Tests between all
// pairs of loci" (N = 100 x pairs), against the bare generator making the
// same number of draws. The large data set runs 1/500 of its repetitions
// (all 122500, of about 4.7 million draws each, take over an hour on one
// core); every figure is for the repetitions done. Run with
// --benchmark_repetitions=3 and read the "least" lines.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "bench_shapes.h"
#include "datagen/generator.h"
#include "generator_floor.h"
#include "ld/observed_phase.h"
#include "ld/permutation.h"
#include "run/data_set_lifecycle.h"
#include "silent_host.h"

namespace torvi {
namespace {

struct Load {
  const char* name;
  datagen::Shape shape;
  int64_t fraction;  // repetitions run: N / fraction
};

const Load kLoads[] = {{"typical", bench::typical_shape(), 1}, {"large", bench::large_shape(), 500}};

struct Prepared {
  Analysis an;
  RunOptions options;
  NbPerm nb;
  bench::SilentHost host;
  Rng rng{1, 2};
  int64_t n_perm = 0;
};

void prepare(const Load& load, Prepared& p) {
  const auto path = std::filesystem::temp_directory_path() / (std::string("torvi_ld_bench_") + load.name + ".dat");
  std::ofstream(path) << datagen::generate_data_file(load.shape);
  if (!create_data_set(p.host, path.string(), p.an)) throw std::runtime_error("generated data set unreadable");
  std::filesystem::remove(path);
  p.an.ds.sample_names.assign(1, "");
  for (int s = 1; s <= p.an.ds.np; ++s) p.an.ds.sample_names.push_back("pop" + std::to_string(s));
  const int64_t pairs = static_cast<int64_t>(p.an.ds.nl) * (p.an.ds.nl - 1) / 2;
  p.n_perm = 100 * pairs / load.fraction;
}

double seconds_since(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Time of the permutations (manual time) against the bare generator making
// the same number of draws.
void BM_LdPermutations(benchmark::State& st) {
  const Load& load = kLoads[st.range(0)];
  const int threads = static_cast<int>(st.range(1));
  Prepared p;
  prepare(load, p);
  RunContext ctx{p.host, p.rng, p.options, p.nb, "", threads};
  int64_t draws = 0;
  double total = 0, floor_total = 0;
  for (auto _ : st) {
    LdGenotypes lg(p.an.ds, *p.an.alleles);
    LdTestState state = ld_observed_phase(ctx, p.an, lg);
    int64_t per_rep = 0;
    for (const LdSampleTest& t : state.samples) per_rep += t.draws;
    draws = per_rep * (p.n_perm - 1);
    Progress progress(p.host, p.n_perm);
    const auto t0 = std::chrono::steady_clock::now();
    ld_permutations(lg, state, p.n_perm, p.rng, threads, progress);
    const double seconds = seconds_since(t0);
    st.SetIterationTime(seconds);
    total += seconds;
    floor_total += bench::floor_seconds(draws);
  }
  const double runs = static_cast<double>(st.iterations());
  st.counters["repetitions"] = static_cast<double>(p.n_perm - 1);
  st.counters["draws"] = static_cast<double>(draws);
  const double ns_per_draw = total / runs / static_cast<double>(draws) * 1e9;
  st.counters["ns_per_draw"] = ns_per_draw;
  st.counters["floor_ns_per_draw"] = floor_total / runs / static_cast<double>(draws) * 1e9;
  st.counters["floor_ratio"] = total / floor_total;
}

BENCHMARK(BM_LdPermutations)->ArgsProduct({{0, 1}, {1, 2}})->ArgNames({"large", "threads"})
    ->Unit(benchmark::kSecond)->Iterations(1)->UseManualTime()
    ->ComputeStatistics("least", bench::least);

}  // namespace
}  // namespace torvi
