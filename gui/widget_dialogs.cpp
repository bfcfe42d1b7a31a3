#include "widget_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

#include "about_box.h"
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

std::optional<QString> WidgetDialogs::save_file(const QString& title, const QString& proposed) {
  // The chosen file is appended to, never overwritten: no overwrite prompt.
  QString name = QFileDialog::getSaveFileName(parent_, title, proposed, kSaveDialogFilters, nullptr,
                                              QFileDialog::DontConfirmOverwrite);
  if (name.isEmpty()) return std::nullopt;
  return name;
}

std::optional<Host::SeedTexts> WidgetDialogs::seed_texts() { return seed_dialog_->ask(); }

void WidgetDialogs::about() {
  AboutBox box(parent_);
  box.exec();
}

}  // namespace torvi::gui
