#include "window_state.h"

#include <QMainWindow>
#include <QSettings>
#include <QUrl>

namespace torvi::gui {

namespace {

constexpr const char* kGeometryKey = "Window/geometry";

}  // namespace

QSize default_window_size(QSize wanted, QSize least, QSize available) {
  return wanted.expandedTo(least).boundedTo(available);
}

bool restore_window(QMainWindow& window, const QSettings& settings) {
  const QByteArray geometry = settings.value(kGeometryKey).toByteArray();
  return !geometry.isEmpty() && window.restoreGeometry(geometry);
}

void save_window(const QMainWindow& window, QSettings& settings) {
  settings.setValue(kGeometryKey, window.saveGeometry());
  settings.sync();
}

QStringList dropped_data_files(const QMimeData& data) {
  QStringList files;
  for (const QUrl& url : data.urls())
    if (url.isLocalFile() && url.toLocalFile().toUpper().endsWith(".DAT")) files << url.toLocalFile();
  return files;
}

}  // namespace torvi::gui
