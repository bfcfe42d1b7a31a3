#include "random/seeds_file.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace torvi {

namespace {

bool write_line(const std::string& path, int32_t s1, const char* gap, int32_t s2) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fprintf(f, "%d%s%d\r\n", s1, gap, s2) > 0;
  return std::fclose(f) == 0 && ok;
}

void empty_file(const std::string& path) {
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) std::fclose(f);
}

// Asks until both seeds are in range, then writes them with one blank.
void ask_in_range(Host& host, Rng& rng, const std::string& path) {
  int32_t s1 = rng.seed1, s2 = rng.seed2;
  do {
    ask_seeds(host, s1, s2);
  } while (!seeds_in_range(s1, s2));
  rng.seed1 = s1;
  rng.seed2 = s2;
  write_seeds(s1, s2, path);
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

void ask_seeds(Host& host, int32_t& s1, int32_t& s2) {
  for (;;) {
    auto texts = host.ask_seed_texts();
    if (!texts) return;  // closed without OK: the caller's range check decides
    auto a = parse_seed_text(texts->first);
    auto b = parse_seed_text(texts->second);
    if (a && b) {
      s1 = *a;
      s2 = *b;
      return;
    }
  }
}

std::optional<std::pair<int32_t, int32_t>> read_seeds_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string line;
  std::getline(in, line, '\0');
  std::istringstream words(line);
  int32_t v[2] = {0, 0};
  for (int32_t& x : v) {
    std::string w;
    if (!(words >> w)) break;
    // Only a whole integer counts; anything else reads as 0.
    auto parsed = parse_seed_text(w);
    if (!parsed) break;
    x = *parsed;
  }
  return std::make_pair(v[0], v[1]);
}

void load_seeds(Host& host, Rng& rng, const std::string& path) {
  auto seeds = read_seeds_file(path);
  if (seeds && seeds->first != 0 && seeds->second != 0) {
    rng.seed1 = seeds->first;
    rng.seed2 = seeds->second;
    return;
  }
  empty_file(path);
  ask_in_range(host, rng, path);
}

bool save_seeds(const Rng& rng, const std::string& path) { return write_line(path, rng.seed1, "   ", rng.seed2); }

void reset_seeds(Host& host, Rng& rng, const std::string& path) {
  empty_file(path);
  ask_in_range(host, rng, path);
}

bool write_seeds(int32_t s1, int32_t s2, const std::string& path) { return write_line(path, s1, " ", s2); }

bool seeds_in_range(int32_t s1, int32_t s2) {
  return s1 >= 1 && s1 <= kSeed1Max && s2 >= 1 && s2 <= kSeed2Max;
}

}  // namespace torvi
