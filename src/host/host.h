#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace torvi {

// Everything the core needs from whoever drives it: message boxes, the save
// dialogs, the seeds dialog, the progress display and Cancel. The core never
// shows anything itself. Each program has its host (the Qt desktop program,
// the command line); MessageLogHost keeps the messages for a caller that
// reports them itself, and the tests script their own.
//
// Message texts use "\n\r" (line feed, carriage return) as their line break,
// as they are built; a host displays it as one line break.
class Host {
 public:
  virtual ~Host() = default;

  // Modal message boxes with a single OK button.
  virtual void show_error(const std::string& text) = 0;
  virtual void show_info(const std::string& text) = 0;

  // Save dialog shown when the result file exists. `proposed` is filled in;
  // returns the chosen name, or nothing when the user cancels.
  virtual std::optional<std::string> ask_result_file(const std::string& title,
                                                     const std::string& proposed) = 0;

  // Save dialog of the file conversions, shown when a file they would write
  // exists (or to name a new file: `proposed` may be empty). The chosen file
  // is replaced; nothing when the user cancels.
  virtual std::optional<std::string> ask_new_file(const std::string& title, const std::string& proposed) {
    return ask_result_file(title, proposed);
  }

  // An error box whose single button is Abort: the command it ends cannot go on.
  virtual void show_abort(const std::string& text) { show_error(text); }

  // Save dialog naming the subset data file a run writes for the chosen
  // samples and loci; `proposed` is filled in. Returns the chosen name, or
  // nothing when the user cancels (the file keeps the proposed name).
  virtual std::optional<std::string> ask_subset_file(const std::string& title, const std::string& proposed) {
    (void)title;
    (void)proposed;
    return std::nullopt;
  }

  // The seeds dialog, shown once: returns the two texts typed, or nothing
  // when it was closed without OK. The caller converts and range-checks.
  struct SeedTexts { std::string first, second; };
  virtual std::optional<SeedTexts> ask_seed_texts() = 0;

  // Progress of a randomisation test: begin with its range, one step per
  // randomisation, end when the test ends. progress_step may be called from
  // worker threads and must be cheap. A host asks the run to stop by
  // answering true to stop_requested(); the core then throws RunCancelled at
  // the next randomisation boundary.
  virtual void progress_begin(int64_t range) = 0;
  virtual void progress_step(int64_t steps = 1) = 0;
  virtual void progress_end() = 0;
  virtual bool stop_requested() { return false; }

  // The closing message of a Run that went through ("Torvi finished
  // processing data in ..."): an information box; the command line may
  // silence it.
  virtual void show_finished(const std::string& text) { show_info(text); }
  // The same when the last result file is in `folder`: a host may name the
  // folder after the message's own text.
  virtual void show_finished_in(const std::string& text, const std::string& folder) {
    (void)folder;
    show_finished(text);
  }

  // The window caption while a run works on a file ("TORVI is Processing: ...").
  virtual void show_caption(const std::string& text) { (void)text; }

  // Where a run is, for its progress display: the data file it starts
  // (`file` of `files`, from 1), then each section of it as the section
  // starts (`section` of `sections`, from 1).
  virtual void show_run_file(const std::string& data_file, int file, int files) {
    (void)data_file;
    (void)file;
    (void)files;
  }
  virtual void show_section(const std::string& name, int section, int sections) {
    (void)name;
    (void)section;
    (void)sections;
  }

  // Information that is not a message box of the program (for instance why a
  // requested test was skipped). The command line prints it on standard
  // error; the desktop program may ignore it.
  virtual void note(const std::string& text) { (void)text; }
};

// Thrown at a randomisation boundary after the host asked the run to stop.
struct RunCancelled : std::runtime_error {
  RunCancelled() : std::runtime_error("run cancelled") {}
};

}  // namespace torvi
