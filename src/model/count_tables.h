#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "model/data_set.h"

namespace torvi {

// What the count tables hold when an estimator is called on them: the data
// as read (the estimators then also keep their observed values apart) or a
// randomised data set.
enum class TablesOf { observed, randomised };

// What the allele tables of a sample hold: copies as counted, or the
// frequencies the variance components turn them into.
enum class AlleleUnits { copies, frequencies };

// The alleles present at each locus over the whole data set, ascending. Every
// per-allele table is indexed by a slot in this list, so tables scale with the
// alleles actually present rather than with the highest identifier. Alleles
// absent from the data set contribute nothing to any sum, so visiting only the
// present ones, in ascending order, leaves every result unchanged.
struct AlleleIndex {
  int nl = 0;
  int nu = 0;
  std::vector<int32_t> first;   // [1..nl+1]: slots of locus l are first[l] .. first[l+1]-1
  std::vector<int16_t> allele;  // identifier held by each slot
  std::vector<int32_t> slot_of; // [l * (nu + 1) + a]: slot of allele a at locus l, or -1

  int alleles_at_locus(int l) const { return first[l + 1] - first[l]; }
  int total_slots() const { return first[nl + 1]; }
  int slot(int l, int a) const { return slot_of[static_cast<size_t>(l) * (nu + 1) + a]; }

  // Built from the genotype codes of a freshly read data set.
  static AlleleIndex from_data(const DataSet& ds);
};

// Per sample, locus and allele counts that every estimator and test starts
// from. Layout is locus-major: the np x k_l block of locus l is contiguous,
// one row of k_l allele slots per sample.
struct CountTables {
  std::shared_ptr<const AlleleIndex> index;
  int np = 0;
  int nl = 0;

  std::vector<int32_t> typed_count;             // [s * (nl + 1) + l]
  std::vector<long double> allele_count;        // copies, or frequencies (AlleleUnits)
  std::vector<long double> het_allele_count;    // heterozygous carriers, later proportions
  std::vector<long double> total_allele_count;  // [slot], over all samples
  int32_t min_typed = 0;

  // Allocates every table for the data set; counts are zero.
  void allocate(const DataSet& ds, std::shared_ptr<const AlleleIndex> idx);

  int32_t& typed(int s, int l) { return typed_count[static_cast<size_t>(s) * (nl + 1) + l]; }
  int32_t typed(int s, int l) const { return typed_count[static_cast<size_t>(s) * (nl + 1) + l]; }

  // Offset of sample s's row of allele slots at locus l.
  size_t row(int s, int l) const {
    const AlleleIndex& ix = *index;
    return static_cast<size_t>(np) * ix.first[l] + static_cast<size_t>(s - 1) * ix.alleles_at_locus(l);
  }
  // Rows by pointer arithmetic, not by element: a locus with no allele (or a
  // data set with none typed) has an empty row at the end of its table, or
  // in a table that is empty.
  long double* allele_row(int s, int l) { return allele_count.data() + row(s, l); }
  const long double* allele_row(int s, int l) const { return allele_count.data() + row(s, l); }
  long double* het_row(int s, int l) { return het_allele_count.data() + row(s, l); }
  const long double* het_row(int s, int l) const { return het_allele_count.data() + row(s, l); }
  long double* total_row(int l) { return total_allele_count.data() + index->first[l]; }
  const long double* total_row(int l) const { return total_allele_count.data() + index->first[l]; }
};

// Fills the count tables from the genotype table. Allocates nothing, so the
// permutation tests may call it inside their loops.
void count_alleles(const DataSet& ds, CountTables& ct);

}  // namespace torvi
