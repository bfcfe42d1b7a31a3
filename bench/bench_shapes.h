#pragma once

#include "datagen/generator.h"

namespace torvi::bench {

// The two data sets every randomisation benchmark runs on.
// Typical: 20 samples, 15 loci, 50 individuals per sample, 12 alleles per
// locus, 5% missing genotypes.
inline datagen::Shape typical_shape() {
  datagen::Shape s;
  s.samples = 20, s.loci = 15, s.individuals_per_sample = 50, s.alleles_per_locus = 12, s.max_allele = 40;
  s.missing_rate = 0.05;
  s.differentiation = 0.2;
  return s;
}

// Large: 100 samples, 50 loci, 40 individuals per sample, 20 alleles per locus.
inline datagen::Shape large_shape() {
  datagen::Shape s;
  s.samples = 100, s.loci = 50, s.individuals_per_sample = 40, s.alleles_per_locus = 20, s.max_allele = 60;
  s.differentiation = 0.2;
  return s;
}

}  // namespace torvi::bench
