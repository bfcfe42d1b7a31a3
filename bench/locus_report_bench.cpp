#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "datagen/generator.h"
#include "host/host.h"
#include "run/data_set_lifecycle.h"
#include "silent_host.h"
#include "stats/locus_report.h"
#include "stats/sample_report.h"

namespace {

// The whole per-locus report with every section of its own ticked.
void run_locus_report(benchmark::State& state, const torvi::datagen::Shape& shape) {
  const std::string dir = std::filesystem::temp_directory_path() / "torvi_locus_report_bench";
  std::filesystem::create_directories(dir);
  const std::string dat = dir + "/data.dat", out = dir + "/data.out";
  std::ofstream(dat, std::ios::binary) << torvi::datagen::generate_data_file(shape);

  torvi::bench::SilentHost host;
  torvi::Analysis an;
  if (!torvi::create_data_set(host, dat, an)) {
    state.SkipWithError("data set not read");
    return;
  }
  torvi::count_alleles(an.ds, an.ct);
  torvi::RunOptions options;
  options.CB_Rar = options.CB_fis = true;
  torvi::Rng rng(1, 1);
  torvi::NbPerm nb;
  torvi::RunContext ctx{host, rng, options, nb, out, 1};
  for (auto _ : state) {
    std::remove(out.c_str());
    torvi::locus_report(ctx, an);
    torvi::sample_report(ctx, an);
    torvi::nei_report(ctx, an);
  }
  std::filesystem::remove_all(dir);
}

void BM_LocusReportManySamplesAndLoci(benchmark::State& state) {
  torvi::datagen::Shape shape;
  shape.samples = 200;
  shape.loci = 600;
  shape.alleles_per_locus = 20;
  shape.max_allele = 99;
  shape.individuals_per_sample = 30;
  shape.differentiation = 0.3;
  run_locus_report(state, shape);
}
BENCHMARK(BM_LocusReportManySamplesAndLoci)->Unit(benchmark::kMillisecond)->Iterations(1);

// Large samples: rarefaction to 2 x 2000 genes.
void BM_LocusReportLargeSamples(benchmark::State& state) {
  torvi::datagen::Shape shape;
  shape.samples = 10;
  shape.loci = 20;
  shape.alleles_per_locus = 30;
  shape.max_allele = 99;
  shape.individuals_per_sample = 2000;
  shape.differentiation = 0.3;
  run_locus_report(state, shape);
}
BENCHMARK(BM_LocusReportLargeSamples)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
