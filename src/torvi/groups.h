#pragma once

// Comparisons among groups of samples: what the command line and the desktop
// program see of them.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "data/selection.h"
#include "host/host.h"
#include "json/document.h"
#include "json/settings_file.h"
#include "random/rng.h"
#include "run/run_driver.h"

namespace torvi {

// The statistics compared among groups, in the order of every loop and of
// every line of the result file.
enum class GroupStatistic { allelic_richness, ho, hs, fis, fst, rel, relc };
inline constexpr int kGroupStatistics = 7;

// Items of "Statistics to compare among groups:", by statistic.
inline constexpr std::array<const char*, kGroupStatistics> kGroupStatisticItems = {
    "Allelic Richness", "Obs. heterozygosity HO", "Gene diversity HS", "FIS", "FST", "Relatedness",
    "Corrected Relatedness"};

inline constexpr int kMinGroups = 2;
inline constexpr int kMaxGroups = 12;
inline constexpr int kMinGroupMembers = 2;
inline constexpr int32_t kMaxGroupPermutations = 15000;

// One comparison as the page (or the command line) defines it.
struct GroupComparison {
  // Members of each group: sample numbers of the file analysed (after the
  // samples to use), ascending. G is the number of groups.
  std::vector<std::vector<int>> groups;
  std::array<bool, kGroupStatistics> statistics{};  // ticked items
  int32_t permutations = 0;  // N: the observed data count as one of them
  bool one_sided = false;    // two groups, "one sided (H1:G1>G2)"
};

struct GroupRunSettings {
  GroupComparison comparison;
  std::vector<std::string> file_list;  // data files, each ending in ".dat" (any case)
  Selection selection;                 // loci and samples to keep, sample labels
  bool label_file_checked = false;     // "Label file for pops"
  int threads = 1;                     // results never depend on it
  // When set, each result file gets its results document (BASE_test.torvi.json)
  // recording this command, the comparison as its settings.
  std::optional<CommandRecord> results_document;
};

// What keeps a comparison from running on a file of `np` samples: a message,
// or an empty text when it can run. Groups whose sizes add up to more than
// np, a member outside 1..np, fewer than 2 groups and N = 0 are refused.
std::string group_comparison_problem(const GroupComparison& comparison, int np);

// What a settings file holds for the page "Comp. among groups of samples":
// the groups (sample numbers of the file analysed), the ticked statistics,
// the permutations, the test type, the box "Also write a JSON file", and
// the seeds when asked for.
struct GroupSettingsFile {
  GroupComparison comparison;
  std::optional<Rng> seeds;
  bool json = false;  // "Also write a JSON file"
};

Json group_settings_document(const GroupSettingsFile& s);

// Throws SettingsError naming the key for an unknown key, a value of the
// wrong type or out of range (2..12 groups of at least 2 different samples,
// permutations 1..15000, one sided only with two groups), or a file of
// another page.
GroupSettingsFile parse_group_settings(const Json& doc);

// Replaced only once complete; OutputError names the file and the reason.
void write_group_settings_file(const std::string& path, const GroupSettingsFile& s);
// SettingsError names the file when it cannot be read or used.
GroupSettingsFile read_group_settings_file(const std::string& path);

// The Run of the page: one "_test.out" result file per data file, then the
// closing step (seeds saved to `seeds_path`, closing message).
RunOutcome compare_groups(Host& host, Rng& rng, const GroupRunSettings& settings, const std::string& seeds_path);

}  // namespace torvi
