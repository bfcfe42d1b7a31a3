#include "stats/pairwise_fst.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>

#include "report/report_text.h"
#include "stats/pair_components.h"
#include "stats/wc_components.h"
#include "support/analysis_fixture.h"
#include "support/golden.h"

namespace torvi {
namespace {

using namespace torvi::testing;

// Three samples at two loci; sample 3 has a single typed individual at locus 2.
std::vector<Individual> three_samples() {
  return {
      {1, {{1, 2}, {5, 5}}}, {1, {{1, 1}, {5, 7}}}, {1, {{2, 2}, {7, 7}}}, {1, {{1, 2}, {5, 5}}},
      {2, {{2, 2}, {7, 9}}}, {2, {{3, 3}, {9, 9}}}, {2, {{2, 3}, {5, 9}}}, {2, {{2, 2}, {7, 7}}},
      {2, {{1, 3}, {9, 9}}}, {3, {{1, 1}, {5, 9}}}, {3, {{1, 3}, {0, 0}}}, {3, {{3, 3}, {0, 0}}},
  };
}

TEST(PairwiseFst, MatFileHasTwoLowerTriangles) {
  Analysis an = make_analysis(3, 2, three_samples());
  wc_components(an.ct, an.wc, 1, 3, TablesOf::observed);
  SectionRun run("fst_mat");
  an.base_name = run.base();
  pairwise_fst(an);
  std::vector<std::string> lines = lines_of(SectionRun::read(run.base() + ".mat"));
  ASSERT_EQ(lines.size(), 6u);
  const std::string v = "\t *-?\\d+\\.\\d{4}";
  for (int block : {0, 3}) {
    EXPECT_EQ(lines[block], "\t");
    EXPECT_TRUE(std::regex_match(lines[block + 1], std::regex(v + "\t"))) << lines[block + 1];
    EXPECT_TRUE(std::regex_match(lines[block + 2], std::regex(v + v + "\t"))) << lines[block + 2];
  }
}

TEST(PairwiseFst, ThetaOfEachPairIsTheTwoSampleEstimate) {
  Analysis an = make_analysis(3, 2, three_samples());
  wc_components(an.ct, an.wc, 1, 3, TablesOf::observed);
  SectionRun run("fst_theta");
  an.base_name = run.base();
  pairwise_fst(an, 2);

  // Samples 1 and 2 alone, through the variance-component engine (their
  // alleles all lie well inside its frequency filter).
  std::vector<Individual> pair = three_samples();
  pair.resize(9);
  Analysis two = make_analysis(2, 2, pair);
  wc_components(two.ct, two.wc, 1, 2, TablesOf::observed);
  const std::string theta = fixed(two.wc.wc_theta, 7, 4);

  // Sample 3 qualifies at locus 1 only.
  const std::string fst = SectionRun::read(run.base() + ".fst");
  std::vector<std::string> lines = lines_of(fst);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].substr(0, 16), "\t 0.0000\t" + theta);
  EXPECT_EQ(lines[1].substr(0, 16), "\t" + theta + "\t 0.0000");
  EXPECT_EQ(lines[2].substr(16), "\t 0.0000");
}

TEST(PairwiseFst, SampleWithOneTypedIndividualEverywhereIsNA) {
  std::vector<Individual> inds = three_samples();
  inds.resize(10);  // sample 3: one individual
  Analysis an = make_analysis(3, 2, inds);
  wc_components(an.ct, an.wc, 1, 3, TablesOf::observed);
  SectionRun run("fst_na");
  an.base_name = run.base();
  pairwise_fst(an);
  std::vector<std::string> fst = lines_of(SectionRun::read(run.base() + ".fst"));
  EXPECT_EQ(fst[0].substr(16), "\t     NA");
  EXPECT_EQ(fst[2], "\t     NA\t     NA\t 0.0000");
  std::vector<std::string> mat = lines_of(SectionRun::read(run.base() + ".mat"));
  EXPECT_EQ(mat[2], "\t 0.0000\t 0.0000\t");
  EXPECT_EQ(mat[5], "\t 0.0000\t 0.0000\t");
}

// The tabulated parts must give the direct formulas' sums to the last bit,
// whichever sample of a pair is the larger (tables keep the smaller first).
TEST(PairComponents, TablesGiveTheDirectSums) {
  std::mt19937 gen(9);
  std::vector<Individual> inds;
  for (int s = 1; s <= 6; ++s)
    for (int i = 0; i < 3 + 2 * s; ++i) {
      Individual ind{s, {}};
      for (int l = 0; l < 4; ++l) {
        const int a = 1 + static_cast<int>(gen() % 5), b = 1 + static_cast<int>(gen() % 5);
        ind.alleles.push_back(gen() % 9 == 0 ? std::pair{0, 0} : std::pair{std::min(a, b), std::max(a, b)});
      }
      inds.push_back(ind);
    }
  Analysis an = make_analysis(6, 4, inds);
  wc_components(an.ct, an.wc, 1, 6, TablesOf::observed);
  const PairComponents tabulated(an.ct), direct(an.ct, false);
  for (int s = 1; s <= 6; ++s)
    for (int t = 1; t <= 6; ++t) {
      if (s == t) continue;
      const PairSums a = tabulated.sums(s, t), b = direct.sums(s, t);
      EXPECT_EQ(a.tot, b.tot) << s << "," << t;
      EXPECT_EQ(a.sa, b.sa) << s << "," << t;
      EXPECT_NE(a.tot, 0.0L);
    }
}

// Pairs are shared among the threads: the files must not depend on how.
// Nine samples (36 pairs) of uneven sizes, some untyped or single at a locus.
TEST(PairwiseFst, SameFilesWithAnyNumberOfThreads) {
  std::mt19937 gen(5);
  std::vector<Individual> inds;
  for (int s = 1; s <= 9; ++s)
    for (int i = 0; i < 2 + s % 4; ++i) {
      Individual ind{s, {}};
      for (int l = 0; l < 3; ++l) {
        const int a = 1 + static_cast<int>(gen() % 4), b = 1 + static_cast<int>(gen() % 4);
        ind.alleles.push_back(gen() % 7 == 0 ? std::pair{0, 0} : std::pair{std::min(a, b), std::max(a, b)});
      }
      inds.push_back(ind);
    }
  std::string mat, fst;
  for (int threads : kThreadCounts) {
    Analysis an = make_analysis(9, 3, inds);
    wc_components(an.ct, an.wc, 1, 9, TablesOf::observed);
    SectionRun run("fst_threads");
    an.base_name = run.base();
    pairwise_fst(an, threads);
    if (threads == 1) {
      mat = SectionRun::read(run.base() + ".mat");
      fst = SectionRun::read(run.base() + ".fst");
      EXPECT_EQ(lines_of(fst).size(), 9u);
      continue;
    }
    EXPECT_EQ(SectionRun::read(run.base() + ".mat"), mat) << threads;
    EXPECT_EQ(SectionRun::read(run.base() + ".fst"), fst) << threads;
  }
}

}  // namespace
}  // namespace torvi
