#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "groups/group_test.h"
#include "json/results_document.h"
#include "model/analysis.h"

namespace torvi {

// Names of the statistics in documents and settings files: the result
// file's labels.
inline constexpr std::array<const char*, kGroupStatistics> kGroupStatisticNames = {
    "Allelic Richness", "Ho", "Hs", "Fis", "Fst", "Rel", "Relc"};

// The results document of one data file's comparison when the settings ask
// for one: the command with the comparison as its settings, the seeds at
// start, the data file's summary.
std::optional<ResultsDocument> group_document(const GroupRunSettings& settings, const Rng& rng, const Analysis& an,
                                              const std::string& result_name);

// The comparison as a results document records it (command.settings):
// groups, statistics, permutations, one_sided.
Json group_comparison_json(const GroupComparison& comparison);

// The observed part of a comparison: "group_samples" (each group's sample
// labels) and "group_statistics" (a row of the ticked statistics' names,
// then each group's values).
void add_observed_groups(ResultsDocument& doc, const GroupComparison& comparison, const GroupTest& test,
                         const std::vector<std::string>& sample_names);

// "p_values": each ticked statistic's P-value with its count and N.
void add_group_p_values(ResultsDocument& doc, const GroupComparison& comparison, const GroupTest& test);

}  // namespace torvi
