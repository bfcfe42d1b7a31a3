#include "run_settings_commands.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QTabWidget>

#include "groups_page.h"
#include "options_commands.h"
#include "run_page.h"
#include "settings_file_actions.h"

namespace torvi::gui {

RunSettingsCommands::RunSettingsCommands(UserDialogs& dialogs, QMenu* file_menu, QAction* before, QTabWidget* pages,
                                         RunPage* page, GroupsPage* groups, OptionsCommands* options, Rng& rng,
                                         QObject* parent)
    : QObject(parent), dialogs_(dialogs), pages_(pages), page_(page), groups_(groups), options_(options), rng_(rng) {
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

bool RunSettingsCommands::groups_in_front() const { return pages_->currentWidget() == groups_; }

void RunSettingsCommands::save_groups() {
  GroupSettingsFile s{groups_->comparison(), std::nullopt, groups_->CB_json->isChecked()};
  if (static_cast<int>(s.comparison.groups.size()) < kMinGroups) {
    dialogs_.message(true, "Define the groups before saving the settings of this page.");
    return;
  }
  save_settings_as(dialogs_, std::move(s), rng_, write_group_settings_file);
}

void RunSettingsCommands::open_groups() {
  QString path;
  const std::optional<GroupSettingsFile> s = open_settings_from(dialogs_, read_group_settings_file, &path);
  if (!s) return;
  const auto samples = static_cast<int>(options_->analysed_samples().size());
  if (const std::string problem = group_comparison_problem(s->comparison, samples); !problem.empty()) {
    dialogs_.message(true, "The settings file " + path + " does not fit the open data file: " +
                               QString::fromStdString(problem));
    return;
  }
  groups_->set_comparison(s->comparison);
  groups_->CB_json->setChecked(s->json);
  if (s->seeds) rng_ = *s->seeds;
}

void RunSettingsCommands::save_clicked() {
  if (groups_in_front()) {
    save_groups();
    return;
  }
  save_settings_as(dialogs_, current(false), rng_, write_run_settings_file);
}

void RunSettingsCommands::open_clicked() {
  if (groups_in_front()) {
    open_groups();
    return;
  }
  // Everything is checked before anything changes on the window.
  QString path;
  const std::optional<RunSettingsFile> s = open_settings_from(dialogs_, read_run_settings_file, &path);
  if (!s) return;
  Selection selection;
  try {
    selection = selection_for_file(*s, options_->samples_in_file(), options_->loci_in_file());
  } catch (const SettingsError& e) {
    dialogs_.message(true, "The settings file " + path + " does not fit the open data file: " + e.what());
    return;
  }
  page_->set_options(s->options);
  options_->set_selection(selection, s->sample_labels.has_value());
  if (s->seeds) rng_ = *s->seeds;
}

}  // namespace torvi::gui
