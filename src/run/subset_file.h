#pragma once

#include <optional>
#include <string>
#include <vector>

#include "data/selection.h"
#include "host/host.h"

namespace torvi {

// Title of the save dialog that names a subset data file.
inline constexpr const char* kSubsetDialogTitle = "File name for the selected subset of samples and loci :";

// The file a Run analyses in place of the one that was opened.
struct SubsetFile {
  std::string base_name;  // data file path without its ".dat"
  std::string data_path;  // the data file to read
  // Labels of the analysed file's samples, renumbered with them [1..np'].
  std::vector<std::string> sample_names;
};

// Turns the choice in force into the file to analyse. With neither "Loci to
// use" nor "Samples to use" marked, the opened file itself (`data_path`,
// whose path less ".dat" is `base_name`). Otherwise writes the subset data
// file base_name + "-L<loci>" + "-P<samples>" + ".dat" (or the name chosen
// in the save dialog): the kept loci's name lines whole, the records of the
// kept samples renumbered 1, 2, ... in their order, genotype codes as read;
// and, when `write_labels`, the kept samples' labels in a ".lab" file beside
// it. Nothing when the opened file cannot be read or a file cannot be
// written (an error has been shown).
std::optional<SubsetFile> select_subset(Host& host, const std::string& data_path, const std::string& base_name,
                                        const Selection& selection, bool write_labels);

}  // namespace torvi
