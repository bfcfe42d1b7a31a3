#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "dispersal/assignment.h"
#include "dispersal/set_tables.h"
#include "dispersal/test_values.h"
#include "host/host.h"
#include "random/rng.h"

namespace torvi::dispersal {

// Everything the permutations need, fixed for the whole test.
struct PermutationInput {
  const IndexedSet* pooled = nullptr;       // both sexes, philopatric first in each sample
  const CountTables* pooled_tables = nullptr;
  const SampleTerms* sample_terms = nullptr;  // for the sizes of the pooled samples
  const AssignmentTerms* terms = nullptr;   // needed when an assignment test is ticked
  std::vector<int32_t> phil_sizes;          // [s]: philopatric individuals of sample s
  TestChoice choice;
  TestValues observed;
  int32_t permutations = 1;                 // N, the observed data counted as one
  int threads = 1;
};

struct PermutationCounts {
  std::array<int64_t, kDispersalTestCount> at_least{};  // permutations counted per test
  int64_t done = 0;                                     // permutations made
  bool cancelled = false;
};

// Exchanges individuals within samples, last sample first: for each sample
// with positions f..e, for j = e down to f, r = f + rnd_int(j − f + 1) and
// positions j and r are exchanged (one draw per individual, also for j = f).
void permute_within_samples(int32_t* order, const std::vector<int32_t>& cumulative, Rng& rng);

// The N − 1 permutations: each line of the ".per" file is handed to `per_lines`
// (several lines at a time, in order). The host's progress advances once per
// permutation; a stop asked by the host ends the permutations after those
// already complete (counts.cancelled). Draws follow the stream in
// permutation order whatever the number of threads; when a set statistic is
// ticked each permutation starts from the previous one's order, otherwise
// from the file's.
PermutationCounts run_permutations(const PermutationInput& in, Host& host, Rng& rng,
                                   const std::function<void(std::string_view)>& per_lines);

}  // namespace torvi::dispersal
