#include "model/perm_counts.h"

namespace torvi {

int64_t level_count(NominalLevel level, int64_t tests, int32_t fixed_value) {
  switch (level) {
    case NominalLevel::p5_100: return 20 * tests;
    case NominalLevel::p1_100: return 100 * tests;
    case NominalLevel::p1_1000: return 1000 * tests;
    case NominalLevel::fixed: return fixed_value;
    case NominalLevel::none: break;
  }
  return 0;
}

void set_global_test_counts(const RunOptions& opt, NbPerm& nb) {
  if (opt.CB_HWW) nb.perm_hw_within = opt.SpinEdit1;
  if (opt.CB_HWO) nb.perm_hw_overall = opt.SpinEdit2;
  if (opt.RG_popdif == PopDiff::assuming_hw) nb.perm_hw_overall = opt.SpinEdit4;
  if (opt.RG_popdif == PopDiff::not_assuming_hw) nb.perm_popdiff_nohw = opt.SpinEdit3;
}

void set_hw_sample_locus_count(const RunOptions& opt, int np, int nl, NbPerm& nb) {
  nb.perm_hw_sample_locus = level_count(opt.RG_MT, static_cast<int64_t>(np) * nl, opt.SpinEdit5);
}

void set_gen_diseq_count(const RunOptions& opt, int np, int nl, NbPerm& nb) {
  int64_t pairs = static_cast<int64_t>(nl) * (nl - 1) / 2;
  int64_t tests = 0;
  if (opt.RG_GDT == LdTests::all_pairs) tests = pairs;
  if (opt.RG_GDT == LdTests::pairs_in_each_sample) tests = np * pairs;
  nb.perm_gen_diseq = level_count(opt.RG_MTG, tests, opt.SpinEdit8);
}

void set_pairwise_count(const RunOptions& opt, int np, NbPerm& nb) {
  nb.perm_pairwise = level_count(opt.RG_MT, static_cast<int64_t>(np) * (np - 1) / 2, opt.SpinEdit5);
}

}  // namespace torvi
