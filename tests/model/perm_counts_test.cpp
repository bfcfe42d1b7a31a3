#include "model/perm_counts.h"

#include <gtest/gtest.h>

namespace torvi {
namespace {

TEST(PermCounts, NominalLevelsDivideTheNumberOfTests) {
  RunOptions o;
  NbPerm nb;
  o.RG_MT = NominalLevel::p1_100;
  set_hw_sample_locus_count(o, 10, 20, nb);
  EXPECT_EQ(nb.perm_hw_sample_locus, 20000);
  set_pairwise_count(o, 10, nb);
  EXPECT_EQ(nb.perm_pairwise, 4500);

  o.RG_GDT = LdTests::all_pairs;
  o.RG_MTG = NominalLevel::p5_100;
  set_gen_diseq_count(o, 10, 20, nb);
  EXPECT_EQ(nb.perm_gen_diseq, 3800);
  o.RG_GDT = LdTests::pairs_in_each_sample;
  o.RG_MTG = NominalLevel::p1_1000;
  set_gen_diseq_count(o, 3, 4, nb);
  EXPECT_EQ(nb.perm_gen_diseq, 1000 * 3 * 6);
}

TEST(PermCounts, FixedAndNoChoice) {
  RunOptions o;
  NbPerm nb;
  o.RG_MT = NominalLevel::fixed;
  o.SpinEdit5 = 777;
  set_hw_sample_locus_count(o, 10, 20, nb);
  EXPECT_EQ(nb.perm_hw_sample_locus, 777);
  o.RG_MT = NominalLevel::none;
  set_pairwise_count(o, 10, nb);
  EXPECT_EQ(nb.perm_pairwise, 0);
  // "fixed #" takes its spin edit whatever the test choice says.
  o.RG_GDT = LdTests::no_tests;
  o.RG_MTG = NominalLevel::fixed;
  o.SpinEdit8 = 300;
  set_gen_diseq_count(o, 10, 20, nb);
  EXPECT_EQ(nb.perm_gen_diseq, 300);
  o.RG_MTG = NominalLevel::p5_100;
  set_gen_diseq_count(o, 10, 20, nb);
  EXPECT_EQ(nb.perm_gen_diseq, 0);
}

TEST(PermCounts, GlobalTestsAndTheSharedOverallCount) {
  RunOptions o;
  NbPerm nb;
  nb.perm_hw_within = 5;  // not ticked: keeps its previous value
  o.CB_HWO = true;
  o.SpinEdit2 = 300;
  o.SpinEdit4 = 900;
  o.RG_popdif = PopDiff::assuming_hw;
  set_global_test_counts(o, nb);
  EXPECT_EQ(nb.perm_hw_within, 5);
  EXPECT_EQ(nb.perm_hw_overall, 900);
  o.RG_popdif = PopDiff::not_assuming_hw;
  o.SpinEdit3 = 400;
  set_global_test_counts(o, nb);
  EXPECT_EQ(nb.perm_hw_overall, 300);
  EXPECT_EQ(nb.perm_popdiff_nohw, 400);
}

}  // namespace
}  // namespace torvi
