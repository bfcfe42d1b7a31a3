#pragma once

#include <string>
#include <vector>

#include "host/host.h"

namespace torvi {

// Longest sample label; the rest of a label-file line is ignored.
inline constexpr int kLabelLength = 6;

// Reads the labels of samples 1..np from a label file: the first 6
// characters of each of its first np lines (line ends LF, CR LF or CR).
// `names` receives np + 1 entries, index 0 unused. A file that cannot be
// read or has fewer than np lines shows an error naming it and returns
// false, leaving `names` unchanged.
bool read_label_file(Host& host, const std::string& path, int np, std::vector<std::string>& names);

// The text of a label file holding `names` [1..n], one per line, CR LF ends.
std::string label_file_text(const std::vector<std::string>& names);

}  // namespace torvi
