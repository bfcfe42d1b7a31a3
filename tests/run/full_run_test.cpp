// Whole runs with every option on, checked against golden result files and
// for independence from the number of threads.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "datagen/generator.h"
#include "run/run_driver.h"
#include "support/golden.h"
#include "support/scripted_host.h"

namespace torvi {
namespace {

using testing::compare_with_golden;
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

struct Case {
  const char* name;
  datagen::Shape shape;
  RunOptions options;
};

// Runs one data set with the given thread count; returns the state of the
// generator after the run.
Rng run_case(const Case& c, int threads, const testing::TempDir& dir) {
  std::string dat = dir.write(std::string(c.name) + ".dat", datagen::generate_data_file(c.shape));
  testing::ScriptedHost host;
  Rng rng(12345, 67890);
  NbPerm nb;
  RunSettings settings{c.options, {dat}, threads, {}};
  RunOutcome out = run_files(host, rng, nb, settings, dir.file("TORVI.INI"));
  EXPECT_EQ(out.files_done, 1);
  EXPECT_TRUE(host.texts(true).empty());
  return rng;
}

std::vector<Case> cases() {
  datagen::Shape typical;
  typical.samples = 5;
  typical.loci = 6;
  typical.alleles_per_locus = 6;
  typical.max_allele = 40;
  typical.individuals_per_sample = 12;
  typical.missing_rate = 0.05;
  typical.differentiation = 0.3;
  typical.inbreeding = 0.1;
  typical.seed = 11;

  datagen::Shape three_digits = typical;
  three_digits.samples = 2;
  three_digits.loci = 5;
  three_digits.min_allele = 95;
  three_digits.max_allele = 130;
  three_digits.individuals_per_sample = 10;
  three_digits.missing_rate = 0.1;
  three_digits.seed = 5;

  RunOptions defaults;
  datagen::Shape four_loci = typical;
  four_loci.loci = 4;
  four_loci.samples = 4;
  four_loci.seed = 3;
  return {{"typical", typical, every_option()},
          {"threedigits", three_digits, every_option()},
          {"fourloci", four_loci, defaults}};
}

class FullRun : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override { setenv("SOURCE_DATE_EPOCH", "1700000000", 1); }
};

TEST_P(FullRun, MatchesGoldenFilesWithOneTwoAndThreeThreads) {
  const Case& c = GetParam();
  testing::TempDir one("full-run-1"), two("full-run-2"), three("full-run-3");
  Rng after1 = run_case(c, 1, one);
  Rng after2 = run_case(c, 2, two);
  Rng after3 = run_case(c, 3, three);
  EXPECT_EQ(after1, after2);
  EXPECT_EQ(after1, after3);
  for (const char* suffix : kSuffixes) {
    std::string base = std::string("/") + c.name + suffix;
    if (!std::filesystem::exists(one.path() + base)) {
      EXPECT_FALSE(std::filesystem::exists(two.path() + base)) << suffix;
      continue;
    }
    std::string single = read_file(one.path() + base);
    EXPECT_EQ(compare_with_golden(std::string("full_run/") + c.name + suffix, single), "");
    EXPECT_EQ(read_file(two.path() + base), single) << suffix << " differs with two threads";
    EXPECT_EQ(read_file(three.path() + base), single) << suffix << " differs with three threads";
  }
}

INSTANTIATE_TEST_SUITE_P(DataSets, FullRun, ::testing::ValuesIn(cases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace torvi
