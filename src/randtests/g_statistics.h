#pragma once

#include <vector>

#include "stats/count_tables.h"

namespace torvi {

// Log-likelihood sums of the sample-by-allele tables.
struct GState {
  int g_calls = 0;  // the driver zeroes it before the observed call
  std::vector<long double> g_locus;      // [1..nl], current
  long double g_total = 0;
  std::vector<long double> obs_g_locus;  // [1..nl], observed (na_value with <= 1 allele)
  long double obs_g_total = 0;

  void allocate(int nl);
};

// Σ x ln x over samples and alleles of each locus, x the allele count
// (2 n p rounded to the nearest integer); reads allele_count as frequencies.
void locus_g(const CountTables& ct, GState& g);

// G of the table of samples s1 and s2 (without the factor 2); reads
// allele_count as counts.
long double pair_g(const CountTables& ct, int s1, int s2);

// k ln k for integer counts, from a table filled once: (long double)k * log(k).
class XLogX {
 public:
  explicit XLogX(int max_count = 0) { reserve(max_count); }
  void reserve(int max_count);
  long double operator()(int k) const { return table_[static_cast<size_t>(k)]; }

 private:
  std::vector<long double> table_;
};

}  // namespace torvi
