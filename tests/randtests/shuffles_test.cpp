#include "randtests/shuffles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "stats/analysis_fixture.h"

namespace torvi {
namespace {

TEST(ShuffleAlleles, TwoCopiesTakeOneDraw) {
  for (int32_t s1 : {1, 2, 3, 4, 5, 6, 7, 8}) {
    Rng rng(s1, 777), probe = rng;
    const int j = 1 + probe.rnd_int(2);
    std::vector<int32_t> list{10, 20};
    shuffle_alleles(list.data(), 2, rng);
    EXPECT_EQ(rng, probe);
    EXPECT_EQ(list, (j == 1 ? std::vector<int32_t>{20, 10} : std::vector<int32_t>{10, 20}));
  }
}

TEST(ShuffleAlleles, ListFromCountsAndHeterozygousPairs) {
  const int32_t counts[] = {2, 0, 3, 1};
  std::vector<int32_t> list = allele_list_buffer(6);
  ASSERT_EQ(build_allele_list(counts, 4, list.data()), 6);
  list.resize(6);
  EXPECT_EQ(list, (std::vector<int32_t>{0, 0, 2, 2, 2, 3}));
  long double het[4] = {9, 9, 9, 9};
  count_het_pairs(list.data(), 6, 4, het);  // pairs 0/0, 2/2, 2/3
  EXPECT_EQ(het[0], 0);
  EXPECT_EQ(het[2], 1);
  EXPECT_EQ(het[3], 1);

  Rng rng(5, 6);
  std::vector<int32_t> shuffled = list;
  shuffle_alleles(shuffled.data(), 6, rng);
  EXPECT_EQ(rng, Rng(5, 6).jumped(5));
  std::sort(shuffled.begin(), shuffled.end());
  EXPECT_EQ(shuffled, list);
}

TEST(ShuffleAlleles, ListsOfLongRunsAndConsecutiveRowsStayExact) {
  // Counts beyond the block written at once, zeros between, and two rows
  // appended one after the other as the pooled list builds them.
  const int32_t first[] = {11, 0, 1, 9};
  const int32_t second[] = {0, 17};
  std::vector<int32_t> list = allele_list_buffer(21 + 17);
  const int m = build_allele_list(first, 4, list.data());
  ASSERT_EQ(m, 21);
  ASSERT_EQ(build_allele_list(second, 2, list.data() + m), 17);
  std::vector<int32_t> expected(11, 0);
  expected.push_back(2);
  expected.insert(expected.end(), 9, 3);
  expected.insert(expected.end(), 17, 1);
  list.resize(38);
  EXPECT_EQ(list, expected);
}

TEST(ShuffleGenotypes, IncompleteIndividualsStayAndSamplesKeepTheirPlaces) {
  using testing::Individual;
  std::vector<Individual> inds;
  for (int i = 0; i < 12; ++i) inds.push_back({1 + i % 3, {{1 + i, 1 + i}, {2 + i, 3 + i}}});
  inds[4].alleles[1] = {0, 0};
  inds[9].alleles[0] = {0, 0};
  Analysis an = testing::make_analysis(3, 2, inds);
  DataSet& ds = an.ds;
  ds.missing_count.assign(ds.ni + 1, 0);
  ds.missing_count[5] = ds.missing_count[10] = 1;
  const DataSet before = ds;
  Rng rng(99, 100);
  for (int round = 0; round < 20; ++round) shuffle_genotypes(ds, ds.ni, rng);
  EXPECT_EQ(ds.sample_of, before.sample_of);
  for (int i : {5, 10})
    EXPECT_TRUE(std::equal(ds.genotypes_of(i), ds.genotypes_of(i) + 2, before.genotypes_of(i)));
  EXPECT_NE(ds.codes, before.codes);
  // Whole multilocus genotypes move together.
  for (int i = 1; i <= ds.ni; ++i) {
    if (ds.missing_count[i] == 0) {
      EXPECT_EQ(ds.geno(2, i) / 1000 - 1, ds.geno(1, i) / 1000);
    }
  }
}

}  // namespace
}  // namespace torvi
