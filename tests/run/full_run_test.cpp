// Whole runs with every option on, checked against golden result files and
// for independence from the number of threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include <nlohmann/json.hpp>

#include "run/run_driver.h"
#include "support/golden.h"
#include "support/results_json_check.h"
#include "support/scripted_host.h"

namespace torvi {
namespace {

using testing::compare_file_with_golden;
using testing::read_file;

const char* const kSuffixes[] = {".out", ".x2", ".mat", ".fst", "-pp.pvl", "-tables.ld", "-dp.cd", "-r2.cd",
                                 "-details.cd"};

RunOptions every_option() {
  RunOptions o;
  o.CB_genotfreq = o.CB_Rar = o.CB_fis = o.CB_Rst = o.CB_Fstpp = true;
  o.CB_HWW = o.CB_HWO = true;
  o.SpinEdit1 = 200;
  o.SpinEdit2 = 250;
  o.RG_popdif = PopDiff::assuming_hw;
  o.SpinEdit4 = 300;
  o.CB_IFis = true;
  o.RG_MT = NominalLevel::p5_100;
  o.CB_PPFst = true;
  o.CB_dp = o.CB_r = o.CB_details = o.CB_Savetables = true;
  o.RG_GDT = LdTests::pairs_in_each_sample;
  o.RG_MTG = NominalLevel::fixed;
  o.SpinEdit8 = 200;
  return o;
}

// A committed data file (tests/data/inputs/full_run/<name>.dat), the
// options of the run, and the companion files it writes beside the result.
struct Case {
  const char* name;
  RunOptions options;
  std::vector<std::string> files;
};

// Thread counts whose runs also write the results document: the result files
// of the others, without it, are compared with the same golden files.
bool with_json(int threads) { return threads % 2 == 1; }

// Runs one data set with the given thread count; returns the state of the
// generator after the run.
Rng run_case(const Case& c, int threads, const testing::TempDir& dir) {
  std::string dat =
      dir.write(std::string(c.name) + ".dat", testing::golden_input(std::string("full_run/") + c.name + ".dat"));
  testing::ScriptedHost host;
  Rng rng(12345, 67890);
  NbPerm nb;
  RunSettings settings{c.options, {dat}, threads, {}, {}, false};
  settings.options.CB_json = with_json(threads);
  RunOutcome out = run_files(host, rng, nb, settings, dir.file("TORVI.INI"));
  EXPECT_EQ(out.files_done, 1);
  EXPECT_TRUE(host.texts(true).empty());
  return rng;
}

std::vector<Case> cases() {
  const std::vector<std::string> every_file(std::begin(kSuffixes), std::end(kSuffixes));
  return {{"typical", every_option(), every_file},
          {"threedigits", every_option(), every_file},
          {"fourloci", RunOptions(), {".out"}}};
}

class FullRun : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override { setenv("SOURCE_DATE_EPOCH", "1700000000", 1); }
};

TEST_P(FullRun, MatchesGoldenFilesWithAnyNumberOfThreads) {
  const Case& c = GetParam();
  std::vector<std::unique_ptr<testing::TempDir>> dirs;
  std::vector<Rng> after;
  for (int threads : testing::kThreadCounts) {
    dirs.push_back(std::make_unique<testing::TempDir>("full-run-" + std::to_string(threads)));
    after.push_back(run_case(c, threads, *dirs.back()));
    EXPECT_EQ(after.back(), after.front()) << threads << " threads";
  }
  for (const char* suffix : kSuffixes) {
    const std::string name = std::string(c.name) + suffix;
    const bool expected = std::find(c.files.begin(), c.files.end(), suffix) != c.files.end();
    for (size_t t = 0; t < dirs.size(); ++t) {
      const std::string path = dirs[t]->file(name);
      if (expected)
        EXPECT_EQ(compare_file_with_golden("full_run/" + name, path), "") << testing::kThreadCounts[t] << " threads";
      else
        EXPECT_FALSE(std::filesystem::exists(path)) << name << " was written";
    }
  }
  // The results documents follow the schema, hold every number of the result
  // file to its printed precision, and do not depend on the thread count.
  nlohmann::json first_sections;
  for (size_t t = 0; t < dirs.size(); ++t) {
    const std::string document = dirs[t]->file(std::string(c.name) + ".torvi.json");
    if (!with_json(testing::kThreadCounts[t])) {
      EXPECT_FALSE(std::filesystem::exists(document));
      continue;
    }
    EXPECT_EQ(testing::results_document_problems(dirs[t]->file(std::string(c.name) + ".out")),
              std::vector<std::string>{});
    const nlohmann::json doc = nlohmann::json::parse(read_file(document));
    if (first_sections.is_null()) first_sections = doc["sections"];
    EXPECT_EQ(doc["sections"], first_sections) << testing::kThreadCounts[t] << " threads";
  }
}

INSTANTIATE_TEST_SUITE_P(DataSets, FullRun, ::testing::ValuesIn(cases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace torvi
