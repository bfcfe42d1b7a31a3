#include "randtests/hw_within_test.h"

#include <gtest/gtest.h>

#include "support/perm_fixture.h"

namespace torvi {
namespace {

using testing::PermRun;

TEST(HwWithinTest, BelowTwoHundredWritesNothing) {
  PermRun run("hw-within-100");
  run.load(testing::small_data(3, 4, 10, 0.0, 3));
  run.observe();
  run.nb.perm_hw_within = 199;
  RunContext ctx = run.ctx();
  hw_within_test(ctx, run.an, 1, 3);
  EXPECT_EQ(run.result(), "");
  EXPECT_EQ(run.rng, Rng(12345, 67890));
  EXPECT_EQ(run.host.notes,
            std::vector<std::string>{"Hardy Weinberg within samples not done: fewer than 200 randomisations asked."});
}

// Samples 2..4 of 5, with missing genotypes. The expected text and tables
// were written by the first implementation, which redealt into the tables
// and computed the components from them.
TEST(HwWithinTest, RangeOfSamplesWithAnyNumberOfThreads) {
  for (int threads : testing::kThreadCounts) {
    PermRun run("hw-within-range");
    run.load(testing::golden_input("permtests/hw_within_range.dat"));
    run.observe(2, 4);
    run.nb.perm_hw_within = 230;
    run.threads = threads;
    RunContext ctx = run.ctx();
    hw_within_test(ctx, run.an, 2, 4);
    EXPECT_EQ(testing::compare_with_golden("permtests/hw_within_range.out", run.result_and_tables()), "") << threads;
  }
}

struct Outcome {
  std::string text;
  Rng rng;
  std::vector<long double> alleles, het, f_locus;
  long double F, f;
};

Outcome run_with(int threads) {
  PermRun run("hw-within");
  run.load(testing::golden_input("permtests/hw_within.dat"));
  run.observe();
  run.nb.perm_hw_within = 200;
  run.threads = threads;
  RunContext ctx = run.ctx();
  hw_within_test(ctx, run.an, 1, 4);
  EXPECT_EQ(run.host.progress_ranges, std::vector<int64_t>{200});
  EXPECT_EQ(run.host.progress_steps, 199);
  const WcState& wc = run.an.wc;
  return {run.result(), run.rng, run.an.ct.allele_count, run.an.ct.het_allele_count, wc.wc_f_locus, wc.wc_F, wc.wc_f};
}

TEST(HwWithinTest, SameResultsAndLastTablesWithAnyNumberOfThreads) {
  const Outcome one = run_with(1);
  EXPECT_NE(one.text.find("\tbased on :   200 randomisations.\r\n\r\n"), std::string::npos);
  EXPECT_NE(one.text.find("All Loci\tProp rand. larger than observed"), std::string::npos);
  EXPECT_EQ(testing::compare_with_golden("permtests/hw_within.out", one.text), "");
  for (int threads : {2, 3, 7}) {
    const Outcome other = run_with(threads);
    EXPECT_EQ(other.text, one.text) << threads;
    EXPECT_EQ(other.rng, one.rng) << threads;
    EXPECT_EQ(other.alleles, one.alleles) << threads;
    EXPECT_EQ(other.het, one.het) << threads;
    EXPECT_EQ(other.f_locus, one.f_locus) << threads;
    EXPECT_EQ(other.F, one.F) << threads;
    EXPECT_EQ(other.f, one.f) << threads;
  }
}

}  // namespace
}  // namespace torvi
