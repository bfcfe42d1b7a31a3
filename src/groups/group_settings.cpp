#include "groups/group_json.h"
#include "model/limits.h"
#include "torvi/groups.h"
#include "util/output_file.h"

namespace torvi {

namespace {

constexpr const char* kGroupsPage = "groups";

std::vector<std::vector<int>> read_groups(const Json& value) {
  const std::string range = std::to_string(kMinGroups) + " to " + std::to_string(kMaxGroups);
  if (!value.is_array() || value.size() < kMinGroups || value.size() > kMaxGroups)
    throw SettingsError("groups: expected " + range + " lists of sample numbers");
  std::vector<std::vector<int>> groups;
  for (size_t g = 0; g < value.size(); ++g) {
    const std::string key = "groups." + std::to_string(g + 1);
    auto members = read_number_list(value[g], key, NPMax, kMinGroupMembers);
    if (!members) throw SettingsError(key + ": expected a list of sample numbers");
    groups.push_back(std::move(*members));
  }
  return groups;
}

}  // namespace

Json group_settings_document(const GroupSettingsFile& s) {
  Json body = group_comparison_json(s.comparison);
  body["json"] = s.json;
  return settings_document(kGroupsPage, body, s.seeds);
}

GroupSettingsFile parse_group_settings(const Json& doc) {
  expect_settings_head(doc, kGroupsPage);
  refuse_unknown_keys(
      doc, {"format", "format_version", "page", "groups", "statistics", "permutations", "one_sided", "json", "seeds"},
      "");
  GroupSettingsFile s;
  GroupComparison& c = s.comparison;
  if (!doc.contains("groups")) throw SettingsError("groups: missing");
  c.groups = read_groups(doc["groups"]);
  if (doc.contains("statistics")) c.statistics = read_named_flags(doc["statistics"], "statistics", kGroupStatisticNames);
  c.permutations = read_settings_count(doc, "permutations", 0, 1, kMaxGroupPermutations);
  c.one_sided = read_settings_flag(doc, "one_sided", false);
  if (c.one_sided && c.groups.size() != 2) throw SettingsError("one_sided: the one-sided test compares two groups");
  s.json = read_settings_flag(doc, "json", false);
  if (doc.contains("seeds")) s.seeds = read_settings_seeds(doc["seeds"]);
  return s;
}

void write_group_settings_file(const std::string& path, const GroupSettingsFile& s) {
  write_file_atomically(path, json_text(group_settings_document(s)));
}

GroupSettingsFile read_group_settings_file(const std::string& path) {
  return read_settings_file(path, parse_group_settings);
}

}  // namespace torvi
