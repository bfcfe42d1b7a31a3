// Time and peak heap of every estimator section, on a data set of the
// limits' shape and on one shaped like a human microsatellite panel; the
// sections that spread work over threads with one and two.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <new>

#include "datagen/generator.h"
#include "random/rng.h"
#include "run/data_set_lifecycle.h"
#include "silent_host.h"
#include "stats/genotype_tables.h"
#include "stats/bootstrap_loci.h"
#include "stats/jackknife.h"
#include "stats/locus_report.h"
#include "stats/pairwise_fst.h"
#include "stats/rst_report.h"
#include "stats/sample_report.h"
#include "stats/wc_report.h"

// Live heap bytes and their peak, for the peak of one section.
namespace {
std::atomic<int64_t> g_live{0}, g_peak{0};
void note_alloc(size_t n) {
  int64_t live = g_live += static_cast<int64_t>(n);
  int64_t peak = g_peak.load();
  while (live > peak && !g_peak.compare_exchange_weak(peak, live)) {}
}
}  // namespace

void* operator new(size_t n) {
  void* p = std::malloc(n + 16);
  if (!p) throw std::bad_alloc();
  *static_cast<size_t*>(p) = n;
  note_alloc(n);
  return static_cast<char*>(p) + 16;
}
void operator delete(void* p) noexcept {
  if (!p) return;
  char* base = static_cast<char*>(p) - 16;
  g_live -= static_cast<int64_t>(*reinterpret_cast<size_t*>(base));
  std::free(base);
}
void operator delete(void* p, size_t) noexcept { operator delete(p); }

namespace torvi {
namespace {

enum Shape { kLimits = 0, kHuman = 1 };

// The limits' shape: 200 samples, 600 loci, 10 000 individuals, alleles up
// to 999. The human panel: 79 samples, 600 loci, 1343 individuals, about 12
// alleles per locus.
datagen::Shape shape_of(int which) {
  datagen::Shape s;
  if (which == kLimits) {
    s.samples = 200, s.loci = 600, s.alleles_per_locus = 30, s.max_allele = 999, s.individuals_per_sample = 50;
    s.differentiation = 0.3;
  } else {
    s.samples = 79, s.loci = 600, s.alleles_per_locus = 12, s.max_allele = 40, s.individuals_per_sample = 17;
    s.differentiation = 0.1;
  }
  s.missing_rate = 0.02;
  return s;
}

// One analysis per shape, read once through the data-file reader.
struct Fixture {
  bench::SilentHost host;
  Rng rng{12345, 67890};
  RunOptions options;
  NbPerm nb_perm;
  Analysis an;
  std::string result;
  std::unique_ptr<RunContext> ctx;
};

Fixture& fixture(int which) {
  static std::map<int, std::unique_ptr<Fixture>> cache;
  auto& f = cache[which];
  if (!f) {
    f = std::make_unique<Fixture>();
    auto dir = std::filesystem::temp_directory_path();
    std::string base = (dir / ("torvi_estimators_bench_" + std::to_string(which))).string();
    std::ofstream(base + ".dat", std::ios::binary) << datagen::generate_data_file(shape_of(which));
    f->an.base_name = base;
    if (!create_data_set(f->host, base + ".dat", f->an)) std::abort();
    f->result = base + ".out";
    f->ctx = std::make_unique<RunContext>(RunContext{f->host, f->rng, f->options, f->nb_perm, f->result, 1});
  }
  return *f;
}

// Observed counts turned into frequencies, as the driver leaves them.
void observed(Analysis& an) {
  count_alleles(an.ds, an.ct);
  wc_components(an.ct, an.wc, 1, an.ds.np, TablesOf::observed);
}

template <class Section>
void run_section(benchmark::State& state, bool needs_components, Section section) {
  Fixture& f = fixture(static_cast<int>(state.range(0)));
  int64_t peak = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove(f.result);
    if (needs_components) observed(f.an);
    else count_alleles(f.an.ds, f.an.ct);
    const int64_t before = g_live.load();
    g_peak = before;
    state.ResumeTiming();
    section(f);
    state.PauseTiming();
    peak = std::max(peak, g_peak.load() - before);
    state.ResumeTiming();
  }
  state.counters["section_peak_MB"] = static_cast<double>(peak) / (1 << 20);
  state.counters["data_set_MB"] = static_cast<double>(g_live.load()) / (1 << 20);
}

void BM_genotype_tables(benchmark::State& s) {
  run_section(s, false, [](Fixture& f) { genotype_tables(f.an); });
  const auto bytes = static_cast<int64_t>(std::filesystem::file_size(fixture(static_cast<int>(s.range(0))).an.base_name + ".x2"));
  s.SetBytesProcessed(bytes * static_cast<int64_t>(s.iterations()));
}
void BM_locus_report(benchmark::State& s) {
  run_section(s, false, [](Fixture& f) {
    f.options.CB_Rar = f.options.CB_fis = true;
    locus_report(*f.ctx, f.an);
    sample_report(*f.ctx, f.an);
    nei_report(*f.ctx, f.an);
  });
}
void BM_wc_components(benchmark::State& s) {
  run_section(s, false, [](Fixture& f) { wc_components(f.an.ct, f.an.wc, 1, f.an.ds.np, TablesOf::observed); });
}
void BM_wc_report(benchmark::State& s) {
  run_section(s, true, [](Fixture& f) { wc_report(*f.ctx, f.an); });
}
void BM_rst_report(benchmark::State& s) {
  run_section(s, true, [](Fixture& f) { rst_report(*f.ctx, f.an); });
}
void BM_jackknife_report(benchmark::State& s) {
  run_section(s, true, [](Fixture& f) { jackknife_report(*f.ctx, f.an, 1, f.an.ds.np); });
}
void BM_bootstrap_loci(benchmark::State& s) {
  const int threads = static_cast<int>(s.range(1));
  run_section(s, true, [threads](Fixture& f) {
    f.ctx->threads = threads;
    bootstrap_loci(*f.ctx, f.an);
  });
}
void BM_pairwise_fst(benchmark::State& s) {
  const int threads = static_cast<int>(s.range(1));
  run_section(s, true, [threads](Fixture& f) { pairwise_fst(f.an, threads); });
}

BENCHMARK(BM_genotype_tables)->Arg(kHuman)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_locus_report)->Arg(kHuman)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_wc_components)->Arg(kLimits)->Arg(kHuman)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_wc_report)->Arg(kLimits)->Arg(kHuman)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_rst_report)->Arg(kLimits)->Arg(kHuman)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_jackknife_report)->Arg(kLimits)->Arg(kHuman)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_bootstrap_loci)->Args({kLimits, 1})->Args({kLimits, 2})->Args({kHuman, 1})->Args({kHuman, 2})
    ->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_pairwise_fst)->Args({kLimits, 1})->Args({kLimits, 2})->Args({kHuman, 1})->Args({kHuman, 2})
    ->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace torvi
