#pragma once

// What File > "Save run settings..." and "Open run settings..." do on every
// page and window: the file chosen, the seeds added when asked for, and a
// failed write or a refused file shown as an error.

#include <optional>
#include <string>

#include "torvi/seeds.h"
#include "torvi/settings.h"
#include "user_dialogs.h"

namespace torvi::gui {

template <class File>
void save_settings_as(UserDialogs& dialogs, File file, const Rng& rng,
                      void (*write)(const std::string& path, const File& file)) {
  const std::optional<SettingsFileChoice> choice = dialogs.save_settings_file();
  if (!choice) return;
  if (choice->include_seeds) file.seeds = rng;
  try {
    write(choice->path.toStdString(), file);
  } catch (const OutputError& e) {
    dialogs.message(true, QString::fromStdString(e.what()));
  }
}

// The file chosen, as `read` reads it; nothing when the dialog is cancelled
// or the file refused.
template <class File>
std::optional<File> open_settings_from(UserDialogs& dialogs, File (*read)(const std::string& path),
                                       QString* chosen = nullptr) {
  const std::optional<QString> path = dialogs.open_settings_file();
  if (!path) return std::nullopt;
  if (chosen) *chosen = *path;
  try {
    return read(path->toStdString());
  } catch (const SettingsError& e) {
    dialogs.message(true, QString::fromStdString(e.what()));
    return std::nullopt;
  }
}

}  // namespace torvi::gui
