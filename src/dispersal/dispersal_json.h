#pragma once

#include <optional>
#include <string>

#include "dispersal/dispersal_report.h"
#include "dispersal/observed_pass.h"
#include "dispersal/permutation_driver.h"
#include "json/results_document.h"

namespace torvi::dispersal {

// The results document of the tests when the settings ask for one, beside
// the ".res" file (BASE.res.torvi.json): the command with the tests'
// settings, the seeds at start, the input file as its data.
std::optional<ResultsDocument> dispersal_document(const DispersalSettings& settings, const Rng& rng,
                                                  const std::string& res_path);

// What the ".res" file shows of the observed data: "set_statistics" (each
// sex's set and both) when a set statistic is ticked, "assignment" when an
// assignment test is.
void add_observed_sets(ResultsDocument& doc, const TestChoice& choice, const ObservedData& obs, char phil_letter,
                       char disp_letter);

// "p_values": each ticked test's P-value with its count and N.
void add_dispersal_p_values(ResultsDocument& doc, const TestChoice& choice, const PValues& p,
                            const PermutationCounts& counts, int32_t permutations);

}  // namespace torvi::dispersal
