#include "data/text_scanner.h"

#include <limits>

namespace torvi {

namespace {

constexpr int kEof = std::char_traits<char>::eof();
constexpr size_t kFoundMax = 20;  // enough of a bad token to recognise it

constexpr int kEndOfFileMark = 0x1A;  // ends the text of some old files

// Blanks, tabs, line ends and form feeds separate numbers. Other control
// characters are not text: they mark binary data.
bool is_space(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' || c == kEndOfFileMark;
}
bool is_binary(int c) { return c != kEof && c < ' ' && !is_space(c); }
bool is_digit(int c) { return c >= '0' && c <= '9'; }

}  // namespace

TextScanner::TextScanner(std::istream& in) : buf_(in.rdbuf()) {
  static constexpr unsigned char kBom[] = {0xEF, 0xBB, 0xBF};
  if (peek() != kBom[0]) return;
  take();
  for (unsigned char b : {kBom[1], kBom[2]}) {
    if (peek() != b) {
      // Not a byte-order mark after all: read the file from its start.
      buf_->pubseekpos(0, std::ios::in);
      return;
    }
    take();
  }
}

bool TextScanner::at_end() const { return peek() == kEof; }

int TextScanner::peek() const {
  int c = buf_->sgetc();
  return c == kEof ? kEof : static_cast<unsigned char>(c);
}

int TextScanner::take() {
  int c = buf_->sbumpc();
  if (c == 0 && nul_line_ == 0) nul_line_ = line_;
  return c == kEof ? kEof : static_cast<unsigned char>(c);
}

bool TextScanner::take_line_end() {
  int c = peek();
  if (c == '\n') {
    take();
  } else if (c == '\r') {
    take();
    if (peek() == '\n') take();
  } else {
    return false;
  }
  ++line_;
  return true;
}

bool TextScanner::at_end_after_space() {
  for (;;) {
    int c = peek();
    if (c == kEof) return true;
    if (!is_space(c)) return false;
    if (!take_line_end()) take();
  }
}

TextScanner::Read TextScanner::read_int(int32_t& value, std::string& found) {
  if (at_end_after_space()) {
    value = 0;
    return Read::end_of_file;
  }
  token_starts_line_ = line_ != token_line_ || first_token_;
  first_token_ = false;
  token_line_ = line_;
  found.clear();
  bool negative = false;
  bool digits = false;
  bool overflow = false;
  int64_t v = 0;
  int c = peek();
  if (c == '+' || c == '-') {
    negative = c == '-';
    found += static_cast<char>(take());
  }
  while (is_digit(c = peek())) {
    take();
    if (found.size() < kFoundMax) found += static_cast<char>(c);
    digits = true;
    v = v * 10 + (c - '0');
    if (v > static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1) {
      overflow = true;
      v = 0;
    }
  }
  if (negative) v = -v;
  c = peek();
  if (!digits || overflow || !(c == kEof || is_space(c)) || v > std::numeric_limits<int32_t>::max()) {
    // Collect the rest of the token so the message shows what was there.
    bool binary = is_binary(c);
    while ((c = peek()) != kEof && !is_space(c) && found.size() < kFoundMax) {
      binary = binary || is_binary(c);
      found += static_cast<char>(take());
    }
    value = 0;
    return binary ? Read::binary : Read::not_a_number;
  }
  value = static_cast<int32_t>(v);
  return Read::number;
}

std::string TextScanner::read_line_start(int n) {
  std::string s;
  int c;
  while (static_cast<int>(s.size()) < n && (c = peek()) != kEof && c != '\n' && c != '\r')
    s += static_cast<char>(take());
  return s;
}

void TextScanner::skip_line() {
  for (int c = peek(); c != kEof; c = peek()) {
    if (take_line_end()) return;
    take();
  }
}

}  // namespace torvi
