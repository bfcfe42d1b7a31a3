#pragma once

#include "model/analysis.h"

namespace torvi {

// Multilocus Hardy-Weinberg test within samples (statistic: smallf).
void hw_within_test(RunContext& ctx, Analysis& an, int first, int last);

}  // namespace torvi
