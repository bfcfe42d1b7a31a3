#include "report/report_text.h"

#include "util/output_file.h"

namespace torvi {

void ReportText::append_to(const std::string& path) const {
  append_section(path, buf_);
  if (value_capture::active) value_capture::section_written(path, buf_, values_);
}
void ReportText::write_new(const std::string& path) const { write_file_atomically(path, buf_); }

}  // namespace torvi
