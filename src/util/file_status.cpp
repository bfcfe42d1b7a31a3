#include "util/file_status.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <system_error>

namespace torvi {

bool open_file_status(int fd, OpenFileStatus& status) {
  struct statx sx {};
  if (::statx(fd, "", AT_EMPTY_PATH, STATX_TYPE | STATX_SIZE, &sx) != 0) return false;
  status.regular = S_ISREG(sx.stx_mode);
  status.folder = S_ISDIR(sx.stx_mode);
  status.size = static_cast<int64_t>(sx.stx_size);
  return true;
}

std::string reason_of(int err) { return std::error_code(err, std::generic_category()).message(); }

}  // namespace torvi
