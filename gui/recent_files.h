#pragma once

#include <functional>

#include <QObject>
#include <QStringList>

class QMenu;
class QSettings;

namespace torvi::gui {

// File > Recent files: the data files opened last, newest first, kept in the
// settings beside the default options. Choosing one opens it again, with the
// same checks as Open.
class RecentFiles : public QObject {
  Q_OBJECT

 public:
  static constexpr int kMaxFiles = 8;

  RecentFiles(QSettings& settings, QMenu* menu, std::function<void(const QString&)> open);

  // Puts `opened` first (in their order), dropping older copies and the ones
  // beyond kMaxFiles.
  void add(const QStringList& opened);
  QStringList files() const;

  QMenu* menu() const { return menu_; }

 private:
  void rebuild();

  QSettings& settings_;
  QMenu* menu_;
  std::function<void(const QString&)> open_;
};

}  // namespace torvi::gui
