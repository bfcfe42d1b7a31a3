#include "run/skipped_tests.h"

namespace torvi {

namespace {

using Test = SkippedTest::Test;
using Reason = SkippedTest::Reason;

bool overall_test_asked(const RunOptions& o) { return o.CB_HWO || o.RG_popdif == PopDiff::assuming_hw; }

// The overall test is run once for both choices; the differentiation test's
// count wins.
Test overall_test(const RunOptions& o) {
  return o.RG_popdif == PopDiff::assuming_hw ? Test::popdiff_assuming_hw : Test::hw_overall;
}
int32_t overall_count(const RunOptions& o) { return o.RG_popdif == PopDiff::assuming_hw ? o.SpinEdit4 : o.SpinEdit2; }

// A family of tests whose count comes from a nominal level.
void level_skips(Test test, NominalLevel level, int32_t fixed_count, std::vector<SkippedTest>& out) {
  if (level == NominalLevel::none) out.push_back({test, Reason::no_level});
  if (level == NominalLevel::fixed && fixed_count <= 0) out.push_back({test, Reason::no_fixed_count, fixed_count});
}

void count_skip(Test test, int32_t asked, int32_t needed, std::vector<SkippedTest>& out) {
  if (asked < needed) out.push_back({test, Reason::too_few, asked, needed});
}

int kept(bool checked, bool (Selection::*kept_one)(int) const, const Selection& selection, int count) {
  if (!checked) return count;
  int n = 0;
  for (int i = 1; i <= count; ++i) n += (selection.*kept_one)(i);
  return n;
}

}  // namespace

std::vector<SkippedTest> skipped_tests(const RunOptions& o) {
  std::vector<SkippedTest> out;
  if (o.CB_IFis) level_skips(Test::hw_per_sample, o.RG_MT, o.SpinEdit5, out);
  if (o.RG_GDT != LdTests::no_tests) level_skips(Test::ld_tests, o.RG_MTG, o.SpinEdit8, out);
  if (o.CB_HWW) count_skip(Test::hw_within, o.SpinEdit1, kGlobalTestMinimum, out);
  if (overall_test_asked(o)) count_skip(overall_test(o), overall_count(o), kGlobalTestMinimum, out);
  if (o.RG_popdif == PopDiff::not_assuming_hw)
    count_skip(Test::popdiff_not_assuming_hw, o.SpinEdit3, kNoHwTestMinimum, out);
  return out;
}

std::vector<SkippedTest> skipped_tests(const RunOptions& o, const Selection& selection, int file_np, int file_nl) {
  const int np = kept(selection.samples_checked, &Selection::sample_kept, selection, file_np);
  const int nl = kept(selection.loci_checked, &Selection::locus_kept, selection, file_nl);
  std::vector<SkippedTest> out;
  if (np < 2) {
    if (o.CB_HWW) out.push_back({Test::hw_within, Reason::one_sample});
    if (overall_test_asked(o)) out.push_back({Test::hw_overall, Reason::one_sample});
    if (o.RG_popdif == PopDiff::not_assuming_hw) out.push_back({Test::popdiff_not_assuming_hw, Reason::one_sample});
    if (o.CB_PPFst) out.push_back({Test::pairwise, Reason::one_sample});
  }
  if (nl < 2 && o.RG_GDT != LdTests::no_tests) out.push_back({Test::ld_tests, Reason::one_locus});
  return out;
}

}  // namespace torvi
