#pragma once

#include "model/count_tables.h"
#include "model/g_state.h"
#include "util/count_log_sum.h"

namespace torvi {

// Σ x ln x over samples and alleles of each locus, x the allele count
// (2 n p rounded to the nearest integer); reads allele_count as frequencies.
// Summed per distinct count in ascending order, so the value does not depend
// on which cells hold the counts.
void locus_g(const CountTables& ct, GState& g, TablesOf tables);

// G of the table of samples s1 and s2 (without the factor 2); reads
// allele_count as counts. `xlogx` must cover 2 x (typed(s1) + typed(s2)) at
// every locus.
long double pair_g(const CountTables& ct, int s1, int s2, const XLogX& xlogx);

}  // namespace torvi
