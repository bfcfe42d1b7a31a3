#pragma once

#include <functional>

#include "json/document.h"
#include "model/analysis.h"
#include "run/run_driver.h"

namespace torvi {

// What a run's results documents record as its command: the command line as
// typed (none from the window) and the settings in force.
CommandRecord run_command_record(const RunSettings& settings);

// Runs `sections` (the writing of one result file, header included) and, when
// the options ask for a JSON file, writes the results document beside the
// result file with every section written: complete, or cancelled or failed
// as the sections stopped (their exception passes on once it is written).
void with_results_document(RunContext& ctx, const CommandRecord& command, const Analysis& an,
                           const std::function<void()>& sections);

}  // namespace torvi
