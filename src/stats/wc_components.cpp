#include "stats/wc_components.h"

#include <cmath>

#include "model/limits.h"
#include "stats/tolerances.h"

namespace torvi {

namespace {

long double relatedness(const WcSums& s) { return wc_ratio(2 * s.a, 2 * s.ab + s.c); }

}  // namespace

long double wc_ratio(long double a, long double d) { return std::fabs(d) <= kNegligible ? na_value : a / d; }


WcLocusTerms::WcLocusTerms(int r, long double nbar, long double nc)
    : nbar_less_one(nbar - 1),
      among(static_cast<long double>(r - 1) / r),
      a_factor(nbar / nc),
      b_factor(nbar / (nbar - 1)),
      h_factor((2 * nbar - 1) / (4 * nbar)) {}

WcAlleleComponents wc_allele_components(long double pbar, long double s2, long double hbar, const WcLocusTerms& t) {
  const long double q = pbar * (1 - pbar) - t.among * s2;
  WcAlleleComponents x;
  x.a = t.a_factor * (s2 - (q - hbar / 4) / t.nbar_less_one);
  x.b = t.b_factor * (q - t.h_factor * hbar);
  x.c = hbar / 2;
  for (long double* v : {&x.a, &x.b, &x.c})
    if (std::fabs(*v) < kNegligible) *v = 0;
  return x;
}

void wc_locus_from_sums(WcState& wc, const AlleleIndex& ix, int l, int r, long double S1, long double S2,
                        TablesOf tables) {
  const bool observed = tables == TablesOf::observed;
  const int k = ix.alleles_at_locus(l);
  const size_t base = static_cast<size_t>(ix.first[l]);
  long double* sum_np = wc.pbar.data() + base;
  long double* sum_nh = wc.hbar.data() + base;
  wc.samples_at_locus[l] = r;
  wc.S2[l] = S2;
  const long double nbar = r > 0 ? S1 / r : 0.0L;
  wc.nbar[l] = nbar;
  // Q stays a sum; p̄ and h̄ become means.
  for (int j = 0; j < k; ++j) {
    sum_np[j] = S1 == 0 ? 0.0L : sum_np[j] / (r * nbar);
    sum_nh[j] = S1 == 0 ? 0.0L : sum_nh[j] / (r * nbar);
  }

  WcSums& sums = wc.locus_sums[l];
  sums = WcSums{};
  wc.wc_F_locus[l] = wc.wc_theta_locus[l] = wc.wc_f_locus[l] = wc.wc_rel_locus[l] = na_value;
  // With n̄ <= 1 the components would divide by n̄ - 1 <= 0: no estimate.
  if (r <= 1 || S1 == 0 || nbar <= 1) {
    if (observed)
      for (int j = 0; j < k; ++j)
        wc.wc_F_allele[base + j] = wc.wc_theta_allele[base + j] = wc.wc_f_allele[base + j] =
            wc.wc_rel_allele[base + j] = na_value;
    return;
  }

  const long double nc = (S1 - S2 / S1) / (r - 1);
  const WcLocusTerms terms(r, nbar, nc);
  for (int j = 0; j < k; ++j) {
    const size_t slot = base + j;
    const long double pm = wc.pbar[slot];
    if (pm <= 0.0001L || pm >= 0.9999L) {
      wc.wc_F_allele[slot] = wc.wc_theta_allele[slot] = wc.wc_f_allele[slot] = wc.wc_rel_allele[slot] = 0;
      continue;
    }
    const long double s2 = (wc.Q[slot] - pm * pm * r * nbar) / ((r - 1) * nbar);
    const auto [a, b, c] = wc_allele_components(pm, s2, wc.hbar[slot], terms);
    const WcSums one{a + b, a + b + c, a, b, b + c, c};
    if (observed) {
      wc.wc_F_allele[slot] = wc_ratio(one.ab, one.abc);
      wc.wc_theta_allele[slot] = wc_ratio(one.a, one.abc);
      wc.wc_f_allele[slot] = wc_ratio(one.b, one.bc);
      wc.wc_rel_allele[slot] = relatedness(one);
    }
    sums += one;
  }

  wc.wc_F_locus[l] = wc_ratio(sums.ab, sums.abc);
  wc.wc_theta_locus[l] = wc_ratio(sums.a, sums.abc);
  wc.wc_f_locus[l] = wc_ratio(sums.b, sums.bc);
  wc.wc_rel_locus[l] = relatedness(sums);
}

void wc_components(CountTables& ct, WcState& wc, int first, int last, TablesOf tables) {
  const bool observed = tables == TablesOf::observed;
  const AlleleIndex& ix = *ct.index;
  wc.totals = WcSums{};

  for (int l = 1; l <= ct.nl; ++l) {
    const int k = ix.alleles_at_locus(l);
    const size_t base = static_cast<size_t>(ix.first[l]);
    long double* sum_np = wc.pbar.data() + base;
    long double* sum_nh = wc.hbar.data() + base;
    long double* sum_npp = wc.Q.data() + base;
    for (int j = 0; j < k; ++j) sum_np[j] = sum_nh[j] = sum_npp[j] = 0;

    // Counts to frequencies, and the per-allele sums over samples.
    int r = last - first + 1;
    long double S1 = 0, S2 = 0;
    for (int s = first; s <= last; ++s) {
      const int32_t n = ct.typed(s, l);
      long double* p = ct.allele_row(s, l);
      long double* h = ct.het_row(s, l);
      if (n == 0) {
        for (int j = 0; j < k; ++j) p[j] = h[j] = 0;
        --r;
        continue;
      }
      const long double nn = n;
      S1 += nn;
      S2 += nn * nn;
      for (int j = 0; j < k; ++j) {
        p[j] = p[j] / (2 * nn);
        h[j] = h[j] / nn;
        sum_np[j] += nn * p[j];
        sum_nh[j] += nn * h[j];
        sum_npp[j] += nn * p[j] * p[j];
      }
    }
    wc_locus_from_sums(wc, ix, l, r, S1, S2, tables);
    wc.totals += wc.locus_sums[l];
  }

  const WcSums& t = wc.totals;
  wc.wc_F = wc_ratio(t.ab, t.abc);
  wc.wc_theta = wc_ratio(t.a, t.abc);
  wc.wc_f = wc_ratio(t.b, t.bc);
  wc.wc_rel = relatedness(t);

  if (observed) {
    wc.obs_F = wc.wc_F;
    wc.obs_theta = wc.wc_theta;
    wc.obs_f = wc.wc_f;
    wc.obs_totals = wc.totals;
    wc.obs_F_locus = wc.wc_F_locus;
    wc.obs_theta_locus = wc.wc_theta_locus;
    wc.obs_f_locus = wc.wc_f_locus;
  }
}

}  // namespace torvi
