#include "randtests/pairwise_test.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "support/perm_fixture.h"

namespace torvi {
namespace {

using testing::PermRun;
using testing::read_file;

std::string pvl(PermRun& run) { return read_file(run.dir.file("d-pp.pvl")); }

// Ten 0101 in one sample, ten 0202 in the other, all complete.
std::string two_pure_samples() {
  std::string data = "2 1 9 2\nL1\n";
  for (int i = 0; i < 10; ++i) data += "1 0101\n";
  for (int i = 0; i < 10; ++i) data += "2 0202\n";
  return data;
}

TEST(PairwiseTest, TwoPureSamplesReachTheStrictestLevelExactly) {
  // Ten 0101 against ten 0202, all complete: no permutation reaches the
  // observed G, so P = 1/1000 = 0.001/K with K = 1.
  PermRun run("pairwise-pure");
  run.load(two_pure_samples());
  run.observe();  // earlier tests leave frequencies; the test starts from the file
  run.an.ds.sample_names = {"", "popA", "popB"};
  run.nb.perm_pairwise = 1000;
  RunContext ctx = run.ctx();
  pairwise_test(ctx, run.an);
  EXPECT_EQ(pvl(run),
            "\tpopB\r\npopA\t0.00100\r\n\r\n"
            "P-values obtained after :     1000 permutations\r\n"
            "Indicative adjusted nominal level (5%) for multiple comparisons is :   0.050000\r\n\r\n"
            "\tpopB\r\npopA\t    ***\r\n");
  EXPECT_EQ(run.host.progress_ranges, std::vector<int64_t>{1000});
  EXPECT_EQ(run.result(), "");  // nothing in the result file
}

TEST(PairwiseTest, ObservedGAndCountsBeforeAnyText) {
  // Ten 0101 against ten 0202: each allele lies in one sample only, so
  // G = -20 ln(10/20) - 20 ln(10/20) = 40 ln 2; no permutation reaches it.
  PermRun run("pairwise-numbers");
  run.load(two_pure_samples());
  run.nb.perm_pairwise = 1000;
  RunContext ctx = run.ctx();
  const PairwiseTests t = compute_pairwise_tests(ctx, run.an.ds, run.an.ct);
  EXPECT_EQ(t.n, 1000);
  EXPECT_EQ(t.pairs, 1);
  EXPECT_NEAR(static_cast<double>(t.g[t.at(2, 1)]), 40 * std::log(2.0), 1e-12);
  EXPECT_EQ(t.at_least[t.at(2, 1)], 0);
  EXPECT_FALSE(std::filesystem::exists(run.dir.file("d-pp.pvl")));  // computing writes nothing
}

TEST(PairwiseTest, CountRaisedToTwentyPerPairAndNaCells) {
  // Ten samples; samples 1 and 2 identical, sample 3 has one complete individual.
  std::string data = "10 2 9 2\nL1\nL2\n";
  for (int s = 1; s <= 10; ++s)
    for (int i = 0; i < 4; ++i) {
      const int a = (s <= 2 ? 1 : s % 4 + 1), b = i % 2 + 1;
      std::string g = "0" + std::to_string(std::min(a, b)) + "0" + std::to_string(std::max(a, b));
      data += std::to_string(s) + " " + g + " " + (s == 3 && i > 0 ? "0000" : g) + "\n";
    }
  PermRun run("pairwise-ten");
  run.load(data);
  run.nb.perm_pairwise = 100;
  RunContext ctx = run.ctx();
  pairwise_test(ctx, run.an);
  const std::string text = pvl(run);
  EXPECT_NE(text.find("P-values obtained after :      900 permutations\r\n"), std::string::npos);
  EXPECT_NE(text.find("Indicative adjusted nominal level (5%) for multiple comparisons is :   0.001111\r\n"),
            std::string::npos);
  // Row of sample 1: identical to sample 2 -> NA; sample 3 -> NA.
  EXPECT_EQ(text.find("pop1\t     NA\t     NA\t"), text.find("\r\n") + 2);
  // Row 3 starts after two empty cells, and all of its cells are NA.
  EXPECT_NE(text.find("\r\npop3\t\t\t     NA\t     NA\t     NA\t     NA\t     NA\t     NA\t     NA\r\n"),
            std::string::npos);
  EXPECT_EQ(testing::compare_with_golden("permtests/pairwise.pvl", text), "");
}

TEST(PairwiseTest, SameResultsWithAnyNumberOfThreads) {
  std::string first;
  Rng after;
  std::vector<long double> counts;
  for (int threads : testing::kThreadCounts) {
    PermRun run("pairwise-threads");
    run.load(testing::small_data(4, 3, 7, 0.1, 31));
    run.nb.perm_pairwise = 150;
    run.threads = threads;
    RunContext ctx = run.ctx();
    pairwise_test(ctx, run.an);
    EXPECT_EQ(run.host.progress_ranges, std::vector<int64_t>{150 * 6});
    if (threads == 1) {
      first = pvl(run);
      after = run.rng;
      counts = run.an.ct.allele_count;
      continue;
    }
    EXPECT_EQ(pvl(run), first) << threads;
    EXPECT_EQ(run.rng, after) << threads;
    EXPECT_EQ(run.an.ct.allele_count, counts) << threads;
  }
}

TEST(PairwiseTest, StartsFromTheFileWhateverEarlierTestsLeft) {
  PermRun run("pairwise-reread");
  run.load(testing::small_data(3, 3, 6, 0.1, 13));
  const std::vector<int32_t> codes = run.an.ds.codes;
  run.an.ds.codes.assign(run.an.ds.codes.size(), 0);
  run.observe();
  RunContext ctx = run.ctx();
  pairwise_test(ctx, run.an);
  EXPECT_EQ(run.an.ds.codes, codes);
  EXPECT_NE(pvl(run).find("P-values obtained after :       60 permutations"), std::string::npos);
}

}  // namespace
}  // namespace torvi
