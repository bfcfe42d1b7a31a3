#include "util/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace torvi {

FileLock& FileLock::operator=(FileLock&& other) noexcept {
  if (this != &other) {
    release();
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

FileLock::Result FileLock::try_lock(const std::string& path, std::string& reason) {
  release();
  // Read-only and non-blocking: folders and read-only files can be locked,
  // and a FIFO in the way does not hang the open.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    reason = std::error_code(errno, std::generic_category()).message();
    return Result::failed;
  }
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    int err = errno;
    ::close(fd);
    if (err == EWOULDBLOCK) return Result::held_elsewhere;
    reason = std::error_code(err, std::generic_category()).message();
    return Result::failed;
  }
  fd_ = fd;
  return Result::locked;
}

void FileLock::release() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

}  // namespace torvi
