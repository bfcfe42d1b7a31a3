// torvi: the command line of Torvi.
//   torvi run [OPTIONS] FILE.dat...   analyse data files (one result file each)
//   torvi seeds S1 S2                 set the seeds of the random number generator
//   torvi summary [--json] FILE.dat...  what each data file holds

#include <CLI/CLI.hpp>

#include <iostream>
#include <map>
#include <thread>

#include "cli/command_line.h"
#include "cli/selection_options.h"
#include "cli/summary_command.h"
#include "cli/terminal_host.h"
#include "random/seeds_file.h"
#include "run/run_driver.h"

using namespace torvi;

namespace {

const std::map<std::string, NominalLevel> kLevels = {{"5/100", NominalLevel::p5_100},
                                                     {"1/100", NominalLevel::p1_100},
                                                     {"1/1000", NominalLevel::p1_1000},
                                                     {"fixed", NominalLevel::fixed}};

// An on/off pair of flags, --NAME and --no-NAME, for a box that starts ticked.
void add_switch(CLI::App* app, const std::string& name, bool& value, const std::string& help,
                const std::string& group) {
  app->add_flag("--" + name + ",!--no-" + name, value, help + " (default: on)")->group(group);
}

struct RunArgs {
  RunSettings settings;
  std::string popdiff = "none";
  std::string ld_tests = "none";
  std::string level, ld_level;
  int32_t popdiff_perm = 0;
  bool hw_within = false, hw_overall = false;
  std::vector<int64_t> seeds;
  std::string existing = "append";
  bool quiet = false;
  cli::SelectionArgs selection;
};

void add_run_options(CLI::App* run, RunArgs& a) {
  RunOptions& o = a.settings.options;
  run->add_option("files", a.settings.file_list, "Data files (.dat) to analyse, one result file (.out) each")
      ->required()
      ->check(CLI::ExistingFile);

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
  run->add_option("--perm", o.SpinEdit5, "# of permutations when --level fixed (default 1000)")->group(testing);
  run->add_flag("--pairwise-tests", o.CB_PPFst, "Pairwise tests of differentiation (companion file -pp.pvl)")
      ->group(testing);

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
  run->add_option("--ld-perm", o.SpinEdit8, "# of permutations when --ld-level fixed (default 1000)")->group(ld);

  cli::add_selection_options(run, a.selection);

  auto runopts = "Run";
  run->add_option("--seeds", a.seeds,
                  "Seeds of the random number generator for this run (S1 in 1..2147483562, S2 in 1..2147483398); "
                  "default: those saved in TORVI.INI. The advanced state is saved to TORVI.INI after the run")
      ->expected(2)
      ->allow_extra_args(false)
      ->group(runopts);
  run->add_option("--existing", a.existing,
                  "When a result file exists: append the new results after the old (default) or skip the file")
      ->check(CLI::IsMember({"append", "skip"}))
      ->group(runopts);
  a.settings.threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  run->add_option("--threads", a.settings.threads,
                  "Threads for randomisations (default: all cores); results never depend on it")
      ->check(CLI::PositiveNumber)
      ->group(runopts);
  run->add_flag("--quiet", a.quiet, "No progress line, notes or closing message on standard error")->group(runopts);
}

// Seeds for the run: --seeds, else the seeds file, else asked on a terminal.
bool prepare_seeds(Host& host, Rng& rng, const RunArgs& a) {
  if (!a.seeds.empty()) {
    if (a.seeds[0] < 1 || a.seeds[0] > kSeed1Max || a.seeds[1] < 1 || a.seeds[1] > kSeed2Max) {
      std::cerr << "torvi: --seeds: the first seed must lie in 1..2147483562 and the second in 1..2147483398\n";
      return false;
    }
    rng = Rng(static_cast<int32_t>(a.seeds[0]), static_cast<int32_t>(a.seeds[1]));
    return true;
  }
  load_seeds(host, rng, kSeedsFileName);
  return true;
}

int run_command(RunArgs& a) {
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

  if (!cli::build_selection(a.selection, a.settings.file_list, a.settings.selection, o.label_file_checked)) return 2;

  cli::TerminalHost host(a.existing == "skip" ? cli::ExistingResult::skip : cli::ExistingResult::append, a.quiet);
  Rng rng;
  try {
    if (!prepare_seeds(host, rng, a)) return 2;
  } catch (const std::exception& e) {
    std::cerr << "torvi: " << e.what() << '\n';
    return 2;
  }
  NbPerm nb_perm;
  RunOutcome outcome = run_files(host, rng, nb_perm, a.settings, kSeedsFileName);
  if (outcome.cancelled) return 3;
  return outcome.files_failed > 0 || host.any_error() ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "Torvi: population genetics of diploid codominant multilocus genotypes (microsatellites).\n"
      "Each data file (.dat) gets a result file beside it (.out), one section per chosen statistic or test."};
  app.set_version_flag("--version", std::string("torvi ") + TORVI_VERSION);
  app.require_subcommand(1);

  RunArgs run_args;
  CLI::App* run = app.add_subcommand("run", "Analyse data files: the Run button of the main window");
  add_run_options(run, run_args);
  run->footer(
      "Permutation counts follow the main window: a test with N permutations draws N - 1 randomised data sets.\n"
      "Example: torvi run --fis --rst --hw-within 1000 --popdiff hw --popdiff-perm 1000 nancycats.dat");

  std::vector<int64_t> new_seeds;
  CLI::App* seeds = app.add_subcommand("seeds", "Reset seeds Random Number Generator: write TORVI.INI");
  seeds->add_option("S1 S2", new_seeds, "First seed (1..2147483562) and second seed (1..2147483398)")
      ->expected(2)
      ->required();

  cli::SummaryCommand summary(app);
  cli::remember_arguments(argc, argv);

  CLI11_PARSE(app, argc, argv);

  if (*run) return run_command(run_args);
  if (summary.chosen()) return summary.execute();
  if (new_seeds[0] < 1 || new_seeds[0] > kSeed1Max || new_seeds[1] < 1 || new_seeds[1] > kSeed2Max) {
    std::cerr << "torvi: the first seed must lie in 1..2147483562 and the second in 1..2147483398\n";
    return 2;
  }
  if (!write_seeds(static_cast<int32_t>(new_seeds[0]), static_cast<int32_t>(new_seeds[1]), kSeedsFileName)) {
    std::cerr << "torvi: cannot write " << kSeedsFileName << '\n';
    return 1;
  }
  return 0;
}
