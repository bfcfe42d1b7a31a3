#pragma once

#include <CLI/CLI.hpp>

#include <cstdint>
#include <string>
#include <vector>

namespace torvi::cli {

// The options of `torvi dispersal` as given on the command line.
struct DispersalArgs {
  std::string file;
  std::string settings;  // --settings FILE.json
  std::string phil = "F", disp = "M";
  int32_t permutations = 0;
  std::string tests = "fst";
  bool two_sided = false;
  bool json = false;
  std::vector<int64_t> seeds;
  int threads = 1;
  bool quiet = false;
};

// `torvi dispersal`: the window "Bias dispersal tests" and its "GO!".
class DispersalCommand {
 public:
  explicit DispersalCommand(CLI::App& app);
  bool chosen() const { return app_->parsed(); }
  // Runs the tests; returns the exit status (0 done, 1 input refused or a
  // file not written, 2 unusable options or seeds, 3 stopped).
  int execute();

 private:
  CLI::App* app_;
  DispersalArgs args_;
};

}  // namespace torvi::cli
