#include "randtests/hw_within_test.h"

#include <algorithm>
#include <string>
#include <vector>

#include "host/progress.h"
#include "model/test_minimum.h"
#include "randtests/cell_terms.h"
#include "randtests/perm_series.h"
#include "randtests/shuffles.h"
#include "report/report_text.h"
#include "stats/wc_components.h"
#include "util/parallel.h"

namespace torvi {

namespace {

// Scratch of one redeal: the allele list and the heterozygotes counted in
// integers before they go to the table.
struct RedealScratch {
  std::vector<int32_t> list, het;
  explicit RedealScratch(const WithinSampleDraws& d)
      : list(allele_list_buffer(d.max_copies)), het(static_cast<size_t>(d.max_alleles)) {}
};

// One randomisation on the tables: the frequencies of every sample of the
// range turned back into counts and its copies redealt, sample by sample,
// loci inner; then the variance components of the new tables.
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
      redeal_within_sample(copies.data() + ct.row(s, l), k, scratch.het.data(), scratch.list.data(), rng);
      long double* het = ct.het_row(s, l);
      for (int j = 0; j < k; ++j) het[j] = scratch.het[j];
    }
  wc_components(ct, wc, first, last, TablesOf::randomised);
}

// True when frequency -> count -> frequency is a fixed point after one round
// for every cell of the range. The allele frequencies are then the same at
// the end of every randomisation.
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

// What `randomise` computes, without touching the tables, for frequencies
// that settle: the allele sums over samples are then the same in every
// randomisation and are formed once; only the heterozygote sums change, and
// they are built from the integer counts of the redeals.
class SettledRandomiser {
 public:
  SettledRandomiser(const CountTables& ct, const WcState& wc, int first, int last)
      : ct_(ct), ix_(*ct.index), first_(first), last_(last), terms_(ct, first, last), n_p_(wc.pbar.size(), 0.0L),
        n_p_p_(wc.pbar.size(), 0.0L) {
    for (int s = first; s <= last; ++s)
      for (int l = 1; l <= ct.nl; ++l) {
        const int n = ct.typed(s, l);
        if (n == 0) continue;
        const long double nn = n, two_n = 2.0L * n;
        const long double* p = ct.allele_row(s, l);
        const size_t base = static_cast<size_t>(ix_.first[l]);
        for (int j = 0, k = ix_.alleles_at_locus(l); j < k; ++j) {
          const long double settled = (p[j] * two_n) / (2 * nn);
          n_p_[base + j] += nn * settled;
          n_p_p_[base + j] += nn * settled * settled;
        }
      }
  }

  struct Worker {
    WcState wc;
    RedealScratch scratch;
    std::vector<int32_t> hets;  // laid out like the tables
  };
  Worker worker(const WcState& wc, const RedealScratch& scratch) const {
    return {wc, scratch, std::vector<int32_t>(ct_.allele_count.size(), 0)};
  }

  // Leaves smallf over loci in w.wc.wc_f and per locus in w.wc.wc_f_locus.
  void randomise(Worker& w, const std::vector<int32_t>& copies, Rng& rng) const {
    for (int s = first_; s <= last_; ++s)
      for (int l = 1; l <= ct_.nl; ++l) {
        if (ct_.typed(s, l) == 0) continue;
        const size_t row = ct_.row(s, l);
        redeal_within_sample(copies.data() + row, ix_.alleles_at_locus(l), w.hets.data() + row, w.scratch.list.data(), rng);
      }
    WcState& wc = w.wc;
    wc.totals = WcSums{};
    for (int l = 1; l <= ct_.nl; ++l) {
      const auto begin = static_cast<size_t>(ix_.first[l]), end = static_cast<size_t>(ix_.first[l + 1]);
      std::copy(n_p_.begin() + begin, n_p_.begin() + end, wc.pbar.begin() + begin);
      std::copy(n_p_p_.begin() + begin, n_p_p_.begin() + end, wc.Q.begin() + begin);
      terms_.het_sums(l, w.hets.data(), wc.hbar.data() + begin);
      wc_locus_from_sums(wc, ix_, l, terms_.typed_samples(l), terms_.S1(l), terms_.S2(l), TablesOf::randomised);
      wc.totals += wc.locus_sums[l];
    }
    wc.wc_f = wc_ratio(wc.totals.b, wc.totals.bc);
  }

