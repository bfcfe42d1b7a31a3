// libFuzzer target: any bytes as the seeds file give usable seeds within
// their ranges, or a message naming the file; usable seeds survive being
// saved and read again; the dialog's conversion never accepts what it should
// not.
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <string>

#include "fuzz_host.h"
#include "random/seeds_file.h"

using torvi::fuzz::require;

namespace {

std::string scratch_file() {
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir && *dir ? dir : "/tmp") + "/torvi-seeds-fuzz-" + std::to_string(::getpid()) + ".ini";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = scratch_file();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;

  torvi::SeedsRead r = torvi::read_seeds_file(path);
  if (r.state == torvi::SeedsRead::State::usable) {
    require(torvi::seeds_in_range(r.seed1, r.seed2));
    torvi::Rng rng(r.seed1, r.seed2);
    rng.rnd_uniform();
    require(torvi::seeds_in_range(rng.seed1, rng.seed2));  // the stream never leaves the ranges
    require(torvi::save_seeds(rng, path));
    torvi::SeedsRead again = torvi::read_seeds_file(path);
    require(again.state == torvi::SeedsRead::State::usable && again.seed1 == rng.seed1 && again.seed2 == rng.seed2);
  } else {
    require(r.state == torvi::SeedsRead::State::unusable);
    require(r.problem.find(path) != std::string::npos);
  }

  if (auto v = torvi::parse_seed_text(bytes)) {
    require(bytes.find_first_not_of(" +-0123456789") == std::string::npos);
    require(std::to_string(*v) == std::to_string(std::stoll(bytes)));
  }
  ::unlink(path.c_str());
  return 0;
}
