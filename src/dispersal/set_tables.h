#pragma once

#include <cstdint>
#include <vector>

#include "dispersal/genotype_set.h"

namespace torvi::dispersal {

// A set's genotypes with each allele replaced by its index among the alleles
// present at its locus (ascending allele numbers, loci one after another),
// so that tables hold only alleles that occur.
struct IndexedSet {
  int32_t np = 0, nl = 0, ni = 0;
  std::vector<int32_t> cumulative;   // as GenotypeSet::cumulative
  std::vector<int32_t> locus_first;  // [l] for l = 0..nl: first index of locus l; [nl] = all alleles
  std::vector<int32_t> allele_of;    // allele number of each index
  std::vector<int32_t> first_allele, second_allele;  // [k × nl + l]: indices, -1 when untyped

  int32_t alleles() const { return locus_first.back(); }
  int32_t largest_sample() const;
  bool typed(int32_t k, int32_t l) const { return first_allele[static_cast<size_t>(k) * nl + l] >= 0; }
};

IndexedSet index_alleles(const GenotypeSet& set);

// The counts of one set of individuals per sample: typed individuals per
// locus, allele copies and heterozygous carriers per allele. Laid out with
// the samples innermost, as the statistics walk them. Sized once; no
// allocation afterwards.
struct CountTables {
  int32_t np = 0, nl = 0;
  std::vector<int32_t> typed;   // [l × np + s - 1]
  std::vector<int32_t> copies;  // [u × np + s - 1]
  std::vector<int32_t> het;     // [u × np + s - 1]

  CountTables() = default;
  CountTables(int32_t samples, int32_t loci, int32_t alleles);
  void clear();
  // Adds individual k of `set`, counted in sample s.
  void add(const IndexedSet& set, int32_t k, int32_t s);
  // This = whole − part, cell by cell (the individuals of whole not in part).
  void difference(const CountTables& whole, const CountTables& part);
};

// The tables of a whole set, individuals in their samples.
CountTables count_set(const IndexedSet& set);

}  // namespace torvi::dispersal
