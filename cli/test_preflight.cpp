#include "cli/test_preflight.h"

namespace torvi::cli {

namespace {

constexpr int kGlobalTestMin = 200;  // randomisations the global tests need
constexpr int kNoHwTestMin = 2;      // genotype randomisations among samples

const char* const kHwSample = "HW tests per locus and sample (--hw-per-sample)";
const char* const kLdTests = "Tests of genotypic disequilibrium (--ld-tests)";

bool overall_test_asked(const RunOptions& o) { return o.CB_HWO || o.RG_popdif == PopDiff::assuming_hw; }

// Randomisations of the overall test: the differentiation test's count wins.
int32_t overall_count(const RunOptions& o) { return o.RG_popdif == PopDiff::assuming_hw ? o.SpinEdit4 : o.SpinEdit2; }

void level_notes(const RunOptions& o, std::vector<std::string>& out) {
  if (o.CB_IFis && o.RG_MT == NominalLevel::none)
    out.push_back(std::string(kHwSample) + " will not run: no nominal level chosen; give --level");
  if (o.CB_IFis && o.RG_MT == NominalLevel::fixed && o.SpinEdit5 <= 0)
    out.push_back(std::string(kHwSample) + " will not run: --perm is 0; give --perm N");
  const bool ld_asked = o.RG_GDT != LdTests::no_tests;
  if (ld_asked && o.RG_MTG == NominalLevel::none)
    out.push_back(std::string(kLdTests) + " will not run: no nominal level chosen; give --ld-level");
  if (ld_asked && o.RG_MTG == NominalLevel::fixed && o.SpinEdit8 <= 0)
    out.push_back(std::string(kLdTests) + " will not run: --ld-perm is 0; give --ld-perm N");
  if (!ld_asked && o.RG_MTG != NominalLevel::none)
    out.push_back("--ld-level chooses no test by itself: give --ld-tests all or --ld-tests per-sample");
}

void count_notes(const RunOptions& o, std::vector<std::string>& out) {
  if (o.CB_HWW && o.SpinEdit1 < kGlobalTestMin)
    out.push_back("Hardy Weinberg within samples will not run: it needs --hw-within 200 or more");
  if (overall_test_asked(o) && overall_count(o) < kGlobalTestMin)
    out.push_back(o.RG_popdif == PopDiff::assuming_hw
                      ? "The test assuming HW within samples will not run: it needs --popdiff-perm 200 or more"
                      : "Hardy Weinberg overall samples will not run: it needs --hw-overall 200 or more");
  if (o.RG_popdif == PopDiff::not_assuming_hw && o.SpinEdit3 < kNoHwTestMin)
    out.push_back("The test NOT assuming HW within samples will not run: it needs --popdiff-perm 2 or more");
}

}  // namespace

std::vector<std::string> tests_that_will_not_run(const RunOptions& o) {
  std::vector<std::string> out;
  level_notes(o, out);
  count_notes(o, out);
  return out;
}

std::vector<std::string> tests_that_will_not_run(const RunOptions& o, const std::string& file, int np, int nl) {
  std::vector<std::string> needing_two_samples;
  if (o.CB_HWW) needing_two_samples.push_back("Hardy Weinberg within samples");
  if (overall_test_asked(o)) needing_two_samples.push_back("Hardy Weinberg overall samples");
  if (o.RG_popdif == PopDiff::not_assuming_hw) needing_two_samples.push_back("population differentiation");
  if (o.CB_PPFst) needing_two_samples.push_back("pairwise tests of differentiation");
  std::vector<std::string> out;
  if (np < 2 && !needing_two_samples.empty()) {
    std::string list;
    for (const std::string& t : needing_two_samples) list += (list.empty() ? "" : ", ") + t;
    out.push_back(file + " holds one sample: " + list + " will not run (they need two samples)");
  }
  if (nl < 2 && o.RG_GDT != LdTests::no_tests)
    out.push_back(file + " holds one locus: " + std::string(kLdTests) + " will not run (they need two loci)");
  return out;
}

}  // namespace torvi::cli
