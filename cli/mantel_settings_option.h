#pragma once

#include <CLI/CLI.hpp>

#include <string>

#include "cli/mantel_command.h"

namespace torvi::cli {

// --settings FILE.json: a settings file of the regression window (File >
// Save run settings...) gives the table, the output file, the model, the
// randomisations, the distance and JSON boxes and, when it holds them, the
// seeds; options given on the command line override single values.
void add_mantel_settings_option(CLI::App* mantel, std::string& path);

// Puts the file's values into `a` wherever the command line gave none, then
// checks that the table, the output and the model are named; false after a
// message on standard error.
bool apply_mantel_settings(const CLI::App& mantel, const std::string& path, MantelArgs& a);

}  // namespace torvi::cli
