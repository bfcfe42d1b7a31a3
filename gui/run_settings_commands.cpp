#include "run_settings_commands.h"

#include <QAction>
#include <QMenu>

#include "fstats_page.h"
#include "options_commands.h"
#include "report/output_file.h"

namespace torvi::gui {

RunSettingsCommands::RunSettingsCommands(UserDialogs& dialogs, QMenu* file_menu, QAction* before, FStatsPage* page,
                                         OptionsCommands* options, Rng& rng, QObject* parent)
    : QObject(parent), dialogs_(dialogs), page_(page), options_(options), rng_(rng) {
  save_action = new QAction("Save run settings...", this);
  save_action->setObjectName("SaveRunSettings");
  open_action = new QAction("Open run settings...", this);
  open_action->setObjectName("OpenRunSettings");
  open_action->setEnabled(false);
  file_menu->insertAction(before, save_action);
  file_menu->insertAction(before, open_action);
  connect(save_action, &QAction::triggered, this, &RunSettingsCommands::save_clicked);
  connect(open_action, &QAction::triggered, this, &RunSettingsCommands::open_clicked);
}

RunSettingsFile RunSettingsCommands::current(bool include_seeds) const {
  RunSettingsFile s;
  s.options = page_->options();
  record_selection(options_->selection(), options_->labels_checked(), options_->samples_in_file(),
                   options_->loci_in_file(), s);
  if (include_seeds) s.seeds = rng_;
  return s;
}

void RunSettingsCommands::set_open_enabled(bool on) { open_action->setEnabled(on); }

void RunSettingsCommands::save_clicked() {
  const auto choice = dialogs_.save_settings_file();
  if (!choice) return;
  try {
    write_run_settings_file(choice->path.toStdString(), current(choice->include_seeds));
  } catch (const OutputError& e) {
    dialogs_.message(true, QString::fromStdString(e.what()));
  }
}

void RunSettingsCommands::open_clicked() {
  const auto path = dialogs_.open_settings_file();
  if (!path) return;
  // Everything is checked before anything changes on the window.
  RunSettingsFile s;
  Selection selection;
  try {
    s = read_run_settings_file(path->toStdString());
  } catch (const SettingsError& e) {
    dialogs_.message(true, QString::fromStdString(e.what()));
    return;
  }
  try {
    selection = selection_for_file(s, options_->samples_in_file(), options_->loci_in_file());
  } catch (const SettingsError& e) {
    dialogs_.message(true, "The settings file " + *path + " does not fit the open data file: " + e.what());
    return;
  }
  page_->set_options(s.options);
  options_->set_selection(selection, s.sample_labels.has_value());
  if (s.seeds) rng_ = *s.seeds;
}

}  // namespace torvi::gui
