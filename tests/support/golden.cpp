#include "support/golden.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace torvi::testing {

namespace fs = std::filesystem;

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

namespace {

void write_file(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string first_difference(const std::string& expected, const std::string& actual) {
  size_t i = 0;
  while (i < expected.size() && i < actual.size() && expected[i] == actual[i]) ++i;
  size_t line = 1 + static_cast<size_t>(std::count(expected.begin(), expected.begin() + i, '\n'));
  auto context = [&](const std::string& s) {
    size_t b = s.rfind('\n', i == 0 ? 0 : i - 1);
    b = b == std::string::npos ? 0 : b + 1;
    size_t e = s.find('\n', i);
    return s.substr(b, (e == std::string::npos ? s.size() : e) - b);
  };
  return "first difference at line " + std::to_string(line) + ":\n  expected: [" + context(expected) +
         "]\n  actual:   [" + context(actual) + "]";
}

// Leaves `actual` for scripts/regenerate-golden.sh, one file per comparison:
// <folder>/<name with '/' as '~'>@<process>-<comparison>.
void leave_candidate(const std::string& name, const std::string& actual) {
  const char* folder = std::getenv("TORVI_GOLDEN_CANDIDATES");
  if (!folder || !*folder) return;
  static int made = 0;
  std::string flat = name;
  std::replace(flat.begin(), flat.end(), '/', '~');
  fs::create_directories(folder);
  write_file(std::string(folder) + "/" + flat + "@" + std::to_string(::getpid()) + "-" + std::to_string(++made),
             actual);
}

}  // namespace

std::string compare_with_golden(const std::string& name, const std::string& actual) {
  leave_candidate(name, actual);
  const std::string path = std::string(TORVI_TEST_DATA_DIR) + "/golden/" + name;
  if (!fs::exists(path)) return "golden file " + path + " is missing (see scripts/regenerate-golden.sh)";
  const std::string expected = read_file(path);
  if (expected == actual) return {};
  return name + ": " + first_difference(expected, actual);
}

std::string compare_file_with_golden(const std::string& name, const std::string& path) {
  if (!fs::exists(path)) return name + ": the output file " + path + " was not written";
  return compare_with_golden(name, read_file(path));
}

std::string golden_input(const std::string& name) {
  const std::string path = std::string(TORVI_TEST_DATA_DIR) + "/inputs/" + name;
  if (!fs::exists(path)) throw std::runtime_error("missing test input " + path);
  return read_file(path);
}

TempDir::TempDir(const std::string& tag) {
  path_ = (fs::temp_directory_path() / ("torvi-" + tag + "-" + std::to_string(::getpid()))).string();
  fs::remove_all(path_);
  fs::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string TempDir::write(const std::string& name, const std::string& text) const {
  std::string p = file(name);
  write_file(p, text);
  return p;
}

}  // namespace torvi::testing
