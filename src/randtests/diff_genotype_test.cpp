#include "randtests/diff_genotype_test.h"

#include <algorithm>
#include <vector>

#include "host/progress.h"
#include "randtests/batch_size.h"
#include "randtests/perm_series.h"
#include "randtests/shuffles.h"
#include "report/report_text.h"
#include "stats/g_statistics.h"
#include "util/parallel.h"

namespace torvi {

namespace {

// Allele counts to frequencies, as locus_g reads them; heterozygote counts
// stay counts.
void allele_frequencies(CountTables& ct) {
  for (int l = 1; l <= ct.nl; ++l)
    for (int s = 1; s <= ct.np; ++s) {
      const int n = ct.typed(s, l);
      if (n == 0) continue;
      long double* p = ct.allele_row(s, l);
      for (int j = 0, k = ct.index->alleles_at_locus(l); j < k; ++j) p[j] = p[j] / (2.0L * n);
    }
}

// The shuffles move only the multilocus genotypes of individuals typed at
// every locus ("complete"), among the positions of complete individuals.
// A randomisation is held as `held`: for each complete position (in order,
// by rank), the rank of the position whose genotype it holds at the start
// of the test. Its G is computed from integer allele counts: those of the
// individuals that never move, plus the slots of each moved genotype, so
// neither the genotype codes nor the extended-precision tables are touched.
// Typed counts never change, so c/2n turned back into a count is c itself
// and G is the one locus_g finds in the tables.
class MovedGenotypes {
 public:
  MovedGenotypes(const DataSet& ds, const CountTables& ct) : ct_(ct), nl_(ds.nl), fixed_(ct.allele_count.size(), 0) {
    const AlleleIndex& ix = *ct.index;
    rank_of_.assign(static_cast<size_t>(ds.ni) + 1, -1);
    for (int i = 1; i <= ds.ni; ++i)
      if (ds.missing_count[i] == 0) {
        rank_of_[i] = static_cast<int32_t>(positions_.size());
        positions_.push_back(i);
        sample_index_.push_back(ds.sample_of[i] - 1);
      }
    const size_t m = positions_.size();
    slots_.assign(static_cast<size_t>(nl_) * m * 2, 0);
    for (int i = 1; i <= ds.ni; ++i) {
      const int32_t* g = ds.genotypes_of(i);
      for (int l = 1; l <= nl_; ++l) {
        const int32_t code = g[l - 1];
        if (code == 0) continue;
        const int a = ix.slot(l, code / ds.coding_base) - ix.first[l];
        const int b = ix.slot(l, code % ds.coding_base) - ix.first[l];
        if (const int32_t r = rank_of_[i]; r >= 0) {
          uint16_t* pair = &slots_[((static_cast<size_t>(l) - 1) * m + static_cast<size_t>(r)) * 2];
          pair[0] = static_cast<uint16_t>(a);
          pair[1] = static_cast<uint16_t>(b);
        } else {
          const size_t row = ct.row(ds.sample_of[i], l);
          ++fixed_[row + a];
          ++fixed_[row + b];
        }
      }
    }
    for (int s = 1; s <= ct.np; ++s)
      for (int l = 1; l <= nl_; ++l) max_count_ = std::max(max_count_, 2 * ct.typed(s, l));
    xlogx_.reserve(max_count_);
    for (int l = 1; l <= nl_; ++l) largest_block_ = std::max(largest_block_, ct.np * ix.alleles_at_locus(l));
  }

  int64_t moved() const { return static_cast<int64_t>(positions_.size()); }
  const std::vector<int32_t>& rank_of() const { return rank_of_; }
  const std::vector<int32_t>& positions() const { return positions_; }

  struct Worker {
    std::vector<int32_t> block;  // counts of one locus, laid out like the tables
    CountHistogram histogram;
    std::vector<long double> g_locus;  // [1..nl]
  };
  Worker worker() const {
    return {std::vector<int32_t>(static_cast<size_t>(largest_block_)), CountHistogram(max_count_),
            std::vector<long double>(static_cast<size_t>(nl_) + 1, 0.0L)};
  }

