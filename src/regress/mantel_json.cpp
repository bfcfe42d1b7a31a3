#include "regress/mantel_json.h"

namespace torvi::regress {

namespace {

constexpr const char* kNoVariance = "the dependent variable has no variance";

std::string trimmed(const std::string& s) {
  const size_t b = s.find_first_not_of(' ');
  return b == std::string::npos ? std::string() : s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// A counter (the observed data set among it) as a P-value of the document.
Json p_value(int64_t count, int randomisations) {
  return json_p_value(counter_p_value(count, randomisations), count - 1, randomisations);
}

}  // namespace

std::optional<ResultsDocument> mantel_document(const MantelRequest& q, const Rng& rng) {
  if (!q.results_document || q.output_path.empty()) return std::nullopt;
  CommandRecord command = *q.results_document;
  command.settings = {{"dependent", q.dependent},         {"explanatory", q.explanatory},
                      {"randomisations", q.randomisations}, {"distance", q.distance},
                      {"output", q.output_path},            {"residuals", q.residuals_path}};
  std::optional<ResultsDocument> doc(std::in_place, command, run_clock(), rng, q.output_path);
  Json names = Json::array();
  for (const std::string& n : q.header.names) names.push_back(trimmed(n));
  doc->set_data({{"input", q.input_path},
                 {"title", q.header.title},
                 {"rows", q.header.rows},
                 {"variables", q.header.variables},
                 {"names", std::move(names)},
                 {"objects", q.header.objects}});
  return doc;
}

void add_observed_fit(ResultsDocument& doc, const std::vector<std::string>& expl_names, const Fit& observed,
                      float sst) {
  Json rows = Json::array({Json::array({"Variable", "(Partial) Corr.", "Beta", "SS"})});
  for (size_t k = 0; k < expl_names.size(); ++k)
    rows.push_back({trimmed(expl_names[k]),
                    json_real_or_na(partial_correlation(observed.ss[k], observed.beta[k], sst), kNoVariance),
                    json_real(observed.beta[k]), json_real(observed.ss[k])});
  doc.add_section("observed", section_json("Correlation (Partial if # expl. variables > 1), Coefficient (Beta) "
                                           "and Sum of squares (SS) for the observed data",
                                           std::move(rows)));
  Json fit = Json::array({Json::array({"Total sum of squares", json_real(sst)}),
                          Json::array({"Error sum of squares", json_real(observed.rss)}),
                          Json::array({"R_squared (percent)",
                                       json_real_or_na(percent_explained(sst, observed.rss), kNoVariance)})});
  doc.add_section("fit", section_json("Sums of squares and the variance explained by the model", std::move(fit)));
}

void add_mantel_p_values(ResultsDocument& doc, const std::vector<std::string>& expl_names, const Counts& counts,
                         int randomisations) {
  Json rows = Json::array({Json::array({"Variable", "P(Beta)", "P(SS)"})});
  for (size_t k = 0; k < expl_names.size(); ++k)
    rows.push_back(
        {trimmed(expl_names[k]), p_value(counts.beta[k], randomisations), p_value(counts.ss[k], randomisations)});
  rows.push_back({"Error sum of squares", p_value(counts.err, randomisations)});
  doc.add_section("p_values", section_json("P-value for absolute regression coefficients (2-sided) P(Beta) and "
                                           "p-value for extra sums of squares P(SS)",
                                           std::move(rows)));
}

}  // namespace torvi::regress
