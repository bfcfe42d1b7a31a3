#pragma once

#include <string>

namespace torvi::testing {

// Compares `actual` with the golden file tests/data/golden/<name>. With
// TORVI_REGENERATE_GOLDEN=1 in the environment the golden file is rewritten
// instead, and a unified diff of the change is printed. Returns an empty
// string when they match, otherwise a description of the first difference.
std::string compare_with_golden(const std::string& name, const std::string& actual);

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
