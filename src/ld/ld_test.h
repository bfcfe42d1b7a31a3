#pragma once

#include "model/analysis.h"

namespace torvi {

// Genotypic disequilibrium: companion files and, when tests are asked, the
// section of P-values.
void ld_test(RunContext& ctx, Analysis& an);

}  // namespace torvi
