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

}  // namespace

void pairwise_test(RunContext& ctx, Analysis& an) {
  DataSet& ds = an.ds;
  const int np = ds.np;
  if (np < 2) {
    ctx.host.note("Pairwise tests of differentiation not done: they need two samples.");
    return;
  }
  const int64_t pairs = static_cast<int64_t>(np) * (np - 1) / 2;
  const int64_t n = std::max<int64_t>(ctx.nb_perm.perm_pairwise, 20 * pairs);

  if (!read_data_file(ctx.host, an.data_path.empty() ? an.base_name + ".dat" : an.data_path, ds)) {
    ctx.host.note("Pairwise tests of differentiation not done: the data file could not be read again.");
    return;
  }
  count_alleles(ds, an.ct);
  CountTables& ct = an.ct;

  int largest = 0, second = 0;
  for (int s = 1; s <= np; ++s) {
    const int size = ds.size_of_sample(s);
    if (size > largest) {
      second = largest;
      largest = size;
    } else {
      second = std::max(second, size);
    }
  }
  const XLogX xlogx(2 * (largest + second));
  const AlleleIndex& ix = *ct.index;
  PairPermutation pair(largest + second, ix);
  PairGTerms g_terms(ix, largest + second);

  // Lower half: observed G of the pair; upper half: P-value.
  std::vector<long double> matrix(static_cast<size_t>(np + 1) * (np + 1), 0.0L);
  auto cell = [&](int i, int j) -> long double& { return matrix[static_cast<size_t>(i) * (np + 1) + j]; };
  std::vector<int64_t> at_least(matrix.size(), 0);
  for (int i = 2; i <= np; ++i)
    for (int j = 1; j < i; ++j) cell(i, j) = pair_g(ct, i, j, xlogx);

  struct alignas(64) PairWorker {  // own cache lines: workers write at_least often
    std::vector<int32_t> counts;
    int64_t at_least = 0;
  };
  std::vector<PairWorker> workers(static_cast<size_t>(std::max(1, ctx.threads)),
                                  PairWorker{std::vector<int32_t>(static_cast<size_t>(ix.total_slots())), 0});
  // Two batches of at most 8 MB of arrangements each.
  const size_t arrangement_bytes = static_cast<size_t>(largest + second) * sizeof(int32_t) + 1;
  const int64_t batch =
      std::max<int64_t>(1, std::min<int64_t>({n - 1, kMaxBatch, static_cast<int64_t>(kArrangementBytes / arrangement_bytes)}));
  std::vector<int32_t> arrangements(2 * static_cast<size_t>(batch) * (largest + second));
  {
    Progress progress(ctx.host, n * pairs);
    for (int i = 2; i <= np; ++i) {
      const int ni = ds.size_of_sample(i);
      if (ni == 0) continue;
      for (int j = 1; j < i; ++j) {
        const int nj = ds.size_of_sample(j);
        if (nj == 0) continue;
        const auto [found_i, found_j] = pair.load(ds, i, j);
        for (auto [found, expected] : {std::pair{found_i, ni}, std::pair{found_j, nj}})
          if (found != expected)
            ctx.host.show_info("Pb here" + std::to_string(found) + "---" + std::to_string(expected));
        int64_t& count = at_least[static_cast<size_t>(j) * (np + 1) + i];
        if (ds.complete_count[i] > 1 && ds.complete_count[j] > 1) {
          // The permutations follow one another on this thread; the
          // statistics of each batch are computed by the other threads while
          // the next batch is shuffled, each counting the sample with fewer
          // complete individuals (the other holds the rest of the pair's
          // copies).
          const long double observed = cell(i, j);
          const size_t m = static_cast<size_t>(pair.complete());
          const int side = pair.side_to_count();
          g_terms.reset(pair.typed(0), pair.typed(1), pair.totals(), xlogx);
          auto arrangement = [&](int64_t b, int64_t k) {
            return &arrangements[static_cast<size_t>((b % 2) * batch + k) * m];
          };
          auto batch_size = [&](int64_t b) { return std::min(batch, n - 1 - b * batch); };
          pipelined_batches(
              ctx.threads, (n - 1 + batch - 1) / batch, batch_size,
              [&](int64_t b) {
                for (int64_t k = 0; k < batch_size(b); ++k) {
                  pair.shuffle(ctx.rng);
                  std::copy_n(pair.held(), m, arrangement(b, k));
                }
              },
              [&](int64_t b, int64_t begin, int64_t end, int worker) {
                PairWorker& w = workers[static_cast<size_t>(worker)];
                int64_t reached = 0;
                for (int64_t k = begin; k < end; ++k) {
                  progress.step();
                  pair.count_side(arrangement(b, k), side, w.counts.data());
                  if (g_terms.g(w.counts.data()) >= observed - kPairGMargin) ++reached;
                }
                w.at_least += reached;
              });
          for (PairWorker& w : workers) {
            count += w.at_least;
            w.at_least = 0;
          }
          // The tables hold the last permutation of the pair.
          std::vector<int32_t>& counts = workers.front().counts;
          pair.count_side(pair.held(), 0, counts.data());
          store_counts(ct, i, pair.typed(0), counts.data());
          pair.count_side(pair.held(), 1, counts.data());
          store_counts(ct, j, pair.typed(1), counts.data());
        }
        cell(j, i) = static_cast<long double>(count + 1) / n;
      }
    }
  }

  // Observed G at most kPairGMargin, or a sample with fewer than two complete
  // individuals: no test.
  auto tested = [&](int i, int j) {
    return cell(j, i) > kPairGMargin && ds.complete_count[i] >= 2 && ds.complete_count[j] >= 2;
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
  rows([&](int i, int j) { return fixed(cell(i, j), 7, 5); });
  out.line();
  out.line("P-values obtained after : " + integer(n, 8) + " permutations");
  out.line("Indicative adjusted nominal level (5%) for multiple comparisons is : " +
           fixed(0.1L / np / (np - 1), 10, 6));
  out.line();
  header();
  rows([&](int i, int j) { return std::string(mark(at_least[static_cast<size_t>(i) * (np + 1) + j], n, pairs)); });
  out.write_new(an.base_name + "-pp.pvl");
}

}  // namespace torvi
