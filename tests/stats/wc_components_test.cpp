#include "stats/wc_components.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/limits.h"
#include "support/analysis_fixture.h"

namespace torvi {
namespace {

using testing::Individual;
using testing::append;
using testing::make_analysis;
using testing::repeat;

// Two samples at two loci with different allele and heterozygote patterns.
std::vector<Individual> two_samples() {
  return {
      {1, {{1, 2}, {5, 5}}}, {1, {{1, 1}, {5, 7}}}, {1, {{2, 3}, {7, 7}}}, {1, {{1, 2}, {5, 5}}},
      {1, {{1, 1}, {0, 0}}}, {2, {{2, 2}, {7, 9}}}, {2, {{3, 3}, {9, 9}}}, {2, {{2, 3}, {5, 9}}},
      {2, {{2, 2}, {7, 7}}}, {2, {{1, 3}, {9, 9}}}, {2, {{3, 3}, {7, 9}}},
  };
}

struct Components { long double a, b, c; };

// Weir & Cockerham components of one allele for two samples, written with
// deviations from the mean as in the original paper.
Components direct(long double x1, long double h1, long double n1, long double x2, long double h2, long double n2) {
  long double p1 = x1 / (2 * n1), p2 = x2 / (2 * n2), nbar = (n1 + n2) / 2;
  long double nc = n1 + n2 - (n1 * n1 + n2 * n2) / (n1 + n2);
  long double pb = (x1 + x2) / (2 * (n1 + n2));
  long double s2 = (n1 * (p1 - pb) * (p1 - pb) + n2 * (p2 - pb) * (p2 - pb)) / nbar;
  long double hb = (h1 + h2) / (n1 + n2);
  long double pq = pb * (1 - pb);
  return {nbar / nc * (s2 - (pq - s2 / 2 - hb / 4) / (nbar - 1)),
          nbar / (nbar - 1) * (pq - s2 / 2 - (2 * nbar - 1) / (4 * nbar) * hb), hb / 2};
}

TEST(WcComponents, MatchesDirectTwoSampleComputation) {
  Analysis an = make_analysis(2, 2, two_samples());
  CountTables counts = an.ct;
  wc_components(an.ct, an.wc, 1, 2, TablesOf::observed);

  const AlleleIndex& ix = *an.alleles;
  WcSums total;
  for (int l = 1; l <= 2; ++l) {
    WcSums sums;
    for (int j = 0; j < ix.alleles_at_locus(l); ++j) {
      auto n1 = counts.typed(1, l), n2 = counts.typed(2, l);
      Components d = direct(counts.allele_row(1, l)[j], counts.het_row(1, l)[j], n1, counts.allele_row(2, l)[j],
                            counts.het_row(2, l)[j], n2);
      size_t slot = ix.first[l] + j;
      EXPECT_NEAR(an.wc.wc_theta_allele[slot], d.a / (d.a + d.b + d.c), 1e-12L) << l << " " << j;
      EXPECT_NEAR(an.wc.wc_F_allele[slot], (d.a + d.b) / (d.a + d.b + d.c), 1e-12L);
      EXPECT_NEAR(an.wc.wc_f_allele[slot], d.b / (d.b + d.c), 1e-12L);
      sums += WcSums{d.a + d.b, d.a + d.b + d.c, d.a, d.b, d.b + d.c, d.c};
    }
    const WcSums& got = an.wc.locus_sums[l];
    EXPECT_NEAR(got.a, sums.a, 1e-12L);
    EXPECT_NEAR(got.b, sums.b, 1e-12L);
    EXPECT_NEAR(got.c, sums.c, 1e-12L);
    EXPECT_NEAR(an.wc.wc_theta_locus[l], sums.a / sums.abc, 1e-12L);
    EXPECT_NEAR(an.wc.wc_rel_locus[l], 2 * sums.a / (2 * sums.ab + sums.c), 1e-12L);
    EXPECT_EQ(an.wc.samples_at_locus[l], 2);
    total += sums;
  }
  EXPECT_NEAR(an.wc.wc_F, total.ab / total.abc, 1e-12L);
  EXPECT_NEAR(an.wc.wc_f, total.b / total.bc, 1e-12L);
  EXPECT_DOUBLE_EQ(static_cast<double>(an.wc.nbar[2]), 5.0);  // 4 and 6 typed
  EXPECT_DOUBLE_EQ(static_cast<double>(an.wc.S2[2]), 52.0);
}

TEST(WcComponents, TurnsCountsIntoFrequenciesInPlace) {
  Analysis an = make_analysis(2, 2, two_samples());
  CountTables counts = an.ct;
  wc_components(an.ct, an.wc, 1, 2, TablesOf::observed);
  for (size_t i = 0; i < counts.allele_count.size(); ++i) {
    // Rows of locus 1 hold 5 and 6 typed individuals, locus 2 4 and 6.
    EXPECT_LE(an.ct.allele_count[i], 1.0L);
    EXPECT_LE(an.ct.het_allele_count[i], 1.0L);
  }
  const int s = 2, l = 2;
  for (int j = 0; j < an.alleles->alleles_at_locus(l); ++j) {
    EXPECT_EQ(an.ct.allele_row(s, l)[j], counts.allele_row(s, l)[j] / 12);
    EXPECT_EQ(an.ct.het_row(s, l)[j], counts.het_row(s, l)[j] / 6);
  }
  EXPECT_EQ(an.ct.total_allele_count, counts.total_allele_count);  // totals stay counts
}

TEST(WcComponents, KeepsObservedCopiesFromTheObservedCallOnly) {
  Analysis an = make_analysis(2, 2, two_samples());
  CountTables counts = an.ct;
  wc_components(an.ct, an.wc, 1, 2, TablesOf::observed);
  const long double F = an.wc.wc_F, theta1 = an.wc.wc_theta_locus[1];
  const long double allele_theta = an.wc.wc_theta_allele[0];
  EXPECT_EQ(an.wc.obs_F, F);
  EXPECT_EQ(an.wc.obs_theta_locus[1], theta1);
  EXPECT_EQ(an.wc.obs_totals.a, an.wc.totals.a);

  // A randomised data set: the samples' tables exchanged at locus 1.
  an.ct = counts;
  for (int j = 0; j < an.alleles->alleles_at_locus(1); ++j) {
    std::swap(an.ct.allele_row(1, 1)[j], an.ct.allele_row(2, 1)[j]);
    std::swap(an.ct.het_row(1, 1)[j], an.ct.het_row(2, 1)[j]);
  }
  std::swap(an.ct.typed(1, 1), an.ct.typed(2, 1));
  an.ct.allele_row(1, 2)[0] += 2;  // and a changed locus 2
  an.ct.allele_row(1, 2)[1] -= 2;
  wc_components(an.ct, an.wc, 1, 2, TablesOf::randomised);
  EXPECT_NE(an.wc.wc_F, F);
  EXPECT_EQ(an.wc.obs_F, F);
  EXPECT_EQ(an.wc.obs_theta_locus[1], theta1);
  EXPECT_EQ(an.wc.wc_theta_allele[0], allele_theta);  // per allele: first call only
}

TEST(WcComponents, SkipsAlleleAtLowerBoundWithZeroNotNA) {
  // 10000 genes, allele 3 once: mean frequency 0.0001.
  std::vector<Individual> inds = repeat(1, 2499, 1, {1, 1});
  append(inds, {{1, {{1, 3}}}});
  append(inds, repeat(2, 2400, 1, {1, 2}));
  append(inds, repeat(2, 100, 1, {2, 2}));
  Analysis an = make_analysis(2, 1, inds);
  wc_components(an.ct, an.wc, 1, 2, TablesOf::observed);
  const AlleleIndex& ix = *an.alleles;
  ASSERT_EQ(an.wc.pbar[ix.slot(1, 3)], 0.0001L);
  EXPECT_EQ(an.wc.wc_F_allele[ix.slot(1, 3)], 0.0L);
  EXPECT_EQ(an.wc.wc_theta_allele[ix.slot(1, 3)], 0.0L);
  EXPECT_EQ(an.wc.wc_f_allele[ix.slot(1, 3)], 0.0L);
  EXPECT_EQ(an.wc.wc_rel_allele[ix.slot(1, 3)], 0.0L);
  EXPECT_TRUE(is_value(an.wc.wc_theta_allele[ix.slot(1, 1)]));
  EXPECT_NE(an.wc.wc_theta_allele[ix.slot(1, 1)], 0.0L);
}

TEST(WcComponents, SkipsAlleleAtUpperBound) {
  std::vector<Individual> inds = repeat(1, 2499, 1, {1, 1});
  append(inds, {{1, {{1, 2}}}});
  append(inds, repeat(2, 2500, 1, {1, 1}));
  Analysis an = make_analysis(2, 1, inds);
  wc_components(an.ct, an.wc, 1, 2, TablesOf::observed);
  const AlleleIndex& ix = *an.alleles;
  ASSERT_EQ(an.wc.pbar[ix.slot(1, 1)], 0.9999L);
  for (int a : {1, 2}) {
    EXPECT_EQ(an.wc.wc_F_allele[ix.slot(1, a)], 0.0L);
    EXPECT_EQ(an.wc.wc_rel_allele[ix.slot(1, a)], 0.0L);
  }
  EXPECT_EQ(an.wc.locus_sums[1].abc, 0.0L);
  EXPECT_EQ(an.wc.wc_F_locus[1], na_value);
}

TEST(WcComponents, LociWithoutEnoughDataAreNAAndAddNothing) {
  // Locus 1 typed in sample 1 only; locus 2 one individual per sample
  // (n̄ = 1); locus 3 typed nowhere; locus 4 ordinary.
  std::vector<Individual> inds = {
      {1, {{1, 2}, {1, 2}, {0, 0}, {1, 2}}}, {1, {{1, 1}, {0, 0}, {0, 0}, {1, 1}}},
      {1, {{2, 2}, {0, 0}, {0, 0}, {2, 2}}}, {2, {{0, 0}, {2, 2}, {0, 0}, {2, 2}}},
      {2, {{0, 0}, {0, 0}, {0, 0}, {1, 2}}}, {2, {{0, 0}, {0, 0}, {0, 0}, {2, 2}}},
  };
  Analysis an = make_analysis(2, 4, inds);
  wc_components(an.ct, an.wc, 1, 2, TablesOf::observed);
  const WcState& wc = an.wc;
  EXPECT_EQ(wc.samples_at_locus[1], 1);
  EXPECT_EQ(wc.samples_at_locus[2], 2);
  EXPECT_EQ(wc.nbar[2], 1.0L);
  EXPECT_EQ(wc.samples_at_locus[3], 0);
  EXPECT_EQ(wc.nbar[3], 0.0L);
  for (int l = 1; l <= 3; ++l) {
    EXPECT_EQ(wc.wc_F_locus[l], na_value) << l;
    EXPECT_EQ(wc.wc_theta_locus[l], na_value);
    EXPECT_EQ(wc.wc_f_locus[l], na_value);
    EXPECT_EQ(wc.wc_rel_locus[l], na_value);
    EXPECT_EQ(wc.locus_sums[l].abc, 0.0L);
  }
  EXPECT_EQ(wc.totals.a, wc.locus_sums[4].a);
  EXPECT_EQ(wc.totals.abc, wc.locus_sums[4].abc);
  EXPECT_TRUE(std::isfinite(wc.wc_F));
}

}  // namespace
}  // namespace torvi
