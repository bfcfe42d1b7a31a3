// libFuzzer target: any bytes, cut into one to three matrix files, give a
// columnar file of whole lines, or a message naming a file, never a fault.
#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "convert/matrices_to_columns.h"
#include "convert/matrix_rows.h"
#include "fuzz_host.h"

namespace {

constexpr char kFileBreak = '\x1e';  // separates the matrix files in the input
constexpr int kHeadLines = 2;

using torvi::fuzz::require;

std::vector<std::string> split_files(const std::string& text) {
  std::vector<std::string> files(1);
  for (char c : text) {
    if (c == kFileBreak && files.size() < 3)
      files.emplace_back();
    else
      files.back() += c;
  }
  return files;
}

// Every line after the head holds K values, each followed by a tab.
void check_lines(const std::string& text, size_t matrices, int64_t n, bool complete) {
  int64_t data_lines = 0;
  size_t start = 0;
  for (int64_t line = 0; start < text.size(); ++line) {
    const size_t end = text.find("\r\n", start);
    require(end != std::string::npos);
    if (line >= kHeadLines + static_cast<int64_t>(matrices)) {
      const std::string row = text.substr(start, end - start);
      require(static_cast<size_t>(std::count(row.begin(), row.end(), '\t')) == matrices && row.back() == '\t');
      ++data_lines;
    }
    start = end + 2;
  }
  const int64_t pairs = n * (n - 1) / 2;
  require(complete ? data_lines == pairs : data_lines < pairs || pairs == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> files = split_files(std::string(reinterpret_cast<const char*>(data), size));
  std::string problem;
  std::istringstream first(files[0]);
  const int64_t n = torvi::matrix_size(first, "m0", problem);
  if (n < 0) {
    require(!problem.empty());
    return 0;
  }
  require(n >= 1);
  std::vector<std::istringstream> streams;
  for (const std::string& f : files) streams.emplace_back(f);
  std::vector<torvi::MatrixInput> inputs;
  for (size_t k = 0; k < files.size(); ++k) inputs.push_back({&streams[k], "m" + std::to_string(k)});
  torvi::StringSink out;
  problem = torvi::write_columns(inputs, n, out);
  require(problem.empty() || problem.find('m') != std::string::npos);
  check_lines(out.text(), files.size(), n, problem.empty());
  return 0;
}
