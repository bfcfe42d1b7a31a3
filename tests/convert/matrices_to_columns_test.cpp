#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "convert/matrix_rows.h"
#include "support/golden.h"
#include "support/scripted_host.h"
#include "torvi/convert.h"

namespace torvi {
namespace {

using testing::read_file;
using testing::ScriptedHost;
using testing::TempDir;
using namespace std::string_literals;

constexpr const char* kProblems = "Problem(s) in the input files, exiting.\n\r";

class MatricesToColumns : public ::testing::Test {
 protected:
  TempDir dir{"mat2col"};
  ScriptedHost host;
  ConvertOutcome convert(const std::vector<std::string>& files, const std::string& target = "cols.txt") {
    host.result_file_answers = {dir.file(target)};
    return convert_matrices_to_columns(host, files);
  }
};

TEST_F(MatricesToColumns, TwoFourByFourMatricesGiveSixPairsInOrder) {
  const std::string a = dir.write("dist.txt",
                                  "0 1 2 4\n"
                                  "1 0 3 5\n"
                                  "2 3 0 6\n"
                                  "4 5 6 0\n");
  const std::string b = dir.write("geo.mat",
                                  "0\n"
                                  "0.5 0\n"
                                  "-1.25 1000 0\n"
                                  "0.123456 2.0000049 12345.5 0\n");
  const ConvertOutcome out = convert({a, b});
  EXPECT_EQ(out.converted, 1);
  EXPECT_EQ(read_file(dir.file("cols.txt")),
            "Put here any comments you want\r\n"
            "         6\t     2\r\n"
            "var0 (dist.txt)\r\n"
            "var1 (geo.mat)\r\n"
            " 1.00000\t 0.50000\t\r\n"
            " 2.00000\t-1.25000\t\r\n"
            " 3.00000\t1000.00000\t\r\n"
            " 4.00000\t 0.12346\t\r\n"
            " 5.00000\t 2.00000\t\r\n"
            " 6.00000\t12345.50000\t\r\n");
  EXPECT_EQ(host.result_file_titles, std::vector<std::string>{"File name for the Columnar file"});
  EXPECT_EQ(host.result_file_proposals, std::vector<std::string>{""});
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_FALSE(host.messages[0].error);
  EXPECT_EQ(host.messages[0].text, "Columnar mode file succesfully created.");
}

TEST_F(MatricesToColumns, FullMatricesAndTrianglesWithOrWithoutDiagonalReadAlike) {
  const std::string full = dir.write("full", "0 7 8\r\n7 0 9\r\n8 9 0\r\n");
  const std::string with_diagonal = dir.write("diag", "0\r7 0\r8 9 0\r");
  const std::string without = dir.write("none", "\n7\n8 9\n\n");
  const std::string rows = " 7.00000\t 7.00000\t 7.00000\t\r\n"
                           " 8.00000\t 8.00000\t 8.00000\t\r\n"
                           " 9.00000\t 9.00000\t 9.00000\t\r\n";
  for (const auto& first : {full, with_diagonal, without}) {
    std::vector<std::string> files = {first, full, with_diagonal, without};
    files.erase(std::find(files.begin() + 1, files.end(), first));
    ASSERT_EQ(convert(files).converted, 1) << first;
    const std::string text = read_file(dir.file("cols.txt"));
    EXPECT_EQ(text.substr(text.find(" 7.0")), rows) << first;
    EXPECT_EQ(text.substr(32, 19), "         3\t     3\r\n") << first;
  }
}

TEST_F(MatricesToColumns, OneMatrixAndOneByOne) {
  ASSERT_EQ(convert({dir.write("m", "0 2\n2 0\n")}).converted, 1);
  EXPECT_EQ(read_file(dir.file("cols.txt")),
            "Put here any comments you want\r\n         1\t     1\r\nvar0 (m)\r\n 2.00000\t\r\n");
  ASSERT_EQ(convert({dir.write("one", "0\n")}).converted, 1);
  EXPECT_EQ(read_file(dir.file("cols.txt")), "Put here any comments you want\r\n         0\t     1\r\nvar0 (one)\r\n");
  // More files than the old table of 11.
  std::vector<std::string> twelve(12, dir.file("m"));
  ASSERT_EQ(convert(twelve).converted, 1);
  EXPECT_NE(read_file(dir.file("cols.txt")).find("var11 (m)\r\n"), std::string::npos);
}

TEST_F(MatricesToColumns, AValueThatCannotBeReadKeepsTheLinesCompletedBeforeIt) {
  const std::string a = dir.write("a", "0 1 2 4\n1 0 3 5\n2 3 0 6\n4 5 6 0\n");
  const std::string b = dir.write("b", "0\n1\n2 x\n");
  const ConvertOutcome out = convert({a, b});
  EXPECT_EQ(out.refused, 1);
  // Pairs (2,1) and (3,1) are whole; (3,2) stops at the second matrix.
  EXPECT_EQ(read_file(dir.file("cols.txt")),
            "Put here any comments you want\r\n         6\t     2\r\nvar0 (a)\r\nvar1 (b)\r\n"
            " 1.00000\t 1.00000\t\r\n 2.00000\t 2.00000\t\r\n");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.abort_boxes, 1);
  EXPECT_EQ(host.messages[0].text,
            kProblems + std::string("Line 3 of ") + b + " holds \"x\" where a number is expected.");
}

TEST_F(MatricesToColumns, ShortLinesAndSmallerMatricesAreNamed) {
  const std::string a = dir.write("a", "0 1 2\n1 0 3\n2 3 0\n");
  const std::string short_line = dir.write("s", "0\n1\n2\n");
  const std::string smaller = dir.write("small", "0 1\n1 0\n");
  convert({a, short_line});
  EXPECT_EQ(host.messages.back().text,
            kProblems + std::string("Line 3 of ") + short_line + " holds 1 numbers where 2 are needed.");
  const std::string text = read_file(dir.file("cols.txt"));
  EXPECT_EQ(text.substr(text.find(" 1.0")), " 1.00000\t 1.00000\t\r\n 2.00000\t 2.00000\t\r\n");
  convert({a, smaller});
  EXPECT_EQ(host.messages.back().text, kProblems + smaller + " ends after 2 lines: it has no line 3.");
  // An earlier value missing in reading order wins: (3,1) of the second
  // file comes before (3,2) of the first.
  convert({dir.write("c", "0 1 2\n1 0 3\n2 x 0\n"), dir.write("d", "0\n1\n")});
  EXPECT_EQ(host.messages.back().text, kProblems + dir.file("d") + " ends after 2 lines: it has no line 3.");
  EXPECT_EQ(host.abort_boxes, 3);
}

TEST_F(MatricesToColumns, NothingIsWrittenWithoutMatricesANameOrAReadableFirstLine) {
  EXPECT_EQ(convert_matrices_to_columns(host, {}).converted, 0);
  EXPECT_EQ(host.messages.back().text, "No matrix file chosen: no columnar file written.");
  EXPECT_TRUE(host.result_file_titles.empty());

  const std::string m = dir.write("m", "0 1\n1 0\n");
  host.result_file_answers = {std::nullopt};
  EXPECT_EQ(convert_matrices_to_columns(host, {m}).skipped, 1);
  EXPECT_EQ(host.messages.back().text, "Invalid file name");

  convert({dir.write("names", "A B\n0 1\n1 0\n"), m});
  EXPECT_EQ(host.messages.back().text,
            kProblems + std::string("Line 1 of ") + dir.file("names") + " holds \"A\" where a number is expected.");
  convert({dir.write("binary", "0 1\n1\0 0\n"s)});
  EXPECT_EQ(host.messages.back().text,
            kProblems + std::string("Line 2 of ") + dir.file("binary") + " holds binary data: it is not a matrix file.");
  std::filesystem::remove(dir.file("cols.txt"));
  convert({m, dir.file("missing")});
  EXPECT_EQ(host.messages.back().text, kProblems + std::string("Cannot open the matrix file ") +
                                           dir.file("missing") + ".");
  EXPECT_FALSE(std::filesystem::exists(dir.file("cols.txt")));
  convert({m}, "m");
  EXPECT_EQ(read_file(m), "0 1\n1 0\n");
}

TEST(MatrixRows, ReadsNumbersAsMatrixFilesWriteThem) {
  double v = 0;
  for (const char* good : {"1", "-2.5", "+3", ".5", "1e3", "1.5E-2", "007"}) EXPECT_TRUE(parse_real(good, v)) << good;
  EXPECT_TRUE(parse_real("1.5E-2", v) && v == 0.015);
  for (const char* bad : {"", "+", "++1", "-", "1,5", "0x10", "nan", "inf", "1e999", "1.2.3", "3a"})
    EXPECT_FALSE(parse_real(bad, v)) << bad;
}

}  // namespace
}  // namespace torvi
