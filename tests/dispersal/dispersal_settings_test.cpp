// Settings files of the window of the tests for sex-biased dispersal.
#include <gtest/gtest.h>

#include "support/json_schema.h"
#include "torvi/dispersal.h"

namespace torvi {
namespace {

std::string refusal(const std::string& members) {
  try {
    parse_dispersal_settings(
        Json::parse(R"({"format": "torvi-settings", "format_version": 1, "page": "dispersal", )" + members + "}"));
  } catch (const SettingsError& e) {
    return e.what();
  }
  return "accepted";
}

TEST(DispersalSettingsFile, RoundTripFollowsTheSchemaAndRefusalsNameTheKey) {
  DispersalSettingsFile s;
  s.settings.input = "/d/bats.gen";
  s.settings.phil_letter = 'A';
  s.settings.permutations = 700;
  s.settings.tests = {true, false, true, false, false, false, true};
  s.settings.two_sided = true;
  s.seeds = Rng(5, 6);
  s.json = true;
  const std::string text = json_text(dispersal_settings_document(s));
  EXPECT_EQ(testing::schema_problems(text), std::vector<std::string>{}) << text;
  const DispersalSettingsFile back = parse_dispersal_settings(Json::parse(text));
  EXPECT_EQ(back.settings.input, "/d/bats.gen");
  EXPECT_EQ(back.settings.phil_letter, 'A');
  EXPECT_EQ(back.settings.disp_letter, 'M');
  EXPECT_EQ(back.settings.permutations, 700);
  EXPECT_EQ(back.settings.tests, s.settings.tests);
  EXPECT_TRUE(back.settings.two_sided);
  EXPECT_TRUE(back.json);
  EXPECT_EQ(back.seeds, s.seeds);

  EXPECT_EQ(refusal(R"("perm": 100)"), "perm: unknown key");
  EXPECT_EQ(refusal(R"("permutations": 99)").rfind("permutations:", 0), 0u);
  EXPECT_EQ(refusal(R"("phil": "MM")").rfind("phil:", 0), 0u);
  EXPECT_EQ(refusal(R"("phil": "M")").rfind("phil, disp:", 0), 0u);  // the same letter twice
  EXPECT_EQ(refusal(R"("tests": ["fst", "fit"])").rfind("tests:", 0), 0u);
  EXPECT_EQ(refusal(R"("two_sided": 1)").rfind("two_sided:", 0), 0u);
}

}  // namespace
}  // namespace torvi
