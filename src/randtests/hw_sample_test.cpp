#include "randtests/hw_sample_test.h"

#include <cmath>
#include <vector>

#include "host/progress.h"
#include "randtests/shuffles.h"
#include "report/report_text.h"
#include "stats/tolerances.h"
#include "util/parallel.h"
#include "util/size_tables.h"

namespace torvi {

namespace {

// Scratch of one worker: the heterozygotes of one redeal, its allele list
// and counts of randomised Fis at least as large / at most as small as the
// observed.
struct SampleWorker {
  std::vector<int32_t> het;
  std::vector<int32_t> list;
  std::vector<int64_t> larger, smaller;  // [s * (nl + 1) + l], l = 0 over loci
};

// Counts one comparison of a randomised Fis with the observed one.
void count_fis(long double f, long double observed, int64_t& larger, int64_t& smaller) {
  if (std::fabs(f) < kNegligibleRatio) f = 0;
  if (f >= observed - kTieMargin) ++larger;
  if (f <= observed + kTieMargin) ++smaller;
}

// What Fis of a cell needs that the redeals never change: p(1 - p) of each
// allele (its copies stay), and h = x/n for x heterozygous carriers among n,
// tabulated by sample size so that the randomisations divide nothing.
struct FixedTerms {
  std::vector<long double> pq;  // laid out like the tables
  SizeTables<long double> het_fraction;

