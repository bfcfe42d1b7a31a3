#include "randtests/pairwise_test.h"

#include <algorithm>
#include <string>
#include <vector>

#include "data/data_reader.h"
#include "host/progress.h"
#include "randtests/batch_size.h"
#include "randtests/pair_permutation.h"
#include "report/report_text.h"
#include "stats/g_statistics.h"
#include "stats/tolerances.h"
#include "util/parallel.h"

namespace torvi {

namespace {

// The typed and allele counts of one sample into the count tables.
void store_counts(CountTables& ct, int s, const int32_t* typed, const int32_t* counts) {
  const AlleleIndex& ix = *ct.index;
  for (int l = 1; l <= ct.nl; ++l) {
    ct.typed(s, l) = typed[l];
    long double* row = ct.allele_row(s, l);
    for (int j = 0, k = ix.alleles_at_locus(l); j < k; ++j) row[j] = counts[ix.first[l] + j];
  }
}

const char* mark(int64_t at_least, int64_t n, int64_t pairs) {
  // P = (at_least + 1) / N against 0.001/K, 0.01/K and 0.05/K, in integers.
  const int64_t scaled = pairs * (at_least + 1);
  if (1000 * scaled <= n) return "    ***";
  if (100 * scaled <= n) return "     **";
  if (20 * scaled <= n) return "      *";
  return "     NS";
}

// The sizes of the two largest samples: a pair never holds more copies than
// their sum.
int largest_pair_size(const DataSet& ds) {
  int largest = 0, second = 0;
  for (int s = 1; s <= ds.np; ++s) {
    const int size = ds.size_of_sample(s);
    if (size > largest) {
      second = largest;
      largest = size;
    } else {
      second = std::max(second, size);
    }
  }
  return largest + second;
}

// Permutes the individuals of one pair of samples at a time. The
// permutations follow one another on the calling thread; the statistics of
// each batch are computed by the other threads while the next batch is
// shuffled, each counting the sample with fewer complete individuals (the
// other holds the rest of the pair's copies).
class PairTester {
 public:
  PairTester(RunContext& ctx, const DataSet& ds, const AlleleIndex& ix, int64_t n, Progress& progress)
      : ctx_(ctx), n_(n), positions_(largest_pair_size(ds)), xlogx_(2 * positions_), pair_(positions_, ix),
        g_terms_(ix, positions_), progress_(progress),
        workers_(static_cast<size_t>(std::max(1, ctx.threads)),
                 Worker{std::vector<int32_t>(static_cast<size_t>(ix.total_slots())), 0}) {
    // Two batches of at most kArrangementBytes of arrangements each.
    const size_t arrangement_bytes = static_cast<size_t>(positions_) * sizeof(int32_t) + 1;
    batch_ = std::max<int64_t>(
        1, std::min<int64_t>({n - 1, kMaxBatch, static_cast<int64_t>(kArrangementBytes / arrangement_bytes)}));
    arrangements_.resize(2 * static_cast<size_t>(batch_) * positions_);
  }

  const XLogX& xlogx() const { return xlogx_; }

  // Loads samples i and j, checking that every copy was found.
  void load(const DataSet& ds, int i, int j) {
    const auto [found_i, found_j] = pair_.load(ds, i, j);
    for (auto [found, expected] : {std::pair{found_i, ds.size_of_sample(i)}, std::pair{found_j, ds.size_of_sample(j)}})
      if (found != expected) ctx_.host.show_info("Pb here" + std::to_string(found) + "---" + std::to_string(expected));
  }

  // The randomised G of the loaded pair at least `observed` (within the
  // margin), over n - 1 permutations.
  int64_t count_reaching(long double observed);

  // The count tables of samples i and j get the last permutation.
  void store_last(CountTables& ct, int i, int j) {
    std::vector<int32_t>& counts = workers_.front().counts;
    pair_.count_side(pair_.held(), 0, counts.data());
    store_counts(ct, i, pair_.typed(0), counts.data());
    pair_.count_side(pair_.held(), 1, counts.data());
    store_counts(ct, j, pair_.typed(1), counts.data());
  }

