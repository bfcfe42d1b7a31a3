#pragma once

#include "model/analysis.h"

namespace torvi {

// Per-sample statistics: gene diversity, number of alleles, allelic
// richness, Fis per sample (always computed into an.fis_sample_locus, which
// the Hardy-Weinberg tests per locus and sample read).
void sample_report(RunContext& ctx, Analysis& an);

}  // namespace torvi
