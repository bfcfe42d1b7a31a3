#pragma once

#include <vector>

#include "dispersal/sample_terms.h"
#include "dispersal/set_tables.h"
#include "dispersal/values.h"

namespace torvi::dispersal {

// F-statistics, relatedness and heterozygosities of one set of individuals
// over the samples.
struct SetStatistics {
  Value fis, fst, rel, ho, hs;
};

// From the set's count tables; `locus_first` gives the allele indices of
// each locus (IndexedSet::locus_first), `terms` the per-sample terms for
// samples of its sizes. The per-locus values are held in single precision as
// the estimator was defined; the sums over loci and alleles are extended.
SetStatistics set_statistics(const CountTables& t, const std::vector<int32_t>& locus_first, const SampleTerms& terms);

}  // namespace torvi::dispersal
