// The documents' head and the summary document, checked against the schema
// in docs/ and against what they must say.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "json/results_document.h"
#include "json/run_settings_json.h"
#include "json/summary_json.h"
#include "support/golden.h"
#include "support/json_schema.h"
#include "support/scripted_host.h"

namespace torvi {
namespace {

using testing::schema_problems;
using Problems = std::vector<std::string>;

const RunClock kClock{1700000000, true};

SummaryEntry nancycats_entry() {
  testing::ScriptedHost host;
  SummaryEntry e;
  e.path = std::string(TORVI_EXAMPLES_DIR) + "/nancycats.dat";
  e.read = summarise_data_file(host, e.path, e.summary);
  EXPECT_TRUE(e.read);
  return e;
}

TEST(Documents, HeadSaysWhoWroteItWhenAndFromWhat) {
  CommandRecord cmd{"run", true, {"run", "--fis", "x.dat"}, run_options_json(RunOptions{})};
  const Json head = document_head(kResultsFormat, cmd, kClock);
  EXPECT_EQ(head["program"]["version"], TORVI_VERSION);
  EXPECT_EQ(head["command"]["arguments"], Json::array({"run", "--fis", "x.dat"}));
  EXPECT_EQ(head["time"]["utc"], "2023-11-14T22:13:20Z");
  EXPECT_EQ(head["time"]["source"], "SOURCE_DATE_EPOCH");
  // The desktop program has no command line to record.
  cmd.from_command_line = false;
  EXPECT_FALSE(document_head(kResultsFormat, cmd, kClock)["command"].contains("arguments"));
}

TEST(Documents, RunClockFollowsSourceDateEpoch) {
  ::setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
  RunClock c = run_clock();
  EXPECT_TRUE(c.from_source_date_epoch);
  EXPECT_EQ(c.seconds, 1700000000);
  ::unsetenv("SOURCE_DATE_EPOCH");
  EXPECT_FALSE(run_clock().from_source_date_epoch);
}

TEST(Documents, SettingsNameEveryControlOfThePage) {
  RunOptions o;
  o.CB_HWW = true;
  o.SpinEdit1 = 500;
  o.RG_popdif = PopDiff::assuming_hw;
  o.RG_MTG = NominalLevel::p1_1000;
  o.RG_GDT = LdTests::pairs_in_each_sample;
  const Json j = run_options_json(o);
  EXPECT_EQ(j.size(), 29u);
  EXPECT_EQ(j["hw_within"], true);
  EXPECT_EQ(j["hw_within_perm"], 500);
  EXPECT_EQ(j["popdiff"], "hw");
  EXPECT_EQ(j["ld_level"], "1/1000");
  EXPECT_EQ(j["ld_tests"], "per-sample");
  EXPECT_EQ(j["level"], "none");
  EXPECT_EQ(j["allele_freq"], true);
}

TEST(Documents, SummaryDocumentFollowsTheSchema) {
  std::vector<SummaryEntry> files{nancycats_entry(), {"gone.dat", false, {}, "Cannot open the data file gone.dat."}};
  const std::string text = json_text(summary_document({"summary", true, {"summary", "--json"}, {}}, kClock, files));
  EXPECT_EQ(schema_problems(text), Problems{}) << text;
  const Json doc = Json::parse(text);
  const Json& cats = doc["files"][0];
  EXPECT_EQ(cats["sample_count"], 17);
  EXPECT_EQ(cats["individuals"], 237);
  EXPECT_EQ(cats["loci"][0]["name"], "fca8");
  EXPECT_EQ(doc["files"][1]["refused"], "Cannot open the data file gone.dat.");
}

TEST(Documents, SchemaRefusesADocumentWithAMemberMissingOrMisspelt) {
  const std::string good = json_text(summary_document({"summary", true, {}, {}}, kClock, {nancycats_entry()}));
  Json doc = Json::parse(good);
  doc["files"][0]["loci"][2].erase("typed_individuals");
  EXPECT_FALSE(schema_problems(doc.dump()).empty());
  doc = Json::parse(good);
  doc["files"][0]["missing_rate"] = "0.02";
  EXPECT_FALSE(schema_problems(doc.dump()).empty()) << "a string that is not NA";
  doc = Json::parse(good);
  doc["time"]["utc"] = "yesterday";
  EXPECT_FALSE(schema_problems(doc.dump()).empty());
}

TEST(Documents, ResultsDocumentHoldsSeedsDataAndSectionsInOrder) {
  ResultsDocument d({"run", false, {}, run_options_json(RunOptions{})}, kClock, Rng(12345, 67890), "/x/cats.out");
  d.set_data(data_summary_json(nancycats_entry().summary));
  d.add_section("second_written_first", {{"title", "A"}, {"rows", Json::array({Json::array({"loc1", 0.5})})}});
  d.add_section("another", {{"title", "B"}, {"rows", Json::array({Json::array({json_na("monomorphic")})})}});
  d.add_section("another", {{"title", "B again"}, {"rows", Json::array()}});
  const std::string text = json_text(d.finish(Rng(1, 2), ResultsStatus::cancelled));
  EXPECT_EQ(schema_problems(text), Problems{}) << text;
  const Json doc = Json::parse(text);
  EXPECT_EQ(doc["seeds"]["start"], Json::array({12345, 67890}));
  EXPECT_EQ(doc["seeds"]["end"], Json::array({1, 2}));
  EXPECT_EQ(doc["status"], "cancelled");
  EXPECT_LT(text.find("second_written_first"), text.find("another"));
  EXPECT_EQ(doc["sections"]["another_2"]["title"], "B again");  // a section met again keeps both
  EXPECT_EQ(Json::parse(json_text(d.finish(Rng(1, 2), ResultsStatus::failed, "disk full")))["message"], "disk full");
}

// A tool's document is written however its work ends, with the sections
// added before it stopped, and the work's exception passes on.
TEST(Documents, ToolDocumentIsWrittenHoweverTheWorkEnds) {
  testing::TempDir dir{"tool-document"};
  const std::string result = dir.file("t.res");
  ResultsDocument d({"dispersal", true, {"dispersal", "t.gen"}, Json::object()}, kClock, Rng(1, 2), result);
  d.set_data({{"input", "t.gen"}});
  d.add_section("p_values", section_json("P", Json::array({Json::array({"Fst", json_p_value(0.25L, 24, 100)})})));
  auto written = [&] { return Json::parse(testing::read_file(results_document_path(result))); };
  with_document(&d, Rng(3, 4), [] { return ResultsStatus::cancelled; });
  EXPECT_EQ(written()["status"], "cancelled");
  EXPECT_THROW(with_document(&d, Rng(3, 4), []() -> ResultsStatus { throw RunCancelled(); }), RunCancelled);
  EXPECT_EQ(written()["status"], "cancelled");
  EXPECT_THROW(with_document(&d, Rng(3, 4), []() -> ResultsStatus { throw std::runtime_error("Singular"); }),
               std::runtime_error);
  EXPECT_EQ(written()["message"], "Singular");
  with_document(&d, Rng(3, 4), [] { return ResultsStatus::complete; });
  const std::string text = testing::read_file(results_document_path(result));
  EXPECT_EQ(schema_problems(text), Problems{}) << text;
  const Json p = written()["sections"]["p_values"]["rows"][0][1];
  EXPECT_EQ(p["count"], 24);
  EXPECT_DOUBLE_EQ(p["mc_se"].get<double>(), std::sqrt(0.25 * 0.75 / 100));
  EXPECT_EQ(written()["seeds"]["end"], Json::array({3, 4}));
}

TEST(Documents, ResultsDocumentLivesBesideTheResultFile) {
  EXPECT_EQ(results_document_path("/d/cats.out"), "/d/cats.torvi.json");
  EXPECT_EQ(results_document_path("/d/cats.OUT"), "/d/cats.torvi.json");
  EXPECT_EQ(results_document_path("/d/chosen.txt"), "/d/chosen.txt.torvi.json");
  EXPECT_EQ(results_document_path(".out"), ".out.torvi.json");
}

}  // namespace
}  // namespace torvi
