#pragma once

#include "model/analysis.h"

namespace torvi {

// Pairwise Fst matrices: base_name + ".mat" and base_name + ".fst". Reads the
// count tables as frequencies. Pairs are spread over `threads` threads; the
// files do not depend on it.
void pairwise_fst(const Analysis& an, int threads = 1);

}  // namespace torvi
