#include "stats/locus_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run/data_set_lifecycle.h"
#include "stats/nei_statistics.h"
#include "support/golden.h"
#include "support/report_fixture.h"

namespace torvi {
namespace {

using testing::per_locus_report;
using testing::ReportFixture;
using testing::ScriptedHost;

const std::string kStars = std::string(48, '*');

// Two samples, two loci; sample 2 has one typed individual at locB.
ReportFixture small_data_set() {
  return ReportFixture(2, {"locA", "locB"},
                       {{1, "0101 0303"}, {1, "0102 0303"}, {1, "0202 0304"}, {2, "0102 0000"}, {2, "0102 0404"}});
}

TEST(LocusReport, WholeReportOfSmallDataSet) {
  ReportFixture f = small_data_set();
  f.options.CB_Rar = f.options.CB_fis = true;
  RunContext ctx = f.context();
  per_locus_report(ctx, f.an);

  const std::string expected =
      "      \t\t  pop1\t  pop2\t All_W\tAll_UW\r\n"
      "\t    Locus: locA\r\n"
      "\t     N\t     3\t     2\r\n"
      "\tp:   1\t 0.500\t 0.500\t 0.500\t 0.500\r\n"
      "\tp:   2\t 0.500\t 0.500\t 0.500\t 0.500\r\n"
      "\t\t\t\t\t\r\n"
      "\r\n"
      "\t    Locus: locB\r\n"
      "\t     N\t     3\t     1\r\n"
      "\tp:   3\t 0.833\t 0.000\t 0.625\t 0.417\r\n"
      "\tp:   4\t 0.167\t 1.000\t 0.375\t 0.583\r\n"
      "\t\t\t\t\t\r\n"
      "\r\n" + kStars + "\r\n\r\n"
      "\tGene diversity per locus and population : \r\n"
      "\tlocA\t 0.667\t 0.500\r\n"
      "\tlocB\t 0.333\t    NA\r\n"
      "\r\n" + kStars + "\r\n\r\n"
      "\tnumber of alleles sampled : \r\n"
      "\tlocA\t     2\t     2\t     2\r\n"
      "\tlocB\t     2\t     1\t     2\r\n"
      "\r\n" + kStars + "\r\n\r\n"
      "\tAllelic Richness per locus and population\r\n"
      "\tbased on min. sample size of:    1 diploid individuals.\r\n"
      "\tlocA\t 1.600\t 1.667\t 1.556\r\n"
      "\tlocB\t 1.333\t 1.000\t 1.536\r\n"
      "\r\n" + kStars + "\r\n\r\n"
      "\tFis Per population : \r\n"
      "\tlocA\t 0.500\t-1.000\r\n"
      "\tlocB\t 0.000\t    NA\r\n"
      "\r\n"
      "\tAll \t 0.333\t-1.000\r\n"
      "\r\n" + kStars + "\r\n"
      "\tNei's estimation of heterozygosity \r\n"
      "\r\n"
      "\tLocName\t    Ho\t    Hs\t    Ht\t   Dst\t  Dst'\t   Ht'\t   Fst\t  Fst'\t   Fis\r\n"
      "\tlocA\t 0.667\t 0.619\t 0.560\t-0.060\t-0.119\t 0.500\t-0.106\t-0.238\t-0.077\r\n"
      "\tlocB\t 0.167\t 0.250\t 0.542\t 0.292\t 0.583\t 0.833\t 0.538\t 0.700\t 0.333\r\n"
      "\r\n"
      "\tOverall\t 0.417\t 0.435\t 0.551\t 0.116\t 0.232\t 0.667\t 0.211\t 0.348\t 0.041\r\n";
  EXPECT_EQ(f.result_text(), expected);
}

TEST(LocusReport, ColumnLineIsLeftOpenForTheNextSection) {
  ReportFixture f = small_data_set();
  f.untick_all();
  RunContext ctx = f.context();
  per_locus_report(ctx, f.an);
  EXPECT_EQ(f.result_text(), "      \t\t  pop1\t  pop2\t All_W\tAll_UW");

  // The next section's leading line end closes the column line: no empty line.
  f.options.CB_nei = true;
  std::remove(f.path.c_str());
  per_locus_report(ctx, f.an);
  EXPECT_EQ(f.result_text().rfind("      \t\t  pop1\t  pop2\t All_W\tAll_UW\r\n" + kStars + "\r\n", 0), 0u);
}

TEST(LocusReport, DefaultSampleLabelsUnlessALabelFileIsUsed) {
  std::vector<ReportFixture::Individual> ind;
  for (int s = 1; s <= 200; ++s) ind.push_back({s, "0101"});
  ReportFixture f(200, {"loc"}, ind);
  f.untick_all();
  RunContext ctx = f.context();
  per_locus_report(ctx, f.an);
  EXPECT_EQ(f.an.ds.sample_names[1], "pop1");
  EXPECT_EQ(f.an.ds.sample_names[7], "pop7");
  EXPECT_EQ(f.an.ds.sample_names[200], "pop200");
  const std::string text = f.result_text();
  EXPECT_EQ(text.rfind("      \t\t  pop1\t  pop2\t  pop3", 0), 0u);
  const std::string tail = "\tpop199\tpop200\t All_W\tAll_UW";
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);

