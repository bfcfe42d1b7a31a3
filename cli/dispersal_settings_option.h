#pragma once

#include <CLI/CLI.hpp>

#include <string>

#include "cli/dispersal_command.h"

namespace torvi::cli {

// --settings FILE.json: a settings file of the window "Bias dispersal tests"
// (File > Save run settings...) gives the file, the letters, the
// permutations, the tests, the sides, the JSON box and, when it holds them,
// the seeds; options given on the command line override single values.
void add_dispersal_settings_option(CLI::App* dispersal, std::string& path);

// Puts the file's values into `a` wherever the command line gave none, then
// checks that the file and the permutations are named; false after a
// message on standard error.
bool apply_dispersal_settings(const CLI::App& dispersal, const std::string& path, DispersalArgs& a);

}  // namespace torvi::cli
