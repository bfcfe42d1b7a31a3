#include "run/file_walk.h"

#include <filesystem>
#include <optional>

#include "model/count_tables.h"
#include "random/seeds_file.h"
#include "report/report_text.h"
#include "run/data_file_entry.h"
#include "run/data_set_lifecycle.h"
#include "run/result_file.h"
#include "run/subset_file.h"
#include "util/output_file.h"
#include "util/run_clock.h"

namespace torvi {

namespace {

constexpr const char* kBreak = "\n\r";

std::string file_name_of(const std::string& path) { return std::filesystem::path(path).filename().string(); }

// One data file (or the subset written for it) from its result file to the
// release of its data set. False when the file was refused (a message has
// been shown); nothing when the result-file dialog was cancelled.
std::optional<bool> walk_one_file(Host& host, const FileWalk& walk, const std::string& entry,
                                  const SubsetFile& subset, const FileAnalysis& analyse, RunOutcome& outcome) {
  auto result = open_result_file(host, subset.base_name, entry, walk.result_suffix);
  if (!result) return std::nullopt;
  std::error_code ec;
  const auto start = std::filesystem::file_size(result->name, ec);
  outcome.results.push_back({result->name, subset.base_name, ec ? 0 : static_cast<uint64_t>(start)});
  Analysis an;
  an.base_name = subset.base_name;
  an.data_path = subset.data_path;
  // The entry itself (or its subset) is read: on a case-sensitive file
  // system "X.DAT" is not "X.dat".
  if (!create_data_set(host, subset.data_path, an)) return false;
  an.ds.sample_names = subset.sample_names;
  an.ds.sample_names.resize(static_cast<size_t>(an.ds.np) + 1);
  count_alleles(an.ds, an.ct);
  return analyse(an, result->name);
}

// Folder of the last result file written ("" when none was).
std::string result_folder(const RunOutcome& outcome) {
  if (outcome.results.empty()) return {};
  std::error_code ec;
  const auto path = std::filesystem::absolute(outcome.results.back().path, ec);
  return ec ? std::string() : path.parent_path().string();
}

// Saves the seeds reached and shows the closing message; a run whose seeds
// could not be saved, or whose last file could not be written, does not say
// it finished.
void finish_run(Host& host, const Rng& rng, const std::string& seeds_path, RunOutcome& outcome, bool last_written) {
  std::string reason;
  outcome.seeds_saved = save_seeds(rng, seeds_path, &reason);
  if (!outcome.seeds_saved)
    host.show_error("Cannot write " + seeds_path + ": " + reason + kBreak +
                    "The seeds reached were not saved: the next run would repeat this run's random numbers.");
  const std::string name = file_name_of(outcome.last_base_name) + ".dat";
  if (outcome.cancelled)
    host.show_info("Torvi run cancelled while processing" + std::string(kBreak) + name);
  else if (!outcome.last_base_name.empty() && last_written && outcome.seeds_saved)
    host.show_finished_in("Torvi finished processing data in " + std::string(kBreak) + name, result_folder(outcome));
}

}  // namespace

void write_result_header(const std::string& result_name, const std::string& base_name) {
  const std::string h = "*   The following results were generated the " + header_date_time_text(run_clock()) + " with " +
                        kApplicationTitle + " from file " + file_name_of(base_name) + ".dat. *";
  const std::string stars(h.size(), '*');
  ReportText().line(stars).line(h).line(stars).append_to(result_name);
}

RunOutcome walk_data_files(Host& host, const Rng& rng, const FileWalk& walk, const std::string& seeds_path,
                           const FileAnalysis& analyse) {
  RunOutcome outcome;
  bool last_written = true;
  int file_number = 0;
  for (const std::string& entry : walk.file_list) {
    ++file_number;
    if (host.stop_requested()) {
      outcome.cancelled = true;
      break;
    }
    last_written = true;
    const std::optional<std::string> base_name = base_name_of(entry);
    if (base_name) outcome.last_base_name = *base_name;
    if (auto problem = data_file_problem(entry)) {
      host.show_error(*problem);
      ++outcome.files_failed;
      continue;
    }
    try {
      // With loci or samples chosen, a subset file is analysed in place of the entry.
      const auto subset = select_subset(host, entry, *base_name, walk.selection, walk.label_file_checked);
      if (!subset) {
        ++outcome.files_failed;
        continue;
      }
      outcome.last_base_name = subset->base_name;
      host.show_caption("TORVI is Processing: " + file_name_of(subset->base_name) + ".dat");
      host.show_run_file(subset->data_path, file_number, static_cast<int>(walk.file_list.size()));
      if (walk.before_result_file) walk.before_result_file();
      const auto done = walk_one_file(host, walk, entry, *subset, analyse, outcome);
      if (!done) ++outcome.files_skipped;
      else if (*done) ++outcome.files_done;
      else ++outcome.files_failed;
    } catch (const OutputError& e) {
      host.show_error(e.what());
      ++outcome.files_failed;
      last_written = false;
    } catch (const RunCancelled&) {
      outcome.cancelled = true;
      break;
    }
  }
  finish_run(host, rng, seeds_path, outcome, last_written);
  return outcome;
}

}  // namespace torvi
