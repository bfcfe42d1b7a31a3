// "Matrices->Columns": matrix files to one columnar file.
#include <fstream>
#include <memory>

#include "convert/conversion_target.h"
#include "convert/matrices_to_columns.h"
#include "convert/matrix_rows.h"
#include "torvi/convert.h"

namespace torvi {

namespace {

constexpr const char* kSaveTitle = "File name for the Columnar file";
constexpr const char* kProblems = "Problem(s) in the input files, exiting.";

struct OpenMatrices {
  std::vector<std::unique_ptr<std::ifstream>> streams;
  std::vector<MatrixInput> inputs;
};

// Every matrix file open for reading, or the first that cannot be opened.
std::string open_matrices(const std::vector<std::string>& files, OpenMatrices& open) {
  for (const std::string& path : files) {
    open.streams.push_back(std::make_unique<std::ifstream>(path, std::ios::binary));
    if (!*open.streams.back()) return "Cannot open the matrix file " + path + ".";
    open.inputs.push_back({open.streams.back().get(), path});
  }
  return {};
}

bool replaces_an_input(const std::vector<std::string>& files, const std::string& target) {
  for (const std::string& path : files)
    if (same_file(path, target)) return true;
  return false;
}

// Writes the columnar file; the lines completed before a value that cannot
// be read stay in it. Returns the problem (empty when none).
std::string write_target(const std::string& target, OpenMatrices& open, int64_t n, Host& host) {
  std::istream& first = *open.inputs.front().in;
  first.clear();
  first.seekg(0);
  ConversionProgress progress(host, n);
  FileSink out(target);
  std::string problem = write_columns(open.inputs, n, out, &progress);
  out.commit();
  return problem;
}

}  // namespace

ConvertOutcome convert_matrices_to_columns(Host& host, const std::vector<std::string>& matrix_files) {
  ConvertOutcome outcome;
  if (matrix_files.empty()) {
    host.show_info("No matrix file chosen: no columnar file written.");
    return outcome;
  }
  OpenMatrices open;
  std::string problem = open_matrices(matrix_files, open);
  int64_t n = -1;
  if (problem.empty()) n = matrix_size(*open.inputs.front().in, matrix_files.front(), problem);
  if (!problem.empty()) {
    host.show_abort(std::string(kProblems) + "\n\r" + problem);
    ++outcome.refused;
    return outcome;
  }
  const auto target = host.ask_new_file(kSaveTitle, "");
  if (!target || target->empty()) {
    host.show_info("Invalid file name");
    ++outcome.skipped;
    return outcome;
  }
  if (replaces_an_input(matrix_files, *target)) {
    host.show_info("The columnar file cannot replace one of the matrix files: " + *target);
    ++outcome.refused;
    return outcome;
  }
  try {
    problem = write_target(*target, open, n, host);
  } catch (const OutputError& e) {
    host.show_error(e.what());
    ++outcome.refused;
    return outcome;
  } catch (const RunCancelled&) {
    outcome.cancelled = true;
    return outcome;
  }
  if (!problem.empty()) {
    host.show_abort(std::string(kProblems) + "\n\r" + problem);
    ++outcome.refused;
    return outcome;
  }
  ++outcome.converted;
  outcome.written.push_back(*target);
  host.show_info("Columnar mode file succesfully created.");
  return outcome;
}

}  // namespace torvi
