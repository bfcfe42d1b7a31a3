#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "data/label_file.h"
#include "random/seeds_file.h"
#include "report/fixed_format.h"
#include "support/golden.h"
#include "support/results_json_check.h"
#include "support/scripted_host.h"
#include "torvi/groups.h"

namespace torvi {
namespace {

using testing::read_file;
using testing::ScriptedHost;
using testing::TempDir;

constexpr std::array<bool, kGroupStatistics> kAll = {true, true, true, true, true, true, true};

// Four samples of four individuals at two loci. Samples 1 and 2 are all
// heterozygous, 3 and 4 all homozygous; samples 5 and 6 sit between.
const char* kSix =
    "6 2 2 1\nA\nB\n"
    "1 12 12\n1 12 12\n1 12 12\n1 12 12\n"
    "2 12 12\n2 12 12\n2 12 12\n2 12 12\n"
    "3 11 22\n3 22 11\n3 11 22\n3 22 11\n"
    "4 11 22\n4 22 11\n4 22 11\n4 11 22\n"
    "5 12 11\n5 22 12\n5 11 11\n5 12 22\n"
    "6 11 12\n6 12 22\n6 22 11\n6 12 12\n";

class GroupRun : public ::testing::Test {
 protected:
  TempDir dir{"group-run"};
  ScriptedHost host;
  Rng rng{12345, 67890};
  GroupRunSettings settings;

