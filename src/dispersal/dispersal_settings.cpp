// Settings files of the window of the tests for sex-biased dispersal.

#include "torvi/dispersal.h"
#include "util/output_file.h"

namespace torvi {

namespace {

constexpr const char* kDispersalPage = "dispersal";

char read_letter(const Json& doc, const char* key, char initial) {
  if (!doc.contains(key)) return initial;
  const Json& v = doc[key];
  if (!v.is_string() || v.get<std::string>().size() != 1)
    throw SettingsError(std::string(key) + ": expected one letter");
  return v.get<std::string>()[0];
}

}  // namespace

Json dispersal_settings_json(const DispersalSettings& st) {
  Json tests = Json::array();
  for (size_t i = 0; i < st.tests.size(); ++i)
    if (st.tests[i]) tests.push_back(kDispersalTestNames[i]);
  return {{"input", st.input},
          {"phil", std::string(1, st.phil_letter)},
          {"disp", std::string(1, st.disp_letter)},
          {"permutations", st.permutations},
          {"tests", std::move(tests)},
          {"two_sided", st.two_sided}};
}

Json dispersal_settings_document(const DispersalSettingsFile& s) {
  Json body = dispersal_settings_json(s.settings);
  body["json"] = s.json;
  return settings_document(kDispersalPage, body, s.seeds);
}

DispersalSettingsFile parse_dispersal_settings(const Json& doc) {
  expect_settings_head(doc, kDispersalPage);
  refuse_unknown_keys(doc,
                      {"format", "format_version", "page", "input", "phil", "disp", "permutations", "tests",
                       "two_sided", "json", "seeds"},
                      "");
  DispersalSettingsFile s;
  DispersalSettings& st = s.settings;
  const Json input = doc.value("input", Json(""));
  if (!input.is_string()) throw SettingsError("input: expected the path of a .gen file");
  st.input = input.get<std::string>();
  st.phil_letter = read_letter(doc, "phil", kDefaultPhilLetter);
  st.disp_letter = read_letter(doc, "disp", kDefaultDispLetter);
  if (auto problem = sex_letters_problem(st.phil_letter, st.disp_letter)) throw SettingsError("phil, disp: " + *problem);
  st.permutations = read_settings_count(doc, "permutations", kDispersalMinPermutations, kDispersalMinPermutations,
                                        kDispersalMaxPermutations);
  if (doc.contains("tests")) st.tests = read_named_flags(doc["tests"], "tests", kDispersalTestNames);
  st.two_sided = read_settings_flag(doc, "two_sided", false);
  s.json = read_settings_flag(doc, "json", false);
  if (doc.contains("seeds")) s.seeds = read_settings_seeds(doc["seeds"]);
  return s;
}

void write_dispersal_settings_file(const std::string& path, const DispersalSettingsFile& s) {
  write_file_atomically(path, json_text(dispersal_settings_document(s)));
}

DispersalSettingsFile read_dispersal_settings_file(const std::string& path) {
  return read_settings_file(path, parse_dispersal_settings);
}

}  // namespace torvi
