#pragma once

#include <cstdint>
#include <vector>

#include "model/count_tables.h"

namespace torvi {

// The six sums of variance components over the alleles of a locus (or their
// totals over loci).
struct WcSums {
  long double ab = 0, abc = 0, a = 0, b = 0, bc = 0, c = 0;
  WcSums& operator+=(const WcSums& o) {
    ab += o.ab; abc += o.abc; a += o.a; b += o.b; bc += o.bc; c += o.c;
    return *this;
  }
};

// Results of the Weir & Cockerham variance-component engine. Per-locus
// vectors are [1..nl]; per-allele vectors are indexed by AlleleIndex slot.
struct WcState {
  int wc_calls = 0;  // the driver zeroes it before the observed call

  std::vector<int32_t> samples_at_locus;  // r per locus; np until the first call

  // Per allele, first call only (a skipped allele's values are 0 on every call).
  std::vector<long double> wc_F_allele, wc_theta_allele, wc_f_allele, wc_rel_allele;

  // Per locus.
  std::vector<WcSums> locus_sums;
  std::vector<long double> wc_F_locus, wc_theta_locus, wc_f_locus, wc_rel_locus;
  std::vector<long double> nbar;  // mean sample size n̄ (0 when no individual typed)
  std::vector<long double> S2;    // Σ n² over the samples of the range
  // Per allele slot, from the last call: p̄, h̄ and Q = Σ n p². The jackknife
  // over samples turns p̄ and h̄ (and n̄) into sums in place.
  std::vector<long double> pbar, hbar, Q;

  // Over loci.
  WcSums totals;
  long double wc_F = 0, wc_theta = 0, wc_f = 0, wc_rel = 0;

  // Observed copies, written on the first call.
  long double obs_F = 0, obs_theta = 0, obs_f = 0;
  WcSums obs_totals;
  std::vector<long double> obs_F_locus, obs_theta_locus, obs_f_locus;

  // Sizes every vector for the data set; samples_at_locus = np.
  void allocate(const CountTables& ct);
};

// Variance components over samples first..last. Turns the count tables into
// frequencies in place (allele copies / 2n, heterozygous carriers / n).
void wc_components(CountTables& ct, WcState& wc, int first, int last);

// a / d, or na_value when |d| is too small to divide by.
long double wc_ratio(long double a, long double d);

// The factors of the components that depend only on the locus: r samples of
// mean size n̄ and corrected size n_c.
struct WcLocusTerms {
  WcLocusTerms(int r, long double nbar, long double nc);
  long double nbar_less_one;  // n̄ - 1
  long double among;          // (r - 1) / r
  long double a_factor;       // n̄ / n_c
  long double b_factor;       // n̄ / (n̄ - 1)
  long double h_factor;       // (2n̄ - 1) / (4n̄)
};

// Components of one allele from its mean frequency p̄, the variance s² of its
// frequency over samples and its mean heterozygote proportion h̄: a among
// samples, b among individuals within samples, c within individuals. A
// component below 1e-10 in absolute value counts as 0.
struct WcAlleleComponents {
  long double a = 0, b = 0, c = 0;
};
WcAlleleComponents wc_allele_components(long double pbar, long double s2, long double hbar, const WcLocusTerms& t);

// What wc_components makes of locus l once the sums over the samples are in
// place: Σ n p, Σ n h and Σ n p² per allele slot in wc.pbar, wc.hbar and
// wc.Q; r samples with typed individuals, S1 = Σ n and S2 = Σ n². Sets the
// locus's values and locus_sums (zero when it has no estimate); the caller
// adds locus_sums to the totals, loci in order.
void wc_locus_from_sums(WcState& wc, const AlleleIndex& ix, int l, int r, long double S1, long double S2,
                        bool first_call);

}  // namespace torvi
