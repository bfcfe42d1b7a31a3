#pragma once

#include <cstdint>

#include <QString>
#include <QWidget>

#include "run_progress.h"

class QLabel;
class QProgressBar;
class QTimer;

namespace torvi::gui {

// Where a run is: the data file (`file` of `files`) and the section running
// (`section` of `sections`), as the run announced them.
struct RunStage {
  QString data_file;
  int file = 0, files = 0;
  QString section_name;
  int section = 0, sections = 0;
};

// The status line of a run: "cats.dat (file 1/2) | Rho_st (section 3/7) |
// 1200 of 5000 randomisations | elapsed 0:07, about 0:12 left". The
// randomisations and the time are those of the running test (`range` 0: no
// test runs; the time is then the run's `run_elapsed` seconds).
QString status_text(const RunStage& stage, int64_t done, int64_t range, double test_elapsed, double run_elapsed);

// Share of the whole run done, 0 to 1: files done, sections done of the
// current file, and the running test's share of its section.
double overall_done(const RunStage& stage, int64_t done, int64_t range);

// The run's line, the running test's bar and the whole run's bar in the main
// window's status bar. A timer
// copies the run's counters, so the run's threads never touch a widget; the
// stages arrive as queued signals of the host.
class StatusProgress : public QWidget {
  Q_OBJECT

 public:
  StatusProgress(RunProgress& progress, QWidget* parent = nullptr);

  void watch();          // a run starts
  void stop_watching();  // it ended: the line is cleared

  QLabel* text;
  QProgressBar* test;     // the running randomisation test
  QProgressBar* overall;  // the whole run

 public slots:
  void show_run_file(const QString& data_file, int file, int files);
  void show_section(const QString& name, int section, int sections);

 private:
  void refresh();

  RunProgress& progress_;
  RunStage stage_;
  QTimer* timer_;
  int64_t started_ns_ = 0;
};

}  // namespace torvi::gui
