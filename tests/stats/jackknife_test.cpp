#include "stats/jackknife.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "report/report_text.h"
#include "stats/wc_components.h"
#include "support/analysis_fixture.h"

namespace torvi {
namespace {

using namespace torvi::testing;

// np samples of n individuals at nl loci, alleles 1..4 with frequencies that
// differ between samples.
std::vector<Individual> random_samples(int np, int nl, int n, unsigned seed) {
  std::mt19937 gen(seed);
  std::vector<Individual> inds;
  for (int s = 1; s <= np; ++s) {
    std::vector<std::discrete_distribution<int>> dist;
    for (int l = 0; l < nl; ++l) dist.emplace_back(std::initializer_list<double>{1.0 + s, 2.0, 3.0 + l, 1.5});
    for (int i = 0; i < n; ++i) {
      Individual ind{s, {}};
      for (int l = 0; l < nl; ++l) ind.alleles.push_back({1 + dist[l](gen), 1 + dist[l](gen)});
      inds.push_back(ind);
    }
  }
  return inds;
}

TEST(Jackknife, OverSamplesMatchesAnalysesWithOneSampleLeftOut) {
  const int np = 5, nl = 2;
  std::vector<Individual> inds = random_samples(np, nl, 20, 3);
  Analysis an = make_analysis(np, nl, inds);
  wc_components(an.ct, an.wc, 1, np, TablesOf::observed);
  const std::vector<LocusJackknife> got = jackknife_over_samples(an, 1, np);
  ASSERT_EQ(got.size(), static_cast<size_t>(nl));

  for (int l = 1; l <= nl; ++l) {
    long double sum[4] = {}, squares[4] = {};
    for (int left_out = 1; left_out <= np; ++left_out) {
      std::vector<Individual> rest;
      for (Individual ind : inds)
        if (ind.sample != left_out) {
          if (ind.sample > left_out) --ind.sample;
          rest.push_back(ind);
        }
      Analysis part = make_analysis(np - 1, nl, rest);
      wc_components(part.ct, part.wc, 1, np - 1, TablesOf::observed);
      const long double x[4] = {part.wc.wc_F_locus[l], part.wc.wc_theta_locus[l], part.wc.wc_f_locus[l],
                                part.wc.wc_rel_locus[l]};
      for (int k = 0; k < 4; ++k) {
        sum[k] += x[k];
        squares[k] += x[k] * x[k];
      }
    }
    const long double whole[4] = {an.wc.wc_F_locus[l], an.wc.wc_theta_locus[l], an.wc.wc_f_locus[l],
                                  an.wc.wc_rel_locus[l]};
    const Jackknifed& j = got[l - 1].values;
    EXPECT_EQ(got[l - 1].locus, l);
    for (int k = 0; k < 4; ++k) {
      EXPECT_NEAR(j.est[k], np * whole[k] - (np - 1) * sum[k] / np, 1e-12L) << "locus " << l << ", statistic " << k;
      EXPECT_NEAR(j.se[k], std::sqrt((np - 1) * (squares[k] - sum[k] * sum[k] / np) / np), 1e-12L)
          << "locus " << l << ", statistic " << k;
    }
  }
}

TEST(Jackknife, OverSamplesLeavesOutLociThatCannotBeJackknifed) {
  // Locus 1 typed in two samples only; locus 2 with 1, 1 and 2 typed
  // individuals (leaving out the third gives a mean size of 1); locus 3 fine.
  std::vector<Individual> inds = random_samples(3, 3, 4, 5);
  for (Individual& ind : inds) {
    if (ind.sample == 3) ind.alleles[0] = {0, 0};
  }
  int kept[4] = {};
  for (Individual& ind : inds)
    if (++kept[ind.sample] > (ind.sample == 3 ? 2 : 1)) ind.alleles[1] = {0, 0};
  Analysis an = make_analysis(3, 3, inds);
  wc_components(an.ct, an.wc, 1, 3, TablesOf::observed);
  ReportText out;
  jackknife_samples(an, 1, 3, out);
  EXPECT_EQ(out.str().find("L1"), std::string::npos);
  EXPECT_EQ(out.str().find("L2"), std::string::npos);
  EXPECT_NE(out.str().find("\t For locus : L3\r\n\t\t  Capf\t Theta\tSmallf\t Relat\r\n\t Total\t"),
            std::string::npos);
  EXPECT_EQ(out.str().rfind("\r\n" + kStars48 + "\r\n\tJackknifing over populations.\r\n\r\n\t For", 0), 0u);
}

TEST(Jackknife, FourSamplesAndFourLociGiveMessages) {
  Analysis an = make_analysis(4, 4, random_samples(4, 4, 5, 6));
  wc_components(an.ct, an.wc, 1, 4, TablesOf::observed);
  SectionRun run("jack4");
  jackknife_report(run.ctx, an, 1, 4);
  EXPECT_EQ(run.result(), "\r\n" + kStars48 +
                              "\r\n\tCould not perform Jackknifing over samples with only 4 samples. exiting.\r\n\r\n" +
                              kStars48 + "\r\n\tCould not perform Jackknifing over loci with only 4 loci. exiting.\r\n");
}

TEST(Jackknife, OverIdenticalLociHasZeroStandardErrors) {
  // Every individual carries the same genotype at its five loci.
  std::vector<Individual> inds = random_samples(5, 1, 10, 7);
  for (Individual& ind : inds) ind.alleles.assign(5, ind.alleles[0]);
  Analysis an = make_analysis(5, 5, inds);
  wc_components(an.ct, an.wc, 1, 5, TablesOf::observed);
  SectionRun run("jackloci");
  jackknife_report(run.ctx, an, 1, 5);
  std::vector<std::string> lines = lines_of(run.result());
  ASSERT_GE(lines.size(), 3u);
  const auto n = lines.size();
  EXPECT_EQ(lines[n - 5], "\t Jackknifing over loci.");
  EXPECT_EQ(lines[n - 2], "\t total\t" + fixed(an.wc.wc_F, 6, 3) + "\t" + fixed(an.wc.wc_theta, 6, 3) + "\t" +
                              fixed(an.wc.wc_f, 6, 3) + "\t" + fixed(an.wc.wc_rel, 6, 3) + "\t Means");
  EXPECT_EQ(lines[n - 1], "\t      \t 0.000\t 0.000\t 0.000\t 0.000\t Std. Err.");
}

}  // namespace
}  // namespace torvi
