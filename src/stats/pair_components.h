#pragma once

#include <cstdint>
#include <vector>

#include "stats/count_tables.h"

namespace torvi {

// Weir & Cockerham's components of two samples alone, summed over the
// alleles and loci where both have more than one typed individual, from
// tables holding frequencies. No allele is left out and no small component
// is set to 0.
struct PairSums {
  long double tot = 0;  // Σ(a+b+c)
  long double sa = 0;   // Σa
};

// Sums for any pair of samples of one set of tables, made once for many
// pairs. Every allele's terms depend on the two sample sizes and on small
// integers (copies and heterozygous carriers per sample), so for the sizes
// that occur the parts of the components that depend on one kind of integer
// only are tabulated per pair of sizes, formed by the same operations as
// from the tables: the sums are those of the direct formulas, to the last
// bit. Sizes too large to tabulate, or tables that do not hold counts
// divided by the sample sizes, take the direct formulas.
class PairComponents {
 public:
  // `tabulate` false: the direct formulas for every pair (for comparison).
  explicit PairComponents(const CountTables& ct, bool tabulate = true);
  PairSums sums(int s, int t) const;

  // Parts of one allele's components that depend on the copies of the two
  // samples (s², q) and on their heterozygous carriers (h̄ and its term in b).
  struct CopyParts {
    long double s2 = 0, q = 0;
  };
  struct CarrierParts {
    long double hm = 0, h_term = 0;
  };

 private:
  struct Sizes;  // the constants of a pair of sample sizes
  struct Tables {
    int ns = 0, nt = 0;
    std::vector<CopyParts> copies;      // [cs * (2 nt + 1) + ct]
    std::vector<CarrierParts> carriers; // [xs * (nt + 1) + xt]
  };
  void make_tables(const std::vector<int>& sizes_present);
  const Tables* tables_for(int ns, int nt) const;

  const CountTables& ct_;
  std::vector<long double> np_, npp_, nh_;  // n p, n p p, n h, laid out like the tables
  std::vector<int32_t> copies_, carriers_;  // the integers behind p and h
  bool integers_ = false;                   // p = copies / 2n and h = carriers / n exactly
  int tabulated_max_ = 0;
  std::vector<int32_t> table_of_;           // [ns * (tabulated_max_ + 1) + nt], ns <= nt: into tables_, or -1
  std::vector<Tables> tables_;
};

}  // namespace torvi