  f.an.ds.sample_names[3] = "Nancy";
  f.options.label_file_checked = true;
  per_locus_report(ctx, f.an);
  EXPECT_EQ(f.an.ds.sample_names[3], "Nancy");
}

TEST(LocusReport, LocusTypedInOneSampleOnly) {
  ReportFixture f(2, {"one", "both"}, {{1, "0102 0101"}, {1, "0202 0102"}, {2, "0000 0202"}, {2, "0000 0102"}});
  f.untick_all();
  f.options.CB_allfreq = f.options.CB_nei = true;
  RunContext ctx = f.context();
  per_locus_report(ctx, f.an);
  const std::string text = f.result_text();
  // Untyped sample: NA frequency; the unweighted mean is over typed samples.
  EXPECT_NE(text.find("\tp:   1\t 0.250\t    NA\t 0.250\t 0.250\r\n"), std::string::npos);
  // S = 1, n = 2: Ho 0.5; Hs = 2 (1 - 5/8 - 1/8) = 0.5; Ht = 1 - 5/8 + 1/4 - 1/8 = 0.5.
  EXPECT_NE(text.find("\tone\t 0.500\t 0.500\t 0.500\t 0.000\t    NA\t    NA\t    NA\t    NA\t 0.000\r\n"),
            std::string::npos);
  // The first locus has S = 1: the overall Dst' and what builds on it are NA.
  EXPECT_NE(text.find("\r\n\r\n\tOverall\t 0.500\t 0.500\t 0.531\t 0.031\t    NA\t    NA\t 0.059\t    NA\t 0.000\r\n"),
            std::string::npos);
}

TEST(LocusReport, MonomorphicLocusGivesZeroRatios) {
  ReportFixture f(2, {"mono"}, {{1, "0101"}, {1, "0101"}, {2, "0101"}, {2, "0101"}});
  f.untick_all();
  f.options.CB_nei = true;
  RunContext ctx = f.context();
  per_locus_report(ctx, f.an);
  const std::string zeros = "\t 0.000\t 0.000\t 0.000\t 0.000\t 0.000\t 0.000\t 0.000\t 0.000\t 0.000\r\n";
  EXPECT_NE(f.result_text().find("\tmono" + zeros + "\r\n\tOverall" + zeros), std::string::npos);
}

TEST(LocusReport, AlleleAbsentAtALocusHasNoFrequencyLine) {
  ReportFixture f(2, {"L1", "L2"}, {{1, "0105 0102"}, {2, "0101 0202"}});
  f.untick_all();
  f.options.CB_allfreq = true;
  RunContext ctx = f.context();
  per_locus_report(ctx, f.an);
  const std::string text = f.result_text();
  const size_t l2 = text.find("Locus: L2");
  ASSERT_NE(l2, std::string::npos);
  EXPECT_NE(text.find("\tp:   5"), std::string::npos);
  EXPECT_EQ(text.find("\tp:   5", l2), std::string::npos);
  EXPECT_NE(text.find("\tp:   2", l2), std::string::npos);
}

TEST(LocusReport, SingleSampleWritesNoNeiTable) {
  ReportFixture f(1, {"L1"}, {{1, "0102"}, {1, "0101"}});
  f.untick_all();
  f.options.CB_nei = true;
  RunContext ctx = f.context();
  per_locus_report(ctx, f.an);
  EXPECT_EQ(f.result_text(), "      \t\t  pop1\t All_W\tAll_UW");
}

// One individual per sample gives a harmonic mean size of 1; an untyped locus
// has no sample at all. Both print NA and stay out of the overall means.
TEST(LocusReport, LociWithoutDiversitiesAreLeftOutOfTheMeans) {
  ReportFixture f(2, {"ok", "single", "none"},
                  {{1, "0101 0102 0000"}, {1, "0102 0000 0000"}, {2, "0202 0101 0000"}, {2, "0102 0000 0000"}});
  f.untick_all();
  f.options.CB_nei = true;
  const NeiTable table = nei_table(f.an.ct, 3);
  EXPECT_FALSE(table.loci[2].h.diversities);
  EXPECT_EQ(table.loci[3].h.samples, 0);
  ASSERT_TRUE(table.overall);
  EXPECT_NEAR(table.overall->h.ho, 0.5L, 1e-15L);
  EXPECT_NEAR(table.overall->h.hs, 0.5L, 1e-15L);
  EXPECT_NEAR(table.overall->h.ht, 0.5625L, 1e-15L);
  RunContext ctx = f.context();
  per_locus_report(ctx, f.an);
  const std::string text = f.result_text();
  const std::string na8 = "\t    NA\t    NA\t    NA\t    NA\t    NA\t    NA\t    NA\t    NA\r\n";
  // Locus "single": s1 heterozygous, s2 homozygous: Ho = 1 - (0 + 1) / 2.
  EXPECT_NE(text.find("\tsingle\t 0.500" + na8), std::string::npos);
  EXPECT_NE(text.find("\tnone\t    NA" + na8), std::string::npos);
  // The same locus as in LocusTypedInOneSampleOnly's "both": Ho 0.5, Hs 0.5, Ht 0.5625.
  const std::string values = "\t 0.500\t 0.500\t 0.563\t 0.063\t 0.125\t 0.625\t 0.111\t 0.200\t 0.000\r\n";
  EXPECT_NE(text.find("\tok" + values), std::string::npos);
  EXPECT_NE(text.find("\r\n\r\n\tOverall" + values), std::string::npos);
}

// A published data set read from its file: one colony untyped at fca45, so
// NA frequencies and no allelic richness. Nei's values agree with an
// independent computation in exact fractions.
TEST(LocusReport, NancycatsWithEverySection) {
  ScriptedHost host;
  Analysis an;
  ASSERT_TRUE(create_data_set(host, std::string(TORVI_EXAMPLES_DIR) + "/nancycats.dat", an));
  count_alleles(an.ds, an.ct);
  RunOptions options;
  options.CB_Rar = options.CB_fis = true;
  Rng rng(1, 1);
  NbPerm nb;
  testing::TempDir dir("locus_report");
  RunContext ctx{host, rng, options, nb, dir.file("nancycats.out"), 1};
  per_locus_report(ctx, an);
  EXPECT_EQ(testing::compare_with_golden("locus_report_nancycats.out", testing::read_file(ctx.result_name)), "");
}

TEST(NeiStatistics, RatiosWithSmallOrNegativeDenominatorsAreZero) {
  const NeiDerived d = nei_derived(0.5L, -0.2L, -0.1L, 2);
  EXPECT_EQ(d.fst, 0.0L);
  EXPECT_EQ(d.fis, 0.0L);
  EXPECT_EQ(d.fst_prime, 0.0L);
  EXPECT_TRUE(d.primed);
  const NeiDerived tiny = nei_derived(0.0L, 1e-5L, 1e-5L, 3);
  EXPECT_EQ(tiny.fis, 0.0L);
  EXPECT_EQ(tiny.fst, 0.0L);
}

}  // namespace
}  // namespace torvi
