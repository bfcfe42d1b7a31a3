#include "util/line_reader.h"

#include <gtest/gtest.h>

#include <sstream>

namespace torvi {
namespace {

std::vector<std::string> lines_of(const std::string& text) {
  std::istringstream in(text);
  LineReader reader(in);
  std::vector<std::string> lines;
  std::string_view line;
  while (reader.next(line)) {
    lines.emplace_back(line);
    EXPECT_EQ(reader.line_number(), static_cast<int64_t>(lines.size()));
  }
  EXPECT_EQ(reader.bytes_read(), static_cast<int64_t>(text.size()));
  return lines;
}

using Lines = std::vector<std::string>;

TEST(LineReader, EveryKindOfLineEndEndsOneLine) {
  EXPECT_EQ(lines_of("a\nb\r\nc\rd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(lines_of("\n\r\n\r\r\n"), (Lines{"", "", "", ""}));
  EXPECT_EQ(lines_of("x\n"), (Lines{"x"}));
  EXPECT_EQ(lines_of(""), Lines{});
  EXPECT_EQ(lines_of(std::string("a\0b\n", 4)), (Lines{std::string("a\0b", 3)}));
  EXPECT_EQ(lines_of("\xEF\xBB\xBF" "0 1\n\xEF\xBB\xBF"), (Lines{"0 1", "\xEF\xBB\xBF"}));
}

TEST(LineReader, LinesLongerThanItsBlocksAndLineEndsAcrossBlocks) {
  // Blocks hold 65536 bytes: the CR ends one block and its LF starts the next.
  const std::string first(65535, 'a');
  const std::string second(200000, 'b');
  EXPECT_EQ(lines_of(first + "\r\n" + second + "\r\nend"), (Lines{first, second, "end"}));
  EXPECT_EQ(lines_of(first + "\r" + "\n\n"), (Lines{first, ""}));
}

TEST(LineReader, TokensAreSeparatedByBlanksTabsAndOtherControls) {
  size_t pos = 0;
  const std::string_view line = " 12\t-3 \x01x ";
  EXPECT_EQ(next_token(line, pos), "12");
  EXPECT_EQ(next_token(line, pos), "-3");
  EXPECT_EQ(next_token(line, pos), "x");
  EXPECT_EQ(next_token(line, pos), "");
  EXPECT_TRUE(is_blank(" \t\x0b"));
  EXPECT_FALSE(is_blank(" ."));
}

}  // namespace
}  // namespace torvi
