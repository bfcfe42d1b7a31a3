#pragma once

#include <cstdint>
#include <string>

namespace torvi {

// What the file readers and writers need to know of a file they opened: its
// kind, and its size so that a failed append can be cut back.
struct OpenFileStatus {
  bool regular = false;
  bool folder = false;
  int64_t size = 0;
};

// The status of the file open on `fd`. False, with errno set, when the
// system cannot give it.
bool open_file_status(int fd, OpenFileStatus& status);

// The system's text for an errno value, as shown in messages.
std::string reason_of(int err);

}  // namespace torvi
