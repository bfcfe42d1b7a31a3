// Published data sets through both conversions and the analysis.
#include <gtest/gtest.h>

#include <filesystem>

#include "data/data_reader.h"
#include "random/seeds_file.h"
#include "run/run_driver.h"
#include "support/golden.h"
#include "support/scripted_host.h"
#include "torvi/convert.h"

namespace torvi {
namespace {

using testing::read_file;
using testing::ScriptedHost;
using testing::TempDir;

const std::string kConvertData = std::string(TORVI_TEST_DATA_DIR) + "/convert/";
constexpr int kHeaderLines = 3;  // the result file's header names the file and the date

DataSet read_whole(const std::string& path) {
  ScriptedHost host;
  DataSet ds;
  EXPECT_TRUE(check_header(host, path, ds) && read_data_file(host, path, ds)) << path;
  return ds;
}

void expect_same_genotypes(const DataSet& a, const DataSet& b) {
  EXPECT_EQ(a.np, b.np);
  EXPECT_EQ(a.nl, b.nl);
  EXPECT_EQ(a.nu, b.nu);
  EXPECT_EQ(a.locus_names, b.locus_names);
  EXPECT_EQ(a.sample_of, b.sample_of);
  ASSERT_EQ(a.ni, b.ni);
  for (int i = 1; i <= a.ni; ++i)
    for (int l = 1; l <= a.nl; ++l) {
      const int32_t x = a.geno(l, i), y = b.geno(l, i);
      ASSERT_EQ(x / a.coding_base, y / b.coding_base) << "individual " << i << " locus " << l;
      ASSERT_EQ(x % a.coding_base, y % b.coding_base) << "individual " << i << " locus " << l;
    }
}

// The result file of an analysis with every estimator, without its header.
std::string statistics_of(const std::string& data_file, const TempDir& dir) {
  setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
  ScriptedHost host;
  Rng rng(12345, 67890);
  NbPerm nb;
  RunSettings settings;
  settings.options.CB_Rar = settings.options.CB_fis = settings.options.CB_Rst = true;
  settings.options.CB_Fstpp = true;
  settings.file_list = {data_file};
  const RunOutcome outcome = run_files(host, rng, nb, settings, dir.file(kSeedsFileName));
  EXPECT_EQ(outcome.files_done, 1) << data_file;
  std::string text = read_file(data_file.substr(0, data_file.size() - 4) + ".out");
  size_t start = 0;
  for (int l = 0; l < kHeaderLines; ++l) start = text.find('\n', start) + 1;
  return text.substr(start);
}

class RoundTrip : public ::testing::TestWithParam<std::string> {};

TEST_P(RoundTrip, DataToGenepopAndBackKeepsGenotypesAndStatistics) {
  TempDir dir("round-trip");
  const std::string original = dir.file("original.dat");
  std::filesystem::copy_file(GetParam(), original);
  ScriptedHost host;
  ASSERT_EQ(convert_data_to_genepop(host, {original}).converted, 1);
  const std::string back = dir.file("back.dat");
  ASSERT_EQ(convert_genepop_to_data(host, dir.file("original.gen"), back).converted, 1);
  expect_same_genotypes(read_whole(original), read_whole(back));
  EXPECT_EQ(statistics_of(original, dir), statistics_of(back, dir));
}

INSTANTIATE_TEST_SUITE_P(PublishedData, RoundTrip,
                         ::testing::Values(std::string(TORVI_EXAMPLES_DIR) + "/nancycats.dat",
                                           kConvertData + "microbov.dat"),
                         [](const auto& info) { return std::filesystem::path(info.param).stem().string(); });

TEST(GenepopFromAnotherProgram, ConvertsToTheExampleDataFileAndIsAnalysed) {
  TempDir dir("foreign-genepop");
  const std::string gen = dir.file("nancycats.gen");
  std::filesystem::copy_file(kConvertData + "nancycats.gen", gen);
  ScriptedHost host;
  ASSERT_EQ(convert_genepop_to_data(host, gen).converted, 1);
  EXPECT_EQ(read_file(dir.file("nancycats.dat")), read_file(std::string(TORVI_EXAMPLES_DIR) + "/nancycats.dat"));
  EXPECT_FALSE(statistics_of(dir.file("nancycats.dat"), dir).empty());
}

}  // namespace
}  // namespace torvi
