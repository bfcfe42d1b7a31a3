#pragma once

#include "user_dialogs.h"

class QWidget;

namespace torvi::gui {

class SeedDialog;

// The dialogs a person answers, parented to the main window.
class WidgetDialogs : public UserDialogs {
 public:
  explicit WidgetDialogs(QWidget* parent);
  ~WidgetDialogs() override;

  void message(bool error, const QString& text) override;
  QStringList open_data_files() override;
  std::optional<QString> open_file(const QString& title, const QString& filters) override;
  std::optional<QString> save_file(const QString& title, const QString& proposed) override;
  std::optional<QString> open_file(const FileChoice& choice) override;
  std::optional<QString> save_file_as(const FileChoice& choice) override;
  QStringList open_files(const QString& title, int filter_index, bool multiple) override;
  std::optional<QString> save_new_file(const QString& title, const QString& proposed) override;
  void abort_message(const QString& text) override;
  std::optional<Host::SeedTexts> seed_texts() override;
  void about() override;
  std::optional<QString> open_label_file() override;
  std::optional<QString> save_subset_file(const QString& title, const QString& proposed) override;
  PickAnswer pick(const PickCaptions& captions, PickLists& lists) override;
  std::optional<SettingsFileChoice> save_settings_file() override;
  std::optional<QString> open_settings_file() override;
  bool run_anyway(const QStringList& skipped) override;  // in skipped_tests_dialog.cpp

 private:
  QWidget* parent_;
  SeedDialog* seed_dialog_;  // created once at start-up, reused
};

// Filters of the open dialog and of the save dialog, first filter chosen.
inline constexpr const char* kOpenDialogTitle = "Torvi Data files";
inline constexpr const char* kOpenDialogFilters =
    "data files (*.dat);;label files (*.lab);;Genepop files (*.gen);;all files (*.*)";
inline constexpr const char* kSaveDialogFilters = "data files (*.dat);;all files (*.*)";
inline constexpr const char* kSettingsDialogFilters = "settings files (*.json);;all files (*.*)";

}  // namespace torvi::gui
