#include "cli/run_command.h"

#include <unistd.h>

#include <iostream>
#include <climits>
#include <map>
#include <thread>

#include "cli/command_line.h"
#include "cli/command_stream.h"
#include "cli/settings_option.h"
#include "cli/stop_signals.h"
#include "cli/terminal_host.h"
#include "cli/test_preflight.h"
#include "torvi/data_files.h"
#include "torvi/host.h"
#include "torvi/seeds.h"

namespace torvi::cli {

namespace {

constexpr int32_t kCountMax = INT32_MAX;  // permutation counts: no upper limit of their own
constexpr int kExitFailed = 1, kExitUsage = 2, kExitStopped = 3;

const std::map<std::string, NominalLevel> kLevels = {{"5/100", NominalLevel::p5_100},
                                                     {"1/100", NominalLevel::p1_100},
                                                     {"1/1000", NominalLevel::p1_1000},
                                                     {"fixed", NominalLevel::fixed}};

// An on/off pair of flags, --NAME and --no-NAME, for a box that starts ticked.
void add_switch(CLI::App* app, const std::string& name, bool& value, const std::string& help,
                const std::string& group) {
  app->add_flag("--" + name + ",!--no-" + name, value, help + " (default: on)")->group(group);
}


void add_statistics_options(CLI::App* run, RunArgs& a) {
  RunOptions& o = a.settings.options;
  // Missing or unreadable files are reported one by one by the run itself,
  // and the other files are still analysed.
  run->add_option("files", a.settings.file_list, "Data files (.dat) to analyse, one result file (.out) each")
      ->required();

  auto stats = "Per locus and sample statistics";
  add_switch(run, "allele-freq", o.CB_allfreq, "Allele frequencies", stats);
  run->add_flag("--genotype-freq", o.CB_genotfreq, "Genotypic frequencies (companion file .x2)")->group(stats);
  add_switch(run, "nb-alleles", o.CB_nal, "Number of alleles", stats);
  run->add_flag("--richness", o.CB_Rar, "Allelic richness")->group(stats);
  add_switch(run, "gene-div", o.CB_genediv, "Gene diversity", stats);
  run->add_flag("--fis", o.CB_fis, "Fis per population")->group(stats);

  auto global = "Global statistics";
  add_switch(run, "nei", o.CB_nei, "Nei's F-statistics", global);
  add_switch(run, "wc", o.CB_WC, "Weir and Cockerham's F-statistics, with jackknife and bootstrap", global);
  run->add_flag("--rst", o.CB_Rst, "Rho_st")->group(global);
  run->add_flag("--fst-pairs", o.CB_Fstpp, "Fst per pair of samples (companion files .mat and .fst)")->group(global);

}

void add_test_options(CLI::App* run, RunArgs& a) {
  RunOptions& o = a.settings.options;
  auto tests = "Global tests";
  run->add_option("--hw-within", o.SpinEdit1,
                  "Hardy Weinberg within samples, with N permutations (0..100000; tests need N >= 200)")
      ->check(CLI::Range(0, 100000))
      ->group(tests);
  run->add_option("--hw-overall", o.SpinEdit2,
                  "Hardy Weinberg overall samples, with N permutations (0..100000; tests need N >= 200)")
      ->check(CLI::Range(0, 100000))
      ->group(tests);
  run->add_option("--popdiff", a.popdiff,
                  "Population differentiation: none = \"NO test\", nohw = \"Test NOT assuming HW within "
                  "samples\", hw = \"Test assuming HW within samples\"")
      ->check(CLI::IsMember({"none", "nohw", "hw"}))
      ->group(tests);
  run->add_option("--popdiff-perm", a.popdiff_perm, "Permutations of the population differentiation test (0..100000)")
      ->check(CLI::Range(0, 100000))
      ->group(tests);

  auto testing = "Testing";
  run->add_flag("--hw-per-sample", o.CB_IFis, "HW tests per locus and sample")->group(testing);
  run->add_option("--level", a.level,
                  "Nominal level for multiple tests: 5/100, 1/100 or 1/1000 (permutations = number of tests / "
                  "level), or fixed (--perm); absent = no item chosen")
      ->check(CLI::IsMember({"5/100", "1/100", "1/1000", "fixed"}))
      ->group(testing);
  run->add_option("--perm", o.SpinEdit5, "# of permutations when --level fixed (default 1000)")
      ->check(CLI::Range(0, kCountMax))
      ->group(testing);
  run->add_flag("--pairwise-tests", o.CB_PPFst, "Pairwise tests of differentiation (companion file -pp.pvl)")
      ->group(testing);

}

void add_ld_options(CLI::App* run, RunArgs& a) {
  RunOptions& o = a.settings.options;
  auto ld = "Genotypic disequilibrium";
  run->add_flag("--ld-delta", o.CB_dp, "Delta' (average per pair of loci), companion file -dp.cd")->group(ld);
  run->add_flag("--ld-r2", o.CB_r, "R^2 (average per pair of loci), companion file -r2.cd")->group(ld);
  run->add_flag("--ld-details", o.CB_details, "Detail results per pair of alleles, companion file -details.cd")
      ->group(ld);
  run->add_flag("--ld-tables", o.CB_Savetables, "Save Contingency Tables, companion file -tables.ld")->group(ld);
  run->add_option("--ld-tests", a.ld_tests,
                  "Tests of Genotypic Disequilibrium: none = \"NO tests\", all = \"Tests between all pairs of "
                  "loci\", per-sample = \"Tests between all pairs of loci in each sample\"")
      ->check(CLI::IsMember({"none", "all", "per-sample"}))
      ->group(ld);
  run->add_option("--ld-level", a.ld_level,
                  "Nominal level for multiple tests of disequilibrium: 5/100, 1/100, 1/1000 or fixed (--ld-perm)")
      ->check(CLI::IsMember({"5/100", "1/100", "1/1000", "fixed"}))
      ->group(ld);
  run->add_option("--ld-perm", o.SpinEdit8, "# of permutations when --ld-level fixed (default 1000)")
      ->check(CLI::Range(0, kCountMax))
      ->group(ld);

}

void add_run_control_options(CLI::App* run, RunArgs& a) {
  auto runopts = "Run";
  run->add_option("--existing", a.existing,
                  "When a result file exists: append the new results after the old (default) or skip the file "
                  "(a skipped file counts as not analysed: exit status 1)")
      ->check(CLI::IsMember({"append", "skip"}))
      ->group(runopts);
  run->add_flag("--json", a.settings.options.CB_json,
                "Also write a JSON file: BASE.torvi.json beside each result file, every value at full precision "
                "(layout in docs/torvi.schema.json)")
      ->group(runopts);
  add_stream_options(run, a.seeds, a.settings.threads, a.quiet, runopts);
}


void map_choices(RunArgs& a) {
  RunOptions& o = a.settings.options;
  o.CB_HWW = o.SpinEdit1 > 0;
  o.CB_HWO = o.SpinEdit2 > 0;
  o.RG_popdif = a.popdiff == "nohw" ? PopDiff::not_assuming_hw
                : a.popdiff == "hw" ? PopDiff::assuming_hw
                                    : PopDiff::no_test;
  if (o.RG_popdif == PopDiff::not_assuming_hw) o.SpinEdit3 = a.popdiff_perm;
  if (o.RG_popdif == PopDiff::assuming_hw) o.SpinEdit4 = a.popdiff_perm;
  o.RG_MT = a.level.empty() ? NominalLevel::none : kLevels.at(a.level);
  o.RG_MTG = a.ld_level.empty() ? NominalLevel::none : kLevels.at(a.ld_level);
  o.RG_GDT = a.ld_tests == "all"          ? LdTests::all_pairs
             : a.ld_tests == "per-sample" ? LdTests::pairs_in_each_sample
                                          : LdTests::no_tests;
}

// Says which requested tests will not run, before anything runs.
void announce_skipped_tests(const RunArgs& a) {
  const RunOptions& o = a.settings.options;
  std::vector<std::string> notes = tests_that_will_not_run(o);
  MessageLogHost silent;  // the run itself reports what is wrong with a file
  for (const std::string& entry : a.settings.file_list) {
    DataSet ds;
    if (!check_header(silent, entry, ds)) continue;  // the run reports it
    for (std::string& n : tests_that_will_not_run(o, a.settings.selection, entry, ds.np, ds.nl))
      notes.push_back(std::move(n));
  }
  for (const std::string& n : notes) std::cerr << "torvi: " << n << '\n';
}

int exit_status(const RunOutcome& outcome, const TerminalHost& host) {
  if (outcome.cancelled) return kExitStopped;
  const bool all_done = outcome.files_failed == 0 && outcome.files_skipped == 0 && outcome.seeds_saved;
  return all_done && !host.any_error() ? 0 : kExitFailed;
}

}  // namespace

RunCommand::RunCommand(CLI::App& app) {
  app_ = app.add_subcommand("run", "Analyse data files: the Run button of the main window");
  add_statistics_options(app_, args_);
  add_test_options(app_, args_);
  add_ld_options(app_, args_);
  add_selection_options(app_, args_.selection);
  add_run_control_options(app_, args_);
  add_settings_option(app_, args_);
  app_->footer(
      "Permutation counts follow the main window: a test with N permutations draws N - 1 randomised data sets.\n"
      "Example: torvi run --fis --rst --hw-within 1000 --popdiff hw --popdiff-perm 1000 nancycats.dat");
}

int RunCommand::execute() {
  map_choices(args_);
  RunSettings& settings = args_.settings;
  settings.arguments = remembered_arguments();
  settings.from_command_line = true;
  std::optional<RunSettingsFile> settings_file;
  if (!args_.settings_file.empty() && !(settings_file = apply_settings_file(*app_, args_))) return kExitUsage;
  if (!build_selection(args_.selection, settings.file_list, settings.selection, settings.options.label_file_checked))
    return kExitUsage;
  if (settings_file && !apply_settings_labels(*app_, *settings_file, args_)) return kExitUsage;
  install_stop_signals();
  TerminalHost host(args_.existing == "skip" ? ExistingResult::skip : ExistingResult::append, args_.quiet,
                    stop_signalled);
  CommandStream stream;
  if (!stream.open(host, args_.seeds)) return kExitUsage;
  if (!args_.quiet) announce_skipped_tests(args_);
  NbPerm nb_perm;
  RunOutcome outcome = run_files(host, stream.rng, nb_perm, args_.settings, kSeedsFileName);
  return exit_status(outcome, host);
}

}  // namespace torvi::cli
