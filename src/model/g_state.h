#pragma once

#include <vector>

#include "util/count_log_sum.h"

namespace torvi {

// Log-likelihood sums of the sample-by-allele tables.
struct GState {
  std::vector<long double> g_locus;      // [1..nl], current
  long double g_total = 0;
  std::vector<long double> obs_g_locus;  // [1..nl], observed (na_value with <= 1 allele)
  long double obs_g_total = 0;

  // Scratch of locus_g, sized on the observed call so that
  // the calls of the randomisations allocate nothing.
  XLogX xlogx;
  CountHistogram histogram;

  void allocate(int nl);
};

}  // namespace torvi