  explicit FixedTerms(const CountTables& ct) : pq(ct.allele_count.size(), 0.0L) {
    std::vector<int> sizes;
    for (int s = 1; s <= ct.np; ++s)
      for (int l = 1; l <= ct.nl; ++l) {
        const int n = ct.typed(s, l);
        if (n < 2) continue;
        sizes.push_back(n);
        const long double two_n = 2.0L * n;
        const size_t row = ct.row(s, l);
        for (int j = 0, k = ct.index->alleles_at_locus(l); j < k; ++j) {
          const long double p = ct.allele_count[row + j] / two_n;
          pq[row + j] = p * (1 - p);
        }
      }
    het_fraction = SizeTables<long double>(sizes, 1, fraction);
  }
  static long double fraction(int n, int x) { return static_cast<long double>(x) / static_cast<long double>(n); }
};

// One randomisation: every sample at every locus redrawn, sample by sample,
// loci inner, and the within-sample Fis of each cell and over loci compared
// with the observed as soon as the cell is redrawn.
void randomise(const Analysis& an, const std::vector<int32_t>& copies, const FixedTerms& fixed, SampleWorker& w,
               Rng& rng) {
  const CountTables& ct = an.ct;
  const AlleleIndex& ix = *ct.index;
  const int np = ct.np, nl = ct.nl;
  int32_t* het = w.het.data();
  for (int s = 1; s <= np; ++s) {
    long double sum_b = 0, sum_bc = 0;
    for (int l = 1; l <= nl; ++l) {
      const int n = ct.typed(s, l);
      if (n == 0) continue;
      const size_t row = ct.row(s, l);
      const int k = ix.alleles_at_locus(l);
      redeal_within_sample(copies.data() + row, k, het, w.list.data(), rng);
      if (n < 2) continue;
      const int32_t* c = copies.data() + row;  // the tables' counts, as integers
      const long double* pq = fixed.pq.data() + row;
      const long double* fraction = fixed.het_fraction.row(n);
      const long double nn = n, ratio = nn / (n - 1);
      long double B = 0, C = 0;
      for (int j = 0; j < k; ++j) {
        if (!(c[j] > 0 && c[j] < 2 * n)) continue;
        const long double H = fraction ? fraction[het[j]] : FixedTerms::fraction(n, het[j]);
        C += H / 2;
        B += ratio * (pq[j] - H / 4) - H / 4;
      }
      if (B + C == 0) continue;
      const size_t cell = static_cast<size_t>(s) * (nl + 1) + l;
      count_fis(B / (B + C), an.fis(s, l), w.larger[cell], w.smaller[cell]);
      sum_b += B;
      sum_bc += B + C;
    }
    if (sum_bc != 0) {
      const size_t cell = static_cast<size_t>(s) * (nl + 1);
      count_fis(sum_b / sum_bc, an.fis(s, 0), w.larger[cell], w.smaller[cell]);
    }
  }
}

void write_table(ReportText& out, const Analysis& an, const std::vector<int64_t>& counts, int64_t n) {
  const int np = an.ds.np, nl = an.ds.nl;
  auto proportion = [&](int s, int l) {
    return fixed(static_cast<long double>(counts[static_cast<size_t>(s) * (nl + 1) + l] + 1) / n, 6, 4);
  };
  for (int l = 1; l <= nl; ++l) {
    out.cell(an.ds.locus_names[l]);
    for (int s = 1; s <= np; ++s)
      out.cell(an.ct.typed(s, l) > 1 && is_value(an.fis(s, l)) ? proportion(s, l) : kNA6);
    out.eol();
  }
  out.line();
  out.cell("All ");
  for (int s = 1; s <= np; ++s) out.cell(is_value(an.fis(s, 0)) ? proportion(s, 0) : kNA6);
  out.eol();
}

}  // namespace

void hw_sample_test(RunContext& ctx, Analysis& an) {
  const int64_t n = ctx.nb_perm.perm_hw_sample_locus;
  if (n <= 0) {
    ctx.host.note("HW tests per locus and sample not done: no number of randomisations "
                  "(choose a nominal level for multiple tests).");
    return;
  }
  const CountTables& ct = an.ct;
  const int np = ct.np, nl = ct.nl;
  const size_t cells = static_cast<size_t>(np + 1) * (nl + 1);
  const WithinSampleDraws draws = within_sample_draws(ct, 1, np);

  // Randomisation k (1..N-1) uses draws (k-1)D.. of the stream, so the
  // randomisations may be shared among workers in any way.
  const int64_t randomisations = n - 1;
  const int workers_used = static_cast<int>(std::max<int64_t>(1, std::min<int64_t>(ctx.threads, randomisations)));
  const std::vector<int32_t> copies = integer_counts(ct, 1, np, AlleleUnits::copies);
  const FixedTerms fixed_terms(ct);
  std::vector<SampleWorker> workers(static_cast<size_t>(workers_used));
  for (SampleWorker& w : workers) {
    w.het.assign(static_cast<size_t>(draws.max_alleles), 0);
    w.list = allele_list_buffer(draws.max_copies);
    w.larger.assign(cells, 0);
    w.smaller.assign(cells, 0);
  }
  // The stream moves past the whole test before it starts, so that a run
  // stopped half-way never hands the same draws to a later test.
  const Rng start = ctx.rng;
  ctx.rng.jump(static_cast<uint64_t>(randomisations * draws.per_randomisation));
  {
    Progress progress(ctx.host, n);
    parallel_shares(workers_used, randomisations, [&](int64_t begin, int64_t end, int w) {
      Rng rng = start.jumped(static_cast<uint64_t>(begin * draws.per_randomisation));
      for (int64_t k = begin; k < end; ++k) {
        progress.step();
        randomise(an, copies, fixed_terms, workers[static_cast<size_t>(w)], rng);
      }
    });
  }

  std::vector<int64_t> larger(cells, 0), smaller(cells, 0);
  for (const SampleWorker& w : workers)
    for (size_t c = 0; c < cells; ++c) {
      larger[c] += w.larger[c];
      smaller[c] += w.smaller[c];
    }

  ReportText out;
  out.line().line(kStars48).line();
  out.cell("P-value for Fis within samples.").eol();
  out.cell("based on :" + integer(n, 6) + " randomisations.").eol();
  out.cell("Indicative adjusted nominal level (5%) for one table is : " + fixed(0.05L / np / nl, 10, 5)).eol();
  out.line();
  out.cell("Proportion of randomisations that gave a LARGER Fis than the observed:").eol();
  write_table(out, an, larger, n);
  out.line();
  out.cell("Proportion of randomisations that gave a SMALLER Fis than the observed:").eol();
  write_table(out, an, smaller, n);
  out.append_to(ctx.result_name);
}

}  // namespace torvi
