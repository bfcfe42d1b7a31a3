#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/limits.h"

namespace torvi {

// The in-memory image of one data file. Sample, locus and allele numbers are
// 1-based everywhere; index 0 of the per-sample and per-locus vectors is unused
// unless stated. Tables are sized from the file, never from the limits.
struct DataSet {
  int np = 0;             // samples
  int nl = 0;             // loci
  int nu = 0;             // highest allele identifier in use
  int allele_digits = 0;  // digits per allele: 1, 2 or 3
  int coding_base = 0;    // 10, 100 or 1000
  int nl_used = 0;
  int ni = 0;             // individuals stored

  std::vector<std::string> locus_names;  // [1..nl], at most 6 characters
  std::vector<std::string> sample_names; // [1..np], at most 6 characters
  std::vector<uint8_t> locus_selected;   // [1..nl]
  std::vector<uint8_t> sample_selected;  // [1..np]

  // Genotype table. Row 0 of the conceptual table: the sample of individual
  // i (1..ni). Rows 1..nl: genotype codes, stored individual by individual so
  // that a whole multilocus genotype is contiguous (shuffles swap it at once).
  std::vector<int32_t> sample_of;  // [1..ni]
  std::vector<int32_t> codes;      // (ni + 1) * nl entries, individual 0 unused

  std::vector<uint16_t> missing_count;   // [1..ni]: loci with code 0
  std::vector<int32_t> sample_size;      // [0..np], running totals after reading
  std::vector<int32_t> complete_count;   // [1..np]: individuals typed at every locus

  int32_t geno(int l, int i) const { return codes[static_cast<size_t>(i) * nl + (l - 1)]; }
  int32_t& geno(int l, int i) { return codes[static_cast<size_t>(i) * nl + (l - 1)]; }
  const int32_t* genotypes_of(int i) const { return &codes[static_cast<size_t>(i) * nl]; }
  int32_t* genotypes_of(int i) { return &codes[static_cast<size_t>(i) * nl]; }

  // Number of stored individuals of sample s (sample_size holds running totals).
  int size_of_sample(int s) const { return sample_size[s] - sample_size[s - 1]; }
};

}  // namespace torvi
