#pragma once

#include "model/analysis.h"

namespace torvi {

// The head of the per-locus report every Run writes: sample labels and the
// allele frequency tables (the per-sample statistics and their tests follow).
// Reads counts.
void locus_report(RunContext& ctx, Analysis& an);

// Nei's table, which closes the per-locus report (none with one sample).
void nei_report(const RunContext& ctx, const Analysis& an);

}  // namespace torvi
