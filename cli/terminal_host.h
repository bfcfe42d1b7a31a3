#pragma once

#include <atomic>
#include <mutex>
#include <string>

#include "torvi/host.h"

namespace torvi::cli {

// What to do when a result file already exists.
enum class ExistingResult { append, skip };

// The host of the command line: messages on standard error, the save dialog
// answered by --existing, the seeds dialog as prompts on a terminal, a
// progress line on standard error when it is a terminal. --quiet silences the
// progress line, notes and the closing message, never an error or a message
// about a file.
class TerminalHost : public Host {
 public:
  // `stop` tells whether the user asked the run to stop (a signal).
  TerminalHost(ExistingResult existing, bool quiet, bool (*stop)() = nullptr);

  void show_error(const std::string& text) override;
  void show_info(const std::string& text) override;
  void show_finished(const std::string& text) override;
  std::optional<std::string> ask_result_file(const std::string& title, const std::string& proposed) override;
  std::optional<SeedTexts> ask_seed_texts() override;
  void progress_begin(int64_t range) override;
  void progress_step(int64_t steps) override;
  void progress_end() override;
  void note(const std::string& text) override;
  bool stop_requested() override { return stop_ && stop_(); }

  bool any_error() const { return errors_ > 0; }

 private:
  void draw_progress(int64_t done, bool forced);

  ExistingResult existing_;
  bool quiet_;
  bool show_progress_;
  bool (*stop_)();
  int errors_ = 0;
  int64_t range_ = 0;
  std::atomic<int64_t> done_{0};
  std::atomic<int> shown_percent_{-1};
  std::atomic<int> shown_permille_{-1};
  int64_t started_ns_ = 0;
  int64_t drawn_ns_ = 0;
  std::mutex draw_mutex_;
};

// "\n\r" breaks of the program's messages as plain line ends.
std::string plain_lines(const std::string& text);

}  // namespace torvi::cli
