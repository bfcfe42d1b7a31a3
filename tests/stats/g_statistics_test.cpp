#include "stats/g_statistics.h"

#include <gtest/gtest.h>

#include <cmath>

#include "stats/wc_components.h"
#include "support/analysis_fixture.h"

namespace torvi {
namespace {

using testing::append;
using testing::Individual;
using testing::make_analysis;
using testing::repeat;

long double xlnx(long double x) { return x * std::log(x); }

// Three samples at two loci; locus 2 is monomorphic.
std::vector<Individual> three_samples(bool swap_first_two) {
  std::vector<Individual> inds;
  const int a = swap_first_two ? 2 : 1, b = swap_first_two ? 1 : 2;
  append(inds, repeat(a, 3, 2, {1, 2}));
  append(inds, repeat(a, 1, 2, {1, 1}));
  append(inds, repeat(b, 2, 2, {2, 3}));
  append(inds, repeat(3, 4, 2, {3, 3}));
  for (auto& ind : inds) ind.alleles[1] = {7, 7};
  return inds;
}

TEST(LocusG, SumsCountLogCountAndKeepsObservedCopies) {
  Analysis an = make_analysis(3, 2, three_samples(false));
  wc_components(an.ct, an.wc, 1, 3, TablesOf::observed);  // locus_g reads frequencies
  an.g.allocate(2);
  locus_g(an.ct, an.g, TablesOf::observed);
  // Locus 1: sample 1 has 5 x allele 1 and 3 x allele 2; sample 2: 2 x 2, 2 x 3; sample 3: 8 x 3.
  const long double expected1 = xlnx(5) + xlnx(3) + xlnx(2) + xlnx(2) + xlnx(8);
  EXPECT_NEAR(static_cast<double>(an.g.g_locus[1]), static_cast<double>(expected1), 1e-12);
  // Locus 2: 8, 4 and 8 copies of allele 7.
  const long double expected2 = xlnx(8) + xlnx(4) + xlnx(8);
  EXPECT_NEAR(static_cast<double>(an.g.g_locus[2]), static_cast<double>(expected2), 1e-12);
  EXPECT_EQ(an.g.g_total, an.g.g_locus[1] + an.g.g_locus[2]);
  EXPECT_EQ(an.g.obs_g_locus[1], an.g.g_locus[1]);
  EXPECT_EQ(an.g.obs_g_locus[2], na_value);  // one allele only
  EXPECT_EQ(an.g.obs_g_total, an.g.g_total);

  // Later calls refresh the current values only.
  an.ct.allele_row(3, 1)[2] = 0.5L;
  an.ct.allele_row(3, 1)[0] = 0.5L;
  locus_g(an.ct, an.g, TablesOf::randomised);
  EXPECT_NE(an.g.g_locus[1], an.g.obs_g_locus[1]);
  EXPECT_NEAR(static_cast<double>(an.g.obs_g_total), static_cast<double>(expected1 + expected2), 1e-12);
}

TEST(LocusG, DoesNotDependOnWhichCellsHoldTheCounts) {
  Analysis a = make_analysis(3, 2, three_samples(false));
  Analysis b = make_analysis(3, 2, three_samples(true));
  for (Analysis* an : {&a, &b}) {
    wc_components(an->ct, an->wc, 1, 3, TablesOf::observed);
    an->g.allocate(2);
    locus_g(an->ct, an->g, TablesOf::observed);
  }
  EXPECT_EQ(a.g.g_locus[1], b.g.g_locus[1]);  // bit for bit
  EXPECT_EQ(a.g.g_total, b.g.g_total);
}

// G of two samples straight from the definition.
long double direct_pair_g(const CountTables& ct, int s1, int s2) {
  long double g = 0;
  for (int l = 1; l <= ct.nl; ++l) {
    const long double nA = ct.typed(s1, l), nB = ct.typed(s2, l);
    if (nA < 1 || nB < 1) continue;
    for (int j = 0; j < ct.index->alleles_at_locus(l); ++j) {
      const long double cA = ct.allele_row(s1, l)[j], cB = ct.allele_row(s2, l)[j];
      if (cA + cB <= 0) continue;
      const long double eA = (cA + cB) * nA / (nA + nB), eB = (cA + cB) * nB / (nA + nB);
      if (cA > 0) g += cA * std::log(cA / eA);
      if (cB > 0) g += cB * std::log(cB / eB);
    }
  }
  return g;
}

TEST(PairG, MatchesTheDefinitionAndIsZeroForIdenticalSamples) {
  std::vector<Individual> inds = three_samples(false);
  inds.push_back({1, {{0, 0}, {7, 7}}});  // locus 1 untyped
  for (size_t i = 0, n = inds.size(); i < n; ++i)
    if (inds[i].sample == 1) inds.push_back({4, inds[i].alleles});
  Analysis an = make_analysis(4, 2, inds);
  const XLogX table(40);
  for (auto [s1, s2] : {std::pair{1, 2}, {1, 3}, {2, 3}, {3, 4}})
    EXPECT_NEAR(static_cast<double>(pair_g(an.ct, s1, s2, table)),
                static_cast<double>(direct_pair_g(an.ct, s1, s2)), 1e-12);
  EXPECT_GT(pair_g(an.ct, 1, 3, table), 1.0L);
  // Samples 1 and 4 hold the same counts at both loci.
  EXPECT_NEAR(static_cast<double>(pair_g(an.ct, 1, 4, table)), 0.0, 1e-12);
}

TEST(XLogX, TableOfKLogK) {
  XLogX t(5);
  EXPECT_EQ(t(0), 0.0L);
  EXPECT_EQ(t(1), 0.0L);
  EXPECT_EQ(t(5), 5.0L * std::log(5.0L));
  t.reserve(3);  // never shrinks
  EXPECT_EQ(t.max_count(), 5);
}

}  // namespace
}  // namespace torvi
