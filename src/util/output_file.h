#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace torvi {

// A result or companion file that could not be written. what() names the
// file and the reason ("Cannot write /x/y.out: No space left on device").
struct OutputError : std::runtime_error {
  OutputError(std::string file, std::string why)
      : std::runtime_error("Cannot write " + file + ": " + why), path(std::move(file)), reason(std::move(why)) {}
  std::string path;
  std::string reason;  // what the system said ("No space left on device")
};

// Appends one whole section to `path` (created when missing) in one write.
// On any failure the file is cut back to its size before the section, so a
// result file only ever holds whole sections, and OutputError is thrown.
void append_section(const std::string& path, std::string_view text);

// A file replaced only once it is complete: the text goes to a temporary file
// in the same folder, which commit() flushes to disk and renames over `path`.
// Destroyed without commit() (a failure, a stop) it removes its temporary
// file and leaves the earlier `path` as it was. Failures throw OutputError.
class AtomicFile {
 public:
  explicit AtomicFile(std::string path);
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;
  ~AtomicFile();

  void write(std::string_view text);
  void commit();
  const std::string& path() const { return path_; }

 private:
  void fail(const std::string& reason);

  std::string path_;
  std::string temp_;
  int fd_ = -1;
};

// Replaces `path` by `text` through an AtomicFile.
void write_file_atomically(const std::string& path, std::string_view text);

}  // namespace torvi
