#include "randtests/diff_genotype_test.h"

#include <algorithm>
#include <vector>

#include "randtests/g_statistics.h"
#include "randtests/perm_series.h"
#include "randtests/progress.h"
#include "randtests/shuffles.h"
#include "report/report_text.h"
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

}  // namespace

void diff_genotype_test(RunContext& ctx, Analysis& an) {
  const int64_t n = ctx.nb_perm.perm_popdiff_nohw;
  if (n < 2) {
    ctx.host.note("Randomising genotypes among samples not done: fewer than 2 randomisations asked.");
    return;
  }
  DataSet& ds = an.ds;
  PermSeries g_series(n, ds.nl);
  int64_t complete = 0;
  for (int s = 1; s <= ds.np; ++s) complete += ds.complete_count[s];

  ReportText out;
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
  if (complete <= 2) {
    out.cell("not enough complete genotypes (less than 2!) to perform this test").eol();
    out.append_to(ctx.result_name);
    return;
  }

  // Each shuffle starts from the genotypes the one before left and redraws
  // until it meets a complete individual, so the shuffles follow one another
  // on this thread; the statistics of a batch of shuffled tables are then
  // computed by the workers. The last randomisation is counted into the
  // tables themselves, which the test leaves holding it.
  {
    Progress progress(ctx.host, n);
    const int64_t randomisations = n - 1;
    const int threads = std::max(1, ctx.threads);
    const size_t table_bytes = ds.codes.size() * sizeof(int32_t) + 1;
    const int64_t batch = std::min<int64_t>(
        randomisations, std::max<int64_t>(2 * threads, std::min<int64_t>(64, (32u << 20) / table_bytes)));
    std::vector<DataSet> shuffled(static_cast<size_t>(batch), ds);
    struct Worker {
      CountTables ct;
      GState g;
    };
    std::vector<Worker> workers(static_cast<size_t>(threads), Worker{an.ct, an.g});
    for (int64_t k0 = 1; k0 <= randomisations; k0 += batch) {
      const int64_t size = std::min(batch, randomisations - k0 + 1);
      for (int64_t i = 0; i < size; ++i) {
        shuffle_genotypes(ds, ds.ni, ctx.rng);
        shuffled[static_cast<size_t>(i)].codes = ds.codes;
      }
      const bool last_batch = k0 + size > randomisations;
      parallel_shares(threads, last_batch ? size - 1 : size, [&](int64_t begin, int64_t end, int wi) {
        Worker& w = workers[static_cast<size_t>(wi)];
        for (int64_t i = begin; i < end; ++i) {
          progress.step();
          count_alleles(shuffled[static_cast<size_t>(i)], w.ct);
          allele_frequencies(w.ct);
          locus_g(w.ct, w.g);
          g_series.store(k0 + i, w.g.g_total, w.g.g_locus);
        }
      });
      if (last_batch) {
        progress.step();
        count_alleles(ds, an.ct);
        allele_frequencies(an.ct);
        an.g.g_calls += static_cast<int>(randomisations - 1);
        locus_g(an.ct, an.g);
        g_series.store(randomisations, an.g.g_total, an.g.g_locus);
      }
    }
  }
  const GState& g = an.g;
  g_series.finish(g.obs_g_total, g.obs_g_locus, an.wc.samples_at_locus);
  g_series.write_lines(out, ds, g.obs_g_total, g.obs_g_locus, an.wc.samples_at_locus);
  out.append_to(ctx.result_name);
}

}  // namespace torvi
