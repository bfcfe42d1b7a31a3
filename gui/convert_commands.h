#pragma once

#include <QObject>

#include "run_worker.h"
#include "torvi/convert.h"

class QAction;
class QWidget;

namespace torvi::gui {

class MainWindow;
class ProgressStrip;
class QtHost;
class UserDialogs;

// The file conversions of the main window: "Torvi->Genepop" and
// "Genepop->Torvi" (Utilities > File conversion) and "Matrices->Columns"
// (Mantelise it!). Each asks for its files, then converts on a worker thread
// with the progress strip and its Cancel; the "&File" and "&Utilities" menus
// are disabled meanwhile, like every other command that starts work, and
// "&File" and "&Utilities" are enabled when it ends.
class ConvertCommands : public QObject {
  Q_OBJECT

 public:
  ConvertCommands(MainWindow& window, UserDialogs& dialogs, QtHost& host, ProgressStrip& strip);

  bool running() const { return worker_.running(); }
  const ConvertOutcome& outcome() const { return outcome_; }

 public slots:
  void data_to_genepop();
  void genepop_to_data();
  void matrices_to_columns();

 signals:
  // A conversion ended and the window is usable again.
  void finished();

 private:
  bool busy() const;
  void freeze();
  void start(std::function<ConvertOutcome()> work);
  void work_done();

  MainWindow& window_;
  UserDialogs& dialogs_;
  QtHost& host_;
  ProgressStrip& strip_;
  RunWorker worker_;
  ConvertOutcome outcome_;
  // What was disabled for the conversion, with its state before.
  std::vector<std::pair<QAction*, bool>> frozen_actions_;
  std::vector<std::pair<QWidget*, bool>> frozen_widgets_;
};

}  // namespace torvi::gui
