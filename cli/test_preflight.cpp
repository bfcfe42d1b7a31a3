#include "cli/test_preflight.h"

namespace torvi::cli {

namespace {

using Test = SkippedTest::Test;
using Reason = SkippedTest::Reason;

const char* const kHwSample = "HW tests per locus and sample (--hw-per-sample)";
const char* const kLdTests = "Tests of genotypic disequilibrium (--ld-tests)";

// What the command line says of a test left out whatever the data.
std::string option_note(const SkippedTest& s) {
  const bool ld = s.test == Test::ld_tests;
  if (s.reason == Reason::no_level)
    return std::string(ld ? kLdTests : kHwSample) + " will not run: no nominal level chosen; give " +
           (ld ? "--ld-level" : "--level");
  if (s.reason == Reason::no_fixed_count)
    return ld ? std::string(kLdTests) + " will not run: --ld-perm is 0; give --ld-perm N"
              : std::string(kHwSample) + " will not run: --perm is 0; give --perm N";
  switch (s.test) {
    case Test::hw_within: return "Hardy Weinberg within samples will not run: it needs --hw-within 200 or more";
    case Test::popdiff_assuming_hw:
      return "The test assuming HW within samples will not run: it needs --popdiff-perm 200 or more";
    case Test::popdiff_not_assuming_hw:
      return "The test NOT assuming HW within samples will not run: it needs --popdiff-perm 2 or more";
    default: return "Hardy Weinberg overall samples will not run: it needs --hw-overall 200 or more";
  }
}

const char* two_sample_name(Test test) {
  switch (test) {
    case Test::hw_within: return "Hardy Weinberg within samples";
    case Test::popdiff_not_assuming_hw: return "population differentiation";
    case Test::pairwise: return "pairwise tests of differentiation";
    default: return "Hardy Weinberg overall samples";
  }
}

}  // namespace

std::vector<std::string> tests_that_will_not_run(const RunOptions& o) {
  const std::vector<SkippedTest> skips = skipped_tests(o);
  std::vector<std::string> out;
  for (const SkippedTest& s : skips)
    if (s.reason != Reason::too_few) out.push_back(option_note(s));
  // Not a test left out, but an option that does nothing by itself.
  if (o.RG_GDT == LdTests::no_tests && o.RG_MTG != NominalLevel::none)
    out.push_back("--ld-level chooses no test by itself: give --ld-tests all or --ld-tests per-sample");
  for (const SkippedTest& s : skips)
    if (s.reason == Reason::too_few) out.push_back(option_note(s));
  return out;
}

std::vector<std::string> tests_that_will_not_run(const RunOptions& o, const Selection& selection,
                                                 const std::string& file, int np, int nl) {
  std::string list;
  std::vector<std::string> out;
  for (const SkippedTest& s : skipped_tests(o, selection, np, nl)) {
    if (s.reason == Reason::one_locus)
      out.push_back(file + " holds one locus: " + std::string(kLdTests) + " will not run (they need two loci)");
    else
      list += (list.empty() ? "" : ", ") + std::string(two_sample_name(s.test));
  }
  if (!list.empty()) out.insert(out.begin(), file + " holds one sample: " + list + " will not run (they need two samples)");
  return out;
}

}  // namespace torvi::cli
