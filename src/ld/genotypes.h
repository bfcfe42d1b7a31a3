#pragma once

#include <cstdint>
#include <vector>

#include "model/count_tables.h"
#include "model/data_set.h"

namespace torvi {

// Genotype index of allele indices i and j at a locus of k alleles: the
// smaller index times k plus the larger. Sorting by it puts genotypes in the
// order (i <= j, i outer) in which the tables list them.
inline int32_t ld_genotype_index(int32_t i, int32_t j, int32_t k) {
  return i <= j ? i * k + j : j * k + i;
}

// The genotypes of a data set recoded for the disequilibrium tables. Alleles
// are numbered by first appearance in file order; each sample's genotypes at
// a locus are numbered 1..n_genotypes in the order of their genotype index
// (0: not typed), so a sample's table holds only the genotypes it has.
class LdGenotypes {
 public:
  LdGenotypes(const DataSet& ds, const AlleleIndex& alleles);

  int np() const { return np_; }
  int nl() const { return nl_; }
  // Alleles present at locus l over all samples.
  int alleles_at_locus(int l) const { return k_[l]; }
  // Identifier of the allele of index i (1-based) at locus l.
  int allele_id(int l, int i) const { return allele_order_[allele_first_[l] + i - 1]; }
  int allele_count_in_order(int l) const { return allele_first_[l + 1] - allele_first_[l]; }
  // Individuals of sample s (positions 1..sample_size).
  int sample_size(int s) const { return size_[s]; }
  int largest_sample() const { return largest_; }

  int n_genotypes(int s, int l) const { return static_cast<int>(present_end(s, l) - present_begin(s, l)); }
  // Genotype index of the compact genotype g (1..n_genotypes) of sample s at l.
  int32_t present_genotype(int s, int l, int g) const { return present_begin(s, l)[g - 1]; }
  // Allele indices (smaller first) of a genotype index at locus l.
  void alleles_of(int l, int32_t genotype_index, int& i, int& j) const;

  // Compact genotypes of sample s at locus l by position; [0] is unused.
  int32_t* positions(int l, int s) { return &geno_[locus_offset(l) + sample_offset_[s]]; }
  const int32_t* positions(int l, int s) const { return &geno_[locus_offset(l) + sample_offset_[s]]; }

 private:
  // Steps of the constructor.
  std::vector<int32_t> place_individuals(const DataSet& ds);
  int order_alleles(const DataSet& ds, int l, std::vector<int>& index_of);
  void list_present(const DataSet& ds, int l, const std::vector<int32_t>& genotype_index,
                    std::vector<std::vector<int32_t>>& sample_genotypes);
  void place_genotypes(const DataSet& ds, int l, const std::vector<int32_t>& genotype_index,
                       const std::vector<int32_t>& position_of);

  size_t locus_offset(int l) const { return static_cast<size_t>(l - 1) * positions_per_locus_; }
  size_t present_slot(int s, int l) const { return static_cast<size_t>(l - 1) * np_ + (s - 1); }
  const int32_t* present_begin(int s, int l) const { return present_.data() + present_first_[present_slot(s, l)]; }
  const int32_t* present_end(int s, int l) const { return present_.data() + present_first_[present_slot(s, l) + 1]; }

  int np_ = 0, nl_ = 0, largest_ = 0;
  std::vector<int> k_;                   // [1..nl]
  std::vector<int> k_formula_;           // [1..nl]: k used in the genotype index
  std::vector<int> allele_first_;        // [1..nl+1] into allele_order_
  std::vector<int> allele_order_;
  std::vector<int> size_;                // [1..np]
  std::vector<size_t> sample_offset_;    // [1..np]: start of a sample's positions within a locus
  size_t positions_per_locus_ = 0;
  std::vector<int32_t> geno_;
  std::vector<size_t> present_first_;    // [(l-1)*np + s-1], one past the last at the end
  std::vector<int32_t> present_;
};

}  // namespace torvi
