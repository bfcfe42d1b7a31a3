#pragma once

#include <cstdint>
#include <istream>
#include <string>

namespace torvi {

// Reads a data file character by character the way its format is defined:
// numbers separated by any white space including line ends, line-oriented
// names, and skipping to the next line. A line ends at LF, CR LF or a lone
// CR; lines are counted so that messages can name them.
class TextScanner {
 public:
  // Skips a UTF-8 byte-order mark at the start of the stream.
  explicit TextScanner(std::istream& in);

  enum class Read { number, end_of_file, not_a_number, binary };

  // Skips white space and line ends, then reads an optionally signed decimal
  // integer that must fit in 32 bits and be followed by white space or the
  // end of the file. On not_a_number, `found` holds the offending text; a
  // token holding control characters other than white space (a NUL, for
  // instance) is binary data.
  Read read_int(int32_t& value, std::string& found);

  // True when nothing is left to read.
  bool at_end() const;

  // Line of the first NUL byte met anywhere (0: none): a text file never
  // holds one, even where the format ignores what a line holds.
  int nul_line() const { return nul_line_; }

  // Skips white space and line ends; true when nothing is left.
  bool at_end_after_space();

  // Up to `n` characters of the current line (a line end is never part of it).
  std::string read_line_start(int n);

  // Skips the rest of the current line and its line end.
  void skip_line();

  // Line number (from 1) of the next character to be read.
  int line() const { return line_; }
  // Line on which the last number read (or the text found instead) starts.
  int token_line() const { return token_line_; }
  // True when that number is the first one read on its line.
  bool token_starts_line() const { return token_starts_line_; }

 private:
  int peek() const;
  int take();
  // Consumes one line end at the current position, if there is one.
  bool take_line_end();

  std::streambuf* buf_;
  int line_ = 1;
  int token_line_ = 1;
  bool token_starts_line_ = true;
  bool first_token_ = true;
  int nul_line_ = 0;
};

}  // namespace torvi
