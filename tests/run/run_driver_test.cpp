#include "run/run_driver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "random/seeds_file.h"
#include "support/golden.h"
#include "support/scripted_host.h"

namespace torvi {
namespace {

using testing::read_file;
using testing::ScriptedHost;
using testing::TempDir;

const char* kTiny =
    "3 2 12 2\n"
    "loc1\n"
    "loc2\n"
    "1 0101 0312\n"
    "1 0102 0000\n"
    "2 0101 0303\n"
    "3 1212 0303\n";

class RunDriver : public ::testing::Test {
 protected:
  TempDir dir{"run-driver"};
  ScriptedHost host;
  Rng rng{12345, 67890};
  NbPerm nb;
  RunSettings settings;
  void SetUp() override { setenv("SOURCE_DATE_EPOCH", "1700000000", 1); }
  RunOutcome run() { return run_files(host, rng, nb, settings, dir.file(kSeedsFileName)); }
};

TEST_F(RunDriver, HeaderUsesSourceDateEpochAndFramesItWithStars) {
  settings.file_list = {dir.write("tiny.dat", kTiny)};
  RunOutcome out = run();
  EXPECT_EQ(out.files_done, 1);
  std::string text = read_file(dir.file("tiny.out"));
  std::string h = "*   The following results were generated the 11/14/23 at 22:13:20 with Torvi for windows, "
                  "V2.9.4  (June. 2003) from file tiny.dat. *";
  std::string stars(h.size(), '*');
  EXPECT_EQ(text.substr(0, 3 * 2 + 2 * stars.size() + h.size()), stars + "\r\n" + h + "\r\n" + stars + "\r\n");
}

TEST_F(RunDriver, ClosingMessageNamesTheLastFileAndSeedsAreSaved) {
  settings.file_list = {dir.write("a.dat", kTiny), dir.write("b.dat", kTiny)};
  run();
  ASSERT_FALSE(host.messages.empty());
  EXPECT_EQ(host.messages.back().text, "Torvi finished processing data in \n\rb.dat");
  EXPECT_FALSE(host.messages.back().error);
  EXPECT_EQ(read_file(dir.file(kSeedsFileName)),
            std::to_string(rng.seed1) + "   " + std::to_string(rng.seed2) + "\r\n");
  EXPECT_TRUE(std::filesystem::exists(dir.file("a.out")));
  EXPECT_TRUE(std::filesystem::exists(dir.file("b.out")));
}

TEST_F(RunDriver, ReaderFailureSkipsOnlyThatFile) {
  settings.file_list = {dir.write("bad.dat", "3 2 12 2\nloc1\nloc2\n4 0101 0101\n"), dir.write("good.dat", kTiny)};
  RunOutcome out = run();
  EXPECT_EQ(out.files_failed, 1);
  EXPECT_EQ(out.files_done, 1);
  ASSERT_GE(host.texts(true).size(), 1u);
  EXPECT_NE(host.texts(true)[0].find("At least one individual belongs to sample 4"), std::string::npos);
  EXPECT_NE(read_file(dir.file("good.out")).find("from file good.dat"), std::string::npos);
}

TEST_F(RunDriver, ExistingResultFileIsAppendedOrSkippedNeverTruncated) {
  settings.file_list = {dir.write("tiny.dat", kTiny)};
  dir.write("tiny.out", "old results\r\n");
  run();
  ASSERT_EQ(host.result_file_titles.size(), 1u);
  EXPECT_EQ(host.result_file_titles[0], "File name for the RESULT file");
  std::string appended = read_file(dir.file("tiny.out"));
  EXPECT_EQ(appended.rfind("old results\r\n", 0), 0u);
  EXPECT_GT(appended.size(), 20u);

  host.result_file_answers = {std::nullopt};
  RunOutcome out = run();
  EXPECT_EQ(out.files_skipped, 1);
  EXPECT_EQ(read_file(dir.file("tiny.out")), appended);

  host.result_file_answers = {dir.file("other.out")};
  run();
  EXPECT_EQ(read_file(dir.file("tiny.out")), appended);
  EXPECT_NE(read_file(dir.file("other.out")).find("from file tiny.dat"), std::string::npos);
}

// True when the run said it finished: never after a file could not be written.
bool said_finished(const ScriptedHost& host) {
  for (const auto& m : host.messages)
    if (m.text.find("Torvi finished processing") != std::string::npos) return true;
  return false;
}

// Files a run cannot read or write are each named with the reason and count
// as failed; the other files go on.
TEST_F(RunDriver, EntriesThatAreNotReadableDataFilesAreNamedAndTheOthersGoOn) {
  const std::string results = dir.write("data.out", "earlier results\r\n");
  std::filesystem::create_directory(dir.file("folder.dat"));
  std::filesystem::create_symlink(dir.file("loop.dat"), dir.file("loop.dat"));
  settings.file_list = {results, dir.file("ab"), dir.file("missing.dat"), dir.file("folder.dat"),
                        dir.file("loop.dat"), dir.write("good.dat", kTiny)};
  RunOutcome out = run();
  EXPECT_EQ(out.files_failed, 5);
  EXPECT_EQ(out.files_done, 1);
  const auto errors = host.texts(true);
  ASSERT_EQ(errors.size(), 5u);
  EXPECT_EQ(errors[0], results + " is not a .dat file: only data files whose names end in \".dat\" are analysed.");
  EXPECT_NE(errors[1].find("/ab is not a .dat file"), std::string::npos);
  EXPECT_EQ(errors[2], "Cannot open the data file " + dir.file("missing.dat") + ": No such file or directory.");
  EXPECT_EQ(errors[3], "The data file " + dir.file("folder.dat") + " is a folder.");
  EXPECT_EQ(errors[4], "Cannot open the data file " + dir.file("loop.dat") + ": Too many levels of symbolic links.");
  // The results were never appended to a data file, and nothing hidden was written.
  EXPECT_EQ(read_file(results), "earlier results\r\n");
  EXPECT_FALSE(std::filesystem::exists(dir.file(".out")));
  EXPECT_FALSE(std::filesystem::exists(dir.file("missing.out")));
  EXPECT_NE(read_file(dir.file("good.out")).find("from file good.dat"), std::string::npos);
}

TEST_F(RunDriver, UnwritableResultOrCompanionFailsTheFileWithoutHalfSections) {
  settings.options.CB_genotfreq = true;
  settings.file_list = {dir.write("a.dat", kTiny)};
  // A companion that cannot be replaced: the result file keeps whole sections.
  std::filesystem::create_directory(dir.file("a.x2"));
  RunOutcome out = run();
  EXPECT_EQ(out.files_failed, 1);
  ASSERT_EQ(host.texts(true).size(), 1u);
  EXPECT_EQ(host.texts(true)[0], "Cannot write " + dir.file("a.x2") + ": it is a folder");
  EXPECT_FALSE(said_finished(host));
  const std::string text = read_file(dir.file("a.out"));
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  EXPECT_EQ(text.find("Allele frequencies"), std::string::npos);

  // A result file that cannot be written.
  std::filesystem::remove(dir.file("a.out"));
  std::filesystem::create_directory(dir.file("a.out"));
  host.messages.clear();
  out = run();
  EXPECT_EQ(out.files_failed, 1);
  ASSERT_EQ(host.texts(true).size(), 1u);
  EXPECT_EQ(host.texts(true)[0].rfind("Cannot write " + dir.file("a.out") + ": ", 0), 0u);
  EXPECT_FALSE(said_finished(host));
}

TEST_F(RunDriver, SeedsThatCannotBeSavedAreAnError) {
  settings.file_list = {dir.write("a.dat", kTiny)};
  std::filesystem::create_directory(dir.file(kSeedsFileName));
  RunOutcome out = run();
  EXPECT_EQ(out.files_done, 1);
  EXPECT_FALSE(out.seeds_saved);
  ASSERT_EQ(host.texts(true).size(), 1u);
  EXPECT_NE(host.texts(true)[0].find("The seeds reached were not saved"), std::string::npos);
  EXPECT_FALSE(said_finished(host));
}

// Data sets with nothing or almost nothing typed go through every section and
// every test without touching a table that is empty.
TEST_F(RunDriver, SparseDataSetsGoThroughEverySection) {
  RunOptions& o = settings.options;
  o.CB_genotfreq = o.CB_Rar = o.CB_fis = o.CB_Rst = o.CB_Fstpp = o.CB_IFis = o.CB_PPFst = true;
  o.CB_HWW = o.CB_HWO = true;
  o.SpinEdit1 = o.SpinEdit2 = 200;
  o.RG_popdif = PopDiff::not_assuming_hw;
  o.SpinEdit3 = 20;
  o.RG_MT = o.RG_MTG = NominalLevel::fixed;
  o.SpinEdit5 = o.SpinEdit8 = 20;
  o.CB_dp = o.CB_r = o.CB_details = o.CB_Savetables = true;
  o.RG_GDT = LdTests::pairs_in_each_sample;
  settings.threads = 2;
  const char* files[] = {
      "2 2 12 2\na\nb\n1 0000 0000\n2 0000 0000\n",            // nothing typed
      "2 2 12 2\na\nb\n1 0101 0000\n2 0000 0000\n",            // one genotype
      "3 2 12 2\na\nb\n2 0101 0102\n2 0202 0101\n",            // samples 1 and 3 empty
      "2 2 12 2\na\nb\n1 0101 0101\n2 0101 0101\n2 0101 0101\n",  // one allele everywhere
      "1 1 12 2\na\n1 0102\n",                                 // one sample, one locus
  };
  int n = 0;
  for (const char* text : files) settings.file_list.push_back(dir.write("s" + std::to_string(n++) + ".dat", text));
  RunOutcome out = run();
  EXPECT_EQ(out.files_done, n);
  EXPECT_EQ(out.files_failed, 0);
}

// The progress display counts on the sections announced: each file once,
// then its sections numbered 1..n in the order they run, n the same for all.
TEST_F(RunDriver, FilesAndSectionsAreAnnouncedInOrderAndCountedBeforehand) {
  settings.options.CB_Rst = true;
  settings.options.CB_HWW = true;
  settings.options.SpinEdit1 = 200;
  settings.options.RG_popdif = PopDiff::not_assuming_hw;
  settings.options.SpinEdit3 = 20;
  settings.file_list = {dir.write("tiny.dat", kTiny), dir.write("one.dat", "1 2 12 2\nloc1\nloc2\n1 0101 0312\n")};
  run();
  EXPECT_EQ(host.run_files, (std::vector<std::string>{"1/2 " + dir.file("tiny.dat"), "2/2 " + dir.file("one.dat")}));
  const std::vector<std::string> expected = {
      "1/7 Per locus and sample statistics",
      "2/7 Nei's F-statistics",
      "3/7 Weir and Cockerham's F-statistics",
      "4/7 Rho_st",
      "5/7 Jackknife and bootstrap",
      "6/7 Hardy Weinberg within samples",
      "7/7 Population differentiation (NOT assuming HW within samples)",
      // One sample: no section that compares samples.
      "1/1 Per locus and sample statistics",
  };
  EXPECT_EQ(host.sections, expected);
}

TEST_F(RunDriver, UpperCaseExtensionIsRead) {
  settings.file_list = {dir.write("CATS.DAT", kTiny)};
  RunOutcome out = run();
  EXPECT_EQ(out.files_done, 1);
  EXPECT_TRUE(std::filesystem::exists(dir.file("CATS.out")));
}

}  // namespace
}  // namespace torvi

