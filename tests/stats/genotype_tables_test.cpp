#include "stats/genotype_tables.h"

#include <gtest/gtest.h>

#include "run/data_set_lifecycle.h"
#include "support/golden.h"
#include "support/scripted_host.h"

namespace torvi {
namespace {

using testing::read_file;
using testing::TempDir;

// Reads `text` as the data file base.dat of a fresh directory, counts it and
// returns the ".x2" file written from it.
std::string x2_of(const std::string& text) {
  TempDir dir("genotype_tables");
  testing::ScriptedHost host;
  Analysis an;
  an.base_name = dir.file("base");
  EXPECT_TRUE(create_data_set(host, dir.write("base.dat", text), an));
  count_alleles(an.ds, an.ct);
  genotype_tables(an);
  return read_file(an.base_name + ".x2");
}

TEST(GenotypeTables, ObservedAndExpectedCounts) {
  // Sample 1: n = 5 with 5 copies of each allele. Sample 2 lacks allele 2:
  // every pair holding it shows 0 and 0.00 there.
  std::string x2 = x2_of("2 1 2 2\nloc1\n1 0101\n1 0101\n1 0102\n1 0202\n1 0202\n2 0101\n");
  EXPECT_EQ(x2,
            " Observed and expected genotype frequencies \r\n"
            "\r\n"
            "\t Observed for locus : loc1\r\n"
            "\t0101\t  2\t  1\r\n"
            "\t0102\t  1\t  0\r\n"
            "\t0202\t  2\t  0\r\n"
            "\r\n"
            "\t Expected for locus : loc1\r\n"
            "\t0101\t  1.11\t  1.00\r\n"
            "\t0102\t  2.78\t  0.00\r\n"
            "\t0202\t  1.11\t  0.00\r\n");
}

TEST(GenotypeTables, ListsPresentAllelesAscendingWithTheirLabels) {
  // Alleles 7, 10, 11 at the first locus; 101 and 102 at the second, where
  // allele 7 is absent and so has no row; nobody typed at the third.
  std::string x2 = x2_of("1 3 999 3\nA\nB\nC\n1 010007 102101 000000\n1 011010 000000 000000\n");
  EXPECT_EQ(x2,
            " Observed and expected genotype frequencies \r\n"
            "\r\n\t Observed for locus : A\r\n"
            "\t0707\t  0\r\n\t0710\t  1\r\n\t0711\t  0\r\n\t1010\t  0\r\n\t1011\t  1\r\n\t1111\t  0\r\n"
            "\r\n\t Expected for locus : A\r\n"
            "\t0707\t  0.00\r\n\t0710\t  0.67\r\n\t0711\t  0.33\r\n\t1010\t  0.33\r\n\t1011\t  0.67\r\n"
            "\t1111\t  0.00\r\n"
            "\r\n\t Observed for locus : B\r\n"
            "\t101101\t  0\r\n\t101102\t  1\r\n\t102102\t  0\r\n"
            "\r\n\t Expected for locus : B\r\n"
            "\t101101\t  0.00\r\n\t101102\t  1.00\r\n\t102102\t  0.00\r\n"
            "\r\n\t Observed for locus : C\r\n"
            "\r\n\t Expected for locus : C\r\n");
}

TEST(GenotypeTables, CountsOfAThousandAndMoreWidenTheirCells) {
  // 1001 homozygotes 0101: expected 1001/2001 x 1 x 2001 = 1001.
  std::string data = "1 1 2 2\nloc1\n";
  for (int i = 0; i < 1001; ++i) data += "1 0101\n";
  EXPECT_EQ(x2_of(data),
            " Observed and expected genotype frequencies \r\n"
            "\r\n\t Observed for locus : loc1\r\n\t0101\t1001\r\n"
            "\r\n\t Expected for locus : loc1\r\n\t0101\t1001.00\r\n");
}

}  // namespace
}  // namespace torvi
