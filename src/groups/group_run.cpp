#include <algorithm>
#include <filesystem>

#include "data/label_file.h"
#include "groups/group_json.h"
#include "groups/group_report.h"
#include "groups/group_samples.h"
#include "groups/group_test.h"
#include "stats/wc_components.h"
#include "util/output_file.h"
#include "run/file_walk.h"
#include "run/run_driver.h"
#include "torvi/groups.h"

namespace torvi {

namespace {

constexpr const char* kGroupResultSuffix = "_test.out";
constexpr const char* kBreak = "\n\r";
// The two parts of a comparison's result, as the progress display and a
// stopped comparison's last line name them.
constexpr const char* kObservedSection = "Statistics of the groups";
constexpr const char* kPermutationSection = "Permutations of samples among groups";
constexpr int kSections = 2;

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

// Labels of the analysed file's samples: the label file's, moved with the
// kept samples, or "pop" and the sample number.
void set_sample_labels(bool label_file_checked, DataSet& ds) {
  if (label_file_checked) return;
  for (int s = 1; s <= ds.np; ++s) ds.sample_names[s] = ("pop" + std::to_string(s)).substr(0, kLabelLength);
}

// The comparison on one data set read: observed groups, permutations,
// P-values, each part appended to the result file as it is done.
void compare_in_data_set(Host& host, Rng& rng, const GroupRunSettings& settings, Analysis& an,
                         const std::string& result_name, ResultsDocument* doc) {
  const GroupComparison& c = settings.comparison;
  wc_components(an.ct, an.wc, 1, an.ds.np, TablesOf::observed);  // the tables now hold frequencies
  const bool richness = c.statistics[static_cast<int>(GroupStatistic::allelic_richness)];
  const GroupSamples samples(an.ct, richness);
  GroupTest test(samples, c);
  if (richness && !samples.has_richness())
    host.note("Allelic richness is NA for " + file_name_of(an.base_name) +
              ".dat: at least one locus in one sample has no genotyped individual.");
  host.show_section(kObservedSection, 1, kSections);
  observe_groups(samples, c, test);
  append_section(result_name, group_section_text(c, test, an.ds.sample_names));
  if (doc) add_observed_groups(*doc, c, test, an.ds.sample_names);
  host.show_section(kPermutationSection, 2, kSections);
  try {
    count_permutations(host, rng, samples, c, settings.threads, test);
  } catch (const RunCancelled&) {
    mark_cancelled(host, result_name, kPermutationSection);
    throw;
  }
  append_section(result_name, p_value_section_text(c, test));
  if (doc) add_group_p_values(*doc, c, test);
}

}  // namespace

RunOutcome compare_groups(Host& host, Rng& rng, const GroupRunSettings& settings, const std::string& seeds_path) {
  const FileWalk walk{settings.file_list, settings.selection, settings.label_file_checked, kGroupResultSuffix, {}};
  return walk_data_files(host, rng, walk, seeds_path, [&](Analysis& an, const std::string& result_name) {
    set_sample_labels(settings.label_file_checked, an.ds);
    if (const std::string problem = group_comparison_problem(settings.comparison, an.ds.np); !problem.empty()) {
      host.show_error("Groups cannot be compared in " + file_name_of(an.data_path) + "." + kBreak + problem);
      return false;
    }
    write_result_header(result_name, an.base_name);
    std::optional<ResultsDocument> doc = group_document(settings, rng, an, result_name);
    ResultsDocument* const document = doc ? &*doc : nullptr;
    with_document(document, rng, [&] {
      compare_in_data_set(host, rng, settings, an, result_name, document);
      return ResultsStatus::complete;
    });
    return true;
  });
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
