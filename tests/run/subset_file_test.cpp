#include "run/subset_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "data/label_file.h"
#include "support/golden.h"
#include "support/scripted_host.h"

namespace torvi {
namespace {

using testing::read_file;
using testing::ScriptedHost;
using testing::TempDir;

// Three samples, five loci (one name longer than 6 characters), a record of
// sample 0 and one of a sample beyond np; codes written with leading zeros
// and with the larger allele first.
const char* kPops =
    "4 5 12 2 first line comment\n"
    "loc1\n"
    "microsat-two long name\n"
    "loc3\n"
    "loc4\n"
    "loc5\n"
    "1 0101 1203 0000 0202 0312\n"
    "0 0101 0101 0101 0101 0101\n"
    "2 0102 0303 0404 0505 0606\n"
    "3 1212 0112\n"
    "  0707 0808 0909\n"
    "4 0101 0101 0101 0101 0101\n";

class SubsetFileTest : public ::testing::Test {
 protected:
  TempDir dir{"subset"};
  ScriptedHost host;
  Selection sel;
  std::string data = dir.write("pops.dat", kPops);
  std::string base = dir.file("pops");

  void SetUp() override { sel.reset(4, 5); }
  void keep_loci(std::initializer_list<int> loci) {
    sel.loci_checked = true;
    std::fill(sel.locus_selected.begin(), sel.locus_selected.end(), 0);
    for (int l : loci) sel.locus_selected[l] = 1;
  }
  void keep_samples(std::initializer_list<int> samples) {
    sel.samples_checked = true;
    std::fill(sel.sample_selected.begin(), sel.sample_selected.end(), 0);
    for (int s : samples) sel.sample_selected[s] = 1;
  }
  std::optional<SubsetFile> select(bool labels = false) { return select_subset(host, data, base, sel, labels); }
};

TEST_F(SubsetFileTest, WithoutAMarkTheOpenedFileIsAnalysedAndNothingIsWritten) {
  sel.locus_selected[2] = 0;  // a flag without its mark has no effect
  auto subset = select();
  ASSERT_TRUE(subset);
  EXPECT_EQ(subset->base_name, base);
  EXPECT_EQ(subset->data_path, data);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
  EXPECT_TRUE(host.subset_file_proposals.empty());
}

TEST_F(SubsetFileTest, LociTwoAndFiveKeepTheirWholeNamesAndCodesAsRead) {
  keep_loci({2, 5});
  auto subset = select();
  ASSERT_TRUE(subset);
  EXPECT_EQ(subset->base_name, base + "-L25");
  EXPECT_EQ(subset->data_path, base + "-L25.dat");
  ASSERT_EQ(host.subset_file_proposals, std::vector<std::string>{base + "-L25.dat"});
  EXPECT_EQ(read_file(base + "-L25.dat"),
            "   4    2   12    2\r\n"
            "microsat-two long name\r\n"
            "loc5\r\n"
            "     1   1203    312 \r\n"
            "     2    303    606 \r\n"
            "     3    112    909 \r\n"
            "     4    101    101 \r\n");
}

TEST_F(SubsetFileTest, KeptSamplesAreRenumberedInTheirOrder) {
  keep_loci({2, 5});
  keep_samples({1, 3});
  auto subset = select();
  ASSERT_TRUE(subset);
  EXPECT_EQ(subset->base_name, base + "-L25-P13");
  EXPECT_EQ(read_file(base + "-L25-P13.dat"),
            "   2    2   12    2\r\n"
            "microsat-two long name\r\n"
            "loc5\r\n"
            "     1   1203    312 \r\n"
            "     2    112    909 \r\n");
}

TEST_F(SubsetFileTest, MarkedChoiceOfEverythingStillNamesEveryNumber) {
  sel.loci_checked = true;
  auto subset = select();
  ASSERT_TRUE(subset);
  EXPECT_EQ(subset->base_name, base + "-L12345");
}

TEST_F(SubsetFileTest, LabelsOfKeptSamplesGoToTheSubsetsLabelFile) {
  sel.sample_names = {"", "alpha", "beta", "gamma", "delta"};
  keep_samples({2, 4});
  auto subset = select(true);
  ASSERT_TRUE(subset);
  EXPECT_EQ(subset->sample_names, (std::vector<std::string>{"", "beta", "delta"}));
  EXPECT_EQ(read_file(base + "-P24.lab"), "beta\r\ndelta\r\n");
  // Without the label mark no label file is written.
  std::filesystem::remove(base + "-P24.lab");
  ASSERT_TRUE(select(false));
  EXPECT_FALSE(std::filesystem::exists(base + "-P24.lab"));
}

TEST_F(SubsetFileTest, ChosenNameGetsDatAddedAndNeverReplacesTheDataFile) {
  keep_samples({1, 2});
  host.subset_file_answers = {dir.file("mine"), dir.file("other.DAT"), data};
  auto subset = select();
  ASSERT_TRUE(subset);
  EXPECT_EQ(subset->data_path, dir.file("mine.dat"));
  EXPECT_EQ(subset->base_name, dir.file("mine"));
  EXPECT_FALSE(std::filesystem::exists(base + "-P12.dat"));

  EXPECT_EQ(select()->data_path, dir.file("other.DAT"));

  subset = select();  // the opened file itself is refused: the proposed name is kept
  ASSERT_TRUE(subset);
  EXPECT_EQ(subset->data_path, base + "-P12.dat");
  EXPECT_EQ(read_file(data), kPops);
  ASSERT_EQ(host.texts(true).size(), 1u);
  EXPECT_NE(host.texts(true)[0].find("cannot replace the data file"), std::string::npos);
}

TEST_F(SubsetFileTest, UnreadableRecordsAreReportedWithTheirLine) {
  keep_samples({1, 2});
  data = dir.write("pops.dat", "2 2 12 2\nloc1\nloc2\n1 0101 0101\n2 0101 xx\n");
  EXPECT_FALSE(select());
  ASSERT_EQ(host.texts(true).size(), 1u);
  EXPECT_NE(host.texts(true)[0].find("line 5"), std::string::npos);
  data = dir.write("pops.dat", "2 2 12 2\nloc1\nloc2\n1 0101 0101\n2 0101\n");
  EXPECT_FALSE(select());
  EXPECT_NE(host.texts(true)[1].find("ends inside a record"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(base + "-P12.dat"));
}

TEST(LabelFile, FirstSixCharactersOfTheFirstNpLines) {
  TempDir dir{"labels"};
  ScriptedHost host;
  std::vector<std::string> names;
  const std::string path = dir.write("x.lab", "Colony one\r\nB\r\n\r\nlast-without-end");
  ASSERT_TRUE(read_label_file(host, path, 4, names));
  EXPECT_EQ(names, (std::vector<std::string>{"", "Colony", "B", "", "last-w"}));
  ASSERT_TRUE(read_label_file(host, path, 2, names));
  EXPECT_EQ(names, (std::vector<std::string>{"", "Colony", "B"}));
}

TEST(LabelFile, FewerLinesThanSamplesIsAnErrorNamingTheFile) {
  TempDir dir{"labels"};
  ScriptedHost host;
  std::vector<std::string> names = {"", "kept"};
  const std::string path = dir.write("short.lab", "A\nB\n");
  EXPECT_FALSE(read_label_file(host, path, 3, names));
  EXPECT_EQ(names, (std::vector<std::string>{"", "kept"}));
  ASSERT_EQ(host.texts(true).size(), 1u);
  EXPECT_NE(host.texts(true)[0].find(path), std::string::npos);
  EXPECT_NE(host.texts(true)[0].find("holds 2 lines"), std::string::npos);
  EXPECT_FALSE(read_label_file(host, dir.file("missing.lab"), 1, names));
}

}  // namespace
}  // namespace torvi
