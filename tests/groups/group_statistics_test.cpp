#include "groups/group_statistics.h"

#include <gtest/gtest.h>

#include <cmath>

#include "groups_fixture.h"

namespace torvi {
namespace {

using testing::GroupsFixture;

constexpr int kAr = 0, kHo = 1, kHs = 2, kFis = 3, kFst = 4, kRel = 5, kRelc = 6;

// Group {1, 2}: at locus 1 both samples hold two individuals (11 12 / 22 12);
// at locus 2 sample 2 is untyped; at locus 3 each holds one typed individual.
// By hand, locus 1 gives for each allele p̄ = 0.5, s² = 0.125, h̄ = 0.5,
// n̄ = n_c = 2, so a = 0.0625, b = 0, c = 0.25; loci 2 and 3 do not enter.
const char* kThreeLoci =
    "3 3 12 2\nL1\nL2\nL3\n"
    "1 0101 0101 0102\n1 0102 0102 0000\n"
    "2 0202 0000 0202\n2 0102 0000 0000\n"
    "3 0101 0101 0101\n3 0101 0101 0101\n";

TEST(GroupStatistics, ComponentsOfTheGroupByHand) {
  GroupsFixture f(kThreeLoci);
  GroupScratch scratch(*f.samples);
  const int members[] = {1, 2};
  const GroupStats s = group_statistics(*f.samples, members, 2, true, false, scratch);
  // A = 0.125, B = 0, C = 0.5; Ho and Hs divide by all three loci.
  EXPECT_NEAR(s[kHo], 0.5L / 3, 1e-15L);
  EXPECT_NEAR(s[kHs], 0.5L / 3, 1e-15L);
  EXPECT_NEAR(s[kFis], 0.0L, 1e-15L);
  EXPECT_NEAR(s[kFst], 0.2L, 1e-15L);
  EXPECT_NEAR(s[kRel], 1.0L / 3, 1e-15L);
  EXPECT_NEAR(s[kRelc], 0.0L, 1e-15L);
}

TEST(GroupStatistics, RatiosFallBackToZeroWithoutVariance) {
  // Every sample fixed for allele 1: no component, every ratio 0.
  GroupsFixture f("3 1 2 1\nL1\n1 11\n1 11\n2 11\n2 11\n3 11\n3 11\n");
  GroupScratch scratch(*f.samples);
  const int members[] = {1, 3};
  const GroupStats s = group_statistics(*f.samples, members, 2, true, true, scratch);
  for (int i = kHo; i <= kRelc; ++i) EXPECT_EQ(s[i], 0.0L) << i;
  EXPECT_EQ(s[kAr], 1.0L);  // one allele, fixed: drawn for sure
}

TEST(GroupStatistics, RarefactionByHand) {
  // Two copies of each of two alleles among 4 genes, 2 drawn: each allele is
  // missed with probability C(2,2) / C(4,2) = 1/6.
  const long double half[] = {0.5L, 0.5L};
  EXPECT_NEAR(rarefied_richness(half, 2, 2, 2), 2.0L * (1 - 1.0L / 6), 1e-15L);
  // Drawing every gene finds every allele present, and an absent one adds 0.
  const long double three[] = {0.25L, 0.0L, 0.75L};
  EXPECT_NEAR(rarefied_richness(three, 3, 2, 4), 2.0L, 1e-15L);
  // An allele fixed in the sample adds 1.
  const long double fixed_one[] = {1.0L};
  EXPECT_EQ(rarefied_richness(fixed_one, 1, 5, 6), 1.0L);
}

TEST(GroupStatistics, RichnessIsTheMeanOverLociAndMembers) {
  // Equal sample sizes: each sample's richness is its number of alleles.
  GroupsFixture f("3 2 3 1\nA\nB\n1 12 11\n1 11 11\n2 11 13\n2 11 23\n3 33 11\n3 33 11\n");
  ASSERT_TRUE(f.samples->has_richness());
  GroupScratch scratch(*f.samples);
  const int members[] = {1, 2};
  const GroupStats s = group_statistics(*f.samples, members, 2, false, true, scratch);
  EXPECT_NEAR(s[kAr], (2.0L + 1 + 1 + 3) / 4, 1e-15L);
}

TEST(GroupStatistics, NoRichnessWhenSomeSampleIsUntypedAtSomeLocus) {
  GroupsFixture f(kThreeLoci);
  EXPECT_FALSE(f.samples->has_richness());
}

TEST(GroupTestValue, OneSidedDifferenceOrSumOfSquaredDifferences) {
  GroupStats g[3]{};
  g[0][kFst] = 0.5L;
  g[1][kFst] = 0.2L;
  g[2][kFst] = 0.1L;
  EXPECT_NEAR(group_test_value(g, 2, GroupStatistic::fst, true), 0.3L, 1e-18L);
  EXPECT_NEAR(group_test_value(g, 2, GroupStatistic::fst, false), 0.09L, 1e-18L);
  EXPECT_NEAR(group_test_value(g, 3, GroupStatistic::fst, false), 0.09L + 0.16L + 0.01L, 1e-18L);
  EXPECT_EQ(group_test_value(g, 3, GroupStatistic::ho, false), 0.0L);
}

}  // namespace
}  // namespace torvi
