// Settings files of the regression window.
#include <gtest/gtest.h>

#include "support/json_schema.h"
#include "torvi/regress.h"

namespace torvi::regress {
namespace {

std::string refusal(const std::string& members) {
  try {
    parse_mantel_settings(
        Json::parse(R"({"format": "torvi-settings", "format_version": 1, "page": "mantel")" + members + "}"));
  } catch (const SettingsError& e) {
    return e.what();
  }
  return "accepted";
}

// The model's order matters (each variable is tested given those before
// it): it must come back as saved, not sorted.
TEST(MantelSettingsFile, RoundTripKeepsTheModelOrderAndFollowsTheSchema) {
  MantelSettingsFile s;
  s.input = "/d/columns.txt";
  s.output = "/d/mantel.txt";
  s.dependent = 4;
  s.explanatory = {3, 1, 12};
  s.randomisations = 5000;
  s.distance = true;
  s.save_residuals = true;
  s.json = true;
  s.seeds = Rng(7, 8);
  const std::string text = json_text(mantel_settings_document(s));
  EXPECT_EQ(testing::schema_problems(text), std::vector<std::string>{}) << text;
  const MantelSettingsFile back = parse_mantel_settings(Json::parse(text));
  EXPECT_EQ(back.input, s.input);
  EXPECT_EQ(back.output, s.output);
  EXPECT_EQ(back.dependent, 4);
  EXPECT_EQ(back.explanatory, (std::vector<int>{3, 1, 12}));
  EXPECT_EQ(back.randomisations, 5000);
  EXPECT_TRUE(back.distance && back.save_residuals && back.json);
  EXPECT_EQ(back.seeds, s.seeds);

  // A window with nothing chosen yet saves a file that reads back the same.
  const std::string empty = json_text(mantel_settings_document(MantelSettingsFile{}));
  EXPECT_EQ(testing::schema_problems(empty), std::vector<std::string>{}) << empty;
  const MantelSettingsFile none = parse_mantel_settings(Json::parse(empty));
  EXPECT_EQ(none.dependent, 0);
  EXPECT_TRUE(none.explanatory.empty());
  EXPECT_EQ(none.randomisations, kDefaultRandomisations);
  EXPECT_FALSE(none.seeds);
}

TEST(MantelSettingsFile, RefusalsNameTheKey) {
  EXPECT_EQ(refusal(R"(, "randomisation": 200)"), "randomisation: unknown key");
  EXPECT_EQ(refusal(R"(, "randomisations": 199)").rfind("randomisations:", 0), 0u);
  EXPECT_EQ(refusal(R"(, "randomisations": 20001)").rfind("randomisations:", 0), 0u);
  EXPECT_EQ(refusal(R"(, "dependent": 26)").rfind("dependent:", 0), 0u);
  EXPECT_EQ(refusal(R"(, "dependent": 2, "explanatory": [1, 2])").rfind("explanatory: variable 2", 0), 0u);
  EXPECT_EQ(refusal(R"(, "explanatory": [1, 3, 1])").rfind("explanatory: variable 1", 0), 0u);
  EXPECT_EQ(refusal(R"(, "explanatory": 3)").rfind("explanatory:", 0), 0u);
  EXPECT_EQ(refusal(R"(, "distance": "no")").rfind("distance:", 0), 0u);
  EXPECT_EQ(refusal(R"(, "input": 5)").rfind("input:", 0), 0u);
  EXPECT_EQ(refusal(R"(, "seeds": [0, 1])").rfind("seeds:", 0), 0u);
}

// Settings read before the table is opened are checked against its header.
TEST(MantelSettingsFile, SettingsThatDoNotFitTheTableAreNamed) {
  ColumnHeader h;
  h.rows = 7;
  h.variables = 3;
  MantelSettingsFile s;
  s.input = "t.txt";
  s.dependent = 1;
  s.explanatory = {2, 3};
  EXPECT_EQ(mantel_settings_problem(s, h), "");
  s.distance = true;
  EXPECT_EQ(mantel_settings_problem(s, h).rfind("distance:", 0), 0u);
  h.rows = 6;
  h.objects = 4;
  EXPECT_EQ(mantel_settings_problem(s, h), "");
  s.explanatory = {2, 4};
  EXPECT_EQ(mantel_settings_problem(s, h), "explanatory: variable 4 is beyond the 3 variables of t.txt");
  s.dependent = 5;
  EXPECT_EQ(mantel_settings_problem(s, h).rfind("dependent:", 0), 0u);
}

}  // namespace
}  // namespace torvi::regress
