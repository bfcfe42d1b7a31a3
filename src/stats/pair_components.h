#pragma once

#include <cstdint>
#include <vector>

#include "model/count_tables.h"
#include "util/split_real.h"

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
// bit. For the alleles with few copies in both samples (most alleles of most
// pairs) the whole terms are tabulated too. Sizes too large to tabulate, or tables that do not hold counts
// divided by the sample sizes, take the direct formulas.
class PairComponents {
 public:
  // `tabulate` false: the direct formulas for every pair (for comparison).
  explicit PairComponents(const CountTables& ct, bool tabulate = true);
  PairSums sums(int s, int t) const;
  // Adds what locus l gives the pair (s, t) to `sums` (loci are added in
  // order, one at a time).
  void add_locus(int s, int t, int l, PairSums& sums) const;

  // Parts of one allele's components that depend on the copies of the two
  // samples (s², q) and on their heterozygous carriers (h̄ and its term in b).
  struct CopyParts {
    long double s2 = 0, q = 0;
  };
  struct CarrierParts {
    long double hm = 0, h_term = 0;
  };

 private:
  // What one allele adds to the sums of a pair: a + b + c and a.
  struct AlleleTerms {
    long double abc = 0, a = 0;
  };
  struct SplitTerms {
    SplitReal abc, a;
  };
  // The constants of a pair of samples of ns and nt typed individuals.
  struct Sizes {
    long double nbar, two_nbar, nbar_less_1, nc, h_scale, h_divisor;
    Sizes(long double ns, long double nt)
        : nbar((ns + nt) / 2), two_nbar(2 * nbar), nbar_less_1(nbar - 1),
          nc(two_nbar - (ns * ns + nt * nt) / two_nbar), h_scale(2 * nbar - 1), h_divisor(4 * nbar) {}

    CopyParts copy_parts(long double Ps, long double Pt, long double Qs, long double Qt) const {
      const long double pm = (Ps + Pt) / two_nbar;
      const long double s2 = (Qs + Qt - two_nbar * pm * pm) / nbar;
      return {s2, pm * (1 - pm) - s2 / 2};
    }
    CarrierParts carrier_parts(long double Hs, long double Ht) const {
      const long double hm = (Hs + Ht) / two_nbar;
      return {hm, h_scale * hm / h_divisor};
    }
    AlleleTerms terms(const CopyParts& e, const CarrierParts& f) const {
      const long double a = nbar * (e.s2 - (e.q - f.hm / 4) / nbar_less_1) / nc;
      const long double b = nbar * (e.q - f.h_term) / nbar_less_1;
      const long double c = f.hm / 2;
      return {a + b + c, a};
    }
    // Adds the allele's a + b + c and a.
    void add(const CopyParts& e, const CarrierParts& f, long double& tot, long double& sa) const {
      const AlleleTerms t = terms(e, f);
      tot += t.abc;
      sa += t.a;
    }
  };
  struct Tables {
    int ns = 0, nt = 0;
    Sizes sizes;
    std::vector<CopyParts> copies;      // [cs * (2 nt + 1) + ct]
    std::vector<CarrierParts> carriers; // [xs * (nt + 1) + xt]
    // Whole terms of the alleles with fewer than kFewCopies copies in both
    // samples (most alleles of most pairs): [few(cs, xs) * kFewPairs + few(ct, xt)].
    std::vector<SplitTerms> few;
  };
  static constexpr int kFewCopies = 12;
  static constexpr int kFewPairs = kFewCopies * (kFewCopies + 1) / 2;
  // Position of copies c and carriers x <= c among the pairs with c < kFewCopies.
  static int few(int c, int x) { return c * (c + 1) / 2 + x; }
  void make_tables(const std::vector<int>& sizes_present);
  static bool make_few_terms(const Sizes& z, Tables& t);
  struct Integers {
    int32_t copies = 0, carriers = 0;  // the integers behind p and h
  };
  struct PairAtLocus;
  bool order(int& s, int& t, int l) const;
  bool from_tables(int s, int t, int l, PairAtLocus& pair) const;
  const Tables* tables_for(int ns, int nt) const;

  const CountTables& ct_;
  std::vector<long double> np_, npp_, nh_;  // n p, n p p, n h, laid out like the tables
  std::vector<Integers> integers_;          // laid out like the tables
  bool exact_integers_ = false;             // p = copies / 2n and h = carriers / n exactly
  int tabulated_max_ = 0;
  std::vector<int32_t> table_of_;           // [ns * (tabulated_max_ + 1) + nt], ns <= nt: into tables_, or -1
  std::vector<Tables> tables_;
};

}  // namespace torvi
