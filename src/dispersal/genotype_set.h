#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace torvi::dispersal {

// One set of individuals (one sex, or both) read from a split data file:
// genotype codes stored sample by sample, in file order.
struct GenotypeSet {
  int32_t np = 0, nl = 0, nu = 0;
  int32_t coding_base = 100;
  int32_t ni = 0;
  std::vector<int32_t> cumulative;  // [0..np]: individuals of samples 1..s; [0] = 0
  std::vector<int32_t> codes;       // ni × nl, individual by individual (0-based)

  int32_t size_of(int32_t s) const { return cumulative[static_cast<size_t>(s)] - cumulative[static_cast<size_t>(s) - 1]; }
  const int32_t* genotypes_of(int32_t k) const { return &codes[static_cast<size_t>(k) * static_cast<size_t>(nl)]; }
};

// Reads a data file written by the split: the first line's np, nl, nu and
// digit count, nl name lines, then one record per line (sample number and
// nl genotype codes; records of sample 0 are skipped). Throws InputRefused
// for a shape over the limits ("  Too many populations, loci or alleles."),
// a typed genotype with exactly one allele 0 ("Problem in the data file!!!!"),
// and anything else it cannot use (named by file and line).
GenotypeSet read_set(std::istream& in, const std::string& file_name);
GenotypeSet read_set_file(const std::string& path);

}  // namespace torvi::dispersal
