#include "cli/dispersal_command.h"

#include <iostream>
#include <optional>
#include <sstream>
#include <thread>

#include "cli/terminal_host.h"
#include "random/seeds_file.h"
#include "torvi/dispersal.h"

namespace torvi::cli {

namespace {

constexpr int kExitFailed = 1, kExitUsage = 2, kExitStopped = 3;
constexpr const char* kNoTests = "none";

// "assign-t,fst" or "0,2" (mixed as one likes), or "none".
std::optional<std::array<bool, kDispersalTestCount>> parse_tests(const std::string& text) {
  std::array<bool, kDispersalTestCount> ticked{};
  if (text == kNoTests) return ticked;
  std::istringstream in(text);
  for (std::string word; std::getline(in, word, ',');) {
    bool known = false;
    for (int i = 0; i < kDispersalTestCount; ++i)
      if (word == kDispersalTestNames[static_cast<size_t>(i)] || word == std::to_string(i)) {
        ticked[static_cast<size_t>(i)] = known = true;
      }
    if (!known) return std::nullopt;
  }
  return ticked;
}

std::string tests_help() {
  std::string help = "Tests to run, by name or number, separated by commas, or none (default: fst):";
  for (int i = 0; i < kDispersalTestCount; ++i)
    help += std::string(" ") + std::to_string(i) + " " + kDispersalTestNames[static_cast<size_t>(i)] + " = \"" +
            kDispersalTestItems[static_cast<size_t>(i)] + "\";";
  help.back() = '.';
  return help;
}

CLI::Validator one_letter() {
  return CLI::Validator(
      [](std::string& s) { return s.size() == 1 ? std::string() : "a sex letter is one character"; }, "LETTER");
}

void add_options(CLI::App* app, DispersalArgs& a) {
  app->add_option("file", a.file, "The sex-labelled genotype file (.gen)")->required();
  app->add_option("--phil", a.phil, "Letter for the most philopatric group (default F)")->check(one_letter());
  app->add_option("--disp", a.disp, "Letter for the other group (default M)")->check(one_letter());
  app->add_option("--perm", a.permutations,
                  "Number of permutations (100..10000), the observed data counted as one: N - 1 are drawn")
      ->required()
      ->check(CLI::Range(kDispersalMinPermutations, kDispersalMaxPermutations));
  app->add_option("--tests", a.tests, tests_help())->check(CLI::Validator(
      [](std::string& s) { return parse_tests(s) ? std::string() : "unknown test in \"" + s + "\""; }, "TESTS"));
  app->add_flag("--two-sided", a.two_sided, "Two sided test (default: one sided test)");
  app->add_option("--seeds", a.seeds,
                  "Seeds of the random number generator (S1 in 1..2147483562, S2 in 1..2147483398); default: "
                  "those saved in TORVI.INI. The advanced state is saved to TORVI.INI afterwards")
      ->expected(2)
      ->allow_extra_args(false);
  a.threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  app->add_option("--threads", a.threads, "Threads for the permutations (default: all cores); results never depend on it")
      ->check(CLI::Range(1, 256));
  app->add_flag("--quiet", a.quiet, "No progress line, notes or closing message on standard error");
}

// Letters the tests cannot use: P starts a sample separator.
bool letters_usable(Host& host, const DispersalArgs& a) {
  if (auto problem = sex_letters_problem(a.phil[0], a.disp[0])) {
    host.show_error(*problem);
    return false;
  }
  if (a.phil == "p" || a.disp == "p")
    host.note("records starting with p separate samples: no individual can carry the letter p");
  return true;
}

// Seeds for the tests: --seeds, else the seeds file, else asked on a terminal.
bool prepare_seeds(Host& host, Rng& rng, const DispersalArgs& a) {
  if (!a.seeds.empty()) {
    if (a.seeds[0] < 1 || a.seeds[0] > kSeed1Max || a.seeds[1] < 1 || a.seeds[1] > kSeed2Max) {
      std::cerr << "torvi: --seeds: the first seed must lie in 1..2147483562 and the second in 1..2147483398\n";
      return false;
    }
    rng = Rng(static_cast<int32_t>(a.seeds[0]), static_cast<int32_t>(a.seeds[1]));
    return true;
  }
  try {
    load_seeds(host, rng, kSeedsFileName);
  } catch (const std::exception& e) {
    std::cerr << "torvi: " << e.what() << '\n';
    return false;
  }
  return true;
}

void note_skipped(Host& host, const DispersalOutcome& out) {
  if (out.records_beyond_np > 0)
    host.note(std::to_string(out.records_beyond_np) +
              " records of samples beyond the number declared on line 1 were not read");
  if (out.records_over_limit > 0)
    host.note(std::to_string(out.records_over_limit) + " records beyond 4999 of one sex in one sample were skipped");
}

}  // namespace

DispersalCommand::DispersalCommand(CLI::App& app) {
  app_ = app.add_subcommand("dispersal", "Tests for sex-biased dispersal: the window \"Bias dispersal tests\"");
  add_options(app_, args_);
  app_->footer(
      "The file is split by sex into BASE<phil>.dat, BASE<disp>.dat and BASE.dat (both sexes, the philopatric\n"
      "first in each sample), where BASE is the file's name without its folder and its last four characters;\n"
      "the observed values and P-values go to BASE.res and the value of each test after each permutation to\n"
      "BASE.per. All five are written in the working directory and replace files of those names.\n"
      "Example: torvi dispersal --perm 1000 --tests assign-t,assign-var,fst --two-sided bats.gen");
}

int DispersalCommand::execute() {
  TerminalHost host(ExistingResult::append, args_.quiet);
  if (!letters_usable(host, args_)) return kExitUsage;
  DispersalSettings settings;
  settings.input = args_.file;
  settings.phil_letter = args_.phil[0];
  settings.disp_letter = args_.disp[0];
  settings.permutations = args_.permutations;
  settings.tests = *parse_tests(args_.tests);
  settings.two_sided = args_.two_sided;
  settings.threads = args_.threads;
  Rng rng;
  if (!prepare_seeds(host, rng, args_)) return kExitUsage;
  const DispersalOutcome out = run_dispersal_tests(host, rng, settings, kSeedsFileName);
  note_skipped(host, out);
  if (out.status == DispersalOutcome::Status::cancelled) return kExitStopped;
  return out.status == DispersalOutcome::Status::done && !host.any_error() ? 0 : kExitFailed;
}

}  // namespace torvi::cli
