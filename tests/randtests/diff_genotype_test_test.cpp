#include "randtests/diff_genotype_test.h"

#include <gtest/gtest.h>

#include "support/perm_fixture.h"

namespace torvi {
namespace {

using testing::PermRun;

TEST(DiffGenotypeTest, PermutesCompleteGenotypesOnly) {
  PermRun run("diff-genotype");
  run.load(testing::golden_input("permtests/diff_genotype.dat"));
  run.observe();
  run.nb.perm_popdiff_nohw = 300;
  const DataSet before = run.an.ds;
  RunContext ctx = run.ctx();
  diff_genotype_test(ctx, run.an);
  const DataSet& ds = run.an.ds;
  EXPECT_EQ(ds.sample_of, before.sample_of);
  for (int i = 1; i <= ds.ni; ++i) {
    if (ds.missing_count[i] != 0) {
      EXPECT_TRUE(std::equal(ds.genotypes_of(i), ds.genotypes_of(i) + ds.nl, before.genotypes_of(i)));
    }
  }
  EXPECT_NE(ds.codes, before.codes);
  EXPECT_EQ(run.host.progress_steps, 299);
  EXPECT_EQ(testing::compare_with_golden("permtests/diff_genotype.out", run.result()), "");
}

TEST(DiffGenotypeTest, SameResultsAndLastTablesWithAnyNumberOfThreads) {
  struct Outcome {
    std::string text;
    Rng rng;
    std::vector<int32_t> codes;
    std::vector<long double> alleles, g_locus;
  };
  auto run_with = [](int threads) {
    PermRun run("diff-genotype-threads");
    run.load(testing::small_data(4, 5, 9, 0.05, 17));
    run.observe();
    run.nb.perm_popdiff_nohw = 203;
    run.threads = threads;
    RunContext ctx = run.ctx();
    diff_genotype_test(ctx, run.an);
    return Outcome{run.result(), run.rng, run.an.ds.codes, run.an.ct.allele_count, run.an.g.g_locus};
  };
  const Outcome one = run_with(1);
  for (int threads : {2, 3, 7}) {
    const Outcome other = run_with(threads);
    EXPECT_EQ(other.text, one.text) << threads;
    EXPECT_EQ(other.rng, one.rng) << threads;
    EXPECT_EQ(other.codes, one.codes) << threads;
    EXPECT_EQ(other.alleles, one.alleles) << threads;
    EXPECT_EQ(other.g_locus, one.g_locus) << threads;
  }
}

TEST(DiffGenotypeTest, TooFewCompleteGenotypes) {
  // Every individual misses one locus.
  PermRun run("diff-genotype-none");
  run.load("2 2 9 2\nA\nB\n1 0101 0000\n1 0000 0202\n2 0102 0000\n2 0000 0102\n");
  run.observe();
  run.nb.perm_popdiff_nohw = 50;
  RunContext ctx = run.ctx();
  diff_genotype_test(ctx, run.an);
  EXPECT_EQ(run.result(),
            "\r\n************************************************\r\n\tRandomising genotypes among samples.\r\n\r\n"
            "\ttest based on :    50 randomisations.\r\n\r\n"
            "\ttesting for population differentiation,\r\n\tNOT ASSUMING RANDOM MATING within samples.\r\n"
            "\tStatistic used is the log-likelihood G (Varendt et al, 1996)\r\n\r\n\r\n"
            "\tNumber of complete multilocus genotypes in the different samples: \r\n\t\t0\t0\r\n\r\n"
            "\tnot enough complete genotypes (less than 2!) to perform this test\r\n");
  EXPECT_EQ(run.rng, Rng(12345, 67890));
}

TEST(DiffGenotypeTest, TwoDataSetsGiveHalves) {
  PermRun run("diff-genotype-two");
  run.load(testing::small_data(2, 2, 6, 0, 9));
  run.observe();
  run.nb.perm_popdiff_nohw = 2;
  RunContext ctx = run.ctx();
  diff_genotype_test(ctx, run.an);
  const std::string text = run.result();
  size_t lines = 0;
  for (size_t at = text.find("Prop rand."); at != std::string::npos; at = text.find("Prop rand.", at + 1)) {
    ++lines;
    const size_t tab = text.find('\t', at);
    const std::string value = text.substr(tab + 1, 10);
    EXPECT_TRUE(value == "   0.50000" || value == "   1.00000" || value == "   0.00000") << value;
  }
  EXPECT_EQ(lines, 3u);

  PermRun none("diff-genotype-one");
  none.load(testing::small_data(2, 2, 6, 0, 9));
  none.observe();
  none.nb.perm_popdiff_nohw = 1;
  RunContext ctx1 = none.ctx();
  diff_genotype_test(ctx1, none.an);
  EXPECT_EQ(none.result(), "");
}

}  // namespace
}  // namespace torvi
