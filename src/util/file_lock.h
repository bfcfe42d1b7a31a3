#pragma once

#include <string>

namespace torvi {

// An advisory lock (flock) on a file or folder, held while the object lives,
// so that two runs of the program do not use the same seeds or result file at
// once. The lock ends with the process, however it ends.
class FileLock {
 public:
  FileLock() = default;
  FileLock(FileLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  FileLock& operator=(FileLock&& other) noexcept;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock() { release(); }

  enum class Result { locked, held_elsewhere, failed };
  // Takes the lock without waiting. On `failed`, `reason` says why.
  Result try_lock(const std::string& path, std::string& reason);
  void release();
  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace torvi
