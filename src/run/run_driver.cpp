#include "run/run_driver.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "random/seeds_file.h"
#include "randtests/diff_genotype_test.h"
#include "randtests/g_statistics.h"
#include "randtests/hw_overall_test.h"
#include "randtests/hw_within_test.h"
#include "randtests/ld_test.h"
#include "randtests/pairwise_test.h"
#include "report/output_file.h"
#include "report/report_text.h"
#include "run/analysis.h"
#include "run/data_file_entry.h"
#include "run/data_set_lifecycle.h"
#include "run/result_file.h"
#include "run/subset_file.h"
#include "stats/genotype_tables.h"
#include "stats/jackknife.h"
#include "stats/locus_report.h"
#include "stats/pairwise_fst.h"
#include "stats/rst_report.h"
#include "stats/wc_report.h"

namespace torvi {

namespace {

std::string file_name_of(const std::string& path) { return std::filesystem::path(path).filename().string(); }

constexpr const char* kBreak = "\n\r";

// Where a stop asked by the host takes effect between sections; within the
// randomisation tests it takes effect after each randomisation.
void stop_point(Host& host) {
  if (host.stop_requested()) throw RunCancelled();
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
  stop_point(ctx.host);

  // Per-locus report, with the per-sample statistics and their tests.
  if (opt.CB_IFis) set_hw_sample_locus_count(opt, np, nl, ctx.nb_perm);
  locus_report(ctx, an);
  stop_point(ctx.host);

  // Genotypic disequilibrium.
  set_gen_diseq_count(opt, np, nl, ctx.nb_perm);
  const bool ld_tests_asked = opt.RG_GDT != LdTests::no_tests && opt.RG_MTG != NominalLevel::none;
  if (opt.CB_dp || opt.CB_r || opt.CB_details || opt.CB_Savetables || ld_tests_asked) ld_test(ctx, an);
  stop_point(ctx.host);

  if (np == 1) return;
  const int first_sample = 1, last_sample = np;

  // Variance components of the observed data; from here on the allele
  // tables hold frequencies.
  an.wc.wc_calls = 0;
  wc_components(an.ct, an.wc, first_sample, last_sample);

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
  an.g.g_calls = 0;
  locus_g(an.ct, an.g);

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

namespace {

// One data file (or the subset written for it) from its result file to the
// release of its data set. False when the reader refused the file (it has
// shown its message); nothing when the result-file dialog was cancelled.
// Throws OutputError and RunCancelled.
std::optional<bool> run_one_file(Host& host, RunContext& ctx, const std::string& entry, const SubsetFile& subset) {
  auto result = open_result_file(host, subset.base_name, entry);
  if (!result) return std::nullopt;
  ctx.result_name = result->name;
  Analysis an;
  an.base_name = subset.base_name;
  an.data_path = subset.data_path;
  // The entry itself (or its subset) is read: on a case-sensitive file
  // system "X.DAT" is not "X.dat".
  if (!create_data_set(host, subset.data_path, an)) return false;
  an.ds.sample_names = subset.sample_names;
  an.ds.sample_names.resize(static_cast<size_t>(an.ds.np) + 1);
  count_alleles(an.ds, an.ct);
  write_header(ctx, subset.base_name);
  analyse(ctx, an);
  return true;
}

// Saves the seeds reached and shows the closing message; a run whose seeds
// could not be saved, or whose last file could not be written, does not say
// it finished.
void finish_run(Host& host, const Rng& rng, const std::string& seeds_path, RunOutcome& outcome, bool last_written) {
  std::string reason;
  outcome.seeds_saved = save_seeds(rng, seeds_path, &reason);
  if (!outcome.seeds_saved)
    host.show_error("Cannot write " + seeds_path + ": " + reason + kBreak +
                    "The seeds reached were not saved: the next run would repeat this run's random numbers.");
  const std::string name = file_name_of(outcome.last_base_name) + ".dat";
  if (outcome.cancelled)
    host.show_info("Torvi run cancelled while processing" + std::string(kBreak) + name);
  else if (!outcome.last_base_name.empty() && last_written && outcome.seeds_saved)
    host.show_finished("Torvi finished processing data in " + std::string(kBreak) + name);
}

}  // namespace

RunOutcome run_files(Host& host, Rng& rng, NbPerm& nb_perm, const RunSettings& settings,
                     const std::string& seeds_path) {
  RunOutcome outcome;
  bool last_written = true;
  RunContext ctx{host, rng, settings.options, nb_perm, {}, settings.threads};
  for (const std::string& entry : settings.file_list) {
    if (host.stop_requested()) {
      outcome.cancelled = true;
      break;
    }
    last_written = true;
    const std::optional<std::string> base_name = base_name_of(entry);
    if (base_name) outcome.last_base_name = *base_name;
    if (auto problem = data_file_problem(entry)) {
      host.show_error(*problem);
      ++outcome.files_failed;
      continue;
    }
    try {
      // With loci or samples chosen, a subset file is analysed in place of the entry.
      const auto subset =
          select_subset(host, entry, *base_name, settings.selection, settings.options.label_file_checked);
      if (!subset) {
        ++outcome.files_failed;
        continue;
      }
      outcome.last_base_name = subset->base_name;
      host.show_caption("TORVI is Processing: " + file_name_of(subset->base_name) + ".dat");
      set_global_test_counts(settings.options, nb_perm);
      auto done = run_one_file(host, ctx, entry, *subset);
      if (!done) ++outcome.files_skipped;
      else if (*done) ++outcome.files_done;
      else ++outcome.files_failed;
    } catch (const OutputError& e) {
      host.show_error(e.what());
      ++outcome.files_failed;
      last_written = false;
    } catch (const RunCancelled&) {
      outcome.cancelled = true;
      break;
    }
  }
  finish_run(host, rng, seeds_path, outcome, last_written);
  return outcome;
}

}  // namespace torvi
