#include "results_view.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>

#include "torvi/results.h"

namespace torvi::gui {

namespace {

// Larger files are shown from this run's part on, so that the window stays
// quick; the editor shows them whole.
constexpr qint64 kMostBytesShown = 16 << 20;
constexpr int kListWidth = 220;

QString shown_text(const QByteArray& bytes) {
  QString s = QString::fromUtf8(bytes);
  s.remove('\r');
  return s;
}

}  // namespace

std::vector<RunFile> files_of_run(const RunOutcome& outcome, const QDateTime& started) {
  // Whole seconds: some file systems keep coarser times than the clock.
  const QDateTime since = started.addMSecs(-started.time().msec());
  std::vector<RunFile> files;
  for (const ResultWritten& r : outcome.results) {
    files.push_back({QString::fromStdString(r.path), static_cast<qint64>(r.start)});
    for (const char* suffix : kCompanionSuffixes) {
      const QFileInfo companion(QString::fromStdString(r.base_name + suffix));
      if (companion.exists() && companion.lastModified() >= since) files.push_back({companion.filePath(), 0});
    }
    // The results document, when "Also write a JSON file" was ticked.
    const QFileInfo document(QString::fromStdString(results_document_path(r.path)));
    if (document.exists() && document.lastModified() >= since) files.push_back({document.filePath(), 0});
  }
  return files;
}

ResultsView::ResultsView(QWidget* parent) : QWidget(parent), open_url(&QDesktopServices::openUrl) {
  setObjectName("Results");
  list = new QListWidget(this);
  list->setObjectName("ResultFiles");
  text = new QPlainTextEdit(this);
  text->setObjectName("ResultText");
  text->setReadOnly(true);
  text->setLineWrapMode(QPlainTextEdit::NoWrap);
  text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  folder = new QLabel(this);
  folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
  BT_OpenFolder = new QPushButton("Open folder", this);
  BT_OpenEditor = new QPushButton("Open in editor", this);
  BT_OpenFolder->setToolTip("Show the folder of this file in the file manager");
  BT_OpenEditor->setToolTip("Open this file in the program the desktop uses for text files");

  auto* splitter = new QSplitter(this);
  splitter->addWidget(list);
  splitter->addWidget(text);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({kListWidth, 4 * kListWidth});
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(folder, 1);
  buttons->addWidget(BT_OpenFolder);
  buttons->addWidget(BT_OpenEditor);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(splitter, 1);
  layout->addLayout(buttons);

  connect(list, &QListWidget::currentRowChanged, this, &ResultsView::show_chosen);
  connect(BT_OpenFolder, &QPushButton::clicked, this, [this] {
    const int row = list->currentRow();
    if (row >= 0) open_url(QUrl::fromLocalFile(QFileInfo(files_[row].path).absolutePath()));
  });
  connect(BT_OpenEditor, &QPushButton::clicked, this, [this] {
    const int row = list->currentRow();
    if (row >= 0) open_url(QUrl::fromLocalFile(QFileInfo(files_[row].path).absoluteFilePath()));
  });
  show_files({});
}

void ResultsView::show_files(std::vector<RunFile> files) {
  files_ = std::move(files);
  list->clear();
  for (const RunFile& f : files_) {
    auto* item = new QListWidgetItem(QFileInfo(f.path).fileName(), list);
    item->setToolTip(QDir::toNativeSeparators(QFileInfo(f.path).absoluteFilePath()));
  }
  BT_OpenFolder->setEnabled(!files_.empty());
  BT_OpenEditor->setEnabled(!files_.empty());
  if (files_.empty()) {
    text->clear();
    folder->clear();
    return;
  }
  list->setCurrentRow(0);
}

void ResultsView::show_chosen(int row) {
  if (row < 0 || row >= static_cast<int>(files_.size())) return;
  const RunFile& f = files_[row];
  folder->setText("Folder: " + QDir::toNativeSeparators(QFileInfo(f.path).absolutePath()));
  QFile file(f.path);
  if (!file.open(QIODevice::ReadOnly)) {
    text->setPlainText("Cannot read " + f.path + ": " + file.errorString());
    run_start_line_ = 0;
    return;
  }
  const qint64 from = file.size() > kMostBytesShown ? f.start : 0;
  file.seek(from);
  const QByteArray bytes = file.read(kMostBytesShown);
  const QString before = shown_text(bytes.left(f.start - from));
  text->setPlainText(before + shown_text(bytes.mid(f.start - from)));
  run_start_line_ = static_cast<int>(before.count('\n'));
  // The run's first line at the top, once the text is laid out.
  QTextCursor cursor(text->document()->findBlockByNumber(run_start_line_));
  text->setTextCursor(cursor);
  QTimer::singleShot(0, text, [this, line = run_start_line_] { text->verticalScrollBar()->setValue(line); });
}

}  // namespace torvi::gui
