#include "cli/groups_command.h"

#include <algorithm>
#include <iostream>

#include "cli/command_line.h"
#include "cli/command_stream.h"
#include "cli/number_list.h"
#include "cli/stop_signals.h"
#include "cli/terminal_host.h"
#include "torvi/seeds.h"

namespace torvi::cli {

namespace {

constexpr int kExitFailed = 1, kExitUsage = 2, kExitStopped = 3;
constexpr std::array<const char*, kGroupStatistics> kStatisticNames = {"ar", "ho", "hs", "fis", "fst", "rel", "relc"};

std::vector<std::string> split(const std::string& text, char sep) {
  std::vector<std::string> out;
  size_t start = 0;
  for (size_t at; (at = text.find(sep, start)) != std::string::npos; start = at + 1)
    out.push_back(text.substr(start, at - start));
  out.push_back(text.substr(start));
  return out;
}

std::string trimmed(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t");
  return b == std::string::npos ? std::string() : s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

}  // namespace

std::optional<std::vector<std::vector<int>>> parse_groups(const std::string& text, std::string& error) {
  std::vector<std::vector<int>> groups;
  for (const std::string& item : split(text, ';')) {
    const std::string group = "group " + std::to_string(groups.size() + 1);
    auto members = parse_number_list(item, error);
    if (!members) {
      error = group + ": " + error;
      return std::nullopt;
    }
    std::sort(members->begin(), members->end());
    if (std::adjacent_find(members->begin(), members->end()) != members->end()) {
      error = group + " names a sample twice";
      return std::nullopt;
    }
    if (static_cast<int>(members->size()) < kMinGroupMembers) {
      error = group + " holds fewer than " + std::to_string(kMinGroupMembers) + " samples";
      return std::nullopt;
    }
    groups.push_back(std::move(*members));
  }
  if (static_cast<int>(groups.size()) < kMinGroups || static_cast<int>(groups.size()) > kMaxGroups) {
    error = "define " + std::to_string(kMinGroups) + " to " + std::to_string(kMaxGroups) + " groups, separated by ';'";
    return std::nullopt;
  }
  return groups;
}

std::optional<std::array<bool, kGroupStatistics>> parse_statistics(const std::string& text, std::string& error) {
  std::array<bool, kGroupStatistics> ticked{};
  for (const std::string& raw : split(text, ',')) {
    const std::string item = trimmed(raw);
    int found = -1;
    for (int i = 0; i < kGroupStatistics; ++i)
      if (item == kStatisticNames[i] || item == std::to_string(i)) found = i;
    if (found < 0) {
      error = "\"" + item + "\" is not a statistic: 0..6 or ar, ho, hs, fis, fst, rel, relc";
      return std::nullopt;
    }
    ticked[found] = true;
  }
  return ticked;
}

GroupsCommand::GroupsCommand(CLI::App& app) {
  app_ = app.add_subcommand("groups", "Comp. among groups of samples: the second page of the main window");
  app_->add_option("files", args_.files, "Data files (.dat); each gets a result file FILE_test.out beside it")
      ->required();
  const char* page = "Comp. among groups of samples";
  app_->add_option("--groups", args_.groups,
                   "Define groups: the samples of each group, groups separated by ';' and samples by ',' (ranges "
                   "like 1-4 accepted), e.g. \"1,2,5;3,4\". 2 to 12 groups of at least 2 samples each, together "
                   "no more than the samples of the file; numbered as in the file analysed (after --samples)")
      ->required()
      ->group(page);
  app_->add_option("--stats", args_.statistics,
                   "Statistics to compare among groups: 0 or ar = Allelic Richness, 1 or ho = Obs. heterozygosity "
                   "HO, 2 or hs = Gene diversity HS, 3 or fis = FIS, 4 or fst = FST, 5 or rel = Relatedness, 6 or "
                   "relc = Corrected Relatedness; e.g. 0,1,2 or ar,fst (default: none)")
      ->group(page);
  app_->add_option("--perm", args_.permutations,
                   "Number of permutations, 1..15000: whole samples are permuted among the groups N - 1 times, "
                   "the observed groups counting as one; P = (number at least as large + 1) / N")
      ->required()
      ->check(CLI::Range(1, static_cast<int>(kMaxGroupPermutations)))
      ->group(page);
  app_->add_flag("--one-sided", args_.one_sided,
                 "Type of tests for two groups: one sided (H1:G1>G2) instead of two sided (two groups only)")
      ->group(page);
  add_selection_options(app_, args_.selection);
  const char* run = "Run";
  app_->add_option("--existing", args_.existing,
                   "When a result file FILE_test.out exists: append the new results after the old (default) or "
                   "skip the file (a skipped file counts as not compared: exit status 1)")
      ->check(CLI::IsMember({"append", "skip"}))
      ->group(run);
  add_json_flag(app_, args_.json, "FILE_test.torvi.json beside each result file", run);
  add_stream_options(app_, args_.seeds, args_.threads, args_.quiet, run);
  app_->footer(
      "Two groups tested two sided, and three or more, compare the sum over pairs of groups of the squared\n"
      "differences of a statistic; one sided, the first group's value less the second's.\n"
      "Example: torvi groups --groups \"1-5;6-11;12-17\" --stats ar,ho,hs,fis,fst --perm 1000 nancycats.dat");
}

// The comparison the options define, checked against the first line of every
// data file (groups are numbered as in the file analysed, after --samples).
// False after a message on standard error.
bool GroupsCommand::prepare(GroupRunSettings& settings) const {
  std::string error;
  auto groups = parse_groups(args_.groups, error);
  if (!groups) {
    std::cerr << "torvi: --groups: " << error << '\n';
    return false;
  }
  std::array<bool, kGroupStatistics> ticked{};
  if (!args_.statistics.empty()) {
    auto parsed = parse_statistics(args_.statistics, error);
    if (!parsed) {
      std::cerr << "torvi: --stats: " << error << '\n';
      return false;
    }
    ticked = *parsed;
  }
  settings.comparison = {std::move(*groups), ticked, args_.permutations, args_.one_sided};
  settings.file_list = args_.files;
  settings.threads = args_.threads;
  settings.results_document = results_document_if(args_.json, "groups");
  if (!build_selection(args_.selection, args_.files, settings.selection, settings.label_file_checked)) return false;
  for (int np : samples_analysed(settings.selection, args_.files)) {
    if (const std::string problem = group_comparison_problem(settings.comparison, np); !problem.empty()) {
      std::cerr << "torvi: " << plain_lines(problem) << '\n';
      return false;
    }
  }
  return true;
}

int GroupsCommand::execute() {
  GroupRunSettings settings;
  if (!prepare(settings)) return kExitUsage;
  install_stop_signals();
  TerminalHost host(args_.existing == "skip" ? ExistingResult::skip : ExistingResult::append, args_.quiet,
                    stop_signalled);
  CommandStream stream;
  if (!stream.open(host, args_.seeds)) return kExitUsage;
  const RunOutcome outcome = compare_groups(host, stream.rng, settings, kSeedsFileName);
  if (outcome.cancelled) return kExitStopped;
  const bool all_done = outcome.files_failed == 0 && outcome.files_skipped == 0 && outcome.seeds_saved;
  return all_done && !host.any_error() ? 0 : kExitFailed;
}

}  // namespace torvi::cli
