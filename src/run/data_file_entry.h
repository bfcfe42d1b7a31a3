#pragma once

#include <optional>
#include <string>

namespace torvi {

// The base name of a data-file entry: its path less a final ".dat" (any
// case). Nothing for any other path, whose results would otherwise be named
// after some other file (or the entry itself).
std::optional<std::string> base_name_of(const std::string& entry);

// The message for an entry that cannot be analysed: not a ".dat" file,
// missing, a folder or other non-regular file, or unreadable. Nothing when
// the file can be read.
std::optional<std::string> data_file_problem(const std::string& entry);

}  // namespace torvi
