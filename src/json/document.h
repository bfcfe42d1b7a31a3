#pragma once

#include <string>
#include <vector>

#include "json/json_text.h"
#include "random/rng.h"
#include "util/run_clock.h"

namespace torvi {

// Version of the documents' layout (docs/torvi.schema.json); raised when a
// member changes meaning or goes away, not when one is added.
inline constexpr int kDocumentFormatVersion = 1;
inline constexpr const char* kResultsFormat = "torvi-results";
inline constexpr const char* kSummaryFormat = "torvi-summary";

// What was asked for: the tool, where it was started from, the command line
// as typed, and the options in force (the same object a settings file holds).
struct CommandRecord {
  std::string tool;  // "run", "summary", "groups", "mantel", "dispersal"
  bool from_command_line = true;
  std::vector<std::string> arguments;  // after the program's name; none from the window
  Json settings = Json::object();
};

// The members every document starts with: format, format_version, program,
// command and time.
Json document_head(const char* format, const CommandRecord& command, const RunClock& clock);

// The generator's two seeds as a pair.
Json seeds_json(const Rng& rng);

}  // namespace torvi
