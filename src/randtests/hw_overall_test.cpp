#include "randtests/hw_overall_test.h"

#include <algorithm>
#include <string>
#include <vector>

#include "host/progress.h"
#include "model/test_minimum.h"
#include "randtests/batch_size.h"
#include "randtests/cell_terms.h"
#include "randtests/perm_series.h"
#include "randtests/shuffles.h"
#include "report/report_text.h"
#include "stats/g_statistics.h"
#include "stats/wc_components.h"
#include "util/nearest_count.h"
#include "util/parallel.h"

namespace torvi {

namespace {

// Where the draws of each locus lie within one randomisation: the pooled
// list of locus l (T copies) takes T - 1 draws, loci in order.
struct PoolPlan {
  int first = 0, last = 0;
  std::vector<int64_t> offset;  // [1..nl+1]: first draw of locus l
  int max_copies = 0;

  PoolPlan(const CountTables& ct, int first_sample, int last_sample)
      : first(first_sample), last(last_sample), offset(static_cast<size_t>(ct.nl) + 2, 0) {
    for (int l = 1; l <= ct.nl; ++l) {
      int copies = 0;
      for (int s = first; s <= last; ++s) copies += 2 * ct.typed(s, l);
      offset[l + 1] = offset[l] + std::max(copies - 1, 0);
      max_copies = std::max(max_copies, copies);
    }
  }
  int64_t per_randomisation() const { return offset.back(); }
};

// Pools the copies of locus l held in `counts` (laid out like the tables;
// samples of the range in order, alleles ascending), shuffles them and deals
// them back as genotypes, each sample receiving as many as it has typed
// individuals. The new allele counts replace those in `counts` and the
// heterozygous carriers go to `hets`. A locus without copies is left as it is.
void pool_and_deal(const PoolPlan& plan, const CountTables& ct, int l, int32_t* counts, int32_t* hets,
                   int32_t* list, Rng& rng) {
  const int k = ct.index->alleles_at_locus(l);
  int m = 0;
  for (int s = plan.first; s <= plan.last; ++s) m += build_allele_list(counts + ct.row(s, l), k, list + m);
  if (m == 0) return;
  shuffle_alleles(list, m, rng);
  int pos = 0;
  for (int s = plan.first; s <= plan.last; ++s) {
    int32_t* chain = counts + ct.row(s, l);
    int32_t* het = hets + ct.row(s, l);
    std::fill(chain, chain + k, 0);
    std::fill(het, het + k, 0);
    for (int i = ct.typed(s, l); i > 0 && pos + 1 < m; --i, pos += 2) {
      const int32_t a = list[pos], b = list[pos + 1];
      ++chain[a];
      ++chain[b];
      if (a != b) {
        ++het[a];
        ++het[b];
      }
    }
  }
}

// The statistics of one locus after a deal, from its integer counts: what
// wc_components and locus_g would find in tables holding the deal. Samples
// outside the range keep their tables' counts throughout the test.
class DealtLocusStats {
 public:
  struct Worker {
    WcState wc;
    CountHistogram histogram;
    std::vector<int32_t> list;
  };
  struct Result {
    long double ab = 0, abc = 0;  // F's sums over alleles
    long double F = 0, g = 0;
  };

  DealtLocusStats(const CountTables& ct, const PoolPlan& plan)
      : ct_(ct), plan_(plan), terms_(ct, plan.first, plan.last), outside_first_(static_cast<size_t>(ct.nl) + 2, 0),
        outside_beyond_(static_cast<size_t>(ct.nl) + 1, 0.0L) {
    // The same bound as locus_g: twice the largest sample.
    for (int s = 1; s <= ct.np; ++s)
      for (int l = 1; l <= ct.nl; ++l) max_count_ = std::max(max_count_, 2 * ct.typed(s, l));
    xlogx_.reserve(max_count_);
    for (int l = 1; l <= ct.nl; ++l) {
      outside_first_[l] = outside_counts_.size();
      for (int s = 1; s <= ct.np; ++s) {
        if (s >= plan.first && s <= plan.last) continue;
        const long double two_n = 2.0L * ct.typed(s, l);
        const long double* p = ct.allele_row(s, l);
        for (int j = 0, k = ct.index->alleles_at_locus(l); j < k; ++j) {
          if (!(p[j] > 0)) continue;
          const int32_t c = nearest_count(two_n * p[j]);
          if (c > max_count_)
            outside_beyond_[l] += xlogx_(c);
          else if (c > 1)
            outside_counts_.push_back(c);
        }
      }
    }
    outside_first_[ct.nl + 1] = outside_counts_.size();
  }

