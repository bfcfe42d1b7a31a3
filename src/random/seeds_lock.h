#pragma once

#include <optional>
#include <string>

#include "util/file_lock.h"

namespace torvi {

// Holds the seeds file for one run: two runs that used the same seeds file at
// once would draw the same random numbers. The lock is on the folder that
// holds the file, which stays the same object while the file itself is
// replaced by renaming. Returns the message when the lock cannot be had.
std::optional<std::string> lock_seeds_file(FileLock& lock, const std::string& seeds_path);

}  // namespace torvi
