#include "ld/genotypes.h"

#include <gtest/gtest.h>

#include "support/ld_fixture.h"

namespace torvi::testing {
namespace {

TEST(LdGenotypes, TwoAllelesGiveIndicesThreeFourSix) {
  EXPECT_EQ(ld_genotype_index(1, 1, 2), 3);
  EXPECT_EQ(ld_genotype_index(1, 2, 2), 4);
  EXPECT_EQ(ld_genotype_index(2, 1, 2), 4);
  EXPECT_EQ(ld_genotype_index(2, 2, 2), 6);

  Analysis an;
  fill(an, {{"A", "B"}, {"s1", "s2"}, {{1, 202, 101}, {1, 101, 101}, {2, 102, 102}, {2, 202, 0}, {2, 101, 100}}});
  LdGenotypes lg(an.ds, *an.alleles);
  // Allele 2 appears first at A, so it takes index 1 there.
  EXPECT_EQ(lg.allele_id(1, 1), 2);
  EXPECT_EQ(lg.allele_id(1, 2), 1);
  EXPECT_EQ(lg.n_genotypes(1, 1), 2);
  EXPECT_EQ(lg.present_genotype(1, 1, 1), 3);  // 22 = 1/1
  EXPECT_EQ(lg.present_genotype(1, 1, 2), 6);  // 11 = 2/2
  EXPECT_EQ(lg.n_genotypes(2, 1), 3);
  EXPECT_EQ(lg.present_genotype(2, 1, 2), 4);
  int i, j;
  lg.alleles_of(1, 4, i, j);
  EXPECT_EQ(i, 1);
  EXPECT_EQ(j, 2);
  // Sample 2 at B: a half-typed code counts as untyped.
  EXPECT_EQ(lg.n_genotypes(2, 2), 1);
  EXPECT_EQ(lg.sample_size(2), 3);
  const int32_t* b = lg.positions(2, 2);
  EXPECT_EQ(b[1], 1);
  EXPECT_EQ(b[2], 0);
  EXPECT_EQ(b[3], 0);
}

TEST(LdGenotypes, CompactCodesFollowGenotypeOrder) {
  // Alleles 3, 7, 5, 9 in order of appearance (the first allele of a code
  // before the second); k = 4.
  Analysis an;
  fill(an, {{"A"}, {"s1", "s2"}, {{1, 307}, {1, 505}, {2, 303}, {2, 909}, {1, 307}, {1, 305}}});
  LdGenotypes lg(an.ds, *an.alleles);
  EXPECT_EQ(lg.alleles_at_locus(1), 4);
  // 37 = indices 1/2 (6), 35 = 1/3 (7), 55 = 3/3 (15).
  ASSERT_EQ(lg.n_genotypes(1, 1), 3);
  EXPECT_EQ(lg.present_genotype(1, 1, 1), 6);
  EXPECT_EQ(lg.present_genotype(1, 1, 2), 7);
  EXPECT_EQ(lg.present_genotype(1, 1, 3), 15);
  const int32_t* a = lg.positions(1, 1);
  EXPECT_EQ(a[1], 1);
  EXPECT_EQ(a[2], 3);
  EXPECT_EQ(a[3], 1);
  EXPECT_EQ(a[4], 2);
  EXPECT_EQ(lg.largest_sample(), 4);
}

}  // namespace
}  // namespace torvi::testing
