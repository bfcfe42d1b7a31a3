#pragma once

#include "model/count_tables.h"
#include "model/wc_state.h"

namespace torvi {

// Variance components over samples first..last. Turns the count tables into
// frequencies in place (allele copies / 2n, heterozygous carriers / n).
void wc_components(CountTables& ct, WcState& wc, int first, int last, TablesOf tables);

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
                        TablesOf tables);

}  // namespace torvi
