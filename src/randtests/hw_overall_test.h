#pragma once

#include "model/analysis.h"

namespace torvi {

// Hardy-Weinberg over samples (CapF) and differentiation assuming random
// mating (G), from one run of allele randomisations.
void hw_overall_test(RunContext& ctx, Analysis& an, int first, int last);

}  // namespace torvi
