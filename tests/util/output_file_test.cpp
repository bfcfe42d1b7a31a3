#include "util/output_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "support/golden.h"

namespace torvi {
namespace {

using testing::read_file;
using testing::TempDir;

// Files may grow to `bytes` only, as on a full disk; writes beyond fail with
// "File too large" instead of ending the process.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, old_handler_);
  }

 private:
  rlimit old_{};
  void (*old_handler_)(int) = nullptr;
};

size_t entries_in(const std::string& dir) {
  size_t n = 0;
  for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir)) ++n;
  return n;
}

TEST(AppendSection, WholeSectionsOrNothing) {
  TempDir dir("append_section");
  const std::string out = dir.file("r.out");
  append_section(out, "first\r\n");
  append_section(out, "second\r\n");
  EXPECT_EQ(read_file(out), "first\r\nsecond\r\n");
  {
    // A section that does not fit is cut back whole, not left half written.
    FileSizeLimit limit(4096);
    const std::string big(10000, 'x');
    try {
      append_section(out, big);
      FAIL() << "no error on a full disk";
    } catch (const OutputError& e) {
      EXPECT_EQ(e.path, out);
      EXPECT_EQ(std::string(e.what()), "Cannot write " + out + ": File too large");
    }
  }
  EXPECT_EQ(read_file(out), "first\r\nsecond\r\n");
}

TEST(AppendSection, PathsThatCannotHoldAResultFile) {
  TempDir dir("append_section_paths");
  std::filesystem::create_directory(dir.file("folder.out"));
  EXPECT_THROW(append_section(dir.file("folder.out"), "x"), OutputError);
  EXPECT_THROW(append_section(dir.file("missing/r.out"), "x"), OutputError);
  ASSERT_EQ(mkfifo(dir.file("fifo.out").c_str(), 0600), 0);
  try {
    append_section(dir.file("fifo.out"), "x");  // must neither block nor write
    FAIL();
  } catch (const OutputError& e) {
    EXPECT_NE(std::string(e.what()).find("fifo.out: "), std::string::npos);
  }
}

TEST(AtomicFile, ReplacesOnlyWhenCommitted) {
  TempDir dir("atomic_file");
  const std::string path = dir.write("r.mat", "previous complete file\r\n");
  chmod(path.c_str(), 0640);
  {
    AtomicFile f(path);
    f.write("half of a new ");
    EXPECT_EQ(read_file(path), "previous complete file\r\n");
  }  // a failure or a stop: no commit
  EXPECT_EQ(read_file(path), "previous complete file\r\n");
  EXPECT_EQ(entries_in(dir.path()), 1u);

  AtomicFile f(path);
  f.write("new ");
  f.write("file\r\n");
  f.commit();
  EXPECT_EQ(read_file(path), "new file\r\n");
  EXPECT_EQ(entries_in(dir.path()), 1u);
  struct stat st {};
  stat(path.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);  // the replaced file's permissions stay
}

TEST(AtomicFile, FailedWriteKeepsThePreviousFile) {
  TempDir dir("atomic_file_full");
  const std::string path = dir.write("r.fst", "previous\r\n");
  {
    FileSizeLimit limit(1000);
    EXPECT_THROW(write_file_atomically(path, std::string(5000, 'x')), OutputError);
  }
  EXPECT_EQ(read_file(path), "previous\r\n");
  EXPECT_EQ(entries_in(dir.path()), 1u);
  std::filesystem::create_directory(dir.file("folder.x2"));
  EXPECT_THROW(write_file_atomically(dir.file("folder.x2"), "x"), OutputError);
  EXPECT_THROW(write_file_atomically(dir.file("missing/r.x2"), "x"), OutputError);
  if (geteuid() != 0) {  // root may write a read-only file
    const std::string ro = dir.write("ro.mat", "kept\r\n");
    chmod(ro.c_str(), 0444);
    EXPECT_THROW(write_file_atomically(ro, "x"), OutputError);
    EXPECT_EQ(read_file(ro), "kept\r\n");
  }
}

}  // namespace
}  // namespace torvi
