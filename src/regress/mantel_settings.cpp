// Settings files of the regression window.

#include <set>

#include "torvi/regress.h"

namespace torvi::regress {

namespace {

constexpr const char* kMantelPage = "mantel";

std::string read_path(const Json& doc, const char* key) {
  const Json v = doc.value(key, Json(""));
  if (!v.is_string()) throw SettingsError(std::string(key) + ": expected the path of a file (or \"\" for none)");
  return v.get<std::string>();
}

int read_variable(const Json& v, const std::string& key) {
  if (!v.is_number_integer() || v.get<int64_t>() < 1 || v.get<int64_t>() > kMaxVariables)
    throw SettingsError(key + ": " + v.dump() + " is not a variable number in 1.." + std::to_string(kMaxVariables));
  return static_cast<int>(v.get<int64_t>());
}

// The model, each variable used once; the explanatory ones keep their order.
void read_model(const Json& doc, MantelSettingsFile& s) {
  const Json dep = doc.value("dependent", Json());
  if (!dep.is_null()) s.dependent = read_variable(dep, "dependent");
  const Json expl = doc.value("explanatory", Json::array());
  if (!expl.is_array()) throw SettingsError("explanatory: expected a list of variable numbers");
  std::set<int> seen{s.dependent};
  for (const Json& v : expl) {
    const int k = read_variable(v, "explanatory");
    if (!seen.insert(k).second)
      throw SettingsError("explanatory: variable " + std::to_string(k) + " is used twice (or is the dependent one)");
    s.explanatory.push_back(k);
  }
}

}  // namespace

Json mantel_settings_document(const MantelSettingsFile& s) {
  const Json body = {{"input", s.input},
                     {"output", s.output},
                     {"dependent", s.dependent > 0 ? Json(s.dependent) : Json()},
                     {"explanatory", s.explanatory},
                     {"randomisations", s.randomisations},
                     {"distance", s.distance},
                     {"save_residuals", s.save_residuals},
                     {"json", s.json}};
  return settings_document(kMantelPage, body, s.seeds);
}

MantelSettingsFile parse_mantel_settings(const Json& doc) {
  expect_settings_head(doc, kMantelPage);
  refuse_unknown_keys(doc,
                      {"format", "format_version", "page", "input", "output", "dependent", "explanatory",
                       "randomisations", "distance", "save_residuals", "json", "seeds"},
                      "");
  MantelSettingsFile s;
  s.input = read_path(doc, "input");
  s.output = read_path(doc, "output");
  read_model(doc, s);
  s.randomisations = read_settings_count(doc, "randomisations", kDefaultRandomisations, kMinRandomisations,
                                         kMaxRandomisations);
  s.distance = read_settings_flag(doc, "distance", false);
  s.save_residuals = read_settings_flag(doc, "save_residuals", false);
  s.json = read_settings_flag(doc, "json", false);
  if (doc.contains("seeds")) s.seeds = read_settings_seeds(doc["seeds"]);
  return s;
}

void write_mantel_settings_file(const std::string& path, const MantelSettingsFile& s) {
  write_file_atomically(path, json_text(mantel_settings_document(s)));
}

MantelSettingsFile read_mantel_settings_file(const std::string& path) {
  return read_settings_file(path, parse_mantel_settings);
}

std::string mantel_settings_problem(const MantelSettingsFile& s, const ColumnHeader& header) {
  const auto beyond = [&](int k) {
    return "variable " + std::to_string(k) + " is beyond the " + std::to_string(header.variables) +
           " variables of " + s.input;
  };
  if (s.dependent > header.variables) return "dependent: " + beyond(s.dependent);
  for (int k : s.explanatory)
    if (k > header.variables) return "explanatory: " + beyond(k);
  if (s.distance && header.objects == 0)
    return "distance: the " + std::to_string(header.rows) + " rows of " + s.input +
           " are not the lower triangle of a distance matrix";
  return {};
}

}  // namespace torvi::regress
