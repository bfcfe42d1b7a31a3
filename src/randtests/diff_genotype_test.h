#pragma once

#include "model/analysis.h"

namespace torvi {

// Differentiation not assuming random mating: multilocus genotypes permuted.
void diff_genotype_test(RunContext& ctx, Analysis& an);

}  // namespace torvi
