#pragma once

#include <CLI/CLI.hpp>

#include <cstdint>
#include <string>
#include <vector>

#include "torvi/host.h"
#include "torvi/seeds.h"

namespace torvi::cli {

// The random stream of a command that draws from it. TORVI.INI is held for
// the whole command, so that no other command draws the same numbers, and
// checked to be replaceable before anything runs, so that a command never
// silently leaves its stream to be repeated.
class CommandStream {
 public:
  // Takes the seeds from --seeds, else from TORVI.INI, else asks on a
  // terminal. False after saying why on standard error (exit status 2).
  bool open(Host& host, const std::vector<int64_t>& seeds);
  Rng rng;

 private:
  FileLock lock_;
};

// --seeds S1 S2, --threads N (default: all cores) and --quiet, in `group`.
void add_stream_options(CLI::App* app, std::vector<int64_t>& seeds, int& threads, bool& quiet,
                        const std::string& group);

}  // namespace torvi::cli
