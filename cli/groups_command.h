#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/selection_options.h"
#include "torvi/groups.h"

namespace torvi::cli {

// The options of `torvi groups` as given on the command line.
struct GroupsArgs {
  std::vector<std::string> files;
  std::string groups;
  std::string statistics;
  int32_t permutations = 0;
  bool one_sided = false;
  bool json = false;
  SelectionArgs selection;
  std::vector<int64_t> seeds;
  std::string existing = "append";
  int threads = 1;
  bool quiet = false;
};

// Groups written "1,2,5;3,4": ';' between groups, ',' between samples,
// ranges like 1-4. Each group's members come back ascending. Nothing, with
// `error` saying why, for a group of fewer than 2 samples, a sample named
// twice in one group, or fewer than 2 or more than 12 groups.
std::optional<std::vector<std::vector<int>>> parse_groups(const std::string& text, std::string& error);

// Statistics written by number (0..6) or name (ar, ho, hs, fis, fst, rel,
// relc), separated by ','.
std::optional<std::array<bool, kGroupStatistics>> parse_statistics(const std::string& text, std::string& error);

// `torvi groups`: the second page of the main window.
class GroupsCommand {
 public:
  explicit GroupsCommand(CLI::App& app);
  bool chosen() const { return app_->parsed(); }
  // Runs the command; returns the exit status (0 every file compared, 1 a
  // file not compared, 2 a usage error, 3 stopped).
  int execute();

 private:
  bool prepare(GroupRunSettings& settings) const;

  CLI::App* app_;
  GroupsArgs args_;
};

}  // namespace torvi::cli
