#include "json/results_export.h"

#include "json/section_json.h"

namespace torvi {

ResultsExport::ResultsExport(const CommandRecord& command, const Rng& seeds_at_start, std::string result_file,
                             Json data)
    : result_file_(std::move(result_file)),
      doc_(command, run_clock(), seeds_at_start, result_file_) {
  doc_.set_data(std::move(data));
}

SectionObserver ResultsExport::observer() {
  return [this](const std::string& path, std::string_view text, const std::vector<CapturedValue>& values) {
    if (path != result_file_) return;  // a companion file
    for (SectionPart& part : section_parts(text, values)) doc_.add_section(part.id, std::move(part.object));
  };
}

}  // namespace torvi
