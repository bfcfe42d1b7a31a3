#pragma once

#include <CLI/CLI.hpp>

#include <optional>

#include "cli/run_command.h"
#include "torvi/settings.h"

namespace torvi::cli {

// --settings FILE.json: a run settings file saved by the desktop program (or
// written by hand) gives every control of the first page, the Options menu's
// choice and, when it holds them, the seeds; the options given on the command
// line override single values.
void add_settings_option(CLI::App* run, RunArgs& a);

// Puts the file's values into `a` wherever the command line gave none and
// returns the file; nothing after a message on standard error when the file
// cannot be used.
std::optional<RunSettingsFile> apply_settings_file(const CLI::App& run, RunArgs& a);

// After the command line's selection is built: the file's sample labels,
// unless --labels was given. False after a message.
bool apply_settings_labels(const CLI::App& run, const RunSettingsFile& file, RunArgs& a);

}  // namespace torvi::cli
