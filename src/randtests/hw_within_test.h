#pragma once

#include <cstdint>
#include <string>

#include "model/analysis.h"
#include "randtests/perm_series.h"

namespace torvi {

// Multilocus Hardy-Weinberg test within samples (statistic: smallf): when
// enough randomisations are asked, randomise then write.
void hw_within_test(RunContext& ctx, Analysis& an, int first, int last);

// smallf over loci and per locus for n - 1 randomisations of the alleles
// within each sample first..last and for the observed data (slot n), sorted.
// The tables are left holding the last randomisation.
PermSeries randomise_within_samples(RunContext& ctx, Analysis& an, int first, int last, int64_t n);
void write_hw_within(const PermSeries& f, int64_t n, const DataSet& ds, const WcState& wc,
                     const std::string& result_name);

}  // namespace torvi
