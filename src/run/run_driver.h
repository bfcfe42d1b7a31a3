#pragma once

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

struct RunOutcome {
  int files_done = 0;       // result files written
  int files_failed = 0;     // files refused (unreadable, reader message) or not written
  int files_skipped = 0;    // result-file dialog cancelled
  bool cancelled = false;   // the host asked the run to stop
  bool seeds_saved = true;  // false when the seeds file could not be written
  std::string last_base_name;
};

// The Run command: one result file per data file, sections in their fixed
// order, then the closing step (seeds saved to `seeds_path`, closing message).
// Never truncates an existing result file; a file that cannot be written is
// named with its reason through the host and counts as failed, and the
// sections already in it stay whole.
RunOutcome run_files(Host& host, Rng& rng, NbPerm& nb_perm, const RunSettings& settings,
                     const std::string& seeds_path);

}  // namespace torvi
