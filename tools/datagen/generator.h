#pragma once

#include <cstdint>
#include <string>

namespace torvi::datagen {

// Shape of a synthetic data set of diploid microsatellite genotypes.
struct Shape {
  int samples = 5;
  int loci = 8;
  int alleles_per_locus = 8;   // distinct alleles drawn per locus
  int min_allele = 1;          // allele identifiers are drawn in min..max
  int max_allele = 30;
  int individuals_per_sample = 20;
  double missing_rate = 0.0;   // probability that a genotype is untyped
  double differentiation = 0.0;  // 0: one frequency set; towards 1: samples drift apart
  double inbreeding = 0.0;     // probability that an individual is homozygous by descent
  int allele_digits = 0;       // 0: the fewest that hold max_allele
  uint64_t seed = 1;
};

// The text of a valid data file of that shape (LF line ends).
std::string generate_data_file(const Shape& shape);

}  // namespace torvi::datagen
