// Comparisons among groups of samples: a whole run of one data file, reading
// included, with every statistic ticked.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "datagen/generator.h"
#include "silent_host.h"
#include "torvi/groups.h"

namespace {

using namespace torvi;

constexpr int32_t kPermutations = 10000;
constexpr int kCats = 0, kLarge = 1;

// 200 samples x 50 loci, 20 individuals each, every genotype typed (so that
// the rarefied richness is formed), in 10 groups of 20 samples.
datagen::Shape large_groups_shape() {
  datagen::Shape s;
  s.samples = 200, s.loci = 50, s.individuals_per_sample = 20, s.alleles_per_locus = 10, s.max_allele = 40;
  s.differentiation = 0.2;
  return s;
}

struct Case {
  std::string data;
  std::vector<std::vector<int>> groups;
};

Case make_case(int which, const std::string& folder) {
  Case c;
  c.data = folder + (which == kCats ? "/cats.dat" : "/large.dat");
  if (which == kCats) {
    std::filesystem::copy_file(TORVI_EXAMPLES_DIR "/nancycats.dat", c.data,
                               std::filesystem::copy_options::overwrite_existing);
    c.groups = {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11}, {12, 13, 14, 15, 16, 17}};
  } else {
    std::ofstream(c.data) << datagen::generate_data_file(large_groups_shape());
    for (int g = 0; g < 10; ++g) {
      c.groups.emplace_back();
      for (int s = 1; s <= 20; ++s) c.groups.back().push_back(20 * g + s);
    }
  }
  return c;
}

void BM_compare_groups(benchmark::State& state) {
  const std::string folder = std::filesystem::temp_directory_path() / "torvi-groups-bench";
  std::filesystem::create_directories(folder);
  const Case c = make_case(static_cast<int>(state.range(0)), folder);
  GroupRunSettings settings;
  settings.file_list = {c.data};
  settings.comparison.groups = c.groups;
  settings.comparison.statistics.fill(true);
  settings.comparison.permutations = kPermutations;
  settings.threads = static_cast<int>(state.range(1));
  bench::SilentHost host;
  for (auto _ : state) {
    Rng rng(12345, 67890);
    compare_groups(host, rng, settings, folder + "/TORVI.INI");
    benchmark::DoNotOptimize(rng);
  }
  std::filesystem::remove_all(folder);
}

}  // namespace

BENCHMARK(BM_compare_groups)
    ->ArgNames({"set", "threads"})
    ->Args({kCats, 1})
    ->Args({kCats, 2})
    ->Args({kLarge, 1})
    ->Args({kLarge, 2})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
