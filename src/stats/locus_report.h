#pragma once

#include "model/analysis.h"

namespace torvi {

// The per-locus report every Run writes: sample labels, allele frequency
// tables, the per-sample statistics, then Nei's table. Reads counts.
void locus_report(RunContext& ctx, Analysis& an);

}  // namespace torvi
