#pragma once

#include <CLI/CLI.hpp>

#include <cstdint>
#include <vector>

namespace torvi::cli {

// `torvi seeds S1 S2`: "Reset seeds Random Number Generator".
class SeedsCommand {
 public:
  explicit SeedsCommand(CLI::App& app);
  bool chosen() const { return app_->parsed(); }
  // Returns the exit status: 0 written, 1 not written, 2 seeds out of range
  // or the seeds file in use by a run.
  int execute();

 private:
  CLI::App* app_;
  std::vector<int64_t> seeds_;
};

}  // namespace torvi::cli
