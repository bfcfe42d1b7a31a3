#pragma once

#include <optional>
#include <string>

#include "host/host.h"

namespace torvi {

// The part of a file name from its last full stop (empty when none); only
// the last component of the path is looked at.
std::string extension_of(const std::string& path);
// The path without that extension.
std::string without_extension(const std::string& path);

// True when `target` is the very file `source` (a conversion must not
// replace the file it reads).
bool same_file(const std::string& source, const std::string& target);

// The name to write: `proposed` when no such file exists, otherwise the name
// the host's save dialog returns (titled `title`), or nothing on Cancel.
std::optional<std::string> choose_new_file(Host& host, const std::string& title, const std::string& proposed,
                                           bool& asked);

}  // namespace torvi
