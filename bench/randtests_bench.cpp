// Randomisation tests at a fraction of their "1/100" load (see kFamilies),
// on a typical and a large generated data set, with 1 and 2 threads.
// Counters: draws consumed, ns per draw, and the ratio of the test's time to
// the bare generator's time for the same number of rnd_int draws.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "datagen/generator.h"
#include "silent_host.h"
#include "host/host.h"
#include "randtests/diff_genotype_test.h"
#include "randtests/g_statistics.h"
#include "randtests/hw_overall_test.h"
#include "randtests/hw_sample_test.h"
#include "randtests/hw_within_test.h"
#include "randtests/pairwise_test.h"
#include "randtests/wc_components.h"
#include "run/data_set_lifecycle.h"

namespace {

using namespace torvi;

enum class Family { per_sample, multilocus, overall, genotypes, pairwise };
enum class Size { typical, large };

datagen::Shape shape_of(Size size, Family family) {
  datagen::Shape s;
  s.differentiation = 0.2;
  s.seed = 42;
  if (size == Size::typical) {
    s.samples = 20, s.loci = 15, s.individuals_per_sample = 50, s.alleles_per_locus = 12, s.max_allele = 40;
    s.missing_rate = 0.05;
  } else {
    s.samples = 100, s.loci = 50, s.individuals_per_sample = 40, s.alleles_per_locus = 20, s.max_allele = 60;
    // Pairwise: the cost of one permutation depends on the pair, not on the
    // number of samples; 6 of the 100 samples keep the run short.
    if (family == Family::pairwise) s.samples = 6;
  }
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

// Wall-clock and process CPU seconds since construction. The machine may be
// shared: CPU time is the steadier measure on one thread.
struct Clock {
  std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
  std::clock_t cpu = std::clock();
  double wall_seconds() const { return std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count(); }
  double cpu_seconds() const { return static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC; }
};

// Steps a copy of `from` until it reaches `to`: the number of draws taken,
// and the time the bare generator needs for them. The range of the draws
// varies, as in a shuffle: with a constant range the compiler keeps it out of
// the loop and each draw costs about 40% less.
struct Floor {
  int64_t draws = 0;
  double wall = 0, cpu = 0;
};
Floor draws_between(Rng from, const Rng& to) {
  Floor f;
  int32_t sink = 0;
  const Clock clock;
  int32_t range = 1000;
  while (!(from == to)) {
    sink += from.rnd_int(range);
    range = range > 2 ? range - 1 : 1000;
    ++f.draws;
  }
  f.wall = clock.wall_seconds();
  f.cpu = clock.cpu_seconds();
  benchmark::DoNotOptimize(sink);
  return f;
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
    wc_components(an.ct, an.wc, 1, np);
    locus_g(an.ct, an.g);
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

  double seconds = 0, cpu_seconds = 0;
  for (auto _ : state) {
    const Clock clock;
    switch (family) {
      case Family::per_sample: hw_sample_test(ctx, an); break;
      case Family::multilocus: hw_within_test(ctx, an, 1, np); break;
      case Family::overall: hw_overall_test(ctx, an, 1, np); break;
      case Family::genotypes: diff_genotype_test(ctx, an); break;
      case Family::pairwise: pairwise_test(ctx, an); break;
    }
    seconds = clock.wall_seconds();
    cpu_seconds = clock.cpu_seconds();
  }
  const Floor floor = draws_between(start, rng);
  state.counters["N"] = static_cast<double>(n);
  state.counters["fraction"] = fraction(family, size);
  state.counters["draws"] = static_cast<double>(floor.draws);
  state.counters["ns_per_draw"] = floor.draws ? seconds * 1e9 / floor.draws : 0;
  state.counters["floor_ratio"] = floor.wall > 0 ? seconds / floor.wall : 0;
  state.counters["cpu_floor_ratio"] = floor.cpu > 0 ? cpu_seconds / floor.cpu : 0;
  state.counters["seconds"] = seconds;
  state.counters["cpu_seconds"] = cpu_seconds;
  std::filesystem::remove_all(dir);
}

#define TORVI_RANDTESTS_BENCH(name, family, size)                                       \
  void BM_##name(benchmark::State& state) { run_family(state, family, size); }          \
  BENCHMARK(BM_##name)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime()

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
