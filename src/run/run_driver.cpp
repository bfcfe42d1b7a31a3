#include "run/run_driver.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "data/subset_file.h"
#include "random/seeds_file.h"
#include "randtests/diff_genotype_test.h"
#include "randtests/g_statistics.h"
#include "randtests/hw_overall_test.h"
#include "randtests/hw_within_test.h"
#include "randtests/ld_test.h"
#include "randtests/pairwise_test.h"
#include "report/report_text.h"
#include "run/analysis.h"
#include "run/data_set_lifecycle.h"
#include "stats/genotype_tables.h"
#include "stats/jackknife.h"
#include "stats/locus_report.h"
#include "stats/pairwise_fst.h"
#include "stats/rst_report.h"
#include "stats/wc_report.h"

namespace torvi {

namespace {

std::string file_name_of(const std::string& path) { return std::filesystem::path(path).filename().string(); }

// The result file: base name + ".out", created empty when missing. When it
// exists the save dialog proposes it; the results then go after the old
// contents of the chosen file. Nothing when the user cancels.
std::optional<std::string> open_result_file(Host& host, const std::string& base_name) {
  std::string name = base_name + ".out";
  if (std::filesystem::exists(name)) {
    auto chosen = host.ask_result_file("File name for the RESULT file", name);
    if (!chosen) return std::nullopt;
    name = *chosen;
  }
  ReportText().append_to(name);  // creates it when missing, never truncates
  return name;
}

void write_header(const RunContext& ctx, const std::string& base_name) {
  std::string h = "*   The following results were generated the " + header_date_time_text() + " with " +
                  kApplicationTitle + " from file " + file_name_of(base_name) + ".dat. *";
  std::string stars(h.size(), '*');
  ReportText().line(stars).line(h).line(stars).append_to(ctx.result_name);
}

// The sections of one data file, in their fixed order.
void analyse(RunContext& ctx, Analysis& an) {
  const RunOptions& opt = ctx.options;
  const int np = an.ds.np, nl = an.ds.nl;

  // Genotype frequencies (companion file).
  if (opt.CB_genotfreq) genotype_tables(an);

  // Per-locus report, with the per-sample statistics and their tests.
  if (opt.CB_IFis) set_hw_sample_locus_count(opt, np, nl, ctx.nb_perm);
  locus_report(ctx, an);

  // Genotypic disequilibrium.
  set_gen_diseq_count(opt, np, nl, ctx.nb_perm);
  const bool ld_tests_asked = opt.RG_GDT != LdTests::no_tests && opt.RG_MTG != NominalLevel::none;
  if (opt.CB_dp || opt.CB_r || opt.CB_details || opt.CB_Savetables || ld_tests_asked) ld_test(ctx, an);

  if (np == 1) return;
  const int first_sample = 1, last_sample = np;

  // Variance components of the observed data; from here on the allele
  // tables hold frequencies.
  an.wc.wc_calls = 0;
  wc_components(an.ct, an.wc, first_sample, last_sample);

  // Weir & Cockerham, Rho_st, jackknife and bootstrap.
  if (opt.CB_WC) wc_report(ctx, an);
  if (opt.CB_Rst) rst_report(ctx, an);
  if (opt.CB_WC) {
    jackknife_report(ctx, an, first_sample, last_sample);
    if (nl > 4)
      bootstrap_loci(ctx, an);
    else
      ReportText().line().line(kStars48).cell("Cannot perform Bootstrap on loci with only " + integer(nl) + " loci.")
          .eol().append_to(ctx.result_name);
  }

  // Observed likelihood-ratio sums, whether or not a test follows.
  an.g.g_calls = 0;
  locus_g(an.ct, an.g);

  // Pairwise Fst.
  if (opt.CB_Fstpp) pairwise_fst(an, ctx.threads);

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

}  // namespace

std::string header_date_time_text() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch && *epoch) {
    now = static_cast<std::time_t>(std::strtoll(epoch, nullptr, 10));
    gmtime_r(&now, &tm);
  } else {
    localtime_r(&now, &tm);
  }
  // The C locale's short date and long time.
  char date[32], time[32];
  std::strftime(date, sizeof date, "%x", &tm);
  std::strftime(time, sizeof time, "%X", &tm);
  return std::string(date) + " at " + time;
}

RunOutcome run_files(Host& host, Rng& rng, NbPerm& nb_perm, const RunSettings& settings,
                     const std::string& seeds_path) {
  RunOutcome outcome;
  for (const std::string& entry : settings.file_list) {
    // With loci or samples chosen, a subset file is analysed in place of the entry.
    outcome.last_base_name = entry.substr(0, entry.size() >= 4 ? entry.size() - 4 : 0);
    const auto subset = select_subset(host, entry, outcome.last_base_name, settings.selection,
                                      settings.options.label_file_checked);
    if (!subset) {
      ++outcome.files_failed;
      continue;
    }
    const std::string& base_name = subset->base_name;
    outcome.last_base_name = base_name;
    host.show_caption("TORVI is Processing: " + file_name_of(base_name) + ".dat");
    set_global_test_counts(settings.options, nb_perm);

    auto result_name = open_result_file(host, base_name);
    if (!result_name) {
      ++outcome.files_skipped;
      continue;
    }
    Analysis an;
    an.base_name = base_name;
    // The entry itself (or its subset) is read: on a case-sensitive file
    // system "X.DAT" is not "X.dat".
    if (!create_data_set(host, subset->data_path, an)) {
      ++outcome.files_failed;
      continue;
    }
    an.ds.sample_names = subset->sample_names;
    an.ds.sample_names.resize(static_cast<size_t>(an.ds.np) + 1);
    count_alleles(an.ds, an.ct);
    RunContext ctx{host, rng, settings.options, nb_perm, *result_name, settings.threads};
    write_header(ctx, base_name);
    try {
      analyse(ctx, an);
    } catch (const RunCancelled&) {
      outcome.cancelled = true;
    }
    release_data_set(an);
    if (outcome.cancelled) break;
    ++outcome.files_done;
  }

  save_seeds(rng, seeds_path);
  std::string name = file_name_of(outcome.last_base_name) + ".dat";
  if (outcome.cancelled)
    host.show_info("Torvi run cancelled while processing" + std::string("\n\r") + name);
  else if (!settings.file_list.empty())
    host.show_info("Torvi finished processing data in " + std::string("\n\r") + name);
  return outcome;
}

}  // namespace torvi
