#include "torvi/regress.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>

namespace torvi::regress {

namespace {

constexpr size_t kNameChars = 30, kNameWidth = 10;
constexpr int kLinesBeforeNames = 2;  // the title and the counts

// Lines of a text file ending in LF, CR LF or CR, counted from 1.
class Lines {
 public:
  explicit Lines(const std::string& path) : path_(path), in_(path, std::ios::binary) {
    if (!in_) throw InputError("Cannot open " + path + ": " + std::strerror(errno));
  }

  // The next line without its line end; false at the end of the file.
  bool next(std::string& line) {
    line.clear();
    std::streambuf* buf = in_.rdbuf();
    int c = buf->sbumpc();
    if (c == EOF) {
      at_end_ = true;
      return false;
    }
    ++number_;
    for (; c != EOF && c != '\n' && c != '\r'; c = buf->sbumpc()) line += static_cast<char>(c);
    if (c == '\r' && buf->sgetc() == '\n') buf->sbumpc();
    return true;
  }

  // The line last read, or at the end of the file the line that is missing.
  std::string where() const { return "Line " + std::to_string(number_ + (at_end_ ? 1 : 0)) + " of " + path_; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::ifstream in_;
  int number_ = 0;
  bool at_end_ = false;
};

bool is_blank(char c) { return c == ' ' || c == '\t'; }

// The next field of `line` from `pos` (separated by blanks or tabs); empty at
// the end of the line.
std::string_view next_field(const std::string& line, size_t& pos) {
  while (pos < line.size() && is_blank(line[pos])) ++pos;
  const size_t start = pos;
  while (pos < line.size() && !is_blank(line[pos])) ++pos;
  return std::string_view(line).substr(start, pos - start);
}

// A positive integer written in decimal digits, or -1.
int64_t positive_integer(std::string_view field) {
  if (!field.empty() && field.front() == '+') field.remove_prefix(1);
  int64_t v = 0;
  auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), v);
  if (field.empty() || ec != std::errc() || end != field.data() + field.size() || v <= 0) return -1;
  return v;
}

// A decimal number ("12", "-0.5", "+1.5e-3"); false for anything else
// (names of infinities, hexadecimal) and for values beyond the range of
// single precision.
bool parse_value(std::string_view field, float& out) {
  const bool minus = !field.empty() && field.front() == '-';
  if (!field.empty() && (minus || field.front() == '+')) field.remove_prefix(1);
  if (field.empty() || !(std::isdigit(static_cast<unsigned char>(field.front())) || field.front() == '.')) return false;
  long double v = 0;
  auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), v);
  if (ec != std::errc() || end != field.data() + field.size()) return false;
  if (std::fabs(v) > std::numeric_limits<float>::max()) return false;
  out = static_cast<float>(minus ? -v : v);
  return true;
}

// The first 30 characters of a name line (never cutting a character in
// two), padded on the left with blanks to 10.
std::string stored_name(const std::string& line) {
  size_t len = std::min(line.size(), kNameChars);
  while (len > 0 && len < line.size() && (static_cast<unsigned char>(line[len]) & 0xC0) == 0x80) --len;
  std::string name = line.substr(0, len);
  if (name.size() < kNameWidth) name.insert(0, kNameWidth - name.size(), ' ');
  return name;
}

void read_counts(Lines& lines, ColumnHeader& h) {
  std::string line;
  if (!lines.next(line)) throw InputError(lines.where() + ": the file ends before the numbers of rows and variables");
  size_t pos = 0;
  const int64_t rows = positive_integer(next_field(line, pos));
  const int64_t variables = positive_integer(next_field(line, pos));
  if (rows < 0 || variables < 0)
    throw InputError(lines.where() + ": the numbers of rows and of variables must be positive integers");
  if (variables > kMaxVariables)
    throw InputError(lines.where() + ": " + std::to_string(variables) + " variables; at most " +
                     std::to_string(kMaxVariables) + " can be used");
  if (rows > kMaxRows)
    throw InputError(lines.where() + ": " + std::to_string(rows) + " rows; at most " +
                     std::to_string(kMaxRows) + " can be used");
  h.rows = rows;
  h.variables = static_cast<int>(variables);
  h.objects = triangle_objects(rows);
}

}  // namespace

int triangle_objects(int64_t rows) {
  const auto n = static_cast<int64_t>(std::llround((std::sqrt(8.0 * static_cast<double>(rows) + 1) + 1) / 2));
  return n >= 2 && n * (n - 1) / 2 == rows ? static_cast<int>(n) : 0;
}

ColumnHeader read_column_header(const std::string& path, const std::function<void(const std::string&)>& on_title) {
  Lines lines(path);
  ColumnHeader h;
  if (!lines.next(h.title)) throw InputError(path + " is empty");
  if (h.title.rfind("\xEF\xBB\xBF", 0) == 0) h.title.erase(0, 3);  // a byte-order mark is no part of it
  on_title(h.title);
  read_counts(lines, h);
  std::string line;
  for (int k = 0; k < h.variables; ++k) {
    if (!lines.next(line))
      throw InputError(lines.where() + ": the file ends after " + std::to_string(k) + " of " +
                       std::to_string(h.variables) + " variable names");
    h.names.push_back(stored_name(line));
  }
  return h;
}

std::vector<float> read_column_rows(const std::string& path, const ColumnHeader& h) {
  Lines lines(path);
  std::string line;
  for (int k = 0; k < kLinesBeforeNames + h.variables; ++k) lines.next(line);
  std::vector<float> values(static_cast<size_t>(h.rows) * h.variables);
  float* out = values.data();
  for (int64_t r = 0; r < h.rows; ++r) {
    if (!lines.next(line))
      throw InputError(lines.where() + ": the file ends after " + std::to_string(r) + " of " +
                       std::to_string(h.rows) + " rows");
    size_t pos = 0;
    for (int v = 0; v < h.variables; ++v, ++out) {
      const std::string_view field = next_field(line, pos);
      if (field.empty())
        throw InputError(lines.where() + " holds " + std::to_string(v) + " numbers; each row needs " +
                         std::to_string(h.variables));
      if (!parse_value(field, *out))
        throw InputError(lines.where() + ": \"" + std::string(field) + "\" is not a number");
    }
  }
  return values;
}

}  // namespace torvi::regress
