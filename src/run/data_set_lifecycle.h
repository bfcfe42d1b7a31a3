#pragma once

#include <string>

#include "model/analysis.h"

namespace torvi {

// Reads the data file `path` into an.ds and, only when reading succeeds,
// allocates the working tables sized from what was read (allele index, count
// tables, variance-component and G state, Fis table). False when the reader
// failed (it has shown its message).
bool create_data_set(Host& host, const std::string& path, Analysis& an);

// Releases everything create_data_set allocated.
void release_data_set(Analysis& an);

}  // namespace torvi
