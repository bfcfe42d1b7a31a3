#include "convert_commands.h"

#include <QAction>
#include <QMenu>
#include <QTabWidget>

#include "main_window.h"
#include "progress_strip.h"
#include "qt_host.h"
#include "user_dialogs.h"

namespace torvi::gui {

namespace {

constexpr const char* kDataFileTitle = "Torvi Data file";
constexpr const char* kGenepopFileTitle = "Genepop data file";
constexpr const char* kMatrixFilesTitle = "File names for data in matrix form";
// Filters of the open dialog, numbered from 1.
constexpr int kDataFilter = 1, kGenepopFilter = 3, kAllFilesFilter = 4;

std::vector<std::string> to_paths(const QStringList& files) {
  std::vector<std::string> paths;
  for (const QString& f : files) paths.push_back(f.toStdString());
  return paths;
}

}  // namespace

ConvertCommands::ConvertCommands(MainWindow& window, UserDialogs& dialogs, QtHost& host, ProgressStrip& strip)
    : QObject(&window), window_(window), dialogs_(dialogs), host_(host), strip_(strip) {
  connect(&worker_, &RunWorker::finished, this, &ConvertCommands::work_done);
}

void ConvertCommands::freeze() {
  frozen_actions_.clear();
  frozen_widgets_.clear();
  for (QAction* a : {window_.FileMenu->menuAction(), window_.UtilitiesMenu->menuAction(),
                     window_.OptionsMenu->menuAction(), window_.MantelMenu->menuAction(), window_.mBiaseddisp}) {
    frozen_actions_.emplace_back(a, a->isEnabled());
    a->setEnabled(false);
  }
  frozen_widgets_.emplace_back(window_.pages(), window_.pages()->isEnabled());
  window_.pages()->setEnabled(false);
}

// A Run shares the host and the progress strip: no conversion starts while
// one works (the Mantelise it! menu stays open during a Run).
bool ConvertCommands::busy() const { return running() || window_.running(); }

void ConvertCommands::data_to_genepop() {
  if (busy()) return;
  freeze();
  const std::vector<std::string> files = to_paths(dialogs_.open_files(kDataFileTitle, kDataFilter, true));
  start([this, files] { return convert_data_to_genepop(host_, files); });
}

void ConvertCommands::genepop_to_data() {
  if (busy()) return;
  const QStringList chosen = dialogs_.open_files(kGenepopFileTitle, kGenepopFilter, false);
  if (chosen.isEmpty() || !is_genepop_file_name(chosen.front().toStdString())) return;
  freeze();
  const std::string file = chosen.front().toStdString();
  start([this, file] { return convert_genepop_to_data(host_, file); });
}

void ConvertCommands::matrices_to_columns() {
  if (busy()) return;
  const std::vector<std::string> files = to_paths(dialogs_.open_files(kMatrixFilesTitle, kAllFilesFilter, true));
  freeze();
  start([this, files] { return convert_matrices_to_columns(host_, files); });
}

void ConvertCommands::start(std::function<ConvertOutcome()> work) {
  outcome_ = ConvertOutcome{};
  strip_.watch();
  worker_.start_task([this, work = std::move(work)] { outcome_ = work(); });
}

void ConvertCommands::work_done() {
  strip_.stop_watching();
  if (!worker_.failure().isEmpty()) dialogs_.message(true, "The conversion stopped: " + worker_.failure());
  for (auto [action, enabled] : frozen_actions_) action->setEnabled(enabled);
  for (auto [widget, enabled] : frozen_widgets_) widget->setEnabled(enabled);
  window_.FileMenu->menuAction()->setEnabled(true);
  window_.UtilitiesMenu->menuAction()->setEnabled(true);
  emit finished();
}

}  // namespace torvi::gui
