#include <algorithm>
#include <filesystem>
#include <optional>
#include <stdexcept>

#include "groups/group_report.h"
#include "groups/group_samples.h"
#include "groups/group_test.h"
#include "random/seeds_file.h"
#include "report/output_file.h"
#include "report/report_text.h"
#include "randtests/wc_components.h"
#include "run/subset_file.h"
#include "run/data_set_lifecycle.h"
#include "torvi/groups.h"

namespace torvi {

namespace {

constexpr const char* kResultSuffix = "_test.out";
constexpr const char* kBreak = "\n\r";

std::string file_name_of(const std::string& path) { return std::filesystem::path(path).filename().string(); }

std::string group_name(size_t g) { return "Group " + std::to_string(g + 1); }

// Members of each group: at least two, none repeated, ascending.
std::string members_problem(const GroupComparison& c, int np) {
  size_t total = 0;
  for (size_t g = 0; g < c.groups.size(); ++g) {
    const std::vector<int>& m = c.groups[g];
    if (static_cast<int>(m.size()) < kMinGroupMembers)
      return group_name(g) + " holds fewer than " + std::to_string(kMinGroupMembers) + " samples.";
    if (!std::is_sorted(m.begin(), m.end()) || std::adjacent_find(m.begin(), m.end()) != m.end())
      return group_name(g) + " names a sample twice or out of order.";
    if (m.front() < 1 || m.back() > np)
      return group_name(g) + " holds sample " + std::to_string(m.front() < 1 ? m.front() : m.back()) +
             ", outside the " + std::to_string(np) + " samples of the data file.";
    total += m.size();
  }
  if (total > static_cast<size_t>(np))
    return "The groups hold " + std::to_string(total) + " samples in all, more than the " + std::to_string(np) +
           " samples of the data file: the permutations deal each sample to one group only.";
  return {};
}

enum class FileOutcome { done, failed, skipped };

std::string base_of(const std::string& entry) { return entry.substr(0, entry.size() >= 4 ? entry.size() - 4 : 0); }

void append(const std::string& path, const std::string& text) { append_section(path, text); }

// The result file: base name + "_test.out", created when missing; when it
// exists the save dialog proposes it and the results go after the old
// contents of the chosen file. Nothing when the user cancels.
std::optional<std::string> open_result_file(Host& host, const std::string& base_name) {
  std::string name = base_name + kResultSuffix;
  if (std::filesystem::exists(name)) {
    auto chosen = host.ask_result_file("File name for the RESULT file", name);
    if (!chosen) return std::nullopt;
    name = *chosen;
  }
  append(name, {});
  return name;
}

std::string banner(const std::string& base_name) {
  const std::string h = "*   The following results were generated the " + header_date_time_text() + " with " +
                        kApplicationTitle + " from file " + file_name_of(base_name) + ".dat. *";
  const std::string stars(h.size(), '*');
  return ReportText().line(stars).line(h).line(stars).str();
}

// Labels of the analysed file's samples: the label file's, moved with the
// kept samples, or "pop" and the sample number.
std::vector<std::string> sample_labels(const GroupRunSettings& settings, const SubsetFile& subset, int np) {
  std::vector<std::string> names = settings.label_file_checked ? subset.sample_names : std::vector<std::string>();
  names.resize(static_cast<size_t>(np) + 1);
  if (!settings.label_file_checked)
    for (int s = 1; s <= np; ++s) names[s] = ("pop" + std::to_string(s)).substr(0, 6);
  return names;
}

// The comparison on one data set read: observed groups, permutations,
// P-values, each part appended to the result file as it is done.
void compare_in_data_set(Host& host, Rng& rng, const GroupRunSettings& settings, Analysis& an,
                         const std::string& result_name) {
  const GroupComparison& c = settings.comparison;
  an.wc.wc_calls = 0;
  wc_components(an.ct, an.wc, 1, an.ds.np);  // the tables now hold frequencies
  const bool richness = c.statistics[static_cast<int>(GroupStatistic::allelic_richness)];
  const GroupSamples samples(an.ct, richness);
  GroupTest test(samples, c);
  if (richness && !samples.has_richness())
    host.note("Allelic richness is NA for " + file_name_of(an.base_name) +
              ".dat: at least one locus in one sample has no genotyped individual.");
  observe_groups(samples, c, test);
  append(result_name, group_section_text(c, test, an.ds.sample_names));
  count_permutations(host, rng, samples, c, settings.threads, test);
  append(result_name, p_value_section_text(c, test));
}

FileOutcome compare_in_file(Host& host, Rng& rng, const GroupRunSettings& settings, const std::string& entry,
                            std::string& last_base_name) {
  last_base_name = base_of(entry);
  const auto subset = select_subset(host, entry, last_base_name, settings.selection, settings.label_file_checked);
  if (!subset) return FileOutcome::failed;
  last_base_name = subset->base_name;
  host.show_caption("TORVI is Processing: " + file_name_of(subset->base_name) + ".dat");
  const auto result_name = open_result_file(host, subset->base_name);
  if (!result_name) return FileOutcome::skipped;
  Analysis an;
  an.base_name = subset->base_name;
  if (!create_data_set(host, subset->data_path, an)) return FileOutcome::failed;
  count_alleles(an.ds, an.ct);
  an.ds.sample_names = sample_labels(settings, *subset, an.ds.np);
  if (const std::string problem = group_comparison_problem(settings.comparison, an.ds.np); !problem.empty()) {
    host.show_error("Groups cannot be compared in " + file_name_of(subset->data_path) + "." + kBreak + problem);
    release_data_set(an);
    return FileOutcome::failed;
  }
  append(*result_name, banner(subset->base_name));
  compare_in_data_set(host, rng, settings, an, *result_name);
  release_data_set(an);
  return FileOutcome::done;
}

}  // namespace

RunOutcome compare_groups(Host& host, Rng& rng, const GroupRunSettings& settings, const std::string& seeds_path) {
  RunOutcome outcome;
  for (const std::string& entry : settings.file_list) {
    try {
      switch (compare_in_file(host, rng, settings, entry, outcome.last_base_name)) {
        case FileOutcome::done: ++outcome.files_done; break;
        case FileOutcome::failed: ++outcome.files_failed; break;
        case FileOutcome::skipped: ++outcome.files_skipped; break;
      }
    } catch (const RunCancelled&) {
      outcome.cancelled = true;
      break;
    }
  }
  save_seeds(rng, seeds_path);
  const std::string name = file_name_of(outcome.last_base_name) + ".dat";
  if (outcome.cancelled)
    host.show_info("Torvi run cancelled while processing" + std::string(kBreak) + name);
  else if (!settings.file_list.empty())
    host.show_info("Torvi finished processing data in " + std::string(kBreak) + name);
  return outcome;
}

std::string group_comparison_problem(const GroupComparison& c, int np) {
  const int g = static_cast<int>(c.groups.size());
  if (g < kMinGroups || g > kMaxGroups)
    return "Define " + std::to_string(kMinGroups) + " to " + std::to_string(kMaxGroups) + " groups.";
  if (c.one_sided && g != 2) return "The one-sided test compares two groups.";
  if (c.permutations < 1 || c.permutations > kMaxGroupPermutations)
    return "The number of permutations must lie in 1.." + std::to_string(kMaxGroupPermutations) +
           " (the observed groups count as one).";
  return members_problem(c, np);
}

}  // namespace torvi
