#pragma once

#include <cstdint>

#include "random/rng.h"
#include "randtests/ld_genotypes.h"
#include "randtests/ld_test_state.h"
#include "randtests/progress.h"

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
// stream's state afterwards, are those of drawing everything in order.
void ld_permutations(LdGenotypes& lg, LdTestState& state, int64_t n_perm, Rng& rng, int threads,
                     Progress& progress);

}  // namespace torvi
