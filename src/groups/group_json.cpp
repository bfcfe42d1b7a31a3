#include "groups/group_json.h"

#include <array>

#include "data/data_summary.h"
#include "json/summary_json.h"

namespace torvi {

namespace {

constexpr const auto& kNames = kGroupStatisticNames;
constexpr const char* kNotCompared = "at least one locus in one sample has no genotyped individual";

std::string group_label(size_t g) { return "G" + std::to_string(g + 1); }

}  // namespace

std::optional<ResultsDocument> group_document(const GroupRunSettings& settings, const Rng& rng, const Analysis& an,
                                              const std::string& result_name) {
  if (!settings.results_document) return std::nullopt;
  CommandRecord command = *settings.results_document;
  command.settings = group_comparison_json(settings.comparison);
  std::optional<ResultsDocument> doc(std::in_place, command, run_clock(), rng, result_name);
  doc->set_data(data_summary_json(summarise_data_set(an.ds, an.data_path)));
  return doc;
}

Json group_comparison_json(const GroupComparison& c) {
  Json statistics = Json::array();
  for (int i = 0; i < kGroupStatistics; ++i)
    if (c.statistics[i]) statistics.push_back(kNames[i]);
  return {{"groups", c.groups},
          {"statistics", std::move(statistics)},
          {"permutations", c.permutations},
          {"one_sided", c.one_sided}};
}

void add_observed_groups(ResultsDocument& doc, const GroupComparison& c, const GroupTest& test,
                         const std::vector<std::string>& sample_names) {
  Json members = Json::array();
  Json head = Json::array({"Group"});
  for (int i = 0; i < kGroupStatistics; ++i)
    if (c.statistics[i]) head.push_back(kNames[i]);
  Json values = Json::array({std::move(head)});
  for (size_t g = 0; g < c.groups.size(); ++g) {
    Json m = Json::array({group_label(g)});
    for (int s : c.groups[g]) m.push_back(sample_names[static_cast<size_t>(s)]);
    members.push_back(std::move(m));
    Json row = Json::array({group_label(g)});
    for (int i = 0; i < kGroupStatistics; ++i)
      if (c.statistics[i]) row.push_back(test.compared[i] ? json_real(test.observed[g][i]) : json_na(kNotCompared));
    values.push_back(std::move(row));
  }
  doc.add_section("group_samples", section_json("Samples of each group", std::move(members)));
  doc.add_section("group_statistics", section_json("Statistics of each group", std::move(values)));
}

void add_group_p_values(ResultsDocument& doc, const GroupComparison& c, const GroupTest& test) {
  const bool one_sided = c.one_sided && c.groups.size() == 2;
  Json rows = Json::array();
  for (int i = 0; i < kGroupStatistics; ++i) {
    if (!c.statistics[i]) continue;
    const long double p = group_p_value(test, i, c.permutations);
    rows.push_back({kNames[i], test.compared[i] ? json_p_value(p, test.reached[i], c.permutations)
                                                : json_na(kNotCompared)});
  }
  const std::string title = std::string(one_sided ? "The one-sided P-values (G1>G2)" : "The two-sided P-values") +
                            " obtained after " + std::to_string(c.permutations) + " permutations";
  doc.add_section("p_values", section_json(title, std::move(rows)));
}

}  // namespace torvi
