#pragma once

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace torvi::cli {

// `torvi convert dat2gen|gen2dat|mat2col`: the "File conversion" commands of
// the Utilities menu and "Matrices->Columns" of the Mantelise it! menu.
class ConvertCommand {
 public:
  explicit ConvertCommand(CLI::App& app);
  bool chosen() const { return app_->parsed(); }
  // Runs the chosen conversion; returns the exit status (0 every file
  // converted, 1 a file refused or not written, 2 unusable arguments,
  // 3 stopped).
  int execute();

 private:
  int data_to_genepop();
  int genepop_to_data();
  int matrices_to_columns();

  CLI::App* app_;
  CLI::App* dat2gen_;
  CLI::App* gen2dat_;
  CLI::App* mat2col_;
  std::vector<std::string> files_;
  std::string existing_ = "skip";
  std::string output_;
};

}  // namespace torvi::cli
