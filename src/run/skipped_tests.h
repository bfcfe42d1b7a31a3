#pragma once

#include <cstdint>
#include <vector>

#include "data/selection.h"
#include "model/run_options.h"
#include "model/test_minimum.h"

namespace torvi {

// Genotype randomisations the differentiation test NOT assuming HW needs.
inline constexpr int32_t kNoHwTestMinimum = 2;

// A test the options ask for that a run will leave out, and why. Both
// programs say these before a run starts, each in its own words.
struct SkippedTest {
  enum class Test {
    hw_per_sample,            // "HW tests per locus and sample "
    hw_within,                // "Hardy Weinberg within samples"
    hw_overall,               // "Hardy Weinberg overall samples"
    popdiff_assuming_hw,      // "Test assuming HW within samples" (shares the overall test's randomisations)
    popdiff_not_assuming_hw,  // "Test NOT assuming HW within samples "
    pairwise,                 // "Pairwise tests of differentiation"
    ld_tests,                 // "Tests of Genotypic Disequilibrium"
  };
  enum class Reason {
    no_level,        // no "Nominal level for multiple tests" chosen
    no_fixed_count,  // "fixed #" chosen with a count of 0
    too_few,         // `asked` randomisations, fewer than `needed`
    one_sample,      // the data file holds one sample
    one_locus,       // the data file holds one locus
  };
  Test test;
  Reason reason;
  int32_t asked = 0;
  int32_t needed = 0;
  bool operator==(const SkippedTest&) const = default;
};

// Tests left out whatever the data: a level or a count missing or too small.
std::vector<SkippedTest> skipped_tests(const RunOptions& o);

// Tests left out for a data file of `np` samples and `nl` loci, of which the
// Options menu's `selection` keeps some.
std::vector<SkippedTest> skipped_tests(const RunOptions& o, const Selection& selection, int np, int nl);

}  // namespace torvi
