#pragma once

#include "model/analysis.h"
#include "report/report_text.h"

namespace torvi {

// Jackknife over samples (first..last) and over loci.
void jackknife_report(RunContext& ctx, Analysis& an, int first, int last);

// The jackknife over samples block, appended to `out`, from the per-locus
// means wc_components left (n̄, p̄, h̄), which it leaves as they are.
void jackknife_samples(const Analysis& an, int first, int last, ReportText& out);

}  // namespace torvi
