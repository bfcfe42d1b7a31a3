#pragma once

#include <cstdint>

#include <QString>

namespace torvi::gui {

// The About box's operating-system line from the kernel type and version as
// Qt reports them ("linux", "6.1.0-18-amd64"): the system's name, then
// "%d.%d (Build %d)" from the leading numbers, with ": <rest>" inside the
// parentheses when the version carries more text. Name and "%d.%d" alone when
// no build number can be read.
QString os_description(const QString& kernel_type, const QString& kernel_version);

// The running system's line.
QString os_description();

// Total physical memory in kilobytes; 0 when it cannot be read.
uint64_t physical_memory_kb();

// Kilobytes with thousands separators ("#,###") and " KB".
QString memory_text(uint64_t kb);

}  // namespace torvi::gui
