#pragma once

#include <string>
#include <vector>

namespace torvi::cli {

// The command line as typed, after the program's name: what a results
// document records so that a run can be repeated.
void remember_arguments(int argc, const char* const* argv);
const std::vector<std::string>& remembered_arguments();

}  // namespace torvi::cli
