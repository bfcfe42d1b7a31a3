#pragma once

#include <CLI/CLI.hpp>

#include <cstdint>
#include <string>
#include <vector>

#include "cli/selection_options.h"
#include "torvi/run.h"

namespace torvi::cli {

// The options of `torvi run` as given on the command line.
struct RunArgs {
  RunSettings settings;
  std::string popdiff = "none";
  std::string ld_tests = "none";
  std::string level, ld_level;
  int32_t popdiff_perm = 0;
  std::vector<int64_t> seeds;
  std::string existing = "append";
  bool quiet = false;
  SelectionArgs selection;
  std::string settings_file;  // --settings
};

// `torvi run`: the Run button of the main window.
class RunCommand {
 public:
  explicit RunCommand(CLI::App& app);
  bool chosen() const { return app_->parsed(); }
  // Runs the command; returns the exit status (0 every file analysed, 1 a file
  // not analysed or not written, 2 unusable seeds, 3 stopped).
  int execute();

 private:
  CLI::App* app_;
  RunArgs args_;
};

}  // namespace torvi::cli
