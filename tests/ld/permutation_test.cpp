#include "ld/permutation.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/ld_fixture.h"

namespace torvi::testing {
namespace {

TEST(LdPermutation, OnlyIndividualsTypedAtBothLociMove) {
  Analysis an;
  fill(an, {{"A", "B"},
            {"s"},
            {{1, 101, 303}, {1, 0, 304}, {1, 102, 404}, {1, 202, 0}, {1, 101, 304}, {1, 0, 303}, {1, 202, 404}}});
  LdGenotypes lg(an.ds, *an.alleles);
  LdTestState state;
  // Positions 3, 5 and 7 are typed at both loci and draw once each.
  state.samples.push_back({1, 2, 1, 3, 0.0L, 0});
  state.pairs.push_back({1, 2, 0, 1, 0.0L, 0});
  const std::vector<int32_t> before(lg.positions(2, 1), lg.positions(2, 1) + 8);
  ScriptedHost host;
  Rng rng(1, 2);
  {
    Progress progress(host, 200);
    ld_permutations(lg, state, 200, rng, 1, progress);
  }
  std::vector<int32_t> after(lg.positions(2, 1), lg.positions(2, 1) + 8);
  for (int p : {2, 4, 6}) EXPECT_EQ(after[p], before[p]) << p;
  std::vector<int32_t> moved{after[1], after[3], after[5], after[7]}, kept{before[1], before[3], before[5], before[7]};
  EXPECT_NE(moved, kept);
  std::sort(moved.begin(), moved.end());
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(moved, kept);
  EXPECT_EQ(rng, Rng(1, 2).jumped(199 * 3));
  EXPECT_EQ(host.progress_steps, 199);
}

}  // namespace
}  // namespace torvi::testing
