#include "random/seeds_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "util/output_file.h"
#include "util/file_status.h"

namespace torvi {

namespace {


const char* const kSymlinkReason =
    "it is a symbolic link (the file is replaced whole, so its target would not be updated): "
    "replace the link by a copy of the file";

// Replaces the seeds file by one line, through a temporary file renamed over
// it. A symbolic link is refused rather than replaced or written through.
bool write_line(const std::string& path, int32_t s1, const char* gap, int32_t s2, std::string* reason) {
  std::string why;
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    why = kSymlinkReason;
  } else {
    try {
      write_file_atomically(path, std::to_string(s1) + gap + std::to_string(s2) + "\r\n");
      return true;
    } catch (const OutputError& e) {
      why = e.reason;
    }
  }
  if (reason) *reason = why;
  return false;
}

}  // namespace

void ask_seeds(Host& host, int32_t& s1, int32_t& s2) {
  for (;;) {
    auto texts = host.ask_seed_texts();
    if (!texts) return;  // closed without OK: the caller's range check decides
    auto a = parse_seed_text(texts->first);
    auto b = parse_seed_text(texts->second);
    if (a && b) {
      s1 = *a;
      s2 = *b;
      return;
    }
  }
}

void ask_new_seeds(Host& host, Rng& rng, const std::string& path) {
  int32_t s1 = rng.seed1, s2 = rng.seed2;
  do {
    ask_seeds(host, s1, s2);
  } while (!seeds_in_range(s1, s2));
  rng.seed1 = s1;
  rng.seed2 = s2;
  std::string reason;
  if (!write_seeds(s1, s2, path, &reason)) host.show_error("Cannot write " + path + ": " + reason);
}

void load_seeds(Host& host, Rng& rng, const std::string& path) {
  SeedsRead seeds = read_seeds_file(path);
  if (seeds.state == SeedsRead::State::usable) {
    rng.seed1 = seeds.seed1;
    rng.seed2 = seeds.seed2;
    return;
  }
  if (seeds.state == SeedsRead::State::unusable) host.show_info(seeds.problem);
  ask_new_seeds(host, rng, path);
}

bool save_seeds(const Rng& rng, const std::string& path, std::string* reason) {
  return write_line(path, rng.seed1, "   ", rng.seed2, reason);
}

void reset_seeds(Host& host, Rng& rng, const std::string& path) { ask_new_seeds(host, rng, path); }

bool write_seeds(int32_t s1, int32_t s2, const std::string& path, std::string* reason) {
  return write_line(path, s1, " ", s2, reason);
}

std::optional<std::string> seeds_write_problem(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0) {
    if (S_ISLNK(st.st_mode)) return path + ": " + kSymlinkReason + ".";
    if (!S_ISREG(st.st_mode)) return path + " is not a regular file.";
    if (::access(path.c_str(), W_OK) != 0) return "Cannot write " + path + ": " + reason_of(errno) + ".";
  }
  std::string folder = std::filesystem::path(path).parent_path().string();
  if (::access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) != 0)
    return "Cannot write " + path + " (its folder): " + reason_of(errno) + ".";
  return std::nullopt;
}

bool seeds_in_range(int32_t s1, int32_t s2) {
  return s1 >= 1 && s1 <= kSeed1Max && s2 >= 1 && s2 <= kSeed2Max;
}

}  // namespace torvi
