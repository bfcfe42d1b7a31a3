#pragma once

#include "run/analysis.h"

namespace torvi {

// Jackknife over samples (first..last) and over loci.
void jackknife_report(RunContext& ctx, Analysis& an, int first, int last);

// Bootstrap over loci: 95% and 99% intervals of the multilocus estimates.
// Called only with nl >= 5.
void bootstrap_loci(RunContext& ctx, Analysis& an);

}  // namespace torvi
