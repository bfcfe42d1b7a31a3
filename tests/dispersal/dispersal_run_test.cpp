#include "torvi/dispersal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "dispersal/messages.h"
#include "support/golden.h"
#include "support/results_json_check.h"
#include "support/scripted_host.h"

namespace torvi {
namespace {

using torvi::testing::read_file;
using torvi::testing::ScriptedHost;
using torvi::testing::TempDir;

constexpr int32_t kSeed1 = 12345, kSeed2 = 67890;

std::string sexes_input() { return testing::golden_input("dispersal/sexes.gen"); }

struct DispersalRunner {
  TempDir dir{"dispersal"};
  ScriptedHost host;
  Rng rng{kSeed1, kSeed2};
  DispersalSettings settings;
  DispersalOutcome outcome;

  explicit DispersalRunner(const std::string& gen_text, const std::string& name = "sexes.gen") {
    settings.input = dir.write(name, gen_text);
    settings.output_dir = dir.path();
  }
  DispersalRunner& tests(std::initializer_list<int> ticked) {
    settings.tests.fill(false);
    for (int t : ticked) settings.tests[static_cast<size_t>(t)] = true;
    return *this;
  }
  DispersalRunner& go() {
    outcome = run_dispersal_tests(host, rng, settings, dir.file("TORVI.INI"));
    return *this;
  }
  std::string file(const std::string& name) const { return read_file(dir.file(name)); }
  std::vector<std::string> lines(const std::string& name) const {
    std::vector<std::string> out;
    const std::string text = file(name);
    for (size_t at = 0; at < text.size();) {
      const size_t end = text.find("\r\n", at);
      out.push_back(text.substr(at, end - at));
      at = end + 2;
    }
    return out;
  }
};

// Both sides and both ways of starting a permutation (from the previous one
// when a set statistic is ticked, from the file's order otherwise), with
// every thread count: the files and the seeds left behind never differ.
TEST(DispersalRun, GoldenResultsOfAGeneratedSexLabelledFile) {
  std::string seeds_one, seeds_two;
  for (int threads : testing::kThreadCounts) {
    DispersalRunner one(sexes_input());
    one.settings.permutations = 500;
    one.settings.threads = threads;
    const bool document = threads == testing::kThreadCounts[1];
    if (document) one.settings.results_document = CommandRecord{"dispersal", true, {"dispersal"}, {}};
    one.tests({0, 1, 2, 3, 4, 5, 6}).go();
    ASSERT_EQ(one.outcome.status, DispersalOutcome::Status::done);
    EXPECT_EQ(testing::compare_file_with_golden("dispersal/sexes-one-sided.res", one.dir.file("sexes.res")), "");
    EXPECT_EQ(testing::compare_file_with_golden("dispersal/sexes-one-sided.per", one.dir.file("sexes.per")), "");
    EXPECT_EQ(testing::compare_file_with_golden("dispersal/sexes.dat", one.dir.file("sexes.dat")), "");
    // The philopatric sex stays put: its Fst is larger than the other's.
    EXPECT_LT(*one.outcome.p_values[2], 0.05L);
    if (document) {
      const auto doc = testing::checked_tool_document(one.dir.file("sexes.res"), 500);
      EXPECT_EQ(doc["sections"]["p_values"]["rows"][2][1]["P"].get<double>(),
                static_cast<double>(*one.outcome.p_values[2]));
      EXPECT_EQ(doc["sections"]["set_statistics"]["rows"].size(), 4u);  // head, each sex, both
      EXPECT_EQ(doc["sections"]["assignment"]["rows"].size(), 3u);
    }
    if (seeds_one.empty()) seeds_one = one.file("TORVI.INI");
    EXPECT_EQ(one.file("TORVI.INI"), seeds_one) << threads << " threads";

    DispersalRunner two(sexes_input());
    two.settings.permutations = 200;
    two.settings.two_sided = true;
    two.settings.threads = threads;
    two.tests({0, 1}).go();
    EXPECT_EQ(testing::compare_file_with_golden("dispersal/sexes-two-sided.res", two.dir.file("sexes.res")), "");
    EXPECT_EQ(testing::compare_file_with_golden("dispersal/sexes-two-sided.per", two.dir.file("sexes.per")), "");
    if (seeds_two.empty()) seeds_two = two.file("TORVI.INI");
    EXPECT_EQ(two.file("TORVI.INI"), seeds_two) << threads << " threads";
  }
}

TEST(DispersalRun, OneHundredRandomisationsAndTheClosingMessage) {
  DispersalRunner r(sexes_input());
  r.settings.permutations = 100;
  r.tests({1, 5}).go();
  const std::vector<std::string> per = r.lines("sexes.per");
  ASSERT_EQ(per.size(), 100u);
  EXPECT_EQ(per[99].substr(0, 4), "  99");
  for (size_t t : {1u, 5u}) {
    EXPECT_GE(*r.outcome.p_values[t], 0.01L);
    EXPECT_LE(*r.outcome.p_values[t], 1.0L);
  }
  ASSERT_EQ(r.host.texts(false).size(), 1u);
  const std::string message = r.host.texts(false)[0];
  EXPECT_EQ(message.substr(0, 51), "Results are stored in file : sexes.res\n\rone sided t");
  EXPECT_NE(message.find("\n\rP-value Vass test="), std::string::npos);
  EXPECT_NE(message.find("\n\rP-value Ho test="), std::string::npos);
  EXPECT_EQ(message.find("Fst"), std::string::npos);
}

TEST(DispersalRun, NoTestTickedStillPermutes) {
  DispersalRunner r(sexes_input());
  r.settings.permutations = 100;
  r.tests({}).go();
  const std::vector<std::string> per = r.lines("sexes.per");
  ASSERT_EQ(per.size(), 100u);
  EXPECT_EQ(per[0], "   0");
  EXPECT_EQ(per[42], "  42");
  EXPECT_EQ(r.file("sexes.res"),
            "results are for data stored in filename: sexes.gen\r\n"
            "The tests are one sided and based on 100 randomisations.\r\n\r\n\r\n");
  EXPECT_EQ(r.host.texts(false)[0], "Results are stored in file : sexes.res\n\rone sided test\n\r");
  EXPECT_NE(r.rng, Rng(kSeed1, kSeed2));  // the draws were made
}

TEST(DispersalRun, RefusedInputEndsTheCommandAndKeepsWhatWasWritten) {
  DispersalRunner bad("7 8\n9 loc\nPop\nF, 0101\n");
  bad.go();
  EXPECT_EQ(bad.outcome.status, DispersalOutcome::Status::refused);
  EXPECT_EQ(bad.host.texts(true), std::vector<std::string>{dispersal::kInvalidFormatMessage});
  EXPECT_EQ(bad.lines("sexes.res").size(), 2u);
  EXPECT_FALSE(std::filesystem::exists(bad.dir.file("sexes.dat")));
  EXPECT_FALSE(std::filesystem::exists(bad.dir.file("sexes.per")));

  DispersalRunner large("300 8 40\nl\nPop\n");
  large.go();
  EXPECT_EQ(large.host.texts(true), std::vector<std::string>{dispersal::kTooManyMessage});

  DispersalRunner not_gen(sexes_input(), "sexes.txt");
  not_gen.go();
  EXPECT_EQ(not_gen.host.texts(true).at(0), not_gen.settings.input + " is not a .gen file");
  EXPECT_FALSE(std::filesystem::exists(not_gen.dir.file("sexes.res")));
}

TEST(DispersalRun, LettersThatCannotNameTheFilesAreRefused) {
  EXPECT_FALSE(sex_letters_problem('F', 'M'));
  EXPECT_FALSE(sex_letters_problem('m', 'M'));  // case counts
  EXPECT_EQ(sex_letters_problem('F', 'P'), std::string(kInvalidLetterMessage));
  EXPECT_TRUE(sex_letters_problem('F', 'F'));
  EXPECT_TRUE(sex_letters_problem('/', 'M'));  // the split files are named after the letters
  EXPECT_TRUE(sex_letters_problem('F', ' '));
  DispersalRunner r(sexes_input());
  r.settings.disp_letter = 'P';
  r.go();
  EXPECT_EQ(r.host.texts(true), std::vector<std::string>{kInvalidLetterMessage});
  EXPECT_FALSE(std::filesystem::exists(r.dir.file("sexes.res")));
}

TEST(DispersalRun, ReplacesEarlierResultsAndSavesTheStream) {
  DispersalRunner r(sexes_input());
  r.dir.write("sexes.res", "old results\n");
  r.dir.write("sexes.per", "old permutations\n");
  r.settings.permutations = 100;
  r.go();
  EXPECT_EQ(r.file("sexes.res").substr(0, 12), "results are ");
  EXPECT_EQ(r.file("sexes.per").substr(0, 4), "   0");
  EXPECT_EQ(r.file("TORVI.INI"), std::to_string(r.rng.seed1) + "   " + std::to_string(r.rng.seed2) + "\r\n");
}

TEST(DispersalRun, FailedWritesAreReportedNeverFinished) {
  DispersalRunner no_folder(sexes_input());
  no_folder.settings.output_dir = no_folder.dir.file("missing");
  no_folder.go();
  EXPECT_EQ(no_folder.outcome.status, DispersalOutcome::Status::refused);
  ASSERT_EQ(no_folder.host.texts(true).size(), 1u);
  EXPECT_NE(no_folder.host.texts(true)[0].find("missing/sexes.res"), std::string::npos);
  EXPECT_TRUE(no_folder.host.texts(false).empty());

  // The seeds reached cannot be saved: an error, and no closing message.
  DispersalRunner r(sexes_input());
  r.outcome = run_dispersal_tests(r.host, r.rng, r.settings, r.dir.file("missing/TORVI.INI"));
  EXPECT_FALSE(r.outcome.seeds_saved);
  EXPECT_EQ(r.host.texts(true).size(), 1u);
  EXPECT_TRUE(r.host.texts(false).empty());
}

TEST(DispersalRun, CancelledRunWritesNoPValuesAndSaysSo) {
  DispersalRunner r(sexes_input());
  r.settings.permutations = 10000;
  r.settings.threads = 2;
  r.host.stop_after_steps = 1;
  r.tests({2}).go();
  EXPECT_EQ(r.outcome.status, DispersalOutcome::Status::cancelled);
  EXPECT_FALSE(r.outcome.p_values[2]);
  const std::vector<std::string> res = r.lines("sexes.res");
  EXPECT_EQ(res.back(), "");
  EXPECT_EQ(res[res.size() - 2].substr(0, 20), "Run cancelled after ");
  EXPECT_EQ(r.file("sexes.res").find("p_value"), std::string::npos);
  EXPECT_EQ(static_cast<int64_t>(r.lines("sexes.per").size()), 1 + r.outcome.permutations_done);
  EXPECT_NE(r.host.texts(false).at(0).find("cancelled"), std::string::npos);
}

TEST(DispersalRun, AnUndefinedObservedValueGivesNoPValue) {
  // No philopatric individual at all.
  DispersalRunner r("2 2 9\nl1 l2\nPop\nM, 0101 0102\nM, 0202 0101\nPop\nM, 0303 0101\nM, 0101 0202\n");
  r.tests({0, 2, 5}).go();
  EXPECT_FALSE(r.outcome.p_values[0]);
  EXPECT_FALSE(r.outcome.p_values[2]);
  EXPECT_TRUE(r.outcome.p_values[5]);
  EXPECT_EQ(r.host.notes.size(), 2u);
  EXPECT_NE(r.file("sexes.res").find("p_value for assignment Ttest:       NA\t"), std::string::npos);
  EXPECT_EQ(r.lines("sexes.per")[0].substr(0, 20), "   0      NA      NA");
}

}  // namespace
}  // namespace torvi
