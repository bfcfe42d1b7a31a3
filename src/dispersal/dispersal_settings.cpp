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
  Json doc = settings_head(kDispersalPage);
  doc.update(dispersal_settings_json(s.settings));
  doc["seeds"] = s.seeds ? seeds_json(*s.seeds) : Json();
  return doc;
}

DispersalSettingsFile parse_dispersal_settings(const Json& doc) {
  expect_settings_head(doc, kDispersalPage);
  refuse_unknown_keys(
      doc, {"format", "format_version", "page", "input", "phil", "disp", "permutations", "tests", "two_sided", "seeds"},
      "");
  DispersalSettingsFile s;
  DispersalSettings& st = s.settings;
  const Json input = doc.value("input", Json(""));
  if (!input.is_string()) throw SettingsError("input: expected the path of a .gen file");
  st.input = input.get<std::string>();
  st.phil_letter = read_letter(doc, "phil", kDefaultPhilLetter);
  st.disp_letter = read_letter(doc, "disp", kDefaultDispLetter);
  if (auto problem = sex_letters_problem(st.phil_letter, st.disp_letter)) throw SettingsError("phil, disp: " + *problem);
  const Json perm = doc.value("permutations", Json(kDispersalMinPermutations));
  if (!perm.is_number_integer() || perm.get<int64_t>() < kDispersalMinPermutations ||
      perm.get<int64_t>() > kDispersalMaxPermutations)
    throw SettingsError("permutations: expected a number in " + std::to_string(kDispersalMinPermutations) + ".." +
                        std::to_string(kDispersalMaxPermutations));
  st.permutations = static_cast<int32_t>(perm.get<int64_t>());
  if (doc.contains("tests")) st.tests = read_named_flags(doc["tests"], "tests", kDispersalTestNames);
  const Json two_sided = doc.value("two_sided", Json(false));
  if (!two_sided.is_boolean()) throw SettingsError("two_sided: expected true or false");
  st.two_sided = two_sided.get<bool>();
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
