#include "run/run_sections.h"

#include <array>

#include "ld/ld_test.h"
#include "randtests/diff_genotype_test.h"
#include "randtests/hw_overall_test.h"
#include "randtests/hw_sample_test.h"
#include "randtests/hw_within_test.h"
#include "randtests/pairwise_test.h"
#include "report/report_text.h"
#include "stats/bootstrap_loci.h"
#include "stats/g_statistics.h"
#include "stats/genotype_tables.h"
#include "stats/jackknife.h"
#include "stats/locus_report.h"
#include "stats/pairwise_fst.h"
#include "stats/rst_report.h"
#include "stats/sample_report.h"
#include "stats/wc_components.h"
#include "stats/wc_report.h"

namespace torvi {

namespace {

constexpr int kFewestLociForBootstrap = 5;

bool always(const RunOptions&, int, int) { return true; }
bool two_samples(const RunOptions&, int np, int) { return np > 1; }

bool ld_wanted(const RunOptions& o, int, int) {
  const bool tests_asked = o.RG_GDT != LdTests::no_tests && o.RG_MTG != NominalLevel::none;
  return o.CB_dp || o.CB_r || o.CB_details || o.CB_Savetables || tests_asked;
}

bool assuming_hw(const RunOptions& o) { return o.RG_popdif == PopDiff::assuming_hw; }

void per_locus(RunContext& ctx, Analysis& an) {
  locus_report(ctx, an);
  sample_report(ctx, an);
}

void hw_per_sample(RunContext& ctx, Analysis& an) {
  set_hw_sample_locus_count(ctx.options, an.ds.np, an.ds.nl, ctx.nb_perm);
  hw_sample_test(ctx, an);
}

void jackknife_and_bootstrap(RunContext& ctx, Analysis& an) {
  const int nl = an.ds.nl;
  jackknife_report(ctx, an, 1, an.ds.np);
  if (nl >= kFewestLociForBootstrap)
    bootstrap_loci(ctx, an);
  else
    ReportText().line().line(kStars48).cell("Cannot perform Bootstrap on loci with only " + integer(nl) + " loci.")
        .eol().append_to(ctx.result_name);
}

void hw_overall(RunContext& ctx, Analysis& an) { hw_overall_test(ctx, an, 1, an.ds.np); }

// In their fixed order; every step from the variance components on needs two samples.
const std::array<RunSection, 17> kSteps = {{
    {"Genotypic frequencies", [](const RunOptions& o, int, int) { return o.CB_genotfreq; },
     [](RunContext&, Analysis& an) { genotype_tables(an); }},
    {"Per locus and sample statistics", always, per_locus},
    {"HW tests per locus and sample", [](const RunOptions& o, int, int) { return o.CB_IFis; }, hw_per_sample},
    // Nei's table closes the per-locus report.
    {"Nei's F-statistics", [](const RunOptions& o, int np, int) { return np > 1 && o.CB_nei; },
     [](RunContext& ctx, Analysis& an) { nei_report(ctx, an); }},
    {"Genotypic disequilibrium", ld_wanted,
     [](RunContext& ctx, Analysis& an) {
       set_gen_diseq_count(ctx.options, an.ds.np, an.ds.nl, ctx.nb_perm);
       ld_test(ctx, an);
     }},
    // Variance components of the observed data; from here on the allele
    // tables hold frequencies.
    {nullptr, two_samples,
     [](RunContext&, Analysis& an) {
       wc_components(an.ct, an.wc, 1, an.ds.np, TablesOf::observed);
     }},
    {"Weir and Cockerham's F-statistics", [](const RunOptions& o, int np, int) { return np > 1 && o.CB_WC; },
     wc_report},
    {"Rho_st", [](const RunOptions& o, int np, int) { return np > 1 && o.CB_Rst; }, rst_report},
    {"Jackknife and bootstrap", [](const RunOptions& o, int np, int) { return np > 1 && o.CB_WC; },
     jackknife_and_bootstrap},
    // Observed likelihood-ratio sums, whether or not a test follows.
    {nullptr, two_samples,
     [](RunContext&, Analysis& an) {
       locus_g(an.ct, an.g, TablesOf::observed);
     }},
    {"Fst per pair of samples", [](const RunOptions& o, int np, int) { return np > 1 && o.CB_Fstpp; },
     [](RunContext& ctx, Analysis& an) { pairwise_fst(an, ctx.threads); }},
    {"Hardy Weinberg within samples", [](const RunOptions& o, int np, int) { return np > 1 && o.CB_HWW; },
     [](RunContext& ctx, Analysis& an) { hw_within_test(ctx, an, 1, an.ds.np); }},
    // One randomisation of alleles serves both tests.
    {"Hardy Weinberg overall samples",
     [](const RunOptions& o, int np, int) { return np > 1 && o.CB_HWO && !assuming_hw(o); }, hw_overall},
    {"Hardy Weinberg overall samples and population differentiation (assuming HW within samples)",
     [](const RunOptions& o, int np, int) { return np > 1 && o.CB_HWO && assuming_hw(o); }, hw_overall},
    {"Population differentiation (assuming HW within samples)",
     [](const RunOptions& o, int np, int) { return np > 1 && !o.CB_HWO && assuming_hw(o); }, hw_overall},
    {"Population differentiation (NOT assuming HW within samples)",
     [](const RunOptions& o, int np, int) { return np > 1 && o.RG_popdif == PopDiff::not_assuming_hw; },
     diff_genotype_test},
    {"Pairwise tests of differentiation", [](const RunOptions& o, int np, int) { return np > 1 && o.CB_PPFst; },
     [](RunContext& ctx, Analysis& an) {
       set_pairwise_count(ctx.options, an.ds.np, ctx.nb_perm);
       pairwise_test(ctx, an);
     }},
}};

}  // namespace

std::vector<const RunSection*> run_sections(const RunOptions& o, int np, int nl) {
  std::vector<const RunSection*> steps;
  for (const RunSection& s : kSteps)
    if (s.wanted(o, np, nl)) steps.push_back(&s);
  return steps;
}

int named_sections(const std::vector<const RunSection*>& steps) {
  int n = 0;
  for (const RunSection* s : steps) n += s->name != nullptr;
  return n;
}

}  // namespace torvi
