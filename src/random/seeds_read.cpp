// Reading the seeds file: its first line only, bounded, and checked.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <string_view>
#include <vector>

#include "random/seeds_file.h"
#include "util/file_status.h"

namespace torvi {

namespace {

// More than any line of two seeds and a few blanks; a larger file is not read
// further.
constexpr size_t kFirstLineMax = 256;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr size_t kShownMax = 24;  // of a word that is not a number

// Up to kFirstLineMax bytes from the start of the file. `cut` when the file
// goes on beyond them.
std::string read_start(int fd, bool& cut, int& err) {
  std::string buf(kFirstLineMax + 1, '\0');
  size_t got = 0;
  while (got < buf.size()) {
    ssize_t n = ::read(fd, &buf[got], buf.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      err = errno;
      break;
    }
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  cut = got > kFirstLineMax;
  buf.resize(std::min(got, kFirstLineMax));
  return buf;
}

// The words of the first line; a word running into the cut is dropped, as
// it may be only part of a number.
std::vector<std::string> first_line_words(std::string text, bool cut) {
  if (text.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0) text.erase(0, kByteOrderMark.size());
  const size_t end = text.find_first_of("\r\n");
  if (end != std::string::npos) {
    text.resize(end);
    cut = false;
  }
  std::vector<std::string> words;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == ' ' || text[i] == '\t') {
      ++i;
      continue;
    }
    size_t j = text.find_first_of(" \t", i);
    if (j == std::string::npos) {
      if (!cut) words.push_back(text.substr(i));
      break;
    }
    words.push_back(text.substr(i, j - i));
    i = j;
  }
  return words;
}

std::string shown(const std::string& word) {
  std::string s;
  for (char c : word.substr(0, kShownMax)) s += std::isprint(static_cast<unsigned char>(c)) ? c : '?';
  return "\"" + s + (word.size() > kShownMax ? "...\"" : "\"");
}

SeedsRead unusable(std::string problem) {
  SeedsRead r;
  r.state = SeedsRead::State::unusable;
  r.problem = std::move(problem);
  return r;
}

// Checks the two words: whole numbers within the seeds' ranges.
SeedsRead seeds_from_words(const std::string& path, const std::vector<std::string>& words) {
  if (words.empty()) return unusable(path + " holds no seeds.");
  if (words.size() < 2) return unusable(path + " holds one number, " + shown(words[0]) + ", where two seeds are expected.");
  const char* which[] = {"first", "second"};
  const int32_t max[] = {kSeed1Max, kSeed2Max};
  int32_t v[2] = {0, 0};
  for (int k = 0; k < 2; ++k) {
    auto parsed = parse_seed_text(words[k]);
    if (!parsed)
      return unusable(path + ": the " + which[k] + " seed " + shown(words[k]) + " is not a whole number in 1.." +
                      std::to_string(max[k]) + ".");
    if (*parsed < 1 || *parsed > max[k])
      return unusable(path + ": the " + which[k] + " seed " + std::to_string(*parsed) + " lies outside its range 1.." +
                      std::to_string(max[k]) + ".");
    v[k] = *parsed;
  }
  SeedsRead r;
  r.state = SeedsRead::State::usable;
  r.seed1 = v[0];
  r.seed2 = v[1];
  return r;
}


}  // namespace

std::optional<int32_t> parse_seed_text(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return std::nullopt;
  int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
    value = value * 10 + (text[i] - '0');
    if (value > int64_t{2147483648}) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
  return static_cast<int32_t>(value);
}

SeedsRead read_seeds_file(const std::string& path) {
  // O_NONBLOCK: a FIFO in the way is refused below instead of hanging the open.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0 && errno == ENOENT) return SeedsRead{};
  if (fd < 0) return unusable("Cannot read " + path + ": " + reason_of(errno) + ".");
  OpenFileStatus st;
  if (!open_file_status(fd, st) || !st.regular) {
    ::close(fd);
    return unusable(path + " is not a regular file.");
  }
  bool cut = false;
  int err = 0;
  std::string start = read_start(fd, cut, err);
  ::close(fd);
  if (err != 0) return unusable("Cannot read " + path + ": " + reason_of(err) + ".");
  return seeds_from_words(path, first_line_words(std::move(start), cut));
}

}  // namespace torvi
