#pragma once

#include <array>
#include <vector>

#include "groups/group_samples.h"
#include "torvi/groups.h"

namespace torvi {

// The seven statistics of one group, by GroupStatistic.
using GroupStats = std::array<long double, kGroupStatistics>;

// Room for the typed members of a locus, reused from one group to the next
// so that forming a group's statistics allocates nothing.
struct GroupScratch {
  std::vector<const double*> typed;  // their per-sample sums at the locus
  explicit GroupScratch(const GroupSamples& samples) : typed(static_cast<size_t>(samples.samples())) {}
};

// The statistics of the group of `members` (ascending sample numbers):
// Weir & Cockerham's components a, b, c summed over the loci where at least
// two members are typed (and n̄ > 1) and the alleles whose pooled frequency
// lies in (0.001, 0.999); Ho, Hs, Fis, Fst and the two relatednesses from
// them; and, when `richness`, the rarefied allelic richness averaged over
// (locus, member) pairs. `components` false skips the components (nothing
// but the richness is wanted); their statistics are then 0.
GroupStats group_statistics(const GroupSamples& samples, const int* members, int count, bool components,
                            bool richness, GroupScratch& scratch);

// How much the groups' values of one statistic differ: S_1 - S_2 for a
// one-sided test of two groups, otherwise the sum over pairs i < j of
// (S_i - S_j)².
long double group_test_value(const GroupStats* groups, int count, GroupStatistic statistic, bool one_sided);

}  // namespace torvi
