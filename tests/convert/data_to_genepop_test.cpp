#include <gtest/gtest.h>

#include <filesystem>

#include "support/golden.h"
#include "support/scripted_host.h"
#include "torvi/convert.h"

namespace torvi {
namespace {

using testing::read_file;
using testing::ScriptedHost;
using testing::TempDir;

class DataToGenepop : public ::testing::Test {
 protected:
  TempDir dir{"dat2gen"};
  ScriptedHost host;
  ConvertOutcome convert(const std::vector<std::string>& files) { return convert_data_to_genepop(host, files); }
};

TEST_F(DataToGenepop, WritesTitleNamesAsReadAndPopWhereTheSampleNumberRises) {
  // Samples out of order, a record of sample 0 (skipped, not counted), a
  // name holding characters the analysis would blank.
  const std::string dat = dir.write("ex.dat",
                                    "3 2 12 2\n"
                                    "loc1\n"
                                    "ab#cdefgh\n"
                                    "1 0101 1203\n"
                                    "1 0102 0000\n"
                                    "0 9999 9999\n"
                                    "3 1212 0303\n"
                                    "2 0505 0606\n"
                                    "3 0707 0808\n");
  const ConvertOutcome out = convert({dat});
  EXPECT_EQ(out.converted, 1);
  EXPECT_TRUE(out.all_done());
  EXPECT_EQ(read_file(dir.file("ex.gen")),
            "[Put here a description of the file]    3    2   12\r\n"
            "loc1\r\n"
            "ab#cde\r\n"
            "Pop\r\n"
            "sample 1 ind#1 , 0101 0312 \r\n"
            "sample 1 ind#2 , 0102 0000 \r\n"
            "Pop\r\n"
            "sample 3 ind#3 , 1212 0303 \r\n"
            "sample 2 ind#4 , 0505 0606 \r\n"
            "Pop\r\n"
            "sample 3 ind#5 , 0707 0808 \r\n");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_FALSE(host.messages[0].error);
  EXPECT_EQ(host.messages[0].text, "Genepop compatible datafile\n\rstored in file " + dir.file("ex.gen"));
}

TEST_F(DataToGenepop, AllelesTakeTwoDigitsUpToTwoDigitCodingAndThreeBeyond) {
  // No "Pop" before the first individual whatever its sample: the head's
  // "Pop" opens it.
  const std::string one = dir.write("one.DAT", "2 1 9 1\nL\n2 12\n2 21\n2 0\n");
  const std::string three = dir.write("three.dat", "1 2 999 3\nA\nB\n1 101102 9045\n1 999001 0\n");
  EXPECT_EQ(convert({one, three}).converted, 2);
  EXPECT_EQ(read_file(dir.file("one.gen")),
            "[Put here a description of the file]    2    1    9\r\nL\r\nPop\r\n"
            "sample 2 ind#1 , 0102 \r\n"
            "sample 2 ind#2 , 0102 \r\n"
            "sample 2 ind#3 , 0000 \r\n");
  EXPECT_EQ(read_file(dir.file("three.gen")),
            "[Put here a description of the file]    1    2  999\r\nA\r\nB\r\nPop\r\n"
            "sample 1 ind#1 , 101102 009045 \r\n"
            "sample 1 ind#2 , 001999 000000 \r\n");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "Genepop compatible datafile\n\rstored in file " + dir.file("three.gen"));
}

TEST_F(DataToGenepop, ARefusedFileKeepsItsHeadAndTheNextFileIsConverted) {
  const std::string miscoded = dir.write("bad.dat", "2 1 9 2\nLoc\n1 0101\n1 0500\n");
  const std::string digits = dir.write("digits.dat", "1 1 9 4\nL\n1 0101\n");
  const std::string too_many = dir.write("many.dat", "1 601 9 2\nL\n1 0101\n");
  const std::string good = dir.write("good.dat", "1 1 9 2\nL\n1 0909\n");
  const std::string unreadable = dir.write("text.dat", "x 1 9 2\nL\n1 0101\n");
  const ConvertOutcome out = convert({miscoded, digits, good, too_many, unreadable});
  EXPECT_EQ(out.converted, 1);
  EXPECT_EQ(out.refused, 4);
  EXPECT_EQ(out.written, std::vector<std::string>{dir.file("good.gen")});

  // The individuals read before the miscoded genotype are not kept either.
  EXPECT_EQ(read_file(dir.file("bad.gen")), "[Put here a description of the file]    2    1    9\r\nLoc\r\nPop\r\n");
  EXPECT_EQ(read_file(dir.file("digits.gen")), "[Put here a description of the file]    1    1    9\r\nL\r\nPop\r\n");
  // Names are not read when their count is over the limit.
  EXPECT_EQ(read_file(dir.file("many.gen")), "[Put here a description of the file]    1  601    9\r\nPop\r\n");
  // Nothing to write when the first line cannot be read.
  EXPECT_FALSE(std::filesystem::exists(dir.file("text.gen")));

  ASSERT_EQ(host.messages.size(), 5u);
  EXPECT_TRUE(host.messages[0].error);
  EXPECT_EQ(host.messages[0].text.rfind("Miscoded genotype for individual 2\n\rat locus 1. Alleles are 5 and 0", 0), 0u);
  EXPECT_FALSE(host.messages[1].error);
  EXPECT_EQ(host.messages[1].text.rfind("error in " + dir.file("digits") + ". The 4th number on the first line", 0),
            0u);
  EXPECT_EQ(host.messages[2].text.rfind("Too many populations, loci or alleles. NPMax= 200", 0), 0u);
  EXPECT_NE(host.messages[3].text.find("\"x\" where a number is expected"), std::string::npos);
  EXPECT_EQ(host.messages[4].text, "Genepop compatible datafile\n\rstored in file " + dir.file("good.gen"));
}

TEST_F(DataToGenepop, OtherFilesArePassedOverAndNothingConvertedShowsNoClosingMessage) {
  const std::string gen = dir.write("x.gen", "title\nL\nPop\n1, 0101\n");
  const std::string txt = dir.write("x.txt", "1 1 9 2\nL\n1 0101\n");
  const ConvertOutcome out = convert({gen, txt});
  EXPECT_EQ(out.converted + out.refused + out.skipped, 0);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(read_file(gen), "title\nL\nPop\n1, 0101\n");
  EXPECT_TRUE(convert({}).written.empty());
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(DataToGenepop, AnExistingGenepopFileIsReplacedOnlyUnderTheNameChosen) {
  const std::string dat = dir.write("cats.dat", "1 1 9 2\nL\n1 0909\n");
  dir.write("cats.gen", "old");
  host.result_file_answers = {std::nullopt, dir.file("new.txt")};
  const ConvertOutcome declined = convert({dat});
  EXPECT_EQ(declined.skipped, 1);
  EXPECT_EQ(read_file(dir.file("cats.gen")), "old");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "Invalid file name");

  host.messages.clear();
  EXPECT_EQ(convert({dat}).converted, 1);
  EXPECT_EQ(read_file(dir.file("cats.gen")), "old");
  EXPECT_EQ(read_file(dir.file("new.txt")).substr(0, 36), "[Put here a description of the file]");
  EXPECT_EQ(host.result_file_titles,
            std::vector<std::string>(2, "File name for the new GENEPOP file"));
  EXPECT_EQ(host.result_file_proposals, std::vector<std::string>(2, dir.file("cats.gen")));
  // The closing message names the file written.
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "Genepop compatible datafile\n\rstored in file " + dir.file("new.txt"));
}

TEST_F(DataToGenepop, AFileThatCannotBeWrittenIsAnErrorAndNeverReplacesItsInput) {
  const std::string dat = dir.write("cats.dat", "1 1 9 2\nL\n1 0909\n");
  dir.write("cats.gen", "old");
  host.result_file_answers = {dir.file("no/such/folder.gen"), dat};
  ConvertOutcome out = convert({dat});
  EXPECT_EQ(out.refused, 1);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_TRUE(host.messages[0].error);
  EXPECT_EQ(host.messages[0].text.rfind("Cannot write " + dir.file("no/such/folder.gen") + ": ", 0), 0u);

  out = convert({dat});
  EXPECT_EQ(out.refused, 1);
  EXPECT_EQ(read_file(dat), "1 1 9 2\nL\n1 0909\n");
  EXPECT_EQ(host.messages.back().text,
            "The Genepop file cannot replace the data file it is converted from: " + dat);
}

TEST_F(DataToGenepop, StopsWhenTheHostAsksAndLeavesNoFile) {
  const std::string dat = dir.write("cats.dat", "1 1 9 2\nL\n1 0909\n1 0101\n");
  host.stop_after_steps = 0;
  const ConvertOutcome out = convert({dat, dat});
  EXPECT_TRUE(out.cancelled);
  EXPECT_EQ(out.converted, 0);
  EXPECT_FALSE(std::filesystem::exists(dir.file("cats.gen")));
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace torvi
