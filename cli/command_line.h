#pragma once

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <vector>

#include "torvi/results.h"

namespace torvi::cli {

// The command line as typed, after the program's name: what a results
// document records so that a run can be repeated.
void remember_arguments(int argc, const char* const* argv);
const std::vector<std::string>& remembered_arguments();

// --json of a tool's command: also write a results document, `where`.
void add_json_flag(CLI::App* app, bool& json, const std::string& where, const std::string& group);

// Whether the option `name` (or a positional's name) was given on the
// command line: a settings file's value then gives way to it.
bool option_given(const CLI::App& app, const std::string& name);

// The command a tool's results document records (the arguments as typed), or
// nothing without --json.
std::optional<CommandRecord> results_document_if(bool json, const char* tool);

}  // namespace torvi::cli
