#include "randtests/shuffles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>


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

// Walking the complete positions only makes the same draws and exchanges as
// walking every position and skipping the incomplete ones; incomplete items
// never move.
TEST(ShuffleComplete, SameExchangesAsWalkingEveryPosition) {
  const int m = 40;
  std::vector<char> complete(m + 1, 1);
  for (int p : {1, 2, 7, 8, 9, 20, 33, 40}) complete[p] = 0;
  std::vector<int32_t> positions;
  for (int p = 1; p <= m; ++p)
    if (complete[p]) positions.push_back(p);
  std::vector<int> walked(m + 1), reference(m + 1);
  for (int p = 0; p <= m; ++p) walked[p] = reference[p] = p;
  Rng rng(99, 100), reference_rng(99, 100);
  for (int round = 0; round < 20; ++round) {
    shuffle_complete(
        positions.data(), static_cast<int>(positions.size()), [&](int p) { return complete[p] != 0; },
        [&](int a, int b) { std::swap(walked[a], walked[b]); }, rng);
    for (int j = m; j >= 2; --j) {
      if (!complete[j]) continue;
      int k;
      do k = 1 + reference_rng.rnd_int(j);
      while (!complete[k]);
      std::swap(reference[j], reference[k]);
    }
  }
  EXPECT_EQ(walked, reference);
  EXPECT_EQ(rng, reference_rng);
  for (int p = 1; p <= m; ++p) {
    if (!complete[p]) {
      EXPECT_EQ(walked[p], p);
    }
  }
}

}  // namespace
}  // namespace torvi
