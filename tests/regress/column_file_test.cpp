#include <gtest/gtest.h>

#include "support/golden.h"
#include "torvi/regress.h"

namespace torvi::regress {
namespace {

using torvi::testing::TempDir;

std::string error_of(const std::string& path, std::string* title = nullptr) {
  try {
    const ColumnHeader h = read_column_header(path, [&](const std::string& t) {
      if (title) *title = t;
    });
    read_column_rows(path, h);
  } catch (const InputError& e) {
    return e.what();
  }
  return {};
}

TEST(ColumnFile, ReadsTitleCountsPaddedNamesAndRows) {
  TempDir dir("regress-columns");
  const std::string path = dir.write(
      "t.txt",
      "Put here any comments you want\r\n         3\t     3\r\nDist\r\na name longer than thirty characters\r\n"
      "   lead\r\n 1.5 -2 3e1 extra text\r\n4\t5.25\t+6\r\n-7 .5 9\r\n");
  std::string title;
  const ColumnHeader h = read_column_header(path, [&](const std::string& t) { title = t; });
  EXPECT_EQ(title, "Put here any comments you want");
  EXPECT_EQ(h.title, title);
  EXPECT_EQ(h.rows, 3);
  EXPECT_EQ(h.variables, 3);
  EXPECT_EQ(h.objects, 3);
  EXPECT_EQ(h.names, (std::vector<std::string>{"      Dist", "a name longer than thirty char", "      lead"}));
  EXPECT_EQ(read_column_rows(path, h), (std::vector<float>{1.5f, -2, 30, 4, 5.25f, 6, -7, 0.5f, 9}));
}

TEST(ColumnFile, RowCountsOfATriangleGiveTheNumberOfObjects) {
  EXPECT_EQ(triangle_objects(6), 4);
  EXPECT_EQ(triangle_objects(7), 0);
  EXPECT_EQ(triangle_objects(1), 2);
  EXPECT_EQ(triangle_objects(3), 3);
  EXPECT_EQ(triangle_objects(124750), 500);
  EXPECT_EQ(triangle_objects(125250), 501);
  EXPECT_EQ(triangle_objects(124751), 0);
}

TEST(ColumnFile, BadRowsAreRefusedWithTheirLine) {
  TempDir dir("regress-badrows");
  const std::string head = "title\n4 2\nx\ny\n";
  EXPECT_EQ(error_of(dir.write("short.txt", head + "1 2\n3\n5 6\n7 8\n")),
            "Line 6 of " + dir.file("short.txt") + " holds 1 numbers; each row needs 2");
  EXPECT_EQ(error_of(dir.write("blank.txt", head + "1 2\n\n3 4\n5 6\n7 8\n")),
            "Line 6 of " + dir.file("blank.txt") + " holds 0 numbers; each row needs 2");
  EXPECT_EQ(error_of(dir.write("text.txt", head + "1 2\n3 4\n5 NA\n7 8\n")),
            "Line 7 of " + dir.file("text.txt") + ": \"NA\" is not a number");
  EXPECT_EQ(error_of(dir.write("few.txt", head + "1 2\n3 4\n")),
            "Line 7 of " + dir.file("few.txt") + ": the file ends after 2 of 4 rows");
  for (const char* bad : {"1,5", "inf", "nan", "0x10", "1e39", "--1", "+-1", "1.2.3", "e5"})
    EXPECT_NE(error_of(dir.write("v.txt", head + "1 2\n3 " + std::string(bad) + "\n5 6\n7 8\n"))
                  .find("is not a number"),
              std::string::npos)
        << bad;
}

TEST(ColumnFile, BadCountsAndLimitsAreRefused) {
  TempDir dir("regress-badcounts");
  std::string title;
  const std::string zero = dir.write("zero.txt", "my title\n0 2\nx\ny\n");
  EXPECT_EQ(error_of(zero, &title),
            "Line 2 of " + zero + ": the numbers of rows and of variables must be positive integers");
  EXPECT_EQ(title, "my title");  // handed over before the counts were read
  for (const char* counts : {"3", "3 -1", "3.0 2", "x 2", ""})
    EXPECT_NE(error_of(dir.write("c.txt", std::string("t\n") + counts + "\nx\ny\n")).find("positive integers"),
              std::string::npos)
        << counts;
  EXPECT_EQ(error_of(dir.write("empty.txt", "")), dir.file("empty.txt") + " is empty");
  EXPECT_EQ(error_of(dir.write("title.txt", "t\r\n")),
            "Line 2 of " + dir.file("title.txt") + ": the file ends before the numbers of rows and variables");
  EXPECT_EQ(error_of(dir.write("names.txt", "t\n3 3\nx\ny\n")),
            "Line 5 of " + dir.file("names.txt") + ": the file ends after 2 of 3 variable names");
  EXPECT_EQ(error_of(dir.write("wide.txt", "t\n3 26\n")),
            "Line 2 of " + dir.file("wide.txt") + ": 26 variables; at most 25 can be used");
  EXPECT_EQ(error_of(dir.write("long.txt", "t\n125001 2\n")),
            "Line 2 of " + dir.file("long.txt") + ": 125001 rows; at most 125000 can be used");
  EXPECT_NE(error_of(dir.file("missing.txt")).find("Cannot open " + dir.file("missing.txt")), std::string::npos);
}

}  // namespace
}  // namespace torvi::regress
