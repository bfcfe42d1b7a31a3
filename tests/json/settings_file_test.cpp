#include "json/settings_file.h"

#include <gtest/gtest.h>

#include "support/golden.h"
#include "support/json_schema.h"

namespace torvi {
namespace {

using Problems = std::vector<std::string>;

// Settings with every control away from its initial state.
RunSettingsFile changed_settings() {
  RunSettingsFile s;
  RunOptions& o = s.options;
  o.CB_allfreq = o.CB_nal = o.CB_genediv = o.CB_nei = o.CB_WC = false;
  o.CB_genotfreq = o.CB_Rar = o.CB_fis = o.CB_Rst = o.CB_Fstpp = o.CB_HWW = o.CB_HWO = true;
  o.CB_IFis = o.CB_PPFst = o.CB_dp = o.CB_r = o.CB_details = o.CB_Savetables = true;
  o.SpinEdit1 = 100000;
  o.SpinEdit2 = 250;
  o.SpinEdit3 = 1;
  o.SpinEdit4 = 300;
  o.SpinEdit5 = 2147483647;
  o.SpinEdit8 = 0;
  o.RG_popdif = PopDiff::not_assuming_hw;
  o.RG_MT = NominalLevel::p1_1000;
  o.RG_GDT = LdTests::pairs_in_each_sample;
  o.RG_MTG = NominalLevel::fixed;
  o.CB_json = true;
  s.loci = std::vector<int>{2, 5};
  s.samples = std::vector<int>{1, 3, 17};
  s.sample_labels = std::vector<std::string>{"north", "south", "east"};
  s.options.label_file_checked = true;
  s.seeds = Rng(2147483562, 1);
  return s;
}

// Every value a settings file can hold comes back from it unchanged.
void expect_same(const RunSettingsFile& a, const RunSettingsFile& b) {
  EXPECT_EQ(json_text(run_settings_document(a)), json_text(run_settings_document(b)));
  EXPECT_EQ(a.options.label_file_checked, b.options.label_file_checked);
  EXPECT_EQ(a.seeds.has_value(), b.seeds.has_value());
  if (a.seeds && b.seeds) {
    EXPECT_TRUE(*a.seeds == *b.seeds);
  }
}

std::string error_of(const std::string& text) {
  try {
    parse_run_settings(Json::parse(text));
  } catch (const SettingsError& e) {
    return e.what();
  }
  return "accepted";
}

TEST(SettingsFile, EveryControlTheSelectionAndTheSeedsComeBack) {
  const RunSettingsFile s = changed_settings();
  const std::string text = json_text(run_settings_document(s));
  EXPECT_EQ(testing::schema_problems(text), Problems{}) << text;
  expect_same(parse_run_settings(Json::parse(text)), s);

  RunSettingsFile initial;  // the page's initial state, no seeds
  const std::string plain = json_text(run_settings_document(initial));
  EXPECT_EQ(testing::schema_problems(plain), Problems{}) << plain;
  expect_same(parse_run_settings(Json::parse(plain)), initial);
  EXPECT_FALSE(parse_run_settings(Json::parse(plain)).options.label_file_checked);
}

TEST(SettingsFile, AbsentMembersKeepThePagesInitialState) {
  const RunSettingsFile s = parse_run_settings(
      Json::parse(R"({"format": "torvi-settings", "format_version": 1, "page": "run",
                      "options": {"hw_within": true, "hw_within_perm": 1000}})"));
  EXPECT_TRUE(s.options.CB_HWW);
  EXPECT_EQ(s.options.SpinEdit1, 1000);
  EXPECT_TRUE(s.options.CB_allfreq);
  EXPECT_EQ(s.options.SpinEdit5, 1000);
  EXPECT_FALSE(s.loci || s.samples || s.sample_labels || s.seeds);
}

TEST(SettingsFile, RefusesWhatItCannotUseNamingTheKey) {
  const std::string head = R"("format": "torvi-settings", "format_version": 1, "page": "run")";
  auto with = [&](const std::string& member) { return error_of("{" + head + ", " + member + "}"); };
  EXPECT_EQ(with(R"("options": {"hw_whithin": true})"), "options.hw_whithin: unknown key");
  EXPECT_EQ(with(R"("colour": "red")"), "colour: unknown key");
  EXPECT_EQ(with(R"("options": {"hw_within_perm": 100001})"),
            "options.hw_within_perm: 100001 is not a whole number in 0..100000");
  EXPECT_EQ(with(R"("options": {"perm": -1})"), "options.perm: -1 is not a whole number in 0..2147483647");
  EXPECT_EQ(with(R"("options": {"perm": 2.5})"), "options.perm: 2.5 is not a whole number in 0..2147483647");
  EXPECT_EQ(with(R"("options": {"nei": 1})"), "options.nei: 1 is not true or false");
  EXPECT_EQ(with(R"("options": {"level": "1/50"})"),
            R"(options.level: "1/50" is not one of "none", "5/100", "1/100", "1/1000", "fixed")");
  EXPECT_EQ(with(R"("selection": {"samples": [3]})"),
            "selection.samples: expected a list of at least 2 different numbers in 1..200 (or null for all)");
  EXPECT_EQ(with(R"("selection": {"loci": [0]})"), "selection.loci: 0 is not a number in 1..600");
  EXPECT_EQ(with(R"("selection": {"loci": [4, 4]})"), "selection.loci: a number is repeated");
  EXPECT_NE(with(R"("seeds": [0, 5])").find("seeds: [0,5] is not two seeds"), std::string::npos);
  EXPECT_NE(with(R"("seeds": [2147483563, 5])").find("seeds:"), std::string::npos);
  EXPECT_EQ(error_of(R"({"format": "torvi-results", "format_version": 1, "page": "run"})"),
            R"(format: expected "torvi-settings", found "torvi-results")");
  EXPECT_EQ(error_of(R"({"format": "torvi-settings", "format_version": 2, "page": "run"})"),
            "format_version: expected 1, found 2");
  EXPECT_EQ(error_of(R"({"format": "torvi-settings", "format_version": 1, "page": "mantel"})"),
            R"(page: expected "run", found "mantel")");
  EXPECT_EQ(error_of("[1, 2]"), "expected a JSON object");
}

TEST(SettingsFile, LabelsAreCutLikeALabelFilesLines) {
  const RunSettingsFile s = parse_run_settings(Json::parse(
      R"({"format": "torvi-settings", "format_version": 1, "page": "run", "selection": {"sample_labels": ["abcdefgh", "x"]}})"));
  ASSERT_TRUE(s.sample_labels);
  EXPECT_EQ(*s.sample_labels, (std::vector<std::string>{"abcdef", "x"}));
  EXPECT_TRUE(s.options.label_file_checked);
}

TEST(SettingsFile, FilesThatAreNotSettingsAreRefusedNamingTheFile) {
  testing::TempDir dir("settings");
  auto error = [](const std::string& path) {
    try {
      read_run_settings_file(path);
    } catch (const SettingsError& e) {
      return std::string(e.what());
    }
    return std::string("accepted");
  };
  EXPECT_EQ(error(dir.file("none.json")), "Cannot read the settings file " + dir.file("none.json"));
  const std::string broken = dir.write("broken.json", "{\"format\": ");
  EXPECT_EQ(error(broken).rfind("The settings file " + broken + " is not JSON", 0), 0u) << error(broken);
  const std::string big = dir.write("big.json", std::string((1 << 20) + 1, ' '));
  EXPECT_EQ(error(big), "The file " + big + " is too large to be a settings file");
  const std::string wrong = dir.write("wrong.json", R"({"format": "torvi-settings", "format_version": 1,
      "page": "run", "options": {"fis": "yes"}})");
  EXPECT_EQ(error(wrong), "The settings file " + wrong + ": options.fis: \"yes\" is not true or false");
  const std::string good = dir.write("good.json", json_text(run_settings_document(changed_settings())));
  expect_same(read_run_settings_file(good), changed_settings());
}

TEST(SettingsFile, ChoiceOfTheOptionsMenuComesBackForTheSameFile) {
  RunSettingsFile s;
  s.loci = std::vector<int>{2, 4};
  s.samples = std::vector<int>{1, 2, 3};  // every sample: no mark, no subset
  s.sample_labels = std::vector<std::string>{"a", "b", "c", "extra"};
  const Selection sel = selection_for_file(s, 3, 5);
  EXPECT_TRUE(sel.loci_checked);
  EXPECT_FALSE(sel.samples_checked);
  EXPECT_EQ(sel.locus_selected, (std::vector<uint8_t>{1, 0, 1, 0, 1, 0}));
  EXPECT_EQ(sel.sample_names, (std::vector<std::string>{"", "a", "b", "c"}));

  RunSettingsFile back;
  record_selection(sel, true, 3, 5, back);
  EXPECT_EQ(back.loci, s.loci);
  EXPECT_FALSE(back.samples) << "no mark: every sample";
  EXPECT_EQ(back.sample_labels, (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_TRUE(back.options.label_file_checked);

  auto error = [&](int np, int nl) {
    try {
      selection_for_file(s, np, nl);
    } catch (const SettingsError& e) {
      return std::string(e.what());
    }
    return std::string("accepted");
  };
  EXPECT_EQ(error(3, 3), "selection.loci: 4 is outside a data file of 3");
  EXPECT_EQ(error(5, 5), "selection.sample_labels: 4 labels for a data file of 5 samples");
}

}  // namespace
}  // namespace torvi
