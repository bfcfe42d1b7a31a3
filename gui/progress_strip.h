#pragma once

#include <QWidget>

#include "run_progress.h"

class QProgressBar;
class QPushButton;
class QTimer;

namespace torvi::gui {

// The progress bar along the top of the main window with its Cancel button.
// A timer copies the run's counters onto the bar, so the run's threads never
// touch a widget.
class ProgressStrip : public QWidget {
  Q_OBJECT

 public:
  ProgressStrip(RunProgress& progress, QWidget* parent = nullptr);

  // Watching starts when a run starts and stops when it ends.
  void watch();
  void stop_watching();

  QProgressBar* bar;
  QPushButton* BT_Cancel;

 private:
  void refresh();

  RunProgress& progress_;
  QTimer* timer_;
};

}  // namespace torvi::gui
