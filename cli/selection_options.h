#pragma once

#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "torvi/data_files.h"

namespace torvi::cli {

// The Options menu on the command line: --loci, --samples, --labels.
struct SelectionArgs {
  std::optional<std::string> loci, samples, labels;  // nothing when not given
};

void add_selection_options(CLI::App* app, SelectionArgs& args);

// The choice for `files` in the numbering of each data file. The numbers are
// checked against every file's first line. A list that keeps every locus (or
// sample) of every file leaves its mark off, so no subset is written for it.
// On a usage error prints a message on standard error and returns false.
bool build_selection(const SelectionArgs& args, const std::vector<std::string>& files, Selection& selection,
                     bool& label_file_checked);

// Samples of each data file whose first line can be read, once `selection`
// has kept its samples: the numbering groups are defined on.
std::vector<int> samples_analysed(const Selection& selection, const std::vector<std::string>& files);

}  // namespace torvi::cli
