#include "run/run_driver.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "random/seeds_file.h"
#include "report/report_text.h"
#include "run/analysis.h"
#include "run/data_set_lifecycle.h"

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
  (void)opt;
  (void)nl;

  // Genotype frequencies (companion file).

  // Per-locus report, with the per-sample statistics and their tests.
  if (opt.CB_IFis) set_hw_sample_locus_count(opt, np, nl, ctx.nb_perm);

  // Genotypic disequilibrium.
  set_gen_diseq_count(opt, np, nl, ctx.nb_perm);

  if (np == 1) return;
  const int first_sample = 1, last_sample = np;
  (void)first_sample;
  (void)last_sample;

  // Variance components of the observed data; from here on the allele
  // tables hold frequencies.

  // Weir & Cockerham, Rho_st, jackknife and bootstrap.

  // Observed likelihood-ratio sums, whether or not a test follows.

  // Pairwise Fst.

  // Tests within and over samples, differentiation.

  // Pairwise tests of differentiation.
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
    std::string base_name = entry.substr(0, entry.size() >= 4 ? entry.size() - 4 : 0);
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
    // The entry itself is read: on a case-sensitive file system "X.DAT" is
    // not "X.dat".
    if (!create_data_set(host, entry, an)) {
      ++outcome.files_failed;
      continue;
    }
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
