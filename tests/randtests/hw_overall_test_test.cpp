#include "randtests/hw_overall_test.h"

#include <gtest/gtest.h>

#include "support/perm_fixture.h"

namespace torvi {
namespace {

using testing::PermRun;

struct Outcome {
  std::string text;
  Rng rng;
  std::vector<long double> alleles, het, g_locus, F_locus;
  long double g_total, F;
};

Outcome run_with(int threads, bool hwo, PopDiff popdif, const std::string& data) {
  PermRun run("hw-overall");
  run.load(data);
  run.observe();
  run.nb.perm_hw_overall = 200;
  run.opt.CB_HWO = hwo;
  run.opt.RG_popdif = popdif;
  run.threads = threads;
  RunContext ctx = run.ctx();
  hw_overall_test(ctx, run.an, 1, run.an.ds.np);
  EXPECT_EQ(run.host.progress_steps, 199);
  return {run.result(), run.rng, run.an.ct.allele_count, run.an.ct.het_allele_count, run.an.g.g_locus,
          run.an.wc.wc_F_locus, run.an.g.g_total, run.an.wc.wc_F};
}

TEST(HwOverallTest, BothReportsFromOneSeriesWithAnyNumberOfThreads) {
  const std::string data = testing::golden_input("permtests/hw_overall.dat");
  const Outcome one = run_with(1, true, PopDiff::assuming_hw, data);
  EXPECT_EQ(testing::compare_with_golden("permtests/hw_overall.out", one.text), "");
  const size_t hw = one.text.find("\tTesting for Hardy-Weinberg overall using the statistic CapF (Fit)\r\n\r\n");
  const size_t diff = one.text.find("\r\n\r\n\r\n\tTesting for population differentiation,\r\n");
  EXPECT_NE(hw, std::string::npos);
  EXPECT_NE(diff, std::string::npos);
  EXPECT_LT(hw, diff);
  for (int threads : {2, 3, 7}) {
    const Outcome other = run_with(threads, true, PopDiff::assuming_hw, data);
    EXPECT_EQ(other.text, one.text) << threads;
    EXPECT_EQ(other.rng, one.rng) << threads;
    EXPECT_EQ(other.alleles, one.alleles) << threads;
    EXPECT_EQ(other.het, one.het) << threads;
    EXPECT_EQ(other.g_locus, one.g_locus) << threads;
    EXPECT_EQ(other.F_locus, one.F_locus) << threads;
    EXPECT_EQ(other.g_total, one.g_total) << threads;
    EXPECT_EQ(other.F, one.F) << threads;
  }
}

TEST(HwOverallTest, DifferentiationAloneAndMonomorphicLocusSilent) {
  // Locus M carries one allele everywhere.
  const char* data =
      "3 2 9 2\nP\nM\n"
      "1 0102 0505\n1 0202 0505\n1 0101 0505\n"
      "2 0103 0505\n2 0303 0505\n2 0101 0505\n"
      "3 0203 0505\n3 0303 0505\n3 0202 0505\n";
  const Outcome o = run_with(1, false, PopDiff::assuming_hw, data);
  EXPECT_EQ(o.text.find("CapF"), std::string::npos);
  EXPECT_EQ(o.text.rfind("\r\n************************************************\r\n\tRandomising alleles overall samples\r\n\r\n", 0),
            0u);
  EXPECT_NE(o.text.find("\tTest based on :   200 randomisations.\r\n\r\n\r\n\r\n\tTesting for population"),
            std::string::npos);
  EXPECT_NE(o.text.find("\r\nP\tProp rand."), std::string::npos);
  EXPECT_EQ(o.text.find("\r\nM\t"), std::string::npos);
}

// Samples 2..4 of 5: the others keep their tables (here still counts, not
// frequencies) and still count in G. The expected text and tables were
// written by the first implementation, which dealt and summed in the tables.
TEST(HwOverallTest, RangeOfSamplesWithAnyNumberOfThreads) {
  for (int threads : testing::kThreadCounts) {
    PermRun run("hw-overall-range");
    run.load(testing::golden_input("permtests/hw_overall_range.dat"));
    run.observe(2, 4);
    run.nb.perm_hw_overall = 230;
    run.opt.CB_HWO = true;
    run.opt.RG_popdif = PopDiff::assuming_hw;
    run.threads = threads;
    RunContext ctx = run.ctx();
    hw_overall_test(ctx, run.an, 2, 4);
    EXPECT_EQ(testing::compare_with_golden("permtests/hw_overall_range.out", run.result_and_tables()), "") << threads;
  }
}

TEST(HwOverallTest, BelowTwoHundredWritesNothing) {
  PermRun run("hw-overall-low");
  run.load(testing::small_data(2, 2, 5, 0, 1));
  run.observe();
  run.nb.perm_hw_overall = 150;
  run.opt.CB_HWO = true;
  RunContext ctx = run.ctx();
  hw_overall_test(ctx, run.an, 1, 2);
  EXPECT_EQ(run.result(), "");
  EXPECT_EQ(run.host.notes.size(), 1u);
}

}  // namespace
}  // namespace torvi
