#include "dispersal/dispersal_json.h"

namespace torvi::dispersal {

namespace {

constexpr const char* kUndefined = "a zero denominator, or a set without the individuals it needs";

std::string trimmed(const std::string& s) {
  const size_t e = s.find_last_not_of(' ');
  return e == std::string::npos ? std::string() : s.substr(0, e + 1);
}

Json set_row(const std::string& who, const SetStatistics& s) {
  return {who,
          json_real_or_na(s.fis, kUndefined),
          json_real_or_na(s.fst, kUndefined),
          json_real_or_na(s.rel, kUndefined),
          json_real_or_na(s.ho, kUndefined),
          json_real_or_na(s.hs, kUndefined)};
}

Json sex_row(char letter, const SexAssignment& a) {
  return {std::string(1, letter), a.n, json_real_or_na(a.mean, kUndefined), json_real_or_na(a.var, kUndefined)};
}

}  // namespace

std::optional<ResultsDocument> dispersal_document(const DispersalSettings& st, const Rng& rng,
                                                  const std::string& res_path) {
  if (!st.results_document) return std::nullopt;
  CommandRecord command = *st.results_document;
  command.settings = dispersal_settings_json(st);
  std::optional<ResultsDocument> doc(std::in_place, command, run_clock(), rng, res_path);
  doc->set_data({{"input", st.input}});
  return doc;
}

void add_observed_sets(ResultsDocument& doc, const TestChoice& choice, const ObservedData& obs, char phil_letter,
                       char disp_letter) {
  if (choice.any_set_statistic()) {
    Json rows = Json::array({Json::array({"Set", "Fis", "Fst", "Relat", "Ho", "Hs"}),
                             set_row(std::string(1, phil_letter), obs.phil_stats),
                             set_row(std::string(1, disp_letter), obs.disp_stats),
                             set_row("overall", obs.pooled_stats)});
    doc.add_section("set_statistics", section_json("Statistics of each sex and of both", std::move(rows)));
  }
  if (choice.any_assignment() && obs.assignment_stats) {
    Json rows = Json::array({Json::array({"Sex", "NB", "mean assignment", "var assignment"}),
                             sex_row(phil_letter, obs.assignment_stats->phil),
                             sex_row(disp_letter, obs.assignment_stats->disp)});
    doc.add_section("assignment", section_json("Assignment indices of each sex", std::move(rows)));
  }
}

void add_dispersal_p_values(ResultsDocument& doc, const TestChoice& choice, const PValues& p,
                            const PermutationCounts& counts, int32_t permutations) {
  Json rows = Json::array();
  for (size_t i = 0; i < choice.ticked.size(); ++i) {
    if (!choice.ticked[i]) continue;
    rows.push_back({trimmed(kDispersalTestItems[i]),
                    p[i] ? json_p_value(*p[i], counts.at_least[i], permutations)
                         : json_na("the observed value is not defined (a zero denominator)")});
  }
  const std::string title = std::string("P-values of the ") + (choice.two_sided ? "two" : "one") +
                            " sided tests, based on " + std::to_string(permutations) + " randomisations";
  doc.add_section("p_values", section_json(title, std::move(rows)));
}

}  // namespace torvi::dispersal
