#include "dispersal/genotype_set.h"

#include <gtest/gtest.h>

#include <sstream>

#include "dispersal/messages.h"
#include "dispersal/set_fixture.h"

namespace torvi::dispersal {
namespace {

std::string read_error(const std::string& text) {
  std::istringstream in(text);
  return torvi::testing::refusal_of([&] { read_set(in, "s.dat"); });
}

TEST(ReadSet, StoresRecordsInFileOrderWithRunningCounts) {
  const GenotypeSet s = torvi::testing::set_of(3, 2, {"1 0101 0203", "0 9999", "1 0202 0", "3   707  0"});
  EXPECT_EQ(s.ni, 3);
  EXPECT_EQ(s.cumulative, (std::vector<int32_t>{0, 2, 2, 3}));
  EXPECT_EQ(s.size_of(2), 0);
  EXPECT_EQ(s.codes, (std::vector<int32_t>{101, 203, 202, 0, 707, 0}));
  EXPECT_EQ(s.coding_base, 100);
}

TEST(ReadSet, RefusesFilesItCannotUse) {
  EXPECT_EQ(read_error("201 1 9 2\nl\n"), kTooManyMessage);
  EXPECT_EQ(read_error("1 1 1000 2\nl\n"), kTooManyMessage);
  // Exactly one allele 0 in a typed genotype.
  EXPECT_EQ(read_error("1 1 9 2\nl\n1 0500\n"), kProblemMessage);
  EXPECT_EQ(read_error("1 1 9 2\nl\n1 5\n"), kProblemMessage);
  EXPECT_EQ(read_error("2 1 9 2\nl\n3 0101\n"), "Line 3 of s.dat: sample 3 is out of order or above 2");
  EXPECT_EQ(read_error("2 1 9 2\nl\n2 0101\n1 0101\n"), "Line 4 of s.dat: sample 1 is out of order or above 2");
  EXPECT_EQ(read_error("1 2 9 2\nl\nl\n1 0101\n"), "Line 4 of s.dat: the file ends where a genotype is expected");
  EXPECT_EQ(read_error("1 1 9 2\nl\n1 0112\n"), "Line 3 of s.dat: genotype 112 is not a genotype code");
  EXPECT_EQ(read_error("1 1 9 3\nl\n"), "Line 1 of s.dat: not the first line of a data file of the dispersal tests");
}

}  // namespace
}  // namespace torvi::dispersal