  Worker worker(const WcState& wc) const {
    return {wc, CountHistogram(max_count_), allele_list_buffer(plan_.max_copies)};
  }

  Result compute(int l, const int32_t* counts, const int32_t* hets, Worker& w) const {
    const AlleleIndex& ix = *ct_.index;
    const int k = ix.alleles_at_locus(l);
    const size_t base = static_cast<size_t>(ix.first[l]);
    WcState& wc = w.wc;
    terms_.allele_sums(l, counts, wc.pbar.data() + base, wc.Q.data() + base);
    terms_.het_sums(l, hets, wc.hbar.data() + base);
    for (int s = plan_.first; s <= plan_.last; ++s) {
      const int32_t* c = counts + ct_.row(s, l);
      for (int j = 0; j < k; ++j)
        if (c[j] > 1) w.histogram.add(c[j]);
    }
    wc_locus_from_sums(wc, ix, l, terms_.typed_samples(l), terms_.S1(l), terms_.S2(l), TablesOf::randomised);
    for (size_t i = outside_first_[l]; i < outside_first_[l + 1]; ++i) w.histogram.add(outside_counts_[i]);
    const WcSums& sums = wc.locus_sums[l];
    return {sums.ab, sums.abc, wc.wc_F_locus[l], w.histogram.take_sum(xlogx_) + outside_beyond_[l]};
  }

