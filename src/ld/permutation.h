#pragma once

#include <cstdint>

#include "host/progress.h"
#include "ld/genotypes.h"
#include "ld/test_state.h"
#include "random/rng.h"

namespace torvi {

// The N - 1 repetitions of the test: in each, for every pair and testable
// sample in turn, the genotypes at the second locus are exchanged among the
// individuals typed at both loci (the exchanges accumulate from repetition to
// repetition) and G is compared with the observed value; the sum over the
// pair's samples is compared with the observed sum.
//
// Samples never share genotypes and the draws a sample makes in each
// repetition are fixed by the data, so each sample runs its whole chain on
// its own copy of the stream jumped to its draws; the result, and the
// stream's state afterwards, are those of drawing everything in order. The
// stream is moved past the whole test before it starts, so a stopped run
// leaves it where a finished one would.
void ld_permutations(LdGenotypes& lg, LdTestState& state, int64_t n_perm, Rng& rng, int threads,
                     Progress& progress);

}  // namespace torvi
