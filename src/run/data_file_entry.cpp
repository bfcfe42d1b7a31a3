#include "run/data_file_entry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "util/file_status.h"

namespace torvi {

namespace {

constexpr size_t kExtensionLength = 4;  // ".dat"

bool ends_in_dat(const std::string& path) {
  if (path.size() < kExtensionLength) return false;
  std::string ext = path.substr(path.size() - kExtensionLength);
  for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return ext == ".dat";
}

}  // namespace

std::optional<std::string> base_name_of(const std::string& entry) {
  if (!ends_in_dat(entry)) return std::nullopt;
  std::string base = entry.substr(0, entry.size() - kExtensionLength);
  // "/x/.dat" would give the hidden result file "/x/.out".
  if (std::filesystem::path(base).filename().empty()) return std::nullopt;
  return base;
}

std::optional<std::string> data_file_problem(const std::string& entry) {
  if (!base_name_of(entry))
    return entry + " is not a .dat file: only data files whose names end in \".dat\" are analysed.";
  // O_NONBLOCK: a FIFO is refused below instead of waiting for a writer.
  int fd = ::open(entry.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return "Cannot open the data file " + entry + ": " + reason_of(errno) + ".";
  OpenFileStatus st;
  const bool stat_ok = open_file_status(fd, st);
  const int err = errno;
  ::close(fd);
  if (!stat_ok) return "Cannot open the data file " + entry + ": " + reason_of(err) + ".";
  if (st.folder) return "The data file " + entry + " is a folder.";
  if (!st.regular) return "The data file " + entry + " is not a regular file.";
  return std::nullopt;
}

}  // namespace torvi
