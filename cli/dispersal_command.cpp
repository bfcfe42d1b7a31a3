#include "cli/dispersal_command.h"

#include <iostream>
#include <optional>
#include <sstream>

#include "cli/command_line.h"
#include "cli/command_stream.h"
#include "cli/dispersal_settings_option.h"
#include "cli/stop_signals.h"
#include "cli/terminal_host.h"
#include "torvi/dispersal.h"
#include "torvi/seeds.h"

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
  app->add_option("file", a.file, "The sex-labelled genotype file (.gen)");
  app->add_option("--phil", a.phil, "Letter for the most philopatric group (default F)")->check(one_letter());
  app->add_option("--disp", a.disp, "Letter for the other group (default M)")->check(one_letter());
  app->add_option("--perm", a.permutations,
                  "Number of permutations (100..10000), the observed data counted as one: N - 1 are drawn")
      ->check(CLI::Range(kDispersalMinPermutations, kDispersalMaxPermutations));
  app->add_option("--tests", a.tests, tests_help())->check(CLI::Validator(
      [](std::string& s) { return parse_tests(s) ? std::string() : "unknown test in \"" + s + "\""; }, "TESTS"));
  app->add_flag("--two-sided", a.two_sided, "Two sided test (default: one sided test)");
  add_json_flag(app, a.json, "BASE.res.torvi.json beside BASE.res", "Run");
  add_dispersal_settings_option(app, a.settings);
  add_stream_options(app, a.seeds, a.threads, a.quiet, "Run");
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

void note_skipped(Host& host, const DispersalOutcome& out) {
  for (const std::string& line : skipped_records(out)) host.note(line);
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
  if (!apply_dispersal_settings(*app_, args_.settings, args_)) return kExitUsage;
  install_stop_signals();
  TerminalHost host(ExistingResult::append, args_.quiet, stop_signalled);
  if (!letters_usable(host, args_)) return kExitUsage;
  DispersalSettings settings;
  settings.input = args_.file;
  settings.phil_letter = args_.phil[0];
  settings.disp_letter = args_.disp[0];
  settings.permutations = args_.permutations;
  settings.tests = *parse_tests(args_.tests);
  settings.two_sided = args_.two_sided;
  settings.threads = args_.threads;
  settings.results_document = results_document_if(args_.json, "dispersal");
  CommandStream stream;
  if (!stream.open(host, args_.seeds)) return kExitUsage;
  const DispersalOutcome out = run_dispersal_tests(host, stream.rng, settings, kSeedsFileName);
  note_skipped(host, out);
  if (out.status == DispersalOutcome::Status::cancelled) return kExitStopped;
  return out.status == DispersalOutcome::Status::done && !host.any_error() ? 0 : kExitFailed;
}

}  // namespace torvi::cli
