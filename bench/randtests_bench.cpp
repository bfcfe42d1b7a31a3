// Randomisation tests at a fraction of their "1/100" load (see kFamilies),
// on a typical and a large generated data set, with 1 and 2 threads.
// Counters: draws consumed, ns per draw, and the ratio of the test's time to
// the bare generator's time for the same number of rnd_int draws. Run with
// --benchmark_repetitions=5 and read the "least" lines: this machine's speed
// varies from run to run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench_shapes.h"
#include "datagen/generator.h"
#include "generator_floor.h"
#include "host/host.h"
#include "randtests/diff_genotype_test.h"
#include "randtests/hw_overall_test.h"
#include "randtests/hw_sample_test.h"
#include "randtests/hw_within_test.h"
#include "randtests/pairwise_test.h"
#include "run/data_set_lifecycle.h"
#include "silent_host.h"
#include "stats/g_statistics.h"
#include "stats/wc_components.h"

namespace {

using namespace torvi;

enum class Family { per_sample, multilocus, overall, genotypes, pairwise };
enum class Size { typical, large };

datagen::Shape shape_of(Size size, Family family) {
  datagen::Shape s = size == Size::typical ? bench::typical_shape() : bench::large_shape();
  s.seed = 42;
  // Pairwise: the cost of one permutation depends on the pair, not on the
  // number of samples; 6 of the 100 samples keep the run short.
  if (size == Size::large && family == Family::pairwise) s.samples = 6;
  return s;
}

// "1/100" load of each family: 100 x its number of tests (np x nl tests per
// sample and locus; nl per-locus tests for the multilocus, overall and
// genotype tests; np(np-1)/2 pairs), run at the fraction below.
int64_t full_load(Family f, int np, int nl) {
  switch (f) {
    case Family::per_sample: return 100LL * np * nl;
    case Family::pairwise: return 100LL * np * (np - 1) / 2;
    default: return 100LL * nl;
  }
}
double fraction(Family f, Size size) {
  const bool large = size == Size::large;
  switch (f) {
    case Family::per_sample: return large ? 0.0004 : 0.02;
    case Family::multilocus: return large ? 0.04 : 0.2;
    case Family::overall: return large ? 0.04 : 0.2;
    case Family::genotypes: return large ? 0.2 : 1.0;
    case Family::pairwise: return large ? 1.0 : 0.1;
  }
  return 1;
}

void run_family(benchmark::State& state, Family family, Size size) {
  const int threads = static_cast<int>(state.range(0));
  const std::string dir = std::filesystem::temp_directory_path() / "torvi_randtests_bench";
  std::filesystem::create_directories(dir);
  const std::string base = dir + "/data", out = base + ".out";
  std::ofstream(base + ".dat", std::ios::binary) << datagen::generate_data_file(shape_of(size, family));

  bench::SilentHost host;
  Analysis an;
  an.base_name = base;
  if (!create_data_set(host, base + ".dat", an)) {
    state.SkipWithError("data set not read");
    return;
  }
  count_alleles(an.ds, an.ct);
  const int np = an.ds.np, nl = an.ds.nl;
  an.ds.sample_names.assign(np + 1, "pop");
  std::fill(an.fis_sample_locus.begin(), an.fis_sample_locus.end(), 0.0L);
  if (family != Family::per_sample) {
    wc_components(an.ct, an.wc, 1, np, TablesOf::observed);
    locus_g(an.ct, an.g, TablesOf::observed);
  }
  RunOptions options;
  options.CB_HWO = true;
  options.RG_popdif = PopDiff::assuming_hw;
  NbPerm nb;
  const int64_t n = std::max<int64_t>(family == Family::genotypes ? 2 : 200,
                                      static_cast<int64_t>(full_load(family, np, nl) * fraction(family, size)));
  nb.perm_hw_sample_locus = nb.perm_hw_within = nb.perm_hw_overall = nb.perm_popdiff_nohw = nb.perm_pairwise = n;
  Rng rng(12345, 67890);
  const Rng start = rng;
  RunContext ctx{host, rng, options, nb, out, threads};

  double seconds = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    switch (family) {
      case Family::per_sample: hw_sample_test(ctx, an); break;
      case Family::multilocus: hw_within_test(ctx, an, 1, np); break;
      case Family::overall: hw_overall_test(ctx, an, 1, np); break;
      case Family::genotypes: diff_genotype_test(ctx, an); break;
      case Family::pairwise: pairwise_test(ctx, an); break;
    }
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  }
  const int64_t draws = bench::draws_between(start, rng);
  const double ns_per_draw = draws ? seconds * 1e9 / static_cast<double>(draws) : 0;
  state.counters["N"] = static_cast<double>(n);
  state.counters["fraction"] = fraction(family, size);
  state.counters["draws"] = static_cast<double>(draws);
  state.counters["ns_per_draw"] = ns_per_draw;
  const double floor = bench::floor_seconds(draws);
  state.counters["floor_ns_per_draw"] = draws ? floor * 1e9 / static_cast<double>(draws) : 0;
  state.counters["floor_ratio"] = floor > 0 ? seconds / floor : 0;
  state.counters["seconds"] = seconds;
  std::filesystem::remove_all(dir);
}

#define TORVI_RANDTESTS_BENCH(name, family, size)                                       \
  void BM_##name(benchmark::State& state) { run_family(state, family, size); }          \
  BENCHMARK(BM_##name)                                                                  \
      ->Arg(1)                                                                          \
      ->Arg(2)                                                                          \
      ->Unit(benchmark::kMillisecond)                                                   \
      ->Iterations(1)                                                                   \
      ->UseRealTime()                                                                   \
      ->ComputeStatistics("least", bench::least)

TORVI_RANDTESTS_BENCH(HwPerSampleTypical, Family::per_sample, Size::typical);
TORVI_RANDTESTS_BENCH(HwPerSampleLarge, Family::per_sample, Size::large);
TORVI_RANDTESTS_BENCH(HwMultilocusTypical, Family::multilocus, Size::typical);
TORVI_RANDTESTS_BENCH(HwMultilocusLarge, Family::multilocus, Size::large);
TORVI_RANDTESTS_BENCH(HwOverallTypical, Family::overall, Size::typical);
TORVI_RANDTESTS_BENCH(HwOverallLarge, Family::overall, Size::large);
TORVI_RANDTESTS_BENCH(DiffGenotypesTypical, Family::genotypes, Size::typical);
TORVI_RANDTESTS_BENCH(DiffGenotypesLarge, Family::genotypes, Size::large);
TORVI_RANDTESTS_BENCH(PairwiseTypical, Family::pairwise, Size::typical);
TORVI_RANDTESTS_BENCH(PairwiseLarge, Family::pairwise, Size::large);

}  // namespace
