#include "run/run_driver.h"

#include "ld/ld_test.h"
#include "model/analysis.h"
#include "randtests/diff_genotype_test.h"
#include "randtests/hw_overall_test.h"
#include "randtests/hw_sample_test.h"
#include "randtests/hw_within_test.h"
#include "randtests/pairwise_test.h"
#include "report/report_text.h"
#include "run/file_walk.h"
#include "run/json_export.h"
#include "run/result_file.h"
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

// Where a stop asked by the host takes effect between sections; within the
// randomisation tests it takes effect after each randomisation.
void stop_point(Host& host) {
  if (host.stop_requested()) throw RunCancelled();
}

// The sections that describe each sample and locus on its own: genotype
// frequencies, the per-locus report with its tests, disequilibrium.
void describe_samples(RunContext& ctx, Analysis& an) {
  const RunOptions& opt = ctx.options;
  const int np = an.ds.np, nl = an.ds.nl;

  // Genotype frequencies (companion file).
  if (opt.CB_genotfreq) genotype_tables(an);
  stop_point(ctx.host);

  // Per-locus report, with the per-sample statistics and their tests.
  if (opt.CB_IFis) set_hw_sample_locus_count(opt, np, nl, ctx.nb_perm);
  locus_report(ctx, an);
  sample_report(ctx, an);
  if (opt.CB_IFis) hw_sample_test(ctx, an);
  nei_report(ctx, an);
  stop_point(ctx.host);

  // Genotypic disequilibrium.
  set_gen_diseq_count(opt, np, nl, ctx.nb_perm);
  const bool ld_tests_asked = opt.RG_GDT != LdTests::no_tests && opt.RG_MTG != NominalLevel::none;
  if (opt.CB_dp || opt.CB_r || opt.CB_details || opt.CB_Savetables || ld_tests_asked) ld_test(ctx, an);
  stop_point(ctx.host);
}

// The sections that compare samples, on their count tables as the
// description left them.
void compare_samples(RunContext& ctx, Analysis& an) {
  const RunOptions& opt = ctx.options;
  const int np = an.ds.np, nl = an.ds.nl;
  const int first_sample = 1, last_sample = np;

  // Variance components of the observed data; from here on the allele
  // tables hold frequencies.
  wc_components(an.ct, an.wc, first_sample, last_sample, TablesOf::observed);

  // Weir & Cockerham, Rho_st, jackknife and bootstrap.
  if (opt.CB_WC) wc_report(ctx, an);
  if (opt.CB_Rst) rst_report(ctx, an);
  stop_point(ctx.host);
  if (opt.CB_WC) {
    jackknife_report(ctx, an, first_sample, last_sample);
    if (nl > 4)
      bootstrap_loci(ctx, an);
    else
      ReportText().line().line(kStars48).cell("Cannot perform Bootstrap on loci with only " + integer(nl) + " loci.")
          .eol().append_to(ctx.result_name);
  }

  // Observed likelihood-ratio sums, whether or not a test follows.
  locus_g(an.ct, an.g, TablesOf::observed);

  // Pairwise Fst.
  stop_point(ctx.host);
  if (opt.CB_Fstpp) pairwise_fst(an, ctx.threads);
  stop_point(ctx.host);

  // Tests within and over samples, differentiation.
  if (opt.CB_HWW) hw_within_test(ctx, an, first_sample, last_sample);
  if (opt.CB_HWO || opt.RG_popdif == PopDiff::assuming_hw) hw_overall_test(ctx, an, first_sample, last_sample);
  if (opt.RG_popdif == PopDiff::not_assuming_hw) diff_genotype_test(ctx, an);

  // Pairwise tests of differentiation.
  if (opt.CB_PPFst) {
    set_pairwise_count(opt, np, ctx.nb_perm);
    pairwise_test(ctx, an);
  }
}

// The sections of one data file, in their fixed order.
void analyse(RunContext& ctx, Analysis& an) {
  describe_samples(ctx, an);
  if (an.ds.np != 1) compare_samples(ctx, an);  // one sample: nothing to compare
}

}  // namespace

RunOutcome run_files(Host& host, Rng& rng, NbPerm& nb_perm, const RunSettings& settings,
                     const std::string& seeds_path) {
  RunContext ctx{host, rng, settings.options, nb_perm, {}, settings.threads};
  const CommandRecord command = run_command_record(settings);
  const FileWalk walk{settings.file_list, settings.selection, settings.options.label_file_checked, kResultSuffix,
                      [&] { set_global_test_counts(settings.options, nb_perm); }};
  return walk_data_files(host, rng, walk, seeds_path, [&](Analysis& an, const std::string& result_name) {
    ctx.result_name = result_name;
    with_results_document(ctx, command, an, [&] {
      write_result_header(result_name, an.base_name);
      analyse(ctx, an);
    });
    return true;
  });
}

}  // namespace torvi
