#pragma once

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace torvi::cli {

// `torvi summary FILE.dat...`: what each data file holds, read in full with
// the reader's checks, as text or as a JSON document on standard output.
class SummaryCommand {
 public:
  explicit SummaryCommand(CLI::App& app);
  bool chosen() const { return app_->parsed(); }
  // Returns the exit status: 0 every file read, 1 a file refused (the others
  // are still summarised).
  int execute();

 private:
  CLI::App* app_;
  std::vector<std::string> files_;
  bool json_ = false;
};

}  // namespace torvi::cli
