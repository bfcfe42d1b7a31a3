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

  const ResultsDocument& document() const { return doc_; }

 private:
  std::string result_file_;
  ResultsDocument doc_;
};

}  // namespace torvi
