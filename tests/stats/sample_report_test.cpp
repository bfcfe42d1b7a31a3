#include "stats/sample_report.h"

#include <gtest/gtest.h>

#include <string>

#include "randtests/hw_sample_test.h"
#include "stats/fis_within.h"
#include "support/report_fixture.h"

namespace torvi {
namespace {

using testing::ReportFixture;

const std::string kHead = "\r\n" + std::string(48, '*') + "\r\n\r\n";

// Sample 1: one typed individual at L1, fixed for allele 1 at L2.
ReportFixture edge_data_set() {
  return ReportFixture(2, {"L1", "L2"},
                       {{1, "0102 0101"}, {1, "0000 0101"}, {2, "0101 0102"}, {2, "0102 0202"}, {2, "0202 0202"}});
}

TEST(SampleReport, SingleTypedIndividualAndFixedSample) {
  ReportFixture f = edge_data_set();
  f.untick_all();
  f.options.CB_genediv = f.options.CB_nal = f.options.CB_fis = true;
  RunContext ctx = f.context();
  sample_report(ctx, f.an);
  // Sample 2 at L1: n = 3, p = 1/2, Ho = 1/3: 3/2 (1/2 - 1/18) = 2/3; at L2, p = 1/6: 3/2 (10/36 - 2/36) = 1/3.
  // Fis of sample 2: L1 b = 1/4 - 1/12 and c = 1/6 per allele: 1/2; L2 b = 0: 0; over loci 1/3 / 1.
  const std::string expected = kHead +
                               "\tGene diversity per locus and population : \r\n"
                               "\tL1\t    NA\t 0.667\r\n"
                               "\tL2\t 0.000\t 0.333\r\n" +
                               kHead +
                               "\tnumber of alleles sampled : \r\n"
                               "\tL1\t     2\t     2\t     2\r\n"
                               "\tL2\t     1\t     2\t     2\r\n" +
                               kHead +
                               "\tFis Per population : \r\n"
                               "\tL1\t    NA\t 0.500\r\n"
                               "\tL2\t    NA\t 0.000\r\n"
                               "\r\n"
                               "\tAll \t    NA\t 0.333\r\n";
  EXPECT_EQ(f.result_text(), expected);
  EXPECT_FALSE(is_value(f.an.fis(1, 1)));
  EXPECT_FALSE(is_value(f.an.fis(1, 2)));
  EXPECT_FALSE(is_value(f.an.fis(1, 0)));
  EXPECT_NEAR(static_cast<double>(f.an.fis(2, 0)), 1.0 / 3.0, 1e-15);
}

TEST(SampleReport, FisIsKeptWhenNotPrinted) {
  ReportFixture f = edge_data_set();
  f.untick_all();
  RunContext ctx = f.context();
  sample_report(ctx, f.an);
  EXPECT_EQ(f.result_text(), "");
  EXPECT_NEAR(static_cast<double>(f.an.fis(2, 1)), 0.5, 1e-15);
}

TEST(SampleReport, TestsPerLocusAndSampleReadTheFisLeftBySections) {
  ReportFixture f = edge_data_set();
  f.untick_all();
  f.options.CB_fis = f.options.CB_IFis = true;
  f.nb_perm.perm_hw_sample_locus = 1;
  RunContext ctx = f.context();
  sample_report(ctx, f.an);
  hw_sample_test(ctx, f.an);  // reads the Fis values sample_report leaves
  const std::string text = f.result_text();
  const size_t all = text.find("\tAll \t    NA\t 0.333\r\n");
  ASSERT_NE(all, std::string::npos);
  EXPECT_NE(text.find("P-value for Fis within samples.", all), std::string::npos);
}

TEST(SampleReport, RichnessNeedsEverySampleTypedAtEveryLocus) {
  ReportFixture f = edge_data_set();
  f.untick_all();
  f.options.CB_Rar = true;
  f.an.ds.geno(1, 1) = 0;  // sample 1 now has no typed individual at L1
  count_alleles(f.an.ds, f.an.ct);
  RunContext ctx = f.context();
  sample_report(ctx, f.an);
  EXPECT_EQ(f.result_text(), kHead +
                                 "\tAllelic Richness per locus and population\r\n"
                                 "\tCannot calculate allelic richness.\r\n"
                                 "\tAt least one locus in one sample has no genotyped individual.\r\n");
}

TEST(SampleReport, RichnessEqualsAllelesSampledForEqualSampleSizes) {
  ReportFixture f(2, {"L1", "L2"},
                  {{1, "0102 0303"}, {1, "0304 0303"}, {2, "0101 0405"}, {2, "0101 0506"}});
  f.untick_all();
  f.options.CB_Rar = true;
  RunContext ctx = f.context();
  sample_report(ctx, f.an);
  // 4 genes drawn. Pooled L1 (5 copies of 1, one each of 2, 3, 4): 1 + 3 (1 - 7·6·5·4 / (8·7·6·5)) = 2.5.
  // Pooled L2 (4 copies of 3, 2 of 5, one each of 4 and 6):
  //   (1 - 4·3·2·1/1680) + (1 - 6·5·4·3/1680) + 2 (1 - 7·6·5·4/1680) = 69/70 + 11/14 + 1 = 2.771.
  EXPECT_EQ(f.result_text(), kHead +
                                 "\tAllelic Richness per locus and population\r\n"
                                 "\tbased on min. sample size of:    2 diploid individuals.\r\n"
                                 "\tL1\t 4.000\t 1.000\t 2.500\r\n"
                                 "\tL2\t 1.000\t 3.000\t 2.771\r\n");
}

TEST(FisWithin, ValuesWithin1e5OfZeroBecomeZero) {
  // One sample of two heterozygotes "0102": per allele p = 1/2 and, with h
  // carriers, c = h/4 and b = 1/2 - 3h/8, so Fis = (4 - 3h) / (4 - h).
  ReportFixture f(1, {"L1"}, {{1, "0102"}, {1, "0102"}});
  std::vector<long double> het = f.an.ct.het_allele_count;
  std::vector<long double> fis((1 + 1) * (1 + 1), 0.0L);
  for (long double& h : het) h = (4.0L - 4.0L * 4e-6L) / (3.0L - 4e-6L);  // Fis = 0.000004
  fis_within(f.an.ct, het, fis);
  EXPECT_EQ(fis[1 * 2 + 1], 0.0L);
  EXPECT_EQ(fis[1 * 2 + 0], 0.0L);
  for (long double& h : het) h = (4.0L - 4.0L * 2e-5L) / (3.0L - 2e-5L);  // Fis = 0.00002
  fis_within(f.an.ct, het, fis);
  EXPECT_NEAR(static_cast<double>(fis[1 * 2 + 1]), 2e-5, 1e-12);

  // Printed through the report as well.
  f.untick_all();
  f.options.CB_fis = true;
  for (long double& h : f.an.ct.het_allele_count) h = (4.0L - 4.0L * 4e-6L) / (3.0L - 4e-6L);
  RunContext ctx = f.context();
  sample_report(ctx, f.an);
  EXPECT_EQ(f.result_text(), kHead + "\tFis Per population : \r\n\tL1\t 0.000\r\n\r\n\tAll \t 0.000\r\n");
}

}  // namespace
}  // namespace torvi
