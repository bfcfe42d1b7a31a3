#include "data_summary_window.h"

#include <algorithm>

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QThread>
#include <QVBoxLayout>

#include "qt_host.h"
#include "torvi/host.h"
#include "torvi/summary.h"

namespace torvi::gui {

namespace {
constexpr int kWidth = 560, kHeight = 520;
}  // namespace

QString data_summary_display(const QStringList& files) {
  QString out;
  for (const QString& file : files) {
    if (!out.isEmpty()) out += "\n";
    MessageLogHost log;
    DataSummary summary;
    const bool read = summarise_data_file(log, file.toStdString(), summary);
    if (read)
      out += QString::fromStdString(data_summary_text(summary));
    else
      out += file + ": not read\n";
    if (!log.messages().empty()) out += display_text(log.all_text()) + "\n";
  }
  return out;
}

DataSummaryWindow::DataSummaryWindow(QWidget* parent) : QDialog(parent) {
  setObjectName("DataSummary");
  setWindowTitle("Data summary");
  setModal(false);
  text = new QPlainTextEdit(this);
  text->setReadOnly(true);
  text->setLineWrapMode(QPlainTextEdit::NoWrap);
  text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text);
  resize(kWidth, kHeight);
}

DataSummaryWindow::~DataSummaryWindow() {
  for (QThread* reader : readers_) reader->wait();
}

void DataSummaryWindow::summarise(const QStringList& files) {
  const uint64_t request = ++request_;
  text->setPlainText("Reading " + files.join(", ") + " ...");
  show();
  QThread* reader = QThread::create([this, request, files] {
    const QString summary = data_summary_display(files);
    QMetaObject::invokeMethod(this, [this, request, summary] { show_text(request, summary); }, Qt::QueuedConnection);
  });
  reader->setParent(this);
  readers_.push_back(reader);
  connect(reader, &QThread::finished, this, [this, reader] {
    readers_.erase(std::remove(readers_.begin(), readers_.end(), reader), readers_.end());
    reader->deleteLater();
  });
  reader->start();
}

void DataSummaryWindow::show_text(uint64_t request, const QString& summary) {
  if (request != request_) return;
  text->setPlainText(summary);
  emit summarised();
}

}  // namespace torvi::gui
