#include "recent_files.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace torvi::gui {

namespace {

constexpr const char* kKey = "Window/recent_files";

}  // namespace

RecentFiles::RecentFiles(QSettings& settings, QMenu* menu, std::function<void(const QString&)> open)
    : QObject(menu), settings_(settings), menu_(menu), open_(std::move(open)) {
  rebuild();
}

QStringList RecentFiles::files() const { return settings_.value(kKey).toStringList(); }

void RecentFiles::add(const QStringList& opened) {
  QStringList list = files();
  for (auto it = opened.crbegin(); it != opened.crend(); ++it) {
    const QString path = QFileInfo(*it).absoluteFilePath();
    list.removeAll(path);
    list.prepend(path);
  }
  while (list.size() > kMaxFiles) list.removeLast();
  settings_.setValue(kKey, list);
  settings_.sync();
  rebuild();
}

void RecentFiles::rebuild() {
  menu_->clear();
  const QStringList list = files();
  int number = 0;
  for (const QString& path : list) {
    // "&1 cats.dat": the number is the access key; the full path is the tip.
    QAction* action = menu_->addAction(QString("&%1 %2").arg(++number).arg(QFileInfo(path).fileName()));
    action->setToolTip(QDir::toNativeSeparators(path));
    action->setStatusTip(QDir::toNativeSeparators(path));
    connect(action, &QAction::triggered, this, [this, path] { open_(path); });
  }
  menu_->setEnabled(!list.isEmpty());
}

}  // namespace torvi::gui
