#pragma once

#include <string>
#include <vector>

#include "data/data_summary.h"
#include "json/document.h"

namespace torvi {

// A data file's summary as the "data" member of a results document and as an
// entry of a summary document's "files".
Json data_summary_json(const DataSummary& sum);

// One file of `torvi summary`: its summary, or the reader's message when it
// was refused.
struct SummaryEntry {
  std::string path;
  bool read = false;
  DataSummary summary;
  std::string message;  // why it was refused
};

// The document `torvi summary --json` prints.
Json summary_document(const CommandRecord& command, const RunClock& clock, const std::vector<SummaryEntry>& files);

}  // namespace torvi
