#include "randtests/hw_sample_test.h"

#include <gtest/gtest.h>

#include "support/perm_fixture.h"

namespace torvi {
namespace {

using testing::PermRun;

// Two samples, five loci; sample 2 has a single individual typed at locus 3.
const char* kTwoSamples =
    "2 5 9 2\nA\nB\nC\nD\nE\n"
    "1 0102 0303 0105 0707 0102\n"
    "1 0202 0304 0505 0708 0101\n"
    "1 0101 0404 0105 0808 0202\n"
    "1 0102 0304 0101 0708 0102\n"
    "2 0102 0303 0105 0707 0102\n"
    "2 0202 0000 0505 0708 0101\n"
    "2 0101 0000 0105 0808 0202\n";

TEST(HwSampleTest, OneDataSetPrintsOnesAndDrawsNothing) {
  PermRun run("hw-sample-n1");
  run.load(kTwoSamples);
  run.nb.perm_hw_sample_locus = 1;
  RunContext ctx = run.ctx();
  hw_sample_test(ctx, run.an);
  EXPECT_EQ(run.rng, Rng(12345, 67890));
  const std::string text = run.result();
  EXPECT_NE(text.find("\tbased on :     1 randomisations.\r\n"), std::string::npos);
  EXPECT_NE(text.find("\tIndicative adjusted nominal level (5%) for one table is :    0.00500\r\n"), std::string::npos);
  // Locus B: sample 2 has one typed individual.
  EXPECT_NE(text.find("\tB\t1.0000\t    NA\r\n"), std::string::npos);
  EXPECT_EQ(text.find("\t0."), std::string::npos);
  EXPECT_EQ(run.host.progress_ranges, std::vector<int64_t>{1});
}

TEST(HwSampleTest, NoCountWritesNothingAndSaysWhy) {
  PermRun run("hw-sample-n0");
  run.load(kTwoSamples);
  RunContext ctx = run.ctx();
  hw_sample_test(ctx, run.an);
  EXPECT_EQ(run.result(), "");
  EXPECT_EQ(run.rng, Rng(12345, 67890));
  EXPECT_EQ(run.host.notes.size(), 1u);
}

TEST(HwSampleTest, SameResultsWithAnyNumberOfThreads) {
  std::string first;
  Rng after;
  for (int threads : testing::kThreadCounts) {
    PermRun run("hw-sample-threads");
    run.load(testing::golden_input("permtests/hw_sample.dat"));
    run.nb.perm_hw_sample_locus = 57;
    run.threads = threads;
    const std::vector<long double> het = run.an.ct.het_allele_count;
    RunContext ctx = run.ctx();
    hw_sample_test(ctx, run.an);
    EXPECT_EQ(run.an.ct.het_allele_count, het);  // the observed tables are not touched
    EXPECT_EQ(run.host.progress_steps, 56);
    if (threads == 1) {
      first = run.result();
      after = run.rng;
      EXPECT_EQ(testing::compare_with_golden("permtests/hw_sample.out", first), "");
    } else {
      EXPECT_EQ(run.result(), first) << threads << " threads";
      EXPECT_EQ(run.rng, after) << threads << " threads";
    }
  }
}

TEST(HwSampleTest, StopAskedDuringTheWorkersEndsTheTestWithoutASection) {
  PermRun run("hw-sample-stop");
  run.load(testing::small_data(3, 4, 10, 0.0, 2));
  run.nb.perm_hw_sample_locus = 500;
  run.threads = 2;
  run.host.stop_after_steps = 40;
  RunContext ctx = run.ctx();
  EXPECT_THROW(hw_sample_test(ctx, run.an), RunCancelled);
  EXPECT_EQ(run.host.progress_ends, 1);
  EXPECT_EQ(run.result(), "");
}

}  // namespace
}  // namespace torvi
