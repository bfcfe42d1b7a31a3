#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/selection.h"
#include "host/host.h"
#include "model/perm_counts.h"
#include "model/run_options.h"
#include "random/rng.h"

namespace torvi {

// Application title, written in every result-file header.
inline constexpr const char* kApplicationTitle = "Torvi for windows, V2.9.4  (June. 2003)";

// The line a stopped run appends to its result file, followed by the name of
// the section it stopped in.
inline constexpr const char* kCancelledLine = "Run cancelled by the user during ";

// A stopped run (or comparison among groups) says so after its last whole
// section, so that a reader knows the file ends early: appends
// kCancelledLine, `section` (the one the stop was seen in) and a line end.
void mark_cancelled(Host& host, const std::string& result_name, const std::string& section);

struct RunSettings {
  RunOptions options;
  std::vector<std::string> file_list;  // data files, each ending in ".dat" (any case)
  int threads = 1;
  Selection selection;  // loci and samples to keep, sample labels
  // The command as typed (after the program's name), for results documents;
  // none from the window.
  std::vector<std::string> arguments;
  bool from_command_line = false;
};

// Companion files a Run may write beside the result file, named from the
// data file's base name.
inline constexpr std::array<const char*, 8> kCompanionSuffixes = {".x2",        ".mat",   ".fst",  "-pp.pvl",
                                                                  "-tables.ld", "-dp.cd", "-r2.cd", "-details.cd"};

// A result file a run wrote to, and where its results of this run start
// (the file may hold earlier runs' results before them).
struct ResultWritten {
  std::string path;
  std::string base_name;  // of the data file analysed: companion files are named from it
  uint64_t start = 0;     // byte offset of this run's first line
};

struct RunOutcome {
  int files_done = 0;       // result files written
  int files_failed = 0;     // files refused (unreadable, reader message) or not written
  int files_skipped = 0;    // result-file dialog cancelled
  bool cancelled = false;   // the host asked the run to stop
  bool seeds_saved = true;  // false when the seeds file could not be written
  std::string last_base_name;
  std::vector<ResultWritten> results;  // in the order of the files
};

// The Run command: one result file per data file, sections in their fixed
// order, then the closing step (seeds saved to `seeds_path`, closing message).
// Never truncates an existing result file; a file that cannot be written is
// named with its reason through the host and counts as failed, and the
// sections already in it stay whole.
RunOutcome run_files(Host& host, Rng& rng, NbPerm& nb_perm, const RunSettings& settings,
                     const std::string& seeds_path);

}  // namespace torvi
