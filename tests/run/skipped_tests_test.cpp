#include "run/skipped_tests.h"

#include <gtest/gtest.h>

namespace torvi {
namespace {

using Kind = SkippedTest::Test;
using Reason = SkippedTest::Reason;

// The overall randomisation of alleles runs once for both of its tests, with
// the differentiation test's count when that test is chosen.
TEST(SkippedTests, OverallTestIsJudgedByTheCountItRunsWith) {
  RunOptions o;
  o.CB_HWO = true;
  o.SpinEdit2 = 150;
  EXPECT_EQ(skipped_tests(o), (std::vector<SkippedTest>{{Kind::hw_overall, Reason::too_few, 150, 200}}));
  o.RG_popdif = PopDiff::assuming_hw;
  o.SpinEdit4 = 1000;
  EXPECT_TRUE(skipped_tests(o).empty());
  o.SpinEdit2 = 5000;
  o.SpinEdit4 = 199;
  EXPECT_EQ(skipped_tests(o), (std::vector<SkippedTest>{{Kind::popdiff_assuming_hw, Reason::too_few, 199, 200}}));
  o.RG_popdif = PopDiff::not_assuming_hw;
  o.SpinEdit3 = 2;
  EXPECT_TRUE(skipped_tests(o).empty());
}

TEST(SkippedTests, LevelsAndFixedCountsOfTheMultipleTests) {
  RunOptions o;
  o.CB_IFis = true;
  o.RG_GDT = LdTests::all_pairs;
  EXPECT_EQ(skipped_tests(o), (std::vector<SkippedTest>{{Kind::hw_per_sample, Reason::no_level},
                                                        {Kind::ld_tests, Reason::no_level}}));
  o.RG_MT = o.RG_MTG = NominalLevel::fixed;
  o.SpinEdit5 = 0;
  EXPECT_EQ(skipped_tests(o), (std::vector<SkippedTest>{{Kind::hw_per_sample, Reason::no_fixed_count}}));
  o.RG_MT = NominalLevel::p1_1000;  // the count comes from the number of tests
  EXPECT_TRUE(skipped_tests(o).empty());
}

// The samples and loci the Options menu keeps decide, not the file's counts.
TEST(SkippedTests, ShapeAfterTheSamplesAndLociChosen) {
  RunOptions o;
  o.CB_PPFst = true;
  o.RG_GDT = LdTests::all_pairs;
  Selection all;
  all.reset(3, 2);
  EXPECT_TRUE(skipped_tests(o, all, 3, 2).empty());
  Selection one = all;
  one.samples_checked = one.loci_checked = true;
  one.sample_selected = {1, 0, 1, 0};
  one.locus_selected = {1, 1, 0};
  EXPECT_EQ(skipped_tests(o, one, 3, 2), (std::vector<SkippedTest>{{Kind::pairwise, Reason::one_sample},
                                                                    {Kind::ld_tests, Reason::one_locus}}));
  one.samples_checked = one.loci_checked = false;  // the choice counts only while its item is checked
  EXPECT_TRUE(skipped_tests(o, one, 3, 2).empty());
}

}  // namespace
}  // namespace torvi
