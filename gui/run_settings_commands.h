#pragma once

#include <QObject>

#include "json/settings_file.h"
#include "random/rng.h"
#include "user_dialogs.h"

class QAction;
class QMenu;

namespace torvi::gui {

class FStatsPage;
class OptionsCommands;

// File > "Save run settings..." and "Open run settings...": the first page's
// controls, the Options menu's choice and, when asked, the seeds, to and from
// a settings file that `torvi run --settings` runs as the window would.
class RunSettingsCommands : public QObject {
  Q_OBJECT

 public:
  // The two items go into `file_menu` before `before`. `rng` is the stream
  // the window's next Run draws from.
  RunSettingsCommands(UserDialogs& dialogs, QMenu* file_menu, QAction* before, FStatsPage* page,
                      OptionsCommands* options, Rng& rng, QObject* parent = nullptr);

  // What a Run pressed now would do.
  RunSettingsFile current(bool include_seeds) const;
  // "Open run settings..." is there while a data file is open (the choice of
  // loci and samples is made on its numbering; Open puts the stored defaults
  // back on the page).
  void set_open_enabled(bool on);

  QAction *save_action, *open_action;

 public slots:
  void save_clicked();
  void open_clicked();

 private:
  UserDialogs& dialogs_;
  FStatsPage* page_;
  OptionsCommands* options_;
  Rng& rng_;
};

}  // namespace torvi::gui