namespace torvi {
namespace {

TEST(RunDriverStop, StoppedRunKeepsWholeSectionsAndNeverReusesDraws) {
  setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
  testing::TempDir dir("run-driver-stop");
  RunSettings settings;
  settings.options.CB_WC = false;  // the per-sample tests are the only draws
  settings.options.CB_IFis = true;
  settings.options.RG_MT = NominalLevel::fixed;
  settings.options.SpinEdit5 = 400;
  settings.threads = 2;
  settings.file_list = {dir.write("cats.dat", read_file(std::string(TORVI_EXAMPLES_DIR) + "/nancycats.dat"))};

  ScriptedHost complete_host;
  Rng complete(17, 23);
  NbPerm nb;
  run_files(complete_host, complete, nb, settings, dir.file("complete.ini"));
  std::string complete_text = read_file(dir.file("cats.out"));
  std::filesystem::remove(dir.file("cats.out"));

  ScriptedHost host;
  host.stop_after_steps = 50;
  Rng stopped(17, 23);
  RunOutcome out = run_files(host, stopped, nb, settings, dir.file(kSeedsFileName));
  EXPECT_TRUE(out.cancelled);
  EXPECT_EQ(stopped, complete);
  EXPECT_EQ(read_file(dir.file(kSeedsFileName)),
            std::to_string(complete.seed1) + "   " + std::to_string(complete.seed2) + "\r\n");
  std::string text = read_file(dir.file("cats.out"));
  EXPECT_EQ(text.find("P-value for Fis within samples."), std::string::npos);
  // Whole sections, then one line saying where the run stopped.
  const std::string mark = "Run cancelled by the user during HW tests per locus and sample\r\n";
  ASSERT_GT(text.size(), mark.size());
  EXPECT_EQ(text.substr(text.size() - mark.size()), mark);
  text.resize(text.size() - mark.size());
  EXPECT_EQ(complete_text.rfind(text, 0), 0u) << "the stopped file is a prefix of the complete one";
  EXPECT_EQ(host.messages.back().text, "Torvi run cancelled while processing\n\rcats.dat");
}

}  // namespace
}  // namespace torvi
