#pragma once

#include <functional>
#include <vector>

#include <QDateTime>
#include <QString>
#include <QUrl>
#include <QWidget>

#include "torvi/run.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace torvi::gui {

// A file a run wrote, and where this run's part of it starts.
struct RunFile {
  QString path;
  qint64 start = 0;  // byte offset; 0 for the companion files, written anew
  bool operator==(const RunFile&) const = default;
};

// The files of a run: each result file, then the companion files and the
// results document beside it that the run wrote (present and changed since
// `started`).
std::vector<RunFile> files_of_run(const RunOutcome& outcome, const QDateTime& started);

// The "Results" page: the files of the last run, the chosen one shown
// read-only from its start with this run's part scrolled into view, and
// buttons to open its folder or open it in the system's editor.
class ResultsView : public QWidget {
  Q_OBJECT

 public:
  explicit ResultsView(QWidget* parent = nullptr);

  void show_files(std::vector<RunFile> files);
  const std::vector<RunFile>& files() const { return files_; }
  // Line (from 0) of the shown file at which this run's part begins.
  int run_start_line() const { return run_start_line_; }

  QListWidget* list;
  QPlainTextEdit* text;
  QLabel* folder;
  QPushButton *BT_OpenFolder, *BT_OpenEditor;
  // Opens a folder or file with the desktop's program; tests replace it.
  std::function<bool(const QUrl&)> open_url;

 private:
  void show_chosen(int row);

  std::vector<RunFile> files_;
  int run_start_line_ = 0;
};

}  // namespace torvi::gui
