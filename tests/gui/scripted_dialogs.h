#pragma once

#include <algorithm>
#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "user_dialogs.h"

namespace torvi::gui::testing {

// Answers the window's dialogs from scripts and records what was shown.
class ScriptedDialogs : public UserDialogs {
 public:
  struct Shown {
    bool error;
    QString text;
  };
  std::vector<Shown> messages;
  std::deque<QStringList> open_answers;  // empty: the open dialog is cancelled
  std::vector<std::pair<QString, QString>> open_file_requests;  // title, filters
  std::deque<std::optional<QString>> open_file_answers;          // empty: the dialog is cancelled
  struct OpenRequest {
    QString title;
    int filter_index;
    bool multiple;
  };
  std::vector<OpenRequest> open_requests;  // of open_files (not of the Open command)
  int abort_messages = 0;                  // error boxes with Abort (also among the messages)
  std::vector<std::pair<QString, QString>> save_requests;  // title, proposed
  std::deque<std::optional<QString>> save_answers;          // empty: accept the proposal
  std::deque<std::optional<Host::SeedTexts>> seed_answers;  // empty: closed without OK
  std::vector<FileChoice> file_requests;                    // open_file and save_file_as, in order
  std::deque<std::optional<QString>> file_answers;          // empty: cancelled
  int seed_dialogs = 0;
  int about_boxes = 0;

  void message(bool error, const QString& text) override { messages.push_back({error, text}); }
  QStringList open_data_files() override {
    if (open_answers.empty()) return {};
    QStringList files = open_answers.front();
    open_answers.pop_front();
    return files;
  }
  std::optional<QString> open_file(const QString& title, const QString& filters) override {
    open_file_requests.emplace_back(title, filters);
    if (open_file_answers.empty()) return std::nullopt;
    auto answer = open_file_answers.front();
    open_file_answers.pop_front();
    return answer;
  }
  QStringList open_files(const QString& title, int filter_index, bool multiple) override {
    open_requests.push_back({title, filter_index, multiple});
    return open_data_files();
  }
  void abort_message(const QString& text) override {
    ++abort_messages;
    message(true, text);
  }
  std::optional<QString> save_file(const QString& title, const QString& proposed) override {
    save_requests.emplace_back(title, proposed);
    if (save_answers.empty()) return proposed;
    auto answer = save_answers.front();
    save_answers.pop_front();
    return answer;
  }
  std::optional<QString> open_file(const FileChoice& choice) override { return file_answer(choice); }
  std::optional<QString> save_file_as(const FileChoice& choice) override { return file_answer(choice); }
  std::optional<QString> file_answer(const FileChoice& choice) {
    file_requests.push_back(choice);
    if (file_answers.empty()) return std::nullopt;
    auto answer = file_answers.front();
    file_answers.pop_front();
    return answer;
  }
  std::optional<Host::SeedTexts> seed_texts() override {
    ++seed_dialogs;
    if (seed_answers.empty()) return std::nullopt;
    auto answer = seed_answers.front();
    seed_answers.pop_front();
    return answer;
  }
  void about() override { ++about_boxes; }

  std::vector<QStringList> skipped_lists;  // what each question before a Run listed
  std::deque<bool> run_anyway_answers;     // empty: "Run anyway"
  bool run_anyway(const QStringList& skipped) override {
    skipped_lists.push_back(skipped);
    if (run_anyway_answers.empty()) return true;
    const bool answer = run_anyway_answers.front();
    run_anyway_answers.pop_front();
    return answer;
  }

  std::deque<std::optional<QString>> label_file_answers;  // empty: the open dialog is cancelled
  int label_file_dialogs = 0;
  std::optional<QString> open_label_file() override {
    ++label_file_dialogs;
    return next(label_file_answers);
  }

  std::vector<std::pair<QString, QString>> subset_requests;  // title, proposed
  std::deque<std::optional<QString>> subset_answers;         // empty: cancelled
  std::optional<QString> save_subset_file(const QString& title, const QString& proposed) override {
    subset_requests.emplace_back(title, proposed);
    return next(subset_answers);
  }

  std::deque<std::optional<SettingsFileChoice>> save_settings_answers;  // empty: cancelled
  std::deque<std::optional<QString>> open_settings_answers;             // empty: cancelled
  std::optional<SettingsFileChoice> save_settings_file() override { return next(save_settings_answers); }
  std::optional<QString> open_settings_file() override { return next(open_settings_answers); }

  // Each pick dialog shown takes the next script, which may move lines and
  // says how the dialog was closed; with none left it is closed by its frame.
  using PickScript = std::function<PickAnswer(const PickCaptions&, PickLists&)>;
  std::deque<PickScript> pick_scripts;
  std::vector<PickCaptions> picks_shown;
  std::vector<PickLists> pick_lists_shown;
  PickAnswer pick(const PickCaptions& captions, PickLists& lists) override {
    picks_shown.push_back(captions);
    pick_lists_shown.push_back(lists);
    if (pick_scripts.empty()) return PickAnswer::closed;
    PickScript script = pick_scripts.front();
    pick_scripts.pop_front();
    return script(captions, lists);
  }

  // A script that moves the lines of `numbers` to the right-hand list, then
  // closes the dialog with `answer`.
  static PickScript choose(std::vector<int> numbers, PickAnswer answer = PickAnswer::ok) {
    return [numbers, answer](const PickCaptions&, PickLists& lists) {
      for (int n : numbers) {
        auto it = std::find_if(lists.left.begin(), lists.left.end(), [n](const PickEntry& e) { return e.number == n; });
        if (it == lists.left.end()) continue;
        lists.right.push_back(*it);
        lists.left.erase(it);
      }
      return answer;
    };
  }

 private:
  template <class T>
  static std::optional<T> next(std::deque<std::optional<T>>& answers) {
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

}  // namespace torvi::gui::testing
