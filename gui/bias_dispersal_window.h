#pragma once

#include <string>

#include <QDialog>

#include "qt_host.h"
#include "results_view.h"
#include "run_progress.h"
#include "torvi/dispersal.h"
#include "torvi/seeds.h"
#include "user_dialogs.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QSpinBox;
class QThread;

namespace torvi::gui {

class ProgressStrip;
class RadioGroup;

// The window of the tests for sex-biased dispersal (TBiasdisp): the sex
// letters, the number of permutations, one- or two-sided tests, the list of
// tests and "GO!", which runs them on a worker thread with a progress bar
// and Cancel along the bottom.
class BiasDispersalWindow : public QDialog {
  Q_OBJECT

 public:
  // `rng` and `seeds_path` are the program's stream and seeds file; `threads`
  // the threads the permutations may use.
  BiasDispersalWindow(UserDialogs& dialogs, Rng& rng, std::string seeds_path, int threads,
                      QWidget* parent = nullptr);
  ~BiasDispersalWindow() override;

  bool running() const { return worker_ != nullptr; }
  const DispersalOutcome& outcome() const { return outcome_; }
  // The files the last run wrote (".res", ".per", results document).
  std::vector<RunFile> files_written() const;
  ProgressStrip* progress_strip() const { return progress_strip_; }

  QLineEdit *Ephil, *Edisp;
  QSpinBox* SpinEdit1;
  RadioGroup* RadioGroup2;
  QListWidget* CLB_tests;
  QCheckBox* CB_json;  // "Also write a JSON file": the results document beside the ".res" file
  QLabel* Label4;
  QPushButton* Bt_Go;
  QMenu *FileMenu, *UtilMenu, *HelpMenu;
  QAction *Open1, *Exit1, *Resetrandom, *About1, *Contents1;
  QAction *SaveSettings, *OpenSettings;  // "Save run settings...", "Open run settings..."

 signals:
  // A run ended and the window is back in its after-run state.
  void run_finished();

 public slots:
  void open_clicked();
  void go_clicked();
  void save_settings_clicked();
  void open_settings_clicked();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void build_controls();
  void build_menus();
  void letter_changed(const QString& text);
  void set_controls_enabled(bool on);
  bool settings_usable(DispersalSettings& settings);
  // The controls as they stand, and back on them.
  DispersalSettings controls() const;
  void set_controls(const DispersalSettings& settings);
  void after_run();

  UserDialogs& dialogs_;
  Rng& rng_;
  const std::string seeds_path_;
  const int threads_;
  RunProgress progress_;
  QtHost host_;
  QString input_;  // the chosen file; empty until Open chooses one
  QThread* worker_ = nullptr;
  DispersalOutcome outcome_;
  bool document_asked_ = false;  // the last run was to write its results document
  ProgressStrip* progress_strip_;
};

}  // namespace torvi::gui
