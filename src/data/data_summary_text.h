#pragma once

#include <string>

#include "data/data_summary.h"

namespace torvi {

// The summary as a person reads it (the command line prints it, the desktop
// program shows it after Open): lines ending in "\n".
std::string data_summary_text(const DataSummary& sum);

// How many individuals typed at no locus are listed by number; the count is
// always given.
inline constexpr size_t kUntypedListed = 20;

}  // namespace torvi