 private:
  const CountTables& ct_;
  const PoolPlan& plan_;
  CellTerms terms_;
  int max_count_ = 0;
  XLogX xlogx_;
  std::vector<int32_t> outside_counts_;  // counts above 1 of samples outside the range, locus by locus
  std::vector<size_t> outside_first_;    // [1..nl+1]: where locus l's begin
  std::vector<long double> outside_beyond_;
};

struct Series {
  PermSeries F, G;
  void store(int64_t k, const WcState& wc, const GState& g) {
    F.store(k, wc.wc_F, wc.wc_F_locus);
    G.store(k, g.g_total, g.g_locus);
  }
};

// Loci 1..nl cut into `parts` contiguous runs of about equal draws, each
// ending where its total comes nearest to its share: bounds[i] ..
// bounds[i+1]-1 is run i.
std::vector<int> share_loci(const PoolPlan& plan, int nl, int parts) {
  std::vector<int> bounds{1};
  const int64_t total = plan.per_randomisation();
  for (int i = 1, l = 1; i < parts; ++i) {
    const int64_t target = total * i / parts;
    while (l <= nl && plan.offset[l + 1] - target <= target - plan.offset[l]) ++l;
    bounds.push_back(l);
  }
  bounds.push_back(nl + 1);
  return bounds;
}

// Randomisations 1..count. Each starts from the counts the one before dealt,
// so the shuffles of a locus follow one another; but the loci are
// independent chains whose draws lie at known places of the stream, so runs
// of loci are shared among workers. Statistics over loci are summed in locus
// order once a batch of randomisations is dealt.
void deal_randomisations(RunContext& ctx, const CountTables& ct, const WcState& wc_start, const PoolPlan& plan,
                         std::vector<int32_t>& counts, std::vector<int32_t>& hets, Series& series,
                         Progress& progress, const Rng& start, int64_t count) {
  const int nl = ct.nl;
  const int64_t per = plan.per_randomisation();
  const DealtLocusStats stats(ct, plan);
  const int parts = std::clamp(ctx.threads, 1, std::max(nl, 1));
  const std::vector<int> bounds = share_loci(plan, nl, parts);
  std::vector<DealtLocusStats::Worker> workers(static_cast<size_t>(parts), stats.worker(wc_start));
  using Result = DealtLocusStats::Result;
  const int64_t batch = std::clamp<int64_t>(kBatchResultBytes / (static_cast<int64_t>(nl) * sizeof(Result) + 1), 1, kMaxBatch);
  std::vector<Result> results(static_cast<size_t>(std::min(batch, count)) * nl);

  for (int64_t k0 = 1; k0 <= count; k0 += batch) {
    const int64_t size = std::min(batch, count - k0 + 1);
    parallel_shares(parts, parts, [&](int64_t begin, int64_t end, int) {
      for (int64_t part = begin; part < end; ++part) {
        DealtLocusStats::Worker& w = workers[static_cast<size_t>(part)];
        const int l_first = bounds[part], l_end = bounds[part + 1];
        if (l_first == l_end) continue;
        Rng rng = start.jumped(static_cast<uint64_t>((k0 - 1) * per + plan.offset[l_first]));
        const Rng::Stride to_next = Rng::stride(static_cast<uint64_t>(per - (plan.offset[l_end] - plan.offset[l_first])));
        for (int64_t i = 0; i < size; ++i) {
          for (int l = l_first; l < l_end; ++l) {
            pool_and_deal(plan, ct, l, counts.data(), hets.data(), w.list.data(), rng);
            const Result r = stats.compute(l, counts.data(), hets.data(), w);
            series.F.store_locus(k0 + i, l, r.F);
            series.G.store_locus(k0 + i, l, r.g);
            results[static_cast<size_t>(i * nl + l - 1)] = r;
          }
          rng.jump(to_next);
        }
      }
    });
    for (int64_t i = 0; i < size; ++i) {
      progress.step();
      long double ab = 0, abc = 0, g = 0;
      for (int l = 1; l <= nl; ++l) {
        const Result& r = results[static_cast<size_t>(i * nl + l - 1)];
        ab += r.ab;
        abc += r.abc;
        g += r.g;
      }
      series.F.store_total(k0 + i, wc_ratio(ab, abc));
      series.G.store_total(k0 + i, g);
    }
  }
}

// The tables hold the randomisation dealt into counts and hets.
void store_dealt(CountTables& ct, int nl, int first, int last, const std::vector<int32_t>& counts,
                 const std::vector<int32_t>& hets) {
  for (int l = 1; l <= nl; ++l)
    for (int s = first; s <= last; ++s) {
      const size_t row = ct.row(s, l);
      for (int j = 0, k = ct.index->alleles_at_locus(l); j < k; ++j) {
        ct.allele_count[row + j] = counts[row + j];
        ct.het_allele_count[row + j] = hets[row + j];
      }
    }
}

// The F and G of n randomisations, the observed data included, finished
// into their P-values.
Series randomise_overall(RunContext& ctx, Analysis& an, int first, int last, int64_t n) {
  const int nl = an.ds.nl;
  const PoolPlan plan(an.ct, first, last);
  const int64_t per = plan.per_randomisation();
  std::vector<int32_t> counts = integer_counts(an.ct, first, last, AlleleUnits::frequencies);
  std::vector<int32_t> hets(counts.size(), 0);
  Series series{PermSeries(n, nl), PermSeries(n, nl)};
  {
    Progress progress(ctx.host, n);
    // Past the whole test before it starts: a stopped run never hands the
    // same draws to a later test.
    const Rng start = ctx.rng;
    ctx.rng.jump(static_cast<uint64_t>((n - 1) * per));
    deal_randomisations(ctx, an.ct, an.wc, plan, counts, hets, series, progress, start, n - 2);

    // The last randomisation goes to the tables themselves, which the test
    // leaves holding it.
    progress.step();
    Rng rng = start.jumped(static_cast<uint64_t>((n - 2) * per));
    std::vector<int32_t> list = allele_list_buffer(plan.max_copies);
    for (int l = 1; l <= nl; ++l) pool_and_deal(plan, an.ct, l, counts.data(), hets.data(), list.data(), rng);
    store_dealt(an.ct, nl, first, last, counts, hets);
    wc_components(an.ct, an.wc, first, last, TablesOf::randomised);
    locus_g(an.ct, an.g, TablesOf::randomised);
    series.store(n - 1, an.wc, an.g);
  }
  const WcState& wc = an.wc;
  series.F.finish(wc.obs_F, wc.obs_F_locus, wc.samples_at_locus);
  series.G.finish(an.g.obs_g_total, an.g.obs_g_locus, wc.samples_at_locus);
  return series;
}

void write_overall(const RunOptions& opt, const Analysis& an, int64_t n, const Series& series,
                   const std::string& result_name) {
  const WcState& wc = an.wc;
  const GState& g = an.g;
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
  out.append_to(result_name);
}

}  // namespace

void hw_overall_test(RunContext& ctx, Analysis& an, int first, int last) {
  const int64_t n = ctx.nb_perm.perm_hw_overall;
  if (!enough_for_global_test(ctx.host, n, "Randomising alleles overall samples")) return;
  const Series series = randomise_overall(ctx, an, first, last, n);
  write_overall(ctx.options, an, n, series, ctx.result_name);
}

}  // namespace torvi
