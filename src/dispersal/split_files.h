#pragma once

#include <string>

#include "dispersal/sex_labelled_file.h"

namespace torvi::dispersal {

// The three data files a sex-labelled file is split into.
struct SplitPaths {
  std::string phil;    // base, philopatric letter, ".dat"
  std::string disp;    // base, other letter, ".dat"
  std::string pooled;  // base, ".dat"
};

// `dir` empty: the working directory.
std::string path_in(const std::string& dir, const std::string& name);
SplitPaths split_paths(const std::string& dir, const std::string& base, char phil_letter, char disp_letter);

// Data-file text of one sex: the records in input order, sample by sample.
std::string sex_file_text(const GenHeader& h, const std::vector<std::vector<int32_t>>& records);
// Data-file text of both sexes: per sample, the philopatric records first.
std::string pooled_file_text(const SexRecords& r);

// Writes the three files, each replaced whole (throws OutputError).
void write_split_files(const SplitPaths& paths, const SexRecords& r);

}  // namespace torvi::dispersal
