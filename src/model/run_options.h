#pragma once

#include <cstdint>

namespace torvi {

// Items of the "Nominal level for multiple tests" radio groups.
enum class NominalLevel { none = -1, p5_100 = 0, p1_100 = 1, p1_1000 = 2, fixed = 3 };
// Items of "Population differentiation".
enum class PopDiff { no_test = 0, not_assuming_hw = 1, assuming_hw = 2 };
// Items of "Tests of Genotypic Disequilibrium".
enum class LdTests { no_tests = 0, all_pairs = 1, pairs_in_each_sample = 2 };

// The options of a Run: one field per control of the main window's first
// page, named after the control, with the control's initial state. Filled by
// the command line or by the desktop program when Run is pressed.
struct RunOptions {
  // Per locus and sample statistics
  bool CB_allfreq = true;     // "Allele frequencies"
  bool CB_genotfreq = false;  // "Genotypic frequencies"
  bool CB_nal = true;         // "Number of alleles"
  bool CB_Rar = false;        // "Allelic richness"
  bool CB_genediv = true;     // "Gene diversity"
  bool CB_fis = false;        // "Fis "
  // Global statistics
  bool CB_nei = true;         // Nei's F-statistics
  bool CB_WC = true;          // Weir and Cockerham's F-statistics
  bool CB_Rst = false;        // "Rho_st"
  bool CB_Fstpp = false;      // "Fst per pair of samples"
  // Global tests
  bool CB_HWW = false;        // "Hardy Weinberg within samples"
  int32_t SpinEdit1 = 0;      // its permutations
  bool CB_HWO = false;        // "Hardy Weinberg overall samples"
  int32_t SpinEdit2 = 0;      // its permutations
  PopDiff RG_popdif = PopDiff::no_test;
  int32_t SpinEdit3 = 0;      // permutations, "Test NOT assuming HW within samples "
  int32_t SpinEdit4 = 0;      // permutations, "Test assuming HW within samples"
  // Testing
  bool CB_IFis = false;       // "HW tests per locus and sample "
  NominalLevel RG_MT = NominalLevel::none;
  bool CB_PPFst = false;      // "Pairwise tests of differentiation"
  int32_t SpinEdit5 = 1000;   // "# of permutations" for "fixed #"
  // Genotypic disequilibrium
  bool CB_dp = false;         // "Delta' (average per pair of loci)"
  bool CB_r = false;          // "R^2 (average per pair of loci)"
  bool CB_details = false;    // "Detail results per pair of alleles"
  bool CB_Savetables = false; // "Save Contingency Tables"
  LdTests RG_GDT = LdTests::no_tests;
  NominalLevel RG_MTG = NominalLevel::none;
  int32_t SpinEdit8 = 1000;   // "# of permutations" for "fixed #"
  // Beside Run
  bool CB_json = false;       // "Also write a JSON file"

  // Check mark of the Options menu item "Label file for pops".
  bool label_file_checked = false;
};

}  // namespace torvi
