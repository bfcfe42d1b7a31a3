#pragma once

#include "model/analysis.h"

namespace torvi {

// Per-sample statistics: gene diversity, number of alleles, allelic
// richness, Fis per sample (always computed into an.fis_sample_locus); then
// the Hardy-Weinberg tests per locus and sample when CB_IFis is ticked.
void sample_report(RunContext& ctx, Analysis& an);

}  // namespace torvi
