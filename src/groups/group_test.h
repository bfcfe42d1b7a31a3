#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "groups/group_samples.h"
#include "groups/group_statistics.h"
#include "host/host.h"
#include "random/rng.h"
#include "torvi/groups.h"

namespace torvi {

// What one data file's comparison measures: each group's statistics on its
// own samples, and for each ticked statistic the test value and how many of
// the N - 1 permutations reached it.
struct GroupTest {
  GroupTest(const GroupSamples& samples, const GroupComparison& comparison);

  // Statistics whose values are compared: ticked, and for the richness
  // formed (every sample typed at every locus).
  std::array<bool, kGroupStatistics> compared{};
  bool components = false;  // some statistic other than the richness is compared
  bool richness = false;

  std::vector<GroupStats> observed;  // per group
  std::array<long double, kGroupStatistics> observed_value{};
  std::array<int64_t, kGroupStatistics> reached{};  // permutations with a value >= the observed
};

// P of statistic i: (permutations reaching the observed value + 1) / N.
inline long double group_p_value(const GroupTest& test, int i, int32_t permutations) {
  return (test.reached[i] + 1.0L) / permutations;
}

// The observed statistics and test values.
void observe_groups(const GroupSamples& samples, const GroupComparison& comparison, GroupTest& test);

// Runs the N - 1 permutations of whole samples among the groups: the list of
// samples 1..np is shuffled in place before each (np - 1 draws; each
// permutation goes on from the last one's order) and dealt to the groups in
// their order and sizes; each group's members are put in ascending order.
// Spread over `threads` workers with the same results and the same final
// state of `rng` for any number of them. One progress step per permutation,
// where a stop asked by the host takes effect (RunCancelled).
void count_permutations(Host& host, Rng& rng, const GroupSamples& samples, const GroupComparison& comparison,
                        int threads, GroupTest& test);

}  // namespace torvi
