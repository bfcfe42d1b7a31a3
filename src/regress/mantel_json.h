#pragma once

#include <optional>
#include <string>
#include <vector>

#include "json/results_document.h"
#include "regress/mantel_report.h"

namespace torvi::regress {

// The results document of a run when the request asks for one and names an
// output file (the document goes beside it): the command with the model as
// its settings, the seeds at start, the table's header as its data.
std::optional<ResultsDocument> mantel_document(const MantelRequest& request, const Rng& rng);

// "observed" (each explanatory variable's (partial) correlation, Beta and
// SS) and "fit" (total and error sums of squares, R_squared in percent).
void add_observed_fit(ResultsDocument& doc, const std::vector<std::string>& expl_names, const Fit& observed,
                      float sst);

// "p_values": P(Beta) and P(SS) of each explanatory variable and the P-value
// of the error sum of squares, with their counts and N.
void add_mantel_p_values(ResultsDocument& doc, const std::vector<std::string>& expl_names, const Counts& counts,
                         int randomisations);

}  // namespace torvi::regress
