#pragma once

#include <optional>

#include <QString>
#include <QStringList>

#include "host/host.h"

namespace torvi::gui {

// Every dialog of the main window that needs a person to answer it. The
// program shows real dialogs; tests answer them from a script.
class UserDialogs {
 public:
  virtual ~UserDialogs() = default;

  // Modal box with one OK button; `text` uses '\n' line breaks.
  virtual void message(bool error, const QString& text) = 0;
  // The open dialog: chosen files in the order returned, empty on cancel.
  virtual QStringList open_data_files() = 0;
  // The save dialog with `proposed` filled in; nothing on cancel.
  virtual std::optional<QString> save_file(const QString& title, const QString& proposed) = 0;
  // The seeds dialog: the two texts, or nothing when closed without OK.
  virtual std::optional<Host::SeedTexts> seed_texts() = 0;
  virtual void about() = 0;
};

}  // namespace torvi::gui
