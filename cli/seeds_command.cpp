#include "cli/seeds_command.h"

#include <iostream>

#include "torvi/seeds.h"

namespace torvi::cli {

SeedsCommand::SeedsCommand(CLI::App& app) {
  app_ = app.add_subcommand("seeds", "Reset seeds Random Number Generator: write TORVI.INI");
  app_->add_option("S1 S2", seeds_, "First seed (1..2147483562) and second seed (1..2147483398)")
      ->expected(2)
      ->required();
}

int SeedsCommand::execute() {
  if (seeds_[0] < 1 || seeds_[0] > kSeed1Max || seeds_[1] < 1 || seeds_[1] > kSeed2Max) {
    std::cerr << "torvi: the first seed must lie in 1..2147483562 and the second in 1..2147483398\n";
    return 2;
  }
  // A run in progress would overwrite the new seeds with the state it reaches.
  FileLock lock;
  if (auto problem = lock_seeds_file(lock, kSeedsFileName)) {
    std::cerr << "torvi: " << *problem << '\n';
    return 2;
  }
  std::string reason;
  if (!write_seeds(static_cast<int32_t>(seeds_[0]), static_cast<int32_t>(seeds_[1]), kSeedsFileName, &reason)) {
    std::cerr << "torvi: cannot write " << kSeedsFileName << ": " << reason << '\n';
    return 1;
  }
  return 0;
}

}  // namespace torvi::cli
