#pragma once

#include <string>

namespace torvi::testing {

// Thread counts of every test that checks results do not depend on them:
// one, two, an odd count and more threads than the machine has cores.
inline constexpr int kThreadCounts[] = {1, 2, 3, 7};

// Compares `actual` with the golden file tests/data/golden/<name>. Returns
// an empty string when they match, otherwise a description of the first
// difference. Golden files are only ever rewritten by
// scripts/regenerate-golden.sh: with TORVI_GOLDEN_CANDIDATES=<folder> in the
// environment every comparison also leaves `actual` there for that script,
// and still fails when it differs.
std::string compare_with_golden(const std::string& name, const std::string& actual);

// The same for an output file, which must exist: a run that stops writing a
// file fails its comparison.
std::string compare_file_with_golden(const std::string& name, const std::string& path);

// A committed input of the golden tests: tests/data/inputs/<name>.
std::string golden_input(const std::string& name);

// Whole contents of a file (binary), or an empty string when it is missing.
std::string read_file(const std::string& path);

// A fresh, empty temporary directory for one test, removed by the destructor.
class TempDir {
 public:
  explicit TempDir(const std::string& tag);
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  // Writes `text` to a file of this directory and returns its path.
  std::string write(const std::string& name, const std::string& text) const;

 private:
  std::string path_;
};

}  // namespace torvi::testing
