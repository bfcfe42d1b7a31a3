#include "stats/wc_report.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "report/report_text.h"
#include "stats/wc_components.h"
#include "support/analysis_fixture.h"

namespace torvi {
namespace {

using namespace torvi::testing;

const std::string kIntro =
    "\r\n" + kStars48 +
    "\r\n\tWeir & Cockerham (1984) estimation of Fit (CapF), Fst (theta) and Fis (smallF)."
    "\r\n\trelat is Relatedness estimated following Queller & Goodnight (1989)"
    "\r\n\trelatc is relatedness inbreeding corrected following Pamilo (1984, 1985)"
    "\r\n\tsig_a, sig_b and sig_w are the component of variance"
    "\r\n\tamong samples, among individuals within samples and within individuals respectively.\r\n\r\n";
const std::string kColumns = "\t  Capf\t Theta\tSmallf\t Relat\tRelatc\t Sig_a\t Sig_b\t Sig_w\r\n";

TEST(WcReport, WholeSectionForHomozygousSamples) {
  // Locus 1: both samples 1/1 x2 and 2/2 x2, so c = 0; locus 2 monomorphic;
  // locus 3 typed in sample 2 only. Only locus 1 is listed.
  std::vector<Individual> inds;
  for (int s : {1, 2})
    for (auto g : {std::pair{1, 1}, std::pair{1, 1}, std::pair{2, 2}, std::pair{2, 2}})
      inds.push_back({s, {g, {4, 4}, s == 2 ? std::pair{3, 5} : std::pair{0, 0}}});
  Analysis an = make_analysis(2, 3, inds);
  wc_components(an.ct, an.wc, 1, 2, TablesOf::observed);
  SectionRun run("wc_report");
  wc_report(run.ctx, an);

  const std::string block = "\r\n\t For locus : L1\r\n\tAllele" + kColumns +
                            "\t    1\t 1.000\t-0.333\t 1.000\t-0.333\r\n"
                            "\t    2\t 1.000\t-0.333\t 1.000\t-0.333\r\n"
                            "\t  All\t 1.000\t-0.333\t 1.000\t-0.333\t    NA\t-0.167\t 0.667\t 0.000\r\n";
  const std::string over = "\r\n" + kStars48 + "\r\n\r\n\t\t Over all loci\r\n\t" + kColumns +
                           "\t\t 1.000\t-0.333\t 1.000\t-0.333\t    NA\t-0.167\t 0.667\t 0.000\r\n";
  EXPECT_EQ(run.result(), kIntro + block + over);
}

TEST(WcReport, PrintsNAForEstimatesAtOrBelowMinusOne) {
  // Every individual heterozygous 1/2: f = -1 per allele and per locus.
  std::vector<Individual> inds = repeat(1, 6, 1, {1, 2});
  append(inds, repeat(2, 4, 1, {1, 2}));
  Analysis an = make_analysis(2, 1, inds);
  wc_components(an.ct, an.wc, 1, 2, TablesOf::observed);
  an.wc.wc_f_locus[1] = -1.0L;  // as the exact arithmetic gives
  an.wc.wc_F_locus[1] = -1.5L;  // theta follows F's test
  an.wc.wc_theta_locus[1] = 0.5L;
  an.wc.wc_rel_locus[1] = -0.999L;
  SectionRun run("wc_report_na");
  wc_report(run.ctx, an);
  std::vector<std::string> lines = lines_of(run.result());
  auto all_line = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("\t  All", 0) == 0; });
  ASSERT_NE(all_line, lines.end());
  const std::string& all = *all_line;
  EXPECT_EQ(all.substr(6, 28), "\t    NA\t    NA\t    NA\t-0.999");
}

}  // namespace
}  // namespace torvi
