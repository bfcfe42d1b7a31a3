#pragma once

#include <cstdint>

#include "model/run_options.h"

namespace torvi {

// Permutation counts, one slot per family of tests. A count that a run does
// not set keeps its previous value.
struct NbPerm {
  int64_t perm_hw_sample_locus = 0;     // slot 0
  int64_t perm_hw_within = 0;           // slot 1
  int64_t perm_hw_overall = 0;          // slot 2
  int64_t perm_popdiff_hw_default = 0;  // slot 3, read by no test
  int64_t perm_popdiff_nohw = 0;        // slot 4
  int64_t perm_pairwise = 0;            // slot 5
  int64_t perm_gen_diseq = 0;           // slot 7
};

// Count for a family of `tests` tests under a nominal-level choice: the number
// of tests divided by the level (20, 100 or 1000 times), the spin edit's value
// for "fixed #", 0 when no item is chosen.
int64_t level_count(NominalLevel level, int64_t tests, int32_t fixed_value);

// The counts the driver takes from the window before reading a file.
void set_global_test_counts(const RunOptions& opt, NbPerm& nb);
// Hardy-Weinberg tests per locus and sample: np x nl tests.
void set_hw_sample_locus_count(const RunOptions& opt, int np, int nl, NbPerm& nb);
// Genotypic disequilibrium: pairs of loci, per sample or over all samples.
void set_gen_diseq_count(const RunOptions& opt, int np, int nl, NbPerm& nb);
// Pairwise differentiation: np(np-1)/2 pairs.
void set_pairwise_count(const RunOptions& opt, int np, NbPerm& nb);

}  // namespace torvi
