#include "cli/command_stream.h"

#include <iostream>
#include <thread>

#include "torvi/seeds.h"

namespace torvi::cli {

namespace {

constexpr int kThreadsMax = 256;

// Seeds from --seeds, else the seeds file, else asked on a terminal. False
// after the message when there are none.
bool prepare_seeds(Host& host, Rng& rng, const std::vector<int64_t>& given) {
  if (!given.empty()) {
    if (given[0] < 1 || given[0] > kSeed1Max || given[1] < 1 || given[1] > kSeed2Max) {
      std::cerr << "torvi: --seeds: the first seed must lie in 1..2147483562 and the second in 1..2147483398\n";
      return false;
    }
    rng = Rng(static_cast<int32_t>(given[0]), static_cast<int32_t>(given[1]));
    return true;
  }
  SeedsRead seeds = read_seeds_file(kSeedsFileName);
  if (seeds.state == SeedsRead::State::usable) {
    rng = Rng(seeds.seed1, seeds.seed2);
    return true;
  }
  if (seeds.state == SeedsRead::State::unusable) std::cerr << "torvi: " << seeds.problem << '\n';
  try {
    ask_new_seeds(host, rng, kSeedsFileName);
  } catch (const std::exception& e) {
    std::cerr << "torvi: " << e.what() << '\n';
    return false;
  }
  return true;
}

}  // namespace

bool CommandStream::open(Host& host, const std::vector<int64_t>& seeds) {
  if (auto problem = lock_seeds_file(lock_, kSeedsFileName)) {
    std::cerr << "torvi: " << *problem << '\n';
    return false;
  }
  if (auto problem = seeds_write_problem(kSeedsFileName)) {
    std::cerr << "torvi: " << *problem << "\ntorvi: the seeds reached could not be saved after the run: nothing run\n";
    return false;
  }
  return prepare_seeds(host, rng, seeds);
}

void add_stream_options(CLI::App* app, std::vector<int64_t>& seeds, int& threads, bool& quiet,
                        const std::string& group) {
  app->add_option("--seeds", seeds,
                  "Seeds of the random number generator for this run (S1 in 1..2147483562, S2 in 1..2147483398); "
                  "default: those saved in TORVI.INI. The advanced state is saved to TORVI.INI after the run")
      ->expected(2)
      ->allow_extra_args(false)
      ->group(group);
  threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  app->add_option("--threads", threads,
                  "Threads for randomisations, 1..256 (default: all cores); results never depend on it")
      ->check(CLI::Range(1, kThreadsMax))
      ->group(group);
  app->add_flag("--quiet", quiet, "No progress line, notes or closing message on standard error (errors are always shown)")
      ->group(group);
}

}  // namespace torvi::cli
