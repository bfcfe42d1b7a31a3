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
  std::vector<int32_t> samples_at_locus;  // r per locus; np until the observed call

  // Per allele, from the observed call only (a skipped allele's values are 0 on every call).
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

  // Observed copies, written by the observed call.
  long double obs_F = 0, obs_theta = 0, obs_f = 0;
  WcSums obs_totals;
  std::vector<long double> obs_F_locus, obs_theta_locus, obs_f_locus;

  // Sizes every vector for the data set; samples_at_locus = np.
  void allocate(const CountTables& ct);
};

}  // namespace torvi
