// Reading and counting a data file of the largest shape the limits allow in
// samples and loci: 200 samples x 50 individuals, 600 loci, about 30 alleles
// per locus drawn from 1..999.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "data/data_reader.h"
#include "datagen/generator.h"
#include "model/count_tables.h"
#include "silent_host.h"

namespace {

// The file is generated once per process and removed at exit.
const std::string& large_file() {
  static const struct File {
    std::string path;
    File() {
      torvi::datagen::Shape shape;
      shape.samples = 200;
      shape.loci = 600;
      shape.alleles_per_locus = 30;
      shape.max_allele = 999;
      shape.individuals_per_sample = 50;
      shape.missing_rate = 0.05;
      shape.differentiation = 0.1;
      shape.seed = 2024;
      path = (std::filesystem::temp_directory_path() / "torvi_reader_bench.dat").string();
      std::ofstream(path, std::ios::binary) << torvi::datagen::generate_data_file(shape);
    }
    ~File() { std::filesystem::remove(path); }
  } file;
  return file.path;
}

double peak_rss_mb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
}

void BM_ReadAndCount(benchmark::State& state) {
  const std::string& path = large_file();
  torvi::bench::SilentHost host;
  for (auto _ : state) {
    torvi::DataSet ds;
    if (!torvi::check_header(host, path, ds) || !torvi::read_data_file(host, path, ds)) {
      state.SkipWithError("the generated file was refused");
      return;
    }
    torvi::CountTables ct;
    ct.allocate(ds, std::make_shared<const torvi::AlleleIndex>(torvi::AlleleIndex::from_data(ds)));
    torvi::count_alleles(ds, ct);
    benchmark::DoNotOptimize(ct.min_typed);
    state.counters["individuals"] = ds.ni;
    state.counters["allele_slots"] = ct.index->total_slots();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
  state.counters["peak_rss_MB"] = peak_rss_mb();
}
BENCHMARK(BM_ReadAndCount)->Unit(benchmark::kMillisecond);

// The counting pass alone: the permutation tests repeat it.
void BM_CountAlleles(benchmark::State& state) {
  torvi::bench::SilentHost host;
  torvi::DataSet ds;
  if (!torvi::check_header(host, large_file(), ds) || !torvi::read_data_file(host, large_file(), ds)) {
    state.SkipWithError("the generated file was refused");
    return;
  }
  torvi::CountTables ct;
  ct.allocate(ds, std::make_shared<const torvi::AlleleIndex>(torvi::AlleleIndex::from_data(ds)));
  for (auto _ : state) {
    torvi::count_alleles(ds, ct);
    benchmark::DoNotOptimize(ct.min_typed);
  }
  state.counters["peak_rss_MB"] = peak_rss_mb();
}
BENCHMARK(BM_CountAlleles)->Unit(benchmark::kMillisecond);

}  // namespace
