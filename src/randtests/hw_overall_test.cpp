#include "randtests/hw_overall_test.h"

#include <algorithm>
#include <vector>

#include "randtests/perm_series.h"
#include "randtests/progress.h"
#include "randtests/shuffles.h"
#include "randtests/wc_components.h"
#include "report/report_text.h"
#include "util/parallel.h"

namespace torvi {

namespace {

// Where the draws of each locus lie within one randomisation: the pooled
// list of locus l (T copies) takes T - 1 draws, loci in order.
struct PoolPlan {
  int first = 0, last = 0;
  std::vector<int64_t> offset;  // [1..nl+1]: first draw of locus l
  int max_copies = 0;
  int max_alleles = 0;

  PoolPlan(const CountTables& ct, int first_sample, int last_sample)
      : first(first_sample), last(last_sample), offset(static_cast<size_t>(ct.nl) + 2, 0) {
    for (int l = 1; l <= ct.nl; ++l) {
      int copies = 0;
      for (int s = first; s <= last; ++s) copies += 2 * ct.typed(s, l);
      offset[l + 1] = offset[l] + std::max(copies - 1, 0);
      max_copies = std::max(max_copies, copies);
      max_alleles = std::max(max_alleles, ct.index->alleles_at_locus(l));
    }
  }
  int64_t per_randomisation() const { return offset.back(); }
};

// Pools the copies of locus l held in `counts` (samples of the range in
// order, alleles ascending), shuffles them and deals them back as genotypes,
// each sample receiving as many as it has typed individuals. The new allele
// and heterozygote counts go to `out` and the allele counts also to `counts`
// for the next randomisation. A locus without copies is left as it is. The
// dealing counts in integers (`het` holds k of them) and writes the tables
// once per sample: the same values, without extended-precision increments.
void pool_and_deal(const PoolPlan& plan, int l, std::vector<int32_t>& counts, CountTables& out, int32_t* list,
                   int32_t* het, Rng& rng) {
  const int k = out.index->alleles_at_locus(l);
  int m = 0;
  for (int s = plan.first; s <= plan.last; ++s) m += build_allele_list(&counts[out.row(s, l)], k, list + m);
  if (m == 0) return;
  shuffle_alleles(list, m, rng);
  int pos = 0;
  for (int s = plan.first; s <= plan.last; ++s) {
    int32_t* chain = &counts[out.row(s, l)];
    std::fill(chain, chain + k, 0);
    std::fill(het, het + k, 0);
    for (int i = out.typed(s, l); i > 0 && pos + 1 < m; --i, pos += 2) {
      const int32_t a = list[pos], b = list[pos + 1];
      ++chain[a];
      ++chain[b];
      if (a != b) {
        ++het[a];
        ++het[b];
      }
    }
    long double* alleles = out.allele_row(s, l);
    long double* het_row = out.het_row(s, l);
    for (int j = 0; j < k; ++j) {
      alleles[j] = chain[j];
      het_row[j] = het[j];
    }
  }
}

struct Series {
  PermSeries F, G;
  void store(int64_t k, const WcState& wc, const GState& g) {
    F.store(k, wc.wc_F, wc.wc_F_locus);
    G.store(k, g.g_total, g.g_locus);
  }
};

void run_sequential(RunContext& ctx, Analysis& an, const PoolPlan& plan, std::vector<int32_t>& counts,
                    Series& series, Progress& progress, int64_t from, int64_t to) {
  std::vector<int32_t> list(static_cast<size_t>(plan.max_copies) + 1), het(static_cast<size_t>(plan.max_alleles));
  for (int64_t k = from; k <= to; ++k) {
    progress.step();
    for (int l = 1; l <= an.ct.nl; ++l) pool_and_deal(plan, l, counts, an.ct, list.data(), het.data(), ctx.rng);
    wc_components(an.ct, an.wc, plan.first, plan.last);
    locus_g(an.ct, an.g);
    series.store(k, an.wc, an.g);
  }
}

// Each randomisation starts from the tables the one before dealt, so the
// shuffles follow one another; but the loci are independent chains whose
// draws lie at known places of the stream. Batches of randomisations are
// dealt with the loci shared among workers, then their statistics computed
// with the randomisations shared among workers. The last randomisation is
// computed on the tables themselves, which the test leaves holding it.
void run_batched(RunContext& ctx, Analysis& an, const PoolPlan& plan, std::vector<int32_t>& counts,
                 Series& series, Progress& progress, int64_t randomisations) {
  const int nl = an.ct.nl;
  const int64_t per = plan.per_randomisation();
  const size_t table_bytes = 2 * an.ct.allele_count.size() * sizeof(long double) + 1;
  const int64_t batch =
      std::max<int64_t>(2 * ctx.threads, std::min<int64_t>(64, static_cast<int64_t>((64u << 20) / table_bytes)));
  std::vector<CountTables> dealt(static_cast<size_t>(std::min(batch, randomisations)), an.ct);

  struct Worker {
    std::vector<int32_t> list, het;
    WcState wc;
    GState g;
  };
  std::vector<Worker> workers(static_cast<size_t>(ctx.threads),
                              Worker{std::vector<int32_t>(static_cast<size_t>(plan.max_copies) + 1),
                                     std::vector<int32_t>(static_cast<size_t>(plan.max_alleles)), an.wc, an.g});

  // Past the whole test before it starts: a stopped run never hands the
  // same draws to a later test.
  const Rng start = ctx.rng;
  ctx.rng.jump(static_cast<uint64_t>(randomisations * per));
  for (int64_t k0 = 1; k0 <= randomisations; k0 += batch) {
    const int64_t size = std::min(batch, randomisations - k0 + 1);
    parallel_shares(ctx.threads, nl, [&](int64_t lbegin, int64_t lend, int wi) {
      Worker& w = workers[static_cast<size_t>(wi)];
      for (int64_t i = 0; i < size; ++i) {
        const int64_t k = k0 + i;
        Rng rng = start.jumped(static_cast<uint64_t>((k - 1) * per + plan.offset[lbegin + 1]));
        for (int l = static_cast<int>(lbegin) + 1; l <= lend; ++l)
          pool_and_deal(plan, l, counts, dealt[static_cast<size_t>(i)], w.list.data(), w.het.data(), rng);
      }
    });
    const bool last_batch = k0 + size > randomisations;
    const int64_t shared = last_batch ? size - 1 : size;
    parallel_shares(ctx.threads, shared, [&](int64_t begin, int64_t end, int wi) {
      Worker& w = workers[static_cast<size_t>(wi)];
      for (int64_t i = begin; i < end; ++i) {
        progress.step();
        CountTables& t = dealt[static_cast<size_t>(i)];
        wc_components(t, w.wc, plan.first, plan.last);
        locus_g(t, w.g);
        series.store(k0 + i, w.wc, w.g);
      }
    });
    if (last_batch) {
      progress.step();
      const CountTables& t = dealt[static_cast<size_t>(size - 1)];
      an.ct.allele_count = t.allele_count;
      an.ct.het_allele_count = t.het_allele_count;
      an.wc.wc_calls += static_cast<int>(randomisations - 1);
      an.g.g_calls += static_cast<int>(randomisations - 1);
      wc_components(an.ct, an.wc, plan.first, plan.last);
      locus_g(an.ct, an.g);
      series.store(randomisations, an.wc, an.g);
    }
  }
}

}  // namespace

void hw_overall_test(RunContext& ctx, Analysis& an, int first, int last) {
  const int64_t n = ctx.nb_perm.perm_hw_overall;
  if (n < 200) {
    ctx.host.note("Randomising alleles overall samples not done: fewer than 200 randomisations asked.");
    return;
  }
  const int nl = an.ds.nl;
  const PoolPlan plan(an.ct, first, last);
  std::vector<int32_t> counts = integer_counts(an.ct, first, last, true);
  Series series{PermSeries(n, nl), PermSeries(n, nl)};
  {
    Progress progress(ctx.host, n);
    if (ctx.threads > 1)
      run_batched(ctx, an, plan, counts, series, progress, n - 1);
    else
      run_sequential(ctx, an, plan, counts, series, progress, 1, n - 1);
  }

  const WcState& wc = an.wc;
  const GState& g = an.g;
  series.F.finish(wc.obs_F, wc.obs_F_locus, wc.samples_at_locus);
  series.G.finish(g.obs_g_total, g.obs_g_locus, wc.samples_at_locus);

  const RunOptions& opt = ctx.options;
  ReportText out;
  out.line().line(kStars48);
  out.cell("Randomising alleles overall samples").eol();
  out.line();
  out.cell("Test based on :" + integer(n, 6) + " randomisations.").eol();
  out.line();
  if (opt.CB_HWO) {
    out.cell("Testing for Hardy-Weinberg overall using the statistic CapF (Fit)").eol();
    out.line();
    series.F.write_lines(out, an.ds, wc.obs_F, wc.obs_F_locus, wc.samples_at_locus);
  }
  if (opt.RG_popdif == PopDiff::assuming_hw) {
    out.line().line();
    out.cell("Testing for population differentiation,").eol();
    out.cell("ASSUMING RANDOM MATING within samples.").eol();
    out.cell("Statistic used is exact G-test.(Varendt et al. 1996)").eol();
    out.line();
    series.G.write_lines(out, an.ds, g.obs_g_total, g.obs_g_locus, wc.samples_at_locus);
  }
  out.append_to(ctx.result_name);
}

}  // namespace torvi
