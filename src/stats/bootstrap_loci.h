#pragma once

#include "model/analysis.h"

namespace torvi {

// Bootstrap over loci: 95% and 99% intervals of the multilocus estimates.
// Called only with nl >= 5.
void bootstrap_loci(RunContext& ctx, Analysis& an);

}  // namespace torvi
