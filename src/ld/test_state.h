#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace torvi {

// One sample of one pair that the test permutes (its table was testable).
struct LdSampleTest {
  int l1 = 0, l2 = 0, s = 0;
  int64_t draws = 0;            // draws per repetition: positions from 2 up typed at both loci
  long double observed_g = 0;
  int64_t count = 0;            // repetitions with G at least the observed
};

// A pair of loci with more than one allele each, and its testable samples.
struct LdPairTest {
  int l1 = 0, l2 = 0;
  size_t first = 0, end = 0;    // its samples in LdTestState::samples
  long double observed_total = 0;  // Σ G over its testable samples
  int64_t count = 0;
};

// Observed statistics of the test, pairs in order (l1 outer), samples
// ascending within a pair: the order in which the random draws are made.
struct LdTestState {
  std::vector<LdPairTest> pairs;
  std::vector<LdSampleTest> samples;
};

}  // namespace torvi
