#pragma once

#include <QObject>

#include "torvi/seeds.h"
#include "torvi/settings.h"
#include "user_dialogs.h"

class QAction;
class QMenu;
class QTabWidget;

namespace torvi::gui {

class RunPage;
class GroupsPage;
class OptionsCommands;

// File > "Save run settings..." and "Open run settings...": the controls of
// the page in front and, when asked, the seeds, to and from a settings file.
// For the first page also the Options menu's choice: `torvi run --settings`
// runs such a file as the window would.
class RunSettingsCommands : public QObject {
  Q_OBJECT

 public:
  // The two items go into `file_menu` before `before`. `rng` is the stream
  // the window's next Run draws from.
  // `pages` holds `page` and `groups`.
  RunSettingsCommands(UserDialogs& dialogs, QMenu* file_menu, QAction* before, QTabWidget* pages, RunPage* page,
                      GroupsPage* groups, OptionsCommands* options, Rng& rng, QObject* parent = nullptr);

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
  bool groups_in_front() const;
  void save_groups();
  void open_groups();

  UserDialogs& dialogs_;
  QTabWidget* pages_;
  RunPage* page_;
  GroupsPage* groups_;
  OptionsCommands* options_;
  Rng& rng_;
};

}  // namespace torvi::gui
