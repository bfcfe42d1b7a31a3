#pragma once

#include "ld/genotypes.h"
#include "ld/test_state.h"
#include "model/analysis.h"

namespace torvi {

// The observed phase: for every pair of loci with more than one allele each
// and every sample, the table and its estimators, written to the companion
// files of the ticked boxes; returns the observed G of every testable sample
// and pair, in the order the permutations draw for them.
LdTestState ld_observed_phase(RunContext& ctx, const Analysis& an, const LdGenotypes& lg);

}  // namespace torvi
