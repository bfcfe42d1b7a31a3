#pragma once

#include <atomic>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "host/host.h"

namespace torvi::testing {

// A host for tests: records every message and progress call, and answers the
// dialogs from scripts given in advance.
class ScriptedHost : public Host {
 public:
  struct Message {
    bool error;  // error box (true) or information box (false)
    std::string text;
  };

  std::vector<Message> messages;
  std::vector<std::string> notes;
  // Answers of the result-file save dialog, in order; when empty, the proposed
  // name is accepted.
  std::deque<std::optional<std::string>> result_file_answers;
  std::vector<std::string> result_file_titles;
  std::vector<std::string> result_file_proposals;
  int abort_boxes = 0;  // error boxes with an Abort button (recorded among the messages too)
  // Answers of the subset-file save dialog, in order; when empty, the dialog
  // is cancelled (the proposed name stays).
  std::deque<std::optional<std::string>> subset_file_answers;
  std::vector<std::string> subset_file_proposals;
  // Answers of the seeds dialog, in order; when empty, the dialog is closed.
  std::deque<std::optional<SeedTexts>> seed_answers;
  int seed_dialogs_shown = 0;

  std::vector<int64_t> progress_ranges;
  std::atomic<int64_t> progress_steps{0};
  int progress_ends = 0;
  // Ask the run to stop once this many progress steps were made (-1: never).
  int64_t stop_after_steps = -1;

  void show_error(const std::string& text) override { messages.push_back({true, text}); }
  void show_info(const std::string& text) override { messages.push_back({false, text}); }
  void show_abort(const std::string& text) override {
    ++abort_boxes;
    messages.push_back({true, text});
  }
  std::optional<std::string> ask_result_file(const std::string& title, const std::string& proposed) override {
    result_file_titles.push_back(title);
    result_file_proposals.push_back(proposed);
    if (result_file_answers.empty()) return proposed;
    auto a = result_file_answers.front();
    result_file_answers.pop_front();
    return a;
  }
  std::optional<std::string> ask_subset_file(const std::string&, const std::string& proposed) override {
    subset_file_proposals.push_back(proposed);
    if (subset_file_answers.empty()) return std::nullopt;
    auto a = subset_file_answers.front();
    subset_file_answers.pop_front();
    return a;
  }
  std::optional<SeedTexts> ask_seed_texts() override {
    ++seed_dialogs_shown;
    if (seed_answers.empty()) return std::nullopt;
    auto a = seed_answers.front();
    seed_answers.pop_front();
    return a;
  }
  void progress_begin(int64_t range) override { progress_ranges.push_back(range); }
  void progress_step(int64_t steps) override { progress_steps += steps; }
  void progress_end() override { ++progress_ends; }
  bool stop_requested() override { return stop_after_steps >= 0 && progress_steps >= stop_after_steps; }
  void note(const std::string& text) override { notes.push_back(text); }
  // "file/files path" and "section/sections name", as announced.
  std::vector<std::string> run_files, sections;
  void show_run_file(const std::string& data_file, int file, int files) override {
    run_files.push_back(std::to_string(file) + "/" + std::to_string(files) + " " + data_file);
  }
  void show_section(const std::string& name, int section, int count) override {
    sections.push_back(std::to_string(section) + "/" + std::to_string(count) + " " + name);
  }

  // Texts of the error (true) or information (false) messages shown.
  std::vector<std::string> texts(bool error) const {
    std::vector<std::string> out;
    for (const auto& m : messages)
      if (m.error == error) out.push_back(m.text);
    return out;
  }
};

}  // namespace torvi::testing
