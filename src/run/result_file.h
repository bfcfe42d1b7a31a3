#pragma once

#include <optional>
#include <string>

#include "host/host.h"
#include "util/file_lock.h"

namespace torvi {

// The result file of one data file, locked for the time of its analysis so
// that a second run cannot interleave its sections with ours.
struct ResultFile {
  std::string name;
  FileLock lock;
};

inline constexpr const char* kResultSuffix = ".out";

// Result file of `base_name`: base name + `suffix`, created empty when
// missing and never truncated. When it exists the save dialog proposes it and
// the results go after the old contents of the chosen file. Nothing when the
// user cancels. Throws OutputError when it cannot be created, would be the
// data file `entry` itself, or is being written by another run.
std::optional<ResultFile> open_result_file(Host& host, const std::string& base_name, const std::string& entry,
                                           const char* suffix = kResultSuffix);

}  // namespace torvi
