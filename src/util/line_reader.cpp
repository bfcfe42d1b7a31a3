#include "util/line_reader.h"

#include <algorithm>

namespace torvi {

namespace {

constexpr size_t kChunkSize = 1 << 16;
// Some editors start a UTF-8 text with it; it is no part of the first line.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool is_line_end(char c) { return c == '\n' || c == '\r'; }

}  // namespace

LineReader::LineReader(std::istream& in) : buf_(in.rdbuf()), chunk_(new char[kChunkSize]) {}

bool LineReader::refill() {
  if (!buf_) return false;
  std::streamsize n = buf_->sgetn(chunk_.get(), static_cast<std::streamsize>(kChunkSize));
  pos_ = 0;
  end_ = n > 0 ? static_cast<size_t>(n) : 0;
  return end_ > 0;
}

bool LineReader::next(std::string_view& line) {
  line_.clear();
  bool any = false;
  for (;;) {
    if (pos_ == end_ && !refill()) break;
    if (skip_lf_) {
      skip_lf_ = false;
      if (chunk_[pos_] == '\n') {
        ++pos_;
        ++bytes_read_;
        continue;
      }
    }
    any = true;
    const char* begin = chunk_.get() + pos_;
    const char* stop = std::find_if(begin, static_cast<const char*>(chunk_.get() + end_), is_line_end);
    line_.append(begin, stop);
    bytes_read_ += stop - begin;
    pos_ += static_cast<size_t>(stop - begin);
    if (pos_ < end_) {
      skip_lf_ = chunk_[pos_] == '\r';
      ++pos_;
      ++bytes_read_;
      break;
    }
  }
  if (!any) return false;
  ++line_number_;
  line = line_;
  if (nul_line_ == 0 && line.find('\0') != std::string_view::npos) nul_line_ = line_number_;
  if (line_number_ == 1 && line.substr(0, kByteOrderMark.size()) == kByteOrderMark)
    line.remove_prefix(kByteOrderMark.size());
  return true;
}

bool is_blank(std::string_view line) { return std::all_of(line.begin(), line.end(), is_separator); }

std::string_view next_token(std::string_view line, size_t& pos) {
  while (pos < line.size() && is_separator(line[pos])) ++pos;
  const size_t start = pos;
  while (pos < line.size() && !is_separator(line[pos])) ++pos;
  return line.substr(start, pos - start);
}

}  // namespace torvi
