// The biased-dispersal tests on 20 samples x 30 individuals (15 of each sex)
// x 15 loci, all seven tests, 10 000 permutations, with 1 and 2 threads:
// the whole command, split files and result files included. Run with
// --benchmark_filter=Dispersal --benchmark_repetitions=3 and read "min".
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "datagen/sex_labelled.h"
#include "silent_host.h"
#include "torvi/dispersal.h"

namespace {

using namespace torvi;

constexpr int32_t kPermutations = 10000;

void BM_DispersalAllTests(benchmark::State& state) {
  const auto dir = std::filesystem::temp_directory_path() / "torvi-dispersal-bench";
  std::filesystem::create_directories(dir);
  datagen::SexShape shape;
  shape.samples = 20;
  shape.loci = 15;
  shape.alleles_per_locus = 12;
  shape.max_allele = 60;
  shape.phil_per_sample = 15;
  shape.disp_per_sample = 15;
  shape.seed = 42;
  const std::string input = (dir / "bench.gen").string();
  std::ofstream(input, std::ios::binary) << datagen::generate_sex_labelled_file(shape);

  DispersalSettings settings;
  settings.input = input;
  settings.output_dir = dir.string();
  settings.permutations = kPermutations;
  settings.tests.fill(true);
  settings.threads = static_cast<int>(state.range(0));
  bench::SilentHost host;
  for (auto _ : state) {
    Rng rng(12345, 67890);
    benchmark::DoNotOptimize(run_dispersal_tests(host, rng, settings, (dir / "TORVI.INI").string()));
  }
  state.counters["us_per_permutation"] =
      benchmark::Counter(static_cast<double>(kPermutations - 1) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  std::filesystem::remove_all(dir);
}

BENCHMARK(BM_DispersalAllTests)->Arg(1)->Arg(2)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace
