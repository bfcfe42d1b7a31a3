#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "convert/genepop_to_dat.h"
#include "support/golden.h"
#include "support/scripted_host.h"
#include "torvi/convert.h"

namespace torvi {
namespace {

using testing::read_file;
using testing::ScriptedHost;
using testing::TempDir;
using namespace std::string_literals;

// The data file written for a Genepop text, or the message refusing it.
struct Converted {
  bool ok = false;
  std::string text;
  std::string error;
};

Converted convert_text(const std::string& genepop) {
  Converted c;
  GenepopSurvey survey;
  std::istringstream first(genepop);
  if (!survey_genepop(first, "/d/g.gen", survey, c.error)) return c;
  std::istringstream second(genepop);
  StringSink out;
  c.ok = write_data_file(second, "/d/g.gen", survey, out, c.error);
  c.text = out.text();
  return c;
}

std::string problem(const std::string& text) { return "Problem in the genepop file!\n\r" + text; }

TEST(GenepopToData, WritesCountsNamesAndRecordsInFixedWidths) {
  const Converted c = convert_text(
      "Some title\n"
      "locus1\n"
      "lo2\n"
      "POP\n"
      "ind a, 0102 1503\n"
      "ind b,0000   0909\n"
      "pop\n"
      "ind c , 0312 0101 extra text is ignored\n");
  ASSERT_TRUE(c.ok) << c.error;
  EXPECT_EQ(c.text,
            "2 2 15 2\r\n"
            "locus1\r\n"
            "lo2\r\n"
            "   1    102   1503 \r\n"
            "   1      0    909 \r\n"
            "   2    312    101 \r\n");
}

TEST(GenepopToData, ReadsBothFormsOfTheNameListAndCutsNamesToSix) {
  const std::string records = "Pop\n1, 0101 0101 0101\n";
  Converted per_line = convert_text("t\nabcdefgh\n b c\nxy\n" + records);
  ASSERT_TRUE(per_line.ok) << per_line.error;
  EXPECT_EQ(per_line.text.substr(0, per_line.text.find("   1")), "1 3 1 2\r\nabcdef\r\n b c\r\nxy\r\n");
  // Blanks belong to the names in the comma form; line ends separate nothing.
  Converted commas = convert_text("t\nabcdefgh, b c,\nxy\n" + records);
  ASSERT_TRUE(commas.ok) << commas.error;
  EXPECT_EQ(commas.text.substr(0, commas.text.find("   1")), "1 3 1 2\r\nabcdef\r\n b c\r\nxy\r\n");
}

TEST(GenepopToData, FindsThePopLinesWhateverTheLineEnds) {
  const std::string lf = "t\nA\nB\nPop\n1, 0101 0202\nPop\n2, 0303 0000\n";
  Converted expected = convert_text(lf);
  ASSERT_TRUE(expected.ok) << expected.error;
  EXPECT_EQ(expected.text, "2 2 3 2\r\nA\r\nB\r\n   1    101    202 \r\n   2    303      0 \r\n");
  std::string crlf, cr;
  for (char ch : lf) {
    crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    cr += ch == '\n' ? '\r' : ch;
  }
  EXPECT_EQ(convert_text(crlf).text, expected.text);
  EXPECT_EQ(convert_text(cr).text, expected.text);
  // Without its last line end, blank lines between records, and a last
  // "Pop" with nobody after it: no sample and no record more.
  EXPECT_EQ(convert_text("t\nA\nB\nPop\n1, 0101 0202\n\n  \nPop\n2, 0303 0000\nPOP\n\n").text, expected.text);
  EXPECT_EQ(convert_text(lf.substr(0, lf.size() - 1)).text, expected.text);
}

TEST(GenepopToData, ALabelBeginningWithPopStartsASample) {
  const Converted c = convert_text("t\nA\nPop\nx, 0101\nPopulus 7, 0202\nPOPE, 0303\nPop\nlast, 0404\n");
  ASSERT_TRUE(c.ok) << c.error;
  EXPECT_EQ(c.text, "4 1 4 2\r\nA\r\n   1    101 \r\n   2    202 \r\n   3    303 \r\n   4    404 \r\n");
}

TEST(GenepopToData, TheFirstGenotypeFixesTheCodingEvenWhenMissing) {
  Converted two = convert_text("t\nA\nB\nPop\n1, 0000 0102\n1, 0909 0000\n");
  ASSERT_TRUE(two.ok) << two.error;
  EXPECT_EQ(two.text.substr(0, 9), "1 2 9 2\r\n");
  Converted three = convert_text("t\nA\nB\nPop\n1, 000000 101102\n1, 003999 0\n");
  ASSERT_TRUE(three.ok) << three.error;
  EXPECT_EQ(three.text, "1 2 999 3\r\nA\r\nB\r\n   1      0 101102 \r\n   1   3999      0 \r\n");
  EXPECT_EQ(convert_text("t\nA\nPop\n1, 01002\n").error,
            problem("each allele must be encoded by a 2 or 3 digits number"));
  // A later genotype with an allele the coding cannot hold.
  EXPECT_EQ(convert_text("t\nA\nPop\n1, 0101\n2, 10101\n").error,
            problem("each allele must be encoded by a 2 or 3 digits number\n\rLine 5 of /d/g.gen holds the "
                    "genotype 10101."));
}

TEST(GenepopToData, AGenotypeWithOneAlleleIsRefusedWithThePartsMessages) {
  EXPECT_EQ(convert_text("t\nA\nB\nPop\n1, 0101 0100\n").error,
            problem("a genotype must contain either 2 or 0 alleles\n\rIndividual 1 in sample 1 has only one typed "
                    "allele at locus 2\n\rA real allele for diploid individuals is not allowed."));
  EXPECT_EQ(convert_text("t\nA\nB\nPop\n1, 0101 0101\nPop\n2, 0001 0101\n").error,
            problem("a genotype must contain either 2 or 0 alleles\n\rIndividual 2 in sample 2 has only one typed "
                    "allele at locus 1\n\rA single allele for diploid individuals is not allowed."));
}

TEST(GenepopToData, RecordsThatWouldShiftTheReadingAreRefusedWithFileAndLine) {
  EXPECT_EQ(convert_text("t\nA\nB\nPop\n1, 0101 0101\n2, 0101\n3, 0101 0101\n").error,
            problem("Line 6 of /d/g.gen holds 1 genotypes where 2 are expected."));
  EXPECT_EQ(convert_text("t\nA\nB\nPop\n1, 0101 01O1\n").error,
            problem("Line 5 of /d/g.gen holds \"01O1\" where a genotype is expected."));
  EXPECT_EQ(convert_text("t\nA\nPop\n1, -101\n").error,
            problem("Line 4 of /d/g.gen holds \"-101\" where a genotype is expected."));
  EXPECT_EQ(convert_text("t\nA\nPop\n1, 0101\nlast\n").error,
            problem("/d/g.gen ends inside the label of individual 2 (line 5): no comma follows it."));
}

TEST(GenepopToData, FilesWithoutUsableNamesOrIndividualsAreRefused) {
  // "Pop " with a blank is not the end of the names.
  EXPECT_EQ(convert_text("t\nA\nPop \n1, 0101\n").error,
            problem("/d/g.gen: no POP line after the locus names."));
  EXPECT_EQ(convert_text("").error, problem("/d/g.gen: no POP line after the locus names."));
  EXPECT_EQ(convert_text("t\nPop\n1, 0101\n").error, problem("/d/g.gen: no locus name before the first POP line."));
  EXPECT_EQ(convert_text("t\nA\nPop\n\nPop\n").error, problem("/d/g.gen holds no individuals."));
  // A NUL byte: the data file would be refused as binary data.
  EXPECT_EQ(convert_text("t\nA\0B\nPop\n1, 0101\n"s).error,
            problem("Line 2 of /d/g.gen holds binary data: it is not a Genepop file."));
  EXPECT_EQ(convert_text("t\nA\nPop\n1, 0101\n2\0, 0101\n"s).error,
            problem("Line 5 of /d/g.gen holds binary data: it is not a Genepop file."));
  std::string many = "t\n";
  for (int l = 0; l < 600; ++l) many += "L,";
  EXPECT_EQ(convert_text(many + "\nPop\n").error,
            problem("/d/g.gen names 601 loci; at most 600 can be converted."));
}

class GenepopToDataCommand : public ::testing::Test {
 protected:
  TempDir dir{"gen2dat"};
  ScriptedHost host;
  const std::string kGenepop = "t\nA\nPop\n1, 0101\n";
};

TEST_F(GenepopToDataCommand, WritesBesideTheGenepopFileAndSaysSo) {
  const std::string gen = dir.write("cats.GEN", kGenepop);
  const ConvertOutcome out = convert_genepop_to_data(host, gen);
  EXPECT_EQ(out.converted, 1);
  EXPECT_EQ(read_file(dir.file("cats.dat")), "1 1 1 2\r\nA\r\n   1    101 \r\n");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_FALSE(host.messages[0].error);
  EXPECT_EQ(host.messages[0].text, "TORVI file format for " + dir.file("cats") + " successfully created.");
  EXPECT_TRUE(host.result_file_titles.empty());
}

TEST_F(GenepopToDataCommand, AnExistingDataFileIsReplacedOnlyUnderTheNameChosen) {
  const std::string gen = dir.write("cats", kGenepop);  // no extension is taken too
  dir.write("cats.dat", "old");
  host.result_file_answers = {std::nullopt, dir.file("other.dat")};
  EXPECT_EQ(convert_genepop_to_data(host, gen).skipped, 1);
  EXPECT_EQ(read_file(dir.file("cats.dat")), "old");
  EXPECT_TRUE(host.messages.empty());

  EXPECT_EQ(convert_genepop_to_data(host, gen).converted, 1);
  EXPECT_EQ(read_file(dir.file("cats.dat")), "old");
  EXPECT_EQ(read_file(dir.file("other.dat")), "1 1 1 2\r\nA\r\n   1    101 \r\n");
  EXPECT_EQ(host.result_file_titles, std::vector<std::string>(2, "File name for the new TORVI file"));
  EXPECT_EQ(host.result_file_proposals, std::vector<std::string>(2, dir.file("cats.dat")));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "TORVI file format for " + dir.file("other.dat") + " successfully created.");
}

TEST_F(GenepopToDataCommand, AFaultyFileWritesNothingAndOtherNamesAreNotTaken) {
  const std::string bad = dir.write("bad.gen", "t\nA\nPop\n1, 0100\n");
  EXPECT_EQ(convert_genepop_to_data(host, bad).refused, 1);
  EXPECT_FALSE(std::filesystem::exists(dir.file("bad.dat")));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_FALSE(host.messages[0].error);

  host.messages.clear();
  const std::string txt = dir.write("cats.txt", kGenepop);
  EXPECT_EQ(convert_genepop_to_data(host, txt).skipped, 1);
  EXPECT_TRUE(host.messages.empty());
  // A folder whose name has a full stop does not lend its extension.
  std::filesystem::create_directories(dir.file("x.y"));
  const std::string plain = dir.write("x.y/cats", kGenepop);
  EXPECT_EQ(convert_genepop_to_data(host, plain).converted, 1);
  EXPECT_TRUE(std::filesystem::exists(dir.file("x.y/cats.dat")));
}

TEST_F(GenepopToDataCommand, AGivenTargetIsWrittenEvenWhenItExists) {
  const std::string gen = dir.write("cats.gen", kGenepop);
  const std::string target = dir.write("mine.dat", "old");
  EXPECT_EQ(convert_genepop_to_data(host, gen, target).converted, 1);
  EXPECT_EQ(read_file(target), "1 1 1 2\r\nA\r\n   1    101 \r\n");
  EXPECT_EQ(host.messages.back().text, "TORVI file format for " + target + " successfully created.");
  EXPECT_EQ(convert_genepop_to_data(host, gen, gen).refused, 1);
  EXPECT_EQ(read_file(gen), kGenepop);
}

}  // namespace
}  // namespace torvi
