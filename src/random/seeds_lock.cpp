#include "random/seeds_lock.h"

#include <filesystem>

namespace torvi {

std::optional<std::string> lock_seeds_file(FileLock& lock, const std::string& seeds_path) {
  std::string folder = std::filesystem::path(seeds_path).parent_path().string();
  std::string reason;
  switch (lock.try_lock(folder.empty() ? "." : folder, reason)) {
    case FileLock::Result::locked:
      return std::nullopt;
    case FileLock::Result::held_elsewhere:
      return "Another run of Torvi is using the seeds file " + seeds_path +
             ": two runs at once would draw the same random numbers. Wait until it ends, or run from another folder.";
    case FileLock::Result::failed:
      break;
  }
  return "Cannot lock the seeds file " + seeds_path + ": " + reason + ".";
}

}  // namespace torvi
