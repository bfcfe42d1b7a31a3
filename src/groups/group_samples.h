#pragma once

#include <cstdint>
#include <vector>

#include "model/count_tables.h"

namespace torvi {

// What the comparison of groups needs of each sample, formed once per data
// file from the count tables once they hold frequencies: so that a group's
// statistics only pool these over its members, whoever they are.
class GroupSamples {
 public:
  // `ct` holds allele frequencies and heterozygote proportions per sample.
  // The rarefied richness is formed only when `richness` is asked and every
  // sample is typed at every locus (min_typed >= 1).
  GroupSamples(const CountTables& ct, bool richness);

  int samples() const { return np_; }
  int loci() const { return nl_; }
  int alleles(int l) const { return index_->alleles_at_locus(l); }
  bool has_richness() const { return !richness_.empty(); }

  // Each per-sample value is kept as two doubles whose sum in extended
  // precision is the value exactly: loading two doubles costs far less than
  // loading one extended real, and the sums over members come out the same.
  static constexpr int kParts = 2;
  static constexpr int kValues = 3;  // n·p, n·(p·p), n·h
  static constexpr int kStride = kParts * kValues;
  static long double value(const double* parts) { return static_cast<long double>(parts[0]) + parts[1]; }

  int32_t typed(int s, int l) const { return typed_[index(s, l)]; }
  // n·p, n·(p·p) and n·h of each allele slot of locus l in sample s, kStride
  // doubles a slot.
  const double* sums(int s, int l) const { return &sums_[kStride * row(s, l)]; }
  // Expected number of alleles of sample s at locus l in 2·min_typed genes.
  long double richness(int s, int l) const { return richness_[index(s, l)]; }

 private:
  size_t index(int s, int l) const { return static_cast<size_t>(s) * (nl_ + 1) + l; }
  size_t row(int s, int l) const {
    return static_cast<size_t>(np_) * index_->first[l] + static_cast<size_t>(s - 1) * index_->alleles_at_locus(l);
  }

  const AlleleIndex* index_;
  int np_, nl_;
  std::vector<int32_t> typed_;
  std::vector<double> sums_;
  std::vector<long double> richness_;
};

// Expected number of distinct alleles among `genes_drawn` genes drawn without
// replacement from a sample of n typed individuals whose allele frequencies
// are `p` (k alleles): the sum over alleles of 1 - Q, Q the probability that
// the allele is not drawn, formed through logarithms.
long double rarefied_richness(const long double* p, int k, int32_t n, int genes_drawn);

}  // namespace torvi
