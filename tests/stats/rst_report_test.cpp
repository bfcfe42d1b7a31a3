#include "stats/rst_report.h"

#include <gtest/gtest.h>

#include "report/report_text.h"
#include "stats/wc_components.h"
#include "support/analysis_fixture.h"

namespace torvi {
namespace {

using namespace torvi::testing;

const std::string kHead = "\r\n" + kStars48 +
                          "\r\n\r\n\tRst Over all samples estimated following Rousset (1996) and Goodman (1997)\r\n\r\n"
                          "\t\t   Rst\t  siga\t  sigb\t  sigw\t amean\t astdev\r\n";
const std::string kOverLoci = "\r\n\t  Rst over loci\t  Weighted\t   Goodman\tUnweighted\r\n\t           Rst:";

std::string rst_section(const std::vector<Individual>& inds, int np, int nl) {
  Analysis an = make_analysis(np, nl, inds);
  wc_components(an.ct, an.wc, 1, np, TablesOf::observed);
  SectionRun run("rst");
  rst_report(run.ctx, an);
  return run.result();
}

TEST(RstReport, HomozygotesOfDifferentSizesGiveRstOne) {
  // Locus 2 has a single size and is left out.
  std::vector<Individual> inds = repeat(1, 5, 2, {10, 10});
  append(inds, repeat(2, 5, 2, {12, 12}));
  for (auto& ind : inds) ind.alleles[1] = {7, 7};
  EXPECT_EQ(rst_section(inds, 2, 2), kHead + "\tL1\t 1.000\t   2.0\t   0.0\t   0.0\t 11.00\t 1.0000\r\n" + kOverLoci +
                                         "\t    1.0000\t    1.0000\t    1.0000\r\n");
}

TEST(RstReport, ComputedLociAndTotalsBeforeAnyText) {
  // Locus 1: homozygotes 10 vs 12; locus 2 a single size, left out.
  std::vector<Individual> inds = repeat(1, 5, 2, {10, 10});
  append(inds, repeat(2, 5, 2, {12, 12}));
  for (auto& ind : inds) ind.alleles[1] = {7, 7};
  Analysis an = make_analysis(2, 2, inds);
  wc_components(an.ct, an.wc, 1, 2, TablesOf::observed);
  const RstResult r = compute_rst(an.ds, an.ct, an.wc.samples_at_locus);
  ASSERT_EQ(r.loci.size(), 1u);
  const RstLocus& locus = r.loci[0];
  EXPECT_EQ(locus.l, 1);
  EXPECT_EQ(locus.amean, 11.0L);
  EXPECT_EQ(locus.astdev, 1.0L);
  // Sizes 10 and 12, all within-sample variation gone: everything among samples.
  EXPECT_NEAR(static_cast<double>(locus.raw.siga), 2.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(locus.raw.sigb), 0.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(locus.raw.sigw), 0.0, 1e-15);
  EXPECT_TRUE(locus.has_rst);
  EXPECT_NEAR(static_cast<double>(r.rst_sum), 1.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(r.z_total.siga), 2.0, 1e-15);  // standardised by astdev 1
}

TEST(RstReport, HeterozygotesOnlyGiveNegativeSigbAndRstZero) {
  std::vector<Individual> inds = repeat(1, 5, 1, {10, 12});
  append(inds, repeat(2, 5, 1, {10, 12}));
  EXPECT_EQ(rst_section(inds, 2, 1), kHead + "\tL1\t 0.000\t   0.0\t  -1.0\t   2.0\t 11.00\t 1.0000\r\n" + kOverLoci +
                                         "\t    0.0000\t    0.0000\t    0.0000\r\n");
}

TEST(RstReport, NoCountedLocusPrintsNAInTenCharacterFields) {
  // Locus 1 without size variation, locus 2 typed nowhere.
  std::vector<Individual> inds = {{1, {{8, 8}, {0, 0}}}, {1, {{8, 8}, {0, 0}}}, {2, {{8, 8}, {0, 0}}}};
  EXPECT_EQ(rst_section(inds, 2, 2), kHead + kOverLoci + "\t        NA\t        NA\t        NA\r\n");
}

TEST(RstReport, SummariesWeightComponentsAndAverageLocusRst) {
  // Locus 1: homozygotes 10 vs 12 (Rst 1); locus 2: heterozygotes only (Rst 0).
  std::vector<Individual> inds = repeat(1, 5, 2, {10, 10});
  append(inds, repeat(2, 5, 2, {12, 12}));
  for (auto& ind : inds) ind.alleles[1] = {10, 12};
  EXPECT_EQ(rst_section(inds, 2, 2), kHead + "\tL1\t 1.000\t   2.0\t   0.0\t   0.0\t 11.00\t 1.0000\r\n" +
                                         "\tL2\t 0.000\t   0.0\t  -1.0\t   2.0\t 11.00\t 1.0000\r\n" + kOverLoci +
                                         "\t    0.6667\t    0.6667\t    0.5000\r\n");
}

}  // namespace
}  // namespace torvi
