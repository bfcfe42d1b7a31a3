#include "randtests/pair_permutation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "support/perm_fixture.h"

namespace torvi {
namespace {

// Samples 2 and 4 of a generated data set with missing genotypes: the
// counts of each side, their G from the per-slot terms, and what a shuffle
// keeps.
TEST(PairPermutation, CountsAndGOfArrangementsKeepThePairsTotals) {
  testing::PermRun run("pair_permutation");
  run.load(testing::small_data(4, 5, 12, 0.1, 29));
  const DataSet& ds = run.an.ds;
  const CountTables& ct = run.an.ct;
  const AlleleIndex& ix = *ct.index;
  const int s1 = 2, s2 = 4;
  PairPermutation pair(ds.size_of_sample(s1) + ds.size_of_sample(s2) + 3, ix);
  ASSERT_EQ(pair.load(ds, s1, s2), std::make_pair(ds.size_of_sample(s1), ds.size_of_sample(s2)));
  EXPECT_EQ(pair.complete(), ds.complete_count[s1] + ds.complete_count[s2]);
  ASSERT_GT(ds.complete_count[s1], 1);
  ASSERT_LT(pair.complete(), ds.size_of_sample(s1) + ds.size_of_sample(s2));  // some individuals never move

  const XLogX xlogx(4 * pair.complete() + 40);
  PairGTerms terms(ix, ds.size_of_sample(s1) + ds.size_of_sample(s2));
  terms.reset(pair.typed(0), pair.typed(1), pair.totals(), xlogx);
  std::vector<int32_t> a(static_cast<size_t>(ix.total_slots())), b(a.size());

  // As loaded, the sides are the samples themselves.
  pair.count_side(pair.held(), 0, a.data());
  pair.count_side(pair.held(), 1, b.data());
  for (int l = 1; l <= ct.nl; ++l) {
    EXPECT_EQ(pair.typed(0)[l], ct.typed(s1, l));
    EXPECT_EQ(pair.typed(1)[l], ct.typed(s2, l));
    for (int j = 0; j < ix.alleles_at_locus(l); ++j) {
      EXPECT_EQ(a[static_cast<size_t>(ix.first[l] + j)], ct.allele_row(s1, l)[j]);
      EXPECT_EQ(b[static_cast<size_t>(ix.first[l] + j)], ct.allele_row(s2, l)[j]);
    }
  }
  const long double observed = pair_g(ct, s1, s2, xlogx);
  EXPECT_NEAR(static_cast<double>(terms.g(a.data())), static_cast<double>(observed), 1e-12);
  EXPECT_NEAR(static_cast<double>(terms.g(b.data())), static_cast<double>(observed), 1e-12);

  // After shuffles, the sides still share the pair's copies, and either side
  // gives the same G.
  Rng rng(7, 8);
  std::vector<int32_t> ranks;
  for (int k = 0; k < 5; ++k) pair.shuffle(rng);
  ranks.assign(pair.held(), pair.held() + pair.complete());
  std::sort(ranks.begin(), ranks.end());
  for (int r = 0; r < pair.complete(); ++r) EXPECT_EQ(ranks[static_cast<size_t>(r)], r);
  pair.count_side(pair.held(), 0, a.data());
  pair.count_side(pair.held(), 1, b.data());
  for (size_t j = 0; j < a.size(); ++j) EXPECT_EQ(a[j] + b[j], pair.totals()[j]);
  EXPECT_EQ(terms.g(a.data()), terms.g(b.data()));
  EXPECT_NE(terms.g(a.data()), observed);
}

}  // namespace
}  // namespace torvi