 private:
  const CountTables& ct_;
  const AlleleIndex& ix_;
  int first_, last_;
  CellTerms terms_;
  std::vector<long double> n_p_, n_p_p_;  // per slot: Σ n p and Σ n p² over samples
};

}  // namespace

PermSeries randomise_within_samples(RunContext& ctx, Analysis& an, int first, int last, int64_t n) {
  const WithinSampleDraws draws = within_sample_draws(an.ct, first, last);
  RedealScratch scratch(draws);
  const std::vector<int32_t> copies = integer_counts(an.ct, first, last, AlleleUnits::frequencies);
  PermSeries f(n, an.ds.nl);

  // Randomisation k uses draws (k-1)D.. of the stream. With settling
  // frequencies, randomisations 1..N-2 are independent of one another and
  // shared among workers; the last one runs on the tables themselves, which
  // the test leaves holding it.
  const int64_t settled = frequencies_settle(an.ct, first, last) ? n - 2 : 0;
  Progress progress(ctx.host, n);
  if (settled > 0) {
    const SettledRandomiser randomiser(an.ct, an.wc, first, last);
    const int used = static_cast<int>(std::min<int64_t>(std::max(ctx.threads, 1), settled));
    std::vector<SettledRandomiser::Worker> workers(static_cast<size_t>(used), randomiser.worker(an.wc, scratch));
    // Past the settled part before it starts: a stopped run never hands the
    // same draws to a later test.
    const Rng start = ctx.rng;
    ctx.rng.jump(static_cast<uint64_t>(settled * draws.per_randomisation));
    parallel_shares(used, settled, [&](int64_t begin, int64_t end, int wi) {
      SettledRandomiser::Worker& w = workers[static_cast<size_t>(wi)];
      Rng rng = start.jumped(static_cast<uint64_t>(begin * draws.per_randomisation));
      for (int64_t k = begin + 1; k <= end; ++k) {
        progress.step();
        randomiser.randomise(w, copies, rng);
        f.store(k, w.wc.wc_f, w.wc.wc_f_locus);
      }
    });
  }
  for (int64_t k = settled + 1; k <= n - 1; ++k) {
    progress.step();
    randomise(an.ct, an.wc, first, last, copies, scratch, ctx.rng);
    f.store(k, an.wc.wc_f, an.wc.wc_f_locus);
  }
  f.finish(an.wc.obs_f, an.wc.obs_f_locus, an.wc.samples_at_locus);
  return f;
}

void write_hw_within(const PermSeries& f, int64_t n, const DataSet& ds, const WcState& wc,
                     const std::string& result_name) {
  ReportText out;
  out.line().line(kStars48).line();
  out.cell("Randomising alleles within samples.").eol();
  out.cell("Testing for Hardy-Weinberg within samples.").eol();
  out.cell("Statistic used to classified tables is smallf (Fis).").eol();
  out.cell("based on :" + integer(n, 6) + " randomisations.").eol();
  out.line();
  f.write_lines(out, ds, wc.obs_f, wc.obs_f_locus, wc.samples_at_locus);
  out.append_to(result_name);
}

void hw_within_test(RunContext& ctx, Analysis& an, int first, int last) {
  const int64_t n = ctx.nb_perm.perm_hw_within;
  if (!enough_for_global_test(ctx.host, n, "Hardy Weinberg within samples")) return;
  const PermSeries f = randomise_within_samples(ctx, an, first, last, n);
  write_hw_within(f, n, an.ds, an.wc, ctx.result_name);
}

}  // namespace torvi