 private:
  struct alignas(64) Worker {  // own cache lines: workers write at_least often
    std::vector<int32_t> counts;
    int64_t at_least = 0;
  };
  RunContext& ctx_;
  const int64_t n_;
  const int positions_;
  const XLogX xlogx_;
  PairPermutation pair_;
  PairGTerms g_terms_;
  Progress& progress_;
  std::vector<Worker> workers_;
  int64_t batch_ = 1;
  std::vector<int32_t> arrangements_;
};

int64_t PairTester::count_reaching(long double observed) {
  const size_t m = static_cast<size_t>(pair_.complete());
  const int side = pair_.side_to_count();
  g_terms_.reset(pair_.typed(0), pair_.typed(1), pair_.totals(), xlogx_);
  auto arrangement = [&](int64_t b, int64_t k) { return &arrangements_[static_cast<size_t>((b % 2) * batch_ + k) * m]; };
  auto batch_size = [&](int64_t b) { return std::min(batch_, n_ - 1 - b * batch_); };
  pipelined_batches(
      ctx_.threads, (n_ - 1 + batch_ - 1) / batch_, batch_size,
      [&](int64_t b) {
        for (int64_t k = 0; k < batch_size(b); ++k) {
          pair_.shuffle(ctx_.rng);
          std::copy_n(pair_.held(), m, arrangement(b, k));
        }
      },
      [&](int64_t b, int64_t begin, int64_t end, int worker) {
        Worker& w = workers_[static_cast<size_t>(worker)];
        int64_t reached = 0;
        for (int64_t k = begin; k < end; ++k) {
          progress_.step();
          pair_.count_side(arrangement(b, k), side, w.counts.data());
          if (g_terms_.g(w.counts.data()) >= observed - kPairGMargin) ++reached;
        }
        w.at_least += reached;
      });
  int64_t count = 0;
  for (Worker& w : workers_) {
    count += w.at_least;
    w.at_least = 0;
  }
  return count;
}

}  // namespace

PairwiseTests compute_pairwise_tests(RunContext& ctx, const DataSet& ds, CountTables& ct) {
  const int np = ds.np;
  PairwiseTests t;
  t.np = np;
  t.pairs = static_cast<int64_t>(np) * (np - 1) / 2;
  t.n = std::max<int64_t>(ctx.nb_perm.perm_pairwise, 20 * t.pairs);
  t.g.assign(static_cast<size_t>(np + 1) * (np + 1), 0.0L);
  t.at_least.assign(t.g.size(), 0);
  Progress progress(ctx.host, t.n * t.pairs);
  PairTester tester(ctx, ds, *ct.index, t.n, progress);
  for (int i = 2; i <= np; ++i)
    for (int j = 1; j < i; ++j) t.g[t.at(i, j)] = pair_g(ct, i, j, tester.xlogx());
  for (int i = 2; i <= np; ++i) {
    if (ds.size_of_sample(i) == 0) continue;
    for (int j = 1; j < i; ++j) {
      if (ds.size_of_sample(j) == 0) continue;
      tester.load(ds, i, j);
      if (ds.complete_count[i] > 1 && ds.complete_count[j] > 1) {
        t.at_least[t.at(i, j)] = tester.count_reaching(t.g[t.at(i, j)]);
        tester.store_last(ct, i, j);
      }
    }
  }
  return t;
}

void write_pairwise_tests(const PairwiseTests& t, const DataSet& ds, const std::string& path) {
  const int np = t.np;
  // Observed G at most kPairGMargin, or a sample with fewer than two complete
  // individuals: no test.
  auto tested = [&](int i, int j) {
    return t.g[t.at(j, i)] > kPairGMargin && ds.complete_count[i] >= 2 && ds.complete_count[j] >= 2;
  };
  // Names are set by the per-locus report; a caller that skipped it gets empty ones.
  auto name = [&](int s) { return static_cast<size_t>(s) < ds.sample_names.size() ? ds.sample_names[s] : std::string(); };
  ReportText out;
  auto header = [&] {
    for (int s = 2; s <= np; ++s) out.cell(name(s));
    out.eol();
  };
  auto rows = [&](auto&& text) {
    for (int i = 1; i <= np - 1; ++i) {
      out << name(i) << std::string(static_cast<size_t>(i - 1), col_sep);
      for (int j = i + 1; j <= np; ++j) out.cell(tested(i, j) ? text(i, j) : std::string(kNA7));
      out.eol();
    }
  };
  header();
  rows([&](int i, int j) { return fixed(static_cast<long double>(t.at_least[t.at(j, i)] + 1) / t.n, 7, 5); });
  out.line();
  out.line("P-values obtained after : " + integer(t.n, 8) + " permutations");
  out.line("Indicative adjusted nominal level (5%) for multiple comparisons is : " + fixed(0.1L / np / (np - 1), 10, 6));
  out.line();
  header();
  rows([&](int i, int j) { return std::string(mark(t.at_least[t.at(j, i)], t.n, t.pairs)); });
  out.write_new(path);
}

void pairwise_test(RunContext& ctx, Analysis& an) {
  DataSet& ds = an.ds;
  if (ds.np < 2) {
    ctx.host.note("Pairwise tests of differentiation not done: they need two samples.");
    return;
  }
  if (!read_data_file(ctx.host, an.data_path.empty() ? an.base_name + ".dat" : an.data_path, ds)) {
    ctx.host.note("Pairwise tests of differentiation not done: the data file could not be read again.");
    return;
  }
  count_alleles(ds, an.ct);
  write_pairwise_tests(compute_pairwise_tests(ctx, ds, an.ct), ds, an.base_name + "-pp.pvl");
}

}  // namespace torvi
