#include "dispersal/sex_labelled_file.h"

#include <gtest/gtest.h>

#include "dispersal/messages.h"
#include "dispersal/set_fixture.h"
#include "dispersal/split_files.h"

namespace torvi::dispersal {
namespace {

std::string split_error(const std::string& text) {
  return torvi::testing::refusal_of([&] { read_sex_labelled(text, "x.gen", 'F', 'M'); });
}

// Two samples: letters of other cases and unknown letters are dropped, a
// label starting with p ends the sample, a half-typed genotype becomes 0.
constexpr const char* kTwoSamples =
    "2 3 20\n"
    "a, b, c\n"
    "Pop\n"
    "M1, 0102 0303 0100\n"
    "F2, 1010 0000 0203\n"
    "f3, 0101 0101 0101\n"
    "X4, 0101 0101 0101\n"
    "F5,0202   0304\t0405 extra\n"
    "pop 2\n"
    "M1 , 2020 2019 1920\n";

TEST(SexSplit, FilesHoldTheirRecordsInTheirLayout) {
  const SexRecords r = read_sex_labelled(kTwoSamples, "x.gen", 'F', 'M');
  EXPECT_EQ(sex_file_text(r.header, r.phil),
            "   2   3  20  2\r\nloc1\r\nloc2\r\nloc3\r\n"
            "   1  1010     0   203\r\n"
            "   1   202   304   405\r\n");
  EXPECT_EQ(sex_file_text(r.header, r.disp),
            "   2   3  20  2\r\nloc1\r\nloc2\r\nloc3\r\n"
            "   1   102   303     0\r\n"
            "   2  2020  2019  1920\r\n");
  // Per sample, the philopatric records come first.
  EXPECT_EQ(pooled_file_text(r),
            "   2   3  20  2\r\nloc1\r\nloc2\r\nloc3\r\n"
            "   1  1010     0   203\r\n"
            "   1   202   304   405\r\n"
            "   1   102   303     0\r\n"
            "   2  2020  2019  1920\r\n");
  EXPECT_EQ(r.beyond_np, 0);
}

TEST(SexSplit, SamplesAreCountedBySeparators) {
  // An empty sample between two separators; records beyond np are counted.
  const SexRecords r = read_sex_labelled(
      "3 1 9\nloc\nPop\nF, 0101\nPOP\npop\nM, 0202\nPop\nF, 0303\nPop\nF, 0404\nM, 0505\nm, 0606\n", "x.gen", 'F', 'M');
  ASSERT_EQ(r.phil.size(), 4u);
  EXPECT_EQ(r.phil[1], std::vector<int32_t>{101});
  EXPECT_TRUE(r.phil[2].empty());
  EXPECT_TRUE(r.disp[2].empty());
  EXPECT_EQ(r.disp[3], std::vector<int32_t>{202});
  EXPECT_EQ(r.beyond_np, 3);
  // The letters are the caller's: here M is the philopatric sex.
  const SexRecords swapped = read_sex_labelled("1 1 9\nloc\nPop\nF, 0101\nM, 0202\n", "x.gen", 'M', 'F');
  EXPECT_EQ(swapped.phil[1], std::vector<int32_t>{202});
  EXPECT_EQ(swapped.disp[1], std::vector<int32_t>{101});
}

TEST(SexSplit, KeepsAtMostTheLimitOfEachSexPerSample) {
  std::string text = "2 1 9\nloc\nPop\n";
  for (int i = 0; i < kMaxRecordsPerSex + 2; ++i) text += "F, 0101\n";
  for (int i = 0; i < 3; ++i) text += "Q, 0101\n";  // dropped, never counted against M
  for (int i = 0; i < kMaxRecordsPerSex; ++i) text += "M, 0202\n";
  text += "Pop\nF, 0303\n";
  const SexRecords r = read_sex_labelled(text, "x.gen", 'F', 'M');
  EXPECT_EQ(r.phil[1].size(), static_cast<size_t>(kMaxRecordsPerSex));
  EXPECT_EQ(r.disp[1].size(), static_cast<size_t>(kMaxRecordsPerSex));
  EXPECT_EQ(r.over_limit, 2);
  EXPECT_EQ(r.phil[2], std::vector<int32_t>{303});
}

TEST(SexSplit, LineEndsOfAnyKind) {
  const SexRecords r = read_sex_labelled("\xEF\xBB\xBF" "1 2 9\r\nl1 l2\rPop\r\nF, 0101 0202\r\n", "x.gen", 'F', 'M');
  EXPECT_EQ(r.phil[1], (std::vector<int32_t>{101, 202}));
}

TEST(SexSplit, RefusesWhatItCannotRead) {
  EXPECT_EQ(split_error(""), kInvalidFormatMessage);
  EXPECT_EQ(split_error("2 3\n4\nPop\n"), kInvalidFormatMessage);  // the numbers must stand on line 1
  EXPECT_EQ(split_error("2 3 x\n"), kInvalidFormatMessage);
  EXPECT_EQ(split_error("-2 3 9\n"), kInvalidFormatMessage);
  EXPECT_EQ(split_error("201 3 9\n"), kTooManyMessage);
  EXPECT_EQ(split_error("2 601 9\n"), kTooManyMessage);
  EXPECT_EQ(split_error("2 3 1000\n"), kTooManyMessage);
  EXPECT_EQ(split_error("0 3 9\n"), "Line 1 of x.gen: the numbers of samples, loci and alleles must be at least 1");
  // A short record never takes its genotypes from the next line.
  EXPECT_EQ(split_error("1 2 9\nl\nPop\nF, 0101\nF, 0101 0101\n"), "Line 4 of x.gen: the record holds 1 of 2 genotypes");
  EXPECT_EQ(split_error("1 2 9\nl\nPop\nF, 0101 01o1\n"), "Line 4 of x.gen: \"01o1\" where genotype 2 is expected");
  EXPECT_EQ(split_error("1 1 9\nl\nPop\nF 0101\n"), "Line 4 of x.gen: no comma ends the individual's label");
  EXPECT_EQ(split_error("1 1 9\nl\nPop\nM, 0110\n"),
            "Line 4 of x.gen: genotype 0110 holds an allele above 9, the highest declared on line 1");
  // Records that are dropped are not read.
  EXPECT_EQ(split_error("1 1 9\nl\nPop\nX, junk\nf, junk\n"), "");
}

TEST(SexSplit, FileNamesFollowTheBaseAndLetters) {
  const SplitPaths p = split_paths("/tmp/d", "bats", 'F', 'M');
  EXPECT_EQ(p.phil, "/tmp/d/batsF.dat");
  EXPECT_EQ(p.disp, "/tmp/d/batsM.dat");
  EXPECT_EQ(p.pooled, "/tmp/d/bats.dat");
  EXPECT_EQ(split_paths("", "bats", 'f', 'x').phil, "batsf.dat");
}

}  // namespace
}  // namespace torvi::dispersal
