#pragma once

#include <memory>

#include <QDir>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "main_window.h"
#include "qsettings_store.h"
#include "scripted_dialogs.h"
#include "test_files.h"

namespace torvi::gui::testing {

inline bool menu_enabled(QMenu* menu) { return menu->menuAction()->isEnabled(); }

// The main window of a test: a fresh temporary folder made the current one,
// the default options stored in a file there, the dialogs scripted.
class WindowFixture {
 protected:
  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<QSettingsStore> store_;
  std::unique_ptr<ScriptedDialogs> dialogs_;
  std::unique_ptr<MainWindow> window_;

  QString path(const QString& name) const { return dir_->filePath(name); }

  // For each test's init() and cleanup().
  void set_up() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    QVERIFY(QDir::setCurrent(dir_->path()));
    store_ = std::make_unique<QSettingsStore>(std::make_unique<QSettings>(path("settings.ini"), QSettings::IniFormat));
    dialogs_ = std::make_unique<ScriptedDialogs>();
  }
  void tear_down() {
    window_.reset();
    store_.reset();
    QDir::setCurrent(QDir::tempPath());
    dir_.reset();
  }

  // A started window whose seeds come from TORVI.INI holding `seeds`.
  void start(const QByteArray& seeds = "17 23\r\n") {
    write_all(path("TORVI.INI"), seeds);
    window_ = std::make_unique<MainWindow>(*store_, dialogs_.get());
    window_->start_up();
  }
};

}  // namespace torvi::gui::testing
