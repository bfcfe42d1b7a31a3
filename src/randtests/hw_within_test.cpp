#include "randtests/hw_within_test.h"

#include <vector>

#include "randtests/perm_series.h"
#include "randtests/progress.h"
#include "randtests/shuffles.h"
#include "randtests/wc_components.h"
#include "report/report_text.h"
#include "util/parallel.h"

namespace torvi {

namespace {

// Scratch of one redeal: the allele list and the heterozygotes counted in
// integers before they go to the table.
struct RedealScratch {
  std::vector<int32_t> list, het;
  explicit RedealScratch(const WithinSampleDraws& d)
      : list(static_cast<size_t>(d.max_copies) + 1), het(static_cast<size_t>(d.max_alleles)) {}
};

// One randomisation: the frequencies of every sample of the range turned
// back into counts and its copies redealt, sample by sample, loci inner; then
// the variance components of the new tables.
void randomise(CountTables& ct, WcState& wc, int first, int last, const std::vector<int32_t>& copies,
               RedealScratch& scratch, Rng& rng) {
  const AlleleIndex& ix = *ct.index;
  for (int s = first; s <= last; ++s)
    for (int l = 1; l <= ct.nl; ++l) {
      const int n = ct.typed(s, l);
      if (n == 0) continue;
      const int k = ix.alleles_at_locus(l);
      const long double two_n = 2.0L * n;
      long double* p = ct.allele_row(s, l);
      for (int j = 0; j < k; ++j) p[j] = p[j] * two_n;
      redeal_within_sample(&copies[ct.row(s, l)], k, scratch.het.data(), scratch.list.data(), rng);
      long double* het = ct.het_row(s, l);
      for (int j = 0; j < k; ++j) het[j] = scratch.het[j];
    }
  wc_components(ct, wc, first, last);
}

// True when frequency -> count -> frequency is a fixed point after one round
// for every cell of the range. The allele frequencies are then the same at
// the start of every randomisation but the first, and a worker may start at
// any randomisation from the observed tables.
bool frequencies_settle(const CountTables& ct, int first, int last) {
  const AlleleIndex& ix = *ct.index;
  for (int s = first; s <= last; ++s)
    for (int l = 1; l <= ct.nl; ++l) {
      const int n = ct.typed(s, l);
      if (n == 0) continue;
      const long double two_n = 2.0L * n;
      const long double* p = ct.allele_row(s, l);
      for (int j = 0, k = ix.alleles_at_locus(l); j < k; ++j) {
        const long double once = p[j] * two_n;
        if ((once / two_n) * two_n != once) return false;
      }
    }
  return true;
}

}  // namespace

void hw_within_test(RunContext& ctx, Analysis& an, int first, int last) {
  const int64_t n = ctx.nb_perm.perm_hw_within;
  if (n < 200) {
    ctx.host.note("Hardy Weinberg within samples not done: fewer than 200 randomisations asked.");
    return;
  }
  const int nl = an.ds.nl;
  const WithinSampleDraws draws = within_sample_draws(an.ct, first, last);
  RedealScratch scratch(draws);
  const std::vector<int32_t> copies = integer_counts(an.ct, first, last, true);
  PermSeries f(n, nl);

  // Randomisation k uses draws (k-1)D.. of the stream. Workers run 1..N-2 on
  // copies of the tables; the last one runs on the tables themselves, which
  // the test leaves holding it.
  const int64_t shared = ctx.threads > 1 && frequencies_settle(an.ct, first, last) ? n - 2 : 0;
  Progress progress(ctx.host, n);
  if (shared > 0) {
    struct Worker {
      CountTables ct;
      WcState wc;
      RedealScratch scratch;
    };
    const int used = static_cast<int>(std::min<int64_t>(ctx.threads, shared));
    std::vector<Worker> workers(static_cast<size_t>(used), Worker{an.ct, an.wc, scratch});
    // Past the shared part before it starts: a stopped run never hands the
    // same draws to a later test.
    const Rng start = ctx.rng;
    ctx.rng.jump(static_cast<uint64_t>(shared * draws.per_randomisation));
    parallel_shares(used, shared, [&](int64_t begin, int64_t end, int wi) {
      Worker& w = workers[static_cast<size_t>(wi)];
      Rng rng = start.jumped(static_cast<uint64_t>(begin * draws.per_randomisation));
      for (int64_t k = begin + 1; k <= end; ++k) {
        progress.step();
        randomise(w.ct, w.wc, first, last, copies, w.scratch, rng);
        f.store(k, w.wc.wc_f, w.wc.wc_f_locus);
      }
    });
    an.wc.wc_calls += static_cast<int>(shared);
  }
  for (int64_t k = shared + 1; k <= n - 1; ++k) {
    progress.step();
    randomise(an.ct, an.wc, first, last, copies, scratch, ctx.rng);
    f.store(k, an.wc.wc_f, an.wc.wc_f_locus);
  }

  const WcState& wc = an.wc;
  f.finish(wc.obs_f, wc.obs_f_locus, wc.samples_at_locus);
  ReportText out;
  out.line().line(kStars48).line();
  out.cell("Randomising alleles within samples.").eol();
  out.cell("Testing for Hardy-Weinberg within samples.").eol();
  out.cell("Statistic used to classified tables is smallf (Fis).").eol();
  out.cell("based on :" + integer(n, 6) + " randomisations.").eol();
  out.line();
  f.write_lines(out, an.ds, wc.obs_f, wc.obs_f_locus, wc.samples_at_locus);
  out.append_to(ctx.result_name);
}

}  // namespace torvi
