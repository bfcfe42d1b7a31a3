#pragma once

#include <cstdint>
#include <vector>

#include "model/count_tables.h"
#include "util/size_tables.h"

namespace torvi {

// What the cells of samples first..last add to the sums of the variance
// components when they hold integer counts. A cell whose sample has n typed
// individuals adds n·p and n·p·p with p = c/2n for c allele copies, and n·h
// with h = x/n for x heterozygous carriers, each formed exactly as
// wc_components forms it from the frequencies, and the sums run over the
// samples in order: the results are the same numbers. The randomisations
// deal integer counts; looking the terms up spares them three
// extended-precision divisions per cell, and summing slot by slot keeps each
// sum in a register.
class CellTerms {
 public:
  // Tables of terms take at most `table_budget` entries of each kind.
  CellTerms(const CountTables& ct, int first, int last, size_t table_budget = size_t{1} << 20);
  CellTerms(const CellTerms&) = delete;  // its samples point into its tables
  CellTerms& operator=(const CellTerms&) = delete;

  // Per slot j of locus l: Σ n·p and Σ n·p² over the typed samples of the
  // range, from the copies counts[row(s, l) + j] (`counts` laid out like the
  // tables).
  void allele_sums(int l, const int32_t* counts, long double* n_p, long double* n_p_p) const;
  // Per slot j of locus l: Σ n·h from the heterozygous carriers hets[row(s, l) + j].
  void het_sums(int l, const int32_t* hets, long double* n_h) const;

  // Samples of the range typed at locus l, Σ n and Σ n² over them (in order).
  int typed_samples(int l) const { return loci_[l].end - loci_[l].begin; }
  long double S1(int l) const { return loci_[l].S1; }
  long double S2(int l) const { return loci_[l].S2; }

 private:
  struct AlleleTerms {
    long double n_p = 0, n_p_p = 0;
  };
  static AlleleTerms allele_terms(int n, int c);
  static long double het_term(int n, int x);

  struct TypedSample {
    int n = 0;
    size_t row = 0;
    const AlleleTerms* alleles = nullptr;  // by copies 0..2n; null: computed
    const long double* hets = nullptr;     // by carriers 0..n; null: computed
  };
  struct Locus {
    int k = 0;
    int begin = 0, end = 0;  // its typed samples in samples_
    long double S1 = 0, S2 = 0;
  };

  std::vector<Locus> loci_;  // [1..nl]
  std::vector<TypedSample> samples_;
  SizeTables<AlleleTerms> allele_tables_;
  SizeTables<long double> het_tables_;
};

}  // namespace torvi
