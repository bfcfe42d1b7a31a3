#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <string_view>

namespace torvi {

// Reads a text file line by line, whatever its line ends: LF, CR LF or a
// lone CR each end a line, and the last line needs none; a UTF-8 byte-order
// mark before the first line is dropped. Only one line is held at a time,
// so files of any size stream through it.
class LineReader {
 public:
  explicit LineReader(std::istream& in);

  // The next line without its line end; false when the input is exhausted.
  // The view stays valid until the next call.
  bool next(std::string_view& line);

  // Number (from 1) of the line last returned.
  int64_t line_number() const { return line_number_; }
  // Bytes consumed so far, line ends included.
  int64_t bytes_read() const { return bytes_read_; }
  // The first line returned that holds a NUL byte (0: none so far). Text
  // files hold none: such a file is binary data.
  int64_t nul_line() const { return nul_line_; }

 private:
  bool refill();

  std::streambuf* buf_;
  std::unique_ptr<char[]> chunk_;  // not cleared: only what is read is looked at
  size_t pos_ = 0, end_ = 0;
  bool skip_lf_ = false;  // the last line ended with CR: a following LF belongs to it
  std::string line_;
  int64_t line_number_ = 0;
  int64_t bytes_read_ = 0;
  int64_t nul_line_ = 0;
};

// Blank, tab and the other control characters separate numbers.
inline bool is_separator(char c) { return static_cast<unsigned char>(c) <= ' '; }

// True when the line holds nothing but separators.
bool is_blank(std::string_view line);

// The next run of non-separator characters at or after `pos` (empty at the
// end of the line); `pos` moves past it.
std::string_view next_token(std::string_view line, size_t& pos);

}  // namespace torvi
