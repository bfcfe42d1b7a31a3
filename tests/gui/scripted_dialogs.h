#pragma once

#include <deque>
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
  std::vector<std::pair<QString, QString>> save_requests;  // title, proposed
  std::deque<std::optional<QString>> save_answers;          // empty: accept the proposal
  std::deque<std::optional<Host::SeedTexts>> seed_answers;  // empty: closed without OK
  int seed_dialogs = 0;
  int about_boxes = 0;

  void message(bool error, const QString& text) override { messages.push_back({error, text}); }
  QStringList open_data_files() override {
    if (open_answers.empty()) return {};
    QStringList files = open_answers.front();
    open_answers.pop_front();
    return files;
  }
  std::optional<QString> save_file(const QString& title, const QString& proposed) override {
    save_requests.emplace_back(title, proposed);
    if (save_answers.empty()) return proposed;
    auto answer = save_answers.front();
    save_answers.pop_front();
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
};

}  // namespace torvi::gui::testing