  // G per locus into w.g_locus, returns G over loci. Locus by locus, so that
  // the counts being made stay in the nearest cache.
  long double g(const int32_t* held, Worker& w) const {
    const AlleleIndex& ix = *ct_.index;
    const size_t m = positions_.size();
    int32_t* block = w.block.data();
    long double total = 0;
    for (int l = 1; l <= nl_; ++l) {
      const int k = ix.alleles_at_locus(l);
      const size_t cells = static_cast<size_t>(ct_.np) * k;
      const auto fixed = fixed_.begin() + static_cast<ptrdiff_t>(ct_.row(1, l));
      std::copy(fixed, fixed + static_cast<ptrdiff_t>(cells), block);
      const uint16_t* slots = &slots_[(static_cast<size_t>(l) - 1) * m * 2];
      for (size_t r = 0; r < m; ++r) {
        const uint16_t* pair = slots + 2 * static_cast<size_t>(held[r]);
        int32_t* row = block + static_cast<ptrdiff_t>(sample_index_[r]) * k;
        ++row[pair[0]];
        ++row[pair[1]];
      }
      w.histogram.add_cells(block, cells);
      w.g_locus[l] = w.histogram.take_sum(xlogx_);
      total += w.g_locus[l];
    }
    return total;
  }

  // Moves the genotype codes to where `held` puts them, one cycle of the
  // permutation at a time.
  void apply(DataSet& ds, const int32_t* held) const {
    std::vector<int32_t> saved(static_cast<size_t>(nl_));
    std::vector<char> done(positions_.size(), 0);
    for (size_t start = 0; start < positions_.size(); ++start) {
      if (done[start]) continue;
      std::copy_n(ds.genotypes_of(positions_[start]), nl_, saved.begin());
      size_t r = start;
      for (;;) {
        done[r] = 1;
        const size_t from = static_cast<size_t>(held[r]);
        if (from == start) {
          std::copy(saved.begin(), saved.end(), ds.genotypes_of(positions_[r]));
          break;
        }
        std::copy_n(ds.genotypes_of(positions_[from]), nl_, ds.genotypes_of(positions_[r]));
        r = from;
      }
    }
  }

