#pragma once

#include <functional>
#include <string>
#include <vector>

#include "data/selection.h"
#include "host/host.h"
#include "random/rng.h"
#include "model/analysis.h"
#include "run/run_driver.h"

namespace torvi {

// The data files a command goes through, and where their results go.
struct FileWalk {
  const std::vector<std::string>& file_list;
  const Selection& selection;  // loci and samples to keep, sample labels
  bool label_file_checked;     // "Label file for pops"
  const char* result_suffix;   // after the base name: ".out", "_test.out"
  // Called for each file once its caption is shown, before its result file
  // is opened (the Run takes its permutation counts there); may be empty.
  std::function<void()> before_result_file;
};

// What a command does with one data file once its result file is open and
// its data set read and counted. False when it refuses the file (after a
// message). Throws OutputError and RunCancelled.
using FileAnalysis = std::function<bool(Analysis& an, const std::string& result_name)>;

// Each data file in turn: refused with a message when it cannot be read; its
// subset written when loci or samples are chosen; the caption set; its result
// file opened (the save dialog when it exists: Cancel skips the file); its
// data set read and counted, with the labels of its samples; then `analyse`.
// A file that cannot be written is named with the reason and counts as
// failed; a stop asked by the host ends the walk. Last the seeds reached are
// saved and the closing message is shown.
RunOutcome walk_data_files(Host& host, const Rng& rng, const FileWalk& walk, const std::string& seeds_path,
                           const FileAnalysis& analyse);

// The three lines that open the results of a data file in its result file.
void write_result_header(const std::string& result_name, const std::string& base_name);

}  // namespace torvi
