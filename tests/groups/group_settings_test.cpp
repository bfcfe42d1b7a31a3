// Settings files of the page "Comp. among groups of samples".
#include <gtest/gtest.h>

#include "support/json_schema.h"
#include "torvi/groups.h"

namespace torvi {
namespace {

// The message of the SettingsError `doc` raises, or "accepted".
std::string refusal(const std::string& doc) {
  try {
    parse_group_settings(Json::parse(doc));
  } catch (const SettingsError& e) {
    return e.what();
  }
  return "accepted";
}

TEST(GroupSettings, RoundTripFollowsTheSchema) {
  GroupSettingsFile s;
  s.comparison = {{{1, 2, 5}, {3, 4}}, {true, false, false, false, true, false, true}, 1000, true};
  s.seeds = Rng(12345, 67890);
  s.json = true;
  const std::string text = json_text(group_settings_document(s));
  EXPECT_EQ(testing::schema_problems(text), std::vector<std::string>{}) << text;
  const GroupSettingsFile back = parse_group_settings(Json::parse(text));
  EXPECT_EQ(back.comparison.groups, s.comparison.groups);
  EXPECT_EQ(back.comparison.statistics, s.comparison.statistics);
  EXPECT_EQ(back.comparison.permutations, 1000);
  EXPECT_TRUE(back.comparison.one_sided);
  EXPECT_TRUE(back.json);
  EXPECT_EQ(back.seeds, s.seeds);
}

TEST(GroupSettings, RefusalsNameTheKey) {
  const std::string head = R"({"format": "torvi-settings", "format_version": 1, "page": "groups", )";
  EXPECT_NE(refusal(head + R"("groups": [[1,2],[3,4]], "permutations": 10, "perms": 3})").find("perms: unknown key"),
            std::string::npos);
  EXPECT_NE(refusal(head + R"("groups": [[1,2],[3,4]], "permutations": 15001})").find("permutations:"),
            std::string::npos);
  EXPECT_NE(refusal(head + R"("groups": [[1,2],[3,3]], "permutations": 10})").find("groups.2: a number is repeated"),
            std::string::npos);
  EXPECT_NE(refusal(head + R"("groups": [[1,2],[3,4],[5,6]], "permutations": 10, "one_sided": true})")
                .find("one_sided:"),
            std::string::npos);
  EXPECT_NE(refusal(head + R"("groups": [[1,2],[3,4]], "permutations": 10, "statistics": ["FST"]})")
                .find("statistics:"),
            std::string::npos);
  EXPECT_NE(refusal(head + R"("groups": [[1,2],[3,4]], "permutations": 10, "json": "yes"})").find("json:"),
            std::string::npos);
  EXPECT_NE(refusal(R"({"format": "torvi-settings", "format_version": 1, "page": "run"})").find("page:"),
            std::string::npos);
}

}  // namespace
}  // namespace torvi
