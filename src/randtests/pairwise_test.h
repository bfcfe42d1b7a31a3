#pragma once

#include "model/analysis.h"

namespace torvi {

// Pairwise differentiation tests: base_name + "-pp.pvl".
void pairwise_test(RunContext& ctx, Analysis& an);

}  // namespace torvi
