#pragma once

#include "model/analysis.h"

namespace torvi {

// Hardy-Weinberg test per sample and locus (statistic: within-sample Fis).
void hw_sample_test(RunContext& ctx, Analysis& an);

}  // namespace torvi
