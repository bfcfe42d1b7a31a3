#pragma once

#include <random>
#include <vector>

namespace torvi::datagen {

// Allele identifiers and frequencies of synthetic samples: per locus, k
// distinct identifiers drawn from min_allele.. min_allele + span − 1 and a
// common frequency set; per sample, a set pulled away from the common one
// by `differentiation` (0: samples share it; towards 1: they drift apart).
struct AlleleModel {
  std::vector<std::vector<int>> ids;                                 // [locus][a]
  std::vector<std::vector<std::discrete_distribution<int>>> freq;    // [locus][sample]

  // One allele identifier of sample p at locus l.
  int draw(int l, int p, std::mt19937_64& gen) { return ids[l][freq[l][p](gen)]; }
};

AlleleModel make_allele_model(int loci, int samples, int min_allele, int span, int k, double differentiation,
                              std::mt19937_64& gen);

}  // namespace torvi::datagen
