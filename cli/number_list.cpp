#include "cli/number_list.h"

#include <cctype>
#include <charconv>

namespace torvi::cli {

namespace {

// Largest number a list may name: well above every limit of a data set, low
// enough that a range never expands to a huge list.
constexpr int kLargest = 100000;

std::string trimmed(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

std::optional<int> number(const std::string& text) {
  const std::string t = trimmed(text);
  int value = 0;
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
  if (t.empty() || ec != std::errc() || end != t.data() + t.size() || value < 1 || value > kLargest)
    return std::nullopt;
  return value;
}

}  // namespace

std::optional<std::vector<int>> parse_number_list(const std::string& text, std::string& error) {
  std::vector<int> out;
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    const size_t dash = item.find('-');
    const auto first = number(item.substr(0, dash));
    const auto last = dash == std::string::npos ? first : number(item.substr(dash + 1));
    if (!first || !last || *last < *first) {
      error = "\"" + trimmed(item) + "\" is not a number from 1 up or a range like 1-4";
      return std::nullopt;
    }
    for (int i = *first; i <= *last; ++i) out.push_back(i);
    if (comma == std::string::npos) return out;
    start = comma + 1;
  }
}

}  // namespace torvi::cli
