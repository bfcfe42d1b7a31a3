#pragma once

#include <string>

#include "json/results_document.h"
#include "report/value_capture.h"

namespace torvi {

// The results document of one result file while its sections are written:
// observer() adds each section written whole to the result file (its parts,
// with the reals the section formatted); write() puts the document beside
// the result file.
class ResultsExport {
 public:
  ResultsExport(const CommandRecord& command, const Rng& seeds_at_start, std::string result_file, Json data);

  SectionObserver observer();

  // Replaces BASE.torvi.json once complete; OutputError names the file and
  // the reason when it cannot be written.
  void write(const Rng& seeds_at_end, ResultsStatus status, const std::string& message = {}) const;

  const std::string& path() const { return path_; }

 private:
  std::string result_file_;
  std::string path_;
  ResultsDocument doc_;
};

}  // namespace torvi
