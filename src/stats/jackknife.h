#pragma once

#include "model/analysis.h"
#include "report/report_text.h"

namespace torvi {

// Jackknife over samples (first..last) and over loci.
void jackknife_report(RunContext& ctx, Analysis& an, int first, int last);

// The jackknife over samples block, appended to `out`. Turns the per-locus
// means left by wc_components (n̄, p̄, h̄) into sums in place.
void jackknife_samples(Analysis& an, int first, int last, ReportText& out);

}  // namespace torvi
