#pragma once

#include <optional>
#include <vector>

#include <QString>
#include <QStringList>

#include "torvi/host.h"

namespace torvi::gui {

// One line of a pick dialog: a sample or locus number and the line shown
// for it ("3. loc3").
struct PickEntry {
  int number = 0;
  QString text;
  bool operator==(const PickEntry&) const = default;
};

// The two lists of a pick dialog, as shown and as the person left them.
struct PickLists {
  std::vector<PickEntry> left, right;
};

// Texts of a pick dialog: "Pick Loci", "Samples to use", "Define group g".
struct PickCaptions {
  QString object_name;  // Tfpickloci or TFpickpop
  QString caption, left_label, right_label;
  bool cancel_button = false;  // only the sample dialog offers Cancel
};

// How a pick dialog was closed: OK, Cancel, or its window frame.
enum class PickAnswer { ok, cancel, closed };

// The file "Save run settings..." writes, and whether the seeds go in it.
struct SettingsFileChoice {
  QString path;
  bool include_seeds = false;
};

// Every dialog of the main window that needs a person to answer it. The
// program shows real dialogs; tests answer them from a script.
class UserDialogs {
 public:
  virtual ~UserDialogs() = default;

  // Modal box with one OK button; `text` uses '\n' line breaks.
  virtual void message(bool error, const QString& text) = 0;
  // The open dialog: chosen files in the order returned, empty on cancel.
  virtual QStringList open_data_files() = 0;
  // An open dialog for one file with the given title and filters (first
  // one chosen); nothing on cancel.
  virtual std::optional<QString> open_file(const QString& title, const QString& filters) = 0;
  // The save dialog with `proposed` filled in; nothing on cancel.
  virtual std::optional<QString> save_file(const QString& title, const QString& proposed) = 0;
  // The file dialogs of the tool windows: a title, the filters as the
  // program writes them ("all (*.*)|*.*|..."), the filter chosen first
  // (from 1), and whether a chosen file will be replaced (the save dialog
  // then asks before replacing an existing one).
  struct FileChoice {
    QString title, filters;
    int index = 1;
    bool replaces = false;
  };
  // The chosen file, or nothing on cancel.
  virtual std::optional<QString> open_file(const FileChoice& choice) = 0;
  virtual std::optional<QString> save_file_as(const FileChoice& choice) = 0;
  // The open dialog of the other commands: `title`, the filter numbered
  // `filter_index` (from 1) of the open dialog's filters chosen, one or
  // several files. The files in the order returned, empty on cancel.
  virtual QStringList open_files([[maybe_unused]] const QString& title, [[maybe_unused]] int filter_index,
                                 [[maybe_unused]] bool multiple) {
    return open_data_files();
  }
  // The save dialog of a command that writes a new file, "all files" chosen;
  // the chosen file is replaced. Nothing on cancel.
  virtual std::optional<QString> save_new_file(const QString& title, const QString& proposed) {
    return save_file(title, proposed);
  }
  // An error box whose single button is Abort.
  virtual void abort_message(const QString& text) { message(true, text); }
  // The seeds dialog: the two texts, or nothing when closed without OK.
  virtual std::optional<Host::SeedTexts> seed_texts() = 0;
  virtual void about() = 0;
  // Before a Run that will leave out ticked tests: the list of them, with
  // "Run anyway" (true) and "Cancel" (false).
  virtual bool run_anyway(const QStringList& skipped) = 0;

  // The open dialog on its label-file filter: the chosen file, or nothing.
  virtual std::optional<QString> open_label_file() { return std::nullopt; }
  // The save dialog naming a subset data file: asks before replacing an
  // existing file and adds ".dat" to a name without it; nothing on cancel.
  virtual std::optional<QString> save_subset_file(const QString& title, const QString& proposed) {
    (void)title;
    (void)proposed;
    return std::nullopt;
  }
  // "Save run settings...": the file to write (an existing one is replaced
  // after asking) and the "Include seeds" tick; nothing on cancel.
  virtual std::optional<SettingsFileChoice> save_settings_file() { return std::nullopt; }
  // "Open run settings...": the file to read; nothing on cancel.
  virtual std::optional<QString> open_settings_file() { return std::nullopt; }
  // A pick dialog shown once on `lists`, which come back as the person left
  // them.
  virtual PickAnswer pick(const PickCaptions& captions, PickLists& lists) {
    (void)captions;
    (void)lists;
    return PickAnswer::closed;
  }
};

}  // namespace torvi::gui
