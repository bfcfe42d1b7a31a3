#include "util/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>

#include "util/file_status.h"

namespace torvi {

namespace {

constexpr mode_t kNewFileMode = 0666;  // less the umask, as any new file


// Writes all of `text`, resuming after partial writes and interruptions.
// Returns 0 or the error number.
int write_all(int fd, std::string_view text) {
  const char* p = text.data();
  size_t left = text.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return EIO;
    p += n;
    left -= static_cast<size_t>(n);
  }
  return 0;
}

int close_checked(int fd) {
  // Linux releases the descriptor even when close reports an error: never retry.
  return ::close(fd) == 0 || errno == EINTR ? 0 : errno;
}

std::string temporary_name(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  return path + "." + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
}

void sync_folder_of(const std::string& path) {
  std::string folder = std::filesystem::path(path).parent_path().string();
  int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;  // the rename stands; only its durability is at stake
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

void append_section(const std::string& path, std::string_view text) {
  // O_NONBLOCK: a FIFO in the way is refused below instead of blocking here.
  int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, kNewFileMode);
  if (fd < 0) throw OutputError(path, reason_of(errno));
  OpenFileStatus st;
  if (!open_file_status(fd, st)) {
    int err = errno;
    ::close(fd);
    throw OutputError(path, reason_of(err));
  }
  if (!st.regular) {
    ::close(fd);
    throw OutputError(path, "not a regular file");
  }
  int err = write_all(fd, text);
  if (err != 0) {
    // Cut back whatever part of the section reached the file.
    (void)::ftruncate(fd, st.size);
    ::close(fd);
    throw OutputError(path, reason_of(err));
  }
  if ((err = close_checked(fd)) != 0) {
    (void)::truncate(path.c_str(), st.size);
    throw OutputError(path, reason_of(err));
  }
}

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {
  struct stat old {};
  const bool exists = ::stat(path_.c_str(), &old) == 0;
  if (exists && S_ISDIR(old.st_mode)) throw OutputError(path_, "it is a folder");
  // The rename would replace a file the user made read-only: refuse as a
  // direct write would.
  if (exists && ::access(path_.c_str(), W_OK) != 0) throw OutputError(path_, reason_of(errno));
  temp_ = temporary_name(path_);
  fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
  if (fd_ < 0) {
    int err = errno;
    temp_.clear();
    throw OutputError(path_, reason_of(err));
  }
  if (exists) (void)::fchmod(fd_, old.st_mode & 07777);  // keep the old file's permissions
}

AtomicFile::~AtomicFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!temp_.empty()) ::unlink(temp_.c_str());
}

void AtomicFile::fail(const std::string& reason) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
  throw OutputError(path_, reason);
}

void AtomicFile::write(std::string_view text) {
  if (fd_ < 0) throw std::logic_error("AtomicFile::write after commit or failure");
  if (int err = write_all(fd_, text)) fail(reason_of(err));
}

void AtomicFile::commit() {
  if (fd_ < 0) throw std::logic_error("AtomicFile::commit twice or after failure");
  if (::fsync(fd_) != 0) fail(reason_of(errno));
  int err = close_checked(fd_);
  fd_ = -1;
  if (err != 0) fail(reason_of(err));
  if (::rename(temp_.c_str(), path_.c_str()) != 0) fail(reason_of(errno));
  temp_.clear();
  sync_folder_of(path_);
}

void write_file_atomically(const std::string& path, std::string_view text) {
  AtomicFile file(path);
  file.write(text);
  file.commit();
}

}  // namespace torvi
