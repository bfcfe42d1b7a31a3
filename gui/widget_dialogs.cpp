#include "widget_dialogs.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QMessageBox>

#include "about_box.h"
#include "pick_dialog.h"
#include "seed_dialog.h"

namespace torvi::gui {

WidgetDialogs::WidgetDialogs(QWidget* parent) : parent_(parent), seed_dialog_(new SeedDialog(parent)) {}

WidgetDialogs::~WidgetDialogs() = default;  // the seed dialog belongs to the parent

void WidgetDialogs::message(bool error, const QString& text) {
  QMessageBox box(error ? QMessageBox::Critical : QMessageBox::Information, QString(), text, QMessageBox::Ok,
                  parent_);
  box.exec();
}

QStringList WidgetDialogs::open_data_files() {
  QString filter = QString(kOpenDialogFilters).section(";;", 0, 0);
  return QFileDialog::getOpenFileNames(parent_, kOpenDialogTitle, QString(), kOpenDialogFilters, &filter);
}

std::optional<QString> WidgetDialogs::open_file(const QString& title, const QString& filters) {
  QString filter = filters.section(";;", 0, 0);
  QString name = QFileDialog::getOpenFileName(parent_, title, QString(), filters, &filter);
  if (name.isEmpty()) return std::nullopt;
  return name;
}

std::optional<QString> WidgetDialogs::save_file(const QString& title, const QString& proposed) {
  // The chosen file is appended to, never overwritten: no overwrite prompt.
  QString name = QFileDialog::getSaveFileName(parent_, title, proposed, kSaveDialogFilters, nullptr,
                                              QFileDialog::DontConfirmOverwrite);
  if (name.isEmpty()) return std::nullopt;
  return name;
}

std::optional<QString> WidgetDialogs::open_label_file() {
  constexpr int kLabelFilter = 2;
  const QStringList chosen = open_files(kOpenDialogTitle, kLabelFilter, false);
  if (chosen.isEmpty()) return std::nullopt;
  return chosen.front();
}

QStringList WidgetDialogs::open_files(const QString& title, int filter_index, bool multiple) {
  QString filter = QString(kOpenDialogFilters).section(";;", filter_index - 1, filter_index - 1);
  if (multiple) return QFileDialog::getOpenFileNames(parent_, title, QString(), kOpenDialogFilters, &filter);
  const QString file = QFileDialog::getOpenFileName(parent_, title, QString(), kOpenDialogFilters, &filter);
  return file.isEmpty() ? QStringList() : QStringList{file};
}

std::optional<QString> WidgetDialogs::save_new_file(const QString& title, const QString& proposed) {
  // The dialog is itself the question whether to replace the file it proposes.
  QString filter = QString(kSaveDialogFilters).section(";;", 1, 1);
  QString name = QFileDialog::getSaveFileName(parent_, title, proposed, kSaveDialogFilters, &filter,
                                              QFileDialog::DontConfirmOverwrite);
  if (name.isEmpty()) return std::nullopt;
  return name;
}

std::optional<QString> WidgetDialogs::save_subset_file(const QString& title, const QString& proposed) {
  for (;;) {
    QString name = QFileDialog::getSaveFileName(parent_, title, proposed, kSaveDialogFilters, nullptr,
                                                QFileDialog::DontConfirmOverwrite);
    if (name.isEmpty()) return std::nullopt;
    if (!name.endsWith(".dat", Qt::CaseInsensitive)) name += ".dat";
    if (!QFileInfo::exists(name)) return name;
    const auto replace = QMessageBox::question(parent_, title, name + " already exists.\nDo you want to replace it?");
    if (replace == QMessageBox::Yes) return name;
  }
}

PickAnswer WidgetDialogs::pick(const PickCaptions& captions, PickLists& lists) {
  PickDialog dialog(captions, parent_);
  dialog.set_lists(lists);
  dialog.exec();
  lists = dialog.lists();
  return dialog.answer();
}

namespace {

// "name|pattern|name|pattern" as Qt writes filters ("name;;name"; each name
// holds its pattern), and the one chosen first.
std::pair<QString, QString> qt_filters(const UserDialogs::FileChoice& choice) {
  const QStringList parts = choice.filters.split('|');
  QStringList names;
  for (int i = 0; i < parts.size(); i += 2) names << parts[i];
  return {names.join(";;"), names.value(choice.index - 1)};
}

std::optional<QString> chosen(const QString& name) {
  if (name.isEmpty()) return std::nullopt;
  return name;
}

}  // namespace

std::optional<QString> WidgetDialogs::open_file(const FileChoice& choice) {
  auto [filters, selected] = qt_filters(choice);
  return chosen(QFileDialog::getOpenFileName(parent_, choice.title, QString(), filters, &selected));
}

std::optional<QString> WidgetDialogs::save_file_as(const FileChoice& choice) {
  auto [filters, selected] = qt_filters(choice);
  const auto options = choice.replaces ? QFileDialog::Options() : QFileDialog::DontConfirmOverwrite;
  return chosen(QFileDialog::getSaveFileName(parent_, choice.title, QString(), filters, &selected, options));
}

void WidgetDialogs::abort_message(const QString& text) {
  QMessageBox box(QMessageBox::Critical, QString(), text, QMessageBox::Abort, parent_);
  box.exec();
}

std::optional<Host::SeedTexts> WidgetDialogs::seed_texts() { return seed_dialog_->ask(); }

void WidgetDialogs::about() {
  AboutBox box(parent_);
  box.exec();
}

std::optional<SettingsFileChoice> WidgetDialogs::save_settings_file() {
  // Qt's own dialog, so that the tick can stand under the file list.
  QFileDialog dialog(parent_, "Save run settings", QString(), kSettingsDialogFilters);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setDefaultSuffix("json");
  auto* seeds = new QCheckBox("Include seeds", &dialog);
  seeds->setObjectName("include_seeds");
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) grid->addWidget(seeds, grid->rowCount(), 0, 1, -1);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return SettingsFileChoice{dialog.selectedFiles().front(), seeds->isChecked()};
}

std::optional<QString> WidgetDialogs::open_settings_file() {
  QString name = QFileDialog::getOpenFileName(parent_, "Open run settings", QString(), kSettingsDialogFilters);
  if (name.isEmpty()) return std::nullopt;
  return name;
}

}  // namespace torvi::gui
