#include "dispersal/set_statistics.h"

#include <gtest/gtest.h>

#include "dispersal/observed_pass.h"
#include "dispersal/set_fixture.h"

namespace torvi::dispersal {
namespace {

using torvi::testing::set_of;

// Sample 1: 11 12 22 12; sample 2: 11 11 12. Worked out by hand in exact
// fractions: A = 1/30, B = 11/210, C = 3/7.
const std::vector<std::string> kOneLocus = {"1 0101", "1 0102", "1 0202", "1 0102", "2 0101", "2 0101", "2 0102"};
constexpr long double kFst = 7.0L / 108, kFis = 11.0L / 101, kRel = 1.0L / 9, kHo = 3.0L / 7, kHs = 101.0L / 210;
// The per-locus values are held in single precision.
constexpr long double kSingle = 1e-6L;

TEST(SetStatistics, WeirCockerhamComponentsOfAHandWorkedSet) {
  const SetStatistics s = statistics_of(set_of(2, 1, kOneLocus));
  EXPECT_NEAR(*s.fst, kFst, kSingle);
  EXPECT_NEAR(*s.fis, kFis, kSingle);
  EXPECT_NEAR(*s.rel, kRel, kSingle);
  EXPECT_NEAR(*s.ho, kHo, kSingle);
  EXPECT_NEAR(*s.hs, kHs, kSingle);
}

TEST(SetStatistics, LociOutsideTheSumsStillCountInHoAndHs) {
  // Locus 2 is typed in one sample only, locus 3 holds one individual in
  // each typed sample (a and b would divide by zero), locus 4 is fixed.
  std::vector<std::string> records = {"1 0101 0304 0506 0707", "1 0102 0303 0000 0707", "1 0202 0000 0000 0707",
                                      "1 0102 0000 0000 0707", "2 0101 0000 0505 0707", "2 0101 0000 0000 0707",
                                      "2 0102 0000 0000 0707"};
  const SetStatistics s = statistics_of(set_of(2, 4, records));
  EXPECT_NEAR(*s.fst, kFst, kSingle);
  EXPECT_NEAR(*s.fis, kFis, kSingle);
  EXPECT_NEAR(*s.rel, kRel, kSingle);
  EXPECT_NEAR(*s.ho, kHo / 4, kSingle);
  EXPECT_NEAR(*s.hs, kHs / 4, kSingle);
}

TEST(SetStatistics, RatiosWithoutDenominatorAreNotDefined) {
  // Only fixed loci: every sum is 0.
  const SetStatistics fixed_only = statistics_of(set_of(2, 1, {"1 0303", "1 0303", "2 0303"}));
  EXPECT_FALSE(fixed_only.fst);
  EXPECT_FALSE(fixed_only.fis);
  EXPECT_FALSE(fixed_only.rel);
  EXPECT_EQ(*fixed_only.ho, 0);
  EXPECT_EQ(*fixed_only.hs, 0);
  // A set without individuals.
  const SetStatistics empty = statistics_of(set_of(3, 2, {}));
  EXPECT_FALSE(empty.fst);
  EXPECT_EQ(*empty.ho, 0);
}

TEST(SetStatistics, OrderOfIndividualsDoesNotMatter) {
  std::vector<std::string> reversed(kOneLocus.begin(), kOneLocus.begin() + 4);
  std::reverse(reversed.begin(), reversed.end());
  reversed.insert(reversed.end(), kOneLocus.begin() + 4, kOneLocus.end());
  const SetStatistics a = statistics_of(set_of(2, 1, kOneLocus)), b = statistics_of(set_of(2, 1, reversed));
  EXPECT_EQ(*a.fst, *b.fst);
  EXPECT_EQ(*a.rel, *b.rel);
}

}  // namespace
}  // namespace torvi::dispersal
