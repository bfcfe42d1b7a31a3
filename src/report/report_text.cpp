#include "report/report_text.h"

#include <cstdio>

namespace torvi {

namespace {

bool write_file(const std::string& path, const char* mode, const std::string& data) {
  std::FILE* f = std::fopen(path.c_str(), mode);
  if (!f) return false;
  bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

bool ReportText::append_to(const std::string& path) const { return write_file(path, "ab", buf_); }
bool ReportText::write_new(const std::string& path) const { return write_file(path, "wb", buf_); }

}  // namespace torvi
