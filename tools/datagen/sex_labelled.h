#pragma once

#include <cstdint>
#include <string>

namespace torvi::datagen {

// Shape of a synthetic sex-labelled genotype file: samples of two sexes in
// which each sex has its own rate of birth elsewhere, so that the sex that
// disperses more is less differentiated and less well assigned to its sample.
struct SexShape {
  int samples = 6;
  int loci = 8;
  int alleles_per_locus = 8;
  int max_allele = 40;              // at most 99 (two digits per allele)
  int phil_per_sample = 15;         // individuals of the philopatric sex per sample
  int disp_per_sample = 15;         // individuals of the other sex per sample
  double phil_migration = 0.05;     // probability that an individual was born in another sample
  double disp_migration = 0.6;
  double differentiation = 0.4;     // between the samples' allele frequencies
  double missing_rate = 0.02;       // probability that a genotype is untyped
  char phil_letter = 'F', disp_letter = 'M';
  uint64_t seed = 1;
};

// The text of the file (LF line ends): "np nl nu", the locus names on one
// line, then the samples, each opened by "Pop", one record per individual
// ("F3, 0102 0000 ..."), the two sexes mixed in random order.
std::string generate_sex_labelled_file(const SexShape& shape);

}  // namespace torvi::datagen
