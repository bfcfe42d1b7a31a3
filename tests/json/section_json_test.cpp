// Sections of a result file as a results document holds them: the reals the
// section formatted (not the rounded text), NA with its reason, and the
// P-values of randomisation tests with their counts.
#include "json/section_json.h"

#include <gtest/gtest.h>

#include <cmath>

#include "report/report_text.h"

namespace torvi {
namespace {

TEST(SectionJson, CellsKeepTheFormattedValuesAtFullPrecision) {
  std::vector<SectionPart> parts;
  SectionObserverScope scope([&](const std::string&, std::string_view text, const std::vector<CapturedValue>& v) {
    parts = section_parts(text, v);
  });
  ReportText out;
  out.line(kStars48).cell("Nei's estimation of heterozygosity ").eol();
  out.cell("loc1").cell(fixed(1.0L / 3, 6, 3)).cell(fixed(-2.0L / 7, 6, 3)).cell(kNA6).cell(integer(12, 5)).eol();
  out.cell("Indicative level is : " + fixed(0.05L / 3, 10, 5)).eol();
  out.fixed_cell(2.0L / 3, 6, 1).eol();
  out.line(kStars48).cell("Something new here").eol().cell("x").eol();
  value_capture::section_written("r.out", out.str(), {});  // no values: texts only
  ASSERT_EQ(parts.size(), 2u);

  parts.clear();
  const std::string tmp = std::string(::testing::TempDir()) + "section-json.out";
  std::remove(tmp.c_str());
  out.append_to(tmp);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(parts[0].id, "nei");
  const Json& nei = parts[0].object;
  EXPECT_EQ(nei["title"], "Nei's estimation of heterozygosity");
  const Json& row = nei["rows"][0];
  ASSERT_EQ(row.size(), 5u);
  EXPECT_EQ(row[0], "loc1");
  EXPECT_EQ(row[1].get<double>(), 1.0 / 3);  // not 0.333
  EXPECT_EQ(row[2].get<double>(), -2.0 / 7);
  EXPECT_EQ(row[3], "NA: fewer than two typed samples");
  EXPECT_EQ(row[4], 12);
  EXPECT_EQ(nei["rows"][1], Json::array({"Indicative level is :", 0.05 / 3}));
  EXPECT_EQ(nei["rows"][2][0].get<double>(), 2.0 / 3);
  EXPECT_EQ(parts[1].id, "something_new_here");
  std::remove(tmp.c_str());
}

TEST(SectionJson, RandomisationTestsGiveCountNPAndMonteCarloError) {
  std::vector<SectionPart> parts;
  SectionObserverScope scope([&](const std::string&, std::string_view text, const std::vector<CapturedValue>& v) {
    parts = section_parts(text, v);
  });
  ReportText out;
  out.line(kStars48).cell("Randomising alleles within samples.").eol();
  out.cell("based on :" + integer(200, 6) + " randomisations.").eol();
  out.line("loc1\tProp rand. larger than observed in [\t" + fixed(44.0L / 200, 10, 5) + "\t" + fixed(31.0L / 200, 10, 5) + "]");
  out.line("All Loci\tProp rand. larger than observed< \t" + fixed(1.0L / 200, 10, 5));
  out.line(kStars48).cell("P-value for genotypic disequilibrium").eol();
  out.cell("based on " + integer(300, 10) + " permutations.").eol();
  out.cell("loc1 X loc2").cell(fixed(7.0L / 300, 8, 5)).cell(kNA8).eol();
  out.cell("Adjusted P-value for 5% nominal level is : " + fixed(1.0L / 300, 14, 10)).eol();
  const std::string tmp = std::string(::testing::TempDir()) + "section-json-tests.out";
  std::remove(tmp.c_str());
  out.append_to(tmp);
  std::remove(tmp.c_str());
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(parts[0].id, "hw_within");
  const Json& ranks = parts[0].object["rows"];
  const Json& first = ranks[1][2];  // at least as large
  EXPECT_EQ(first["P"].get<double>(), 0.22);
  EXPECT_EQ(first["count"], 44);
  EXPECT_EQ(first["N"], 200);
  EXPECT_NEAR(first["mc_se"].get<double>(), std::sqrt(0.22 * 0.78 / 200), 1e-15);
  EXPECT_EQ(ranks[1][3]["count"], 31);     // strictly larger
  EXPECT_EQ(ranks[1][4], "]");
  EXPECT_EQ(ranks[2][2]["count"], 0);  // no randomised value reached the observed: P = 1/N
  EXPECT_EQ(ranks[2][2]["P"].get<double>(), 1.0 / 200);

  EXPECT_EQ(parts[1].id, "ld_tests");
  const Json& ld = parts[1].object["rows"];
  EXPECT_EQ(ld[1][1]["count"], 6);  // (count + 1) / N
  EXPECT_EQ(ld[1][1]["N"], 300);
  EXPECT_EQ(ld[1][2], "NA: pair not tested (a locus monomorphic or untyped)");
  EXPECT_TRUE(ld[2][1].is_number());  // an adjusted level is no P-value
}

}  // namespace
}  // namespace torvi
