#pragma once

#include <optional>
#include <vector>

#include "model/count_tables.h"

namespace torvi {

// Nei's gene diversities of one locus, corrected for sample size. Reads counts.
struct NeiLocus {
  int samples = 0;             // S: samples with at least one typed individual
  long double ho = 0.0L;       // observed heterozygosity, formed when S >= 1
  long double hs = 0.0L;       // within-sample gene diversity
  long double ht = 0.0L;       // total gene diversity
  bool diversities = false;    // Hs and Ht formed: harmonic mean sample size above 1
};

NeiLocus nei_locus(const CountTables& ct, int l);

// The values of one line of Nei's table that follow Ho, Hs and Ht. The primed
// values need at least two samples; `primed` tells whether they were formed.
struct NeiDerived {
  long double dst = 0.0L;
  long double dst_prime = 0.0L;
  long double ht_prime = 0.0L;
  long double fst = 0.0L;
  long double fst_prime = 0.0L;
  long double fis = 0.0L;
  bool primed = false;
};

// `samples` is the S that corrects Dst for the number of samples.
NeiDerived nei_derived(long double ho, long double hs, long double ht, int samples);

// One line of Nei's table: the diversities and, when they were formed, what
// follows from them.
struct NeiLine {
  NeiLocus h;
  NeiDerived d;
};

// Nei's table: a line per locus (1..nl), and the line over loci from the
// means of Ho, Hs and Ht over the loci whose diversities were formed,
// corrected with the first locus's count of samples (absent when no locus
// has them).
struct NeiTable {
  std::vector<NeiLine> loci;
  std::optional<NeiLine> overall;
};

NeiTable nei_table(const CountTables& ct, int nl);

}  // namespace torvi
