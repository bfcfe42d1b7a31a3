#pragma once

#include <CLI/CLI.hpp>

#include <cstdint>
#include <string>
#include <vector>

namespace torvi::cli {

// The options of `torvi mantel` as given on the command line.
struct MantelArgs {
  std::string input, output, residuals;
  std::string settings;  // --settings FILE.json
  int dependent = 0;
  std::vector<int> explanatory;
  int randomisations = 0;
  bool distance = false;
  bool json = false;
  std::vector<int64_t> seeds;
  int threads = 1;
  bool quiet = false;
};

// `torvi mantel`: "Multiple regression and partial Mantel" (Mantelise it!).
class MantelCommand {
 public:
  explicit MantelCommand(CLI::App& app);
  bool chosen() const { return app_->parsed(); }
  // Runs the command; returns the exit status (0 report written, 1 input
  // refused, singular model or a file not written, 2 unusable options or
  // seeds, 3 stopped).
  int execute();

 private:
  CLI::App* app_;
  MantelArgs args_;
};

}  // namespace torvi::cli
