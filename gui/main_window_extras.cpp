// The main window's additions to its menus and pages: status bar, Results
// page, recent files, dropped files, shortcuts, tooltips, the manual, and its
// size and place kept between sessions.
#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTabWidget>

#include "groups_page.h"
#include "main_window.h"
#include "manual_window.h"
#include "page_tooltips.h"
#include "progress_strip.h"
#include "qsettings_store.h"
#include "recent_files.h"
#include "results_view.h"
#include "run_page.h"
#include "status_progress.h"
#include "tool_tooltips.h"
#include "window_state.h"

namespace torvi::gui {

namespace {

// The client area the window always had: never smaller by default.
constexpr int kLeastWidth = 761, kLeastHeight = 513;

}  // namespace

void MainWindow::build_status_bar() {
  // The status bar keeps the height of the progress strip, so that nothing
  // moves when a run starts.
  status_progress_ = new StatusProgress(progress_, this);
  statusBar()->addWidget(status_progress_, 1);
  // The strip gives its Cancel; its bar would repeat the status line's.
  progress_strip_->bar->hide();
  statusBar()->addPermanentWidget(progress_strip_);
  statusBar()->setMinimumHeight(progress_strip_->sizeHint().height() + statusBar()->contentsMargins().top() +
                                statusBar()->contentsMargins().bottom());
  statusBar()->setSizeGripEnabled(true);
}

void MainWindow::build_conveniences() {
  mOpen->setShortcut(QKeySequence("Ctrl+O"));
  mExit->setShortcut(QKeySequence("Ctrl+Q"));
  auto* run = new QShortcut(QKeySequence("Ctrl+R"), this);
  run->setObjectName("RunShortcut");
  connect(run, &QShortcut::activated, this, [this] {
    if (run_page_->BT_Run->isEnabled()) run_page_->BT_Run->click();
  });
  run_page_->BT_Run->setToolTip("Run the ticked statistics and tests on the opened data files (Ctrl+R)");

  auto* recent_menu = new QMenu("Recent files", FileMenu);
  recent_menu->setObjectName("RecentFiles");
  FileMenu->insertMenu(SaveDefaultOptions1, recent_menu);
  recent_ = new RecentFiles(store_.settings(), recent_menu, [this](const QString& file) { open_files(QStringList{file}); });

  mContents1->setVisible(true);
  mContents1->setEnabled(true);
  mContents1->setShortcut(QKeySequence::HelpContents);
  connect(mContents1, &QAction::triggered, this, &MainWindow::contents_clicked);

  add_tooltips(*run_page_);
  add_tooltips(*groups_page_);
  setAcceptDrops(true);
}

QSize MainWindow::default_size(QSize available) const {
  // Room for the whole first page, Run included, without scrolling.
  const QSize chrome(0, menuBar()->sizeHint().height() + statusBar()->minimumHeight());
  const auto* scroll = static_cast<const QFrame*>(centralWidget());
  const int frame = 2 * scroll->frameWidth();
  const QSize wanted = pages_->sizeHint().expandedTo(pages_->minimumSize()) + QSize(frame, frame) + chrome;
  return default_window_size(wanted, QSize(kLeastWidth, kLeastHeight) + chrome, available);
}

void MainWindow::place_window() {
  if (restore_window(*this, store_.settings())) return;
  const QScreen* screen = QGuiApplication::primaryScreen();
  resize(default_size(screen ? screen->availableGeometry().size() : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX)));
}

void MainWindow::remember_window() { save_window(*this, store_.settings()); }

void MainWindow::show_results(std::vector<RunFile> files) {
  if (files.empty()) return;
  if (!results_view_) {
    results_view_ = new ResultsView(pages_);
    pages_->addTab(results_view_, "Results");
  }
  results_view_->show_files(std::move(files));
  pages_->setCurrentWidget(results_view_);
}

void MainWindow::contents_clicked() {
  if (!manual_) manual_ = new ManualWindow(this);
  manual_->show();
  manual_->raise();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!running() && mOpen->isEnabled() && !dropped_data_files(*event->mimeData()).isEmpty())
    event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QStringList files = dropped_data_files(*event->mimeData());
  if (running() || !mOpen->isEnabled() || files.isEmpty()) return;
  event->acceptProposedAction();
  open_files(files);
}

}  // namespace torvi::gui
