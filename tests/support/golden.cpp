#include "support/golden.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

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

}  // namespace

std::string compare_with_golden(const std::string& name, const std::string& actual) {
  std::string path = std::string(TORVI_TEST_DATA_DIR) + "/golden/" + name;
  const char* regen = std::getenv("TORVI_REGENERATE_GOLDEN");
  if (regen && std::string(regen) == "1") {
    fs::create_directories(fs::path(path).parent_path());
    std::string old_path = path + ".old";
    bool had_old = fs::exists(path);
    if (had_old) fs::copy_file(path, old_path, fs::copy_options::overwrite_existing);
    write_file(path, actual);
    if (had_old) {
      std::string cmd = "diff -u '" + old_path + "' '" + path + "'";
      std::system(cmd.c_str());
      fs::remove(old_path);
    }
    return {};
  }
  if (!fs::exists(path)) return "golden file " + path + " is missing (run with TORVI_REGENERATE_GOLDEN=1)";
  std::string expected = read_file(path);
  if (expected == actual) return {};
  return name + ": " + first_difference(expected, actual);
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