  void SetUp() override {
    setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    settings.comparison.groups = {{1, 2}, {3, 4}};
    settings.comparison.permutations = 100;
  }
  RunOutcome run() { return compare_groups(host, rng, settings, dir.file(kSeedsFileName)); }
  // The lines of the result file after its three banner lines.
  std::string body(const std::string& name = "six_test.out") {
    const std::string text = read_file(dir.file(name));
    size_t at = 0;
    for (int i = 0; i < 3 && at != std::string::npos; ++i) at = text.find("\r\n", at) + 2;
    return text.substr(at);
  }
  void tick(GroupStatistic s) { settings.comparison.statistics[static_cast<int>(s)] = true; }
};

TEST_F(GroupRun, OneSidedPValueIsSmallWhenTheFirstGroupIsTheLarger) {
  settings.file_list = {dir.write("six.dat", kSix)};
  settings.comparison.one_sided = true;
  tick(GroupStatistic::ho);
  EXPECT_EQ(run().files_done, 1);
  // Ho 1 against 0: only a permutation that deals samples 1 and 2 to group 1
  // and 3 and 4 to group 2, in whatever order, reaches the observed value.
  Rng replay{12345, 67890};
  std::vector<int> list = {1, 2, 3, 4, 5, 6};
  int reached = 0;
  for (int k = 1; k < 100; ++k) {
    for (int i = 6; i >= 2; --i) std::swap(list[i - 1], list[replay.rnd_int(i)]);
    reached += list[0] + list[1] == 3 && list[2] + list[3] == 7 && std::max(list[2], list[3]) == 4;
  }
  ASSERT_GE(reached, 1);
  EXPECT_EQ(body(),
            "Samples of group   1 (G1) : pop1, pop2, \r\n Ho:    1.000\r\n"
            "Samples of group   2 (G2) : pop3, pop4, \r\n Ho:    0.000\r\n"
            "\r\n"
            "The one-sided P-values (G1>G2) obtained after    100 permutations are : \r\n"
            "               Ho: " + fixed((reached + 1) / 100.0L, 8, 5) + "\r\n");
  EXPECT_EQ(rng, replay);

  settings.comparison.groups = {{3, 4}, {1, 2}};
  std::filesystem::remove(dir.file("six_test.out"));
  run();
  EXPECT_NE(body().find("               Ho:  1.00000\r\n"), std::string::npos);
}

TEST_F(GroupRun, SingleCountGivesPOneAndDrawsNothing) {
  settings.file_list = {dir.write("six.dat", kSix)};
  settings.comparison.permutations = 1;
  settings.comparison.statistics = kAll;
  run();
  EXPECT_EQ(rng, Rng(12345, 67890));
  const std::string text = body();
  EXPECT_NE(text.find("The two-sided P-values obtained after      1 permutations are : \r\n"
                      " Allelic Richness:  1.00000\r\n               Ho:  1.00000\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("             Relc:  1.00000\r\n"), std::string::npos);
}

TEST_F(GroupRun, EqualStatisticsGivePOne) {
  // Two groups of the same composition: T is 0 and every permutation reaches it.
  settings.file_list = {dir.write("six.dat", kSix)};
  settings.comparison.groups = {{1, 3}, {2, 4}};
  tick(GroupStatistic::ho);
  tick(GroupStatistic::hs);
  run();
  EXPECT_NE(body().find("               Ho:  1.00000\r\n               Hs:  1.00000\r\n"), std::string::npos);
}

TEST_F(GroupRun, PermutationsDrawSamplesOutsideEveryGroup) {
  // Within samples 1..4 every deal of two by two gives |Ho1 - Ho2| of 0 or 1;
  // only samples 5 and 6 (Ho 0.5) make smaller differences.
  settings.file_list = {dir.write("six.dat", kSix)};
  settings.comparison.groups = {{1, 2}, {3, 4}};
  tick(GroupStatistic::ho);
  run();
  const std::string text = body();
  const size_t at = text.find("               Ho: ");
  ASSERT_NE(at, std::string::npos);
  const double p = std::stod(text.substr(at + 19, 8));
  EXPECT_LT(p, 1.0);
  EXPECT_GT(p, 0.01);
}

TEST_F(GroupRun, NoStatisticTickedLeavesEmptyLinesAndTheHeading) {
  settings.file_list = {dir.write("six.dat", kSix)};
  run();
  EXPECT_EQ(body(),
            "Samples of group   1 (G1) : pop1, pop2, \r\n\r\n"
            "Samples of group   2 (G2) : pop3, pop4, \r\n\r\n"
            "\r\n"
            "The two-sided P-values obtained after    100 permutations are : \r\n");
}

TEST_F(GroupRun, RichnessIsNAWhenSomeSampleIsUntypedAtSomeLocus) {
  std::string untyped = kSix;
  untyped.replace(untyped.find("6 11 12"), std::string::npos, "6 00 12\n6 00 22\n");
  settings.file_list = {dir.write("six.dat", untyped)};
  settings.comparison.statistics = kAll;
  run();
  const std::string text = body();
  EXPECT_NE(text.find("Samples of group   1 (G1) : pop1, pop2, \r\n Allelic richness:       NA Ho: "),
            std::string::npos);
  EXPECT_NE(text.find("\r\n Allelic Richness:       NA\r\n               Ho: "), std::string::npos);
  ASSERT_EQ(host.notes.size(), 1u);
  EXPECT_NE(host.notes[0].find("has no genotyped individual"), std::string::npos);
}

TEST_F(GroupRun, RefusedGroupsLeaveTheResultFileWithoutNewLines) {
  settings.file_list = {dir.write("six.dat", kSix)};
  settings.comparison.groups = {{1, 2, 3}, {3, 4, 5, 6}};  // 7 members for 6 samples
  const RunOutcome out = run();
  EXPECT_EQ(out.files_failed, 1);
  EXPECT_EQ(read_file(dir.file("six_test.out")), "");
  ASSERT_EQ(host.texts(true).size(), 1u);
  EXPECT_NE(host.texts(true)[0].find("more than the 6 samples"), std::string::npos);
}

TEST(GroupComparisonProblem, RefusesWhatCannotBeDealtOrCounted) {
  GroupComparison c;
  c.groups = {{1, 2}, {3, 4}};
  c.permutations = 10;
  EXPECT_EQ(group_comparison_problem(c, 4), "");
  EXPECT_NE(group_comparison_problem(c, 3), "");  // sample 4 outside the file
  c.permutations = 0;
  EXPECT_NE(group_comparison_problem(c, 4).find("permutations"), std::string::npos);
  c.permutations = 10;
  c.one_sided = true;
  c.groups.push_back({5, 6});
  EXPECT_NE(group_comparison_problem(c, 6).find("one-sided"), std::string::npos);
  c.one_sided = false;
  c.groups[2] = {5};
  EXPECT_NE(group_comparison_problem(c, 6).find("fewer than 2"), std::string::npos);
  c.groups[2] = {5, 5};
  EXPECT_NE(group_comparison_problem(c, 6).find("twice"), std::string::npos);
  c.groups = {{1, 2}};
  EXPECT_NE(group_comparison_problem(c, 6), "");
}

TEST_F(GroupRun, CancelStopsBeforeThePValues) {
  settings.file_list = {dir.write("six.dat", kSix)};
  settings.comparison.permutations = 10000;
  tick(GroupStatistic::fst);
  host.stop_after_steps = 10;
  const RunOutcome out = run();
  EXPECT_TRUE(out.cancelled);
  EXPECT_EQ(body().find("P-values"), std::string::npos);
  // The group lines stay whole and the last line says where the stop came.
  const std::string b = body();
  EXPECT_EQ(b.rfind("Samples of group   1 (G1) : ", 0), 0u) << b;
  const std::string last = "\r\n\r\nRun cancelled by the user during Permutations of samples among groups\r\n";
  ASSERT_GE(b.size(), last.size());
  EXPECT_EQ(b.substr(b.size() - last.size()), last) << b;
  EXPECT_EQ(host.sections,
            (std::vector<std::string>{"1/2 Statistics of the groups", "2/2 Permutations of samples among groups"}));
  EXPECT_EQ(host.messages.back().text, "Torvi run cancelled while processing\n\rsix.dat");
}

// Golden result files: the generated set with two groups tested one-sided,
// and the bundled cats with three groups and sample labels. Any number of
// threads writes the same file and leaves the same seeds.
struct GoldenCase {
  std::string data;
  const char* labels;
  std::vector<std::vector<int>> groups;
  bool one_sided;
  int32_t permutations;
  const char* golden;
};

TEST(GroupRunGolden, GeneratedAndBundledSetsWithAnyNumberOfThreads) {
  setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
  const GoldenCase cases[] = {
      {testing::golden_input("groups/eight.dat"), nullptr, {{1, 2, 3, 4}, {5, 6, 7}}, true, 500,
       "groups/eight_test.out"},
      {read_file(TORVI_EXAMPLES_DIR "/nancycats.dat"), "groups/nancycats.lab",
       {{1, 2, 3, 4, 5}, {6, 8, 9, 10, 11}, {12, 13, 14, 15, 16, 17}}, false, 1000, "groups/nancycats_test.out"}};
  for (const GoldenCase& c : cases) {
    std::optional<Rng> first_rng;
    for (int threads : testing::kThreadCounts) {
      TempDir dir{"group-golden"};
      ScriptedHost host;
      Rng rng{12345, 67890};
      GroupRunSettings settings;
      settings.file_list = {dir.write("data.dat", c.data)};
      settings.comparison = {c.groups, kAll, c.permutations, c.one_sided};
      settings.threads = threads;
      const bool document = threads == testing::kThreadCounts[1];
      if (document) settings.results_document = CommandRecord{"groups", true, {"groups"}, {}};
      if (c.labels) {
        settings.label_file_checked = true;
        const std::string labels = dir.write("data.lab", testing::golden_input(c.labels));
        ASSERT_TRUE(read_label_file(host, labels, 17, settings.selection.sample_names));
      }
      compare_groups(host, rng, settings, dir.file(kSeedsFileName));
      EXPECT_EQ(testing::compare_file_with_golden(c.golden, dir.file("data_test.out")), "")
          << c.golden << " with " << threads << " threads";
      if (document) {
        const auto doc = testing::checked_tool_document(dir.file("data_test.out"), c.permutations);
        EXPECT_EQ(doc["sections"]["p_values"]["rows"].size(), size_t{kGroupStatistics});
        EXPECT_EQ(doc["sections"]["group_statistics"]["rows"].size(), c.groups.size() + 1);
        EXPECT_EQ(doc["command"]["settings"]["groups"], c.groups);
      }
      if (!first_rng) first_rng = rng;
      EXPECT_EQ(rng, *first_rng) << c.golden << " with " << threads << " threads";
    }
  }
}

}  // namespace
}  // namespace torvi