 private:
  const CountTables& ct_;
  int nl_;
  std::vector<int32_t> fixed_;         // counts of the individuals that never move
  std::vector<int32_t> positions_;     // complete positions, ascending
  std::vector<int32_t> sample_index_;  // per rank: its sample - 1
  std::vector<int32_t> rank_of_;       // [1..ni]: rank among complete positions, or -1
  std::vector<uint16_t> slots_;        // per locus, per rank: the two slots within the locus
  int max_count_ = 0;
  int largest_block_ = 0;
  XLogX xlogx_;
};

// The section's opening lines, up to the complete genotypes per sample.
void write_opening(ReportText& out, int64_t n, const DataSet& ds) {
  out.line().line(kStars48);
  out.cell("Randomising genotypes among samples.").eol();
  out.line();
  out.cell("test based on :" + integer(n, 6) + " randomisations.").eol();
  out.line();
  out.cell("testing for population differentiation,").eol();
  out.cell("NOT ASSUMING RANDOM MATING within samples.").eol();
  out.cell("Statistic used is the log-likelihood G (Varendt et al, 1996)").eol();
  out.line().line();
  out.cell("Number of complete multilocus genotypes in the different samples: ").eol();
  out << col_sep;
  for (int s = 1; s <= ds.np; ++s) out.cell(integer(ds.complete_count[s]));
  out.eol();
  out.line();
}

// The G of every randomisation into g_series. Each shuffle starts from the
// arrangement the one before left and redraws until it meets a complete
// individual, so the shuffles follow one another on this thread; the
// statistics of each batch of arrangements are computed by the other threads
// while the next batch is shuffled. The last arrangement is written to the
// genotypes and counted into the tables, which the test leaves holding it.
void randomise_genotypes(RunContext& ctx, Analysis& an, int64_t n, PermSeries& g_series) {
  DataSet& ds = an.ds;
  Progress progress(ctx.host, n);
  const int64_t randomisations = n - 1;
  const MovedGenotypes moved(ds, an.ct);
  const size_t m = static_cast<size_t>(moved.moved());
  const std::vector<int32_t>& rank_of = moved.rank_of();
  std::vector<int32_t> held(m);
  for (size_t r = 0; r < m; ++r) held[r] = static_cast<int32_t>(r);
  // Two batches of at most kArrangementBytes of arrangements each.
  const int64_t batch = std::clamp<int64_t>(static_cast<int64_t>(kArrangementBytes / (m * sizeof(int32_t))), 1, kMaxBatch);
  const int64_t batches = (randomisations + batch - 1) / batch;
  std::vector<int32_t> arrangements(2 * static_cast<size_t>(std::min(batch, randomisations)) * m);
  auto arrangement = [&](int64_t b, int64_t i) { return &arrangements[static_cast<size_t>((b % 2) * batch + i) * m]; };
  auto batch_size = [&](int64_t b) { return std::min(batch, randomisations - b * batch); };
  std::vector<MovedGenotypes::Worker> workers(static_cast<size_t>(std::max(1, ctx.threads)), moved.worker());
  pipelined_batches(
      ctx.threads, batches,
      // Every randomisation but the very last, which goes to the tables.
      [&](int64_t b) { return b + 1 == batches ? batch_size(b) - 1 : batch_size(b); },
      [&](int64_t b) {
        for (int64_t i = 0; i < batch_size(b); ++i) {
          shuffle_complete(
              moved.positions().data(), static_cast<int>(m), [&](int p) { return rank_of[p] >= 0; },
              [&](int x, int y) { std::swap(held[rank_of[x]], held[rank_of[y]]); }, ctx.rng);
          std::copy(held.begin(), held.end(), arrangement(b, i));
        }
      },
      [&](int64_t b, int64_t begin, int64_t end, int worker) {
        MovedGenotypes::Worker& w = workers[static_cast<size_t>(worker)];
        for (int64_t i = begin; i < end; ++i) {
          progress.step();
          const long double total = moved.g(arrangement(b, i), w);
          g_series.store(b * batch + i + 1, total, w.g_locus);
        }
      });
  progress.step();
  moved.apply(ds, held.data());
  count_alleles(ds, an.ct);
  allele_frequencies(an.ct);
  locus_g(an.ct, an.g, TablesOf::randomised);
  g_series.store(randomisations, an.g.g_total, an.g.g_locus);
}

}  // namespace

void diff_genotype_test(RunContext& ctx, Analysis& an) {
  const int64_t n = ctx.nb_perm.perm_popdiff_nohw;
  if (n < 2) {
    ctx.host.note("Randomising genotypes among samples not done: fewer than 2 randomisations asked.");
    return;
  }
  const DataSet& ds = an.ds;
  int64_t complete = 0;
  for (int s = 1; s <= ds.np; ++s) complete += ds.complete_count[s];
  ReportText out;
  write_opening(out, n, ds);
  if (complete <= 2) {
    out.cell("not enough complete genotypes (less than 2!) to perform this test").eol();
    out.append_to(ctx.result_name);
    return;
  }
  PermSeries g_series(n, ds.nl);
  randomise_genotypes(ctx, an, n, g_series);
  const GState& g = an.g;
  g_series.finish(g.obs_g_total, g.obs_g_locus, an.wc.samples_at_locus);
  g_series.write_lines(out, ds, g.obs_g_total, g.obs_g_locus, an.wc.samples_at_locus);
  out.append_to(ctx.result_name);
}

}  // namespace torvi
