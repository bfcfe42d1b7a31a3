#pragma once

#include <cstdint>
#include <vector>

#include "ld/genotypes.h"
#include "model/limits.h"
#include "stats/g_statistics.h"

namespace torvi {

// The contingency table of one sample and pair of loci (genotypes of the
// first locus in rows, of the second in columns, both as present in the
// sample) with its G term. One per worker: it is sized once for the largest
// table and sample, and counting allocates nothing.
class LdTable {
 public:
  LdTable(size_t max_cells, int max_count);

  // Counts the individuals of sample s typed at both loci and returns
  // Σ c ln c over the cells with c > 1. The sum runs over the distinct counts
  // in ascending order, each term being (cells holding c) × c ln c, so tables
  // holding the same counts anywhere give exactly the same value.
  long double count(const LdGenotypes& lg, int s, int l1, int l2);
  // The same G counted over the positions for_each_position(visit) visits
  // (those typed at both loci), leaving the table empty: the cells are
  // cleared as they are read, for the permutations that need nothing else.
  template <class ForEachPosition>
  long double permuted_g(const LdGenotypes& lg, int s, int l1, int l2, ForEachPosition&& for_each_position) {
    fill(lg, s, l1, l2, for_each_position);
    return g_of_cells<true>();
  }

  int rows() const { return rows_; }
  int cols() const { return cols_; }
  // Count of compact genotypes r (row) and c (column), both 1-based.
  int32_t at(int r, int c) const { return cells_[static_cast<size_t>(r - 1) * cols_ + (c - 1)]; }
  // Non-empty cells of the last count, as offsets (r-1)*cols + (c-1).
  const int32_t* touched_begin() const { return touched_.data(); }
  const int32_t* touched_end() const { return touched_.data() + n_touched_; }

 private:
  // Counts the genotype pairs of the positions visited, after clearing the
  // cells of the last count.
  template <class ForEachPosition>
  void fill(const LdGenotypes& lg, int s, int l1, int l2, ForEachPosition& for_each_position) {
    for (size_t t = 0; t < n_touched_; ++t) cells_[static_cast<size_t>(touched_[t])] = 0;
    rows_ = lg.n_genotypes(s, l1);
    cols_ = lg.n_genotypes(s, l2);
    const int32_t* row_of = lg.positions(l1, s);
    const int32_t* col_of = lg.positions(l2, s);
    int32_t* cells = cells_.data();
    int32_t* touched = touched_.data();
    const int32_t cols = cols_;
    size_t n_touched = 0;
    for_each_position([&](int p) {
      const int32_t r = row_of[p], c = col_of[p];
      if (r == 0 || c == 0) return;
      const int32_t cell = (r - 1) * cols + (c - 1);
      touched[n_touched] = cell;
      n_touched += cells[cell]++ == 0;
    });
    n_touched_ = n_touched;
  }
  template <bool kClear>
  long double g_of_cells();

  std::vector<int32_t> cells_;
  std::vector<int32_t> touched_;
  size_t n_touched_ = 0;
  std::vector<int32_t> cells_holding_;  // by count above 1 (entry 1 is scratch)
  XLogX c_ln_c_;
  int rows_ = 0, cols_ = 0;
};

// One line of the details file: allele indices A (first locus) and B.
struct LdAllelePair {
  int a = 0, b = 0;
  int n = 0;
  long double pA = 0, pB = 0, piA = 0, piB = 0, nAB = 0;
  long double delta_corrected = 0;  // Δ × n/(n − 1)
  bool has_rab = false;          // πA πB above the bound
  long double rab = 0;
  bool has_delta_prime = false;  // Δmax above the bound
  long double delta_prime = 0;
};

// Result of the observed statistic of one sample and pair.
struct LdPairResult {
  bool testable = false;
  long double g = 0;
  long double delta_prime = na_value;  // Σ |Delta'| pA pB over allele pairs
  long double r2 = na_value;           // Σ RAB² pA pB
  int n = 0;                           // individuals typed at both loci
};

// Where the observed statistic reports what it finds.
class LdPairObserver {
 public:
  virtual ~LdPairObserver() = default;
  virtual void gamete_counts_differ() = 0;
  virtual bool wants_table() const = 0;
  virtual void table(int s, int l1, int l2, const LdTable& t) = 0;
  virtual bool wants_allele_pairs() const = 0;
  virtual void allele_pair(int s, int l1, int l2, const LdAllelePair& line) = 0;
};

// Working arrays of the estimators, sized once for the data set.
struct LdEstimatorScratch {
  explicit LdEstimatorScratch(const LdGenotypes& lg);
  std::vector<int64_t> n_a, n_b;        // allele copies by index
  std::vector<int64_t> hom_a, hom_b;    // homozygotes by allele index
  std::vector<int64_t> row_total, col_total;
  std::vector<int64_t> twice_n_ab;      // [a * (k2 + 1) + b], 2 nAB (exact)
};

// Observed statistic of sample s for loci l1 < l2: counts the table, decides
// whether it is testable and forms the composite disequilibrium estimators.
LdPairResult ld_pair_stat(const LdGenotypes& lg, int s, int l1, int l2, LdTable& table,
                          LdEstimatorScratch& scratch, LdPairObserver& observer);

}  // namespace torvi
