#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "report/fixed_format.h"
#include "report/value_capture.h"

namespace torvi {

inline constexpr char col_sep = '\t';
inline constexpr const char* kEol = "\r\n";
inline const std::string kStars48(48, '*');
inline const std::string kStars55(55, '*');

// A block of result-file text built in memory and written in one go, so that
// a file on disk only ever holds whole sections.
class ReportText {
 public:
  ReportText& text(const std::string& s) { return add(s); }
  ReportText& operator<<(const std::string& s) { return add(s); }
  ReportText& operator<<(const char* s) { return add(s); }
  ReportText& operator<<(char c) { buf_ += c; return *this; }
  // col_sep followed by the cell text.
  ReportText& cell(const std::string& s) {
    buf_ += col_sep;
    return add(s);
  }
  // col_sep followed by fixed(value, width, decimals) or integer(value, width).
  ReportText& fixed_cell(long double value, int width, int decimals) {
    const size_t at = buf_.size() + 1;
    append_fixed(buf_, value, width, decimals, col_sep);
    if (value_capture::active) values_.push_back({at, buf_.size() - at, value});
    return *this;
  }
  ReportText& integer_cell(int64_t value, int width = 0) {
    append_integer(buf_, value, width, col_sep);
    return *this;
  }
  ReportText& eol() { buf_ += kEol; return *this; }
  // A whole line: its text then the line end.
  ReportText& line(const std::string& s = {}) {
    add(s);
    buf_ += kEol;
    return *this;
  }

  const std::string& str() const { return buf_; }
  bool empty() const { return buf_.empty(); }
  void clear() {
    buf_.clear();
    values_.clear();
  }

  // Appends the text to `path` as one whole section (append_section).
  // Throws OutputError when the file cannot be written.
  void append_to(const std::string& path) const;
  // Replaces `path` by the text once it is complete (write_file_atomically).
  void write_new(const std::string& path) const;

 private:
  ReportText& add(std::string_view s) {
    if (value_capture::active && !s.empty()) value_capture::claim(s, buf_.size(), values_);
    buf_ += s;
    return *this;
  }

  std::string buf_;
  std::vector<CapturedValue> values_;  // kept while a section observer is installed
};

}  // namespace torvi
