#pragma once

#include "run/analysis.h"

namespace torvi {

// Pairwise Fst matrices: base_name + ".mat" and base_name + ".fst".
void pairwise_fst(const Analysis& an);

}  // namespace torvi
