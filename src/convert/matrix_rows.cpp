#include "convert/matrix_rows.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace torvi {

namespace {

constexpr size_t kShownToken = 20;  // enough of a bad token to recognise it

std::string at_line(const std::string& path, int64_t line) {
  return "Line " + std::to_string(line) + " of " + path;
}

std::string binary_data(const std::string& path, int64_t line) {
  return at_line(path, line) + " holds binary data: it is not a matrix file.";
}

std::string not_a_number(const std::string& path, int64_t line, std::string_view token) {
  return at_line(path, line) + " holds \"" + std::string(token.substr(0, kShownToken)) +
         "\" where a number is expected.";
}

}  // namespace

bool parse_real(std::string_view token, double& value) {
  if (!token.empty() && token.front() == '+') token.remove_prefix(1);
  if (token.empty() || token.front() == '+') return false;
  const char* end = token.data() + token.size();
  const auto [ptr, ec] = std::from_chars(token.data(), end, value);
  return ec == std::errc() && ptr == end && std::isfinite(value);
}

MatrixRows::MatrixRows(std::istream& in, std::string path) : lines_(in), path_(std::move(path)) {}

int64_t MatrixRows::read(int64_t count, std::vector<double>& row) {
  std::string_view line;
  if (!lines_.next(line)) {
    problem_ = path_ + " ends after " + std::to_string(lines_.line_number()) + " lines: it has no line " +
               std::to_string(lines_.line_number() + 1) + ".";
    return 0;
  }
  if (lines_.nul_line() != 0) {
    problem_ = binary_data(path_, lines_.nul_line());
    return 0;
  }
  size_t pos = 0;
  for (int64_t j = 0; j < count; ++j) {
    const std::string_view token = next_token(line, pos);
    if (token.empty()) {
      problem_ = at_line(path_, lines_.line_number()) + " holds " + std::to_string(j) + " numbers where " +
                 std::to_string(count) + " are needed.";
      return j;
    }
    if (!parse_real(token, row[static_cast<size_t>(j)])) {
      problem_ = not_a_number(path_, lines_.line_number(), token);
      return j;
    }
  }
  return count;
}

int64_t matrix_size(std::istream& in, const std::string& path, std::string& problem) {
  LineReader lines(in);
  std::string_view line;
  if (!lines.next(line)) {
    problem = path + " is empty.";
    return -1;
  }
  if (lines.nul_line() != 0) {
    problem = binary_data(path, lines.nul_line());
    return -1;
  }
  int64_t numbers = 0;
  size_t pos = 0;
  double value = 0;
  for (std::string_view token; !(token = next_token(line, pos)).empty(); ++numbers) {
    if (!parse_real(token, value)) {
      problem = not_a_number(path, 1, token);
      return -1;
    }
  }
  if (numbers >= 2) return numbers;
  int64_t last_filled = numbers > 0 ? 1 : 0;
  while (lines.next(line))
    if (!is_blank(line)) last_filled = lines.line_number();
  if (lines.nul_line() != 0) {
    problem = binary_data(path, lines.nul_line());
    return -1;
  }
  // A triangle without diagonal starts with an empty line.
  return std::max<int64_t>(last_filled, 1);
}

}  // namespace torvi
